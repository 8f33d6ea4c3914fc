#pragma once
// The Seek mode's sounds: "sounds/seek_item_found.wav" (a bright rising
// pair of notes) and "sounds/seek_item_priorityfound.wav" (a three-note
// chime).
#include "AssetFamily.h"

namespace Datagen {

class SeekSounds : public AssetFamily {
 public:
  std::string Name() const override { return "the Seek sounds"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
