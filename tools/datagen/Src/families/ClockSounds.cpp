#include "families/ClockSounds.h"

#include "Staging.h"
#include "core/Random.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0xC10C;

bool Save(Staging& staging, const char* file, Waveform& wave, Report& report) {
  wave.FadeOut(0.01);
  return staging.Write(file, WavEncoder::Encode(wave.ToPcm16(), wave.SampleRate(), 1), report);
}

}  // namespace

bool ClockSounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  LLF::SeedRandom(kSeed);
  Waveform tick(0.08);
  tick.AddBlip(0.0, 0.08, 2400.0, 2000.0, 0.001, 0.012, 0.8, 0.2);
  tick.AddNoise(0.0, 0.01, 0.4, 0.3);
  tick.Normalise(0.6);

  Waveform over(0.9);
  over.AddBlip(0.0, 0.3, 784.0, 784.0, 0.004, 0.12, 0.8, 0.3, 0.1);
  over.AddBlip(0.25, 0.3, 622.0, 622.0, 0.004, 0.12, 0.8, 0.3, 0.1);
  over.AddBlip(0.5, 0.4, 523.0, 494.0, 0.004, 0.2, 0.9, 0.3, 0.1);
  over.Normalise(0.7);

  Waveform decreased(0.3);
  decreased.AddBlip(0.0, 0.3, 900.0, 300.0, 0.003, 0.12, 0.8, 0.25);
  decreased.Normalise(0.6);

  Waveform hint(0.6);
  hint.AddBlip(0.0, 0.4, 988.0, 988.0, 0.004, 0.15, 0.6, 0.0, 0.1);
  hint.AddBlip(0.12, 0.48, 1319.0, 1319.0, 0.004, 0.18, 0.6, 0.0, 0.1);
  hint.Normalise(0.6);

  Waveform wrong(0.25);
  wrong.AddBlip(0.0, 0.25, 180.0, 150.0, 0.004, 0.1, 0.9, 0.6, 0.4);
  wrong.Normalise(0.6);

  return Save(staging, "sounds/time_out.wav", tick, report) &&
         Save(staging, "sounds/time_over.wav", over, report) &&
         Save(staging, "sounds/time_decreased.wav", decreased, report) &&
         Save(staging, "sounds/game_hint_button.wav", hint, report) &&
         Save(staging, "sounds/wrong_move.wav", wrong, report);
}

}  // namespace Datagen
