#pragma once
// The sounds of the menus: "sounds/profile_error.wav" (a low, buzzing
// two-step fall), "sounds/options_test.wav" (a soft bell the options dialog
// repeats while the sound volume is dragged) and the menu's music
// "music/menu.wav", a 12-second loop of slow additive-sine chords over a
// bass with a plucked pentatonic line on top, every note fading out before
// the loop point or wrapping round it, so the loop joins without a click.
#include "AssetFamily.h"

namespace Datagen {

class MenuSounds : public AssetFamily {
 public:
  static constexpr double kMusicSeconds = 12.0;

  std::string Name() const override { return "the menu sounds and music"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
