#pragma once
// The level map's sounds: the map's music "music/levelsmap.wav", a
// 16-second loop of bright, slow chords with a lilting line, and
// "sounds/story_loop.wav", an 8-second hushed pad in D minor that plays,
// looped, while a story page is open. Every note fades before the loop
// point or wraps round it, so each loop joins without a click.
#include "AssetFamily.h"

namespace Datagen {

class MapSounds : public AssetFamily {
 public:
  std::string Name() const override { return "the level map's music and story loop"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
