#pragma once
// The pictures of the game's main menu scene, under "images/mainmenu/":
// - "bg_top.png" 1824 x 300, opaque: a dusk sky over far hills and still
//   water; everything repeats every 1024 pixels, so the band joins where
//   its scroll jumps back;
// - "bg_bottom.png" 800 x 512: the near marsh, reeds either side, with an
//   alpha ramp over its top 150 rows that lays a mist over the band;
// - "column_left.png", "column_right.png" 64 x 600: weathered stone
//   columns, mirror images, lit from the middle of the screen;
// - "scroll.png" 320 x 360: a parchment sheet between two wooden rollers,
//   transparent around;
// - "logo.png" 480 x 120: the game's name set in DejaVu Serif Bold, gold
//   with a dark outline and shadow on transparency;
// - "scroll_button.png": four cells of 240 x 48 (normal, pressed, under
//   the mouse, disabled), wine-red lacquer with a gold trim.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class MainMenuPictures : public AssetFamily {
 public:
  static constexpr int kBandWidth = 1824;
  static constexpr int kBandHeight = 300;
  // The band's pattern repeats after this many pixels: the scroll's jump.
  static constexpr int kBandPeriod = 1024;
  static constexpr int kBottomWidth = 800;
  static constexpr int kBottomHeight = 512;
  // Rows at the top of the lower background where its alpha rises.
  static constexpr int kRampRows = 150;
  static constexpr int kColumnWidth = 64;
  static constexpr int kColumnHeight = 600;
  static constexpr int kScrollWidth = 320;
  static constexpr int kScrollHeight = 360;
  static constexpr int kLogoWidth = 480;
  static constexpr int kLogoHeight = 120;
  static constexpr int kButtonWidth = 240;
  static constexpr int kButtonHeight = 48;

  std::string Name() const override { return "the main menu pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster Band();
  static Raster LowerBackground();
  static Raster Column(bool left);
  static Raster Scroll();
  static Raster ScrollButton();
};

}  // namespace Datagen
