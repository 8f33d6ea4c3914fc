// The Puzzle mode's level files and stored angles of its pieces.
#include "ModeFuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ModeFuzz::Init(L"puzzle");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ModeFuzz::Run(data, size);
  return 0;
}
