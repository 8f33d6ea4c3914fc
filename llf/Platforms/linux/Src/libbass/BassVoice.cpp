#include "BassVoice.h"

#include <algorithm>

namespace LibBass {

BassVoice::BassVoice(BassHandle handle, uint32_t nativeRate, uint32_t rate, uint32_t volume, int32_t pan,
                     bool loop)
    : _handle(handle), _nativeRate(nativeRate), _rate(rate), _volume(volume), _pan(pan), _loop(loop) {}

int32_t BassVoice::Play(bool restart) {
  if (restart && !AtStart()) {
    Rewind();
    _frac = 0.0;
  }
  if (_state != State::kPlaying) {
    // A paused voice glides on from where it was; one that starts takes its gains at once.
    _snapGains = _state == State::kStopped || restart;
    _state = State::kPlaying;
  }
  return kBassOk;
}

int32_t BassVoice::Pause() {
  if (_state == State::kPaused) {
    return kBassErrorAlready;
  }
  if (_state == State::kStopped) {
    return kBassErrorNotPlaying;
  }
  _state = State::kPaused;
  return kBassOk;
}

void BassVoice::Stop() {
  _state = State::kStopped;
  Rewind();
  _frac = 0.0;
}

void BassVoice::Mix(float* out, int frames, uint32_t outRate, float master, float* scratch) {
  if (_state != State::kPlaying || frames <= 0) {
    return;
  }
  const float gain = master * static_cast<float>(_volume) / 100.0f;
  const float targetLeft = gain * (_pan > 0 ? 1.0f - static_cast<float>(_pan) / 100.0f : 1.0f);
  const float targetRight = gain * (_pan < 0 ? 1.0f + static_cast<float>(_pan) / 100.0f : 1.0f);
  if (_snapGains) {
    _gainLeft = targetLeft;
    _gainRight = targetRight;
    _snapGains = false;
  }
  const float stepLeft = (targetLeft - _gainLeft) / static_cast<float>(frames);
  const float stepRight = (targetRight - _gainRight) / static_cast<float>(frames);
  const double step = static_cast<double>(_rate) / static_cast<double>(outRate);

  int done = 0;
  while (done < frames) {
    // As many output frames as the scratch buffer's source frames allow (at
    // least one: rates are bounded so that step + 2 < kPeekFrames).
    const int fit = static_cast<int>((kPeekFrames - 2 - _frac) / step) + 1;
    const int chunk = std::min(frames - done, fit);
    const int need = static_cast<int>(_frac + (chunk - 1) * step) + 2;
    const int got = Peek(scratch, need);
    int made = 0;
    for (; made < chunk; ++made) {
      const double pos = _frac + made * step;
      const int i = static_cast<int>(pos);
      if (i + 1 >= got) {
        break;
      }
      const float t = static_cast<float>(pos - i);
      const float* a = scratch + 2 * i;
      const float left = a[0] + (a[2] - a[0]) * t;
      const float right = a[1] + (a[3] - a[1]) * t;
      _gainLeft += stepLeft;
      _gainRight += stepRight;
      float* o = out + 2 * (done + made);
      o[0] += left * _gainLeft;
      o[1] += right * _gainRight;
    }
    const double end = _frac + made * step;
    const int whole = static_cast<int>(end);
    Consume(whole);
    _frac = end - whole;
    done += made;
    if (made < chunk) {
      if (AtEnd()) {
        Stop();
      }
      break;  // at the end, or waiting for the decoder
    }
  }
  if (done == frames) {
    _gainLeft = targetLeft;
    _gainRight = targetRight;
  }
}

}  // namespace LibBass
