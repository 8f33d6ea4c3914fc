#pragma once
// Sampling of particle key tracks. A track is a list of keys in file order
// whose times need not be sorted. At time t:
// - a single key gives its value;
// - t >= 1 gives the first key at exactly 1, when there is one;
// - otherwise the nearest key at or above t and the nearest below t are
//   interpolated linearly (a key exactly at t is returned as it is); of two
//   equally near keys the earlier wins, and a side with no key falls back
//   to key 0, so t outside all keys extrapolates from key 0 and its
//   neighbour.
// An empty track gives the fallback. Colour channels are clamped to 0..255
// where extrapolation would leave the byte range.
#include <vector>

#include "particles/TrackKey.h"

namespace HLF {

template <class T>
T SampleTrack(const std::vector<TrackKey<T>>& track, float t, const T& fallback);

extern template LLF::Color SampleTrack(const std::vector<ColorKey>&, float, const LLF::Color&);
extern template LLF::Vector2 SampleTrack(const std::vector<VectorKey>&, float, const LLF::Vector2&);

}  // namespace HLF
