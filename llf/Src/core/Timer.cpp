#include "core/Timer.h"

#include <chrono>

#include "core/Format.h"

namespace LLF {

unsigned GetTimeMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::wstring Timer::Dump() const {
  return Format(L"Timer: Start Time: %u Current Time: %u Last Frame Time: %u Started: %s", _start, _current,
                _last, _started ? L"true" : L"false");
}

unsigned Timer::Update() {
  _current = _clock();
  return _current;
}

void Timer::Start(bool resume) {
  _started = true;
  Update();
  if (!resume) {
    _start = _last = _clock();
  }
}

void Timer::Stop() {
  Update();
  _started = false;
}

unsigned Timer::GetElapsed() {
  if (_started) Update();
  return _current - _start;
}

int Timer::GetDelta() {
  if (_started) Update();
  const unsigned d = _current - _last;
  _last = _current;
  return static_cast<int>(d);
}

}  // namespace LLF
