#pragma once
// Anything the mixer plays: a channel of a sample or a stream. Keeps the
// channel's state and attributes and mixes itself into the output with linear
// interpolation for its rate and a gain that glides to a new volume over one
// mixing period. Every member is used under the engine's lock only.
#include <cstdint>

#include "sound/BassApi.h"

namespace LibBass {

class BassVoice {
 public:
  enum class State { kStopped, kPlaying, kPaused };
  // Source frames the mixer may ask a voice for in one go (stereo floats in
  // the scratch buffer it passes).
  static constexpr int kPeekFrames = 4096;

  BassVoice(BassHandle handle, uint32_t nativeRate, uint32_t rate, uint32_t volume, int32_t pan, bool loop);
  virtual ~BassVoice() = default;
  BassVoice(const BassVoice&) = delete;
  BassVoice& operator=(const BassVoice&) = delete;

  BassHandle Handle() const { return _handle; }
  State GetState() const { return _state; }
  virtual bool IsStream() const = 0;

  // Channel control with the library's error codes (kBassOk on success).
  // Play only continues or restarts what the voice already holds; a stream
  // that needs decoding first is prepared by the engine before this call.
  int32_t Play(bool restart);
  int32_t Pause();
  void Stop();

  // Attributes; the setters take values already checked by the caller.
  uint32_t Rate() const { return _rate; }
  uint32_t NativeRate() const { return _nativeRate; }
  uint32_t Volume() const { return _volume; }
  int32_t Pan() const { return _pan; }
  bool Looped() const { return _loop; }
  void SetRate(uint32_t rate) { _rate = rate; }
  void SetVolume(uint32_t volume) { _volume = volume; }
  void SetPan(int32_t pan) { _pan = pan; }
  void SetLooped(bool loop) { _loop = loop; }

  // Adds `frames` stereo frames to `out` at output rate `outRate`, scaled by
  // `master` (0..1). `scratch` holds kPeekFrames stereo frames. A voice that
  // reaches its end stops and rewinds; one whose data is not decoded yet adds
  // nothing this time and keeps its place.
  void Mix(float* out, int frames, uint32_t outRate, float master, float* scratch);

 protected:
  // Copies up to `frames` source frames from the play position on into `dst`
  // without moving it, following the loop; at the real end one copy of the
  // last frame is added so that it can be interpolated. Fewer than asked at
  // the end or when no more is decoded yet.
  virtual int Peek(float* dst, int frames) = 0;
  // Moves the play position on by `frames` (never more than Peek gave).
  virtual void Consume(int frames) = 0;
  // True when the position is at the end of data and the voice does not loop.
  virtual bool AtEnd() const = 0;
  // Back to the first frame (on stop, restart and at the end).
  virtual void Rewind() = 0;
  // True when nothing has been played since the last rewind.
  virtual bool AtStart() const = 0;

 private:
  BassHandle _handle;
  State _state = State::kStopped;
  uint32_t _nativeRate;
  uint32_t _rate;
  uint32_t _volume;
  int32_t _pan;
  bool _loop;
  double _frac = 0.0;      // position between the current source frame and the next
  float _gainLeft = 0.0f;  // gains reached by the last mix
  float _gainRight = 0.0f;
  bool _snapGains = true;  // a voice that starts takes its gains at once, without a glide
};

}  // namespace LibBass
