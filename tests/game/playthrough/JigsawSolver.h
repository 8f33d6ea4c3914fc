#pragma once
// Jigsaw: each home cell in turn gets its piece; the piece standing there
// is selected, then the one that belongs there, and the two swap. Where a
// piece stands and where it belongs is what its name on the board says.
#include "LevelSolver.h"

namespace QmTest {

class JigsawSolver : public LevelSolver {
 public:
  bool Solve(LevelPlay& play) override;
};

}  // namespace QmTest
