#pragma once
// A mono sound being synthesised: float samples (-1 to 1) at a fixed rate,
// to which voices are added, then written as 16-bit PCM.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Datagen {

class Waveform {
 public:
  static constexpr int kSampleRate = 22050;

  explicit Waveform(double seconds);

  int SampleRate() const { return kSampleRate; }
  size_t Size() const { return _samples.size(); }

  // A sine whose pitch glides from startHz to endHz (exponentially), with
  // a short linear attack and an exponential decay of the given time
  // constant; harmonics adds the second and third partials at these gains.
  void AddBlip(double start, double duration, double startHz, double endHz, double attack, double decay,
               double gain, double second = 0.0, double third = 0.0);
  // A steady sine with gentle second and third partials, rising linearly
  // over attack and falling linearly to silence over release at its end.
  void AddTone(double start, double duration, double hz, double gain, double attack, double release);

  // A held note for a loop: a sine with second and third partials, a
  // linear attack and a raised-cosine release at its end. Samples past the
  // end of the waveform wrap round to its start, so a note may cross the
  // loop point without a break in its phase.
  void AddLoopNote(double start, double duration, double hz, double attack, double release, double gain,
                   double second = 0.0, double third = 0.0);
  // White noise from the framework's random generator (seeded by the
  // caller), smoothed by a one-pole low-pass, with a linear fade out.
  void AddNoise(double start, double duration, double smoothing, double gain);
  // Scales so the loudest sample reaches peak.
  void Normalise(double peak);
  // Fades the last seconds to silence, so the sound ends without a click.
  void FadeOut(double seconds);

  std::vector<int16_t> ToPcm16() const;

 private:
  std::vector<double> _samples;
};

}  // namespace Datagen
