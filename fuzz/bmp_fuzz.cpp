// The BMP loader on arbitrary bytes.
#include "image/CodecBmp.h"
#include "ImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzImageCodec(LLF::CodecBmp::GetInstance(), data, size);
}
