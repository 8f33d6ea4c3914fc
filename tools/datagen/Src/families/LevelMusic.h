#pragma once
// The levels' music: one loop per music list of "scripts/game/levmusic.xml"
// ("music/level_a.wav" to "music/level_c.wav"), each a slow progression of
// sine chords that starts and ends in silence, so it loops without a click.
#include <string>

#include "AssetFamily.h"

namespace Datagen {

class LevelMusic : public AssetFamily {
 public:
  std::string Name() const override { return "the level music"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
