#pragma once
// Owned holder of an open operating-system file: the disk side of LLF::File.
// Unbuffered, so every write reaches the system at once; opened close-on-exec
// so spawned programs never inherit it.
#include <string>

#include "core/Object.h"

namespace LLF {

class FileHandle : public virtual Object {
 public:
  FileHandle() = default;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  LLF_KIND_OF(FileHandle, Object)
  ~FileHandle() override { Close(); }

  // Opens path for reading, or for reading and writing; create makes the
  // file (replacing an existing one). A folder is refused.
  bool Open(const std::wstring& path, bool readWrite, bool create);
  // Creates a file for reading and writing with the given permission bits;
  // false when anything stands at path already.
  bool CreateNew(const std::wstring& path, unsigned mode);
  bool IsValid() const { return _fd >= 0; }
  bool Close();

  // Loop over short transfers and interruptions; the count done.
  unsigned Read(void* buffer, unsigned count);
  unsigned Write(const void* buffer, unsigned count);
  // origin 0 start, 1 current position, 2 end; false for another origin or
  // a position before the start.
  bool Seek(int origin, long long offset);
  bool GetPosition(unsigned long long& position) const;
  bool GetSize(unsigned long long& size) const;
  bool Flush();

 private:
  bool OpenWith(const std::wstring& path, int flags, unsigned mode);

  int _fd = -1;
};

}  // namespace LLF
