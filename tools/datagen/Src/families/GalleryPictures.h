#pragma once
// The wallpaper gallery's pictures, under "images/gallery/" (list
// "GALLERY"), and the award screen's (list "AWARDS"):
// - "background.png" 800 x 600, opaque: a deep blue-green hall with a gold
//   rule, the title, and four recessed slots with a padlock where the
//   thumbnails stand (a locked thumbnail shows dimmed over its lock);
// - "thumb_frame.png", "thumb_frame_over.png" 320 x 200: a gold frame,
//   transparent inside; the second brighter, for the mouse over it;
// - "ribbon.png" 800 x 64: the band under the pages holding the buttons;
//   "ribbon_wide.png" the same half-transparent, over the large view;
// - "button.png": four cells of 200 x 44 (normal, pressed, over,
//   disabled) in the buttons' usual look;
// - "award_bg.png" 800 x 600: a dark veil with a framed panel, a sunken
//   slot for the 240 x 150 thumbnail and a gold star.
// The slots' places are the layout's: the previews stand at kSlotX[i %
// 2], kSlotY[i / 2].
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class GalleryPictures : public AssetFamily {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;
  static constexpr int kThumbWidth = 320;
  static constexpr int kThumbHeight = 200;
  static constexpr int kSlotX[2] = {60, 420};
  static constexpr int kSlotY[2] = {100, 320};
  static constexpr int kRibbonHeight = 64;
  static constexpr int kButtonWidth = 200;
  static constexpr int kButtonHeight = 44;
  // The award screen's thumbnail slot (240 x 150).
  static constexpr int kAwardSlotX = 280;
  static constexpr int kAwardSlotY = 210;

  std::string Name() const override { return "the gallery pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster Frame(bool over);
  static Raster Ribbon(bool wide);
  static Raster AwardBackground();
};

}  // namespace Datagen
