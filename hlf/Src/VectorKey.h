#pragma once
// One key of a particle size or friction track: the value at a point of a
// particle's life (0 at birth, 1 at death).
#include "Vector2.h"

namespace HLF {

struct VectorKey {
  LLF::Vector2 value;
  float time = 0.0f;

  VectorKey() = default;
  VectorKey(const LLF::Vector2& keyValue, float keyTime) : value(keyValue), time(keyTime) {}
};

}  // namespace HLF
