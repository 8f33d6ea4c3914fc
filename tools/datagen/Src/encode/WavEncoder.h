#pragma once
// RIFF WAVE files of 16-bit PCM samples, the form every sound driver of the
// engine reads.
#include <cstdint>
#include <string>
#include <vector>

namespace Datagen {

class WavEncoder {
 public:
  // Interleaved samples for the given number of channels; the file's bytes.
  static std::string Encode(const std::vector<int16_t>& samples, int sampleRate, int channels);
  // A float sample (-1 to 1, clipped) as 16 bits, rounded.
  static int16_t ToSample(double value);
};

}  // namespace Datagen
