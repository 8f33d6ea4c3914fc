#include "encode/WavEncoder.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

namespace {

void Put16(std::string& out, uint32_t value) {
  out.push_back(char(value & 0xFF));
  out.push_back(char((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::string WavEncoder::Encode(const std::vector<int16_t>& samples, int sampleRate, int channels) {
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  const uint32_t blockAlign = uint32_t(channels) * 2;
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  Put32(out, 36 + dataBytes);
  out += "WAVE";
  out += "fmt ";
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, uint32_t(channels));
  Put32(out, uint32_t(sampleRate));
  Put32(out, uint32_t(sampleRate) * blockAlign);
  Put16(out, blockAlign);
  Put16(out, 16);
  out += "data";
  Put32(out, dataBytes);
  for (const int16_t s : samples) Put16(out, uint16_t(s));
  return out;
}

int16_t WavEncoder::ToSample(double value) {
  return int16_t(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

}  // namespace Datagen
