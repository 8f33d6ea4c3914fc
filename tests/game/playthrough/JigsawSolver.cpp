#include "JigsawSolver.h"

#include "model/XmlDocEx.h"
#include "modes/jigsaw/GameModeJigsaw.h"
#include "modes/jigsaw/JigsawModeManager.h"

namespace QmTest {

bool JigsawSolver::Solve(LevelPlay& play) {
  HLF::XmlDocEx doc;
  if (!play.LoadLevelFile(doc)) {
    return Fail("level.xml does not load");
  }
  const LLF::XmlElement* level = doc.GetDocumentElement();
  const int cols = level->GetAttribute(L"cols", 0).GetInt();
  const int rows = level->GetAttribute(L"rows", 0).GetInt();
  auto* mode = dynamic_cast<GameModeJigsaw*>(play.Mode());
  if (!mode || !play.UntilPlayable()) {
    return Fail("no Jigsaw level to play");
  }
  JigsawModeManager& board = mode->GetBoard();
  if (board.GetCols() != cols || board.GetRows() != rows) {
    return Fail("the board is not the level file's size");
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      HLF::StaticImage* standing = board.GetPieceAt(c, r);
      HLF::StaticImage* home = board.GetPiece(c, r);
      if (!standing || !home) {
        return Fail("a cell without its piece");
      }
      if (standing == home) {
        continue;
      }
      // A help message may open while a pair is half clicked (the goal
      // message comes on a timer) and swallow the next click; the board
      // keeps its selection, so the pair goes on once it plays again.
      for (int tries = 0; tries < 3 && board.GetPieceAt(c, r) != home; ++tries) {
        const std::wstring& selected = board.GetSelectedName();
        if (!selected.empty() && selected != standing->GetName()) {
          return Fail("another piece stayed selected");
        }
        if (selected.empty()) {
          play.ClickControl(standing);
          if (!play.UntilPlayable()) {
            return Fail("the board stopped taking clicks");
          }
          if (board.GetSelectedName() != standing->GetName()) {
            continue;
          }
        }
        play.ClickControl(home);
        if (play.Won()) {
          return true;
        }
        if (!play.UntilPlayable()) {
          return Fail("the board stopped taking clicks");
        }
      }
      if (board.GetPieceAt(c, r) != home) {
        return Fail("a swap did not bring the piece home");
      }
    }
  }
  return play.Won() ? true : Fail("every piece is home but the level is not won");
}

}  // namespace QmTest
