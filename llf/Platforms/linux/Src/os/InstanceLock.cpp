#include "app/InstanceLock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "io/TextEncoding.h"

namespace LLF {

namespace {

bool IsFolder(const char* path) {
  struct stat st;
  return path && *path == '/' && ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// A name as one path component: no separators, never empty.
std::string FileComponent(const std::wstring& name) {
  std::string out = Utf8Encode(name);
  for (char& c : out) {
    if (c == '/') c = '_';
  }
  return out.empty() ? std::string("_") : out;
}

// Where the lock file may stand, in order: the per-user runtime folder, then
// the temporary folder, shared between users, so the user's id goes into the
// name there.
std::vector<std::string> LockPaths(const std::wstring& lockName) {
  const std::string file = FileComponent(lockName);
  std::vector<std::string> paths;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); IsFolder(runtime)) {
    paths.push_back(std::string(runtime) + "/" + file);
  }
  const char* tmp = std::getenv("TMPDIR");
  paths.push_back(std::string(IsFolder(tmp) ? tmp : "/tmp") + "/" + file + "." + std::to_string(::getuid()));
  return paths;
}

// The abstract socket address of a channel: a leading zero byte, then the
// name and the user's id (cut to the address's room).
socklen_t ChannelAddress(const std::wstring& channelName, sockaddr_un& address) {
  std::memset(&address, 0, sizeof(address));
  address.sun_family = AF_UNIX;
  std::string name = Utf8Encode(channelName) + "." + std::to_string(::getuid());
  name.resize(std::min(name.size(), sizeof(address.sun_path) - 1));
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

}  // namespace

InstanceLock::~InstanceLock() {
  Release();
}

std::wstring InstanceLock::Dump() const {
  return IsHeld() ? L"InstanceLock: held on " + Utf8Decode(_path) : L"InstanceLock: not held";
}

InstanceLock::Result InstanceLock::Acquire(const std::wstring& lockName, const std::wstring& channelName,
                                           std::function<void()> onRaise) {
  Release();
  bool held = false;
  for (const std::string& path : LockPaths(lockName)) {
    // Never through a link: the temporary folder is shared.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      _fd = fd;
      _path = path;
      break;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      held = true;
      break;
    }
  }
  if (_fd < 0) return held ? Result::HELD : Result::FAILED;

  // Without the channel the lock still works; a second copy then just ends.
  if (!channelName.empty() && onRaise) {
    sockaddr_un address;
    const socklen_t length = ChannelAddress(channelName, address);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(fd, 4) == 0 &&
        ::pipe2(_wakePipe, O_CLOEXEC) == 0) {
      _listenFd = fd;
      _onRaise = std::move(onRaise);
      _listener = std::thread(&InstanceLock::Listen, this);
    } else if (fd >= 0) {
      ::close(fd);
    }
  }
  return Result::OBTAINED;
}

void InstanceLock::Listen() {
  for (;;) {
    pollfd fds[2] = {{_listenFd, POLLIN, 0}, {_wakePipe[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    const int client = ::accept4(_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    // Any process of the machine can reach an abstract socket; only the
    // same user's programs may raise the window.
    ucred peer{};
    socklen_t size = sizeof(peer);
    const bool sameUser =
        ::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
    ::close(client);
    if (sameUser) _onRaise();
  }
}

void InstanceLock::Release() {
  if (_listener.joinable()) {
    const char stop = 0;
    while (::write(_wakePipe[1], &stop, 1) < 0 && errno == EINTR) {
    }
    _listener.join();
  }
  for (int* fd : {&_listenFd, &_wakePipe[0], &_wakePipe[1], &_fd}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  _onRaise = nullptr;
  _path.clear();
}

bool InstanceLock::RequestRaise(const std::wstring& channelName) {
  sockaddr_un address;
  const socklen_t length = ChannelAddress(channelName, address);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
  ::close(fd);
  return connected;
}

}  // namespace LLF
