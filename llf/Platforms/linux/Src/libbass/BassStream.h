#pragma once
// A stream: decodes its file bit by bit into a read-ahead ring that the mixer
// plays from, so the audio callback never waits for a decoder or a disk.
//
// Two locks guard it. The engine's lock (held briefly, also by the audio
// callback) covers the ring, the flags and every BassVoice member. The
// stream's own decoding lock covers the decoder; Fill takes it first and the
// engine's lock only around ring updates, so decoding never holds the engine
// lock. End-of-file marks in the ring let a loop flag changed after the
// decoder passed the end still take effect exactly at the end.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "BassDecoder.h"
#include "BassVoice.h"

namespace LibBass {

class BassStream final : public BassVoice {
 public:
  // readAheadFrames is the ring's size in frames.
  BassStream(BassHandle handle, std::unique_ptr<BassDecoder> decoder, int64_t readAheadFrames, bool loop);

  bool IsStream() const override { return true; }

  // Decodes until the ring is full or the file's end is reached (and, for a
  // looping stream, goes on from the start); carries out a pending rewind.
  // Takes the decoding lock, and engineLock around each ring update; call it
  // without engineLock held. Does nothing once the stream is freed.
  void Fill(std::mutex& engineLock);
  // Under the engine's lock: true when the ring holds decoded frames.
  bool HasData() const { return _written > 0; }
  // Under the engine's lock: whether Fill has work even while stopped.
  bool RewindPending() const { return _rewindPending; }
  // Under the engine's lock: no Fill touches the decoder after this.
  void MarkFreed() { _freed = true; }
  // Closes the decoder (and with it the file or the caller's memory); call
  // after MarkFreed, without the engine's lock.
  void Close();

 protected:
  int Peek(float* dst, int frames) override;
  void Consume(int frames) override;
  bool AtEnd() const override;
  void Rewind() override { _rewindPending = true; }
  bool AtStart() const override { return _rewindPending || _played == 0; }

 private:
  static constexpr int kMaxMarks = 64;         // file ends the ring may hold (short looping files)
  static constexpr int64_t kFillChunk = 4096;  // frames decoded between ring updates

  // The ring's next file end at or after the frame `index` marks further on (max when none).
  uint64_t MarkAt(int index) const;
  bool RealEnd() const { return !Looped() || _dead; }
  void Append(const float* frames, int64_t count);

  std::mutex _decodeLock;
  std::unique_ptr<BassDecoder> _decoder;  // under _decodeLock
  std::vector<float> _fillBuffer;         // under _decodeLock
  int64_t _sinceStart = 0;                // frames decoded since the file's start; under _decodeLock

  // Under the engine's lock.
  std::vector<float> _ring;  // interleaved stereo, _capacity frames
  int64_t _capacity;
  uint64_t _written = 0;                     // frames ever written since the last rewind
  uint64_t _read = 0;                        // frames ever consumed since the last rewind
  std::array<uint64_t, kMaxMarks> _marks{};  // positions right after the file's last frame
  int _markHead = 0;
  int _markCount = 0;
  uint64_t _played = 0;         // frames played since the last rewind
  bool _rewindPending = false;  // the ring is stale; nothing plays until Fill rewinds
  bool _atEnd = false;          // the decoder reached the end and has not started again
  bool _dead = false;           // the file gave no frame from its start, or cannot seek back
  bool _freed = false;
};

}  // namespace LibBass
