#pragma once
// Shared by the libbass tests: the library bound by name as the sound driver
// binds it, and a recording of its output through SDL's disk driver. Sound
// files and level measurements come from SoundTestSupport.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SoundTestSupport.h"
#include "sound/BassApi.h"

namespace BassTest {

using namespace SoundTest;

// The 25 functions, looked up with dlsym in libbass.so beside the test program.
using Library = BassFunctions;

// The path of libbass.so: the test program's own folder.
std::string LibraryPath();
// Loads the library once per process; null (with the reason in `error`) when
// it or any of its 25 names is missing.
const Library* Load(std::string& error);

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
  const std::vector<float>& Left() const { return _output.Left(); }
  const std::vector<float>& Right() const { return _output.Right(); }

 private:
  const Library& _bass;
  uint32_t _rate;
  bool _eightBits;
  DiskOutput _output;
  bool _started = false;
};

// Base of the test fixtures: the bound library in _bass, and BASS_Free after
// each test so that a failed check leaves no output running.
class Fixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  const Library* _bass = nullptr;
};

}  // namespace BassTest
