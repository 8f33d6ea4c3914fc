#include "particles/KeyTrack.h"

#include <cmath>
#include <cstdint>

namespace HLF {

namespace {

// The two keys to interpolate between at t, and the fraction of the way
// from the first to the second; one key (with f 0) when t hits a key.
struct Span {
  size_t below = 0;
  size_t above = 0;
  float f = 0.0f;
};

template <class Key>
Span FindSpan(const std::vector<Key>& track, float t) {
  Span span;
  if (track.size() == 1) {
    return span;
  }
  if (t >= 1.0f) {
    for (size_t i = 0; i < track.size(); ++i) {
      if (track[i].time == 1.0f) {
        span.below = span.above = i;
        return span;
      }
    }
  }
  float bestAbove = 10.0f;
  float bestBelow = 10.0f;
  for (size_t i = 0; i < track.size(); ++i) {
    const float time = track[i].time;
    if (time == t) {
      span.below = span.above = i;
      return span;
    }
    if (time > t && time - t < bestAbove) {
      bestAbove = time - t;
      span.above = i;
    } else if (time < t && t - time < bestBelow) {
      bestBelow = t - time;
      span.below = i;
    }
  }
  const float width = track[span.above].time - track[span.below].time;
  // Both sides on one key (or on keys at one time) leave nothing to divide.
  if (span.above == span.below || width == 0.0f || !std::isfinite(width)) {
    span.above = span.below;
    return span;
  }
  span.f = (t - track[span.below].time) / width;
  return span;
}

uint8_t Channel(uint8_t below, uint8_t above, float f) {
  const float value = float(below) + float(int(above) - int(below)) * f;
  if (!(value > 0.0f)) return 0;  // NaN too
  if (value >= 255.0f) return 255;
  return static_cast<uint8_t>(value);
}

LLF::Color Interpolate(const LLF::Color& a, const LLF::Color& b, float f) {
  return LLF::Color(Channel(a.r, b.r, f), Channel(a.g, b.g, f), Channel(a.b, b.b, f), Channel(a.a, b.a, f));
}

LLF::Vector2 Interpolate(const LLF::Vector2& a, const LLF::Vector2& b, float f) {
  return a + (b - a) * f;
}

}  // namespace

template <class T>
T SampleTrack(const std::vector<TrackKey<T>>& track, float t, const T& fallback) {
  if (track.empty()) {
    return fallback;
  }
  const Span span = FindSpan(track, t);
  if (span.below == span.above) {
    return track[span.below].value;
  }
  return Interpolate(track[span.below].value, track[span.above].value, span.f);
}

template LLF::Color SampleTrack(const std::vector<ColorKey>&, float, const LLF::Color&);
template LLF::Vector2 SampleTrack(const std::vector<VectorKey>&, float, const LLF::Vector2&);

}  // namespace HLF
