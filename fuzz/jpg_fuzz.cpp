// The JPG loader on arbitrary bytes.
#include "ImageFuzz.h"
#include "image/CodecJpg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzImageCodec(LLF::CodecJpg::GetInstance(), data, size);
}
