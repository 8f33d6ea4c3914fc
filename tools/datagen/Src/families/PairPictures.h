#pragma once
// The pictures of the Pair levels:
// - the item icons "images/levels/pair/items/<shape>_<colour>.png", 64 x 64
//   RGBA: six shapes (ball, ring, frame, triangle, star, diamond) in four
//   colours (red, blue, green, yellow); the ring and the frame have
//   transparent holes, so a click there reaches what lies below;
// - "images/levels/pair/background.png", 800 x 600, opaque: the two panes
//   (x 10..390 and 410..790, y 10..526) on a wooden ground, the strip from
//   y 536 under the level's frame.
#include <string>
#include <vector>

#include "AssetFamily.h"
#include "draw/Raster.h"

namespace Datagen {

class PairPictures : public AssetFamily {
 public:
  static constexpr int kIconSize = 64;

  std::string Name() const override { return "the Pair level pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static const std::vector<std::string>& Shapes();
  static const std::vector<std::string>& Colours();
  // Shape and colour by index into the lists above.
  static Raster DrawIcon(size_t shape, size_t colour);
  static Raster DrawBackground();
};

}  // namespace Datagen
