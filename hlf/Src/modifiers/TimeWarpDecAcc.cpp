#include "modifiers/TimeWarpDecAcc.h"

#include "math/MathTable.h"

namespace HLF {

float TimeWarpDecAcc::Warp(float t) {
  if (t == 1.0f) {
    return 1.0f;
  }
  // Each product is rounded to float before the function sees it.
  const float x = (t - 0.5f) * 6.0f;
  return LLF::g_mathTable.atan(x) / 2.5f + 0.5f;
}

TimeWarp* TimeWarpDecAcc::CreateInstance() {
  return new TimeWarpDecAcc();
}

}  // namespace HLF
