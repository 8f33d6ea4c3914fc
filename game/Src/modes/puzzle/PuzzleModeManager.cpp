#include "modes/puzzle/PuzzleModeManager.h"

#include <cmath>
#include <cwchar>
#include <utility>

#include "core/Log.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "modes/puzzle/GameModePuzzle.h"
#include "modifiers/Effect.h"
#include "shell/Game.h"
#include "widgets/Label.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kEffectsFile[] = L"scripts/effects.xml";

// The index of a quarter (0 to 3, 360 as 0); -1 for any other angle.
int QuarterIndex(float degrees) {
  if (degrees == 0.0f || degrees == 360.0f) return 0;
  if (degrees == 90.0f) return 1;
  if (degrees == 180.0f) return 2;
  if (degrees == 270.0f) return 3;
  return -1;
}

}  // namespace

PuzzleModeManager::PuzzleModeManager()
    : PieceBoard(L"PuzzleModeManager", L"LevelPuzzlePieceMouseEnter", L"LevelPuzzlePieceMouseLeave") {
  const std::pair<HLF::Effect**, const wchar_t*> prototypes[] = {
      {&rotateEffects[0], L"LevelPuzzleRotatePiece0"},
      {&rotateEffects[1], L"LevelPuzzleRotatePiece90"},
      {&rotateEffects[2], L"LevelPuzzleRotatePiece180"},
      {&rotateEffects[3], L"LevelPuzzleRotatePiece270"},
  };
  for (const auto& [effect, name] : prototypes) {
    *effect = new HLF::Effect();
    (*effect)->LoadFromFile(kEffectsFile, name);
  }
}

PuzzleModeManager::~PuzzleModeManager() {
  for (HLF::Effect* effect : rotateEffects) {
    delete effect;
  }
}

bool PuzzleModeManager::LoadBoard(LLF::XmlElement& level) {
  if (!SetImage(L"lpz_background")) {
    return false;
  }
  SetRenderable(true);
  const std::wstring imageFile = level.GetAttribute(L"imageFile", L"").GetValue();
  const int count = level.GetAttribute(L"colsRows", 0).AsInt();
  if (count < 1 || count > kMaxColsRows) {
    WriteLog(L"Error: PuzzleModeManager - the level's board of " + LLF::ToString(count) +
             L" columns and rows can't be played; colsRows must be " +
             (count < 1 ? L"at least 1." : L"at most " + LLF::ToString(kMaxColsRows) + L"."));
    return false;
  }
  LLF::Image* image = LoadPicture(imageFile, count, count);
  if (!image) {
    return false;
  }
  if (image->GetWidth() != image->GetHeight()) {
    WriteLog(L"Warning: PuzzleModeManager - the picture \"" + imageFile + L"\" is " +
             LLF::ToString(image->GetWidth()) + L" x " + LLF::ToString(image->GetHeight()) +
             L", not square; its pieces are cut by its width.");
  }
  ReleasePieces(true);
  size = count;
  CutPicture(image, size, size);
  cellSize = static_cast<float>(picture->GetWidth()) / static_cast<float>(size);

  static const float kQuarters[4] = {0.0f, 90.0f, 180.0f, 270.0f};
  for (int r = 0; r < size; ++r) {
    for (int c = 0; c < size; ++c) {
      HLF::StaticImage* piece = NewPiece(c, r, cellSize, cellSize);
      piece->SetPosition(LLF::Vector2(kOrigin + static_cast<float>(c) * cellSize,
                                      kOrigin + static_cast<float>(r) * cellSize));
      piece->SetName(LLF::ToString(c) + L"," + LLF::ToString(r));
      const float f = LLF::Random(1.0f);
      piece->SetRotation(kQuarters[f < 0.25f ? 0 : f < 0.5f ? 1 : f < 0.75f ? 2 : 3]);
      AddChild(piece);
      grid[r][c] = piece;
    }
  }
  return true;
}

bool PuzzleModeManager::IsUpright(const HLF::Control* piece) {
  const float rotation = piece->GetRotation();
  return rotation == 0.0f || rotation == 360.0f;
}

