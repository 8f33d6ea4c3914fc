#pragma once
// A 2-D integer point.

namespace LLF {

struct Vector2;

struct Point {
  int x = 0;
  int y = 0;

  constexpr Point() = default;
  constexpr Point(int px, int py) : x(px), y(py) {}

  constexpr Point operator-(const Point& p) const { return Point(x - p.x, y - p.y); }
  Point& operator-=(const Point& p) {
    x -= p.x;
    y -= p.y;
    return *this;
  }
  constexpr bool operator==(const Point& p) const { return x == p.x && y == p.y; }
  constexpr bool operator!=(const Point& p) const { return !(*this == p); }

  Vector2 ToVector2() const;
};

}  // namespace LLF

#include "math/Vector2.h"

namespace LLF {
inline Vector2 Point::ToVector2() const {
  return Vector2(static_cast<float>(x), static_cast<float>(y));
}
}  // namespace LLF
