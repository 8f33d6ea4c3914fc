// The GIF loader on arbitrary bytes. Inputs whose logical screen exceeds a
// million pixels are passed over: the loader only allocates and fills such
// a screen (the unit tests cover that path), and a few of them per second
// would leave little time for the decoding itself.
#include "ImageFuzz.h"
#include "image/CodecGif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= 10) {
    const unsigned width = data[6] | data[7] << 8;
    const unsigned height = data[8] | data[9] << 8;
    if (width * height > (1u << 20)) return 0;
  }
  return FuzzImageCodec(LLF::CodecGif::GetInstance(), data, size);
}
