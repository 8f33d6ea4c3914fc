#pragma once
// The pictures and sounds of the Mirror levels:
// - per level ("levels/d1_mirror", "levels/d3_mirror"): "original.png",
//   400 x 600, a landscape of the level's seed, and one RGBA sprite per
//   difference ("diff_<i>.png": a flower, a star, a window or a ball) at
//   the size of its region in the level's hand-written level.xml;
// - "images/levels/mirror/difference.png", 64 x 64: the ring that
//   highlights a find; "frame_strip.png", 800 x 64: the opaque strip the
//   level's buttons stand on; "timer_block.png", 160 x 48: the panel of the
//   time;
// - "images/gui/cursor_mirror.png", 32 x 32: the mirrored cursor;
// - "sounds/mirror_difference_found.wav", "sounds/mirror_sides_anim.wav".
#include <vector>

#include "AssetFamily.h"
#include "draw/Raster.h"

namespace Datagen {

class MirrorPictures : public AssetFamily {
 public:
  enum class Sprite { Flower, Star, Window, Ball };
  struct Difference {
    Sprite sprite;
    int width;
    int height;
  };
  struct Level {
    const char* folder;
    unsigned seed;
    std::vector<Difference> differences;
  };

  static constexpr int kHalfWidth = 400;
  static constexpr int kHeight = 600;

  std::string Name() const override { return "the Mirror level pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  // The levels, in the order of their differences in level.xml.
  static const std::vector<Level>& Levels();
  static Raster DrawLandscape(unsigned seed, int width, int height);
  static Raster DrawSprite(Sprite sprite, int width, int height, unsigned seed);
  static Raster DrawRing();
  static Raster DrawFrameStrip();
  static Raster DrawTimerBlock();
  static Raster DrawCursor();
};

}  // namespace Datagen
