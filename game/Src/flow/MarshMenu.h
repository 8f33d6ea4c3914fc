#pragma once
// The game's main menu as it stands until the full one is built: the
// framework's menu on the moonlit-marsh background with the title above a
// panel that holds the welcome label and the Play, Options and Quit
// buttons. It loads what it shows itself, blocking, before the controls are
// made: the "GUI" lists of fonts.xml and images.xml, "MAINMENU" of
// images.xml and "MAIN" of sounds.xml. It plays "menu_music" (the script
// has loaded the music list) and hands it to the options dialog.
//
// To its receiver, the script: code 2 when the player wants to play, code
// 0 when the player quits.
#include "shell/AssetsLoader.h"
#include "shell/MainMenu.h"

class MarshMenu : public HLF::MainMenu {
 public:
  explicit MarshMenu(LLF::MessageReceiver* receiver);

  LLF_KIND_OF(MarshMenu, HLF::MainMenu)
  ~MarshMenu() override = default;

  // Logs the state; state 0 loads the lists, builds and places the
  // controls and moves on to state 1.
  void DoState() override;
  // Code 2 to the receivers. True.
  bool Play() override;
  // Leaves (state 2) and closes. True.
  bool Quit() override;
  // Starts "menu_music" when it is loaded and the sound driver runs; the
  // menu keeps it as its music.
  void PlayMenuMusic();

  static constexpr int MENU_MSG_PLAY = 2;

 private:
  void LoadAssets();
  // The background, the title and the four controls, in drawing order.
  void Arrange();

  HLF::AssetsLoader loader;
};
