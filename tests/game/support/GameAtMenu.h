#pragma once
// The game as the level tests start it: a copy of the generated data (and
// of its level folders when asked) in a fresh program folder; Start runs
// the game with sound past the splash to a working menu, makes the player
// "Fox" current, hides the menu and resets the modes' run flags. Files the
// test writes into the program folder before Start are the game's.
#include <memory>
#include <string>

#include "HeadlessVoyage.h"
#include "TempFolders.h"

namespace LLF {
class Image;
}

namespace QmTest {

class GameAtMenu {
 public:
  explicit GameAtMenu(bool withLevels = false);

  // Whether the game started and its menu works. The splash is skipped a
  // second time when a busy machine makes it outlast the first go.
  bool Start();
  HeadlessVoyage& Game() const { return *_game; }
  HeadlessVoyage* operator->() const { return _game.get(); }
  const TempFolders& Folders() const { return _folders; }
  const std::string& Program() const { return _folders.Program(); }
  // A left button press and release at the window point, through the shell
  // and the whole control tree.
  void Click(int x, int y) const;

 private:
  TempFolders _folders;
  std::unique_ptr<HeadlessVoyage> _game;  // goes before the folders it runs in
};

// Turns the running shell's tips on or off; false when its config has no
// such setting.
bool SetTips(bool on);

// Saves a screen shot as name in the folder QM_SHOT_DIR names, when it is
// set, for looking at by eye.
void SaveShot(const LLF::Image& shot, const char* name);

}  // namespace QmTest
