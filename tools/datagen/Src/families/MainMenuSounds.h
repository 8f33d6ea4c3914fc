#pragma once
// The main menu's sounds: "sounds/stone_columns.wav", the grinding rumble
// of the stone columns sliding in and out (low filtered noise under a few
// dull knocks), and the map's music "music/map.wav", a 16-second loop of
// gentle chords in D with a slow plucked line, every note fading out
// before the loop point or wrapping round it.
#include "AssetFamily.h"

namespace Datagen {

class MainMenuSounds : public AssetFamily {
 public:
  static constexpr double kMapMusicSeconds = 16.0;
  static constexpr double kColumnsSeconds = 1.0;

  std::string Name() const override { return "the main menu sounds and the map music"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
