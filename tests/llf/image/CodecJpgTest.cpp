#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <tuple>
#include <utility>

#include <jpeglib.h>

#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "image/CodecJpg.h"
#include "image/Image.h"

namespace {

using LLF::CodecJpg;
using QmTest::Bytes;

std::unique_ptr<LLF::Image> Load(const Bytes& bytes) {
  return std::unique_ptr<LLF::Image>(QmTest::LoadBytes(CodecJpg::GetInstance(), bytes));
}

std::wstring LastError() {
  return CodecJpg::GetInstance().GetLastError();
}

// Flat blocks of distinct colours survive JPEG almost unchanged.
QmTest::Picture Blocks(unsigned width, unsigned height, unsigned side = 8) {
  QmTest::Picture p;
  p.width = width;
  p.height = height;
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) {
      const unsigned b = (x / side) * 3 + (y / side) * 7;
      p.pixels.emplace_back(uint8_t(40 + b * 23 % 180), uint8_t(200 - b * 31 % 150),
                            uint8_t(60 + b * 17 % 170), 0);
    }
  return p;
}

std::vector<uint8_t> Samples(const QmTest::Picture& p) {
  std::vector<uint8_t> s;
  for (const auto& c : p.pixels) s.insert(s.end(), {c.r, c.g, c.b});
  return s;
}

::testing::AssertionResult Near(const LLF::Image& image, const QmTest::Picture& p, int tolerance) {
  if (image.GetWidth() != p.width || image.GetHeight() != p.height)
    return ::testing::AssertionFailure() << "size";
  for (unsigned y = 0; y < p.height; ++y)
    for (unsigned x = 0; x < p.width; ++x) {
      LLF::Color c;
      image.GetPixel(&c, int(x), int(y));
      const LLF::Color w = p.At(x, y);
      if (std::abs(c.r - w.r) > tolerance || std::abs(c.g - w.g) > tolerance ||
          std::abs(c.b - w.b) > tolerance || c.a != 0) {
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << ": " << int(c.r) << ","
                                             << int(c.g) << "," << int(c.b) << "," << int(c.a);
      }
    }
  return ::testing::AssertionSuccess();
}

TEST(CodecJpgTest, LoadsColourAndGrey) {
  // Rows are decoded several at a time; sizes off the library's blocks and
  // off four pixels show every row and pixel lands in its place.
  for (const auto& [w, h] : {std::pair{24u, 16u}, std::pair{23u, 37u}}) {
    const QmTest::Picture p = Blocks(w, h);
    auto image = Load(QmTest::MakeJpeg(w, h, 3, Samples(p), 100));
    ASSERT_TRUE(image) << LLF::WideToAnsi(LastError());
    EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
    EXPECT_TRUE(Near(*image, p, 3)) << w << "x" << h;
  }
  std::unique_ptr<LLF::Image> image;

  // One component: every pixel gets red = green = blue.
  std::vector<uint8_t> grey;
  QmTest::Picture greyPicture;
  greyPicture.width = 16;
  greyPicture.height = 8;
  for (int i = 0; i < 16 * 8; ++i) {
    const uint8_t v = i % 16 < 8 ? 30 : 220;
    grey.push_back(v);
    greyPicture.pixels.emplace_back(v, v, v, 0);
  }
  image = Load(QmTest::MakeJpeg(16, 8, 1, grey, 100));
  ASSERT_TRUE(image) << LLF::WideToAnsi(LastError());
  EXPECT_TRUE(Near(*image, greyPicture, 2));
  for (int x = 0; x < 16; ++x) {
    LLF::Color c;
    image->GetPixel(&c, x, 3);
    EXPECT_TRUE(c.r == c.g && c.g == c.b) << x;
  }
}

