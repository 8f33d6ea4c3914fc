#include "modifiers/TimeWarpAccDec.h"

#include "math/MathTable.h"

namespace HLF {

float TimeWarpAccDec::Warp(float t) {
  if (t == 1.0f) {
    return 1.0f;
  }
  // Each product is rounded to float before the function sees it.
  const float x = (t - 0.5f) * 2.5f;
  return LLF::g_mathTable.tan(x) / 6.0f + 0.5f;
}

TimeWarp* TimeWarpAccDec::CreateInstance() {
  return new TimeWarpAccDec();
}

}  // namespace HLF
