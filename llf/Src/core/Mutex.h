#pragma once
// A lock that its owner may take again, as a Windows mutex can: each Lock
// needs its own Unlock, and only the owning thread can release it. Guards
// the log, each thread object's state, the window's message queue, image
// pixel data and the console.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "core/Object.h"

namespace LLF {

class Mutex : public virtual Object {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  LLF_KIND_OF(Mutex, Object)
  // Releases the levels the destroying thread still holds.
  ~Mutex() override;
  std::wstring Dump() const override;

  // Waits without time-out; true once this thread owns the lock.
  bool Lock();
  // False when the calling thread does not own the lock.
  bool Unlock();
  // Whether the calling thread owns the lock.
  bool IsLockedByCaller() const;

 private:
  std::recursive_mutex _mutex;
  std::atomic<std::thread::id> _owner{};
  unsigned _depth = 0;  // touched only by the owner
};

// Holds a mutex for the life of a scope.
class MutexLock : public virtual Object {
 public:
  explicit MutexLock(Mutex& mutex) : _mutex(mutex) { _locked = _mutex.Lock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;
  LLF_KIND_OF(MutexLock, Object)
  ~MutexLock() override {
    if (_locked) _mutex.Unlock();
  }

 private:
  Mutex& _mutex;
  bool _locked = false;
};

}  // namespace LLF
