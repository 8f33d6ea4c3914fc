#include "modes/jigsaw/JigsawModeManager.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

#include "core/Log.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/ControlFactory.h"
#include "modes/jigsaw/GameModeJigsaw.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "modifiers/Mover.h"
#include "particles/EmitRegion.h"
#include "particles/Emitter.h"
#include "shell/Game.h"
#include "widgets/Label.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kParticlesFile[] = L"scripts/psystems.xml";
const wchar_t kEmitterName[] = L"JigsawEmitter";
// Long enough to outlast any selection.
constexpr unsigned kSelectionMs = 99999999;

}  // namespace

JigsawModeManager::JigsawModeManager()
    : PieceBoard(L"JigsawModeManager", L"LevelJigsawPieceMouseEnter", L"LevelJigsawPieceMouseLeave") {}

void JigsawModeManager::ReleaseGrid(bool deletePieces) {
  ReleasePieces(deletePieces);
  selectedName.clear();
  clickedName.clear();
  pendingMover = nullptr;
}

bool JigsawModeManager::LoadBoard(LLF::XmlElement& level, bool shuffle) {
  if (!SetImage(L"ljs_background")) {
    return false;
  }
  SetRenderable(true);
  const std::wstring imageFile = level.GetAttribute(L"imageFile", L"").GetValue();
  const int columns = level.GetAttribute(L"cols", 0).AsInt();
  const int lines = level.GetAttribute(L"rows", 0).AsInt();
  // A board needs two different cells to shuffle and to swap.
  if (columns < 1 || lines < 1 || static_cast<long long>(columns) * lines < 2 ||
      static_cast<long long>(columns) * lines > kMaxPieces) {
    WriteLog(L"Error: JigsawModeManager - the level's board of " + LLF::ToString(columns) + L" x " +
             LLF::ToString(lines) +
             L" pieces can't be played; it needs cols and rows of at least 1 and two to " +
             LLF::ToString(kMaxPieces) + L" pieces.");
    return false;
  }
  LLF::Image* image = LoadPicture(imageFile, columns, lines);
  if (!image) {
    return false;
  }
  ReleaseGrid(true);
  cols = columns;
  rows = lines;
  CutPicture(image, cols, rows);
  cellWidth = static_cast<float>(picture->GetWidth()) / static_cast<float>(cols);
  cellHeight = static_cast<float>(picture->GetHeight()) / static_cast<float>(rows);

  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      HLF::StaticImage* piece = NewPiece(c, r, cellWidth, cellHeight);
      piece->SetPosition(CellPosition(c, r));
      piece->SetName(MakeName(c, r, c, r));
      AddChild(piece);
      grid[r][c] = piece;
    }
  }

  if (!emitter) {
    HLF::Control* control = HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(
        kParticlesFile, L"particlesystems", kEmitterName);
    emitter = dynamic_cast<HLF::Emitter*>(control);
    if (emitter) {
      AddChild(emitter);
    } else {
      delete control;
      WriteLog(std::wstring(L"Warning: JigsawModeManager - no emitter \"") + kEmitterName + L"\" in " +
               kParticlesFile + L"; the selection shows without sparkles.");
    }
  }
  if (shuffle) {
    Shuffle();
  }
  return true;
}

void JigsawModeManager::Shuffle() {
  const int count = cols * rows;
  if (count < 2) {
    return;
  }
  // Both cells uniformly over the whole grid, so the last cell moves as
  // often as any other.
  for (int i = 0; i < kShuffleSwaps; ++i) {
    const int u = LLF::RandomInt() % count;
    int v = LLF::RandomInt() % count;
    while (v == u) {
      v = LLF::RandomInt() % count;
    }
    SwapPieces(grid[u / cols][u % cols]->GetName(), grid[v / cols][v % cols]->GetName(), true);
  }
  // A board that happens to come out finished would be won before the
  // player sees it (a board of two always does): one more pair trades.
  if (CountCorrect() == count) {
    const int u = LLF::RandomInt() % count;
    const int v = (u + 1 + LLF::RandomInt() % (count - 1)) % count;
    SwapPieces(grid[u / cols][u % cols]->GetName(), grid[v / cols][v % cols]->GetName(), true);
  }
}

LLF::Vector2 JigsawModeManager::CellPosition(int column, int row) const {
  return LLF::Vector2(kOrigin + static_cast<float>(column) * cellWidth,
                      kOrigin + static_cast<float>(row) * cellHeight);
}

