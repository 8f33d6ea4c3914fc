#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FontTestUtil.h"
#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "font/FontCodecTTF.h"
#include "font/FontCodecXML.h"
#include "font/TrueTypeFace.h"
#include "io/File.h"

namespace {

using LLF::Font;
using LLF::FontCodecTTF;
using LLF::Point;
using QmTest::kDejaVuSans;
using QmTest::LoadTrueType;

TEST(FontCodecTest, DescribeThemselves) {
  struct Case {
    LLF::FontCodec* codec;
    const char* kind;
    const wchar_t* description;
    const wchar_t* shortDescription;
    const wchar_t* extensions;
  };
  const Case cases[] = {
      {&FontCodecTTF::GetInstance(), "FontCodecTTF", L"Font codec for TrueTypeFont files.", L"TTF font codec",
       L"ttf"},
      {&LLF::FontCodecXML::GetInstance(), "FontCodecXML", L"Font codec for XML font files.",
       L"XML font codec", L"xml"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.codec->GetAuthor(), L"Brenvik, 2007");
    EXPECT_EQ(c.codec->GetVersion(), L"1.0");
    EXPECT_EQ(c.codec->GetDescription(), c.description);
    EXPECT_EQ(c.codec->GetShortDescription(), c.shortDescription);
    EXPECT_EQ(c.codec->GetExtensions(), c.extensions);
    for (const char* kind : {c.kind, "FontCodec", "ICodec", "Object"})
      EXPECT_TRUE(c.codec->IsKindOf(kind)) << kind;
    EXPECT_FALSE(c.codec->IsKindOf("ImageCodec"));
  }
  EXPECT_TRUE(FontCodecTTF::GetInstance().IsExtensionSupported(L"fonts/Vera.TTF"));
  EXPECT_FALSE(FontCodecTTF::GetInstance().IsExtensionSupported(L"fonts/vera.xml"));
  EXPECT_TRUE(LLF::FontCodecXML::GetInstance().IsExtensionSupported(L"fonts/big.xml"));
}

// The A and B of the smallest layout: two records in one row of two cells,
// each glyph's pixels white with the coverage as alpha, margin (1, 1) from
// the cell's left and lower edges, and nothing else in the picture.
TEST(FontCodecTTFTest, PlacesGlyphsInCellsWithTheirMargin) {
  QmTest::LogCapture log;
  std::unique_ptr<Font> font(LoadTrueType(20, L"AB", Point(1, 1)));
  ASSERT_TRUE(font);
  EXPECT_TRUE(log.Lines().empty());
  // DejaVu Sans at 20 points and 96 dpi: A and B are 20 pixels high, so
  // 22 with the margins, in cells of 32.
  const int side = 32;
  EXPECT_EQ(font->GetCharBox(), Point(side, side));
  EXPECT_EQ(font->GetSidesOffset(), Point(1, 1));
  EXPECT_EQ(font->GetMetrics().fontHeight, 20);
  EXPECT_EQ(font->GetSpaceWidth(), 10);
  EXPECT_EQ(font->GetImage().GetWidth(), 2u * side);
  EXPECT_EQ(font->GetImage().GetHeight(), 1u * side);
  EXPECT_EQ(font->GetImage().GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  ASSERT_EQ(font->GetCharsCount(), 2u);

  QmTest::Rgba expected(font->GetImage().GetWidth(), font->GetImage().GetHeight());
  const Point margin(1, 1);
  for (const wchar_t c : std::wstring(L"AB")) {
    const Font::Glyph* glyph = font->FindChar(c);
    ASSERT_NE(glyph, nullptr);
    const LLF::TrueTypeFace::Glyph rendered = QmTest::RenderDejaVu(20, c);
    EXPECT_EQ(glyph->imageOffset, Point(c == L'A' ? 0 : 1, 0));
    EXPECT_EQ(glyph->dims, Point(rendered.width, rendered.height));
    EXPECT_EQ(glyph->renderOffset, Point(rendered.left, rendered.bottom));
    rendered.Draw(expected.pixels.data(), expected.width, expected.height,
                  glyph->imageOffset.x * side + margin.x, (glyph->imageOffset.y + 1) * side - 1 - margin.y);
  }
  EXPECT_TRUE(QmTest::SameBytes(font->GetImage(), expected));
  // The lowest row of A's bitmap is one pixel above the cell's lower edge.
  EXPECT_TRUE(QmTest::RowHasAlpha(font->GetImage(), side - 2, 0, side));
  EXPECT_FALSE(QmTest::RowHasAlpha(font->GetImage(), side - 1, 0, 2 * side));
}

TEST(FontCodecTTFTest, ImageGrowsWidthThenHeightAndUnusedCellsStayEmpty) {
  struct Case {
    const wchar_t* characters;
    Point margin;
    unsigned chars, width, height;
  };
  const Case cases[] = {
      {L"", {0, 0}, 0, 2, 2},  // no glyph: one cell of side 2
      {L"A", {0, 0}, 1, 32, 32},      {L"ABC", {1, 1}, 3, 64, 64},
      {L"ABCDE", {1, 1}, 5, 128, 64}, {L"i", {0, 0}, 1, 32, 32},  // narrow but high: the larger side decides
  };
  for (const Case& c : cases) {
    std::unique_ptr<Font> font(LoadTrueType(20, c.characters, c.margin));
    ASSERT_TRUE(font) << c.characters;
    EXPECT_EQ(font->GetCharsCount(), c.chars) << c.characters;
    EXPECT_EQ(font->GetImage().GetWidth(), c.width) << c.characters;
    EXPECT_EQ(font->GetImage().GetHeight(), c.height) << c.characters;
  }
  // With three glyphs the fourth cell (bottom right) holds no pixel.
  std::unique_ptr<Font> font(LoadTrueType(20, L"ABC", Point(1, 1)));
  ASSERT_TRUE(font);
  EXPECT_EQ(font->FindChar(L'C')->imageOffset, Point(0, 1));
  for (int y = 32; y < 64; ++y) EXPECT_FALSE(QmTest::RowHasAlpha(font->GetImage(), y, 32, 64)) << y;
}

TEST(FontCodecTTFTest, BlanksMissingAndRepeatedCharacters) {
  QmTest::LogCapture log;
  std::unique_ptr<Font> font(LoadTrueType(20, L"A A\uE000B", Point(0, 0)));
  ASSERT_TRUE(font);
  const std::wstring name = LLF::AnsiToWide(kDejaVuSans);
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Count(L"WARNING: Char \" \" is not found in font file: " + name), 1);
  EXPECT_EQ(log.Count(L"WARNING: Char \"A\" is already in font chars map."), 1);
  // The repeated A still takes the second cell; the character the face
  // lacks takes the third, with the missing-glyph box; B the fourth.
  EXPECT_EQ(font->GetCharsCount(), 3u);
  EXPECT_EQ(font->FindChar(L'A')->imageOffset, Point(0, 0));
  ASSERT_NE(font->FindChar(L'\uE000'), nullptr);
  EXPECT_EQ(font->FindChar(L'\uE000')->imageOffset, Point(0, 1));
  EXPECT_GT(font->FindChar(L'\uE000')->dims.x, 0);
  bool boxDrawn = false;
  for (int y = 32; y < 64; ++y) boxDrawn = boxDrawn || QmTest::RowHasAlpha(font->GetImage(), y, 0, 32);
  EXPECT_TRUE(boxDrawn);
  EXPECT_EQ(font->FindChar(L'B')->imageOffset, Point(1, 1));
  EXPECT_EQ(font->FindChar(L' '), nullptr);
  // The blank advances by the space width, size / 2.
  const Font::Glyph& a = *font->FindChar(L'A');
  LLF::TextDrawParams params;
  params.text = L"A A";
  EXPECT_EQ(font->GetTextWidth(params), 2 * (a.dims.x + a.renderOffset.x) + 10);
}

// Latin-1 and the letters of the game's character sets, measured: a text's
// width is the sum of its glyphs' advances, and a font twice the size gives
// metrics twice as large.
TEST(FontCodecTTFTest, CoversLatin1AndScalesWithTheSize) {
  const std::wstring characters = QmTest::Latin1AndCharsets();
  QmTest::LogCapture log;
  std::unique_ptr<Font> small(LoadTrueType(20, characters, Point(2, 2)));
  std::unique_ptr<Font> large(LoadTrueType(40, characters, Point(2, 2)));
  ASSERT_TRUE(small);
  ASSERT_TRUE(large);
  EXPECT_TRUE(log.Lines().empty()) << LLF::WideToAnsi(log.Lines().front());
  for (const wchar_t c : characters) {
    ASSERT_NE(small->FindChar(c), nullptr) << unsigned(c);
    ASSERT_NE(large->FindChar(c), nullptr) << unsigned(c);
  }
  EXPECT_EQ(small->GetCharsCount(), characters.size());

  LLF::TextDrawParams params;
  params.text =
      L"The Quillmarsh - Zenta: \u00C9t\u00E9, \u0160\u010Desk\u00FD, \u0416\u0451\u043B\u0442\u044B\u0439 "
      L"\u00A9";
  int sum = 0;
  for (const wchar_t c : params.text) {
    const Font::Glyph* glyph = small->FindChar(c);
    sum += c == L' ' ? small->GetSpaceWidth() : glyph ? glyph->dims.x + glyph->renderOffset.x : 0;
  }
  EXPECT_EQ(small->GetTextWidth(params), sum);
  EXPECT_GT(sum, 300);

  EXPECT_EQ(large->GetMetrics().fontHeight, 2 * small->GetMetrics().fontHeight);
  EXPECT_EQ(large->GetSpaceWidth(), 2 * small->GetSpaceWidth());
  EXPECT_GE(large->GetCharBox().x, small->GetCharBox().x);
  const Font::Glyph& h20 = *small->FindChar(L'H');
  const Font::Glyph& h40 = *large->FindChar(L'H');
  EXPECT_NEAR(h40.dims.y, 2 * h20.dims.y, 2);
  EXPECT_EQ(large->GetTextHeight(params), 2 * small->GetTextHeight(params));
  const double ratio = double(large->GetTextWidth(params)) / small->GetTextWidth(params);
  EXPECT_NEAR(ratio, 2.0, 0.1);
}

// The asset loader builds fonts on its own thread while the main thread may
// load others: each load has its own FreeType library and face.
TEST(FontCodecTTFTest, ThreadsLoadFontsAtTheSameTime) {
  std::unique_ptr<Font> expected(LoadTrueType(16, L"Quillmarsh", Point(2, 2)));
  ASSERT_TRUE(expected);
  std::vector<std::unique_ptr<Font>> fonts(4);
  std::vector<std::thread> threads;
  for (auto& font : fonts)
    threads.emplace_back([&font] { font.reset(LoadTrueType(16, L"Quillmarsh", Point(2, 2))); });
  for (auto& thread : threads) thread.join();
  for (const auto& font : fonts) {
    ASSERT_TRUE(font);
    EXPECT_EQ(font->GetCharsCount(), expected->GetCharsCount());
    ASSERT_EQ(font->GetImage().GetDataSize(), expected->GetImage().GetDataSize());
    EXPECT_EQ(std::memcmp(font->GetImage().GetData(), expected->GetImage().GetData(),
                          expected->GetImage().GetDataSize()),
              0);
  }
}

TEST(FontCodecTTFTest, BadFilesAndSizesGiveNullWithTheReason) {
  const std::string folder = QmTest::NewTempFolder("ttf");
  const QmTest::Bytes font = QmTest::ReadFileBytes(kDejaVuSans);
  ASSERT_GT(font.size(), 100000u);
  QmTest::WriteFileBytes(folder + "/half.ttf", QmTest::Bytes(font.begin(), font.begin() + font.size() / 2));
  QmTest::WriteFileBytes(folder + "/empty.ttf", {});
  QmTest::WriteFileBytes(folder + "/text.ttf", QmTest::Bytes(300, 'x'));
  QmTest::Bytes header(font.begin(), font.begin() + 12);  // a table directory that names no table
  QmTest::WriteFileBytes(folder + "/header.ttf", header);

  struct Case {
    std::string file;
    int size;
    std::wstring error;
  };
  const std::wstring noFace = L"Can't create font face from the font file. File: ";
  const Case cases[] = {
      {folder + "/missing.ttf", 20, L"Can't open file "},
      {folder + "/half.ttf", 20, noFace},
      {folder + "/empty.ttf", 20, noFace},
      {folder + "/text.ttf", 20, noFace},
      {folder + "/header.ttf", 20, noFace},
      {kDejaVuSans, 0, L"Can't set font char size. File: "},
      {kDejaVuSans, -12, L"Can't set font char size. File: "},
      {kDejaVuSans, 100000, L"Can't set font char size. File: "},
      // Five glyphs in cells of 4096 need more picture than a canvas holds.
      {kDejaVuSans, LLF::TrueTypeFace::kMaxCharSize, L"Can't create a glyph image for 5 glyphs of up to "},
  };
  FontCodecTTF& codec = FontCodecTTF::GetInstance();
  for (const Case& c : cases) {
    QmTest::LogCapture log;
    const std::wstring name = LLF::AnsiToWide(c.file);
    std::unique_ptr<Font> loaded(codec.LoadFromFile(name, c.size, L"ABCDE", Point(1, 1)));
    EXPECT_FALSE(loaded) << c.file;
    const std::wstring error = codec.GetLastError();
    EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    EXPECT_EQ(error.substr(error.size() - name.size()), name);
    EXPECT_TRUE(log.Lines().empty()) << c.file;  // the fonts manager logs the failure
  }
}

TEST(FontCodecTTFTest, SignatureIsAFaceFreeTypeTakes) {
  FontCodecTTF& codec = FontCodecTTF::GetInstance();
  LLF::File good;
  ASSERT_TRUE(good.OpenExisting(LLF::AnsiToWide(kDejaVuSans), LLF::FILEOPS_READ));
  ASSERT_TRUE(good.Seek(0, 100));
  EXPECT_TRUE(codec.HasSignature(good));
  EXPECT_EQ(good.GetPosition(), 100u);

  QmTest::Bytes bytes(64, 0);
  LLF::File bad;
  ASSERT_TRUE(bad.OpenMemory(bytes.data(), unsigned(bytes.size()), LLF::FILEOPS_READ));
  EXPECT_FALSE(codec.HasSignature(bad));
  EXPECT_EQ(codec.GetLastError(), L"Can't create font face from the font file. File: " + bad.GetFileName());
}

TEST(FontCodecTTFTest, SavingIsRefusedWithALogLine) {
  QmTest::LogCapture log;
  Font font;
  EXPECT_FALSE(FontCodecTTF::GetInstance().Save(&font, L"out/big.ttf"));
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Count(L"Can't save font in the TTF file format( out/big.ttf ) - not implemented."), 1);
  EXPECT_FALSE(std::filesystem::exists("out/big.ttf"));
}

}  // namespace
