#pragma once
// Shared by the sound tests: sound files made with libsndfile, the output
// of SDL's disk audio driver read back, and level measurements on it, so
// that tests check what was heard by level per frequency rather than by
// exact samples.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstddef>
#include <string>
#include <vector>

#include "TestEnv.h"

namespace SoundTest {

// File formats the tests make.
constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr int kOgg = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
constexpr int kFlac = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
constexpr int kMp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;

// One stretch of a generated sound: a sine of `freq` Hz (0 for silence).
struct Tone {
  double freq;
  double seconds;
  double amplitude;
};

// A sound file of the libsndfile `format` (for example SF_FORMAT_WAV |
// SF_FORMAT_PCM_16) with the tones one after the other, phase-continuous.
std::vector<unsigned char> MakeSound(int format, int rate, int channels, const std::vector<Tone>& tones);
// Writes bytes to a new file in a fresh temporary folder; gives its path.
std::string WriteTemp(const std::vector<unsigned char>& bytes, const std::string& name);

// SDL's disk audio driver pointed at a fresh file for the life of the
// object: outputs opened meanwhile write there. Read takes what was written
// once the output is closed (stereo, 16-bit signed or 8-bit unsigned).
class DiskOutput {
 public:
  DiskOutput();
  DiskOutput(const DiskOutput&) = delete;
  DiskOutput& operator=(const DiskOutput&) = delete;
  void Read(bool eightBits);
  const std::vector<float>& Left() const { return _left; }
  const std::vector<float>& Right() const { return _right; }

 private:
  std::string _path;
  QmTest::ScopedEnv _driver;
  QmTest::ScopedEnv _file;
  std::vector<float> _left;
  std::vector<float> _right;
};

// Amplitude of the `freq` component of x[0..n) (Goertzel); exact for a sine
// with a whole number of periods in the block.
double ToneAmplitude(const float* x, size_t n, double freq, double rate);
// ToneAmplitude per block of `block` samples.
std::vector<double> BlockAmplitudes(const std::vector<float>& x, size_t block, double freq, double rate);
// Root mean square per block.
std::vector<double> BlockRms(const std::vector<float>& x, size_t block);
double Median(std::vector<double> values);

// Runs of one symbol, in order.
struct Run {
  char symbol;
  size_t length;
};
// The runs of `symbols` after dropping runs of at most `ignore` symbols (the
// neighbours of a dropped run merge) and leading and trailing `blank` runs.
std::vector<Run> Runs(const std::string& symbols, size_t ignore, char blank);

// What a recording (at `rate`, in blocks of `block` samples) holds of a
// 500 Hz tone and a 1200 Hz tone of amplitude 0.5 played together, the first
// at volume 50 throughout, the second at 80 and then at 40: both sound
// together for more than 120 blocks, at those levels (the second's first and
// last thirds). minHigh is the level the second must pass to count.
::testing::AssertionResult HeardMix(const std::vector<float>& x, size_t block, double rate, double minHigh);

// What a recording of 10 ms blocks at 44100 Hz holds of a sound of 0.5 s of
// 500 Hz then 1.5 s of 1500 Hz, played at once and again 0.8 s later on the
// same channel: the first 1500 Hz part cut short, the whole sound once more,
// and the two tones never together.
::testing::AssertionResult HeardRestarted(const std::vector<float>& x);
// What a recording of 10 ms blocks at 44100 Hz holds of 1.6 s of a tone of
// amplitude 0.5 paused `pauses` times for more than `minPause` blocks: the
// 160 blocks of tone exactly once (give or take 5), split by the pauses.
::testing::AssertionResult HeardOnceWithPauses(const std::vector<float>& x, size_t pauses, size_t minPause);

// Sleeps on the calling thread.
void Wait(int milliseconds);

}  // namespace SoundTest
