#pragma once
// The pictures of the Seek levels:
// - "images/seek/objects/<id>.png": the hidden objects, RGBA icons of 28
//   to 96 px named by colour and shape (the level files place them);
// - "levels/<level>/scene.png": one 630 x 600 landscape per Seek level,
//   with stones, flowers and reeds drawn into it as clutter;
// - "levels/d3_seek_grey/alpha.png" (630 x 600; clear over the sky band,
//   its red byte carrying the same alpha), "sky.png" (1824 x 160 clouds)
//   and "sky_grey.png", and "bird.png" (the bird that crosses the sky);
// - "images/seek/light.png" (512 x 512, dark with a clear centre),
//   "images/seek/list_panel.png" (170 x 600) and "images/seek/frame.png"
//   (630 x 600, a border clear inside).
#include <string>
#include <vector>

#include "AssetFamily.h"

namespace Datagen {

class Raster;

class SeekPictures : public AssetFamily {
 public:
  struct ObjectArt {
    const char* id;
    int shape;  // index into the shapes SeekPictures draws
    int red, green, blue;
    int width, height;
  };
  // The objects every Seek level chooses from, in id order.
  static const std::vector<ObjectArt>& Objects();

  std::string Name() const override { return "the Seek level pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster DrawObject(const ObjectArt& art);
  static Raster DrawScene(unsigned seed, bool skyBand);
};

}  // namespace Datagen
