#include "render/TextureTileGrid.h"

#include <algorithm>

namespace LLF {

uint32_t TextureTileGrid::FloorPowerOfTwo(uint32_t v) {
  if (v == 0) {
    return 0;
  }
  uint32_t p = 1;
  while (p <= v / 2) {
    p *= 2;
  }
  return p;
}

namespace {

// The tile that fits a remaining area of w x h (both at least 1): each side
// the largest power of two within it and the device limit, then the shorter
// side doubled until the aspect ratio is allowed. Sides stay within 2^31.
void Fit(uint32_t w, uint32_t h, uint32_t maxW, uint32_t maxH, uint64_t maxAspect, uint32_t& tw,
         uint32_t& th) {
  uint64_t a = std::min(TextureTileGrid::FloorPowerOfTwo(w), maxW);
  uint64_t b = std::min(TextureTileGrid::FloorPowerOfTwo(h), maxH);
  if (b < a) {
    while (a > maxAspect * b) b *= 2;
  } else if (a < b) {
    while (b > maxAspect * a) a *= 2;
  }
  tw = static_cast<uint32_t>(a);
  th = static_cast<uint32_t>(b);
}

}  // namespace

TextureTileGrid::TextureTileGrid(uint32_t cellWidth, uint32_t cellHeight, uint32_t maxWidth,
                                 uint32_t maxHeight, uint32_t maxAspect) {
  if (cellWidth == 0 || cellHeight == 0) {
    return;
  }
  maxWidth = std::max(FloorPowerOfTwo(maxWidth), 1u);
  maxHeight = std::max(FloorPowerOfTwo(maxHeight), 1u);
  const uint64_t aspect = std::max(maxAspect, 1u);

  uint32_t restWidth = cellWidth;
  uint32_t restHeight = cellHeight;
  uint32_t firstRowHeight = 0;
  while (restWidth > 0) {
    uint32_t tw = 0;
    uint32_t th = 0;
    Fit(restWidth, firstRowHeight ? firstRowHeight : restHeight, maxWidth, maxHeight, aspect, tw, th);
    if (_columns.empty()) {
      firstRowHeight = th;
      const uint32_t extent = std::min(th, restHeight);
      _rows.push_back({th, extent});
      restHeight -= extent;
    }
    const uint32_t extent = std::min(tw, restWidth);
    _columns.push_back({tw, extent});
    restWidth -= extent;
  }
  while (restHeight > 0) {
    const uint32_t th = std::min(FloorPowerOfTwo(restHeight), firstRowHeight);
    _rows.push_back({th, th});
    restHeight -= th;
  }
}

}  // namespace LLF
