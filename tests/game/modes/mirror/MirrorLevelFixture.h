#pragma once
// A Mirror level written by the test into the program folder (on the
// generated pictures of d1_mirror), started through GameModeHost as the
// top-level script starts a level, in the real shell on the generated
// data, with window clicks routed through the whole control tree.
//
// The standard level, "levels/t_mirror/": five differences, with a comment
// and an element without dims among them (both skipped):
//   0 pos 500,40   dims 30,30   (right half)
//   1 pos 100,200  dims 40,20   (left)
//   2 pos 250,300  dims 60,60   (left)
//   3 pos 270,320  dims 60,60   (left, overlapping 2)
//   4 pos 600,400  dims 20,20   (right)
#include <string>
#include <vector>

#include "GameAtMenu.h"
#include "HeadlessVoyage.h"
#include "ModeDriver.h"
#include "map/LevelInfo.h"
#include "modes/mirror/GameModeMirror.h"

namespace QmTest {

class MirrorLevelFixture {
 public:
  static const char* const kStandardObjects;

  // The shell started on a copy of the generated data, the player "Fox"
  // current, tips off.
  MirrorLevelFixture();
  ~MirrorLevelFixture();
  // Whether the shell started and reached the menu.
  bool Ready() const { return ready; }

  // levels/<name>/level.xml with the background (unless told not to) and
  // the given children, and its asset.xml.
  void WriteLevel(const std::string& name, const std::string& children, bool background = true);
  // The level of that folder started; the mode, or null when it did not
  // load.
  GameModeMirror* Start(const std::string& name = "t_mirror");
  // Started and run until the clock runs.
  GameModeMirror* StartRunning(const std::string& name = "t_mirror");
  GameModeMirror* Mode() const { return dynamic_cast<GameModeMirror*>(driver.host.GetMode()); }
  void Release() { driver.Release(); }

  void Run(unsigned total, unsigned step = 100);
  // A window button release at (x, y), through the shell and the tree.
  void Click(int x, int y);
  void MoveMouse(int x, int y);

  static std::wstring Var(const std::wstring& path, const std::wstring& attribute);
  static void SetVar(const std::wstring& path, const std::wstring& attribute, const std::wstring& value);
  static std::wstring LevelPath() { return L"levels/day_0/t_mirror"; }

  HeadlessVoyage& Game() { return start.Game(); }
  GameModeHost& Host() { return driver.host; }
  // The codes the mode sent (2: to the map).
  const std::vector<int>& Codes() const { return driver.codes; }

 private:
  GameAtMenu start;
  ModeDriver driver;
  bool ready = false;
};

}  // namespace QmTest
