#pragma once
// A float rectangle: top-left corner and size.

namespace LLF {

struct RectF {
  float x = 0.0f;
  float y = 0.0f;
  float width = 0.0f;
  float height = 0.0f;

  constexpr RectF() = default;
  constexpr RectF(float rx, float ry, float w, float h) : x(rx), y(ry), width(w), height(h) {}
};

}  // namespace LLF
