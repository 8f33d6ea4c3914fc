#include "families/SeekSounds.h"

#include "Staging.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

bool SeekSounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  Waveform found(0.45);
  found.AddBlip(0.0, 0.2, 880.0, 880.0, 0.003, 0.08, 0.7, 0.2, 0.05);
  found.AddBlip(0.09, 0.35, 1320.0, 1320.0, 0.003, 0.12, 0.7, 0.2, 0.05);
  found.Normalise(0.6);
  found.FadeOut(0.01);

  Waveform priority(0.8);
  priority.AddBlip(0.0, 0.3, 784.0, 784.0, 0.003, 0.12, 0.7, 0.25, 0.1);
  priority.AddBlip(0.12, 0.35, 988.0, 988.0, 0.003, 0.14, 0.7, 0.25, 0.1);
  priority.AddBlip(0.24, 0.5, 1175.0, 1175.0, 0.003, 0.22, 0.8, 0.25, 0.1);
  priority.Normalise(0.65);
  priority.FadeOut(0.01);

  return staging.Write("sounds/seek_item_found.wav",
                       WavEncoder::Encode(found.ToPcm16(), found.SampleRate(), 1), report) &&
         staging.Write("sounds/seek_item_priorityfound.wav",
                       WavEncoder::Encode(priority.ToPcm16(), priority.SampleRate(), 1), report);
}

}  // namespace Datagen
