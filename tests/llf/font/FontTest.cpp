#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "font/Font.h"

namespace {

using LLF::Font;
using LLF::Point;
using LLF::TextDrawParams;
using LLF::Vector2;

// A font of three glyphs: A advances 11, B 6, C -5 (its render offset x
// outweighs its width); blank 5; height 20.
class FontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Add(L'A', Point(10, 12), Point(1, 0));
    Add(L'B', Point(8, 12), Point(-2, -3));
    Add(L'C', Point(0, 0), Point(-5, 0));
    font.GetMetrics().fontHeight = 20;
    font.SetSpaceWidth(5);
  }
  void Add(wchar_t c, Point dims, Point renderOffset) {
    Font::Glyph& glyph = font.GetCharsMap()[c];
    glyph.character = c;
    glyph.dims = dims;
    glyph.renderOffset = renderOffset;
  }
  static TextDrawParams Params(const std::wstring& text, Vector2 scale = Vector2(1.0f, 1.0f)) {
    return TextDrawParams(text, Vector2(), LLF::Color(), 0.0f, scale, 0, Vector2(), Vector2());
  }

  Font font;
};

TEST(FontConstructionTest, StartsEmptyWithAOnePixelAlphaImage) {
  Font font;
  EXPECT_EQ(font.GetCharsCount(), 0u);
  EXPECT_EQ(font.GetMetrics().fontHeight, 0);
  EXPECT_EQ(font.GetCharBox(), Point(0, 0));
  EXPECT_EQ(font.GetImage().GetWidth(), 1u);
  EXPECT_EQ(font.GetImage().GetHeight(), 1u);
  EXPECT_EQ(font.GetImage().GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_TRUE(font.IsKindOf("Font"));
  EXPECT_TRUE(font.IsKindOf("Object"));
  EXPECT_FALSE(font.IsKindOf("Image"));
  EXPECT_EQ(font.Dump(), font.GetImage().Dump() + L". Font: Characters count: 0");
}

TEST_F(FontTest, WidthSumsAdvancesOfKnownCharactersAndBlanks) {
  struct Case {
    const wchar_t* text;
    int width;
  };
  const Case cases[] = {
      {L"", 0},
      {L"A A", 2 * 11 + 5},
      {L"AzA", 22},          // z has no glyph: adds nothing
      {L"\u00C4\u4E2D", 0},  // neither has a glyph
      {L"B", 6},
      {L"  ", 10},
      {L"AC", 6},     // a negative advance is added as it stands
      {L"A\nA", 22},  // one line: a line break is just a character without a glyph
  };
  for (const Case& c : cases) EXPECT_EQ(font.GetTextWidth(Params(c.text)), c.width) << c.text;
}

TEST_F(FontTest, ScaleMultipliesOnlyWhenNotOne) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    Vector2 scale;
    int width;  // of "A A" (27)
    int height;
  };
  const Case cases[] = {
      {{1.0f, 1.0f}, 27, 20},   {{2.0f, 1.0f}, 54, 20},
      {{1.0f, 2.0f}, 27, 40},   {{0.5f, 0.5f}, 13, 10},  // truncated toward zero
      {{0.99f, 1.01f}, 26, 20}, {{nan, 1.0f}, 0, 20},    // a NaN product counts as nothing
      {{1.0f, nan}, 27, 0},     {{-1.0f, 1.0f}, -27, 20},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(font.GetTextWidth(Params(L"A A", c.scale)), c.width) << c.scale.x << "," << c.scale.y;
    EXPECT_EQ(font.GetTextHeight(Params(L"A A", c.scale)), c.height) << c.scale.x << "," << c.scale.y;
  }
  // A negative width is scaled as its unsigned 32-bit value and wraps back.
  EXPECT_EQ(font.GetTextWidth(Params(L"C", Vector2(2.0f, 1.0f))), -10);
}

TEST_F(FontTest, FindCharAndClear) {
  ASSERT_NE(font.FindChar(L'B'), nullptr);
  EXPECT_EQ(font.FindChar(L'B')->renderOffset, Point(-2, -3));
  EXPECT_EQ(font.FindChar(L'b'), nullptr);
  font.GetMetrics().charBox = Point(32, 32);
  font.GetMetrics().sidesOffset = Point(2, 2);
  ASSERT_TRUE(font.GetImage().Resize(64, 32));
  EXPECT_EQ(font.Dump(), font.GetImage().Dump() + L". Font: Characters count: 3");

  font.Clear();
  EXPECT_EQ(font.GetCharsCount(), 0u);
  EXPECT_EQ(font.FindChar(L'A'), nullptr);
  EXPECT_EQ(font.GetTextHeight(Params(L"")), 0);
  EXPECT_EQ(font.GetSpaceWidth(), 0);
  EXPECT_EQ(font.GetCharBox(), Point(0, 0));
  EXPECT_EQ(font.GetSidesOffset(), Point(0, 0));
  EXPECT_EQ(font.GetImage().GetWidth(), 1u);
  EXPECT_EQ(font.GetImage().GetHeight(), 1u);
  EXPECT_EQ(font.GetImage().GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
}

}  // namespace