bool JigsawModeManager::ParseName(const std::wstring& name, int numbers[4]) {
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t end = i < 3 ? name.find(L',', start) : name.size();
    if (end == std::wstring::npos || end == start || end - start > 6) {
      return false;
    }
    int value = 0;
    for (size_t k = start; k < end; ++k) {
      if (name[k] < L'0' || name[k] > L'9') {
        return false;
      }
      value = value * 10 + (name[k] - L'0');
    }
    numbers[i] = value;
    start = end + 1;
  }
  return true;
}

std::wstring JigsawModeManager::MakeName(int c, int r, int h, int v) {
  return LLF::ToString(c) + L"," + LLF::ToString(r) + L"," + LLF::ToString(h) + L"," + LLF::ToString(v);
}

HLF::StaticImage* JigsawModeManager::FindPiece(const std::wstring& name) const {
  for (const auto& row : grid) {
    for (HLF::StaticImage* piece : row) {
      if (piece->GetName() == name) {
        return piece;
      }
    }
  }
  return nullptr;
}

HLF::StaticImage* JigsawModeManager::GetPieceAt(int column, int row) const {
  for (const auto& line : grid) {
    for (HLF::StaticImage* piece : line) {
      int n[4];
      if (ParseName(piece->GetName(), n) && n[0] == column && n[1] == row) {
        return piece;
      }
    }
  }
  return nullptr;
}

void JigsawModeManager::SwapPieces(const std::wstring& nameA, const std::wstring& nameB, bool instant) {
  int a[4];
  int b[4];
  HLF::StaticImage* pieceA = FindPiece(nameA);
  HLF::StaticImage* pieceB = FindPiece(nameB);
  if (!pieceA || !pieceB || pieceA == pieceB || !ParseName(nameA, a) || !ParseName(nameB, b)) {
    return;
  }
  pieceA->SetName(MakeName(b[0], b[1], a[2], a[3]));
  pieceB->SetName(MakeName(a[0], a[1], b[2], b[3]));
  const LLF::Vector2 positionA = pieceA->GetPosition();
  const LLF::Vector2 positionB = pieceB->GetPosition();
  if (instant) {
    pieceA->SetPosition(positionB);
    pieceB->SetPosition(positionA);
    return;
  }
  pieceA->BringToFront();
  pieceB->BringToFront();
  auto* moverA = new HLF::Mover(pieceA, nullptr, positionA, positionB, kSwapMs, 0, false);
  pendingMover = moverA;
  moverA->AddReceiver(this);
  auto* moverB = new HLF::Mover(pieceB, nullptr, positionB, positionA, kSwapMs, 0, false);
  pieceA->AddAndStartModifier(moverA);
  pieceB->AddAndStartModifier(moverB);
  PlayBoardSound(L"jigsaw_change");
}

bool JigsawModeManager::RestorePositions(const std::wstring& positions) {
  const int count = cols * rows;
  if (count <= 0) {
    return false;
  }
  std::vector<std::pair<HLF::StaticImage*, std::wstring>> names;
  std::set<int> homes;
  std::set<int> cells;
  size_t start = 0;
  for (int i = 0; i < count; ++i) {
    const size_t end = positions.find(L';', start);
    if (end == std::wstring::npos) {
      return false;
    }
    const std::wstring entry = positions.substr(start, end - start);
    start = end + 1;
    int n[4];
    if (!ParseName(entry, n) || n[0] >= cols || n[1] >= rows || n[2] >= cols || n[3] >= rows) {
      return false;
    }
    if (!homes.insert(n[3] * cols + n[2]).second || !cells.insert(n[1] * cols + n[0]).second) {
      return false;
    }
    names.emplace_back(grid[n[3]][n[2]], entry);
  }
  if (start != positions.size()) {
    return false;
  }
  for (const auto& [piece, name] : names) {
    int n[4];
    ParseName(name, n);
    piece->SetName(name);
    piece->SetPosition(CellPosition(n[0], n[1]));
  }
  return true;
}

std::wstring JigsawModeManager::GetPositions() const {
  std::wstring value;
  for (const auto& row : grid) {
    for (const HLF::StaticImage* piece : row) {
      value += piece->GetName() + L";";
    }
  }
  return value;
}

bool JigsawModeManager::StandsCorrectly(const HLF::Control* piece) const {
  int n[4];
  return ParseName(piece->GetName(), n) && n[0] == n[2] && n[1] == n[3];
}

