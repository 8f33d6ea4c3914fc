#pragma once
// The showcase program's top-level script: the state machine the game shell
// runs as its current scene. There is no splash, menu or profile before
// the showcase: it is shown at once.
//
// States:
// - 0 the showcase is made and starts loading its lists; it shows once
//   they are in;
// - 1 "Back": the showcase goes and, when it had been built, a fresh one is
//   shown in the next frame. A layout that could not be built (logged by
//   the showcase) is not tried again: the screen stays empty.
#include <memory>
#include <string>

#include "demo/Showcase.h"
#include "model/StateMachine.h"

class ShowcaseScript : public HLF::StateMachine {
 public:
  enum State {
    SC_STATE_SHOW = 0,
    SC_STATE_BACK = 1,
  };

  ShowcaseScript() = default;
  ~ShowcaseScript() override = default;

  // Logs the state entered, then its actions.
  void DoState() override;
  // Makes the script the shell's current scene and shows the showcase.
  // True.
  bool Init();
  // Deletes the showcase. Runs from the application's shutdown, before the
  // shell's own.
  void Release();
  // The showcase while it lasts, or null.
  Showcase* GetShowcase() const { return _showcase.get(); }

 private:
  std::unique_ptr<Showcase> _showcase;
};
