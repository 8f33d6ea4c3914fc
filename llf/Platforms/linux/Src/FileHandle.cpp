#include "FileHandle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "StringUtils.h"

namespace LLF {

bool FileHandle::Open(const std::wstring& path, bool readWrite, bool create) {
  Close();
  if (path.empty()) {
    return false;
  }
  int flags = (readWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
  if (create) {
    flags |= O_CREAT | O_TRUNC;
  }
  int fd;
  do {
    fd = ::open(ToOsPath(path).c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return false;
  }
  // Opening a folder read-only succeeds here; callers test for a file.
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  _fd = fd;
  return true;
}

bool FileHandle::Close() {
  if (_fd < 0) {
    return false;
  }
  // The descriptor is gone after close even when it reports an error.
  const bool ok = ::close(_fd) == 0;
  _fd = -1;
  return ok;
}

unsigned FileHandle::Read(void* buffer, unsigned count) {
  if (_fd < 0 || !buffer) return 0;
  auto* p = static_cast<char*>(buffer);
  unsigned done = 0;
  while (done < count) {
    const ssize_t n = ::read(_fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<unsigned>(n);
  }
  return done;
}

unsigned FileHandle::Write(const void* buffer, unsigned count) {
  if (_fd < 0 || !buffer) return 0;
  const auto* p = static_cast<const char*>(buffer);
  unsigned done = 0;
  while (done < count) {
    const ssize_t n = ::write(_fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<unsigned>(n);
  }
  return done;
}

bool FileHandle::Seek(int origin, long long offset) {
  if (_fd < 0) return false;
  int whence;
  switch (origin) {
    case 0:
      whence = SEEK_SET;
      break;
    case 1:
      whence = SEEK_CUR;
      break;
    case 2:
      whence = SEEK_END;
      break;
    default:
      return false;
  }
  return ::lseek(_fd, static_cast<off_t>(offset), whence) >= 0;
}

bool FileHandle::GetPosition(unsigned long long& position) const {
  position = 0;
  if (_fd < 0) return false;
  const off_t p = ::lseek(_fd, 0, SEEK_CUR);
  if (p < 0) return false;
  position = static_cast<unsigned long long>(p);
  return true;
}

bool FileHandle::GetSize(unsigned long long& size) const {
  size = 0;
  struct stat st;
  if (_fd < 0 || ::fstat(_fd, &st) != 0) return false;
  size = static_cast<unsigned long long>(st.st_size);
  return true;
}

bool FileHandle::Flush() {
  return _fd >= 0 && ::fsync(_fd) == 0;
}

}  // namespace LLF
