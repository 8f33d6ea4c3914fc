#include "io/File.h"

#include <cstring>
#include <limits>

#include "core/OSUtils.h"
#include "core/StringUtils.h"

namespace LLF {

namespace {
// Sizes and positions are 32-bit; larger values read as the largest.
unsigned Clamp32(unsigned long long v) {
  return v > std::numeric_limits<unsigned>::max() ? std::numeric_limits<unsigned>::max()
                                                  : static_cast<unsigned>(v);
}
}  // namespace

File::File(const std::wstring& path, int operations, int openType) {
  Open(path, operations, openType);
}

File::~File() {
  Close();
}

bool File::IsOpen() {
  if (_memoryMode) {
    return _memoryBase && _memoryCursor && _memorySize;
  }
  return _handle.IsValid();
}

bool File::OpenMemory(void* base, unsigned size, int operations) {
  Close();
  if (!base || size == 0) {
    return false;
  }
  _memoryBase = _memoryCursor = static_cast<unsigned char*>(base);
  _memorySize = size;
  _filename = L"MemoryFile";
  _fileOpenType = FILEOPEN_OPENEXISTING;
  _fileOperations = operations;
  _memoryMode = true;
  return true;
}

bool File::Open(const std::wstring& path, int operations, int openType) {
  Close();
  if (operations == FILEOPS_READ_WRITE) {
    OS_CreateDirectories(ExtractFolder(path));
  }
  if (!_handle.Open(path, operations != FILEOPS_READ, openType == FILEOPEN_NEW)) {
    return false;
  }
  _filename = path;
  _fileOperations = operations;
  _fileOpenType = openType;
  _memoryMode = false;
  return true;
}

bool File::OpenExisting(const std::wstring& path, int operations) {
  return Open(path, operations, FILEOPEN_OPENEXISTING);
}

bool File::Close() {
  if (!IsOpen()) {
    return false;
  }
  if (_memoryMode) {
    _memoryBase = _memoryCursor = nullptr;
    _memorySize = 0;
    return true;
  }
  _filename.clear();
  return _handle.Close();
}

unsigned File::GetSize() {
  if (!IsOpen()) return 0;
  if (_memoryMode) return _memorySize;
  unsigned long long size;
  return _handle.GetSize(size) ? Clamp32(size) : 0;
}

unsigned File::GetPosition() {
  if (!IsOpen()) return 0;
  if (_memoryMode) return static_cast<unsigned>(_memoryCursor - _memoryBase);
  unsigned long long position;
  return _handle.GetPosition(position) ? Clamp32(position) : 0;
}

bool File::IsEOF() {
  return GetPosition() == GetSize();
}

bool File::Seek(int origin, int offset) {
  if (!IsOpen()) return false;
  if (!_memoryMode) {
    return _handle.Seek(origin, offset);
  }
  const long long size = _memorySize;
  const long long current = _memoryCursor - _memoryBase;
  long long target;
  switch (origin) {
    case 0:
      target = offset;
      break;
    case 1:
      target = current + offset;
      break;
    case 2:
      target = size - offset;
      break;
    default:
      return false;
  }
  if (target < 0 || target > size) {
    return false;
  }
  _memoryCursor = _memoryBase + target;
  return true;
}

unsigned File::Read(void* buffer, unsigned count) {
  if (!IsOpen() || !buffer) return 0;
  if (!_memoryMode) return _handle.Read(buffer, count);
  const unsigned left = _memorySize - GetPosition();
  const unsigned n = count < left ? count : left;
  std::memcpy(buffer, _memoryCursor, n);
  _memoryCursor += n;
  return n;
}

bool File::ReadAll(unsigned char*& buffer, unsigned& size) {
  buffer = nullptr;
  size = 0;
  if (!IsOpen()) return false;
  unsigned long long realSize = _memorySize;
  if (!_memoryMode && !_handle.GetSize(realSize)) return false;
  if (realSize >= std::numeric_limits<unsigned>::max() || !Seek(0, 0)) return false;
  const auto wanted = static_cast<unsigned>(realSize);
  auto* data = new unsigned char[wanted ? wanted : 1];
  if (Read(data, wanted) != wanted) {
    delete[] data;
    return false;
  }
  buffer = data;
  size = wanted;
  return true;
}

unsigned File::Write(const void* buffer, unsigned count) {
  if (!IsOpen() || !buffer) return 0;
  if (!_memoryMode) return _handle.Write(buffer, count);
  if (_fileOperations != FILEOPS_READ_WRITE) return 0;
  const unsigned left = _memorySize - GetPosition();
  const unsigned n = count < left ? count : left;
  std::memcpy(_memoryCursor, buffer, n);
  _memoryCursor += n;
  return n;
}

bool File::Flush() {
  if (!IsOpen()) return false;
  return _memoryMode || _handle.Flush();
}

std::wstring File::Describe() {
  std::wstring out = L"File: _filename=" + _filename;
  if (_fileOpenType == FILEOPEN_NEW)
    out += L" _fileOpenType=FILEOPEN_NEW";
  else if (_fileOpenType == FILEOPEN_OPENEXISTING)
    out += L" _fileOpenType=FILEOPEN_OPENEXISTING";
  if (_fileOperations == FILEOPS_READ)
    out += L" _fileOperations=FILEOPS_READ";
  else if (_fileOperations == FILEOPS_READ_WRITE)
    out += L" _fileOperations=FILEOPS_READ_WRITE";
  return out;
}

}  // namespace LLF
