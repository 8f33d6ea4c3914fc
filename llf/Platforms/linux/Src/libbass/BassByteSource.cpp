#include "BassByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

namespace LibBass {

std::unique_ptr<BassByteSource> BassByteSource::Open(BassBool mem, const void* file, uint64_t offset,
                                                     uint64_t length, int32_t& error) {
  constexpr auto kMaxSize = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (!file || offset > kMaxSize || length > kMaxSize) {
    error = kBassErrorParam;
    return nullptr;
  }
  std::unique_ptr<BassByteSource> source(new BassByteSource);
  if (mem) {
    if (length == 0) {
      error = kBassErrorParam;
      return nullptr;
    }
    source->_data = static_cast<const unsigned char*>(file) + offset;
    source->_size = static_cast<int64_t>(length);
    return source;
  }

  source->_fd = ::open(static_cast<const char*>(file), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (source->_fd < 0 || ::fstat(source->_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = kBassErrorFileOpen;
    return nullptr;
  }
  const auto fileSize = static_cast<uint64_t>(st.st_size);
  if (offset >= fileSize) {
    // An empty file, or a start past its end: nothing to decode.
    error = fileSize == 0 ? kBassErrorFileFormat : kBassErrorParam;
    return nullptr;
  }
  const uint64_t rest = fileSize - offset;
  source->_base = static_cast<int64_t>(offset);
  source->_size = static_cast<int64_t>(length == 0 ? rest : std::min(length, rest));
  return source;
}

BassByteSource::~BassByteSource() {
  if (_fd >= 0) {
    ::close(_fd);
  }
}

SF_VIRTUAL_IO* BassByteSource::Callbacks() {
  static SF_VIRTUAL_IO callbacks{&Length, &Seek, &Read, &Write, &Tell};
  return &callbacks;
}

sf_count_t BassByteSource::Length(void* user) {
  return static_cast<BassByteSource*>(user)->_size;
}

sf_count_t BassByteSource::Seek(sf_count_t offset, int whence, void* user) {
  auto* self = static_cast<BassByteSource*>(user);
  int64_t from = 0;
  if (whence == SEEK_CUR) {
    from = self->_pos;
  } else if (whence == SEEK_END) {
    from = self->_size;
  } else if (whence != SEEK_SET) {
    return -1;
  }
  // Overflow-safe: both terms are bounded by int64 and of either sign.
  if ((offset > 0 && from > self->_size - offset) || from + offset < 0) {
    return -1;
  }
  self->_pos = from + offset;
  return self->_pos;
}

sf_count_t BassByteSource::Read(void* dst, sf_count_t count, void* user) {
  auto* self = static_cast<BassByteSource*>(user);
  if (count <= 0 || self->_pos >= self->_size) {
    return 0;
  }
  const int64_t n = std::min<int64_t>(count, self->_size - self->_pos);
  if (self->_data) {
    std::memcpy(dst, self->_data + self->_pos, static_cast<size_t>(n));
    self->_pos += n;
    return n;
  }
  int64_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(self->_fd, static_cast<char*>(dst) + done, static_cast<size_t>(n - done),
                                static_cast<off_t>(self->_base + self->_pos + done));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      break;  // a read error or a file that shrank: the data ends here
    }
    done += got;
  }
  self->_pos += done;
  return done;
}

sf_count_t BassByteSource::Write(const void*, sf_count_t, void*) {
  return 0;
}

sf_count_t BassByteSource::Tell(void* user) {
  return static_cast<BassByteSource*>(user)->_pos;
}

}  // namespace LibBass
