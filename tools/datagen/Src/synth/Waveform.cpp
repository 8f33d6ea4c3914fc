#include "synth/Waveform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Random.h"
#include "encode/WavEncoder.h"

namespace Datagen {

Waveform::Waveform(double seconds) : _samples(size_t(std::max(0.0, seconds) * kSampleRate), 0.0) {}

void Waveform::AddBlip(double start, double duration, double startHz, double endHz, double attack,
                       double decay, double gain, double second, double third) {
  const size_t first = size_t(start * kSampleRate);
  const size_t count = size_t(duration * kSampleRate);
  double phase = 0.0;
  for (size_t i = 0; i < count && first + i < _samples.size(); ++i) {
    const double t = double(i) / kSampleRate;
    const double hz = startHz * std::pow(endHz / startHz, std::min(1.0, t / duration));
    phase += 2.0 * std::numbers::pi * hz / kSampleRate;
    const double envelope = (attack > 0.0 && t < attack ? t / attack : 1.0) * std::exp(-t / decay);
    const double tone = std::sin(phase) + second * std::sin(2.0 * phase) + third * std::sin(3.0 * phase);
    _samples[first + i] += gain * envelope * tone;
  }
}

void Waveform::AddTone(double start, double duration, double hz, double gain, double attack, double release) {
  const size_t first = size_t(start * kSampleRate);
  const size_t count = size_t(duration * kSampleRate);
  for (size_t i = 0; i < count && first + i < _samples.size(); ++i) {
    const double t = double(i) / kSampleRate;
    const double left = duration - t;
    double envelope = 1.0;
    if (attack > 0.0 && t < attack) envelope = t / attack;
    if (release > 0.0 && left < release) envelope = std::min(envelope, left / release);
    const double phase = 2.0 * std::numbers::pi * hz * t;
    const double tone = std::sin(phase) + 0.25 * std::sin(2.0 * phase) + 0.08 * std::sin(3.0 * phase);
    _samples[first + i] += gain * envelope * tone;
  }
}

void Waveform::AddLoopNote(double start, double duration, double hz, double attack, double release,
                           double gain, double second, double third) {
  if (_samples.empty()) return;
  const size_t first = size_t(start * kSampleRate);
  const size_t count = std::min(_samples.size(), size_t(duration * kSampleRate));
  for (size_t i = 0; i < count; ++i) {
    const double t = double(i) / kSampleRate;
    const double left = duration - t;
    double envelope = attack > 0.0 && t < attack ? t / attack : 1.0;
    if (release > 0.0 && left < release) {
      envelope *= 0.5 - 0.5 * std::cos(std::numbers::pi * std::max(0.0, left) / release);
    }
    const double phase = 2.0 * std::numbers::pi * hz * t;
    const double tone = std::sin(phase) + second * std::sin(2.0 * phase) + third * std::sin(3.0 * phase);
    _samples[(first + i) % _samples.size()] += gain * envelope * tone;
  }
}

void Waveform::AddNoise(double start, double duration, double smoothing, double gain) {
  const size_t first = size_t(start * kSampleRate);
  const size_t count = size_t(duration * kSampleRate);
  double state = 0.0;
  for (size_t i = 0; i < count && first + i < _samples.size(); ++i) {
    const double white = double(LLF::RandomInt()) / LLF::kRandomMax * 2.0 - 1.0;
    state += (white - state) * (1.0 - smoothing);
    const double fade = 1.0 - double(i) / double(count);
    _samples[first + i] += gain * fade * state;
  }
}

void Waveform::Normalise(double peak) {
  double loudest = 0.0;
  for (const double s : _samples) loudest = std::max(loudest, std::fabs(s));
  if (loudest <= 0.0) return;
  for (double& s : _samples) s *= peak / loudest;
}

void Waveform::FadeOut(double seconds) {
  const size_t count = std::min(_samples.size(), size_t(seconds * kSampleRate));
  for (size_t i = 0; i < count; ++i) {
    _samples[_samples.size() - 1 - i] *= double(i) / double(count);
  }
}

std::vector<int16_t> Waveform::ToPcm16() const {
  std::vector<int16_t> pcm;
  pcm.reserve(_samples.size());
  for (const double s : _samples) pcm.push_back(WavEncoder::ToSample(s));
  return pcm;
}

}  // namespace Datagen
