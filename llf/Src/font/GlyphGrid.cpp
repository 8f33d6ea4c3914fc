#include "font/GlyphGrid.h"

#include <algorithm>

namespace LLF {

uint64_t GlyphGrid::PowerOfTwoFrom2(int64_t n) {
  uint64_t p = 2;
  while (int64_t(p) < n && p <= kMaxSide) p <<= 1;
  return p;
}

bool GlyphGrid::Fit(int maxWidth, int maxHeight, const Point& margin, size_t count, GlyphGrid& out) {
  const uint64_t side = std::max(PowerOfTwoFrom2(int64_t(maxWidth) + 2 * int64_t(margin.x)),
                                 PowerOfTwoFrom2(int64_t(maxHeight) + 2 * int64_t(margin.y)));
  if (side > kMaxSide) return false;
  uint64_t width = side;
  uint64_t height = side;
  while ((width / side) * (height / side) < count) {
    if (width == height)
      width *= 2;
    else
      height *= 2;
    if (width > kMaxSide || height > kMaxSide) return false;
  }
  out.cellSide = unsigned(side);
  out.width = unsigned(width);
  out.height = unsigned(height);
  return true;
}

}  // namespace LLF
