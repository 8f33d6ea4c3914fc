#pragma once
// Particle pictures: "images/particle.png", a 32 x 32 white dot whose alpha
// falls off from a bright core, so the emitters' colour tracks tint it.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class ParticlePictures : public AssetFamily {
 public:
  std::string Name() const override { return "the particle pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster SoftDot(int size);
};

}  // namespace Datagen
