#include "families/MenuSounds.h"

#include <cmath>

#include "Staging.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {

// Equal-tempered pitch of a MIDI note number.
double Hz(int note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

Waveform ErrorSound() {
  Waveform error(0.36);
  error.AddBlip(0.0, 0.16, 330.0, 300.0, 0.004, 0.09, 0.9, 0.55, 0.35);
  error.AddBlip(0.17, 0.19, 247.0, 220.0, 0.004, 0.1, 0.9, 0.55, 0.35);
  error.Normalise(0.6);
  error.FadeOut(0.02);
  return error;
}

Waveform TestSound() {
  Waveform bell(0.7);
  bell.AddBlip(0.0, 0.7, 880.0, 880.0, 0.003, 0.22, 0.8, 0.0, 0.12);
  bell.AddBlip(0.0, 0.5, 2217.0, 2217.0, 0.002, 0.08, 0.18);
  bell.Normalise(0.55);
  bell.FadeOut(0.05);
  return bell;
}

Waveform MenuMusic() {
  const double bar = MenuSounds::kMusicSeconds / 4.0;
  Waveform music(MenuSounds::kMusicSeconds);
  // A minor, F major, C major, G major: roots for the bass, three notes
  // each for the pad. Each chord swells in a little before its bar and
  // releases into the next one; the first one's swell wraps round from
  // the end of the loop.
  struct Chord {
    int root;
    int pad[3];
  };
  const Chord chords[4] = {{45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}}};
  const double overlap = 0.6;
  for (int i = 0; i < 4; ++i) {
    const double start = i * bar - overlap + (i == 0 ? MenuSounds::kMusicSeconds : 0.0);
    for (const int note : chords[i].pad) {
      music.AddLoopNote(start, bar + 2.0 * overlap, Hz(note), 0.9, 1.2, 0.16, 0.22, 0.06);
    }
    music.AddLoopNote(start, bar + 2.0 * overlap, Hz(chords[i].root), 0.5, 1.0, 0.28, 0.35, 0.1);
  }
  // A plucked line over the chords, on the A minor pentatonic; rests are 0.
  const int line[24] = {76, 0, 72, 74, 76, 0, 0,  69, 72, 0,  69, 67,
                        64, 0, 67, 69, 67, 0, 71, 74, 0,  72, 71, 0};
  const double step = MenuSounds::kMusicSeconds / 24.0;
  for (int i = 0; i < 24; ++i) {
    if (line[i] == 0) continue;
    music.AddLoopNote(i * step, step * 1.8, Hz(line[i]), 0.006, step * 1.6, 0.12, 0.3, 0.12);
  }
  music.Normalise(0.5);
  return music;
}

bool Save(Staging& staging, const char* file, const Waveform& wave, Report& report) {
  return staging.Write(file, WavEncoder::Encode(wave.ToPcm16(), wave.SampleRate(), 1), report);
}

}  // namespace

bool MenuSounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return Save(staging, "sounds/profile_error.wav", ErrorSound(), report) &&
         Save(staging, "sounds/options_test.wav", TestSound(), report) &&
         Save(staging, "music/menu.wav", MenuMusic(), report);
}

}  // namespace Datagen
