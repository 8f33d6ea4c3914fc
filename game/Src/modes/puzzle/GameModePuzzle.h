#pragma once
// The Puzzle level: a square picture cut into n x n square pieces, each in
// its own cell but turned by a random quarter; a click turns a piece a
// quarter further and the level is won when every piece stands upright.
// Levels of the type "puzzle".
//
// The level folder holds "level.xml" (the element "level" with "imageFile",
// a path from the program folder, and "colsRows", n) and "asset.xml" (the
// list "LEVOBJECTS"). The level screen is the section "levui/level_puzzle"
// of "scripts/game/levui.xml", laid out as the Jigsaw one. Progress is the
// attribute "angles" of levels/day_<d>/<level name>.
//
// The results, the leaving fade, the win and the message handler are the
// Jigsaw mode's; this mode brings its own board, load and save.
#include "modes/jigsaw/GameModeJigsaw.h"
#include "modes/puzzle/PuzzleModeManager.h"

class GameModePuzzle : public GameModeJigsaw {
 public:
  GameModePuzzle();
  LLF_KIND_OF(GameModePuzzle, GameModeJigsaw)
  // Takes the board out of the game layer; the level screen and the frame
  // go with the Jigsaw part.
  ~GameModePuzzle() override;

  // False, with an error line, when the level can't be played: the script
  // then deletes the mode unsaved and goes back to the map.
  bool LoadLevel(const LevelInfo& info) override;
  // "angles" of a loaded board, then the base's save.
  void SaveProgress() override;

  PuzzleModeManager& GetBoard() { return puzzleBoard; }

 private:
  PuzzleModeManager puzzleBoard;
};
