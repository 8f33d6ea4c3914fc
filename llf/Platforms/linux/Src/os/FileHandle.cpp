#include "io/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "core/StringUtils.h"

namespace LLF {

bool FileHandle::Open(const std::wstring& path, bool readWrite, bool create) {
  return OpenWith(path, (readWrite ? O_RDWR : O_RDONLY) | (create ? O_CREAT | O_TRUNC : 0), 0666);
}

bool FileHandle::CreateNew(const std::wstring& path, unsigned mode) {
  return OpenWith(path, O_RDWR | O_CREAT | O_EXCL, mode);
}

bool FileHandle::OpenWith(const std::wstring& path, int flags, unsigned mode) {
  Close();
  if (path.empty()) {
    return false;
  }
  int fd;
  do {
    fd = ::open(ToOsPath(path).c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
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

namespace {

// Repeats a read or write over short transfers and interruptions; the bytes
// moved.
template <class Byte, class Op>
unsigned Transfer(int fd, Byte* p, unsigned count, Op op) {
  if (fd < 0 || !p) return 0;
  unsigned done = 0;
  while (done < count) {
    const ssize_t n = op(fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<unsigned>(n);
  }
  return done;
}

}  // namespace

unsigned FileHandle::Read(void* buffer, unsigned count) {
  return Transfer(_fd, static_cast<char*>(buffer), count, ::read);
}

unsigned FileHandle::Write(const void* buffer, unsigned count) {
  return Transfer(_fd, static_cast<const char*>(buffer), count, ::write);
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
