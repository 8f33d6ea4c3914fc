#include "FrameDriver.h"

#include "model/Control.h"
#include "model/GameServices.h"
#include "render/IRenderSystem.h"

namespace QmTest {

namespace {
unsigned g_now = 1000;
}

unsigned ManualClock::Now() {
  return g_now;
}

void ManualClock::Advance(unsigned ms) {
  g_now += ms;
}

FrameDriver::FrameDriver(HLF::Control* root, LLF::IRenderSystem* rs)
    : _root(root), _rs(rs), _timer(&ManualClock::Now) {
  _timer.Start(false);
}

unsigned FrameDriver::Step(unsigned ms) {
  ManualClock::Advance(ms);
  const unsigned dt = static_cast<unsigned>(_timer.GetDelta());
  _root->PreUpdate();
  _root->Update(dt);
  if (_rs && _rs->BeginFrame()) {
    _root->Render(_rs, nullptr);
    _rs->EndFrame();
  }
  HLF::GameServices::DeleteDeferred();
  return dt;
}

void FrameDriver::Run(int frames, unsigned ms) {
  for (int i = 0; i < frames; ++i) {
    Step(ms);
  }
}

}  // namespace QmTest
