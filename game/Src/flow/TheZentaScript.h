#pragma once
// The game's top-level script: the state machine the game shell runs as its
// current scene, embedded in the application object. It creates the
// scenes, adds them to the shell's "GAME" layer and deletes them again.
//
// Its one state so far is the showcase (see Showcase), which it creates on
// entering the state and deletes on release.
#include <memory>
#include <string>

#include "flow/Showcase.h"
#include "model/StateMachine.h"

namespace LLF {
class IRenderSystem;
}

class GameMode;

class TheZentaScript : public HLF::StateMachine {
 public:
  enum State {
    CS_STATE_SHOWCASE = 0,
  };

  TheZentaScript() = default;
  ~TheZentaScript() override = default;

  // Logs the state entered, then its actions.
  void DoState() override;

  // Makes the script the shell's current scene and enters its first state.
  // True.
  virtual bool Init(const std::wstring& argument);
  // Removes and deletes what the script created, then releases its assets.
  // Runs once, from the application's shutdown, before the shell's own.
  virtual void Release();
  // Called after the control tree is drawn; nothing to draw of its own.
  virtual void Render(LLF::IRenderSystem* rs);
  // The running play mode; none yet.
  virtual GameMode* GetGameMode();
  // Stores the running level's progress and resume position (there is no
  // level to store yet). True: the window may close.
  virtual bool SaveRunningLevel();

  // The showcase while its state lasts, or null.
  Showcase* GetShowcase() const { return showcase.get(); }

 private:
  void StartShowcase();

  std::unique_ptr<Showcase> showcase;
};
