#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FontTestUtil.h"
#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "font/FontCodecTTF.h"
#include "font/FontCodecXML.h"
#include "font/FontsManager.h"
#include "font/GlyphGrid.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"

namespace {

using LLF::Font;
using LLF::FontsManager;
using LLF::Point;

class FontsManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FontsManager& m = FontsManager::GetInstance();
    ASSERT_TRUE(m.RegisterCodec(&LLF::FontCodecTTF::GetInstance()));
    ASSERT_TRUE(m.RegisterCodec(&LLF::FontCodecXML::GetInstance()));
    ASSERT_TRUE(LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecPng::GetInstance()));
    folder = QmTest::NewTempFolder("fonts");
  }
  void TearDown() override {
    FontsManager& m = FontsManager::GetInstance();
    m.CleanupEverything(true);
    m.UnregisterCodec(&LLF::FontCodecTTF::GetInstance());
    m.UnregisterCodec(&LLF::FontCodecXML::GetInstance());
    LLF::ImagesManager::GetInstance().UnregisterCodec(&LLF::CodecPng::GetInstance());
  }
  std::wstring Path(const std::string& name) const { return LLF::FromOsPath(folder + "/" + name); }
  static Font* Load(const std::wstring& name, const std::wstring& id, int size = 20,
                    const std::wstring& characters = L"AB") {
    return FontsManager::GetInstance().LoadFont(name, size, characters, id, false, true, Point(2, 2));
  }

  const std::wstring dejaVu = LLF::AnsiToWide(QmTest::kDejaVuSans);
  std::string folder;
};

TEST_F(FontsManagerTest, SameIdSharesOneFontUntilTheLastFree) {
  FontsManager& m = FontsManager::GetInstance();
  QmTest::FakeRenderSystem render;
  QmTest::CurrentRender current(&render);
  QmTest::LogCapture log;
  Font* first = m.LoadFont(dejaVu, 20, L"AB", L"sans", false, false, Point(2, 2));
  ASSERT_NE(first, nullptr);
  Font* second = m.LoadFont(dejaVu, 40, L"XYZ", L"sans", false, false, Point(0, 0));
  EXPECT_EQ(second, first);
  EXPECT_EQ(first->GetCharsCount(), 2u);  // the second load renders nothing
  EXPECT_EQ(render.uploads, 1);
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Font loaded \"" + dejaVu + L"\""});
  EXPECT_EQ(m.FindResource(L"sans"), first);
  EXPECT_EQ(m.Dump(),
            L"FontsManager class. Info:\r\nFonts loaded: 1\r\nCodecs registered: 2\r\nFonts list(only "
            L"ID's): \r\nsans. References count: 2\r\n--- End of list.\r\n");

  log.Clear();
  EXPECT_TRUE(m.FreeFont(first));
  EXPECT_TRUE(m.FreeFont(first));
  EXPECT_EQ(log.Lines(),
            (std::vector<std::wstring>{L"Font \"sans\" reference removed.", L"Font \"sans\" deleted."}));
  EXPECT_FALSE(m.FreeFont(first));
  EXPECT_EQ(render.liveData, 0);

  // Unkept fonts belong to the caller; an empty id keys by the file name.
  std::unique_ptr<Font> own(m.LoadFont(dejaVu, 20, L"A", L"", true, true, Point(0, 0)));
  ASSERT_TRUE(own);
  EXPECT_EQ(m.FindResource(dejaVu), nullptr);
  Font* byName = Load(dejaVu, L"");
  EXPECT_EQ(m.FindResourceId(byName), dejaVu);

  log.Clear();
  m.CleanupEverything(false);
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0], L"WARNING: Some fonts are not freed. Leaked fonts list follows:");
  EXPECT_NE(log.Lines()[1].find(dejaVu + L". References count: 1"), std::wstring::npos);
  EXPECT_EQ(m.FindResource(dejaVu), nullptr);
}

