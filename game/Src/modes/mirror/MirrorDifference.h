#pragma once
// One difference of a Mirror level: a picture drawn on one half only, and
// the region around it that counts as a hit. Numbered by its place in the
// board's list, which names it in the profile ("diff_collected_<i>").
namespace LLF {
class Image;
}

struct MirrorFoundPair;

struct MirrorDifference {
  LLF::Image* image = nullptr;  // the images manager's, not owned; null draws nothing
  float x = 0.0f;               // top-left corner in board coordinates
  float y = 0.0f;
  int w = 0;  // the hit region's size
  int h = 0;
  bool found = false;
  // Its entry of the found list, filled when the level is won.
  MirrorFoundPair* foundPair = nullptr;
};
