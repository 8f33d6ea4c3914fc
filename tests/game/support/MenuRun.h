#pragma once
// The game started past its splash to a working menu on a fresh copy of
// the generated data, for the menu and flow tests; the menu and the script
// at hand.
#include <functional>
#include <string>

#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "flow/TheZentaScript.h"
#include "flow/ZentaMainMenu.h"

namespace QmTest {

class MenuRun {
 public:
  MenuRun();

  // The data copied, prepare run on the program folder, then the game
  // started with sound and its splash skipped; whether the menu came.
  bool Start(const std::function<void(const std::string&)>& prepare = nullptr);
  ZentaMainMenu& Menu();
  TheZentaScript& Script();
  void Frames(int count, unsigned ms = 100);
  // A message from the menu to the script, and the frame that acts on it.
  void FromMenu(int code);
  // What the script does when the menu comes back from the map.
  void BackToMenu();

  TempFolders folders;
  HeadlessVoyage game;
};

}  // namespace QmTest