// Bad files through the manager: null, nothing kept, and the manager's line
// after the codec's own (the XML codec logs its reason; the TrueType codec
// keeps it as its last error).
TEST_F(FontsManagerTest, BadFilesGiveNullAndTheirLines) {
  const QmTest::Bytes ttf = QmTest::ReadFileBytes(QmTest::kDejaVuSans);
  QmTest::WriteFileBytes(folder + "/half.ttf", QmTest::Bytes(ttf.begin(), ttf.begin() + ttf.size() / 2));
  QmTest::WriteFileBytes(folder + "/junk.ttf", QmTest::Bytes(500, 7));
  QmTest::WriteFileBytes(folder + "/junk.xml", {'<', 'f', 'o', 'n', 't'});
  QmTest::WriteFileBytes(folder + "/nofont.xml", {'<', 'a', '/', '>'});
  QmTest::WriteFileBytes(folder + "/font.fnt", {'x'});
  const std::wstring noCodec =
      L"Error: LoadFont failed. Corresponding codec was not found for this file format.\r\nFilename: ";
  struct Case {
    std::string file;
    size_t lines;
    std::wstring last;  // the manager's line
  };
  const Case cases[] = {
      {"missing.ttf", 1,
       L"Error: LoadFont failed. Can't open font file. Filename: " + Path("missing.ttf") + L" Font ID: f"},
      {"missing.xml", 1,
       L"Error: LoadFont failed. Can't open font file. Filename: " + Path("missing.xml") + L" Font ID: f"},
      {"half.ttf", 1, noCodec + Path("half.ttf") + L"\r\nFont ID: f"},
      {"junk.ttf", 1, noCodec + Path("junk.ttf") + L"\r\nFont ID: f"},
      {"junk.xml", 2, noCodec + Path("junk.xml") + L"\r\nFont ID: f"},
      {"nofont.xml", 2, noCodec + Path("nofont.xml") + L"\r\nFont ID: f"},
      {"font.fnt", 1, noCodec + Path("font.fnt") + L"\r\nFont ID: f"},
  };
  for (const Case& c : cases) {
    QmTest::LogCapture log;
    EXPECT_EQ(Load(Path(c.file), L"f"), nullptr) << c.file;
    ASSERT_EQ(log.Lines().size(), c.lines) << c.file;
    EXPECT_EQ(log.Lines().back(), c.last);
    EXPECT_EQ(FontsManager::GetInstance().FindResource(L"f"), nullptr);
  }
  EXPECT_EQ(LLF::FontCodecTTF::GetInstance().GetLastError(),
            L"Can't create font face from the font file. File: " + Path("junk.ttf"));
}

TEST_F(FontsManagerTest, SavesThroughTheCodecOfTheExtension) {
  FontsManager& m = FontsManager::GetInstance();
  Font* font = Load(dejaVu, L"sans");
  ASSERT_NE(font, nullptr);
  QmTest::LogCapture log;
  EXPECT_TRUE(m.SaveFont(font, Path("sans.xml")));
  EXPECT_EQ(log.Lines().back(), L"Font saved \"" + Path("sans.xml") + L"\"");
  std::unique_ptr<Font> reloaded(m.LoadFont(Path("sans.xml"), 0, L"", L"", true, true, Point()));
  ASSERT_TRUE(reloaded);
  EXPECT_EQ(reloaded->GetCharsCount(), 2u);

  log.Clear();
  EXPECT_FALSE(m.SaveFont(font, Path("sans.ttf")));
  EXPECT_EQ(log.Lines().back(), L"Error: SaveFont failed. Codec was not able to save font.\r\nFilename: " +
                                    Path("sans.ttf") + L"\r\n" + font->Dump() + L" Codec: " +
                                    LLF::FontCodecTTF::GetInstance().Dump());
  log.Clear();
  EXPECT_FALSE(m.SaveFont(font, Path("sans.fnt")));
  EXPECT_EQ(log.Lines(),
            std::vector<std::wstring>{
                L"Error: SaveFont failed. Corresponding codec is not founded for this file format."
                L"\r\nFilename: " +
                Path("sans.fnt") + L"\r\n" + font->Dump()});
}

// The joined font holds a's glyphs, then b's that a lacks, each glyph's
// pixels copied into its new cell at the spacing.
TEST_F(FontsManagerTest, AppendFontsLaysOutBothFontsAfresh) {
  std::unique_ptr<Font> a(QmTest::LoadTrueType(20, L"AB", Point(1, 1)));
  std::unique_ptr<Font> b(QmTest::LoadTrueType(20, L"BCW", Point(0, 3)));
  ASSERT_TRUE(a && b);
  const Point spacing(2, 2);
  QmTest::LogCapture log;
  std::unique_ptr<Font> joined(FontsManager::GetInstance().AppendFonts(a.get(), b.get(), spacing));
  ASSERT_TRUE(joined);
  EXPECT_TRUE(log.Lines().empty());
  // Four glyphs no wider or higher than 28 pixels with the spacing: cells
  // of 32 in a 64 x 64 picture.
  EXPECT_EQ(joined->GetCharBox(), Point(32, 32));
  EXPECT_EQ(joined->GetImage().GetWidth(), 64u);
  EXPECT_EQ(joined->GetImage().GetHeight(), 64u);
  EXPECT_EQ(joined->GetSidesOffset(), spacing);
  EXPECT_EQ(joined->GetMetrics().fontHeight, 20);
  EXPECT_EQ(joined->GetSpaceWidth(), 10);
  EXPECT_EQ(FontsManager::GetInstance().FindResourceId(joined.get()), L"");

  const std::pair<wchar_t, const Font*> order[] = {
      {L'A', a.get()}, {L'B', a.get()}, {L'C', b.get()}, {L'W', b.get()}};
  for (size_t k = 0; k < 4; ++k) {
    const auto [c, source] = order[k];
    const Font::Glyph* glyph = joined->FindChar(c);
    const Font::Glyph* original = source->FindChar(c);
    ASSERT_TRUE(glyph && original);
    EXPECT_EQ(glyph->imageOffset, Point(int(k % 2), int(k / 2))) << char(c);
    EXPECT_EQ(glyph->dims, original->dims);
    EXPECT_EQ(glyph->renderOffset, original->renderOffset);
    const LLF::Rect to = LLF::GlyphGrid::GlyphArea(glyph->imageOffset, 32, spacing, glyph->dims);
    const LLF::Rect from = LLF::GlyphGrid::GlyphArea(original->imageOffset, source->GetCharBox().x,
                                                     source->GetSidesOffset(), glyph->dims);
    int covered = 0;
    for (int y = 0; y < glyph->dims.y; ++y) {
      for (int x = 0; x < glyph->dims.x; ++x) {
        LLF::Color got, want;
        joined->GetImage().GetPixel(&got, to.x + x, to.y + y);
        source->GetImage().GetPixel(&want, from.x + x, from.y + y);
        ASSERT_EQ(got, want) << char(c) << " at " << x << "," << y;
        covered += got.a != 0;
      }
    }
    EXPECT_GT(covered, 10) << char(c);
  }

  std::unique_ptr<Font> taller(QmTest::LoadTrueType(24, L"A", Point(1, 1)));
  EXPECT_EQ(FontsManager::GetInstance().AppendFonts(a.get(), taller.get(), spacing), nullptr);
  EXPECT_EQ(log.Lines(),
            std::vector<std::wstring>{L"Error: Fonts you are trying to append have different sizes."});
}

