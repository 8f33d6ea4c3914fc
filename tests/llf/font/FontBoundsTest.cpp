// What a hostile TrueType file may cost: a glyph whose outline spans more
// than the bound is left out with its log line, so a few hundred bytes
// cannot make the glyph image (one cell per character, each as large as
// the largest glyph) take gigabytes.
#include <gtest/gtest.h>

#include <memory>

#include "LogCapture.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "font/FontCodecTTF.h"
#include "font/TrueTypeFace.h"
#include "image/Image.h"

namespace {

// A font of 64 units per em: "A" a triangle 60 units high, "B" a square of
// 30000 units (about 470 ems), "C" a composite of "A".
const char kHugeGlyph[] = "/tests/llf/font/data/huge_glyph.ttf";

TEST(FontBoundsTest, OversizedGlyphIsLeftOut) {
  QmTest::LogCapture log;
  std::unique_ptr<LLF::Font> font(LLF::FontCodecTTF::GetInstance().LoadFromFile(
      LLF::FromOsPath(QmTest::SourceDir() + kHugeGlyph), 20, L"ABC", LLF::Point(1, 1)));
  ASSERT_NE(font, nullptr);
  EXPECT_NE(font->FindChar(L'A'), nullptr);
  EXPECT_NE(font->FindChar(L'C'), nullptr);
  EXPECT_EQ(font->FindChar(L'B'), nullptr);
  EXPECT_EQ(log.Count(L"WARNING: Char \"B\" is more than 8 ems wide or high, left out. File: "), 1);
  const int em = 20 * 96 / 72 + 1;
  EXPECT_LE(font->GetCharBox().x, 2 * em) << "cells are sized by the glyphs kept";
  EXPECT_LE(font->GetImage().GetWidth(), 4u * em);
}

// The bound is a number of ems, so it grows with the character size: a
// glyph within it at one size stays within it at any other.
TEST(FontBoundsTest, BoundScalesWithTheSize) {
  for (int size : {8, 20, 64}) {
    SCOPED_TRACE(size);
    QmTest::LogCapture log;
    std::unique_ptr<LLF::Font> font(LLF::FontCodecTTF::GetInstance().LoadFromFile(
        LLF::FromOsPath(QmTest::SourceDir() + kHugeGlyph), size, L"A", LLF::Point()));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font->FindChar(L'A'), nullptr);
    EXPECT_EQ(log.Count(L"ems wide or high"), 0);
  }
}

}  // namespace
