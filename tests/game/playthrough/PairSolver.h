#pragma once
// Pair: scene by scene, each pane's odd item (the first name on it without
// a partner on the other pane, in level.xml's order) is clicked at an
// opaque pixel that no other item of the scene covers; the first level the
// run asks it of also gets one wrong click, on an item that has a partner.
#include "LevelSolver.h"

namespace QmTest {

class PairSolver : public LevelSolver {
 public:
  bool Solve(LevelPlay& play) override;
};

}  // namespace QmTest
