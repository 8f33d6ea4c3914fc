// The Jigsaw mode's level files and stored piece positions.
#include "ModeFuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ModeFuzz::Init(L"jigsaw");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ModeFuzz::Run(data, size);
  return 0;
}
