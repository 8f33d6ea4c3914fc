#include "core/Thread.h"

#include <exception>
#include <system_error>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Log.h"
#include "core/StringUtils.h"

namespace LLF {

namespace {
// The thread object whose body runs on this thread, so a body that waits
// for itself is refused without touching the starting thread's state.
thread_local const Thread* t_body = nullptr;
}  // namespace

Thread::~Thread() {
  Terminate();
}

std::wstring Thread::Dump() const {
  if (_handle == 0) {
    return L"Thread: Handle - Invalid.";
  }
  return Format(L"Thread: Handle - 0x%08X", _handle);
}

bool Thread::IsRunning() const {
  MutexLock lock(_guard);
  return _running;
}

int Thread::GetExitCode() const {
  MutexLock lock(_guard);
  return _exitCode;
}

bool Thread::Start(int argument) {
  if (IsRunning()) {
    return false;
  }
  // A body that ended without a Wait still holds its thread.
  Wait();
  {
    MutexLock lock(_guard);
    _argument = argument;
    _running = true;
  }
  _stopRequested.store(false);
  try {
    _thread = std::thread(&Thread::Procedure, this);
  } catch (const std::system_error&) {
    MutexLock lock(_guard);
    _running = false;
    return false;
  }
  _handle = static_cast<uintptr_t>(_thread.native_handle());
  return true;
}

void Thread::Procedure() {
  t_body = this;
  int code = -1;
  try {
    code = Run(_argument);
  } catch (const Exception&) {
    // Already in the log.
  } catch (const std::exception& e) {
    Log::GetInstance().Write(L"Error: Thread body ended by an exception: " + AnsiToWide(e.what()));
  } catch (...) {
    Log::GetInstance().Write(L"Error: Thread body ended by an exception.");
  }
  MutexLock lock(_guard);
  _running = false;
  _exitCode = code;
}

void Thread::Terminate() {
  RequestStop();
  Wait();
}

bool Thread::Wait() {
  if (t_body == this) {
    return false;
  }
  if (_thread.joinable()) {
    _thread.join();
  }
  _handle = 0;
  MutexLock lock(_guard);
  _running = false;
  return true;
}

int Thread::Run(int /*argument*/) {
  return 0;
}

}  // namespace LLF
