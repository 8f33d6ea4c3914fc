// The decoder on float files holding values no speaker can play: NaN and
// infinities (one would spread through the mix) come out as silence, for
// every channel layout the decoder folds, whole or read as a stream reads.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "BassDecoder.h"
#include "SoundTestSupport.h"

namespace {

// A float WAV of the frames (channels samples each) written by libsndfile.
std::vector<unsigned char> FloatWav(int channels, const std::vector<float>& samples) {
  const std::string path = SoundTest::WriteTemp({}, "float.wav");
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = 22050;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  EXPECT_NE(file, nullptr);
  if (!file) {
    return {};
  }
  sf_writef_float(file, samples.data(), sf_count_t(samples.size()) / channels);
  sf_close(file);
  FILE* in = std::fopen(path.c_str(), "rb");
  std::vector<unsigned char> bytes;
  for (int c; in && (c = std::fgetc(in)) != EOF;) {
    bytes.push_back(static_cast<unsigned char>(c));
  }
  if (in) {
    std::fclose(in);
  }
  return bytes;
}

TEST(BassDecoderTest, NonFiniteSamplesPlayAsSilence) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float big = std::numeric_limits<float>::max();
  struct Case {
    int channels;
    std::vector<float> samples;
    std::vector<float> stereo;  // expected
  };
  const Case cases[] = {
      {1, {nan, 0.5f, inf, -inf}, {0, 0, 0.5f, 0.5f, 0, 0, 0, 0}},
      {2, {nan, 0.25f, -inf, inf, 0.5f, -0.5f}, {0, 0.25f, 0, 0, 0.5f, -0.5f}},
      // Three channels fold 0 and 2 left, 1 right; a sum that overflows is silence too.
      {3, {big, 0.5f, big, 0.2f, nan, 0.4f}, {0, 0.5f, 0.3f, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channels);
    const std::vector<unsigned char> wav = FloatWav(c.channels, c.samples);
    ASSERT_FALSE(wav.empty());
    int32_t error = 0;
    auto whole = LibBass::BassDecoder::Open(1, wav.data(), 0, wav.size(), error);
    ASSERT_NE(whole, nullptr) << error;
    std::vector<float> stereo;
    ASSERT_TRUE(whole->DecodeAll(stereo, error)) << error;
    ASSERT_EQ(stereo.size(), c.stereo.size());
    for (size_t i = 0; i < stereo.size(); ++i) {
      EXPECT_FLOAT_EQ(stereo[i], c.stereo[i]) << i;
    }
    auto stream = LibBass::BassDecoder::Open(1, wav.data(), 0, wav.size(), error);
    ASSERT_NE(stream, nullptr);
    std::vector<float> chunk(c.stereo.size() + 2, 1.0f);
    ASSERT_EQ(stream->Read(chunk.data(), int64_t(chunk.size() / 2)), int64_t(c.stereo.size() / 2));
    chunk.resize(c.stereo.size());
    EXPECT_EQ(chunk, stereo);
  }
}

}  // namespace
