#pragma once
// The tutorial's picture "images/tutorial_marsh.png": a night-blue sky over
// teal water, a gold moon with its path on the water and dark reeds at the
// edges, framed by a thin gold line; opaque, 240 x 140.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class TutorialPicture : public AssetFamily {
 public:
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 140;

  std::string Name() const override { return "the tutorial picture"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster Draw();
};

}  // namespace Datagen
