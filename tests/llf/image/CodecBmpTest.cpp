#include <gtest/gtest.h>

#include <memory>

#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "image/CodecBmp.h"
#include "image/CodecJpg.h"
#include "image/Image.h"

namespace {

using LLF::CodecBmp;
using QmTest::BmpOptions;
using QmTest::Bytes;
using QmTest::Picture;

std::unique_ptr<LLF::Image> Load(const Bytes& bytes) {
  return std::unique_ptr<LLF::Image>(QmTest::LoadBytes(CodecBmp::GetInstance(), bytes));
}

TEST(CodecBmpTest, DescribesItselfAndMatchesExtensions) {
  CodecBmp& bmp = CodecBmp::GetInstance();
  EXPECT_TRUE(bmp.IsKindOf("CodecBmp") && bmp.IsKindOf("ImageCodec") && bmp.IsKindOf("ICodec") &&
              bmp.IsKindOf("Object"));
  EXPECT_EQ(
      bmp.Dump(),
      L"ICodec info: \r\nAuthor: Brenvik, 2007\r\nVersion: 1.0\r\nDescription: Image codec for Windows BMP "
      L"image files.\r\nShort descr.: BMP image codec\r\nFile extensions: bmp");
  struct Case {
    const wchar_t* name;
    bool bmp, jpg;
  } cases[] = {
      {L"picture.BMP", true, false},  {L"picture.bmp", true, false},      {L"bmp", false, false},
      {L"archive.jpeg", false, true}, {L"a.b/c.JFIF", false, true},       {L"x.bmp.png", false, false},
      {L"picture.", false, false},    {L"dir.bmp/picture", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(bmp.IsExtensionSupported(c.name), c.bmp) << c.name;
    EXPECT_EQ(LLF::CodecJpg::GetInstance().IsExtensionSupported(c.name), c.jpg) << c.name;
  }
}

TEST(CodecBmpTest, LoadsEveryLayout) {
  const Picture opaque = QmTest::Pattern(5, 3, false);
  const Picture alpha = QmTest::Pattern(5, 3, true);
  struct Case {
    const char* what;
    const Picture* picture;
    BmpOptions options;
    unsigned format;
  } cases[] = {
      {"24-bit", &opaque, {}, LLF::IMGFORMAT_R8G8B8X8},
      {"32-bit", &alpha, {.bitCount = 32}, LLF::IMGFORMAT_R8G8B8A8},
      {"108-byte header", &opaque, {.infoSize = 108}, LLF::IMGFORMAT_R8G8B8X8},
      {"124-byte header", &alpha, {.bitCount = 32, .infoSize = 124}, LLF::IMGFORMAT_R8G8B8A8},
      {"top-down rows", &opaque, {.topDown = true}, LLF::IMGFORMAT_R8G8B8X8},
      {"gap before the pixels", &opaque, {.gap = 1024}, LLF::IMGFORMAT_R8G8B8X8},
      {"offset inside the headers", &opaque, {.offsetOverride = 0}, LLF::IMGFORMAT_R8G8B8X8},
  };
  for (const auto& c : cases) {
    const auto image = Load(QmTest::MakeBmp(*c.picture, c.options));
    ASSERT_TRUE(image) << c.what << ": " << LLF::WideToAnsi(CodecBmp::GetInstance().GetLastError());
    EXPECT_EQ(image->GetFormat(), c.format) << c.what;
    EXPECT_TRUE(QmTest::SamePixels(*image, *c.picture, true)) << c.what;
    EXPECT_EQ(image->GetCellsCount(), 1u);
    EXPECT_EQ(image->GetLoopsCount(), 1u);
  }

  // A 32-bit file whose fourth bytes are all 0 loads fully transparent.
  Picture clear = opaque;
  for (auto& p : clear.pixels) p.a = 0;
  const auto image = Load(QmTest::MakeBmp(clear, {.bitCount = 32}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_TRUE(QmTest::SamePixels(*image, clear, true));
}

TEST(CodecBmpTest, RefusesBadFiles) {
  const Picture p = QmTest::Pattern(4, 3, false);
  const Bytes good = QmTest::MakeBmp(p);
  const auto cut = [](Bytes b, size_t size) {
    b.resize(size);
    return b;
  };
  const auto patch32 = [](Bytes b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
    return b;
  };
  struct Case {
    const char* what;
    Bytes bytes;
    const wchar_t* error;
  } cases[] = {
      {"empty file", {}, L"Not a valid bmp file. Filename: "},
      {"other signature", QmTest::MakePng(1, 1, {0, 0, 0}, {}), L"Not a valid bmp file. Filename: "},
      {"signature only", cut(good, 2), L"Bmp file is truncated"},
      {"cut in the info header", cut(good, 30), L"Bmp file is truncated"},
      {"OS/2 header", QmTest::MakeBmp(p, {.infoSize = 12}), L"Unknown bitmap file format. Filename: "},
      {"huge header size", patch32(good, 14, 0xFFFFFFF0), L"Unknown bitmap file format. Filename: "},
      {"RLE", QmTest::MakeBmp(p, {.compression = 1}), L"Compressed BMP files are not supported. Filename: "},
      {"bit fields", QmTest::MakeBmp(p, {.bitCount = 32, .compression = 3}),
       L"Compressed BMP files are not supported. Filename: "},
      {"16-bit", QmTest::MakeBmp(p, {.bitCount = 16}), L"Only 24 and 32 bit bmp files supported. Filename: "},
      {"8-bit", QmTest::MakeBmp(p, {.bitCount = 8}), L"Only 24 and 32 bit bmp files supported. Filename: "},
      {"zero width", QmTest::MakeBmp(p, {.widthField = 0}), L"Invalid bmp image size. Filename: "},
      {"negative width", QmTest::MakeBmp(p, {.widthField = -4}), L"Invalid bmp image size. Filename: "},
      {"zero height", QmTest::MakeBmp(p, {.heightField = 0}), L"Invalid bmp image size. Filename: "},
      {"huge width", QmTest::MakeBmp(p, {.widthField = 0x7FFFFFFF}), L"Unsupported image size"},
      {"most negative height", QmTest::MakeBmp(p, {.heightField = INT32_MIN}), L"Unsupported image size"},
      {"more rows than data", QmTest::MakeBmp(p, {.heightField = 40}), L"Bmp file is truncated"},
      {"cut in the last row", cut(good, good.size() - 4), L"Bmp file is truncated"},
      {"offset past the end", QmTest::MakeBmp(p, {.offsetOverride = 0x7FFFFF00}), L"Bmp file is truncated"},
      {"offset near the end", QmTest::MakeBmp(p, {.offsetOverride = int64_t(good.size() - 8)}),
       L"Bmp file is truncated"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Load(c.bytes)) << c.what;
    EXPECT_EQ(CodecBmp::GetInstance().GetLastError().find(c.error), 0u)
        << c.what << ": " << LLF::WideToAnsi(CodecBmp::GetInstance().GetLastError());
  }
}

TEST(CodecBmpTest, SavesTwentyFourBits) {
  const std::string folder = QmTest::NewTempFolder();
  const std::wstring name = LLF::FromOsPath(folder + "/three.bmp");
  LLF::Image image(3, 1, LLF::IMGFORMAT_R8G8B8A8);
  const LLF::Color half(10, 20, 30, 128);
  image.SetPixel(0, 0, &half);
  ASSERT_TRUE(CodecBmp::GetInstance().Save(&image, name.c_str()));
  const Bytes bytes = QmTest::ReadFileBytes(folder + "/three.bmp");
  ASSERT_EQ(bytes.size(), 66u) << "54 header bytes, 9 pixel bytes and 3 padding bytes";
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[10], 54);
  EXPECT_EQ(bytes[28], 24);
  EXPECT_EQ(bytes[38], 72);
  EXPECT_EQ(bytes[54], 30);  // blue, green, red
  EXPECT_EQ(bytes[56], 10);

  // The alpha is lost: the file loads back opaque in format 0.
  const std::unique_ptr<LLF::Image> back(CodecBmp::GetInstance().LoadFromFile(name));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
  LLF::Color c;
  EXPECT_EQ(*back->GetPixel(&c, 0, 0), LLF::Color(10, 20, 30, 255));

  const Picture p = QmTest::Pattern(7, 5, false);
  const auto loaded = Load(QmTest::MakeBmp(p));
  ASSERT_TRUE(loaded);
  ASSERT_TRUE(CodecBmp::GetInstance().Save(loaded.get(), name));
  const std::unique_ptr<LLF::Image> again(CodecBmp::GetInstance().LoadFromFile(name));
  ASSERT_TRUE(again);
  EXPECT_TRUE(QmTest::SamePixels(*again, p, true));

  const std::wstring missing = LLF::FromOsPath(folder + "/no/such.bmp");
  EXPECT_FALSE(CodecBmp::GetInstance().LoadFromFile(missing));
  EXPECT_EQ(CodecBmp::GetInstance().GetLastError(), L"Can't open file " + missing);
  LLF::Image unknown(2, 2, 4);
  EXPECT_FALSE(CodecBmp::GetInstance().Save(&unknown, name));
}

}  // namespace
