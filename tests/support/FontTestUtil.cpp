#include "FontTestUtil.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "ImageTestUtil.h"
#include "core/StringUtils.h"
#include "font/FontCodecTTF.h"

namespace QmTest {

const char kDejaVuSans[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

LLF::Font* LoadTrueType(int size, const std::wstring& characters, const LLF::Point& margin) {
  return LLF::FontCodecTTF::GetInstance().LoadFromFile(LLF::AnsiToWide(kDejaVuSans), size, characters,
                                                       margin);
}

std::unique_ptr<LLF::Font> SquareGlyphFont(int cell, const LLF::Point& margin, int height, int spaceWidth,
                                           const std::vector<LLF::Font::Glyph>& glyphs) {
  auto font = std::make_unique<LLF::Font>();
  LLF::Font::Metrics& m = font->GetMetrics();
  m.fontHeight = height;
  m.spaceWidth = spaceWidth;
  m.charBox = LLF::Point(cell, cell);
  m.sidesOffset = margin;
  int cells = 1;
  for (const LLF::Font::Glyph& g : glyphs) {
    font->GetCharsMap()[g.character] = g;
    cells = std::max(cells, g.imageOffset.x + 1);
  }
  LLF::Image& image = font->GetImage();
  image.Create(unsigned(cell * cells), unsigned(cell), LLF::IMGFORMAT_R8G8B8A8);
  const LLF::Color clear(0, 0, 0, 0);
  image.Fill(&clear);
  const LLF::Color white(255, 255, 255, 255);
  for (const LLF::Font::Glyph& g : glyphs) {
    const int left = g.imageOffset.x * cell + margin.x;
    const int bottom = cell - 1 - margin.y;
    for (int y = bottom - g.dims.y + 1; y <= bottom; ++y) {
      for (int x = left; x < left + g.dims.x; ++x) image.SetPixel(x, y, &white);
    }
  }
  return font;
}

std::unique_ptr<LLF::TrueTypeFace> OpenDejaVu(int size) {
  const Bytes bytes = ReadFileBytes(kDejaVuSans);
  auto copy = std::make_unique<unsigned char[]>(bytes.size());
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  auto face = std::make_unique<LLF::TrueTypeFace>();
  EXPECT_TRUE(face->StartLibrary() && face->OpenFace(std::move(copy), unsigned(bytes.size())) &&
              face->SetCharSize(size))
      << kDejaVuSans << " is missing (scripts/setup.sh installs fonts-dejavu-core)";
  return face;
}

LLF::TrueTypeFace::Glyph RenderDejaVu(int size, wchar_t character) {
  LLF::TrueTypeFace::Glyph glyph;
  EXPECT_TRUE(OpenDejaVu(size)->RenderGlyph(character, glyph)) << "no glyph for " << unsigned(character);
  return glyph;
}

::testing::AssertionResult SameBytes(const LLF::Image& image, const Rgba& expected) {
  if (image.GetWidth() != expected.width || image.GetHeight() != expected.height)
    return ::testing::AssertionFailure() << "size " << image.GetWidth() << "x" << image.GetHeight();
  const uint8_t* data = image.GetData();
  for (size_t i = 0; i < expected.pixels.size(); ++i) {
    if (data[i] != expected.pixels[i]) {
      const size_t pixel = i / 4;
      return ::testing::AssertionFailure()
             << "byte " << i % 4 << " of stored pixel (" << pixel % expected.width << ", "
             << pixel / expected.width << "): " << int(data[i]) << ", expected " << int(expected.pixels[i]);
    }
  }
  return ::testing::AssertionSuccess();
}

bool RowHasAlpha(const LLF::Image& image, int y, int x0, int x1) {
  for (int x = x0; x < x1; ++x) {
    LLF::Color color;
    image.GetPixel(&color, x, y);
    if (color.a != 0) return true;
  }
  return false;
}

std::wstring Latin1AndCharsets() {
  std::wstring list;
  for (wchar_t c = 0x21; c < 0x7F; ++c) list += c;
  for (wchar_t c = 0xA1; c <= 0xFF; ++c) list += c;
  list += L"\u0152\u0153\u0178\u2122";  // OE, oe, Y with diaeresis, trade mark
  list +=
      L"\u010C\u010D\u010E\u010F\u011A\u011B\u0147\u0148\u0158\u0159\u0160\u0161\u0164\u0165\u016E\u016F"
      L"\u017D\u017E";  // Czech
  for (wchar_t c = 0x410; c <= 0x44F; ++c) list += c;
  list += L"\u0401\u0451";  // Yo, yo
  return list;
}

}  // namespace QmTest
