#pragma once
// The mouse cursor, "images/cursor.png": a 32 x 32 arrow with alpha whose
// tip lies at the picture's top-left corner (the game draws the cursor
// picture with its corner at the mouse), in pale gold with a dark ink
// outline and a soft shadow, so it reads on the dark marsh and on the
// light sky alike. Drawn four times larger and reduced.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class CursorArrow : public AssetFamily {
 public:
  static constexpr int kSize = 32;

  std::string Name() const override { return "the cursor"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster Draw();
};

}  // namespace Datagen
