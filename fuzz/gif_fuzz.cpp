// The GIF loader on arbitrary bytes.
#include "CodecGif.h"
#include "ImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzImageCodec(LLF::CodecGif::GetInstance(), data, size);
}
