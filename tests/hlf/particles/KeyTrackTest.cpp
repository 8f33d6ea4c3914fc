#include <gtest/gtest.h>

#include <vector>

#include "particles/KeyTrack.h"

namespace {

HLF::ColorKey Grey(unsigned char v, float time) {
  return HLF::ColorKey(LLF::Color(v, v, v, v), time);
}

TEST(KeyTrackTest, SamplingTable) {
  const LLF::Color fallback(1, 2, 3, 4);
  struct Case {
    const char* what;
    std::vector<HLF::ColorKey> track;
    float t;
    unsigned char expected;  // every channel
  } cases[] = {
      {"one key holds for the whole life", {Grey(90, 0.4f)}, 0.9f, 90},
      {"0 to 1: the start", {Grey(0, 0.0f), Grey(200, 1.0f)}, 0.0f, 0},
      {"0 to 1: linear, truncated", {Grey(0, 0.0f), Grey(255, 1.0f)}, 0.5f, 127},
      {"0 to 1: exactly the last key at 1", {Grey(0, 0.0f), Grey(255, 1.0f)}, 1.0f, 255},
      {"past 1 still the key at 1", {Grey(10, 0.0f), Grey(250, 1.0f), Grey(60, 0.5f)}, 1.5f, 250},
      {"keys out of order", {Grey(200, 1.0f), Grey(0, 0.0f), Grey(100, 0.5f)}, 0.25f, 50},
      {"a key exactly at t", {Grey(0, 0.0f), Grey(77, 0.3f), Grey(255, 1.0f)}, 0.3f, 77},
      // Two keys equally near above t: the earlier one wins.
      {"equal distances keep the earlier key", {Grey(0, 0.0f), Grey(100, 0.5f), Grey(200, 0.5f)}, 0.25f, 50},
      // No key above t: key 0 stands in, extrapolating 100 -> 125.
      {"a missing side falls back to key 0", {Grey(50, 0.0f), Grey(100, 0.5f)}, 0.75f, 125},
      // Extrapolation to 400 stops at 255 instead of wrapping to 144.
      {"extrapolation clamps", {Grey(0, 0.2f), Grey(200, 0.5f)}, 0.8f, 255},
      // ... and to -200 stops at 0.
      {"extrapolation clamps below", {Grey(200, 0.2f), Grey(0, 0.5f)}, 0.8f, 0},
      {"two keys at one time before t", {Grey(30, 0.2f), Grey(90, 0.2f)}, 0.6f, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LLF::Color got = HLF::SampleTrack(c.track, c.t, fallback);
    EXPECT_EQ(got.r, c.expected);
    EXPECT_EQ(got.a, c.expected);
  }
  const LLF::Color empty = HLF::SampleTrack(std::vector<HLF::ColorKey>(), 0.5f, fallback);
  EXPECT_EQ(empty.ToARGB(), fallback.ToARGB());
}

TEST(KeyTrackTest, VectorTracksInterpolateAndExtrapolate) {
  const std::vector<HLF::VectorKey> track = {HLF::VectorKey(LLF::Vector2(10.0f, 0.0f), 0.0f),
                                             HLF::VectorKey(LLF::Vector2(20.0f, -40.0f), 0.5f)};
  const LLF::Vector2 fallback(7.0f, 7.0f);
  EXPECT_EQ(HLF::SampleTrack(track, 0.25f, fallback), LLF::Vector2(15.0f, -20.0f));
  // Past the last key, from key 0 through key 1 onwards.
  EXPECT_EQ(HLF::SampleTrack(track, 1.0f, fallback), LLF::Vector2(30.0f, -80.0f));
  EXPECT_EQ(HLF::SampleTrack(std::vector<HLF::VectorKey>(), 0.3f, fallback), fallback);
}

}  // namespace
