#pragma once
// The difference regions of one side of a Mirror layer. The mask is an
// 800 x 600 picture where opaque black marks a pixel that differs; regions
// are 4-connected black areas, and a black pixel within the merge square of
// a labelled one joins that region. Each region gets an id of its own in a
// separate buffer (the palette only colours the mask, and repeats after ten
// regions), and everything outside the side's half is white, so neither the
// fill nor the merge search reaches the other half's picture.
#include <vector>

#include "image/Image.h"
#include "math/Color.h"
#include "math/Rect.h"

class MirrorRegions {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;
  static constexpr int kPaletteSize = 10;
  static const LLF::Color kPalette[kPaletteSize];
  static const LLF::Color kBlack;
  static const LLF::Color kWhite;

  // mask must be kWidth x kHeight; its pixels outside x in [fromX, toX) are
  // made white.
  MirrorRegions(LLF::Image& mask, int fromX, int toX);

  // Labels every black pixel of the half, row by row; the bounding
  // rectangle of each region in the order found.
  std::vector<LLF::Rect> Label(int mergeDistance);

  // Gives region id (and its colour on the mask) to every black pixel
  // 4-connected to (x, y) through black pixels. An explicit stack: a region
  // can fill the whole half.
  void FloodFillMask(int x, int y, const LLF::Color& color, int id);
  // Looks in squares k = 1 .. mergeDistance - 1 reaching k left and up and
  // k - 1 right and down for a labelled pixel; its colour and id.
  bool FindNearbyRegionColor(int x, int y, int mergeDistance, LLF::Color& color, int& id) const;

  // The region id of a pixel, -1 for none.
  int IdAt(int x, int y) const { return _ids[size_t(y) * kWidth + size_t(x)]; }

 private:
  bool IsBlack(int x, int y) const;

  LLF::Image& _mask;
  std::vector<int> _ids;
};
