#include "modifiers/TimeWarpDecelerate.h"

#include "math/MathTable.h"

namespace HLF {

float TimeWarpDecelerate::Warp(float t) {
  if (t == 1.0f) {
    return 1.0f;
  }
  // Each product is rounded to float before the function sees it.
  const float angle = t * 90.0f * kDegToRad;
  return LLF::g_mathTable.sin(angle);
}

TimeWarp* TimeWarpDecelerate::CreateInstance() {
  return new TimeWarpDecelerate();
}

}  // namespace HLF
