#include "core/Random.h"

#include <cstdint>

namespace LLF {

namespace {
uint32_t g_state = 1;  // the runtime's state before any seeding
}  // namespace

void SeedRandom(unsigned seed) {
  g_state = seed;
}

int RandomInt() {
  g_state = g_state * 214013u + 2531011u;
  return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

float Random(float x) {
  const float r = static_cast<float>(RandomInt() / 32767.0);
  return r * x;
}

float RandomRange(float a, float b) {
  const float r = static_cast<float>(RandomInt() / 32767.0);
  return a + (b - a) * r;
}

}  // namespace LLF
