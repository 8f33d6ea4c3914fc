#pragma once
// A 3-D float vector; always built from three values.

namespace LLF {

struct Vector3 {
  float x;
  float y;
  float z;

  constexpr Vector3(const float& vx, const float& vy, const float& vz) : x(vx), y(vy), z(vz) {}
  constexpr Vector3 operator-() const { return Vector3(-x, -y, -z); }
};

}  // namespace LLF
