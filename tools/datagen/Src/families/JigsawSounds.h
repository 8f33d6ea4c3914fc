#pragma once
// The Jigsaw board's sounds: "sounds/jigsaw_click.wav" (a piece picked or
// let go, a wooden tick), "sounds/jigsaw_change.wav" (two pieces sliding
// past each other), "sounds/rotation_over.wav" (the mouse over a piece, a
// soft high blip) and "sounds/game_level_won.wav" (the results: a rising
// major arpeggio that settles on its chord).
#include "AssetFamily.h"

namespace Datagen {

class JigsawSounds : public AssetFamily {
 public:
  std::string Name() const override { return "the Jigsaw sounds"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
