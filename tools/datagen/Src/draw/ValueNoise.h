#pragma once
// Smooth value noise on a square lattice that wraps, and its fractal sum:
// the texture of hills, water and parchment. The lattice is drawn from the
// framework's random generator seeded with the given seed, so a seed gives
// the same noise on every run.
#include <vector>

namespace Datagen {

class ValueNoise {
 public:
  // period: lattice cells before the noise repeats, rounded up to a power
  // of two (at most 4096).
  explicit ValueNoise(unsigned seed, int period = 64);

  // 0 to 1, smooth, one lattice cell per unit.
  float At(float x, float y) const;
  // Sum of octaves, each at double frequency and half weight; 0 to 1.
  float Fractal(float x, float y, int octaves) const;

 private:
  float Lattice(int x, int y) const;

  int _period;
  std::vector<float> _values;
};

}  // namespace Datagen
