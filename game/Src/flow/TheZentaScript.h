#pragma once
// The game's top-level script: the state machine the game shell runs as its
// current scene, embedded in the application object. It decides which scene
// is on screen, creates each when it is needed, adds it to the shell's
// "GAME" layer and deletes it when it is done; it keeps the player's resume
// position (the level left unfinished) and registers the game's console
// command and results dialog.
//
// States:
// - 0 the splash: the screen clears to black, the script listens to the
//   window and hands its input to the splash screen; the menu is made (not
//   yet shown), the music list "MAIN" of musics.xml is loaded, blocking,
//   and the menu's music starts;
// - 1 the splash has finished: it goes, and the menu takes the game layer;
// - 2 Play, towards the map of days: a new map (also on the map's next
//   day), the menu hidden;
// - 3 a level starts: the resume position's or the map's, in the play mode
//   its type names (a type no mode takes, or a level that does not load,
//   goes on as 5); the map goes;
// - 4 the map's Back: the menu with its fades;
// - 5 after a level (the mode's code 2): a fresh map;
// - 6 after a level (the mode's code 0): the menu;
// - 7 Quit: the window is asked to quit.
#include <string>

#include "model/StateMachine.h"
#include "modes/GameModeHost.h"
#include "shell/AssetsLoader.h"

namespace LLF {
class IRenderSystem;
}

namespace HLF {
class Control;
class SplashScreen;
}  // namespace HLF

class GameMode;
class ZentaLevelMap;
class ZentaMainMenu;

class TheZentaScript : public HLF::StateMachine {
 public:
  enum State {
    CS_STATE_SPLASHSHOW = 0,
    CS_STATE_SPLASHDONE = 1,
    CS_STATE_MENU_SHOWMAP = 2,
    CS_STATE_MAP_STARTLEVEL = 3,
    CS_STATE_MAP_SHOWMENU = 4,
    CS_STATE_AFTERGAME_SHOWMAP = 5,
    CS_STATE_AFTERGAME_SHOWMENU = 6,
    CS_STATE_QUITGAME = 7,
  };

  TheZentaScript() = default;
  ~TheZentaScript() override = default;

  // The running mode's frame, the splash screen's, then the pending state
  // change.
  void Update(unsigned dt) override;
  // Logs the state entered, then its actions.
  void DoState() override;

  // Registers "winlevel" and the results dialog's prototype, makes the
  // script the shell's current scene and enters the splash. True.
  virtual bool Init(const std::wstring& argument);
  // Removes and deletes what the script created, then releases its assets.
  // Runs once, from the application's shutdown, before the shell's own.
  virtual void Release();
  // Called after the control tree is drawn; nothing to draw of its own.
  virtual void Render(LLF::IRenderSystem* rs);
  // The resume position in the current profile (stats/playDay, playLev);
  // the profile file is saved with the next save of the profiles.
  virtual void SaveLevelPos(int day, int level);
  // Both -1 when there is none; a position whose level has been completed
  // meanwhile is cleared.
  virtual void LoadLevelPos(int& day, int& level);
  virtual ZentaMainMenu* GetMainMenu() { return mainMenu; }
  virtual ZentaLevelMap* GetLevelMap() { return levelMap; }
  // The running play mode, or null.
  virtual GameMode* GetGameMode();
  // Stores the running level's progress and resume position. True: the
  // window may close.
  virtual bool SaveRunningLevel();

  // The window's input (to the splash) and the scenes' reports.
  bool OnMessage(LLF::Message* msg) override;

  HLF::SplashScreen* GetSplash() const { return splash; }

  // The console command: "winlevel <access word>" wins the running level.
  static void WinLevelCommand(const std::wstring& line);

 private:
  void ShowSplash();
  void SplashDone();
  void ListenToWindow(bool listen);
  void StartLevel();
  // The menu back on screen in its working state, with its columns, band,
  // a screen fade on fadeOwner and its music faded in.
  void BackToMenu(HLF::Control* fadeOwner, bool resumeMusic);

  // Makes, runs and deletes the play mode of the level started.
  GameModeHost modeHost;
  ZentaMainMenu* mainMenu = nullptr;
  ZentaLevelMap* levelMap = nullptr;
  HLF::SplashScreen* splash = nullptr;
  HLF::AssetsLoader musicLoader;
  bool listening = false;
};