void JigsawModeManager::OnGoal() {
  for (const auto& row : grid) {
    for (HLF::StaticImage* piece : row) {
      auto* fader = new HLF::Fader(piece, nullptr, nullptr, HLF::Fader::FADE_RANGE, 1000, 0);
      fader->SetFadeRange(96, 255);
      piece->AddAndStartModifier(fader);
    }
  }
}

bool JigsawModeManager::IsBusy(const HLF::Control* piece) {
  for (int i = 0; i < piece->GetEffectsCount(); ++i) {
    const HLF::Effect* effect = piece->GetEffect(i);
    if (effect && effect->IsRunning()) {
      return true;
    }
  }
  return false;
}

bool JigsawModeManager::IsBusyBesidesHover(const HLF::Control* piece) const {
  // The grow under the mouse starts as the mouse comes onto the piece; a
  // click right after it is the player's and counts.
  for (int i = 0; i < piece->GetEffectsCount(); ++i) {
    const HLF::Effect* effect = piece->GetEffect(i);
    if (!effect || !effect->IsRunning()) {
      continue;
    }
    const std::wstring name = effect->GetName();
    const bool hover = (mouseEnterEffect && name == mouseEnterEffect->GetName()) ||
                       (mouseLeaveEffect && name == mouseLeaveEffect->GetName());
    if (!hover) {
      return true;
    }
  }
  return false;
}

void JigsawModeManager::StartHoverEffect(HLF::Control* piece, const HLF::Effect* prototype) {
  if (!prototype || prototype->GetModifiersCount() == 0) {
    return;
  }
  auto* effect = new HLF::Effect();
  effect->CopyFrom(*prototype);
  piece->BringToFront();
  piece->AddAndStartEffect(effect);
  if (emitter) {
    emitter->BringToFront();
  }
}

bool JigsawModeManager::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  const int code = msg->GetCode();
  if (code == HLF::MOD_MSG_END && pendingMover && msg->GetSender() == pendingMover) {
    pendingMover = nullptr;
    UpdateCounters();
    return true;
  }
  auto* piece = dynamic_cast<HLF::StaticImage*>(msg->GetSender());
  if (!owner || !owner->IsPlaying() || !piece || piece->GetParent() != this) {
    return true;
  }
  switch (code) {
    case HLF::CTRL_MSG_MOUSE_ENTER:
      if (IsBusy(piece) || StandsCorrectly(piece) || !piece->IsEnabled()) {
        break;
      }
      StartHoverEffect(piece, mouseEnterEffect);
      PlayBoardSound(L"rotation_over");
      ResetFrameTime();
      break;
    case HLF::CTRL_MSG_MOUSE_LEAVE: {
      const LLF::Vector2 scale = piece->GetScale();
      if ((scale.x == 1.0f && scale.y == 1.0f) || IsBusy(piece) || !piece->IsEnabled()) {
        break;
      }
      StartHoverEffect(piece, mouseLeaveEffect);
      ResetFrameTime();
      break;
    }
    case HLF::CTRL_MSG_CLICK:
      // A piece still moving from a swap waits: a second move on it would
      // leave it between two cells.
      if (IsBusyBesidesHover(piece) || piece->GetModifiersCount() > 0) {
        break;
      }
      OnPieceClick(piece);
      break;
    default:
      break;
  }
  return true;
}

void JigsawModeManager::OnPieceClick(HLF::StaticImage* piece) {
  const std::wstring name = piece->GetName();
  if (selectedName.empty()) {
    selectedName = name;
    if (emitter) {
      emitter->BringToFront();
      emitter->SetPosition(piece->GetPosition());
      const LLF::Point size = piece->GetSize();
      if (HLF::EmitRegion* region = emitter->GetEmitRegion()) {
        region->SetData(L"0,0," + LLF::ToString(size.x) + L"," + LLF::ToString(size.y) + L";2,2," +
                        LLF::ToString(size.x - 4) + L"," + LLF::ToString(size.y - 4));
      }
      emitter->Start(kSelectionMs);
    }
  } else {
    if (name != selectedName) {
      clickedName = name;
      SwapPieces(selectedName, clickedName, false);
      if (owner) {
        owner->CountMove();
      }
    }
    Deselect();
  }
  PlayBoardSound(L"jigsaw_click");
  ResetFrameTime();
}

void JigsawModeManager::Deselect() {
  selectedName.clear();
  clickedName.clear();
  if (emitter) {
    emitter->Stop();
    emitter->BringToFront();
  }
}
