#include "BassTestSupport.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <iterator>

namespace BassTest {

std::string LibraryPath() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libbass.so").string();
}

namespace {

// Binds every name or none, as the driver does.
bool Bind(void* module, Library& lib, std::string& error) {
  void* slots[std::size(kBassFunctionNames)];
  for (size_t i = 0; i < std::size(kBassFunctionNames); ++i) {
    slots[i] = dlsym(module, kBassFunctionNames[i]);
    if (!slots[i]) {
      error = std::string("missing ") + kBassFunctionNames[i];
      return false;
    }
  }
  // The members are the names' pointer types in the same order.
  std::memcpy(&lib, slots, sizeof lib);
  return true;
}

}  // namespace

const Library* Load(std::string& error) {
  static Library lib{};
  static std::string failure;
  static const bool loaded = [] {
    void* module = dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      failure = dlerror();
      return false;
    }
    if (!Bind(module, lib, failure)) {
      dlclose(module);
      return false;
    }
    return true;
  }();
  error = failure;
  return loaded ? &lib : nullptr;
}

void Fixture::SetUp() {
  std::string error;
  _bass = Load(error);
  ASSERT_NE(_bass, nullptr) << error;
}

void Fixture::TearDown() {
  if (_bass) {
    _bass->Free();
  }
}

Recording::Recording(const Library& bass, uint32_t rate, uint32_t flags)
    : _bass(bass), _rate(rate), _eightBits((flags & kBassDevice8Bits) != 0) {
  _started = _bass.Init(kBassDefaultDevice, rate, flags, nullptr) == 1;
}

Recording::~Recording() {
  if (_started) {
    _bass.Free();
  }
}

void Recording::Finish() {
  if (!_started) {
    return;
  }
  _bass.Free();  // closes the device, so the file is complete
  _started = false;
  _output.Read(_eightBits);
}

}  // namespace BassTest
