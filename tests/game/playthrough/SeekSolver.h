#pragma once
// Seek: for each name of the list on screen, an opaque pixel of that
// object's picture at its place in level.xml where no other object still
// sought is opaque; one hint first when the run asks for it.
#include "LevelSolver.h"

namespace QmTest {

class SeekSolver : public LevelSolver {
 public:
  bool Solve(LevelPlay& play) override;
};

}  // namespace QmTest
