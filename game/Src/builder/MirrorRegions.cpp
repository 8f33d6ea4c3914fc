#include "builder/MirrorRegions.h"

#include <algorithm>
#include <utility>

const LLF::Color MirrorRegions::kPalette[kPaletteSize] = {
    {64, 0, 0, 255},  {128, 0, 0, 255}, {192, 0, 0, 255}, {255, 0, 0, 255}, {0, 64, 0, 255},
    {0, 128, 0, 255}, {0, 192, 0, 255}, {0, 255, 0, 255}, {0, 0, 64, 255},  {0, 0, 128, 255},
};
const LLF::Color MirrorRegions::kBlack = {0, 0, 0, 255};
const LLF::Color MirrorRegions::kWhite = {255, 255, 255, 255};

MirrorRegions::MirrorRegions(LLF::Image& mask, int fromX, int toX)
    : _mask(mask), _ids(size_t(kWidth) * kHeight, -1) {
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (x < fromX || x >= toX) _mask.SetPixel(x, y, &kWhite);
    }
  }
}

bool MirrorRegions::IsBlack(int x, int y) const {
  LLF::Color c;
  _mask.GetPixel(&c, x, y);
  return c.r == 0 && c.g == 0 && c.b == 0 && c.a == 255 && IdAt(x, y) < 0;
}

void MirrorRegions::FloodFillMask(int x, int y, const LLF::Color& color, int id) {
  std::vector<std::pair<int, int>> stack;
  stack.emplace_back(x, y);
  while (!stack.empty()) {
    const auto [px, py] = stack.back();
    stack.pop_back();
    if (px < 0 || py < 0 || px >= kWidth || py >= kHeight || !IsBlack(px, py)) continue;
    _mask.SetPixel(px, py, &color);
    _ids[size_t(py) * kWidth + size_t(px)] = id;
    // Pushed in reverse, so (x + 1) is taken first as in a recursive fill.
    stack.emplace_back(px, py - 1);
    stack.emplace_back(px, py + 1);
    stack.emplace_back(px - 1, py);
    stack.emplace_back(px + 1, py);
  }
}

bool MirrorRegions::FindNearbyRegionColor(int x, int y, int mergeDistance, LLF::Color& color, int& id) const {
  // Past the frame's size every square covers the whole frame.
  const int distance = std::min(mergeDistance, kWidth + 1);
  for (int k = 1; k < distance; ++k) {
    for (int px = std::max(x - k, 0); px <= std::min(x + k - 1, kWidth - 1); ++px) {
      for (int py = std::max(y - k, 0); py <= std::min(y + k - 1, kHeight - 1); ++py) {
        const int found = IdAt(px, py);
        if (found >= 0) {
          id = found;
          color = kPalette[found % kPaletteSize];
          return true;
        }
      }
    }
  }
  return false;
}

std::vector<LLF::Rect> MirrorRegions::Label(int mergeDistance) {
  struct Box {
    int minX, minY, maxX, maxY;
  };
  std::vector<Box> boxes;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (!IsBlack(x, y)) continue;
      LLF::Color color;
      int id = -1;
      if (FindNearbyRegionColor(x, y, mergeDistance, color, id)) {
        _mask.SetPixel(x, y, &color);
        _ids[size_t(y) * kWidth + size_t(x)] = id;
      } else {
        id = int(boxes.size());
        boxes.push_back({x, y, x, y});
        FloodFillMask(x, y, kPalette[id % kPaletteSize], id);
      }
    }
  }
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int id = IdAt(x, y);
      if (id < 0) continue;
      Box& b = boxes[size_t(id)];
      b.minX = std::min(b.minX, x);
      b.maxX = std::max(b.maxX, x);
      b.minY = std::min(b.minY, y);
      b.maxY = std::max(b.maxY, y);
    }
  }
  std::vector<LLF::Rect> rects;
  for (const Box& b : boxes) rects.emplace_back(b.minX, b.minY, b.maxX - b.minX + 1, b.maxY - b.minY + 1);
  return rects;
}
