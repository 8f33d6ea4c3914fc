#include "ModeDriver.h"

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

}  // namespace QmTest
