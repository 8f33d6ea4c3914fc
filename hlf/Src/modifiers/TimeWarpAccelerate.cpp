#include "modifiers/TimeWarpAccelerate.h"

#include "math/MathTable.h"

namespace HLF {

float TimeWarpAccelerate::Warp(float t) {
  if (t == 1.0f) {
    return 1.0f;
  }
  // Each product is rounded to float before the function sees it.
  const float angle = (t * 90.0f + 90.0f) * kDegToRad;
  return 1.0f - LLF::g_mathTable.sin(angle);
}

TimeWarp* TimeWarpAccelerate::CreateInstance() {
  return new TimeWarpAccelerate();
}

}  // namespace HLF
