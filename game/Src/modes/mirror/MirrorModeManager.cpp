#include "modes/mirror/MirrorModeManager.h"

#include <algorithm>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "core/Message.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "math/Transform.h"
#include "modes/mirror/GameModeMirror.h"
#include "modifiers/Fader.h"
#include "particles/Emitter.h"
#include "render/IRenderSystem.h"
#include "render/ImageDrawParams.h"
#include "shell/Game.h"
#include "widgets/StaticImage.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kCursorMirror[] = L"cursor_mirror";
const wchar_t kHighlightImage[] = L"lm_difference";
constexpr unsigned kHighlightFadeMs = 1000;

void Warn(const std::wstring& line) {
  LLF::Log::GetInstance().Write(L"Warning: MirrorModeManager - " + line);
}

void DrawAt(LLF::IRenderSystem* rs, LLF::Image* image, const LLF::Vector2& position, uint8_t alpha) {
  if (!image || alpha == 0) {
    return;
  }
  HLF::ImageDrawParams params;
  params.position = position;
  params.alpha = alpha;
  rs->DrawImage(image, params);
}

}  // namespace

MirrorModeManager::MirrorModeManager() : HLF::Control(L"MirrorModeManager") {
  SetSize(800, 600);
  SetRenderable(false);
  mirrorCursor = LLF::ImagesManager::GetInstance().FindResource(kCursorMirror);
}

MirrorModeManager::~MirrorModeManager() = default;

LLF::Vector2 MirrorModeManager::MirrorPoint(const LLF::Vector2& p) {
  return LLF::Vector2(p.x < kHalfWidth ? p.x + kHalfWidth : p.x - kHalfWidth, p.y);
}

bool MirrorModeManager::Contains(const MirrorDifference& d, const LLF::Vector2& p) {
  return p.x >= d.x && p.x <= d.x + static_cast<float>(d.w) && p.y >= d.y &&
         p.y <= d.y + static_cast<float>(d.h);
}

MirrorDifference* MirrorModeManager::FindAt(const LLF::Vector2& p) {
  const LLF::Vector2 m = MirrorPoint(p);
  for (MirrorDifference& d : differences) {
    if (!d.found && (Contains(d, p) || Contains(d, m))) {
      return &d;
    }
  }
  return nullptr;
}

int MirrorModeManager::LeftCount() const {
  return static_cast<int>(std::count_if(differences.begin(), differences.end(),
                                        [](const MirrorDifference& d) { return !d.found; }));
}

bool MirrorModeManager::LoadBoard(LLF::XmlElement& level) {
  LLF::XmlElement* background = level.FindChild(L"background");
  const LLF::XmlAttribute* picture =
      background ? background->GetAttribute(std::wstring(L"imgName")) : nullptr;
  if (!picture) {
    LLF::Log::GetInstance().Write(
        L"Error: MirrorModeManager - the level has no \"background\" with an \"imgName\".");
    return false;
  }
  if (!mirrorCursor) {
    mirrorCursor = LLF::ImagesManager::GetInstance().FindResource(kCursorMirror);
  }
  leftSide = new HLF::StaticImage(L"left_original");
  leftSide->SetPosition(0.0f, 0.0f);
  leftSide->SetImage(picture->GetValue());
  AddChild(leftSide);
  rightSide = new HLF::StaticImage(L"right_original");
  rightSide->SetPosition(kHalfWidth, 0.0f);
  rightSide->SetImage(picture->GetValue());
  AddChild(rightSide);

  differences.clear();
  foundList.clear();
  for (int i = 0; i < level.GetChildsCount(); ++i) {
    LLF::XmlElement* child = level.GetChild(i);
    if (!child || child == background || child->GetName() == L"background") {
      continue;
    }
    if (child->IsComment()) {
      Warn(L"a comment among the differences is skipped.");
      continue;
    }
    if (differences.size() == kMaxDifferences) {
      Warn(L"more than " + LLF::ToString(int(kMaxDifferences)) + L" differences; the rest are skipped.");
      break;
    }
    const LLF::XmlAttribute* image = child->GetAttribute(std::wstring(L"imgName"));
    const LLF::XmlAttribute* pos = child->GetAttribute(std::wstring(L"pos"));
    const LLF::XmlAttribute* dims = child->GetAttribute(std::wstring(L"dims"));
    if (!image || !pos || !dims) {
      Warn(L"the element \"" + child->GetName() + L"\" lacks imgName, pos or dims and is skipped.");
      continue;
    }
    MirrorDifference d;
    d.image = LLF::ImagesManager::GetInstance().FindResource(image->GetValue());
    const LLF::Vector2 corner = pos->GetFloatPair();
    const LLF::Point size = dims->GetIntPair();
    d.x = corner.x;
    d.y = corner.y;
    d.w = size.x;
    d.h = size.y;
    differences.push_back(d);
  }
  // ShowFound keeps pointers into the list: it must never reallocate.
  foundList.reserve(differences.size());
  return true;
}

