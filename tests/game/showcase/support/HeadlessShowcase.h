#pragma once
// The showcase program's application object without a window, for tests:
// no render system, the program folder given (made the current folder at
// start-up), the user folder under the test run's XDG_DATA_HOME, the frame
// and hover timers on ManualClock. Start plays the run function's part up
// to the main loop and the window's first activation; Frame is one pass of
// the main loop; Stop is Shutdown. The factories are emptied, the log's
// echo removed and the working folder put back when it goes.
#include <functional>
#include <string>

#include "demo/ShowcaseDemo.h"

namespace QmTest {

class HeadlessShowcase : public ShowcaseDemo {
 public:
  explicit HeadlessShowcase(const std::string& programFolder);
  ~HeadlessShowcase() override;

  // False when Init fails. withSound: a sound driver is chosen as the
  // window's start would (the silent one when no other starts).
  bool Start(bool withSound = false);
  // Moves ManualClock on by ms and runs one frame.
  void Frame(unsigned ms);
  // Frames of ms each until done() holds or a minute of real time
  // have passed (the loader works in real time); whether done() held.
  bool FramesUntil(const std::function<bool()>& done, unsigned ms = 16);
  // Frames until the showcase's screen is built.
  bool UntilShown();
  // The showcase's screen, or null.
  HLF::Control* Screen();
  // Shutdown, once.
  void Stop();
  // How many log lines since Start hold the text (the shell echoes the log
  // into the console).
  static int LogCount(const std::wstring& text);

 protected:
  bool PostInit(const std::wstring& commandLine) override;

 private:
  std::string _previousDir;
  bool _started = false;
  bool _soundWanted = false;
  bool _withSound = false;
};

// Lays the showcase's data (the generated data folder beside the test
// program, the showcase's own files over it) into folder; false, with an
// added failure, when it can't.
bool LayShowcaseData(const std::string& folder);

}  // namespace QmTest
