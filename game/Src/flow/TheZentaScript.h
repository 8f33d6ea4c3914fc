#pragma once
// The game's top-level script: the state machine the game shell runs as its
// current scene, embedded in the application object. It creates the
// scenes, adds them to the shell's "GAME" layer and deletes them again.
//
// Its one state so far is the showcase: the "GUI" lists of fonts.xml and
// images.xml load on the shell's loader thread, and once the loader reports
// that it is done the layout "scripts/dialogs/showcase.xml" (section
// "showcase", object "screen") is built into the game layer with its
// emitters started. A load with failures still builds the showcase (with a
// warning), so a missing picture shows as a placeholder, not as a black
// screen.
#include <string>

#include "model/StateMachine.h"
#include "shell/AssetsLoader.h"

namespace LLF {
class IRenderSystem;
}

namespace HLF {
class Control;
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

  // The loader's messages.
  bool OnMessage(LLF::Message* msg) override;

  // The showcase in the game layer, or null.
  HLF::Control* GetShowcase() const { return showcase; }
  const HLF::AssetsLoader& GetShowcaseLoader() const { return showcaseLoader; }

 private:
  void StartShowcase();
  void BuildShowcase();

  HLF::Control* showcase = nullptr;  // owned through the game layer
  HLF::AssetsLoader showcaseLoader;
};
