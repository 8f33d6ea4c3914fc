#include "families/MainMenuSounds.h"

#include <cmath>

#include "Staging.h"
#include "core/Random.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x57C0;

double Hz(int note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

Waveform StoneColumns() {
  LLF::SeedRandom(kSeed);
  Waveform stone(MainMenuSounds::kColumnsSeconds);
  // Heavy smoothing leaves only the low grinding part of the noise.
  stone.AddNoise(0.0, 0.9, 0.96, 1.0);
  stone.AddNoise(0.05, 0.7, 0.85, 0.25);
  for (const double at : {0.0, 0.22, 0.5}) {
    stone.AddBlip(at, 0.25, 90.0, 60.0, 0.004, 0.06, 0.5, 0.4, 0.2);
  }
  stone.Normalise(0.55);
  stone.FadeOut(0.15);
  return stone;
}

Waveform MapMusic() {
  const double seconds = MainMenuSounds::kMapMusicSeconds;
  const double bar = seconds / 4.0;
  Waveform music(seconds);
  // D major, B minor, G major, A major; the first swell wraps round from
  // the end of the loop.
  struct Chord {
    int root;
    int pad[3];
  };
  const Chord chords[4] = {{38, {62, 66, 69}}, {47, {62, 66, 71}}, {43, {62, 67, 71}}, {45, {61, 64, 69}}};
  const double overlap = 0.7;
  for (int i = 0; i < 4; ++i) {
    const double start = i * bar - overlap + (i == 0 ? seconds : 0.0);
    for (const int note : chords[i].pad) {
      music.AddLoopNote(start, bar + 2.0 * overlap, Hz(note), 1.1, 1.4, 0.14, 0.18, 0.05);
    }
    music.AddLoopNote(start, bar + 2.0 * overlap, Hz(chords[i].root), 0.6, 1.2, 0.26, 0.3, 0.08);
  }
  // A slow plucked line on the D major pentatonic; rests are 0.
  const int line[16] = {74, 0, 78, 76, 0, 74, 71, 0, 71, 74, 0, 79, 76, 0, 73, 0};
  const double step = seconds / 16.0;
  for (int i = 0; i < 16; ++i) {
    if (line[i] == 0) continue;
    music.AddLoopNote(i * step, step * 1.9, Hz(line[i]), 0.006, step * 1.7, 0.11, 0.25, 0.1);
  }
  music.Normalise(0.5);
  return music;
}

bool Save(Staging& staging, const char* file, const Waveform& wave, Report& report) {
  return staging.Write(file, WavEncoder::Encode(wave.ToPcm16(), wave.SampleRate(), 1), report);
}

}  // namespace

bool MainMenuSounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return Save(staging, "sounds/stone_columns.wav", StoneColumns(), report) &&
         Save(staging, "music/map.wav", MapMusic(), report);
}

}  // namespace Datagen
