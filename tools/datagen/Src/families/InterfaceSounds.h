#pragma once
// The sounds of the interface: "sounds/button_click.wav", a short bright
// blip that drops in pitch and dies away.
#include "AssetFamily.h"

namespace Datagen {

class InterfaceSounds : public AssetFamily {
 public:
  std::string Name() const override { return "the interface sounds"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
