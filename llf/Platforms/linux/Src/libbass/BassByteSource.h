#pragma once
// The bytes of one sound file as libsndfile reads them: either memory the
// caller keeps alive, or a span of a file read with pread. Hands libsndfile a
// table of callbacks (virtual I/O), so memory and files go through one path.
#include <sndfile.h>

#include <cstdint>
#include <memory>

#include "sound/BassApi.h"

namespace LibBass {

class BassByteSource {
 public:
  // mem 1: file points to the bytes, offset is added to it, length (> 0) is
  // their count. mem 0: file is a UTF-8 path, offset the start in the file and
  // length its byte count (0: to the end; a longer span ends at the file's
  // end). Null with the error code on failure.
  static std::unique_ptr<BassByteSource> Open(BassBool mem, const void* file, uint64_t offset,
                                              uint64_t length, int32_t& error);
  ~BassByteSource();
  BassByteSource(const BassByteSource&) = delete;
  BassByteSource& operator=(const BassByteSource&) = delete;

  // The callbacks for sf_open_virtual; the user pointer is this source.
  static SF_VIRTUAL_IO* Callbacks();

 private:
  BassByteSource() = default;

  static sf_count_t Length(void* user);
  static sf_count_t Seek(sf_count_t offset, int whence, void* user);
  static sf_count_t Read(void* dst, sf_count_t count, void* user);
  static sf_count_t Write(const void* src, sf_count_t count, void* user);
  static sf_count_t Tell(void* user);

  const unsigned char* _data = nullptr;  // memory source
  int _fd = -1;                          // file source
  int64_t _base = 0;                     // file offset of the first byte
  int64_t _size = 0;
  int64_t _pos = 0;
};

}  // namespace LibBass
