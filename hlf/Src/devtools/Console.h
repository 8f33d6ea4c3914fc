#pragma once
// The debug console as the game shell sees it: a receiver of the window's
// messages, a registry of named commands, the output lines every log line
// is echoed into, and the word splitting every command handler uses. This
// version keeps what it is given and draws nothing; the developer tools
// give it its input line, its variables and its drawing.
//
// The log's echo (EchoLogLine) runs under the log's lock and takes the
// console's own lock after it; nothing here writes to the log while holding
// the console's lock.
#include <map>
#include <string>
#include <vector>

#include "core/MessageReceiver.h"
#include "core/Mutex.h"
#include "core/Singleton.h"

namespace HLF {

class Console : public LLF::MessageReceiver, public LLF::Singleton<Console> {
  LLF_SINGLETON(Console)

 public:
  // A command handler gets the whole command line as typed.
  using CommandHandler = void (*)(const std::wstring& line);

  LLF_KIND_OF(Console, LLF::MessageReceiver)
  // Takes the log's echo away first, so no late log line reaches a dead
  // console.
  ~Console() override;

  // Window input; taken and passed on (true) whatever it is.
  bool OnMessage(LLF::Message* msg) override;
  // Whether the game logs its mouse events ("enableinputlogging"); off at
  // start.
  virtual bool IsInputLogging() const;
  void SetInputLogging(bool on);
  // False, with a warning, when the name is already registered or the
  // handler is null.
  virtual bool AddCommand(const std::wstring& name, CommandHandler handler);
  // Draws nothing yet.
  virtual void Draw();
  // Appends one output line.
  virtual void Print(const std::wstring& line);

  // The handler registered under the name, or null.
  CommandHandler GetCommand(const std::wstring& name) const;
  // A copy of the output lines, oldest first.
  std::vector<std::wstring> GetLines() const;
  void ClearLines();

  // Words are separated by runs of blanks (tabs are ordinary characters);
  // leading blanks are skipped. The count includes the command word.
  static int GetParamCount(const std::wstring& line);
  // Word n, 1 being the command word; empty when the line has fewer.
  static std::wstring GetParam(const std::wstring& line, int n);
  // The log's echo: each finished log line into the console's output.
  static void EchoLogLine(const std::wstring& line);
  // The name the game shell's start-up knows the echo by.
  static void Echo(const std::wstring& line) { EchoLogLine(line); }

 private:
  Console() = default;

  std::map<std::wstring, CommandHandler> _commands;
  std::vector<std::wstring> _lines;
  bool _inputLogging = false;
  mutable LLF::Mutex _mutex;  // guards _lines: the log echoes from any thread
};

}  // namespace HLF