// Bitmap fonts may have cells that are not square (the XML format takes any
// box): each glyph is found in its cell as text drawing finds it, the box's
// width across and its height down. Two fonts of 8 x 16 cells with margin
// (1, 2); each glyph pixel has its own colour.
TEST_F(FontsManagerTest, AppendFontsReadsGlyphsFromCellsThatAreNotSquare) {
  struct Placed {
    wchar_t character;
    Point cell;
    Point dims;
  };
  const auto pattern = [](wchar_t c, int x, int y) {
    return LLF::Color(uint8_t(c), uint8_t(x * 20), uint8_t(y * 20), 255);
  };
  const auto make = [&](const std::vector<Placed>& glyphs) {
    auto font = std::make_unique<Font>();
    Font::Metrics& m = font->GetMetrics();
    m.fontHeight = 12;
    m.spaceWidth = 4;
    m.charBox = Point(8, 16);
    m.sidesOffset = Point(1, 2);
    EXPECT_TRUE(font->ResetImage(16, 32));
    for (const Placed& p : glyphs) {
      Font::Glyph g;
      g.character = p.character;
      g.imageOffset = p.cell;
      g.dims = p.dims;
      font->GetCharsMap().emplace(p.character, g);
      // Margin in from the cell's left edge, its lowest row the margin above
      // the cell's lower edge.
      const int left = p.cell.x * 8 + 1;
      const int top = (p.cell.y + 1) * 16 - 2 - p.dims.y;
      for (int y = 0; y < p.dims.y; ++y)
        for (int x = 0; x < p.dims.x; ++x) {
          const LLF::Color c = pattern(p.character, x, y);
          font->GetImage().SetPixel(left + x, top + y, &c);
        }
    }
    return font;
  };
  const std::unique_ptr<Font> a =
      make({{L'x', Point(1, 0), Point(5, 10)}, {L'y', Point(0, 1), Point(6, 12)}});
  const std::unique_ptr<Font> b = make({{L'z', Point(1, 1), Point(4, 7)}, {L'y', Point(0, 0), Point(2, 2)}});

  const Point spacing(2, 2);
  std::unique_ptr<Font> joined(FontsManager::GetInstance().AppendFonts(a.get(), b.get(), spacing));
  ASSERT_TRUE(joined);
  // Content up to 10 x 16: cells of 16, three of them in 32 x 32.
  EXPECT_EQ(joined->GetCharBox(), Point(16, 16));
  ASSERT_EQ(joined->GetImage().GetWidth(), 32u);
  ASSERT_EQ(joined->GetImage().GetHeight(), 32u);
  const Placed expected[] = {
      {L'x', Point(0, 0), Point(5, 10)}, {L'y', Point(1, 0), Point(6, 12)}, {L'z', Point(0, 1), Point(4, 7)}};
  int opaque = 0;
  for (const Placed& p : expected) {
    const Font::Glyph* glyph = joined->FindChar(p.character);
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->imageOffset, p.cell);
    EXPECT_EQ(glyph->dims, p.dims);
    const int left = p.cell.x * 16 + 2;
    const int top = (p.cell.y + 1) * 16 - 2 - p.dims.y;
    for (int y = 0; y < p.dims.y; ++y)
      for (int x = 0; x < p.dims.x; ++x) {
        LLF::Color got;
        joined->GetImage().GetPixel(&got, left + x, top + y);
        ASSERT_EQ(got, pattern(p.character, x, y)) << char(p.character) << " at " << x << "," << y;
      }
  }
  // Nothing else was copied.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      LLF::Color c;
      opaque += joined->GetImage().GetPixel(&c, x, y)->a != 0;
    }
  EXPECT_EQ(opaque, 5 * 10 + 6 * 12 + 4 * 7);
}

}  // namespace
