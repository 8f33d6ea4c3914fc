// The PNG loader on arbitrary bytes.
#include "ImageFuzz.h"
#include "image/CodecPng.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzImageCodec(LLF::CodecPng::GetInstance(), data, size);
}
