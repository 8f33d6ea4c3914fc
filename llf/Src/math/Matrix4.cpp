#include "math/Matrix4.h"

#include "math/MathTable.h"

namespace LLF {

Matrix4 Matrix4::operator*(const Matrix4& b) const {
  Matrix4 r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) {
        sum += static_cast<double>(m[i][k]) * static_cast<double>(b.m[k][j]);
      }
      r.m[i][j] = static_cast<float>(sum);
    }
  }
  return r;
}

Matrix4 Matrix4::Translation(const Vector3& t) {
  return Matrix4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, t.x, t.y, t.z, 1);
}

Matrix4 Matrix4::Scaling(const Vector3& s) {
  return Matrix4(s.x, 0, 0, 0, 0, s.y, 0, 0, 0, 0, s.z, 0, 0, 0, 0, 1);
}

Matrix4 Matrix4::RotationZ(float angle) {
  const float s = g_mathTable.sin(angle);
  const float c = g_mathTable.cos(angle);
  return Matrix4(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

Matrix4 Matrix4::OrthoOffCenterLH(float l, float r, float b, float t, float zn, float zf) {
  return Matrix4(2.0f / (r - l), 0, 0, 0, 0, 2.0f / (t - b), 0, 0, 0, 0, 1.0f / (zf - zn), 0,
                 (l + r) / (l - r), (t + b) / (b - t), zn / (zn - zf), 1);
}

}  // namespace LLF
