#pragma once
// The Puzzle levels' pictures:
// - "levels/d1_puzzle/picture.png" and "levels/d3_puzzle/picture.png"
//   (480 x 480, square, since the pieces are): a village scene drawn from a
//   seed with a clear up and down, so a player can tell which way each
//   turned piece belongs: a sky darker at the top with flat-bottomed clouds,
//   a sun, birds and a hot-air balloon above its basket; hills; a house with
//   a smoking chimney, upright trees and a fence; a meadow with a path,
//   stones and flowers on their stems along the front;
// - "images/puzzle/background.png" (800 x 600, opaque): a slate table with a
//   dark tray under the board, a side panel for the counters and a strip for
//   the buttons;
// - "images/puzzle/frame.png" (800 x 600): a rim around the board's square
//   window, clear inside and outside it, so the board, the buttons and the
//   counters take their own clicks.
#include "AssetFamily.h"

namespace Datagen {

class PuzzlePictures : public AssetFamily {
 public:
  // The board's window inside the frame (left, top inclusive; right,
  // bottom exclusive); the board at 44,44 holds pictures up to 484 wide.
  static constexpr int kWindowLeft = 40;
  static constexpr int kWindowTop = 40;
  static constexpr int kWindowRight = 528;
  static constexpr int kWindowBottom = 528;
  static constexpr int kPictureSize = 480;

  std::string Name() const override { return "the Puzzle pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
