#pragma once
// An integer rectangle: top-left corner and size.

namespace LLF {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  constexpr Rect() = default;
  constexpr Rect(int rx, int ry, int w, int h) : x(rx), y(ry), width(w), height(h) {}

  constexpr bool operator!=(const Rect& o) const {
    return x != o.x || y != o.y || width != o.width || height != o.height;
  }
  constexpr bool operator==(const Rect& o) const { return !(*this != o); }
};

}  // namespace LLF
