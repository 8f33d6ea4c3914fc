#pragma once
// One open sound file decoded by libsndfile into interleaved stereo floats at
// the file's own rate. Checks what it opens: a usable channel count and rate,
// and a container that does not claim more data than the bytes hold.
#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "BassByteSource.h"

namespace LibBass {

class BassDecoder {
 public:
  // Channel counts beyond this are refused (libsndfile reads up to 1024).
  static constexpr int kMaxChannels = 64;
  // A sample decodes to fewer frames than this (about 12 minutes at 44100 Hz),
  // so a hostile header cannot make us allocate gigabytes.
  static constexpr int64_t kMaxSampleFrames = int64_t{1} << 25;

  // Null with the error code when the bytes are not a usable audio file.
  static std::unique_ptr<BassDecoder> Open(std::unique_ptr<BassByteSource> source, int32_t& error);
  // The same over the bytes BassByteSource::Open takes.
  static std::unique_ptr<BassDecoder> Open(BassBool mem, const void* file, uint64_t offset, uint64_t length,
                                           int32_t& error);
  ~BassDecoder();
  BassDecoder(const BassDecoder&) = delete;
  BassDecoder& operator=(const BassDecoder&) = delete;

  uint32_t Rate() const { return static_cast<uint32_t>(_info.samplerate); }
  uint32_t Channels() const { return static_cast<uint32_t>(_info.channels); }

  // Reads up to `frames` frames into `stereo` (2 floats a frame): mono goes to
  // both sides, more than two channels fold even ones left and odd ones right.
  // Fewer than asked only at the end of the data or on a decoding error.
  int64_t Read(float* stereo, int64_t frames);
  // Back to the first frame; false when the file cannot seek.
  bool Rewind();
  // Whether audio near the end the header declares can be decoded, so that
  // a file cut short is found without decoding it all. Frame counts of MPEG
  // files without a seek table are estimates, so the check stops short by the
  // margin DecodeAll allows. Leaves the position elsewhere: Rewind after it.
  bool ReachesDeclaredEnd();
  // Decodes the whole file. Fails with kBassErrorFileFormat when it holds no
  // audio, reports a decoding error or ends before the frame count its header
  // gives, and with kBassErrorMemory from kMaxSampleFrames on.
  bool DecodeAll(std::vector<float>& stereo, int32_t& error);

 private:
  BassDecoder() = default;
  // True when the header claims a data chunk longer than the file holds
  // (libsndfile shortens such a chunk silently and only notes it in its log).
  bool HeaderClaimsMoreData();

  std::unique_ptr<BassByteSource> _source;
  SNDFILE* _file = nullptr;
  SF_INFO _info{};
  std::vector<float> _scratch;  // interleaved frames of the file's own channel count
};

}  // namespace LibBass
