#include "ModeDriver.h"

#include "model/GameServices.h"

namespace QmTest {

void ModeDriver::Update(unsigned dt) {
  host.Update(dt);
  HLF::StateMachine::Update(dt);
}

bool ModeDriver::OnMessage(LLF::Message* msg) {
  const int code = msg ? host.OnModeMessage(*msg, this) : -1;
  if (code >= 0) codes.push_back(code);
  return true;
}

void ModeDriver::Release() {
  host.Release();
  HLF::GameServices::DeleteDeferred();
}

GameMode* ModeDriver::Restart(const LevelInfo& info) {
  Release();
  return host.StartLevel(info, this) ? host.GetMode() : nullptr;
}

}  // namespace QmTest
