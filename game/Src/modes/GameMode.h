#pragma once
// The base of the play modes. So far its class-wide side: the day's clock
// as the profile keeps it between levels (stats/timeLeft, in ms), which
// the level map also resets when a new day begins.
#include "model/StateMachine.h"

class GameMode : public HLF::StateMachine {
 public:
  GameMode() = default;
  ~GameMode() override = default;

  LLF_KIND_OF(GameMode, HLF::StateMachine)

  // Writes the time left and returns it; -1 stands for the current day's
  // full time ("time" x 1000, x 3 in easy mode). Any other negative time
  // is stored as 0: the day has run out, which a later read must not take
  // for "never started".
  static int StoreTimeLeft(int ms);
  // The stored time left; absent, the full time is stored and returned. A
  // stored value that is no number or is negative counts as absent, with a
  // warning, so a hand-edited profile cannot start a day timed out.
  static int ReadTimeLeft();
  // The current day's full time in ms.
  static int GetDayFullTime();
};
