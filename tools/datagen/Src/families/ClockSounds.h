#pragma once
// The sounds of the level clock and of hints: "time_out" (a dry tick for
// the last minute), "time_over" (a falling three-note fall when the day's
// time has run out), "time_decreased" (a short downward sweep for a
// penalty), "game_hint_button" (a soft rising chime) and "wrong_move" (a
// low buzz), each a WAV file of "sounds/".
#include "AssetFamily.h"

namespace Datagen {

class ClockSounds : public AssetFamily {
 public:
  std::string Name() const override { return "the clock sounds"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
