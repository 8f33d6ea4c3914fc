#pragma once
// The Puzzle board's sound: "sounds/rotation_rotate.wav" (a piece turned a
// quarter: a short wooden ratchet that rises). The hover blip
// "rotation_over" is the Jigsaw board's.
#include "AssetFamily.h"

namespace Datagen {

class PuzzleSounds : public AssetFamily {
 public:
  std::string Name() const override { return "the Puzzle sounds"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
