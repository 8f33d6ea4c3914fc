#pragma once
// One solver per play mode, each a small class that plays a running level
// to its goal as a player would: it reads what to click from the level's
// files (level.xml in the level's folder) and from the board on screen, and
// clicks through the window. The table maps a level type of levels.xml to
// its solver; a mode that joins the game adds one line there.
#include <functional>
#include <memory>
#include <string>

#include "math/Vector2.h"

class GameMode;

namespace HLF {
class Control;
class XmlDocEx;
}  // namespace HLF

namespace QmTest {

class WindowedVoyage;

// The level being played and the hands that play it.
class LevelPlay {
 public:
  LevelPlay(WindowedVoyage& game, const std::string& levelFolder);

  // The running mode, or null once it has gone.
  GameMode* Mode();
  const std::string& Folder() const { return _folder; }
  // Loads the level's level.xml; false when it does not parse.
  bool LoadLevelFile(HLF::XmlDocEx& doc) const;

  // A click at the window point, then frames for long enough that no two
  // clicks ever count as fast clicks. A click meant to find something adds
  // the points a find scores at that moment (points of the time since the
  // last find) to FindPoints.
  void Click(const LLF::Vector2& at, int (*points)(int sinceLastFindMs) = nullptr);
  bool ClickControl(const HLF::Control* control);
  // Frames until the mode takes clicks again: a message is answered with
  // its OK on the way. False when that does not happen.
  bool UntilPlayable();
  // The hint button, then the confirmation's OK; true when the hint was
  // counted.
  bool TakeHint();
  void Run(unsigned ms);
  // Frames until done() holds; false when it never does.
  bool Until(const std::function<bool()>& done);

  // Whether the goal's been met (the result is stored).
  bool Won();
  int FindPoints() const { return _findPoints; }

  // What the run asks of this level on the way.
  bool takeHint = false;
  bool wrongClick = false;

 private:
  WindowedVoyage& _game;
  std::string _folder;
  int _findPoints = 0;
};

class LevelSolver {
 public:
  virtual ~LevelSolver() = default;
  // Plays the running level until the goal is met; false when it cannot
  // (the test says where).
  virtual bool Solve(LevelPlay& play) = 0;
  // Why the last Solve failed.
  const std::string& Failure() const { return _failure; }

 protected:
  bool Fail(const std::string& why) {
    _failure = why;
    return false;
  }

 private:
  std::string _failure;
};

// The solver for a level type, or null when no solver plays that type.
std::unique_ptr<LevelSolver> MakeSolver(const std::wstring& type);

}  // namespace QmTest
