#pragma once
// The game's top-level script: the state machine the game shell runs as its
// current scene, embedded in the application object. It creates the
// scenes, adds them to the shell's "GAME" layer and deletes them again.
//
// States so far:
// - 0 the splash: the screen clears to black, the script listens to the
//   window and hands its input to the splash screen; the menu is made (not
//   yet shown), the music list "MAIN" of musics.xml is loaded, blocking,
//   and the menu's music starts;
// - 1 the splash has finished: it goes, and the menu takes the game layer;
// - 2 Play: the menu hides and the showcase (see Showcase) is shown where
//   the map of days will be; its "Back" button leads back to the menu;
// - 4 back from the showcase: it goes and the menu returns;
// - 7 Quit: the window is asked to quit.
#include <memory>
#include <string>

#include "flow/Showcase.h"
#include "model/StateMachine.h"
#include "shell/AssetsLoader.h"

namespace LLF {
class IRenderSystem;
}

namespace HLF {
class SplashScreen;
}  // namespace HLF

class GameMode;
class MarshMenu;

class TheZentaScript : public HLF::StateMachine {
 public:
  enum State {
    CS_STATE_SPLASHSHOW = 0,
    CS_STATE_SPLASHDONE = 1,
    CS_STATE_MENU_SHOWMAP = 2,
    CS_STATE_MAP_SHOWMENU = 4,
    CS_STATE_QUITGAME = 7,
  };

  TheZentaScript() = default;
  ~TheZentaScript() override = default;

  // The splash screen's frame, then the pending state change.
  void Update(unsigned dt) override;
  // Logs the state entered, then its actions.
  void DoState() override;

  // Makes the script the shell's current scene and enters the splash. True.
  virtual bool Init(const std::wstring& argument);
  // Removes and deletes what the script created, then releases its assets.
  // Runs once, from the application's shutdown, before the shell's own.
  virtual void Release();
  // Called after the control tree is drawn; nothing to draw of its own.
  virtual void Render(LLF::IRenderSystem* rs);
  virtual MarshMenu* GetMainMenu() { return mainMenu; }
  // The running play mode; none yet.
  virtual GameMode* GetGameMode();
  // Stores the running level's progress and resume position (there is no
  // level to store yet). True: the window may close.
  virtual bool SaveRunningLevel();

  // The window's input (to the splash) and the scenes' reports.
  bool OnMessage(LLF::Message* msg) override;

  HLF::SplashScreen* GetSplash() const { return splash; }
  // The showcase while its state lasts, or null.
  Showcase* GetShowcase() const { return showcase.get(); }

 private:
  void ShowSplash();
  void SplashDone();
  void StartShowcase();
  void ListenToWindow(bool listen);

  HLF::SplashScreen* splash = nullptr;
  MarshMenu* mainMenu = nullptr;
  std::unique_ptr<Showcase> showcase;
  HLF::AssetsLoader musicLoader;
  bool listening = false;
};
