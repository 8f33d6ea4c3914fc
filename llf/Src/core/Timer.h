#pragma once
// Milliseconds for the main loop and every timed object: elapsed time since
// Start and the time between two GetDelta calls. Readings are unsigned
// 32-bit and subtracted unsigned, so results stay right across the wrap of
// the clock. No lock: one thread per timer.
#include <string>

#include "core/Object.h"

namespace LLF {

// A steady clock in milliseconds, wrapping at 32 bits; everything times
// with it.
unsigned GetTimeMs();

class Timer : public virtual Object {
 public:
  using Clock = unsigned (*)();

  // clock replaces GetTimeMs (tests drive time by hand).
  explicit Timer(Clock clock = GetTimeMs) : _clock(clock ? clock : GetTimeMs) {}

  LLF_KIND_OF(Timer, Object)
  ~Timer() override = default;
  // "Timer: Start Time: S Current Time: C Last Frame Time: L Started: true"
  std::wstring Dump() const override;

  // Reads the clock into the current time and returns it.
  unsigned Update();
  // Starts; unless resume, elapsed and delta count from now. Resuming keeps
  // the start, so the stopped span counts too.
  void Start(bool resume);
  // Freezes the current time until the next Start.
  void Stop();
  // Current minus start, the clock read first while started.
  unsigned GetElapsed();
  // Time since the previous call (or the start), the clock read first while
  // started.
  int GetDelta();
  bool IsStarted() const { return _started; }

 private:
  unsigned _start = 0;
  unsigned _current = 0;
  unsigned _last = 0;
  bool _started = false;
  Clock _clock;
};

}  // namespace LLF
