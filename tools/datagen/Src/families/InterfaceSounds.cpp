#include "families/InterfaceSounds.h"

#include "Staging.h"
#include "core/Random.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {
constexpr unsigned kSeed = 0x51A7;
}

bool InterfaceSounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  LLF::SeedRandom(kSeed);
  Waveform click(0.12);
  click.AddBlip(0.0, 0.12, 1760.0, 1180.0, 0.002, 0.022, 1.0, 0.30, 0.08);
  click.AddBlip(0.0, 0.06, 3520.0, 2900.0, 0.001, 0.008, 0.25);
  click.AddNoise(0.0, 0.004, 0.55, 0.35);
  click.Normalise(0.7);
  click.FadeOut(0.01);
  return staging.Write("sounds/button_click.wav", WavEncoder::Encode(click.ToPcm16(), click.SampleRate(), 1),
                       report);
}

}  // namespace Datagen
