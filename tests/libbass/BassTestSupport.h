#pragma once
// Shared by the libbass tests: the library bound by name as the sound driver
// binds it, sound files made with libsndfile, a recording of the output
// through SDL's disk driver, and level measurements on it.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

#include "BassApi.h"

namespace BassTest {

// The 25 functions, looked up with dlsym in libbass.so beside the test program.
struct Library {
  BassInitFunc Init;
  BassFreeFunc Free;
  BassSampleLoadFunc SampleLoad;
  BassChannelPlayFunc ChannelPlay;
  BassChannelStopFunc ChannelStop;
  BassChannelPauseFunc ChannelPause;
  BassErrorGetCodeFunc ErrorGetCode;
  BassSampleGetChannelFunc SampleGetChannel;
  BassSampleGetInfoFunc SampleGetInfo;
  BassSampleSetInfoFunc SampleSetInfo;
  BassSampleFreeFunc SampleFree;
  BassMusicLoadFunc MusicLoad;
  BassMusicFreeFunc MusicFree;
  BassMusicSetAttributeFunc MusicSetAttribute;
  BassMusicGetAttributeFunc MusicGetAttribute;
  BassStreamCreateFileFunc StreamCreateFile;
  BassStreamFreeFunc StreamFree;
  BassChannelSetAttributesFunc ChannelSetAttributes;
  BassChannelGetAttributesFunc ChannelGetAttributes;
  BassChannelSetFlagsFunc ChannelSetFlags;
  BassSetConfigFunc SetConfig;
  BassUpdateFunc Update;
  BassStartFunc Start;
  BassStopFunc Stop;
  BassPauseFunc Pause;
};

// File formats the tests make.
constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr int kOgg = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
constexpr int kFlac = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
constexpr int kMp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;

// The path of libbass.so: the test program's own folder.
std::string LibraryPath();
// Loads the library once per process; null (with the reason in `error`) when
// it or any of its 25 names is missing.
const Library* Load(std::string& error);

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

// The library's output recorded through SDL's disk audio driver: the
// constructor points SDL at a fresh file and calls BASS_Init; Finish calls
// BASS_Free and reads the file (16-bit or 8-bit stereo, as initialised).
class Recording {
 public:
  Recording(const Library& bass, uint32_t rate = 44100, uint32_t flags = 0);
  ~Recording();
  bool Started() const { return _started; }
  void Finish();
  uint32_t Rate() const { return _rate; }
  const std::vector<float>& Left() const { return _left; }
  const std::vector<float>& Right() const { return _right; }

 private:
  const Library& _bass;
  uint32_t _rate;
  bool _eightBits;
  std::string _path;
  bool _started = false;
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

// Base of the test fixtures: the bound library in _bass, and BASS_Free after
// each test so that a failed check leaves no output running.
class Fixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  const Library* _bass = nullptr;
};

// Sleeps on the calling thread.
void Wait(int milliseconds);

}  // namespace BassTest
