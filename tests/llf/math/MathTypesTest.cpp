#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/Color.h"
#include "math/MathTable.h"
#include "math/Matrix4.h"
#include "math/Point.h"
#include "math/Rect.h"
#include "math/Transform.h"
#include "math/Vector2.h"

namespace {

// Row vector (x, y, z, 1) times m.
void Apply(const LLF::Matrix4& m, float x, float y, float z, float out[4]) {
  const float in[4] = {x, y, z, 1.0f};
  for (int j = 0; j < 4; ++j) {
    out[j] = 0;
    for (int k = 0; k < 4; ++k) out[j] += in[k] * m[k][j];
  }
}

TEST(MathTypesTest, ColorPointAndRect) {
  EXPECT_EQ(LLF::Color(), LLF::Color(255, 255, 255, 255));
  LLF::Color c(1, 2, 3, 4);
  EXPECT_EQ(c.SetOpaqueBlack(), LLF::Color(0, 0, 0, 255));
  EXPECT_NE(LLF::Color(1, 2, 3, 4), LLF::Color(1, 2, 3, 5));
  EXPECT_EQ(LLF::Color(0x11, 0x22, 0x33, 0x44).ToARGB(), 0x44112233u);

  EXPECT_EQ(LLF::Vector2(1.9f, -1.9f).ToPoint(), LLF::Point(1, -1));
  EXPECT_EQ(LLF::Point(3, -4).ToVector2(), LLF::Vector2(3.0f, -4.0f));
  LLF::Vector2 v(1, 2);
  v += LLF::Vector2(0.5f, 0.5f);
  v -= LLF::Vector2(1, 1);
  EXPECT_EQ(v * 2.0f, LLF::Vector2(1.0f, 3.0f));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(LLF::Vector2(nan, 0) != LLF::Vector2(nan, 0));

  EXPECT_TRUE(LLF::Rect(0, 0, 1, 1) != LLF::Rect(0, 0, 1, 2));
  EXPECT_FALSE(LLF::Rect(5, 6, 7, 8) != LLF::Rect(5, 6, 7, 8));
  EXPECT_TRUE(LLF::Rect(1, 0, 1, 1) != LLF::Rect(0, 0, 1, 1));
}

TEST(MathTypesTest, ProductsApplyTheLeftMatrixFirst) {
  // Translate by (1, 2, 3), then scale by 2: (0,0,0) goes to (2, 4, 6).
  const LLF::Matrix4 ts = LLF::Matrix4::Translation({1, 2, 3}) * LLF::Matrix4::Scaling({2, 2, 2});
  float p[4];
  Apply(ts, 0, 0, 0, p);
  EXPECT_FLOAT_EQ(p[0], 2);
  EXPECT_FLOAT_EQ(p[1], 4);
  EXPECT_FLOAT_EQ(p[2], 6);
  // The other order scales first: (0,0,0) stays, then moves to (1, 2, 3).
  const LLF::Matrix4 st = LLF::Matrix4::Scaling({2, 2, 2}) * LLF::Matrix4::Translation({1, 2, 3});
  Apply(st, 1, 1, 1, p);
  EXPECT_FLOAT_EQ(p[0], 3);
  EXPECT_FLOAT_EQ(p[1], 4);
  EXPECT_FLOAT_EQ(p[2], 5);
  EXPECT_FLOAT_EQ(p[3], 1);

  // A general product element by element.
  const LLF::Matrix4 a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  const LLF::Matrix4 b(2, 0, 0, 1, 0, 3, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1);
  const LLF::Matrix4 ab = a * b;
  const float expected[4][4] = {{5, 6, 3, 5}, {17, 18, 7, 13}, {29, 30, 11, 21}, {41, 42, 15, 29}};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_FLOAT_EQ(ab[i][j], expected[i][j]) << i << "," << j;
  EXPECT_FLOAT_EQ((a * LLF::Matrix4::Identity())[2][1], 10);
}

TEST(MathTypesTest, RotationTurnsXTowardY) {
  const LLF::Matrix4 zero = LLF::Matrix4::RotationZ(0);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_FLOAT_EQ(zero[i][j], i == j ? 1.0f : 0.0f);
  float p[4];
  Apply(LLF::Matrix4::RotationZ(static_cast<float>(M_PI / 2)), 1, 0, 0, p);
  EXPECT_NEAR(p[0], 0, 1e-6);
  EXPECT_NEAR(p[1], 1, 1e-6);
  EXPECT_NEAR(p[3], 1, 1e-6);
  const LLF::Vector3 s = LLF::Matrix4::Scaling({2, 3, 4}).GetScale();
  EXPECT_FLOAT_EQ(s.y, 3);
  const LLF::Vector3 n = -s;
  EXPECT_FLOAT_EQ(n.z, -4);
}

TEST(MathTypesTest, TransformCombinesChildFirstAndScalesAlpha) {
  const LLF::Transform parent(LLF::Matrix4::Translation({100, 0, 0}), 128);
  const LLF::Transform child(LLF::Matrix4::Scaling({2, 2, 1}), 255);
  const LLF::Transform both = child.CombinedWith(parent);
  EXPECT_EQ(both.alpha, 128);
  float x, y;
  both.matrix.TransformPoint(5, 5, x, y);
  EXPECT_FLOAT_EQ(x, 110);
  EXPECT_FLOAT_EQ(y, 10);
  EXPECT_EQ(LLF::Transform(child.matrix, 100).CombinedWith(LLF::Transform(child.matrix, 100)).alpha, 39);
}

TEST(MathTypesTest, OrthoProjectionMapsTheWindowToClipSpace) {
  // The window (0,0)-(800,600) with y down: top-left to (-1, 1), bottom-right to (1, -1).
  const LLF::Matrix4 proj = LLF::Matrix4::OrthoOffCenterLH(0, 800, 600, 0, 0, 1);
  float p[4];
  Apply(proj, 0, 0, 0, p);
  EXPECT_FLOAT_EQ(p[0], -1);
  EXPECT_FLOAT_EQ(p[1], 1);
  Apply(proj, 800, 600, 1, p);
  EXPECT_FLOAT_EQ(p[0], 1);
  EXPECT_FLOAT_EQ(p[1], -1);
  EXPECT_FLOAT_EQ(p[2], 1);
}

TEST(MathTypesTest, MathTableValues) {
  const auto& m = LLF::g_mathTable;
  EXPECT_NEAR(m.acos(0), 1.5707964f, 1e-6);
  EXPECT_NEAR(m.acos(1), 0.0f, 1e-6);
  EXPECT_NEAR(m.asin(1), static_cast<float>(M_PI / 2), 1e-6);
  EXPECT_NEAR(m.asin(-1), static_cast<float>(-M_PI / 2), 1e-6);
  EXPECT_NEAR(m.asin(0.5f), 0.5235988f, 1e-6);
  EXPECT_NEAR(m.tan(0.5f), std::tan(0.5f), 1e-6);
  EXPECT_FLOAT_EQ(m.sqrt(16), 4);
  EXPECT_NEAR(m.atan(1), static_cast<float>(M_PI / 4), 1e-6);

  const unsigned char a[5] = {1, 2, 3, 4, 5};
  const unsigned char b[5] = {1, 2, 3, 4, 6};
  unsigned char c[5] = {};
  EXPECT_TRUE(LLF::g_memoryTable.compare(a, b, 0));
  EXPECT_TRUE(LLF::g_memoryTable.compare(a, b, 4));
  EXPECT_FALSE(LLF::g_memoryTable.compare(a, b, 5));
  LLF::g_memoryTable.copy(c, a, 0);
  EXPECT_EQ(c[0], 0);
  LLF::g_memoryTable.copy(c, a, 5);
  EXPECT_TRUE(LLF::g_memoryTable.compare(a, c, 5));
}

}  // namespace
