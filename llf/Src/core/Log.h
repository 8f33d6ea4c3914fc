#pragma once
// The program's single log: "log.txt" in UTF-8 with its byte-order mark,
// created anew on the first entry of a run, one time-stamped line per entry
// ("MM.DD.YYYY / hh:mm:ss " then the text and CR LF). Any thread may write;
// each entry, its echo included, is written under the log's lock, so lines
// never interleave. The echo runs under that lock (lock order: log, then
// whatever the echo takes) and must not write to the log. The log never
// throws and never reports its own failures: an entry that cannot be
// written is dropped.
#include <atomic>
#include <string>

#include "core/Format.h"
#include "core/Mutex.h"
#include "core/Singleton.h"
#include "io/TextFile.h"

namespace LLF {

class Log : public TextFile, public Singleton<Log> {
  LLF_SINGLETON(Log)

 public:
  using EchoFunction = void (*)(const std::wstring& line);

  // Longest text of a formatted entry; longer results are cut.
  static constexpr size_t kMaxFormattedLength = 2047;

  LLF_KIND_OF(Log, TextFile)
  ~Log() override;

  // Receives every finished line, stamp and CR LF included; null removes it.
  static void SetEcho(EchoFunction echo);
  static void SetEchoCallback(EchoFunction echo) { SetEcho(echo); }
  static EchoFunction GetEcho() { return s_echo.load(); }
  // Removes the echo only when it is the given one (a later owner's stays).
  static void ClearEcho(EchoFunction echo);

  // The folder "log.txt" goes to (a separator is added when missing); the
  // per-user data folder until set. A change closes the open file, so the
  // next entry starts a new log there.
  void SetFolder(const std::wstring& folder);
  std::wstring GetFolder();
  std::wstring GetPath();

  // Closes the file when open and gives the close's result; false when it
  // was not open. The next entry starts the file afresh.
  bool Close() override;

  // One entry: the text as it stands (a '%' in it is plain text). File's
  // byte write stays visible beside it.
  using TextFile::Write;
  void Write(const std::wstring& text);
  // One entry formatted by LLF::Format and cut at kMaxFormattedLength.
  template <class... Args>
  void WriteFormat(const wchar_t* format, const Args&... args) {
    std::wstring text = Format(format, args...);
    if (text.size() > kMaxFormattedLength) text.resize(kMaxFormattedLength);
    Write(text);
  }
  // A line of 62 '='.
  void WriteSeparator();
  // A line of 62 '*'.
  void WriteStarLine();

  // The lock every entry is written under; hold it to keep several entries
  // together.
  Mutex& GetMutex() { return _mutex; }

 private:
  Log();

  Mutex _mutex;
  std::wstring _folder;
  static std::atomic<EchoFunction> s_echo;
};

}  // namespace LLF
