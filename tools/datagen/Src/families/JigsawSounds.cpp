#include "families/JigsawSounds.h"

#include "Staging.h"
#include "core/Random.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x1165A;

bool Save(Staging& staging, const char* file, Waveform& wave, Report& report) {
  wave.FadeOut(0.01);
  return staging.Write(file, WavEncoder::Encode(wave.ToPcm16(), wave.SampleRate(), 1), report);
}

}  // namespace

bool JigsawSounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  LLF::SeedRandom(kSeed);
  Waveform click(0.09);
  click.AddBlip(0.0, 0.09, 1400.0, 1100.0, 0.001, 0.015, 0.7, 0.4, 0.2);
  click.AddNoise(0.0, 0.012, 0.5, 0.4);
  click.Normalise(0.6);

  Waveform change(0.3);
  change.AddNoise(0.0, 0.26, 0.85, 0.5);
  change.AddBlip(0.0, 0.26, 300.0, 520.0, 0.03, 0.12, 0.5, 0.2);
  change.Normalise(0.5);

  Waveform over(0.14);
  over.AddBlip(0.0, 0.14, 1760.0, 1900.0, 0.004, 0.04, 0.5, 0.0, 0.1);
  over.Normalise(0.35);

  Waveform won(1.8);
  const double notes[4] = {523.25, 659.25, 783.99, 1046.5};
  for (int i = 0; i < 4; ++i) {
    won.AddBlip(0.12 * i, 1.8 - 0.12 * i, notes[i], notes[i], 0.005, 0.5, 0.6, 0.3, 0.1);
  }
  won.AddTone(0.5, 1.2, 261.63, 0.3, 0.05, 0.6);
  won.Normalise(0.7);

  return Save(staging, "sounds/jigsaw_click.wav", click, report) &&
         Save(staging, "sounds/jigsaw_change.wav", change, report) &&
         Save(staging, "sounds/rotation_over.wav", over, report) &&
         Save(staging, "sounds/game_level_won.wav", won, report);
}

}  // namespace Datagen
