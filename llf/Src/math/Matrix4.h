#pragma once
// A 4x4 float matrix, row-major, for row vectors: a point stands left of the
// matrix (p' = p x M), translation lies in the last row, and A x B applies A
// first, then B.
#include "math/Vector3.h"

namespace LLF {

struct Matrix4 {
  float m[4][4];

  // The elements are left unset, as for the device's own matrix type.
  Matrix4() = default;
  constexpr Matrix4(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
                    float m20, float m21, float m22, float m23, float m30, float m31, float m32, float m33)
      : m{{m00, m01, m02, m03}, {m10, m11, m12, m13}, {m20, m21, m22, m23}, {m30, m31, m32, m33}} {}

  float* operator[](int row) { return m[row]; }
  const float* operator[](int row) const { return m[row]; }

  // Element (i, j) = sum over k of this(i, k) * b(k, j), summed in double.
  Matrix4 operator*(const Matrix4& b) const;

  static constexpr Matrix4 Identity() { return Matrix4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1); }
  static Matrix4 Translation(const Vector3& t);
  static Matrix4 Scaling(const Vector3& s);
  // Angle in radians; rows (c, s, 0, 0), (-s, c, 0, 0), (0, 0, 1, 0), (0, 0, 0, 1).
  static Matrix4 RotationZ(float angle);
  // An off-centre orthographic projection for a left-handed system, as the
  // device's helper builds it: x from left..right and y from bottom..top
  // map to -1..1, z from zn..zf to 0..1.
  static Matrix4 OrthoOffCenterLH(float left, float right, float bottom, float top, float zn, float zf);

  Vector3 GetScale() const { return Vector3(m[0][0], m[1][1], m[2][2]); }

  // The point (x, y, 0, 1) times this matrix; x and y of the result.
  void TransformPoint(float x, float y, float& outX, float& outY) const {
    outX = x * m[0][0] + y * m[1][0] + m[3][0];
    outY = x * m[0][1] + y * m[1][1] + m[3][1];
  }
};

}  // namespace LLF
