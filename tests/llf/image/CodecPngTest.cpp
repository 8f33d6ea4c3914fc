#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include <png.h>

#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "image/CodecPng.h"
#include "image/Image.h"

namespace {

using LLF::CodecPng;
using QmTest::Bytes;
using QmTest::PngOptions;

std::unique_ptr<LLF::Image> Load(const Bytes& bytes) {
  return std::unique_ptr<LLF::Image>(QmTest::LoadBytes(CodecPng::GetInstance(), bytes));
}

std::wstring LastError() {
  return CodecPng::GetInstance().GetLastError();
}

// Samples of a picture in the channel layout of a colour type.
std::vector<uint16_t> Samples(const QmTest::Picture& p, int channels) {
  std::vector<uint16_t> s;
  for (const auto& c : p.pixels) {
    const uint16_t rgba[4] = {c.r, c.g, c.b, c.a};
    for (int i = 0; i < channels; ++i) s.push_back(rgba[i]);
  }
  return s;
}

TEST(CodecPngTest, LoadsEveryColourType) {
  const QmTest::Picture rgb = QmTest::Pattern(9, 10, false);
  const QmTest::Picture rgba = QmTest::Pattern(9, 10, true);
  QmTest::Picture rgb0 = rgb;
  for (auto& p : rgb0.pixels) p.a = 0;

  // RGB rows load in format 0 with the fourth byte 0; RGBA in format 1.
  for (bool interlace : {false, true}) {
    auto image = Load(
        QmTest::MakePng(9, 10, Samples(rgb, 3), {.colorType = PNG_COLOR_TYPE_RGB, .interlace = interlace}));
    ASSERT_TRUE(image) << LLF::WideToAnsi(LastError());
    EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
    EXPECT_TRUE(QmTest::SamePixels(*image, rgb0, true)) << "interlaced " << interlace;
    image = Load(QmTest::MakePng(9, 10, Samples(rgba, 4),
                                 {.colorType = PNG_COLOR_TYPE_RGB_ALPHA, .interlace = interlace}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
    EXPECT_TRUE(QmTest::SamePixels(*image, rgba, true)) << "interlaced " << interlace;
  }

  // 16-bit samples keep their high bytes.
  std::vector<uint16_t> wide;
  for (uint16_t v : Samples(rgb, 3)) wide.push_back(uint16_t(v << 8 | 0x5A));
  auto image = Load(QmTest::MakePng(9, 10, wide, {.colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 16}));
  ASSERT_TRUE(image);
  EXPECT_TRUE(QmTest::SamePixels(*image, rgb0, true));

  // Palette: plain gives format 0, with a transparency chunk format 1.
  const std::vector<LLF::Color> palette = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
  const std::vector<uint16_t> indexes = {0, 1, 2, 2, 1, 0};
  image = Load(QmTest::MakePng(3, 2, indexes, {.colorType = PNG_COLOR_TYPE_PALETTE, .palette = palette}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
  LLF::Color c;
  EXPECT_EQ(*image->GetPixel(&c, 1, 0), LLF::Color(0, 255, 0, 0));
  image = Load(QmTest::MakePng(
      3, 2, indexes, {.colorType = PNG_COLOR_TYPE_PALETTE, .palette = palette, .paletteAlpha = {10, 20}}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_EQ(*image->GetPixel(&c, 0, 0), LLF::Color(255, 0, 0, 10));
  EXPECT_EQ(*image->GetPixel(&c, 1, 0), LLF::Color(0, 255, 0, 20));
  EXPECT_EQ(*image->GetPixel(&c, 2, 0), LLF::Color(0, 0, 255, 255));
  // Small palette depths unpack too.
  image = Load(QmTest::MakePng(3, 2, indexes,
                               {.colorType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 2, .palette = palette}));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image->GetPixel(&c, 2, 1), LLF::Color(255, 0, 0, 0));

  // Grey becomes RGB; grey below 8 bits is scaled to 8 bits.
  image = Load(QmTest::MakePng(2, 1, {0, 1}, {.colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1}));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image->GetPixel(&c, 1, 0), LLF::Color(255, 255, 255, 0));
  image = Load(QmTest::MakePng(2, 1, {77, 200, 5, 9}, {.colorType = PNG_COLOR_TYPE_GRAY_ALPHA}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_EQ(*image->GetPixel(&c, 0, 0), LLF::Color(77, 77, 77, 200));
  EXPECT_EQ(*image->GetPixel(&c, 1, 0), LLF::Color(5, 5, 5, 9));
}

// RGB rows are widened into the image row by row, whole registers at a
// time where the row allows: every width gives the same pixels. A file
// whose zlib checksum alone is wrong still loads (each chunk's CRC guards
// the bytes), while damaged data stays refused (RefusesBadFiles).
TEST(CodecPngTest, RgbRowsOfEveryWidthAndTheZlibChecksum) {
  for (unsigned width : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 11u, 16u, 17u, 64u, 67u}) {
    QmTest::Picture rgb = QmTest::Pattern(width, 3, false);
    const Bytes png = QmTest::MakePng(width, 3, Samples(rgb, 3), {.colorType = PNG_COLOR_TYPE_RGB});
    for (auto& c : rgb.pixels) c.a = 0;
    auto image = Load(png);
    ASSERT_TRUE(image) << width << ": " << LLF::WideToAnsi(LastError());
    EXPECT_TRUE(QmTest::SamePixels(*image, rgb, true)) << width;
  }

  const QmTest::Picture rgb = QmTest::Pattern(20, 20, false);
  Bytes png = QmTest::MakePng(20, 20, Samples(rgb, 3), {.colorType = PNG_COLOR_TYPE_RGB});
  // Find the (single) IDAT chunk: length, type, data, CRC.
  size_t at = 8;
  while (at + 8 <= png.size() &&
         std::string(png.begin() + long(at) + 4, png.begin() + long(at) + 8) != "IDAT") {
    at += 12 + (size_t(png[at]) << 24 | size_t(png[at + 1]) << 16 | size_t(png[at + 2]) << 8 | png[at + 3]);
  }
  ASSERT_LT(at + 8, png.size());
  const size_t length =
      size_t(png[at]) << 24 | size_t(png[at + 1]) << 16 | size_t(png[at + 2]) << 8 | png[at + 3];
  Bytes data(png.begin() + long(at) + 8, png.begin() + long(at + 8 + length));
  data.back() ^= 0x01;  // the last byte of the zlib stream's Adler-32
  const Bytes chunk = QmTest::Chunk("IDAT", data);
  png.erase(png.begin() + long(at), png.begin() + long(at + 12 + length));
  png.insert(png.begin() + long(at), chunk.begin(), chunk.end());
  QmTest::Picture expected = rgb;
  for (auto& c : expected.pixels) c.a = 0;
  QmTest::LogCapture log;
  auto image = Load(png);
  ASSERT_TRUE(image) << LLF::WideToAnsi(LastError());
  EXPECT_TRUE(QmTest::SamePixels(*image, expected, true));
}

TEST(CodecPngTest, SavesAndLoadsBackExactly) {
  const std::string folder = QmTest::NewTempFolder();
  const std::wstring name = LLF::FromOsPath(folder + "/round.png");
  for (bool alpha : {false, true}) {
    const QmTest::Picture p = QmTest::Pattern(13, 7, alpha);
    LLF::Image image(13, 7, alpha ? LLF::IMGFORMAT_R8G8B8A8 : LLF::IMGFORMAT_R8G8B8X8);
    for (unsigned y = 0; y < 7; ++y)
      for (unsigned x = 0; x < 13; ++x) {
        LLF::Color c = p.At(x, y);
        c.a = alpha ? c.a : 99;  // format 0's fourth byte is not written
        image.SetPixel(int(x), int(y), &c);
      }
    ASSERT_TRUE(CodecPng::GetInstance().Save(&image, name));
    const std::unique_ptr<LLF::Image> back(CodecPng::GetInstance().LoadFromFile(name));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetFormat(), image.GetFormat());
    QmTest::Picture expected = p;
    if (!alpha)
      for (auto& c : expected.pixels) c.a = 0;
    EXPECT_TRUE(QmTest::SamePixels(*back, expected, true)) << "alpha " << alpha;
  }
}

TEST(CodecPngTest, WriteFailureIsReported) {
  QmTest::LogCapture log;
  LLF::Image image(64, 64, LLF::IMGFORMAT_R8G8B8A8);
  EXPECT_FALSE(CodecPng::GetInstance().Save(&image, L"/dev/full"));
  EXPECT_EQ(LastError(), L"Exception caught inside of PNGLib. Filename: /dev/full");
  EXPECT_EQ(log.Count(L"PNGLIB warning: Write Error"), 1);
  EXPECT_EQ(log.Count(L"Source: llf_png_error callback."), 1);
  // The image lock was given back: another thread can take it.
  bool filled = false;
  std::thread other([&] {
    const LLF::Color red(255, 0, 0, 255);
    filled = image.Fill(&red);
  });
  other.join();
  EXPECT_TRUE(filled);
}

TEST(CodecPngTest, RefusesBadFiles) {
  const QmTest::Picture p = QmTest::Pattern(20, 20, true);
  const Bytes good = QmTest::MakePng(20, 20, Samples(p, 4), {.colorType = PNG_COLOR_TYPE_RGB_ALPHA});
  const Bytes interlaced =
      QmTest::MakePng(20, 20, Samples(p, 4), {.colorType = PNG_COLOR_TYPE_RGB_ALPHA, .interlace = true});
  ASSERT_TRUE(Load(good));
  const auto cut = [](Bytes b, size_t size) {
    b.resize(size);
    return b;
  };
  const auto flip = [](Bytes b, size_t at) {
    b[at] ^= 0x55;
    return b;
  };
  // The IHDR chunk's data starts at byte 16: width, height, depth, type.
  const auto header = [&](uint32_t width, uint32_t height, uint8_t depth, uint8_t type) {
    Bytes ihdr = {uint8_t(width >> 24),
                  uint8_t(width >> 16),
                  uint8_t(width >> 8),
                  uint8_t(width),
                  uint8_t(height >> 24),
                  uint8_t(height >> 16),
                  uint8_t(height >> 8),
                  uint8_t(height),
                  depth,
                  type,
                  0,
                  0,
                  0};
    Bytes b(good.begin(), good.begin() + 8);
    const Bytes chunk = QmTest::Chunk("IHDR", ihdr);
    b.insert(b.end(), chunk.begin(), chunk.end());
    b.insert(b.end(), good.begin() + 33, good.end());
    return b;
  };
  const std::wstring library = L"Exception caught inside of PNGLib. Filename: MemoryFile";
  struct Case {
    const char* what;
    Bytes bytes;
    std::wstring error;
  } cases[] = {
      {"empty", {}, L"Not a valid png file. Filename: "},
      {"other signature", QmTest::MakeBmp(p), L"Not a valid png file. Filename: "},
      {"signature only", cut(good, 8), library},
      {"cut in the header", cut(good, 20), library},
      {"cut in the data", cut(good, good.size() / 2), library},
      {"cut in interlaced data", cut(interlaced, interlaced.size() / 2), library},
      {"no end chunk", cut(good, good.size() - 12), library},
      {"damaged header", flip(good, 20), library},
      {"damaged data", flip(good, good.size() - 30), library},
      {"damaged interlaced data", flip(interlaced, interlaced.size() / 2), library},
      {"zero width", header(0, 20, 8, 6), library},
      {"huge size", header(100000, 100000, 8, 6), L"Unsupported image size 100000 x 100000"},
      {"bad depth", header(20, 20, 7, 6), library},
      {"palette without colours", header(20, 20, 8, 3), library},
  };
  for (const auto& c : cases) {
    QmTest::LogCapture log;
    EXPECT_FALSE(Load(c.bytes)) << c.what;
    EXPECT_EQ(LastError().find(c.error), 0u) << c.what << ": " << LLF::WideToAnsi(LastError());
    if (c.error == library) {
      EXPECT_EQ(log.Count(L"Code: 5"), 1) << c.what;
    }
  }
}

}  // namespace
