#pragma once
// Helpers shared by the font tests: DejaVu Sans (installed by
// scripts/setup.sh) loaded through the TrueType codec, an expected picture
// built pixel by pixel, and the character list the fonts must cover.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "font/Font.h"
#include "font/TrueTypeFace.h"
#include "math/Point.h"

namespace QmTest {

extern const char kDejaVuSans[];

// DejaVu Sans through the TrueType codec; null when it fails.
LLF::Font* LoadTrueType(int size, const std::wstring& characters, const LLF::Point& margin);
// DejaVu Sans opened by FreeType directly, at the given size.
std::unique_ptr<LLF::TrueTypeFace> OpenDejaVu(int size);
// One glyph of it.
LLF::TrueTypeFace::Glyph RenderDejaVu(int size, wchar_t character);

// A picture of 4-byte pixels stored bottom-up, all zero at first.
struct Rgba {
  unsigned width;
  unsigned height;
  std::vector<uint8_t> pixels;
  Rgba(unsigned w, unsigned h) : width(w), height(h), pixels(size_t(w) * h * 4, 0) {}
};
::testing::AssertionResult SameBytes(const LLF::Image& image, const Rgba& expected);
// Whether a pixel of picture row y (from the top), columns [x0, x1), has a
// non-zero alpha.
bool RowHasAlpha(const LLF::Image& image, int y, int x0, int x1);

// A bitmap font with the given glyph records, each glyph a white square of
// its dims in the cell its image offset names (cells of side cell, one row),
// placed as the TrueType codec places glyphs: margin in from the cell's left
// and lower edges.
std::unique_ptr<LLF::Font> SquareGlyphFont(int cell, const LLF::Point& margin, int height, int spaceWidth,
                                           const std::vector<LLF::Font::Glyph>& glyphs);

// Latin-1 without controls and blanks, and the letters the game's
// character sets add: French, Czech and Russian, and the trade mark sign.
std::wstring Latin1AndCharsets();

}  // namespace QmTest
