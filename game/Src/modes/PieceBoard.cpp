#include "modes/PieceBoard.h"

#include <utility>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "modes/jigsaw/GameModeJigsaw.h"
#include "modifiers/Effect.h"
#include "shell/Game.h"
#include "widgets/Label.h"

namespace {

const wchar_t kEffectsFile[] = L"scripts/effects.xml";

}  // namespace

PieceBoard::PieceBoard(const std::wstring& name, const wchar_t* mouseEnter, const wchar_t* mouseLeave)
    : HLF::StaticImage(name), logName(name) {
  SetSize(800, 600);
  mouseEnterEffect = new HLF::Effect();
  mouseEnterEffect->LoadFromFile(kEffectsFile, mouseEnter);
  mouseLeaveEffect = new HLF::Effect();
  mouseLeaveEffect->LoadFromFile(kEffectsFile, mouseLeave);
}

PieceBoard::~PieceBoard() {
  delete mouseEnterEffect;
  delete mouseLeaveEffect;
  ReleasePieces(false);
}

void PieceBoard::WriteLog(const std::wstring& line) const {
  LLF::Log::GetInstance().Write(line);
}

void PieceBoard::ReleasePieces(bool deletePieces) {
  // The pieces are children: they go with the board, or here when a new
  // board replaces them.
  if (deletePieces) {
    for (const auto& row : grid) {
      for (HLF::StaticImage* piece : row) {
        RemoveChild(piece, true);
      }
    }
  }
  grid.clear();
  if (picture) {
    LLF::ImagesManager::GetInstance().FreeImage(picture);
    picture = nullptr;
  }
}

void PieceBoard::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  HLF::StaticImage::Render(rs, parent);
  if (owner && IsVisible()) {
    owner->DrawGradientFade(rs);
  }
}

LLF::Image* PieceBoard::LoadPicture(const std::wstring& imageFile, int cols, int rows) {
  LLF::Image* image =
      imageFile.empty() ? nullptr : LLF::ImagesManager::GetInstance().LoadImage(imageFile, L"", false, true);
  if (!image) {
    WriteLog(L"Error: " + logName + L" - can't load the picture \"" + imageFile + L"\".");
    return nullptr;
  }
  if (image->GetWidth() < static_cast<unsigned>(cols) || image->GetHeight() < static_cast<unsigned>(rows)) {
    WriteLog(L"Error: " + logName + L" - the picture \"" + imageFile + L"\" is smaller than its grid.");
    LLF::ImagesManager::GetInstance().FreeImage(image);
    return nullptr;
  }
  return image;
}

void PieceBoard::CutPicture(LLF::Image* image, int cols, int rows) {
  picture = image;
  picture->SetCellsCount(static_cast<unsigned>(cols), true);
  picture->SetLoopsCount(static_cast<unsigned>(rows), true);
  grid.assign(static_cast<size_t>(rows), std::vector<HLF::StaticImage*>(static_cast<size_t>(cols), nullptr));
}

HLF::StaticImage* PieceBoard::NewPiece(int column, int row, float width, float height) {
  auto* piece = new HLF::StaticImage();
  piece->SetImageObject(picture);
  piece->SetCell(column);
  piece->SetLoop(row);
  piece->SetTransformCenter(LLF::Vector2(width * 0.5f, height * 0.5f));
  piece->AddReceiver(this);
  return piece;
}

HLF::StaticImage* PieceBoard::GetPiece(int column, int row) const {
  if (row < 0 || static_cast<size_t>(row) >= grid.size() || column < 0 ||
      static_cast<size_t>(column) >= grid[static_cast<size_t>(row)].size()) {
    return nullptr;
  }
  return grid[row][column];
}

int PieceBoard::CountCorrect() const {
  int correct = 0;
  for (const auto& row : grid) {
    for (const HLF::StaticImage* piece : row) {
      correct += StandsCorrectly(piece) ? 1 : 0;
    }
  }
  return correct;
}

void PieceBoard::UpdateCounters() {
  if (!IsLoaded()) {
    return;
  }
  int total = 0;
  for (const auto& row : grid) {
    total += static_cast<int>(row.size());
  }
  const int correct = CountCorrect();
  const int incorrect = total - correct;
  if (HLF::Control* panel = owner ? owner->GetItemsPanel() : nullptr) {
    const std::pair<const wchar_t*, int> counters[] = {
        {L"correct_num", correct}, {L"incorrect_num", incorrect}, {L"total_num", total}};
    for (const auto& [name, value] : counters) {
      if (auto* label = dynamic_cast<HLF::Label*>(panel->GetChildByName(name))) {
        label->SetText(LLF::ToString(value));
      }
    }
  }
  if (incorrect != 0 || !owner) {
    return;
  }
  owner->GoalMet();
  ShrinkGrownPieces();
  OnGoal();
}

void PieceBoard::ShrinkGrownPieces() {
  if (!mouseLeaveEffect || mouseLeaveEffect->GetModifiersCount() == 0) {
    return;
  }
  for (const auto& row : grid) {
    for (HLF::StaticImage* piece : row) {
      bool shrinking = false;
      for (int i = 0; i < piece->GetEffectsCount(); ++i) {
        HLF::Effect* effect = piece->GetEffect(i);
        if (!effect || !effect->IsRunning()) {
          continue;
        }
        if (effect->GetName() == mouseLeaveEffect->GetName()) {
          shrinking = true;
        } else if (mouseEnterEffect && effect->GetName() == mouseEnterEffect->GetName()) {
          // The shrink starts from the grown size.
          effect->Stop(true);
        }
      }
      const LLF::Vector2 scale = piece->GetScale();
      if (shrinking || (scale.x == 1.0f && scale.y == 1.0f)) {
        continue;
      }
      auto* effect = new HLF::Effect();
      effect->CopyFrom(*mouseLeaveEffect);
      piece->AddAndStartEffect(effect);
    }
  }
}

void PieceBoard::ResetFrameTime() {
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
}

void PieceBoard::PlayBoardSound(const std::wstring& id) {
  if (owner) {
    owner->PlayBoardSound(id);
  }
}
