#include "modes/pair/PairModeScene.h"

#include <vector>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "core/Message.h"
#include "image/Image.h"
#include "modes/pair/GameModePair.h"
#include "modes/pair/PairModeManager.h"
#include "shell/Game.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kBackground[] = L"lp_background";
const wchar_t kCorrectItem[] = L"LevelPairCorrectItem";
const wchar_t kIncorrectItem[] = L"LevelPairIncorrectItem";

std::wstring AttributeOf(LLF::XmlElement& element, const wchar_t* name) {
  const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(name));
  return attribute ? attribute->GetValue() : std::wstring();
}

// The first entry of names that others lacks.
std::wstring FirstUnmatched(const std::vector<std::wstring>& names, const std::vector<std::wstring>& others) {
  for (const std::wstring& name : names) {
    bool matched = false;
    for (const std::wstring& other : others) {
      if (other == name) {
        matched = true;
        break;
      }
    }
    if (!matched) {
      return name;
    }
  }
  return std::wstring();
}

bool PointIn(const HLF::Control& child, const LLF::Vector2& p) {
  const LLF::Vector2 topLeft = child.GetPosition();
  const LLF::Point size = child.GetSize();
  return p.x >= topLeft.x && p.x <= topLeft.x + static_cast<float>(size.x) && p.y >= topLeft.y &&
         p.y <= topLeft.y + static_cast<float>(size.y);
}

}  // namespace

PairModeScene::PairModeScene() = default;

PairModeScene::~PairModeScene() = default;

PairModeManager* PairModeScene::Board() const {
  return dynamic_cast<PairModeManager*>(GetParent());
}

bool PairModeScene::LoadItems(LLF::XmlElement& scene) {
  if (!SetImage(kBackground)) {
    return false;
  }
  std::vector<std::wstring> left;
  std::vector<std::wstring> right;
  for (int i = 0; i < scene.GetChildsCount(); ++i) {
    LLF::XmlElement* object = scene.GetChild(i);
    if (!object || object->IsComment() || object->GetName() != L"object") {
      continue;
    }
    const std::wstring name = AttributeOf(*object, L"name");
    if (name.empty()) {
      LLF::Log::GetInstance().Write(L"Warning: PairModeScene - an object without a name is skipped.");
      continue;
    }
    auto* item = new HLF::StaticImage(name);
    const LLF::XmlAttribute* dimsAttribute = object->GetAttribute(std::wstring(L"dims"));
    const LLF::XmlAttribute* posAttribute = object->GetAttribute(std::wstring(L"pos"));
    const LLF::Point dims = dimsAttribute ? dimsAttribute->GetIntPair() : LLF::Point(0, 0);
    const LLF::Vector2 pos = posAttribute ? posAttribute->GetFloatPair() : LLF::Vector2(0.0f, 0.0f);
    (AttributeOf(*object, L"pane") == L"left" ? left : right).push_back(name);
    const std::wstring imageName = AttributeOf(*object, L"imgName");
    if (!item->SetImage(imageName)) {
      LLF::Log::GetInstance().Write(L"Error: Can't set image for PairModeScene item. Image name: \"" +
                                    imageName + L"\"");
    }
    item->SetPosition(pos);
    item->SetTransformCenter(
        LLF::Vector2(static_cast<float>(dims.x) * 0.5f, static_cast<float>(dims.y) * 0.5f));
    AddChild(item);
  }
  missingRight = FirstUnmatched(left, right);
  missingLeft = FirstUnmatched(right, left);
  if (HLF::Control* item = FirstItemNamed(missingLeft)) {
    item->SendToBack();
  }
  if (HLF::Control* item = FirstItemNamed(missingRight)) {
    item->SendToBack();
  }
  savedMissingLeft = missingLeft;
  savedMissingRight = missingRight;
  LLF::Log::GetInstance().Write(L"Items missed on both panes: \"" + missingLeft + L"\" , \"" + missingRight +
                                L"\"");
  return true;
}

HLF::Control* PairModeScene::FirstItemNamed(const std::wstring& name) const {
  if (name.empty()) {
    return nullptr;
  }
  for (int i = 0; i < GetChildsCount(); ++i) {
    HLF::Control* child = GetChild(i);
    if (child && child->GetName() == name) {
      return child;
    }
  }
  return nullptr;
}

LLF::Vector2 PairModeScene::CentreOf(const HLF::Control& item) {
  return item.GetPosition() + item.GetTransformCenter();
}

bool PairModeScene::IsOpaqueAt(HLF::StaticImage& item, const LLF::Point& p) {
  LLF::Image* image = item.GetImage();
  if (!image) {
    return false;
  }
  const int width = static_cast<int>(image->GetCellWidth());
  const int height = static_cast<int>(image->GetCellHeight());
  if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height ||
      !item.IsFrameInImage(item.GetCell(), item.GetLoop())) {
    return false;
  }
  LLF::Color pixel;
  image->GetPixel(&pixel, item.GetCell() * width + p.x, item.GetLoop() * height + p.y);
  return pixel.a != 0 || image->GetFormat() == LLF::IMGFORMAT_R8G8B8X8;
}

