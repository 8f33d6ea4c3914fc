#pragma once
// One live particle of an emitter, kept by value in the emitter's list.
// Positions are in the emitter's local coordinates; times in ms.
#include <cstdint>

#include "math/Color.h"
#include "math/Vector2.h"

namespace HLF {

class ParticleSystem;

struct Particle {
  LLF::Vector2 position;
  LLF::Vector2 halfSize;
  LLF::Color color;
  uint32_t lifeLeft = 0;
  float progress = 0.0f;  // 0 at birth, 1 at the end of life
  uint32_t life = 0;
  int32_t quadIndex = -1;  // -1: none
  uint32_t frame = 0;      // the image cell it shows when animated
  uint32_t frameTime = 0;  // ms shown of the current frame
  LLF::Vector2 motion;     // units per second
  LLF::Vector2 acceleration;
  const ParticleSystem* system = nullptr;  // whose tracks it follows
};

}  // namespace HLF