// The library's own decoding of bytes as RGB rows.
std::vector<uint8_t> DecodeDirectly(const Bytes& bytes, unsigned& width, unsigned& height) {
  jpeg_decompress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  width = info.output_width;
  height = info.output_height;
  std::vector<uint8_t> rgb(size_t(width) * height * 3);
  while (info.output_scanline < height) {
    JSAMPROW row = &rgb[size_t(info.output_scanline) * width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return rgb;
}

// RGB samples as the library writes them by default: colour sampled at
// half size across and down, which it decodes two rows at a time.
Bytes EncodeSubsampled(unsigned width, unsigned height, const std::vector<uint8_t>& samples) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 75, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < height) {
    JSAMPROW row = const_cast<JSAMPROW>(&samples[size_t(info.next_scanline) * width * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

// Every pixel is the library's, with the fourth byte 0: widths below,
// at and past the 4, 16 and 32 pixels copied at a time, rows that start
// on and off 16- and 32-byte boundaries, heights that end mid-way through
// the rows decoded together, one row or two a call.
TEST(CodecJpgTest, PixelsAreTheLibrarysExactly) {
  enum Kind { kFull, kSubsampled, kGrey };
  for (const auto& [w, h, kind] :
       {std::tuple{1u, 1u, kFull}, std::tuple{23u, 37u, kFull}, std::tuple{67u, 21u, kFull},
        std::tuple{130u, 9u, kFull}, std::tuple{19u, 11u, kGrey}, std::tuple{1u, 1u, kSubsampled},
        std::tuple{64u, 17u, kSubsampled}, std::tuple{67u, 23u, kSubsampled}}) {
    const QmTest::Picture p = Blocks(w, h, 5);
    std::vector<uint8_t> samples = Samples(p);
    if (kind == kGrey) {
      for (size_t i = 0; i < size_t(w) * h; ++i) samples[i] = samples[i * 3 + 1];
      samples.resize(size_t(w) * h);
    }
    const Bytes bytes = kind == kSubsampled ? EncodeSubsampled(w, h, samples)
                                            : QmTest::MakeJpeg(w, h, kind == kGrey ? 1 : 3, samples, 75);
    unsigned width = 0, height = 0;
    const std::vector<uint8_t> expected = DecodeDirectly(bytes, width, height);
    auto image = Load(bytes);
    ASSERT_TRUE(image) << LLF::WideToAnsi(LastError());
    ASSERT_EQ(image->GetSize(), LLF::Point(int(width), int(height)));
    size_t wrong = 0;
    for (unsigned y = 0; y < height; ++y) {
      const uint8_t* row = image->GetRow(y);
      for (unsigned x = 0; x < width; ++x) {
        const uint8_t* want = &expected[(size_t(y) * width + x) * 3];
        if (std::memcmp(row + x * 4, want, 3) != 0 || row[x * 4 + 3] != 0) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0u) << w << "x" << h << " kind " << kind;
  }
}

TEST(CodecJpgTest, SavesAndLoadsBack) {
  const std::string folder = QmTest::NewTempFolder();
  const std::wstring name = LLF::FromOsPath(folder + "/photo.jpg");
  // Blocks as large as the encoder's colour blocks.
  const QmTest::Picture p = Blocks(48, 32, 16);
  LLF::Image image(48, 32, LLF::IMGFORMAT_R8G8B8A8);
  for (unsigned y = 0; y < 32; ++y)
    for (unsigned x = 0; x < 48; ++x) {
      LLF::Color c = p.At(x, y);
      c.a = 200;
      image.SetPixel(int(x), int(y), &c);
    }
  ASSERT_TRUE(CodecJpg::GetInstance().Save(&image, name));
  const Bytes bytes = QmTest::ReadFileBytes(folder + "/photo.jpg");
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  const std::unique_ptr<LLF::Image> back(CodecJpg::GetInstance().LoadFromFile(name));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetSize(), LLF::Point(48, 32));
  // Quality 80 blurs the block edges; inside the blocks the colours stay
  // close, which also shows rows and colour bytes in their places. The
  // fourth byte is 0.
  QmTest::Picture centres = p;
  for (unsigned y = 0; y < 32; ++y)
    for (unsigned x = 0; x < 48; ++x) {
      if (x % 16 < 5 || x % 16 > 10 || y % 16 < 5 || y % 16 > 10) {
        LLF::Color c;
        back->GetPixel(&c, int(x), int(y));
        centres.pixels[y * 48 + x] = LLF::Color(c.r, c.g, c.b, 0);
      }
    }
  EXPECT_TRUE(Near(*back, centres, 10));
}

TEST(CodecJpgTest, WriteFailureIsReported) {
  QmTest::LogCapture log;
  LLF::Image image(256, 256, LLF::IMGFORMAT_R8G8B8X8);
  EXPECT_FALSE(CodecJpg::GetInstance().Save(&image, L"/dev/full"));
  EXPECT_EQ(LastError(), L"Exception caught inside of JPGLib. Filename: /dev/full");
  EXPECT_EQ(log.Count(L"Description: Can't write data to file /dev/full"), 1);
  EXPECT_EQ(log.Count(L"Source: llf_JPEGFillOutputBuffer callback."), 1);
}

TEST(CodecJpgTest, RefusesBadFiles) {
  const QmTest::Picture p = Blocks(32, 32);
  const Bytes good = QmTest::MakeJpeg(32, 32, 3, Samples(p));
  ASSERT_TRUE(Load(good));
  // The frame header (SOFn) holds the height at +5 and the width at +7.
  size_t sof = 2;
  while (sof + 4 < good.size() && !(good[sof] == 0xFF && (good[sof + 1] == 0xC0 || good[sof + 1] == 0xC2))) {
    sof += 2 + (size_t(good[sof + 2]) << 8 | good[sof + 3]);
  }
  ASSERT_LT(sof + 9, good.size());
  const auto size = [&](unsigned width, unsigned height) {
    Bytes b = good;
    b[sof + 5] = uint8_t(height >> 8);
    b[sof + 6] = uint8_t(height);
    b[sof + 7] = uint8_t(width >> 8);
    b[sof + 8] = uint8_t(width);
    return b;
  };
  const auto cut = [](Bytes b, size_t n) {
    b.resize(n);
    return b;
  };
  std::vector<uint8_t> cmyk(8 * 8 * 4, 90);
  const std::wstring library = L"Exception caught inside of JPGLib. Filename: ";
  struct Case {
    const char* what;
    Bytes bytes;
    std::wstring error;
  } cases[] = {
      {"empty", {}, library},
      {"not a jpeg", QmTest::MakePng(1, 1, {1, 2, 3}, {}), library},
      {"start marker only", cut(good, 2), library},
      {"cut before the frame header", cut(good, sof), library},
      {"zero width", size(0, 32), library},
      {"zero height", size(32, 0), library},
      {"huge size", size(65000, 65000), L"Unsupported image size 65000 x 65000"},
      {"CMYK", QmTest::MakeJpeg(8, 8, 4, cmyk), L"CMYK and YCCK JPEG files are not supported"},
  };
  for (const auto& c : cases) {
    QmTest::LogCapture log;
    EXPECT_FALSE(Load(c.bytes)) << c.what;
    EXPECT_EQ(LastError().find(c.error), 0u) << c.what << ": " << LLF::WideToAnsi(LastError());
    if (c.error == library) {
      EXPECT_EQ(log.Count(L"Source: llf_JPEGErrorExit callback."), 1) << c.what;
    }
  }

  // A file that ends early once its picture data has begun loads what is
  // there, with one warning: its end marker is supplied. Missing only that
  // marker, it gives the whole picture.
  size_t sos = sof;
  while (sos + 1 < good.size() && !(good[sos] == 0xFF && good[sos + 1] == 0xDA)) ++sos;
  const auto whole = Load(good);
  ASSERT_TRUE(whole);
  for (size_t n : {sos + 20, (sos + good.size()) / 2, good.size() - 2}) {
    QmTest::LogCapture log;
    const auto partial = Load(cut(good, n));
    ASSERT_TRUE(partial) << n << ": " << LLF::WideToAnsi(LastError());
    EXPECT_EQ(partial->GetSize(), LLF::Point(32, 32)) << n;
    EXPECT_EQ(log.Lines().size(), 1u) << n;
    EXPECT_EQ(log.Count(L"JPEGLIB warning: Premature end of JPEG file. Filename: "), 1) << n;
    const bool same = std::memcmp(partial->GetData(), whole->GetData(), whole->GetDataSize()) == 0;
    EXPECT_EQ(same, n == good.size() - 2) << n;
  }
  // Damaged picture data either decodes, with the library's warnings, to a
  // picture of the right size or fails in the library; nothing is read or
  // written outside (the suite runs under AddressSanitizer).
  for (size_t step : {5, 7, 11, 13}) {
    Bytes damaged = good;
    for (size_t i = sos; i < damaged.size() - 2; i += step) damaged[i] ^= 0xA5;
    const auto garbled = Load(damaged);
    if (garbled) {
      EXPECT_EQ(garbled->GetSize(), LLF::Point(32, 32));
    } else {
      EXPECT_EQ(LastError().find(library), 0u);
    }
  }
}

}  // namespace
