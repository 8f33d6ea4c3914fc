#pragma once
// The level clock and the sweep that opens a level:
// - "images/gui/clock_ribbon.png", 220 x 56: a gold-rimmed night-blue
//   ribbon with swallow-tailed ends; the time is written on its right part;
// - "images/gui/clock_sand.png", 4 cells of 40 x 56: an hourglass whose
//   sand runs from the upper bulb to the lower one, cell by cell;
// - "images/gui/gradient_fade.png", 512 x 600: a soft band of light,
//   transparent at both sides, brightest in the middle.
#include "AssetFamily.h"
#include "draw/Raster.h"

namespace Datagen {

class ClockPictures : public AssetFamily {
 public:
  std::string Name() const override { return "the clock pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static constexpr int kSandCells = 4;
  static Raster DrawRibbon();
  static Raster DrawSand();
  static Raster DrawGradient();
};

}  // namespace Datagen
