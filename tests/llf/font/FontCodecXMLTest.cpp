#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FontTestUtil.h"
#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "font/FontCodecXML.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"
#include "io/TextEncoding.h"
#include "io/TextFile.h"

namespace {

using LLF::Font;
using LLF::FontCodecXML;
using LLF::Point;

// A 4 x 2 PNG with distinct pixels, "g.png", and a font file describing it.
const wchar_t kFontXml[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    L"<font imgFile=\"g.png\" imgDims=\"100,100\" charBox=\"2,2\" sidesOffset=\"0,0\" charsCount=\"99\" "
    L"spaceWidth=\"3\" fontHeight=\"7\">\r\n"
    L"\t<character id=\"AB\" imgOffset=\"1,0\" dims=\"2,2\" renderOffset=\"0,-1\"/>\r\n"
    L"\t<character id=\"A\" imgOffset=\"0,0\" dims=\"9,9\" renderOffset=\"9,9\"/>\r\n"
    L"\t<character id=\"\" imgOffset=\"0,0\" dims=\"1,1\" renderOffset=\"0,0\"/>\r\n"
    L"\t<glyph id=\"C\" imgOffset=\"0,0\" dims=\"1,1\" renderOffset=\"0,0\"/>\r\n"
    L"\t<character id=\"&quot;\" imgOffset=\"0,1\" dims=\"1,2\"/>\r\n"
    L"\t<character id=\"\u0416\" imgOffset=\"1,1\" dims=\"2,1\" renderOffset=\"1,0\"/>\r\n"
    L"</font>\r\n";

class FontCodecXMLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecPng::GetInstance()));
    folder = QmTest::NewTempFolder("xmlfont");
    picture = QmTest::Pattern(4, 2, true);
    std::vector<uint16_t> samples;
    for (const LLF::Color& c : picture.pixels) samples.insert(samples.end(), {c.r, c.g, c.b, c.a});
    QmTest::PngOptions rgba;
    rgba.colorType = 6;  // RGBA
    QmTest::WriteFileBytes(folder + "/g.png", QmTest::MakePng(4, 2, samples, rgba));
  }
  void TearDown() override {
    LLF::ImagesManager::GetInstance().CleanupEverything(true);
    LLF::ImagesManager::GetInstance().UnregisterCodec(&LLF::CodecPng::GetInstance());
  }
  std::wstring Path(const std::string& name) const { return LLF::FromOsPath(folder + "/" + name); }
  std::wstring Write(const std::string& name, const std::wstring& text,
                     int encoding = LLF::TextFile::ENCODING_UTF8) const {
    LLF::TextFile file;
    EXPECT_TRUE(file.WriteAll(Path(name), text, encoding));
    return Path(name);
  }
  static Font* Load(const std::wstring& name) {
    return FontCodecXML::GetInstance().LoadFromFile(name, 20, L"ignored", Point(5, 5));
  }

  std::string folder;
  QmTest::Picture picture;
};

::testing::AssertionResult SameFont(const Font& a, const Font& b) {
  const Font::Metrics& ma = a.GetMetrics();
  const Font::Metrics& mb = b.GetMetrics();
  if (ma.fontHeight != mb.fontHeight || ma.spaceWidth != mb.spaceWidth || ma.charBox != mb.charBox ||
      ma.sidesOffset != mb.sidesOffset)
    return ::testing::AssertionFailure() << "metrics differ";
  if (a.GetCharsCount() != b.GetCharsCount())
    return ::testing::AssertionFailure() << "character counts differ";
  for (const auto& [c, glyph] : a.GetCharsMap()) {
    const Font::Glyph* other = b.FindChar(c);
    if (!other || other->character != c || other->imageOffset != glyph.imageOffset ||
        other->dims != glyph.dims || other->renderOffset != glyph.renderOffset)
      return ::testing::AssertionFailure() << "glyph of character " << unsigned(c) << " differs";
  }
  const LLF::Image& ia = a.GetImage();
  const LLF::Image& ib = b.GetImage();
  if (ia.GetWidth() != ib.GetWidth() || ia.GetHeight() != ib.GetHeight() ||
      ia.GetFormat() != ib.GetFormat() || ia.GetCellWidth() != ib.GetCellWidth() ||
      ia.GetCellHeight() != ib.GetCellHeight())
    return ::testing::AssertionFailure() << "glyph images differ in size, format or cells";
  if (ia.GetDataSize() != ib.GetDataSize() || std::memcmp(ia.GetData(), ib.GetData(), ia.GetDataSize()) != 0)
    return ::testing::AssertionFailure() << "glyph image pixels differ";
  return ::testing::AssertionSuccess();
}

