#pragma once
// A float rectangle as its four values (x, y, width, height), for tests to
// compare and print.
#include <vector>

#include "math/RectF.h"

namespace QmTest {

inline std::vector<float> RectValues(const LLF::RectF& r) {
  return {r.x, r.y, r.width, r.height};
}

}  // namespace QmTest
