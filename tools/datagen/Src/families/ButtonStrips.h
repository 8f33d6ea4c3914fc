#pragma once
// The buttons' image strips: "images/gui/button.png" (4 cells of 180 x 44)
// and "images/gui/button_small.png" (4 cells of 120 x 36). The cells are, in
// order, normal, pressed, under the mouse and disabled: a bevelled teal
// plate with a gold rim, like the title's ribbon, whose middle is left calm
// for the caption between two small gold diamonds. Each cell keeps two
// pixels below the plate for its shadow; the pressed plate sits one pixel
// lower.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class ButtonStrips : public AssetFamily {
 public:
  static constexpr int kCells = 4;

  std::string Name() const override { return "the button strips"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  // A strip of four cells, each cellWidth x cellHeight.
  static Raster Draw(int cellWidth, int cellHeight);
};

}  // namespace Datagen