bool PairModeScene::ProcessMessageChilds(const LLF::Message& msg) {
  const int code = msg.GetCode();
  if (msg.GetSender() != &LLF::AppWindow::GetInstance() || !IsMouseMessage(code)) {
    return HLF::StaticImage::ProcessMessageChilds(msg);
  }
  const LLF::Vector2 point(static_cast<float>(msg.GetPrimary()), static_cast<float>(msg.GetSecondary()));
  // Handlers may change the children meanwhile: walk a copy.
  std::vector<HLF::Control*> children;
  for (int i = 0; i < GetChildsCount(); ++i) {
    children.push_back(GetChild(i));
  }
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    HLF::Control* child = *it;
    if (!child || IndexOfChild(child) < 0) {
      continue;
    }
    if (!child->IsRenderable() || child->IsActionsInvisible()) {
      child->ProcessMessage(msg);
      continue;
    }
    if (!child->IsEnabled() || !child->IsVisible()) {
      continue;
    }
    const LLF::Vector2 p = point - GetAbsolutePosition();
    if (!PointIn(*child, p)) {
      if (!child->IsMouseOpaque() && child->ProcessMessage(msg)) {
        return true;
      }
      continue;
    }
    auto* item = dynamic_cast<HLF::StaticImage*>(child);
    if (code == LLF::WMSG_BUTTON_UP && item) {
      // An item running an effect (a wrong pick shaking) lets clicks through.
      if (item->GetEffectsCount() == 0 && IsOpaqueAt(*item, (p - item->GetPosition()).ToPoint())) {
        ItemClicked(item);
        return true;
      }
      continue;
    }
    if (child->IsMouseOpaque()) {
      child->ProcessMessage(msg);
      return true;
    }
    if (child->ProcessMessage(msg)) {
      return true;
    }
  }
  const LLF::Vector2 absolute = GetAbsolutePosition();
  const LLF::Point size = GetSize();
  if (point.x < absolute.x || point.y < absolute.y || point.x > absolute.x + static_cast<float>(size.x) ||
      point.y > absolute.y + static_cast<float>(size.y)) {
    return false;
  }
  switch (code) {
    case LLF::WMSG_BUTTON_DOWN:
      OnMouseDown(msg);
      break;
    case LLF::WMSG_MOUSE_MOVE:
      OnMouseMove(msg);
      break;
    case LLF::WMSG_BUTTON_UP:
      OnMouseUp(msg);
      break;
    case LLF::WMSG_WHEEL:
      OnMouseWheel(msg);
      break;
    case LLF::WMSG_DOUBLE_CLICK:
      OnMouseDblClick(msg);
      break;
    default:
      break;
  }
  return true;
}

void PairModeScene::ItemClicked(HLF::Control* item) {
  PairModeManager* board = Board();
  GameModePair* mode = board ? board->GetOwnerMode() : nullptr;
  if (!dynamic_cast<HLF::StaticImage*>(item) || !item->IsEnabled() || !board ||
      board->GetCurrentScene() != this || !mode || !mode->IsPlaying()) {
    return;
  }
  const std::wstring& name = item->GetName();
  if (name != missingLeft && name != missingRight) {
    for (int i = 0; i < GetChildsCount(); ++i) {
      HLF::Control* partner = GetChild(i);
      if (partner && partner != item && partner->GetName() == name) {
        GameModePair::StartPairEffect(partner, kIncorrectItem, nullptr);
        break;
      }
    }
    GameModePair::StartPairEffect(item, kIncorrectItem, nullptr);
    mode->OnWrongItem();
  } else {
    GameModePair::StartPairEffect(item, kCorrectItem, nullptr);
    item->SetEnabled(false);
    mode->OnItemFound(CentreOf(*item));
    if (name == missingLeft) {
      missingLeft.clear();
    }
    if (name == missingRight) {
      missingRight.clear();
    }
    if (missingLeft.empty() && missingRight.empty()) {
      board->SceneCompleted();
    }
  }
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
}

void PairModeScene::RestoreOne(std::wstring& missing, const std::wstring& saved, const std::wstring& value,
                               const std::wstring& name) {
  if (!value.empty() || name.empty()) {
    return;
  }
  // Only this scene's own odd item may count as found: a name of another
  // scene (or of an edited level) would hide a partner and end the scene
  // with nothing left to find.
  HLF::Control* item = name == saved ? FindChild(name) : nullptr;
  if (!item) {
    LLF::Log::GetInstance().Write(L"Warning: PairModeScene - the saved name \"" + name +
                                  L"\" is not an odd item of scene " + GetName() + L"; skipped.");
    return;
  }
  missing.clear();
  item->SetVisible(false);
}

void PairModeScene::RestoreFound(const std::wstring& leftValue, const std::wstring& leftName,
                                 const std::wstring& rightValue, const std::wstring& rightName) {
  RestoreOne(missingLeft, savedMissingLeft, leftValue, leftName);
  RestoreOne(missingRight, savedMissingRight, rightValue, rightName);
}
