#include "draw/ValueNoise.h"

#include <cmath>

#include "core/Random.h"

namespace Datagen {

ValueNoise::ValueNoise(unsigned seed, int period) : _period(1) {
  while (_period < period && _period < (1 << 12)) _period <<= 1;
  LLF::SeedRandom(seed);
  _values.resize(size_t(_period) * _period);
  for (float& v : _values) v = float(LLF::RandomInt()) / float(LLF::kRandomMax);
}

float ValueNoise::Lattice(int x, int y) const {
  const int wx = x & (_period - 1);
  const int wy = y & (_period - 1);
  return _values[size_t(wy) * _period + wx];
}

float ValueNoise::At(float x, float y) const {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int ix = int(fx);
  const int iy = int(fy);
  float tx = x - fx;
  float ty = y - fy;
  tx = tx * tx * (3.0f - 2.0f * tx);
  ty = ty * ty * (3.0f - 2.0f * ty);
  const float top = Lattice(ix, iy) + (Lattice(ix + 1, iy) - Lattice(ix, iy)) * tx;
  const float bottom = Lattice(ix, iy + 1) + (Lattice(ix + 1, iy + 1) - Lattice(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

float ValueNoise::Fractal(float x, float y, int octaves) const {
  float sum = 0.0f;
  float weight = 0.5f;
  float total = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    sum += At(x, y) * weight;
    total += weight;
    x *= 2.0f;
    y *= 2.0f;
    weight *= 0.5f;
  }
  return total > 0.0f ? sum / total : 0.0f;
}

}  // namespace Datagen
