#pragma once
// The top-level script's level rows, as the game's script drives the play
// mode through GameModeHost: state 3 starts the level of the resume
// position or of the chosen one, 5 stands for the map after a level, 6 for
// the main menu after one; the mode's codes 2 and 0 lead there. Play acts
// as the main menu's Play: the resume position starts its level at once,
// else the map comes.
#include "map/LevelInfo.h"
#include "model/StateMachine.h"
#include "modes/GameModeHost.h"

namespace QmTest {

class ScriptStandIn : public HLF::StateMachine {
 public:
  enum State { MAP = 2, START_LEVEL = 3, AFTERGAME_MAP = 5, AFTERGAME_MENU = 6 };

  void Update(unsigned dt) override;
  void DoState() override;
  bool OnMessage(LLF::Message* msg) override;

  // The level the map would start: its type becomes "probe".
  void SetChosenLevel(int day, int level);
  void Play();
  // Enters the level state afresh, whatever the state now.
  void StartLevel();
  GameModeHost& GetHost() { return host; }
  // The running level released, with the controls it leaves to be deleted.
  void ReleaseLevel();
  // Whether the last start took the resume position.
  bool Resumed() const { return resumed; }
  int StartsFailed() const { return startsFailed; }

 private:
  GameModeHost host;
  LevelInfo chosen;
  bool resumed = false;
  int startsFailed = 0;
};

}  // namespace QmTest
