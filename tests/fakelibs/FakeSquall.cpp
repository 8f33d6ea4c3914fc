// A libsquall.so standing in for the Squall library in tests: it keeps the
// start-up record and the file callbacks, and loads a "sample" by reading
// the file through the callbacks: a file that starts with "RIFF" gets the
// next id, anything else fails. FAKE_SQUALL_FAIL=init or =callbacks makes
// that step fail. FakeSquall_* report what was received.
#include <cstdlib>
#include <cstring>
#include <string>

#include "sound/SquallApi.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

SquallInitParameters g_parameters{};
SquallOpenCallback g_open = nullptr;
SquallReadCallback g_read = nullptr;
SquallSeekCallback g_seek = nullptr;
SquallCloseCallback g_close = nullptr;
int32_t g_nextSample = 0;
int32_t g_lastSize = -1;
int g_frees = 0;

bool Fails(const char* step) {
  const char* fail = std::getenv("FAKE_SQUALL_FAIL");
  return fail && std::strcmp(fail, step) == 0;
}

}  // namespace

FAKE_EXPORT int32_t SQUALL_Init(SquallInitParameters* parameters) {
  g_parameters = *parameters;
  return Fails("init") ? -1 : 0;
}
FAKE_EXPORT void SQUALL_Free() {
  ++g_frees;
}
FAKE_EXPORT int32_t SQUALL_Sample_LoadFile(const char* name, int32_t, int32_t) {
  if (!g_open) return -1;
  const int32_t file = g_open(name);
  if (file < 0) return -1;
  char magic[4] = {};
  const bool riff = g_read(file, magic, 4) == 4 && std::memcmp(magic, "RIFF", 4) == 0;
  g_lastSize = g_seek(file, 0, 2);
  g_close(file);
  return riff ? g_nextSample++ : -1;
}
FAKE_EXPORT int32_t SQUALL_Sample_Unload(int32_t) {
  return 0;
}
FAKE_EXPORT int32_t SQUALL_SetFileCallbacks(SquallOpenCallback open, SquallReadCallback read,
                                            SquallSeekCallback seek, SquallCloseCallback close) {
  if (Fails("callbacks")) return -1;
  g_open = open;
  g_read = read;
  g_seek = seek;
  g_close = close;
  return 0;
}

FAKE_EXPORT void FakeSquall_LastInit(SquallInitParameters* out) {
  *out = g_parameters;
}
FAKE_EXPORT int32_t FakeSquall_LastFileSize() {
  return g_lastSize;
}
FAKE_EXPORT int FakeSquall_Frees() {
  return g_frees;
}
