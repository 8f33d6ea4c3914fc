// The BMP loader on arbitrary bytes.
#include "ImageFuzz.h"
#include "image/CodecBmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzImageCodec(LLF::CodecBmp::GetInstance(), data, size);
}
