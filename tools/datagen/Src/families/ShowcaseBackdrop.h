#pragma once
// The backdrop of the first screen, "images/showcase_bg.png" (800 x 600,
// opaque): a marsh at dusk, sky fading to a warm horizon, a low moon, hills,
// still water with reflections and reeds in the foreground.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class ShowcaseBackdrop : public AssetFamily {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

  std::string Name() const override { return "the showcase backdrop"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster Draw();
};

}  // namespace Datagen
