#include "families/PuzzleSounds.h"

#include "Staging.h"
#include "core/Random.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

bool PuzzleSounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  LLF::SeedRandom(0x2077A);
  // Three quick ticks climbing in pitch over a soft swish, about as long as
  // the turn itself.
  Waveform rotate(0.26);
  rotate.AddNoise(0.0, 0.22, 0.8, 0.25);
  const double ticks[3] = {900.0, 1150.0, 1450.0};
  for (int i = 0; i < 3; ++i) {
    rotate.AddBlip(0.06 * i, 0.08, ticks[i], ticks[i] * 0.8, 0.001, 0.02, 0.7, 0.3, 0.2);
  }
  rotate.Normalise(0.5);
  rotate.FadeOut(0.01);
  return staging.Write("sounds/rotation_rotate.wav",
                       WavEncoder::Encode(rotate.ToPcm16(), rotate.SampleRate(), 1), report);
}

}  // namespace Datagen
