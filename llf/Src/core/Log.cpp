#include "core/Log.h"

#include "core/OSUtils.h"

namespace LLF {

std::atomic<Log::EchoFunction> Log::s_echo{nullptr};

Log::Log() : _folder(OS_GetAppDataDir(true)) {}

Log::~Log() {
  Close();
}

void Log::SetEcho(EchoFunction echo) {
  s_echo.store(echo);
}

void Log::ClearEcho(EchoFunction echo) {
  EchoFunction expected = echo;
  s_echo.compare_exchange_strong(expected, nullptr);
}

void Log::SetFolder(const std::wstring& folder) {
  MutexLock lock(_mutex);
  std::wstring normalised = folder;
  if (!normalised.empty() && normalised.back() != L'/' && normalised.back() != L'\\') normalised += L'/';
  if (normalised != _folder) {
    Close();
    _folder = normalised;
  }
}

std::wstring Log::GetFolder() {
  MutexLock lock(_mutex);
  return _folder;
}

std::wstring Log::GetPath() {
  MutexLock lock(_mutex);
  return _folder.empty() ? std::wstring() : _folder + L"log.txt";
}

bool Log::Close() {
  MutexLock lock(_mutex);
  return TextFile::Close();
}

void Log::Write(const std::wstring& text) {
  MutexLock lock(_mutex);
  if (!IsOpen()) {
    if (_folder.empty() || !Open(_folder + L"log.txt", ENCODING_UTF8, FILEOPS_READ_WRITE, FILEOPEN_NEW)) {
      return;
    }
  }
  int year, month, day, hour, minute, second;
  OS_GetLocalTime(year, month, day, hour, minute, second);
  const std::wstring line =
      Format(L"%02d.%02d.%4d / %02d:%02d:%02d ", month, day, year, hour, minute, second) + text + L"\r\n";
  if (const EchoFunction echo = s_echo.load()) {
    echo(line);
  }
  WriteText(line);
}

void Log::WriteSeparator() {
  WriteFormat(L"==============================================================");
}

void Log::WriteStarLine() {
  WriteFormat(L"**************************************************************");
}

}  // namespace LLF
