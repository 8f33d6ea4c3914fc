#pragma once
// The framework's pseudo-random numbers: a linear congruential generator with
// the rule of the Windows C runtime, so that a seed gives the same sequence
// everywhere (seed 1 gives 41, 18467, 6334, ...). One generator per process,
// seeded once by the game shell; not for use from several threads at once.
#include <cstddef>
#include <utility>

namespace LLF {

constexpr int kRandomMax = 32767;

void SeedRandom(unsigned seed);
// Next integer in 0..32767: state = state * 214013 + 2531011, bits 16 to 30.
int RandomInt();
// r * x with r = RandomInt() / 32767.0, so 0..x inclusive.
float Random(float x);
// a + (b - a) * r with r as above.
float RandomRange(float a, float b);

// Shuffles [first, last) as the C++ library's random_shuffle of the Windows
// runtime does: for k from 1 to n - 1, swap element k with element r mod
// (k + 1), where r is drawn 15 bits at a time until it covers k + 1.
template <class It>
void RandomShuffle(It first, It last) {
  const auto n = static_cast<size_t>(last - first);
  for (size_t k = 1; k < n; ++k) {
    size_t r = static_cast<size_t>(RandomInt());
    for (size_t range = static_cast<size_t>(kRandomMax); range < k + 1; range = range << 15 | kRandomMax) {
      r = r << 15 | static_cast<size_t>(RandomInt());
    }
    using std::swap;
    swap(first[k], first[r % (k + 1)]);
  }
}

}  // namespace LLF