// A TrueType font saved as an XML bitmap font loads back the same, with a
// margin and without one.
TEST_F(FontCodecXMLTest, TrueTypeFontRoundTrip) {
  for (const Point margin : {Point(2, 2), Point(0, 0)}) {
    std::unique_ptr<Font> made(QmTest::LoadTrueType(20, QmTest::Latin1AndCharsets(), margin));
    ASSERT_TRUE(made);
    const std::wstring name = Path("fonts/big" + std::to_string(margin.x) + ".xml");
    QmTest::LogCapture log;
    ASSERT_TRUE(FontCodecXML::GetInstance().Save(made.get(), name));
    EXPECT_TRUE(std::filesystem::exists(LLF::ToOsPath(name + L".png")));

    const QmTest::Bytes bytes = QmTest::ReadFileBytes(LLF::ToOsPath(name));
    ASSERT_GT(bytes.size(), 3u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "\xEF\xBB\xBF");
    const std::wstring text =
        LLF::Utf8Decode(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3);
    const std::wstring image = LLF::ToString(made->GetImage().GetSize());
    const std::wstring box = LLF::ToString(made->GetCharBox());
    const std::wstring head = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<font imgFile=\"" +
                              LLF::ExtractFileName(name) + L".png\" imgDims=\"" + image + L"\" charBox=\"" +
                              box + L"\" sidesOffset=\"" + LLF::ToString(margin) + L"\" charsCount=\"" +
                              LLF::ToString(made->GetCharsCount()) +
                              L"\" spaceWidth=\"10\" fontHeight=\"20\"";
    EXPECT_EQ(text.substr(0, head.size()), head);
    // Ascending character order.
    EXPECT_LT(text.find(L"id=\"&quot;\""), text.find(L"id=\"A\""));
    EXPECT_LT(text.find(L"id=\"A\""), text.find(L"id=\"\u00C9\""));
    EXPECT_LT(text.find(L"id=\"\u00C9\""), text.find(L"id=\"\u0416\""));

    std::unique_ptr<Font> loaded(Load(name));
    ASSERT_TRUE(loaded) << margin.x;
    EXPECT_TRUE(SameFont(*made, *loaded)) << margin.x;
  }
}

TEST_F(FontCodecXMLTest, ReadsGlyphsAndMetricsAndIgnoresTheRest) {
  QmTest::LogCapture log;
  std::unique_ptr<Font> font(Load(Write("f.xml", kFontXml)));
  ASSERT_TRUE(font);
  EXPECT_EQ(log.Count(L"Image loaded"), 1);
  EXPECT_EQ(font->GetCharBox(), Point(2, 2));
  EXPECT_EQ(font->GetSidesOffset(), Point(0, 0));
  EXPECT_EQ(font->GetSpaceWidth(), 3);
  EXPECT_EQ(font->GetMetrics().fontHeight, 7);
  // "AB" defines A, and the first A stays; the empty id and the element of
  // another name are skipped; a missing pair reads 0,0.
  ASSERT_EQ(font->GetCharsCount(), 3u);
  EXPECT_EQ(font->FindChar(L'A')->imageOffset, Point(1, 0));
  EXPECT_EQ(font->FindChar(L'A')->renderOffset, Point(0, -1));
  EXPECT_EQ(font->FindChar(L'B'), nullptr);
  EXPECT_EQ(font->FindChar(L'C'), nullptr);
  EXPECT_EQ(font->FindChar(L'"')->dims, Point(1, 2));
  EXPECT_EQ(font->FindChar(L'"')->renderOffset, Point(0, 0));
  EXPECT_EQ(font->FindChar(L'\u0416')->renderOffset, Point(1, 0));
  // The picture, whatever imgDims says; the images manager keeps no copy.
  EXPECT_TRUE(QmTest::SamePixels(font->GetImage(), picture, true));
  EXPECT_EQ(font->GetImage().GetCellWidth(), 4u);
  EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResource(Path("g.png")), nullptr);

  // UTF-16 with its mark reads the same.
  std::unique_ptr<Font> wide(Load(Write("w.xml", kFontXml, LLF::TextFile::ENCODING_UTF16LE)));
  ASSERT_TRUE(wide);
  EXPECT_TRUE(SameFont(*font, *wide));
}

