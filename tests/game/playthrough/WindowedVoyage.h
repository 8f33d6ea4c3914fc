#pragma once
// The game's application object with its real window (SDL's offscreen
// video in tests) and its OpenGL render system, in the test process: the
// program folder given, the frame and hover timers on ManualClock, window
// input handed to the shell as the window would hand it. Frames are
// stepped by the test and read back from the back buffer.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "flow/TheZentaVoyage.h"

namespace LLF {
class Image;
}

namespace HLF {
class Control;
}

namespace QmTest {

class WindowedVoyage : public TheZentaVoyage {
 public:
  explicit WindowedVoyage(const std::string& programFolder);
  ~WindowedVoyage() override;

  // The start-up hook and Init with the window, its sound driver and its
  // render system; false when any of them fails.
  bool Start();
  void Stop();
  // Moves the clock on by ms and runs one pass of the main loop (drawing
  // included).
  void Frame(unsigned ms = 16);
  void Run(unsigned totalMs, unsigned stepMs = 50);
  // Frames until done() holds, or false after realLimit of real time (the
  // asset loader works in real time). A wait whose length is game time,
  // such as a day's clock running out, needs a limit that holds on a busy
  // machine too.
  bool FramesUntil(const std::function<bool()>& done, unsigned ms = 16,
                   std::chrono::seconds realLimit = std::chrono::seconds(120));

  // Input as the window sends it to its receivers (the shell first): a
  // key released; a left click (move, press, release) at the window point.
  void Key(int key);
  void Click(int x, int y);
  void MoveMouse(int x, int y);
  // A left click at the centre of the control's rectangle on screen;
  // false when there is no control.
  bool ClickControl(const HLF::Control* control);
  // The last drawn frame, read back (null when it cannot be read).
  std::unique_ptr<LLF::Image> Grab();
  // The last frame, also written as name.png into the review folder.
  std::unique_ptr<LLF::Image> Shot(const std::string& name);
  // The folder the frames go to, beside the test program.
  static std::string ShotFolder();

 protected:
  std::wstring GetProgramFolder() const override { return _programFolder; }

 private:
  std::wstring _programFolder;
  std::string _previousDir;
  bool _started = false;
};

}  // namespace QmTest
