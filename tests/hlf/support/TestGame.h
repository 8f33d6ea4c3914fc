#pragma once
// The game shell without a window, for tests: no render system and no sound
// driver are set up, the program folder is a TempFolders program folder
// (made the current folder at start-up, as the program's own folder is),
// the user folder lies under its XDG_DATA_HOME, and the frame and hover
// timers run on ManualClock. Start plays the run function's part up to the
// main loop (start-up hook, folders, Init) and the window's first
// activation; Frame is one pass of the main loop; Stop is Shutdown. Input
// and the window's record come from TestShell. The factories are emptied,
// the log's echo removed and input logging turned off when the game goes,
// so tests start from the same state.
#include <string>

#include "TempFolders.h"
#include "TestShell.h"

namespace QmTest {

class TestGame : public TestShell {
 public:
  explicit TestGame(const TempFolders& folders);
  ~TestGame() override;

  // False when Init fails.
  bool Start();
  // Moves ManualClock on by ms and runs one frame.
  void Frame(unsigned ms);
  // Shutdown, once.
  void Stop();

  bool IsStarted() const { return _started; }
  // Init then judges the window against this desktop instead of the
  // system's.
  void SetDesktop(unsigned width, unsigned height);
  // The user folder, as an OS path ending with '/'.
  std::string UserFolder() const;

  using HLF::Game::_appSettings;

 protected:
  std::wstring GetProgramFolder() const override { return _programFolder; }
  bool PostInit(const std::wstring& commandLine) override;

 private:
  std::wstring _programFolder;
  bool _started = false;
  unsigned _desktopWidth = 0;  // 0: the system's desktop
  unsigned _desktopHeight = 0;
};

}  // namespace QmTest
