#include "families/GallerySounds.h"

#include <cmath>

#include "Staging.h"
#include "core/Random.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x6A50;

double Hz(int note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

Waveform Show() {
  Waveform wave(0.6);
  const int notes[3] = {76, 81, 88};
  for (int i = 0; i < 3; ++i) {
    wave.AddBlip(0.06 * i, 0.5 - 0.06 * i, Hz(notes[i]), Hz(notes[i]), 0.005, 0.18, 0.5, 0.2, 0.05);
  }
  wave.Normalise(0.45);
  wave.FadeOut(0.08);
  return wave;
}

Waveform Hide() {
  LLF::SeedRandom(kSeed);
  Waveform wave(0.35);
  wave.AddNoise(0.0, 0.35, 0.8, 0.6);
  wave.AddBlip(0.0, 0.3, 900.0, 300.0, 0.01, 0.12, 0.3);
  wave.Normalise(0.35);
  wave.FadeOut(0.1);
  return wave;
}

Waveform OpenBig() {
  LLF::SeedRandom(kSeed + 1);
  Waveform wave(1.1);
  wave.AddNoise(0.0, 0.9, 0.9, 0.3);
  for (const int note : {64, 68, 71}) {
    wave.AddTone(0.05, 1.0, Hz(note), 0.3, 0.5, 0.45);
  }
  wave.AddBlip(0.0, 0.9, 300.0, 1200.0, 0.3, 0.3, 0.25);
  wave.Normalise(0.45);
  wave.FadeOut(0.2);
  return wave;
}

Waveform Award() {
  Waveform wave(2.0);
  const int arpeggio[4] = {72, 76, 79, 84};
  for (int i = 0; i < 4; ++i) {
    wave.AddBlip(0.12 * i, 0.8, Hz(arpeggio[i]), Hz(arpeggio[i]), 0.004, 0.3, 0.5, 0.25, 0.1);
  }
  for (const int note : {60, 64, 67, 72}) {
    wave.AddTone(0.5, 1.5, Hz(note), 0.22, 0.05, 1.0);
  }
  wave.Normalise(0.5);
  wave.FadeOut(0.3);
  return wave;
}

bool Save(Staging& staging, const char* file, const Waveform& wave, Report& report) {
  return staging.Write(file, WavEncoder::Encode(wave.ToPcm16(), wave.SampleRate(), 1), report);
}

}  // namespace

bool GallerySounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return Save(staging, "sounds/gallery_img_show.wav", Show(), report) &&
         Save(staging, "sounds/gallery_img_hide.wav", Hide(), report) &&
         Save(staging, "sounds/gallery_img_open_big.wav", OpenBig(), report) &&
         Save(staging, "sounds/award_earned.wav", Award(), report);
}

}  // namespace Datagen
