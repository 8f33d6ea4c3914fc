#pragma once
// A 2-D float vector.

namespace LLF {

struct Point;

struct Vector2 {
  float x = 0.0f;
  float y = 0.0f;

  constexpr Vector2() = default;
  constexpr Vector2(float vx, float vy) : x(vx), y(vy) {}

  constexpr Vector2 operator+(const Vector2& v) const { return Vector2(x + v.x, y + v.y); }
  constexpr Vector2 operator-(const Vector2& v) const { return Vector2(x - v.x, y - v.y); }
  Vector2& operator+=(const Vector2& v) { return *this = *this + v; }
  Vector2& operator-=(const Vector2& v) { return *this = *this - v; }
  constexpr Vector2 operator*(float s) const { return Vector2(x * s, y * s); }
  // A NaN component makes two vectors different.
  constexpr bool operator!=(const Vector2& v) const { return x != v.x || y != v.y; }
  constexpr bool operator==(const Vector2& v) const { return !(*this != v); }

  // Each component truncated toward zero.
  Point ToPoint() const;
};

}  // namespace LLF

#include "math/Point.h"

namespace LLF {
inline Point Vector2::ToPoint() const {
  return Point(static_cast<int>(x), static_cast<int>(y));
}
}  // namespace LLF