HLF::Dialog* MirrorModeManager::MakeOverlay(const wchar_t* name, const LLF::Point& size,
                                            const LLF::Vector2& position) {
  auto* overlay = new HLF::Dialog();
  overlay->SetName(name);
  overlay->SetImage(kHighlightImage);
  overlay->SetDraggable(false);
  overlay->SetSize(size);
  overlay->SetPosition(position);
  // The next click near a find must still reach the board.
  overlay->SetActionsInvisible(true);
  overlay->SetAlpha(0);
  overlay->AddAndStartModifier(
      new HLF::Fader(overlay, nullptr, nullptr, HLF::Fader::FADE_RISE, kHighlightFadeMs, 0));
  return overlay;
}

void MirrorModeManager::ShowFound(MirrorDifference& d) {
  const LLF::Point size(std::max(d.w, kHighlightMin), std::max(d.h, kHighlightMin));
  const LLF::Vector2 first(d.x + static_cast<float>(d.w / 2 - size.x / 2),
                           d.y + static_cast<float>(d.h / 2 - size.y / 2));
  const LLF::Vector2 second(first.x + (d.x >= kHalfWidth ? -kHalfWidth : kHalfWidth), first.y);
  MirrorFoundPair pair;
  pair.firstOverlay = MakeOverlay(L"overlayDlg1", size, first);
  pair.secondOverlay = MakeOverlay(L"overlayDlg2", size, second);
  pair.difference = &d;
  HLF::Control* layer = owner ? owner->GetOverlayLayer() : nullptr;
  if (layer) {
    layer->AddChild(pair.firstOverlay);
    layer->AddChild(pair.secondOverlay);
  } else {
    // Nowhere to show them: the find still counts.
    delete pair.firstOverlay;
    delete pair.secondOverlay;
    pair.firstOverlay = nullptr;
    pair.secondOverlay = nullptr;
  }
  foundList.push_back(pair);
  d.found = true;
}

bool MirrorModeManager::ProcessMessage(const LLF::Message& msg) {
  // A hidden board (the results) or a mode past its play takes no clicks:
  // the goal must not be met twice.
  if (msg.GetCode() != LLF::WMSG_BUTTON_UP || msg.GetSender() != &LLF::AppWindow::GetInstance() || !owner ||
      !owner->IsPlaying() || !CanProcessMessages() ||
      owner->GetState() >= GameModeMirror::GMM_STATE_STARTANIM) {
    return HLF::Control::ProcessMessage(msg);
  }
  OnClick(LLF::Vector2(static_cast<float>(msg.GetPrimary()), static_cast<float>(msg.GetSecondary())));
  if (AllFound()) {
    for (MirrorFoundPair& pair : foundList) {
      if (pair.difference) {
        pair.difference->foundPair = &pair;
      }
    }
    owner->OnAllFound();
    return true;
  }
  return HLF::Control::ProcessMessage(msg);
}

void MirrorModeManager::OnClick(const LLF::Vector2& p) {
  if (MirrorDifference* d = FindAt(p)) {
    owner->OnFound(*d, p);
  } else if (!AllFound()) {
    owner->OnMiss(p);
  }
}

void MirrorModeManager::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  // Children push their own combined transforms; the board's is pushed
  // only for what it draws itself.
  const LLF::Transform context = ComputeContext(parent);
  HLF::Emitter* hint = owner ? owner->GetHintEmitter() : nullptr;
  for (int i = 0; i < GetChildsCount(); ++i) {
    HLF::Control* child = GetChild(i);
    if (child && child != hint) {
      child->Render(rs, &context);
    }
  }
  const bool playing = !owner || owner->GetState() < GameModeMirror::GMM_STATE_STARTANIM;
  rs->PushTransform(context.matrix);
  for (const MirrorDifference& d : differences) {
    const LLF::Vector2 corner(d.x, d.y);
    if (playing) {
      DrawAt(rs, d.image, corner, context.alpha);
    } else if (d.foundPair && d.foundPair->firstOverlay) {
      // Each fades out with its highlight.
      DrawAt(rs, d.image, corner,
             static_cast<uint8_t>(d.foundPair->firstOverlay->GetAlpha() * context.alpha / 255));
    }
  }
  rs->PopTransform();
  if (hint && hint->GetParent() == this) {
    hint->Render(rs, &context);
  }
  if (playing && mirrorCursor) {
    if (HLF::Game* game = HLF::Game::GetInstance()) {
      rs->PushTransform(context.matrix);
      DrawAt(rs, mirrorCursor, MirrorPoint(game->GetMousePosition()), 255);
      rs->PopTransform();
    }
  }
  if (owner) {
    owner->DrawGradientFade(rs);
  }
}