// Every refused file gives null and one log line saying why.
TEST_F(FontCodecXMLTest, RefusedFilesGiveNullAndOneLogLine) {
  const std::wstring entry = L"Not a valid font file. Child entry with name \"font\" ";
  auto font = [](const std::wstring& attributes) {
    return L"<font " + attributes + L"><character id=\"A\" imgOffset=\"0,0\" dims=\"1,1\"/></font>";
  };
  const std::wstring good = L"charBox=\"2,2\" sidesOffset=\"1,1\" spaceWidth=\"3\" fontHeight=\"7\"";
  struct Case {
    std::string file;
    std::wstring text;  // written as UTF-8 with its mark
    std::wstring line;  // the logged line up to the file name; empty: another part's line
  };
  const Case cases[] = {
      {"noimg.xml", font(good), entry + L"don't have imgFile attribute. FontFile "},
      {"emptyimg.xml", font(L"imgFile=\"\" " + good), entry + L"don't have imgFile attribute. FontFile "},
      {"nobox.xml", font(L"imgFile=\"g.png\" sidesOffset=\"1,1\" spaceWidth=\"3\" fontHeight=\"7\""),
       entry + L"don't have charBox attribute or it equals (0,0). FontFile "},
      {"zerobox.xml",
       font(L"imgFile=\"g.png\" charBox=\"0,0\" sidesOffset=\"1,1\" spaceWidth=\"3\" fontHeight=\"7\""),
       entry + L"don't have charBox attribute or it equals (0,0). FontFile "},
      {"nosides.xml", font(L"imgFile=\"g.png\" charBox=\"2,2\" spaceWidth=\"3\" fontHeight=\"7\""),
       entry + L"don't have sidesOffset attribute or it equals (0,0). FontFile "},
      {"nospace.xml", font(L"imgFile=\"g.png\" charBox=\"2,2\" sidesOffset=\"1,1\" fontHeight=\"7\""),
       entry + L"don't have spaceWidth attribute or it equals 0. FontFile "},
      {"zerospace.xml",
       font(L"imgFile=\"g.png\" charBox=\"2,2\" sidesOffset=\"1,1\" spaceWidth=\"0\" fontHeight=\"7\""),
       entry + L"don't have spaceWidth attribute or it equals 0. FontFile "},
      {"noheight.xml", font(L"imgFile=\"g.png\" charBox=\"2,2\" sidesOffset=\"1,1\" spaceWidth=\"3\""),
       entry + L"don't have fontHeight attribute or it equals 0. FontFile "},
      {"nofont.xml", L"<fonts imgFile=\"g.png\" " + good + L"/>",
       L"Not a valid font file. Child entry with name \"font\" is not found in file "},
      {"nopng.xml", font(L"imgFile=\"missing.png\" " + good), L""},
      {"notimage.xml", font(L"imgFile=\"g.txt\" " + good), L""},
      {"broken.xml", font(L"imgFile=\"g.png\" " + good).substr(0, 40), L""},
      {"text.xml", L"just words", L""},
  };
  QmTest::WriteFileBytes(folder + "/g.txt", {'h', 'i'});
  for (const Case& c : cases) {
    const std::wstring name = Write(c.file, c.text);
    QmTest::LogCapture log;
    std::unique_ptr<Font> loaded(Load(name));
    EXPECT_FALSE(loaded) << c.file;
    ASSERT_EQ(log.Lines().size(), 1u) << c.file;
    if (!c.line.empty()) {
      EXPECT_EQ(log.Count(c.line + name), 1) << c.file;
    }
  }

  // Files that give no text at all.
  QmTest::WriteFileBytes(folder + "/empty.xml", {});
  QmTest::WriteFileBytes(folder + "/utf7.xml", {'+', '/', 'v', '8', '<', 'a', '/', '>'});
  const std::pair<std::string, std::wstring> unreadable[] = {
      {"empty.xml", L"Not a valid font file. Can't read from file. File: "},
      {"utf7.xml", L"Not a valid font file. Can't read text from file. File: "},
  };
  for (const auto& [file, line] : unreadable) {
    QmTest::LogCapture log;
    std::unique_ptr<Font> loaded(Load(Path(file)));
    EXPECT_FALSE(loaded) << file;
    ASSERT_EQ(log.Lines().size(), 1u) << file;
    EXPECT_EQ(log.Lines().front(), line + Path(file));
  }

  FontCodecXML& codec = FontCodecXML::GetInstance();
  EXPECT_EQ(codec.LoadFromFile(Path("none.xml"), 0, L"", Point()), nullptr);
  EXPECT_EQ(codec.GetLastError(), L"Can't open file " + Path("none.xml"));
}

