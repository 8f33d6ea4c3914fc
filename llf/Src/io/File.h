#pragma once
// The framework's byte file: a file on disk opened by path, or a window over
// a block of memory that the caller owns. Both offer the same operations, so
// codecs read from disk or memory alike. No lock: one thread per object.
// Failures show as false or as a short count; nothing is logged.
#include <string>

#include "core/Object.h"
#include "io/FileHandle.h"

namespace LLF {

enum FileOperations { FILEOPS_READ = 0, FILEOPS_READ_WRITE = 1 };
enum FileOpenType { FILEOPEN_NEW = 0, FILEOPEN_OPENEXISTING = 1 };

class File : public virtual Object {
 public:
  File() = default;
  File(const std::wstring& path, int operations, int openType);
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  LLF_KIND_OF(File, Object)
  ~File() override;

  virtual bool IsOpen();
  // A read-only or writable window over size bytes at base (not owned);
  // false for a null base or a size of 0.
  virtual bool OpenMemory(void* base, unsigned size, int operations);
  // FILEOPEN_NEW creates the file, replacing an existing one; any other
  // openType opens an existing file only. FILEOPS_READ_WRITE first creates
  // the missing folders of the path. A folder is never opened.
  virtual bool Open(const std::wstring& path, int operations, int openType);
  virtual bool OpenExisting(const std::wstring& path, int operations);
  virtual bool Close();
  virtual bool IsEOF();
  virtual unsigned GetPosition();
  // origin 0 from the start, 1 from the current position, 2 from the end.
  // On disk the offset is added to the origin; in memory origin 2 counts
  // the offset backwards from the end. A memory position never leaves the
  // block: a seek that would is refused.
  virtual bool Seek(int origin, int offset);
  virtual unsigned Read(void* buffer, unsigned count);
  // The whole file from its start into a new[] array the caller deletes[];
  // true when every byte came. On failure buffer is null and size 0.
  virtual bool ReadAll(unsigned char*& buffer, unsigned& size);
  // Memory files take writes only when opened FILEOPS_READ_WRITE and never
  // grow.
  virtual unsigned Write(const void* buffer, unsigned count);
  virtual bool Flush();
  virtual std::wstring Describe();

  unsigned GetSize();
  const std::wstring& GetFileName() const { return _filename; }

 protected:
  std::wstring _filename;
  int _fileOpenType = FILEOPEN_OPENEXISTING;
  int _fileOperations = FILEOPS_READ_WRITE;

 private:
  bool _memoryMode = false;
  unsigned char* _memoryBase = nullptr;
  unsigned char* _memoryCursor = nullptr;
  unsigned _memorySize = 0;
  FileHandle _handle;
};

}  // namespace LLF
