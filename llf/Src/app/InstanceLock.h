#pragma once
// The single-instance lock of a program, and the channel through which a
// second copy asks the first to bring its window forward.
//
// The lock is an exclusive flock on a file named after the lock, in the
// per-user runtime folder or else in the temporary folder (the user's id
// then added to the name). The kernel drops it when the holder ends, however
// it ends, so no stale lock survives a crash. The holder also listens on an
// abstract local socket named after its window class and the user's id; a
// connection from the same user is a request to raise the window. Both the
// file and the socket are closed on exec, so programs started from here
// never inherit them.
#include <functional>
#include <string>
#include <thread>

#include "core/Object.h"

namespace LLF {

class InstanceLock : public virtual Object {
 public:
  enum class Result {
    OBTAINED,  // this program holds the lock
    HELD,      // another running program holds it
    FAILED     // no lock file could be opened anywhere
  };

  InstanceLock() = default;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  LLF_KIND_OF(InstanceLock, Object)
  // Releases the lock when held.
  ~InstanceLock() override;
  std::wstring Dump() const override;

  // Takes the lock of the given name without waiting. When obtained and a
  // channel name is given, raise requests for that name call onRaise, on a
  // thread of the lock's own.
  Result Acquire(const std::wstring& lockName, const std::wstring& channelName = std::wstring(),
                 std::function<void()> onRaise = nullptr);
  // Stops listening and gives the lock back; nothing when not held.
  void Release();
  bool IsHeld() const { return _fd >= 0; }
  // The file the lock was taken on; empty when not held.
  const std::string& GetPath() const { return _path; }

  // Asks the holder of the channel to raise its window. False when nobody
  // listens.
  static bool RequestRaise(const std::wstring& channelName);

 private:
  void Listen();

  int _fd = -1;
  std::string _path;
  int _listenFd = -1;
  int _wakePipe[2] = {-1, -1};
  std::function<void()> _onRaise;
  std::thread _listener;
};

}  // namespace LLF
