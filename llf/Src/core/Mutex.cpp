#include "core/Mutex.h"

#include <cstdint>

#include "core/Format.h"

namespace LLF {

Mutex::~Mutex() {
  while (IsLockedByCaller()) Unlock();
}

std::wstring Mutex::Dump() const {
  return Format(L"Mutex: Handle - 0x%08X", reinterpret_cast<uintptr_t>(&_mutex));
}

bool Mutex::Lock() {
  _mutex.lock();
  _owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
  ++_depth;
  return true;
}

bool Mutex::Unlock() {
  if (!IsLockedByCaller()) {
    return false;
  }
  if (--_depth == 0) {
    _owner.store(std::thread::id(), std::memory_order_relaxed);
  }
  _mutex.unlock();
  return true;
}

bool Mutex::IsLockedByCaller() const {
  return _owner.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

}  // namespace LLF
