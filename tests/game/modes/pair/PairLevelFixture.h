#pragma once
// A Pair level written by the test into the program folder (on the
// generated item icons), started through GameModeHost as the top-level
// script starts a level, in the real shell on the generated data, with
// window clicks routed through the whole control tree.
//
// The standard level, "levels/t_pair/", two scenes of 64 x 64 icons:
//   scene_01  left:  ball_red (100,300)        the pane's odd item
//                    star_blue (250,100)       unmatched too: a wrong item
//                    ring_green (100,300)      over ball_red, a hole at its
//                                              centre (132,332)
//                    ghost (250,300)           no picture
//             right: ring_green (500,300), diamond_yellow (600,100) odd,
//                    ghost (650,300)
//   scene_02  left:  ball_blue (100,100), triangle_green (200,200) odd
//             right: ball_blue (500,100), diamond_yellow (600,200) odd
#include <string>
#include <vector>

#include "GameAtMenu.h"
#include "HeadlessVoyage.h"
#include "ModeDriver.h"
#include "map/LevelInfo.h"
#include "modes/pair/GameModePair.h"

namespace QmTest {

class PairLevelFixture {
 public:
  static const char* const kStandardScenes;

  // The shell started on a copy of the generated data, the player "Fox"
  // current, tips off.
  PairLevelFixture();
  ~PairLevelFixture();
  bool Ready() const { return ready; }

  // levels/<name>/level.xml with the scenes given as the level's children
  // (and the attribute assetFile unless told not to), and its asset.xml.
  void WriteLevel(const std::string& name, const std::string& scenes, bool assetFile = true);
  // The level of that folder started; the mode, or null when it did not
  // load.
  GameModePair* Start(const std::string& name = "t_pair");
  // Started and run until the clock runs.
  GameModePair* StartRunning(const std::string& name = "t_pair");
  GameModePair* Mode() const { return dynamic_cast<GameModePair*>(driver.host.GetMode()); }
  void Release() { driver.Release(); }

  void Run(unsigned total, unsigned step = 100);
  // A window button release at (x, y), through the shell and the tree.
  void Click(int x, int y);

  static std::wstring Var(const std::wstring& attribute, const std::wstring& path = LevelPath());
  static void SetVar(const std::wstring& attribute, const std::wstring& value,
                     const std::wstring& path = LevelPath());
  static std::wstring LevelPath() { return L"levels/day_0/t_pair"; }

  HeadlessVoyage& Game() { return start.Game(); }
  GameModeHost& Host() { return driver.host; }
  const std::vector<int>& Codes() const { return driver.codes; }

 private:
  GameAtMenu start;
  ModeDriver driver;
  bool ready = false;
};

}  // namespace QmTest
