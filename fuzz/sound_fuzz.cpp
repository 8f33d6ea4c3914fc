// Sound files through our sound library's decoder, both ways the library
// takes them: decoded whole as a sample is, and checked then read in chunks
// from the start as a stream is. Whatever is read must be finite samples.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "BassDecoder.h"

namespace {

void CheckFinite(const float* samples, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (!std::isfinite(samples[i])) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<uint8_t> bytes(data, data + size);  // exactly sized, so reads past it are caught
  int32_t error = 0;
  if (auto sample = LibBass::BassDecoder::Open(1, bytes.data(), 0, bytes.size(), error)) {
    std::vector<float> stereo;
    if (sample->DecodeAll(stereo, error)) {
      if (stereo.size() % 2 != 0) std::abort();
      CheckFinite(stereo.data(), stereo.size());
    }
  }
  if (auto stream = LibBass::BassDecoder::Open(1, bytes.data(), 0, bytes.size(), error)) {
    if (stream->ReachesDeclaredEnd() && stream->Rewind()) {
      std::vector<float> chunk(2 * 4096);
      // As a stream plays: chunk after chunk until the end, bounded so that a
      // long but valid file does not make one input take minutes.
      for (int i = 0; i < 256; ++i) {
        const int64_t read = stream->Read(chunk.data(), 4096);
        if (read < 0 || read > 4096) std::abort();
        CheckFinite(chunk.data(), size_t(read) * 2);
        if (read < 4096) break;
      }
    }
  }
  return 0;
}
