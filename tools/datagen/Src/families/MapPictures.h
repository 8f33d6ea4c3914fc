#pragma once
// The pictures of the level map and its story pages:
// - "images/levelsmap/page.png" (800 x 600, opaque): the marsh drawn on a
//   parchment map, with a river, pools, reeds, a compass and a frame;
// - "images/levelsmap/daynum.png": the day ribbon, three cells of 240 x 64
//   ("Day 1" to "Day 3");
// - "images/levelsmap/button.png": the map's button, four cells of 160 x 48
//   (normal, pressed, under the mouse, disabled), stained wood;
// - "images/levelsmap/anim_title.png", "anim_heron.png", "anim_boat.png":
//   the opening animation's title and the two drawings that move in;
// - "images/levelsmap/d<day>_l<level>.png": one thumbnail card per level
//   of the level list, four cells of 150 x 110; each card shows the mode's
//   name and a small sign of it over a number badge (the button's caption
//   writes the number), and the disabled cell is greyed and ticked;
// - "images/story/parchment.png" (800 x 600, opaque): a parchment sheet
//   on a dark ground, for the story pages' text.
#include "AssetFamily.h"

namespace Datagen {

class MapPictures : public AssetFamily {
 public:
  static constexpr int kCardWidth = 150;
  static constexpr int kCardHeight = 110;

  std::string Name() const override { return "the level map and story pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