TEST_F(FontCodecXMLTest, PictureIsSavedFirstAndAFailureStopsTheSave) {
  std::unique_ptr<Font> font(Load(Write("f.xml", kFontXml)));
  ASSERT_TRUE(font);
  QmTest::WriteFileBytes(folder + "/plain", {'x'});  // a file where a folder would have to be
  const std::wstring name = Path("plain/big.xml");
  QmTest::LogCapture log;
  EXPECT_FALSE(FontCodecXML::GetInstance().Save(font.get(), name));
  EXPECT_EQ(log.Count(L"ERROR: Can't save font image file: " + name + L".png"), 1);
  EXPECT_FALSE(std::filesystem::exists(LLF::ToOsPath(name)));

  // The picture is saved but the XML cannot take the place of a folder.
  std::filesystem::create_directories(folder + "/taken.xml");
  log.Clear();
  EXPECT_FALSE(FontCodecXML::GetInstance().Save(font.get(), Path("taken.xml")));
  EXPECT_TRUE(std::filesystem::exists(folder + "/taken.xml.png"));
  EXPECT_EQ(log.Count(L"Error: SaveToFile failed. Can't write XML file. Filename: " + Path("taken.xml")), 1);

  log.Clear();
  EXPECT_FALSE(FontCodecXML::GetInstance().Save(nullptr, Path("null.xml")));
  EXPECT_EQ(log.Lines().size(), 1u);
}

// A picture that is also a registered image: the font gets a copy of its
// own, and freeing either leaves the other intact.
TEST_F(FontCodecXMLTest, PictureSharedWithAnImageIdStaysSeparate) {
  auto& images = LLF::ImagesManager::GetInstance();
  LLF::Image* shared = images.LoadImage(Path("g.png"), L"", false, true);
  ASSERT_NE(shared, nullptr);
  std::unique_ptr<Font> font(Load(Write("f.xml", kFontXml)));
  ASSERT_TRUE(font);
  EXPECT_NE(&font->GetImage(), shared);
  font.reset();
  EXPECT_EQ(images.FindResource(Path("g.png")), shared);
  EXPECT_TRUE(QmTest::SamePixels(*shared, picture, true));
  EXPECT_TRUE(images.FreeImage(shared));
}

}  // namespace
