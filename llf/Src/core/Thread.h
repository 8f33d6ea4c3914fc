#pragma once
// Runs the virtual body Run on a thread of its own, keeping the running flag
// and the exit code under its own lock. A thread is never killed: Terminate
// asks the body to stop (bodies that run long poll StopRequested) and joins
// it. A class that overrides Run calls Terminate in its own destructor, so
// the body has ended before the members it uses are gone.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "core/Mutex.h"
#include "core/Object.h"

namespace LLF {

class Thread : public virtual Object {
 public:
  Thread() = default;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  LLF_KIND_OF(Thread, Object)
  // Stops and joins a thread still running.
  ~Thread() override;
  // "Thread: Handle - 0x..." or "Thread: Handle - Invalid." without a thread.
  std::wstring Dump() const override;

  // The system's handle of the thread; 0 when there is none. For the
  // starting thread only.
  virtual uintptr_t GetHandle() const { return _handle; }
  virtual bool IsRunning() const;
  // What the body last returned (-1 when it ended by an exception).
  virtual int GetExitCode() const;
  // Starts Run(argument) on a new thread; false while the body still runs
  // or when no thread can be made.
  virtual bool Start(int argument);
  // Asks the body to stop and waits for it.
  virtual void Terminate();
  // Waits for the body to end and lets the thread go; at once when there
  // is none. False when called from the body itself.
  virtual bool Wait();
  // The body; this one returns 0 at once.
  virtual int Run(int argument);

  // Sets the stop request that Run polls; Start clears it.
  void RequestStop() { _stopRequested.store(true); }
  bool StopRequested() const { return _stopRequested.load(); }

 private:
  void Procedure();

  std::thread _thread;
  uintptr_t _handle = 0;
  int _argument = 0;
  bool _running = false;
  int _exitCode = 0;
  mutable Mutex _guard;
  std::atomic<bool> _stopRequested{false};
};

}  // namespace LLF
