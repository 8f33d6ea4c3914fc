// What libbass.so really plays, recorded through SDL's disk audio driver in
// real time and measured by level per frequency, not by exact samples, so that
// scheduling jitter on a loaded machine does not matter.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "BassTestSupport.h"

namespace {

using namespace BassTest;

class BassOutputTest : public Fixture {
 protected:
  // A sample channel set up the way the BASS driver does it: defaults through
  // the sample's information record, then one channel for the sound.
  BassHandle DriverStyleChannel(BassHandle sample, uint32_t volume, bool loop) {
    BassSampleInfo info{};
    EXPECT_EQ(_bass->SampleGetInfo(sample, &info), 1);
    info.flags = loop ? kBassSampleLoop : 0;
    info.volume = volume;
    EXPECT_EQ(_bass->SampleSetInfo(sample, &info), 1);
    return _bass->SampleGetChannel(sample, 0);
  }
};

struct OutputMode {
  uint32_t rate;
  uint32_t flags;
};

std::ostream& operator<<(std::ostream& out, const OutputMode& mode) {
  return out << mode.rate << " Hz, " << (mode.flags & kBassDevice8Bits ? 8 : 16) << " bit";
}

class BassMixTest : public BassOutputTest, public ::testing::WithParamInterface<OutputMode> {};

// A looping WAV sample and a looping Ogg Vorbis stream play together; each
// tone is heard at its own volume, and a volume change of the stream while it
// plays shows in the second half. The stream is mono at 22050 Hz, so rate and
// channel conversion are in the path too.
TEST_P(BassMixTest, SampleAndStreamPlayTogetherAtTheirVolumes) {
  const OutputMode mode = GetParam();
  const auto wav = MakeSound(kWav16, 44100, 2, {{500, 1.0, 0.5}});
  const auto ogg = MakeSound(kOgg, 22050, 1, {{1200, 1.0, 0.5}});
  ASSERT_FALSE(wav.empty());
  ASSERT_FALSE(ogg.empty());

  Recording recording(*_bass, mode.rate, mode.flags);
  ASSERT_TRUE(recording.Started()) << _bass->ErrorGetCode();
  const BassHandle sample = _bass->SampleLoad(1, wav.data(), 0, static_cast<uint32_t>(wav.size()), 65535, 0);
  ASSERT_NE(sample, 0u) << _bass->ErrorGetCode();
  const BassHandle channel = DriverStyleChannel(sample, 50, true);
  ASSERT_NE(channel, 0u);
  const BassHandle stream = _bass->StreamCreateFile(1, ogg.data(), 0, ogg.size(), 0);
  ASSERT_NE(stream, 0u) << _bass->ErrorGetCode();
  ASSERT_EQ(_bass->ChannelSetAttributes(stream, kBassKeep, 80, kBassKeep), 1);
  ASSERT_EQ(_bass->ChannelSetFlags(stream, kBassSampleLoop), 1);

  ASSERT_EQ(_bass->ChannelPlay(channel, 1), 1);
  ASSERT_EQ(_bass->ChannelPlay(stream, 1), 1);
  Wait(800);
  ASSERT_EQ(_bass->ChannelSetAttributes(stream, kBassKeep, 40, kBassKeep), 1);
  Wait(800);
  recording.Finish();

  const size_t block = mode.rate / 100;  // 10 ms: both tones fit whole periods
  for (const auto* side : {&recording.Left(), &recording.Right()}) {
    EXPECT_TRUE(HeardMix(*side, block, mode.rate, 0.1));
  }
}

INSTANTIATE_TEST_SUITE_P(OutputModes, BassMixTest,
                         ::testing::Values(OutputMode{44100, 0}, OutputMode{22100, kBassDevice8Bits}),
                         [](const auto& info) {
                           return std::to_string(info.param.rate) + (info.param.flags ? "Hz8Bit" : "Hz16Bit");
                         });

// Pausing a stream and pausing the whole output both keep the stream's place:
// the recording holds the file's 1.6 s of tone exactly once, split by two
// silences. A resume that restarted would add sound, one that skipped would
// lose some.
TEST_F(BassOutputTest, PausedStreamResumesWhereItWas) {
  const auto wav = MakeSound(kWav16, 44100, 1, {{1000, 1.6, 0.5}});
  Recording recording(*_bass);
  ASSERT_TRUE(recording.Started()) << _bass->ErrorGetCode();
  const BassHandle stream = _bass->StreamCreateFile(1, wav.data(), 0, wav.size(), 0);
  ASSERT_NE(stream, 0u) << _bass->ErrorGetCode();

  ASSERT_EQ(_bass->ChannelPlay(stream, 1), 1);
  Wait(400);
  ASSERT_EQ(_bass->ChannelPause(stream), 1);
  EXPECT_EQ(_bass->ChannelPause(stream), 0);
  EXPECT_EQ(_bass->ErrorGetCode(), kBassErrorAlready);
  Wait(400);
  ASSERT_EQ(_bass->ChannelPlay(stream, 0), 1);
  Wait(400);
  ASSERT_EQ(_bass->Pause(), 1);
  Wait(400);
  ASSERT_EQ(_bass->Start(), 1);
  Wait(1300);
  recording.Finish();

  EXPECT_TRUE(HeardOnceWithPauses(recording.Left(), 2, 20));
}

// Playing a sound's one channel again restarts it instead of adding a second
// copy: the sample is 0.5 s of 500 Hz then 1.5 s of 1500 Hz, replayed during
// the second part. The recording must show the 1500 Hz part cut short, the
// whole sound once more, and the two tones never together.
TEST_F(BassOutputTest, SamplePlayedAgainRestarts) {
  const auto wav = MakeSound(kWav16, 44100, 1, {{500, 0.5, 0.5}, {1500, 1.5, 0.5}});
  Recording recording(*_bass);
  ASSERT_TRUE(recording.Started()) << _bass->ErrorGetCode();
  const BassHandle sample = _bass->SampleLoad(1, wav.data(), 0, static_cast<uint32_t>(wav.size()), 65535, 0);
  ASSERT_NE(sample, 0u) << _bass->ErrorGetCode();
  const BassHandle channel = DriverStyleChannel(sample, 100, false);
  ASSERT_NE(channel, 0u);

  ASSERT_EQ(_bass->ChannelPlay(channel, 1), 1);
  Wait(800);
  ASSERT_EQ(_bass->ChannelPlay(channel, 1), 1);
  Wait(2300);
  recording.Finish();

  EXPECT_TRUE(HeardRestarted(recording.Left()));
}

// A looping stream whose loop is switched off while it plays ends at the end
// of the pass in progress, even though its read-ahead (5 s here) already holds
// later passes.
TEST_F(BassOutputTest, LoopSwitchedOffEndsTheStreamAtTheEndOfThePass) {
  const auto wav = MakeSound(kWav16, 44100, 1, {{1000, 0.2, 0.5}});
  ASSERT_EQ(_bass->SetConfig(kBassConfigStreamBuffer, 5000), 1);
  Recording recording(*_bass);
  ASSERT_TRUE(recording.Started()) << _bass->ErrorGetCode();
  const BassHandle stream = _bass->StreamCreateFile(1, wav.data(), 0, wav.size(), kBassSampleLoop);
  ASSERT_EQ(_bass->SetConfig(kBassConfigStreamBuffer, 500), 1);
  ASSERT_NE(stream, 0u) << _bass->ErrorGetCode();

  ASSERT_EQ(_bass->ChannelPlay(stream, 1), 1);
  Wait(500);
  ASSERT_EQ(_bass->ChannelSetFlags(stream, 0), 1);
  Wait(1000);
  EXPECT_EQ(_bass->ChannelPause(stream), 0) << "the stream has ended";
  EXPECT_EQ(_bass->ErrorGetCode(), kBassErrorNotPlaying);
  recording.Finish();

  size_t sounding = 0;
  for (double r : BlockRms(recording.Left(), 441)) sounding += r > 0.17 ? 1 : 0;
  // Whole passes of 20 blocks, at least the three begun before the switch.
  EXPECT_GE(sounding, 55u);
  EXPECT_LE(sounding, 85u);
  const size_t rest = sounding % 20;
  EXPECT_TRUE(rest <= 2 || rest >= 18) << sounding << " blocks is not a whole number of passes";
}

}  // namespace
