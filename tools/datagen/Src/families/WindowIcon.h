#pragma once
// The window icon "images/game.ico": a 32 x 32 bitmap icon with alpha, a
// quill over marsh water on a rounded teal tile. Drawn four times larger
// and reduced, so the small shapes stay smooth.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class WindowIcon : public AssetFamily {
 public:
  static constexpr int kSize = 32;

  std::string Name() const override { return "the window icon"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster Draw(int size);
};

}  // namespace Datagen
