#include "PuzzleSolver.h"

#include "model/XmlDocEx.h"
#include "modes/puzzle/GameModePuzzle.h"
#include "modes/puzzle/PuzzleModeManager.h"

namespace QmTest {

bool PuzzleSolver::Solve(LevelPlay& play) {
  HLF::XmlDocEx doc;
  if (!play.LoadLevelFile(doc)) {
    return Fail("level.xml does not load");
  }
  const int n = doc.GetDocumentElement()->GetAttribute(L"colsRows", 0).GetInt();
  auto* mode = dynamic_cast<GameModePuzzle*>(play.Mode());
  if (!mode || n <= 0 || !play.UntilPlayable()) {
    return Fail("no Puzzle level to play");
  }
  PuzzleModeManager& board = mode->GetBoard();
  if (board.GetColsRows() != n) {
    return Fail("the board is not the level file's size");
  }
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      HLF::StaticImage* piece = board.GetPiece(c, r);
      if (!piece) {
        return Fail("a cell without its piece");
      }
      // Four quarters bring any piece round.
      for (int turns = 0; turns < 4 && !PuzzleModeManager::IsUpright(piece); ++turns) {
        play.ClickControl(piece);
        if (play.Won()) {
          return true;
        }
        if (!play.UntilPlayable() || !play.Until([&] { return piece->GetEffectsCount() == 0; })) {
          return Fail("a turn never ended");
        }
      }
      if (!PuzzleModeManager::IsUpright(piece)) {
        return Fail("four clicks did not bring a piece upright");
      }
    }
  }
  return play.Won() ? true : Fail("every piece is upright but the level is not won");
}

}  // namespace QmTest
