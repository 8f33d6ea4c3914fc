#pragma once
// Mirror: the centre of each difference of level.xml, on the half where it
// is drawn or, every other one, on the other half (a find counts on
// either); one hint first when the run asks for it.
#include "LevelSolver.h"

namespace QmTest {

class MirrorSolver : public LevelSolver {
 public:
  bool Solve(LevelPlay& play) override;
};

}  // namespace QmTest
