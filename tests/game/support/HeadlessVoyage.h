#pragma once
// The game's application object without a window, for tests: no render
// system, the program folder given (made the current folder at start-up, as
// the program's own folder is), the user folder under the test run's
// XDG_DATA_HOME, the frame and hover timers on ManualClock. Start plays the
// run function's part up to the main loop and the window's first
// activation; Frame is one pass of the main loop; Stop is Shutdown. The
// factories are emptied, the log's echo removed and the working folder put
// back when it goes.
#include <functional>
#include <string>

#include "flow/TheZentaVoyage.h"

namespace QmTest {

class HeadlessVoyage : public TheZentaVoyage {
 public:
  explicit HeadlessVoyage(const std::string& programFolder);
  ~HeadlessVoyage() override;

  // False when Init fails. withSound: a sound driver is chosen as the
  // window's start would (the silent one when no other starts).
  bool Start(bool withSound = false);
  // Moves ManualClock on by ms and runs one frame.
  void Frame(unsigned ms);
  // Frames of ms each until done() holds or a minute of real time
  // have passed (the loader works in real time); whether done() held.
  bool FramesUntil(const std::function<bool()>& done, unsigned ms = 16);
  // Key releases cut the splash short, frame by frame, until the menu
  // works; whether it does within FramesUntil's time.
  bool SkipToMenu();
  // With the player made current, the menu's Play (OK to the easy-mode
  // question when it is asked), until the script heads for the map.
  bool PlayToMap(const std::wstring& player = L"Fox");
  // Shutdown, once.
  void Stop();
  // How many log lines since Start hold the text (the shell echoes the log
  // into the console).
  static int LogCount(const std::wstring& text);

 protected:
  std::wstring GetProgramFolder() const override { return _programFolder; }
  bool PostInit(const std::wstring& commandLine) override;

 private:
  std::wstring _programFolder;
  std::string _previousDir;
  bool _started = false;
  bool _soundWanted = false;
  bool _withSound = false;
};

// Copies the generated data folder that lies beside the test program
// (scripts, images, fonts, sounds) into folder.
void CopyGeneratedData(const std::string& folder);
// Copies the generated level folders into folder/levels, over what is there.
void CopyGeneratedLevels(const std::string& folder);
// The generated data folder beside the test program, ending with '/'.
std::string GeneratedDataFolder();

}  // namespace QmTest
