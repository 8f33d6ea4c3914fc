#pragma once
// The gallery's and the award's sounds: "sounds/gallery_img_show.wav" (a
// soft rising chime as a page comes in), "gallery_img_hide.wav" (a short
// falling whoosh as it goes), "gallery_img_open_big.wav" (a wider swell
// as a thumbnail opens into the large view) and "award_earned.wav" (a
// bright major arpeggio and chord for a wallpaper won).
#include "AssetFamily.h"

namespace Datagen {

class GallerySounds : public AssetFamily {
 public:
  std::string Name() const override { return "the gallery sounds"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
