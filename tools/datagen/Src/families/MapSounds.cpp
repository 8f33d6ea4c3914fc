#include "families/MapSounds.h"

#include <cmath>

#include "Staging.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {

double Hz(int note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

struct Chord {
  int root;
  int pad[3];
};

Waveform Loop(double seconds, const Chord* chords, int count, const int* line, int steps, double padGain,
              double lineGain) {
  Waveform music(seconds);
  const double bar = seconds / count;
  const double overlap = 0.6;
  for (int i = 0; i < count; ++i) {
    const double start = i * bar - overlap + (i == 0 ? seconds : 0.0);
    for (const int note : chords[i].pad) {
      music.AddLoopNote(start, bar + 2.0 * overlap, Hz(note), 1.0, 1.2, padGain, 0.2, 0.05);
    }
    music.AddLoopNote(start, bar + 2.0 * overlap, Hz(chords[i].root), 0.6, 1.0, padGain * 1.6, 0.3, 0.1);
  }
  const double step = seconds / steps;
  for (int i = 0; line && i < steps; ++i) {
    if (line[i] == 0) continue;
    music.AddLoopNote(i * step, step * 1.8, Hz(line[i]), 0.008, step * 1.6, lineGain, 0.3, 0.1);
  }
  music.Normalise(0.5);
  return music;
}

Waveform MapMusic() {
  // C major, A minor, F major, G major.
  const Chord chords[4] = {{48, {60, 64, 67}}, {45, {57, 60, 64}}, {41, {57, 60, 65}}, {43, {55, 59, 62}}};
  const int line[32] = {72, 0, 76, 79, 0, 76, 74, 0, 72, 0, 69, 72, 0, 76, 0,  0,
                        77, 0, 76, 74, 0, 72, 69, 0, 71, 0, 74, 79, 0, 77, 74, 0};
  return Loop(16.0, chords, 4, line, 32, 0.14, 0.1);
}

Waveform StoryLoop() {
  // D minor, B flat major: a hush under the page's text.
  const Chord chords[2] = {{38, {50, 53, 57}}, {34, {50, 53, 58}}};
  return Loop(8.0, chords, 2, nullptr, 0, 0.16, 0.0);
}

bool Save(Staging& staging, const char* file, const Waveform& wave, Report& report) {
  return staging.Write(file, WavEncoder::Encode(wave.ToPcm16(), wave.SampleRate(), 1), report);
}

}  // namespace

bool MapSounds::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return Save(staging, "music/levelsmap.wav", MapMusic(), report) &&
         Save(staging, "sounds/story_loop.wav", StoryLoop(), report);
}

}  // namespace Datagen
