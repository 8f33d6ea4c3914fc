// The MNG loader on arbitrary bytes.
#include "ImageFuzz.h"
#include "image/CodecMng.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzImageCodec(LLF::CodecMng::GetInstance(), data, size);
}