float PuzzleModeManager::StoredAngle(float degrees) {
  return std::ceil(degrees / 90.0f) * 90.0f;
}

std::wstring PuzzleModeManager::GetAngles() const {
  std::wstring value;
  for (const auto& row : grid) {
    for (const HLF::StaticImage* piece : row) {
      value += LLF::ToString(StoredAngle(piece->GetRotation())) + L",";
    }
  }
  return value;
}

bool PuzzleModeManager::RestoreAngles(const std::wstring& angles) {
  const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
  if (count == 0) {
    return false;
  }
  std::vector<float> values;
  size_t start = 0;
  while (start < angles.size()) {
    const size_t end = angles.find(L',', start);
    if (end == std::wstring::npos || values.size() == count) {
      return false;
    }
    const std::wstring entry = angles.substr(start, end - start);
    start = end + 1;
    wchar_t* stop = nullptr;
    const double value = entry.empty() ? -1.0 : std::wcstod(entry.c_str(), &stop);
    if (entry.empty() || stop != entry.c_str() + entry.size() ||
        QuarterIndex(static_cast<float>(value)) < 0) {
      return false;
    }
    values.push_back(static_cast<float>(value));
  }
  if (values.size() != count) {
    return false;
  }
  size_t i = 0;
  for (const auto& row : grid) {
    for (HLF::StaticImage* piece : row) {
      piece->SetRotation(values[i++]);
    }
  }
  return true;
}

void PuzzleModeManager::StartEffect(HLF::Control* piece, const HLF::Effect* prototype) {
  if (!prototype || prototype->GetModifiersCount() == 0) {
    return;
  }
  auto* effect = new HLF::Effect();
  effect->CopyFrom(*prototype);
  effect->AddReceiver(this);
  piece->AddAndStartEffect(effect);
}

bool PuzzleModeManager::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  const int code = msg->GetCode();
  if (code == HLF::EFFECT_MSG_END) {
    auto* effect = dynamic_cast<HLF::Effect*>(msg->GetSender());
    if (effect && effect->GetName().find(kRotateEffect) != std::wstring::npos) {
      UpdateCounters();
    }
    return true;
  }
  auto* sender = dynamic_cast<HLF::StaticImage*>(msg->GetSender());
  if (!owner || !owner->IsPlaying() || !sender) {
    return true;
  }
  int c = -1;
  int r = -1;
  wchar_t rest = 0;
  if (std::swscanf(sender->GetName().c_str(), L"%d,%d%lc", &c, &r, &rest) != 2) {
    return true;
  }
  HLF::StaticImage* piece = GetPiece(c, r);
  if (!piece) {
    return true;
  }
  switch (code) {
    case HLF::CTRL_MSG_MOUSE_ENTER:
      piece->BringToFront();
      StartEffect(piece, mouseEnterEffect);
      PlayBoardSound(L"rotation_over");
      ResetFrameTime();
      break;
    case HLF::CTRL_MSG_MOUSE_LEAVE:
      piece->BringToFront();
      StartEffect(piece, mouseLeaveEffect);
      ResetFrameTime();
      break;
    case HLF::CTRL_MSG_CLICK:
      OnPieceClick(piece);
      break;
    default:
      break;
  }
  return true;
}

void PuzzleModeManager::OnPieceClick(HLF::StaticImage* piece) {
  // A turn under way lands at its end at once, without reporting it: the
  // counters follow the turn that starts now.
  for (int i = 0; i < piece->GetEffectsCount(); ++i) {
    HLF::Effect* effect = piece->GetEffect(i);
    if (effect && effect->IsRunning()) {
      effect->Stop(true);
    }
  }
  const int quarter = QuarterIndex(piece->GetRotation());
  if (quarter >= 0) {
    StartEffect(piece, rotateEffects[quarter]);
  }
  if (owner) {
    owner->CountMove();
  }
  PlayBoardSound(L"rotation_rotate");
  ResetFrameTime();
}
