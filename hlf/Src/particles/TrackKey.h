#pragma once
// One key of a particle track: the value a particle has at a point of its
// life (0 at birth, 1 at death). Colour tracks hold ColorKey, size and
// friction tracks VectorKey.
#include "math/Color.h"
#include "math/Vector2.h"

namespace HLF {

template <class T>
struct TrackKey {
  T value;
  float time = 0.0f;

  TrackKey() = default;
  TrackKey(const T& keyValue, float keyTime) : value(keyValue), time(keyTime) {}
};

using ColorKey = TrackKey<LLF::Color>;
using VectorKey = TrackKey<LLF::Vector2>;

}  // namespace HLF
