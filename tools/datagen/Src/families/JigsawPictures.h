#pragma once
// The Jigsaw levels' pictures:
// - "levels/d1_jigsaw/picture.jpg" (600 x 450) and
//   "levels/d2_jigsaw/picture.jpg" (640 x 480): a landscape drawn from a
//   seed (a sky gradient, a sun, three layers of fractal hills, a lake with
//   the sky mirrored in it, trees and houses), so every piece has detail of
//   its own; written through the framework's JPEG codec;
// - "images/jigsaw/background.png" (800 x 600, opaque): the level's wooden
//   table with a dark tray under the board, a side panel for the counters
//   and a strip for the buttons;
// - "images/jigsaw/frame.png" (800 x 600): a gilded rim around the board's
//   window; transparent inside the rim and outside it, so the board, the
//   buttons and the counters take their own clicks.
#include "AssetFamily.h"

namespace Datagen {

class JigsawPictures : public AssetFamily {
 public:
  // The board's window inside the frame (left, top inclusive; right,
  // bottom exclusive).
  static constexpr int kWindowLeft = 40;
  static constexpr int kWindowTop = 40;
  static constexpr int kWindowRight = 690;
  static constexpr int kWindowBottom = 532;

  std::string Name() const override { return "the Jigsaw pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
