#include "BassDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sstream>
#include <string>

namespace LibBass {

namespace {

constexpr int64_t kReadChunk = 4096;  // frames read from libsndfile at a time

// The header's size of a data chunk and what the file really holds, from a log
// line "data : 176400 (should be 88178)" (AIFF: "SSND : ...").
bool ChunkLineClaimsMore(const std::string& line) {
  std::istringstream in(line);
  std::string name, colon, should, be;
  unsigned long long claimed = 0, real = 0;
  char paren = 0;
  if (!(in >> name >> colon >> claimed >> paren >> should >> be >> real)) {
    return false;
  }
  if ((name != "data" && name != "SSND") || colon != ":" || paren != '(' || should != "should") {
    return false;
  }
  // 0xFFFFFFFF is how streaming writers mark "length unknown", not damage.
  return claimed > real && claimed != 0xFFFFFFFFull;
}

}  // namespace

std::unique_ptr<BassDecoder> BassDecoder::Open(std::unique_ptr<BassByteSource> source, int32_t& error) {
  std::unique_ptr<BassDecoder> decoder(new BassDecoder);
  decoder->_source = std::move(source);
  decoder->_file =
      sf_open_virtual(BassByteSource::Callbacks(), SFM_READ, &decoder->_info, decoder->_source.get());
  if (!decoder->_file) {
    error = kBassErrorFileFormat;
    return nullptr;
  }
  const SF_INFO& info = decoder->_info;
  if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate < static_cast<int>(kBassMinRate) ||
      info.samplerate > static_cast<int>(kBassMaxRate) || info.frames == 0 ||
      decoder->HeaderClaimsMoreData()) {
    error = kBassErrorFileFormat;
    return nullptr;
  }
  return decoder;
}

std::unique_ptr<BassDecoder> BassDecoder::Open(BassBool mem, const void* file, uint64_t offset,
                                               uint64_t length, int32_t& error) {
  auto source = BassByteSource::Open(mem, file, offset, length, error);
  return source ? Open(std::move(source), error) : nullptr;
}

BassDecoder::~BassDecoder() {
  if (_file) {
    sf_close(_file);
  }
}

bool BassDecoder::HeaderClaimsMoreData() {
  std::string log(4096, '\0');
  sf_command(_file, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()));
  log.resize(std::strlen(log.c_str()));
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    if (ChunkLineClaimsMore(line)) {
      return true;
    }
  }
  return false;
}

// Float files may hold NaN and infinities (and wide sums of many channels
// may overflow); one such value would spread through the mix and every
// volume computed from it, so it plays as silence.
static void SilenceNonFinite(float* samples, int64_t count) {
  for (int64_t i = 0; i < count; ++i) {
    if (!std::isfinite(samples[i])) {
      samples[i] = 0.0f;
    }
  }
}

int64_t BassDecoder::Read(float* stereo, int64_t frames) {
  const int channels = _info.channels;
  if (channels == 2) {
    const int64_t got = sf_readf_float(_file, stereo, frames);
    SilenceNonFinite(stereo, std::max<int64_t>(got, 0) * 2);
    return got;
  }
  int64_t done = 0;
  while (done < frames) {
    const int64_t want = std::min(frames - done, kReadChunk);
    _scratch.resize(static_cast<size_t>(want * channels));
    const int64_t got = sf_readf_float(_file, _scratch.data(), want);
    const float* src = _scratch.data();
    float* dst = stereo + 2 * done;
    for (int64_t f = 0; f < got; ++f, src += channels, dst += 2) {
      if (channels == 1) {
        dst[0] = dst[1] = src[0];
        continue;
      }
      float left = 0.0f, right = 0.0f;
      for (int c = 0; c < channels; c += 2) left += src[c];
      for (int c = 1; c < channels; c += 2) right += src[c];
      dst[0] = left / static_cast<float>((channels + 1) / 2);
      dst[1] = right / static_cast<float>(channels / 2);
    }
    SilenceNonFinite(stereo + 2 * done, std::max<int64_t>(got, 0) * 2);
    done += got;
    if (got < want) {
      break;
    }
  }
  return done;
}

bool BassDecoder::Rewind() {
  return sf_seek(_file, 0, SEEK_SET) == 0;
}

// Frames a declared MPEG length may exceed what the file really holds.
static int64_t EstimateMargin(int64_t declared) {
  return declared / 100 + 1152;
}

bool BassDecoder::ReachesDeclaredEnd() {
  if (_info.frames <= 0 || _info.frames >= SF_COUNT_MAX || !_info.seekable) {
    return true;
  }
  const int64_t target = std::max<int64_t>(0, _info.frames - EstimateMargin(_info.frames) - 1);
  float frame[2];
  return sf_seek(_file, target, SEEK_SET) >= 0 && Read(frame, 1) == 1;
}

bool BassDecoder::DecodeAll(std::vector<float>& stereo, int32_t& error) {
  const bool declared = _info.frames > 0 && _info.frames < SF_COUNT_MAX;
  if (declared && _info.frames >= kMaxSampleFrames) {
    error = kBassErrorMemory;
    return false;
  }
  try {
    stereo.clear();
    if (declared) {
      stereo.reserve(static_cast<size_t>(_info.frames) * 2);
    }
    int64_t total = 0;
    for (;;) {
      if (total >= kMaxSampleFrames) {
        error = kBassErrorMemory;
        return false;
      }
      const int64_t want = std::min(kReadChunk, kMaxSampleFrames - total);
      stereo.resize(static_cast<size_t>(total + want) * 2);
      const int64_t got = Read(stereo.data() + 2 * total, want);
      total += std::max<int64_t>(got, 0);
      if (got < want) {
        break;
      }
    }
    stereo.resize(static_cast<size_t>(total) * 2);
    stereo.shrink_to_fit();
    // MPEG frame counts without a seek table are estimates from the bit rate, so
    // a shortfall of up to 1 % and one MPEG frame is not taken for truncation.
    const bool shortOfHeader = declared && total + EstimateMargin(_info.frames) < _info.frames;
    if (total == 0 || sf_error(_file) != SF_ERR_NO_ERROR || shortOfHeader) {
      error = kBassErrorFileFormat;
      return false;
    }
  } catch (const std::bad_alloc&) {
    error = kBassErrorMemory;
    return false;
  }
  return true;
}

}  // namespace LibBass
