#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "FontTestUtil.h"
#include "ImageTestUtil.h"
#include "font/TrueTypeFace.h"

namespace {

using LLF::TrueTypeFace;

using QmTest::OpenDejaVu;

std::unique_ptr<unsigned char[]> Copy(const QmTest::Bytes& bytes) {
  auto copy = std::make_unique<unsigned char[]>(bytes.size());
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  return copy;
}

unsigned RowSum(const TrueTypeFace::Glyph& glyph, int row) {
  const auto begin = glyph.coverage.begin() + ptrdiff_t(row) * glyph.width;
  return std::accumulate(begin, begin + glyph.width, 0u);
}

TEST(TrueTypeFaceTest, RendersCoverageBottomUpWithItsPlaceOnTheBaseLine) {
  auto face = OpenDejaVu(20);
  TrueTypeFace::Glyph t;
  ASSERT_TRUE(face->RenderGlyph(L'T', t));
  EXPECT_EQ(t.character, L'T');
  ASSERT_GT(t.width, 5);
  ASSERT_GT(t.height, 10);
  ASSERT_EQ(t.coverage.size(), size_t(t.width) * size_t(t.height));
  EXPECT_EQ(t.bottom, 0);  // stands on the base line
  // The bar of the T is its top row, stored last; the stem reaches row 0.
  EXPECT_GT(RowSum(t, t.height - 1), 3 * RowSum(t, 0));
  EXPECT_GT(RowSum(t, 0), 0u);
  EXPECT_EQ(*std::max_element(t.coverage.begin(), t.coverage.end()), 255);

  TrueTypeFace::Glyph g;
  ASSERT_TRUE(face->RenderGlyph(L'g', g));
  EXPECT_LT(g.bottom, 0);  // the descender goes below the base line
  TrueTypeFace::Glyph quote;
  ASSERT_TRUE(face->RenderGlyph(L'\'', quote));
  EXPECT_GT(quote.bottom, t.height / 2);
}

// Characters with an empty bitmap are not found; a character the face
// lacks takes the face's missing-glyph box, the same for each.
TEST(TrueTypeFaceTest, EmptyBitmapsAreNotFoundMissingCharactersGetTheBox) {
  auto face = OpenDejaVu(20);
  TrueTypeFace::Glyph glyph;
  EXPECT_FALSE(face->RenderGlyph(L' ', glyph));       // empty bitmap
  EXPECT_FALSE(face->RenderGlyph(L'\u00A0', glyph));  // no-break space, empty too
  EXPECT_TRUE(face->RenderGlyph(L'\u042F', glyph));   // Cyrillic Ya
  EXPECT_TRUE(face->RenderGlyph(L'\u2122', glyph));   // trade mark

  TrueTypeFace::Glyph box, other;
  ASSERT_TRUE(face->RenderGlyph(L'\uE000', box));  // private use: not in the face
  EXPECT_EQ(box.character, L'\uE000');
  EXPECT_GT(box.width, 3);
  EXPECT_GT(box.height, 3);
  EXPECT_GT(*std::max_element(box.coverage.begin(), box.coverage.end()), 0);
  ASSERT_TRUE(face->RenderGlyph(wchar_t(0x10FFFF), other));
  EXPECT_EQ(other.coverage, box.coverage);
  EXPECT_EQ(other.width, box.width);
  // A letter the face has is not the box.
  ASSERT_TRUE(face->RenderGlyph(L'A', other));
  EXPECT_NE(other.coverage, box.coverage);
}

TEST(TrueTypeFaceTest, GlyphsScaleWithTheCharacterSize) {
  auto small = OpenDejaVu(20);
  auto large = OpenDejaVu(40);
  for (wchar_t c : std::wstring(L"HWag")) {
    TrueTypeFace::Glyph a, b;
    ASSERT_TRUE(small->RenderGlyph(c, a));
    ASSERT_TRUE(large->RenderGlyph(c, b));
    // Hinting snaps outlines to the pixel grid, so allow a few pixels.
    EXPECT_NEAR(b.width, 2 * a.width, 4) << char(c);
    EXPECT_NEAR(b.height, 2 * a.height, 4) << char(c);
  }
}

TEST(TrueTypeFaceTest, RefusesBadInputAndBadSizes) {
  TrueTypeFace face;
  const QmTest::Bytes garbage(4096, 0x5A);
  EXPECT_FALSE(face.OpenFace(Copy(garbage), unsigned(garbage.size())));  // library not started
  ASSERT_TRUE(face.StartLibrary());
  EXPECT_FALSE(face.OpenFace(Copy(garbage), unsigned(garbage.size())));
  EXPECT_FALSE(face.OpenFace(nullptr, 0));
  EXPECT_FALSE(face.HasFace());
  EXPECT_FALSE(face.SetCharSize(20));
  TrueTypeFace::Glyph glyph;
  EXPECT_FALSE(face.RenderGlyph(L'A', glyph));

  const QmTest::Bytes font = QmTest::ReadFileBytes(QmTest::kDejaVuSans);
  const QmTest::Bytes head(font.begin(), font.begin() + ptrdiff_t(font.size() / 2));
  EXPECT_FALSE(face.OpenFace(Copy(head), unsigned(head.size())));  // the glyph tables are cut off

  ASSERT_TRUE(face.OpenFace(Copy(font), unsigned(font.size())));
  for (int size : {0, -3, TrueTypeFace::kMaxCharSize + 1}) EXPECT_FALSE(face.SetCharSize(size)) << size;
  EXPECT_TRUE(face.SetCharSize(1));
}

TEST(TrueTypeFaceTest, DrawPutsWhitePixelsWithCoverageAlphaAndClipsAtTheEdges) {
  TrueTypeFace::Glyph glyph;
  glyph.width = 2;
  glyph.height = 2;
  glyph.coverage = {10, 20, 30, 40};  // lowest row 10 20, top row 30 40
  // A 3 x 3 picture stored bottom-up: picture row y is stored row 2 - y.
  std::vector<uint8_t> pixels(3 * 3 * 4, 0);
  auto alphaAt = [&](int x, int y) { return pixels[size_t(((2 - y) * 3 + x) * 4 + 3)]; };
  glyph.Draw(pixels.data(), 3, 3, 1, 1);  // lowest row on picture row 1
  EXPECT_EQ(alphaAt(1, 1), 10);
  EXPECT_EQ(alphaAt(2, 1), 20);
  EXPECT_EQ(alphaAt(1, 0), 30);
  EXPECT_EQ(alphaAt(2, 0), 40);
  EXPECT_EQ(alphaAt(0, 0), 0);
  EXPECT_EQ(alphaAt(1, 2), 0);
  EXPECT_EQ(pixels[size_t(((2 - 1) * 3 + 1) * 4)], 255);  // red of (1, 1)
  EXPECT_EQ(pixels[size_t(((2 - 2) * 3 + 1) * 4)], 0);    // untouched

  // Partly or wholly outside: only the pixels inside are written.
  std::fill(pixels.begin(), pixels.end(), 0);
  for (auto [x, y] : {std::pair{-1, 0}, {2, 3}, {-5, -5}, {100, 1}}) glyph.Draw(pixels.data(), 3, 3, x, y);
  EXPECT_EQ(alphaAt(0, 0), 20);  // from (-1, 0): the lowest row's right pixel
  EXPECT_EQ(alphaAt(2, 2), 30);  // from (2, 3): the top row's left pixel
  int written = 0;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) written += alphaAt(x, y) != 0;
  EXPECT_EQ(written, 2);
}

}  // namespace
