#pragma once
// One key of a particle colour track: the colour a particle has at a point
// of its life (0 at birth, 1 at death).
#include "Color.h"

namespace HLF {

struct ColorKey {
  LLF::Color value;
  float time = 0.0f;

  ColorKey() = default;
  ColorKey(const LLF::Color& keyValue, float keyTime) : value(keyValue), time(keyTime) {}
};

}  // namespace HLF
