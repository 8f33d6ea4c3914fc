#pragma once
// The top-level script's side of a level: it makes the play mode of the
// level's type, loads it, listens to it, and deletes it when it reports the
// level over. The script embeds one host and drives it:
//
// - entering the level state: StartLevel(info, script); a false answer (an
//   unknown type, or a level that did not load) has been logged and left no
//   mode and no resume position: the script goes on as after a level, to
//   the map;
// - every frame, before its own update: Update(dt);
// - in its message handler: OnModeMessage(msg, script); a code of 2 says go
//   to the map, 0 to the main menu, -1 that the message was not the mode's
//   or needs nothing;
// - the window's close: SaveRunningLevel(); the console's winlevel: Win();
//   shutdown: Release().
//
// Modes are known by their level type through a table that each mode adds
// itself to with RegisterType.
#include <functional>
#include <map>
#include <string>

#include "map/LevelInfo.h"

namespace LLF {
class Message;
class MessageReceiver;
}  // namespace LLF

class GameMode;

class GameModeHost {
 public:
  using Factory = std::function<GameMode*()>;

  GameModeHost() = default;
  GameModeHost(const GameModeHost&) = delete;
  GameModeHost& operator=(const GameModeHost&) = delete;
  // Deletes a mode still running, without saving.
  ~GameModeHost();

  // The mode made for levels of the type, replacing one of the same type.
  static void RegisterType(const std::wstring& type, Factory factory);
  // The game's own play modes, by level type; the table starts with them.
  static std::map<std::wstring, Factory> BuiltInTypes();
  static void UnregisterType(const std::wstring& type);
  static bool IsTypeRegistered(const std::wstring& type);

  // Makes the mode of info's type and loads the level; the receiver then
  // listens to it. False, with an error line, when the type is unknown or
  // the level does not load: the mode is deleted unsaved and the resume
  // position cleared.
  bool StartLevel(const LevelInfo& info, LLF::MessageReceiver* receiver);
  // The running mode's frame.
  void Update(unsigned dt);
  // For a code 0 or 2 of the running mode: the screen fade colour goes
  // opaque black, the receiver stops listening, the mode is queued for
  // deletion at the shell's next safe point (it is still inside its own
  // send) and forgotten. Gives that code; -1 for anything else.
  int OnModeMessage(const LLF::Message& msg, LLF::MessageReceiver* receiver);
  // The running level's progress and resume position (the current day and
  // the level's index). True: the window may close.
  bool SaveRunningLevel();
  // The console's winlevel: the running mode wins; nothing without one.
  void Win();
  // Deletes the running mode, unsaved.
  void Release();

  GameMode* GetMode() const { return mode; }

 private:
  GameMode* mode = nullptr;
};
