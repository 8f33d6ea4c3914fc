#include "ModeDriver.h"

#include "dialogs/Dialog.h"
#include "model/GameServices.h"
#include "modes/GameMode.h"

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

GameMode* ModeDriver::StartOnScreen(HeadlessVoyage& game, const LevelInfo& info) {
  if (!host.StartLevel(info, this)) return nullptr;
  GameMode* mode = host.GetMode();
  for (int t = 0; t < 7000; t += 100) game.Frame(100);
  if (mode->GetMessageDialog()) mode->GetMessageDialog()->OnOk();
  game.Frame(600);
  return mode;
}

}  // namespace QmTest
