#pragma once
// The debug console over the top half of the window: every log line in its
// output, a one-line input with a history, and a registry of named
// variables and commands (one name space, ordered by UTF-16 code units, as
// are the aliases) that the input line and code run, read and set.
//
// Threads: log lines arrive through the log's echo from any thread that
// logs, under the log's lock, and take the console's lock after it (lock
// order: log, then console). Nothing logs while holding the console's lock:
// Draw copies what it shows under the lock and draws after releasing it, so
// a render or font error logged while drawing cannot deadlock with a thread
// that is logging. Everything else runs on the main thread.
//
// Shown only when "config/game" of the game's configuration has
// enableConsole="true" exactly, and only once the editor (whose font it
// draws with) has loaded.
#include <map>
#include <string>
#include <vector>

#include "core/MessageReceiver.h"
#include "core/Mutex.h"
#include "core/Singleton.h"
#include "devtools/ConsoleCommand.h"

namespace HLF {

class Control;

// Orders names by their UTF-16 code units (so characters beyond U+FFFF sort
// as their surrogates do, below U+E000).
struct Utf16Less {
  bool operator()(const std::wstring& a, const std::wstring& b) const;
};

class Console : public LLF::MessageReceiver, public LLF::Singleton<Console> {
  LLF_SINGLETON(Console)

 public:
  using CommandHandler = ConsoleCommand::Handler;
  using Registry = std::map<std::wstring, ConsoleCommand, Utf16Less>;
  using Aliases = std::map<std::wstring, std::wstring, Utf16Less>;

  // Aliases expand into aliases at most this deep; deeper is an error line.
  static constexpr int kMaxAliasDepth = 16;

  LLF_KIND_OF(Console, LLF::MessageReceiver)
  // Takes the log's echo away first, so no late log line reaches (and
  // re-creates) a dead console; then unregisters the built-in entries.
  ~Console() override;

  // Key and wheel input while visible; the toggle key while hidden. Always
  // true: the game sees the same keys.
  bool OnMessage(LLF::Message* msg) override;
  virtual bool IsEnabled() const { return _enabled; }
  virtual bool IsVisible() const { return _visible; }
  // Whether the game logs the mouse messages that land on controls
  // ("enableinputlogging"); off at start.
  virtual bool IsInputLogging() const;
  virtual void SetEnabled(bool enabled) { _enabled = enabled; }
  // False, with a warning, when the name is taken (command or variable) or
  // the handler is null.
  virtual bool AddCommand(const std::wstring& name, CommandHandler handler);
  // False, with a warning, when the name is taken. The storage stays the
  // caller's and must outlive the entry.
  virtual bool AddVariable(const std::wstring& name, int type, void* storage);
  // An alias of the name goes first; else the registry entry of any type.
  virtual bool DeleteCommand(const std::wstring& name);
  virtual bool DeleteVariable(const std::wstring& name);
  // Runs one line: an alias, a variable (alone: its value is logged; with
  // words: it is set) or a command. False for an empty or unknown line.
  // Unless quiet, the line itself is logged first.
  virtual bool Execute(const std::wstring& line, bool quiet);
  virtual bool Lock();
  virtual bool Unlock();
  // Visible when the configuration allows it and the editor is loaded.
  virtual void Show();
  virtual void Hide();
  // Once per frame, after the control tree.
  virtual void Draw();
  // Appends one output line; the view follows when it stood on the newest.
  virtual void Print(const std::wstring& line);

  void SetInputLogging(bool on);
  // Tab: completes the input line to the one registry name that holds it
  // (case-blind), or logs the names when several do.
  void CompleteInput();

  // The handler registered under the name, or null (also for variables).
  CommandHandler GetCommand(const std::wstring& name) const;
  const Registry& GetRegistry() const { return _registry; }
  const Aliases& GetAliases() const { return _aliases; }
  // A copy of the output lines, oldest first.
  std::vector<std::wstring> GetLines() const;
  // Empties the output and puts the view back at its start.
  void ClearLines();
  const std::wstring& GetInputLine() const { return _inputLine; }
  void SetInputLine(const std::wstring& line) { _inputLine = line; }
  const std::vector<std::wstring>& GetHistory() const { return _history; }
  // Forgets the history and the browsing position.
  void ClearHistory();
  int GetScrollPosition() const;

  // Words are separated by runs of blanks (tabs are ordinary characters);
  // leading blanks are skipped. The count includes the command word.
  static int GetParamCount(const std::wstring& line);
  // Word n, 1 being the command word; empty when the line has fewer.
  static std::wstring GetParam(const std::wstring& line, int n);
  // The log's echo: each finished log line into the console's output.
  static void EchoLogLine(const std::wstring& line);
  // The name the game shell's start-up knows the echo by.
  static void Echo(const std::wstring& line) { EchoLogLine(line); }

  // The built-in commands.
  static void CmdVideoMode(const std::wstring& line);
  static void CmdHelp(const std::wstring& line);
  static void CmdAlias(const std::wstring& line);
  static void CmdExit(const std::wstring& line);
  static void CmdOpenUrl(const std::wstring& line);
  static void CmdLoad(const std::wstring& line);
  static void CmdEditor(const std::wstring& line);
  static void CmdCreate(const std::wstring& line);
  static void CmdDumpTree(const std::wstring& line);
  static void CmdEnableInputLogging(const std::wstring& line);
  static void CmdGetUniqueSymbols(const std::wstring& line);
  static void CmdImgUtil(const std::wstring& line);
  // The control tree's dumps for "dumptree": names (hidden ones in
  // brackets) indented five blanks per level; the full one adds the
  // modifiers and effects of the root's direct children.
  static void DumpControls(const Control& control, const std::wstring& prefix);
  static void DumpControlsFull(const Control& control, const std::wstring& prefix);

 private:
  Console();

  bool ExecuteAt(const std::wstring& line, bool quiet, int depth);
  void SetVariable(const std::wstring& name, const ConsoleCommand& entry, const std::wstring& line);
  void LogVariable(const std::wstring& name, const ConsoleCommand& entry);
  void OnKeyDown(int key, const std::wstring& text);
  void OnKeyUp(int key);

  bool _enabled = true;
  bool _visible = false;
  std::vector<std::wstring> _history;
  int _historyPosition = -1;
  std::vector<std::wstring> _lines;  // guarded by _mutex
  int _scrollPosition = 0;           // guarded by _mutex
  Registry _registry;
  Aliases _aliases;
  std::wstring _inputLine;
  mutable LLF::Mutex _mutex;
};

}  // namespace HLF
