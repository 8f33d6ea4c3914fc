#pragma once
// Frame stepping on a clock the test moves by hand. A frame is what the
// game shell does each frame: PreUpdate and Update on the root with the
// time since the last frame, drawing when a render system is given, then
// the safe point where deferred deletions happen.
#include "core/Timer.h"

namespace LLF {
class IRenderSystem;
}

namespace HLF {
class Control;
}

namespace QmTest {

// A millisecond clock for LLF::Timer that moves only when told.
class ManualClock {
 public:
  static unsigned Now();
  static void Advance(unsigned ms);
};

class FrameDriver {
 public:
  explicit FrameDriver(HLF::Control* root, LLF::IRenderSystem* rs = nullptr);

  // Moves the clock on by ms and runs one frame; returns the frame time the
  // tree was given.
  unsigned Step(unsigned ms);
  void Run(int frames, unsigned ms);

 private:
  HLF::Control* _root;
  LLF::IRenderSystem* _rs;
  LLF::Timer _timer;
};

}  // namespace QmTest
