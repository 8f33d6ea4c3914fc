#pragma once
// The script's side of a level for the play-mode tests: the host, updated
// every frame, and the codes the mode ends with.
#include <vector>

#include "HeadlessVoyage.h"
#include "model/StateMachine.h"
#include "modes/GameModeHost.h"

namespace QmTest {

class ModeDriver : public HLF::StateMachine {
 public:
  void Update(unsigned dt) override;
  bool OnMessage(LLF::Message* msg) override;

  // The running level released, with the controls it leaves to be deleted.
  void Release();
  // The running level released and info's started; its mode, or null when
  // it did not start.
  GameMode* Restart(const LevelInfo& info);
  // info started and played on game's clock past the screen's fade-in and
  // the gradient's sweep, a first meeting's message answered; its mode, or
  // null when it did not start.
  GameMode* StartOnScreen(HeadlessVoyage& game, const LevelInfo& info);

  GameModeHost host;
  std::vector<int> codes;
};

}  // namespace QmTest
