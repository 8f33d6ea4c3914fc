#include "core/ICodec.h"

#include <cstring>

#include "core/StringUtils.h"
#include "io/File.h"

namespace LLF {

ICodec::ICodec() = default;

std::wstring ICodec::Dump() const {
  return L"ICodec info: \r\nAuthor: " + GetAuthor() + L"\r\nVersion: " + GetVersion() + L"\r\nDescription: " +
         GetDescription() + L"\r\nShort descr.: " + GetShortDescription() + L"\r\nFile extensions: " +
         GetExtensions();
}

std::wstring ICodec::GetLastError() const {
  std::lock_guard<std::mutex> lock(_lastErrorLock);
  return _lastError;
}

void ICodec::SetLastError(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(_lastErrorLock);
  _lastError = text;
}

void ICodec::Describe(const wchar_t* description, const wchar_t* shortDescription,
                      const wchar_t* extensions) {
  _author = L"Brenvik, 2007";
  _version = L"1.0";
  _description = description;
  _shortDescription = shortDescription;
  _extensions = extensions;
}

bool ICodec::HasSignature(File&) const {
  return false;
}

bool ICodec::IsExtensionSupported(const std::wstring& fileName) const {
  const size_t dot = fileName.rfind(L'.');
  if (dot == std::wstring::npos) return false;
  const std::wstring extension = StrToLower(fileName.substr(dot + 1));
  const std::wstring list = GetExtensions();
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(L' ', start);
    if (end == std::wstring::npos) end = list.size();
    if (StrToLower(list.substr(start, end - start)) == extension) return true;
    start = end + 1;
  }
  return false;
}

std::wstring ICodec::FileNameOf(const File& file) {
  return file.GetFileName();
}

bool ICodec::StartsWith(File& file, const uint8_t* bytes, unsigned count) {
  const unsigned position = file.GetPosition();
  uint8_t start[16];
  const bool same = count <= sizeof(start) && file.Seek(0, 0) && file.Read(start, count) == count &&
                    std::memcmp(start, bytes, count) == 0;
  file.Seek(0, int(position));
  return same;
}

}  // namespace LLF
