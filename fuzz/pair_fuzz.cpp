// The Pair mode's level files and stored progress.
#include "ModeFuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ModeFuzz::Init(L"pair");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ModeFuzz::Run(data, size);
  return 0;
}
