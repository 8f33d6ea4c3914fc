#pragma once
// Puzzle: every piece of the level's n x n board is clicked, a turn at a
// time, until it stands upright; each turn is let end before the next
// click.
#include "LevelSolver.h"

namespace QmTest {

class PuzzleSolver : public LevelSolver {
 public:
  bool Solve(LevelPlay& play) override;
};

}  // namespace QmTest
