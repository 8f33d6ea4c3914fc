#include "families/LevelMusic.h"

#include <cmath>
#include <vector>

#include "Staging.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {

constexpr double kChordSeconds = 2.0;

struct Loop {
  const char* file;
  // Each chord as semitones above A3 (220 Hz).
  std::vector<std::vector<int>> chords;
};

double Hz(int semitones) {
  return 220.0 * std::pow(2.0, semitones / 12.0);
}

}  // namespace

bool LevelMusic::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  const Loop loops[] = {
      {"music/level_a.wav", {{3, 7, 10}, {-2, 5, 8}, {0, 3, 7}, {-4, 3, 8}}},
      {"music/level_b.wav", {{0, 4, 7}, {-3, 0, 4}, {-7, 0, 5}, {-5, 2, 7}}},
      {"music/level_c.wav", {{-2, 2, 5}, {-5, 2, 7}, {-9, 0, 3}, {-7, 0, 5}}},
  };
  bool ok = true;
  for (const Loop& loop : loops) {
    Waveform wave(kChordSeconds * double(loop.chords.size()));
    for (size_t c = 0; c < loop.chords.size(); ++c) {
      const double start = kChordSeconds * double(c);
      // The root an octave down carries each chord.
      wave.AddTone(start, kChordSeconds, Hz(loop.chords[c][0] - 12), 0.5, 0.25, 0.6);
      for (const int note : loop.chords[c]) {
        wave.AddTone(start, kChordSeconds, Hz(note), 0.3, 0.35, 0.7);
      }
    }
    wave.Normalise(0.6);
    ok = staging.Write(loop.file, WavEncoder::Encode(wave.ToPcm16(), wave.SampleRate(), 1), report) && ok;
  }
  return ok;
}

}  // namespace Datagen
