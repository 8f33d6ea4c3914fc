#pragma once
// The twenty wallpapers the players earn, each in three sizes from one
// picture:
// - "images/wallpapers/wallpaper_NN_wide.jpg" 960 x 600, the large view
//   and the desktop's picture;
// - "images/wallpapers/wall_NN_thumb.jpg" 320 x 200, the gallery's
//   thumbnail (list "WALLPAPERS_THUMBS", id "wall_NN_thumb");
// - "images/wallpapers/thumb_wlp_NN_wide.jpg" 240 x 150, the award
//   screen's thumbnail.
// All three are 16:10 and the small ones are box-filtered from the wide
// one (by 3 and by 4), so a thumbnail zoomed to 600 pixels high lands on
// the wide picture. Five procedural families of four (plasma, rings,
// cells, stripes, marsh landscapes), each picture with its number drawn
// large in its upper left, inside the 800 pixels the large view shows.
#include <string>

#include "AssetFamily.h"

namespace Datagen {

class Raster;

class WallpaperPictures : public AssetFamily {
 public:
  static constexpr int kCount = 20;
  static constexpr int kWideWidth = 960;
  static constexpr int kWideHeight = 600;
  static constexpr int kThumbFactor = 3;
  static constexpr int kAwardFactor = 4;

  std::string Name() const override { return "the wallpapers"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  // Wallpaper 1 to 20 without its number.
  static Raster Picture(int number);
  // "01" to "20".
  static std::string TwoDigits(int number);
};

}  // namespace Datagen
