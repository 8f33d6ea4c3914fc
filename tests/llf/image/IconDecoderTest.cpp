#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/IconDecoder.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// One bitmap icon image. pixel(x, y) gives, for y counted from the top, a
// palette index (1, 4, 8 bits) or 0xAARRGGBB (24, 32 bits); masked(x, y) sets
// the transparency mask bit.
Bytes Dib(int w, int h, int bpp, const std::function<uint32_t(int, int)>& pixel,
          const std::function<bool(int, int)>& masked, const std::vector<uint32_t>& palette = {}) {
  Bytes b;
  Put32(b, 40);
  Put32(b, w);
  Put32(b, h * 2);
  Put16(b, 1);
  Put16(b, bpp);
  for (int i = 0; i < 4; ++i) Put32(b, 0);  // compression, image size, resolution
  Put32(b, static_cast<uint32_t>(palette.size()));
  Put32(b, 0);
  for (uint32_t c : palette) Put32(b, c & 0xFFFFFF);
  const size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
  for (int row = h - 1; row >= 0; --row) {
    Bytes line(stride, 0);
    for (int x = 0; x < w; ++x) {
      const uint32_t v = pixel(x, row);
      if (bpp >= 24) {
        const int n = bpp / 8;
        for (int c = 0; c < n; ++c) line[x * n + c] = (v >> (8 * c)) & 0xFF;  // B, G, R, A
      } else {
        const int perByte = 8 / bpp;
        line[x / perByte] |= v << ((perByte - 1 - x % perByte) * bpp);
      }
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  const size_t maskStride = ((size_t(w) + 31) / 32) * 4;
  for (int row = h - 1; row >= 0; --row) {
    Bytes line(maskStride, 0);
    for (int x = 0; x < w; ++x) {
      if (masked(x, row)) line[x / 8] |= 0x80 >> (x % 8);
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

struct Image {
  int w, h, bpp;
  Bytes data;
};

Bytes Ico(const std::vector<Image>& images) {
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (const Image& im : images) {
    b.push_back(static_cast<unsigned char>(im.w & 0xFF));
    b.push_back(static_cast<unsigned char>(im.h & 0xFF));
    b.push_back(0);
    b.push_back(0);
    Put16(b, 1);
    Put16(b, im.bpp);
    Put32(b, static_cast<uint32_t>(im.data.size()));
    Put32(b, offset);
    offset += static_cast<uint32_t>(im.data.size());
  }
  for (const Image& im : images) b.insert(b.end(), im.data.begin(), im.data.end());
  return b;
}

uint32_t Rgba(const std::vector<unsigned char>& rgba, int size, int x, int y) {
  const unsigned char* p = &rgba[(size_t(y) * size + x) * 4];
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

bool Never(int, int) {
  return false;
}

TEST(IconDecoderTest, ThirtyTwoBitImageWithAlphaComesOutTopDown) {
  const Bytes ico = Ico({{32, 32, 32,
                          Dib(
                              32, 32, 32,
                              [](int x, int y) -> uint32_t {
                                if (x == 0 && y == 0) return 0xFFFF0000;    // opaque red
                                if (x == 31 && y == 31) return 0x800000FF;  // half blue
                                return 0x00000000;
                              },
                              Never)}});
  std::vector<unsigned char> rgba;
  std::wstring error;
  ASSERT_TRUE(LLF::DecodeIcon(ico.data(), ico.size(), 32, rgba, error)) << error;
  ASSERT_EQ(rgba.size(), 32u * 32 * 4);
  EXPECT_EQ(Rgba(rgba, 32, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(Rgba(rgba, 32, 31, 31), 0x0000FF80u);
  EXPECT_EQ(Rgba(rgba, 32, 5, 5), 0x00000000u);
}

TEST(IconDecoderTest, PicksTheImageNearestTheWantedSize) {
  auto solid = [](uint32_t color) { return [color](int, int) { return color; }; };
  const Image small{16, 16, 24, Dib(16, 16, 24, solid(0x00FF00), Never)};
  const Image exact{32, 32, 24, Dib(32, 32, 24, solid(0x0000FF), Never)};
  const Image large{48, 48, 24, Dib(48, 48, 24, solid(0xFF0000), Never)};
  struct Row {
    std::vector<Image> images;
    uint32_t expected;  // the chosen image's colour, as RGBA
  };
  const Row rows[] = {
      {{small, exact, large}, 0x0000FFFF},
      {{large, small}, 0xFF0000FF},  // a larger one beats a smaller one
      {{small}, 0x00FF00FF},         // the only one, scaled up
  };
  for (const Row& row : rows) {
    std::vector<unsigned char> rgba;
    std::wstring error;
    const Bytes ico = Ico(row.images);
    ASSERT_TRUE(LLF::DecodeIcon(ico.data(), ico.size(), 32, rgba, error)) << error;
    EXPECT_EQ(Rgba(rgba, 32, 0, 0), row.expected);
    EXPECT_EQ(Rgba(rgba, 32, 31, 31), row.expected);
  }
}

TEST(IconDecoderTest, PaletteImagesUseTheMaskAndScale) {
  // 16 x 16, 4 bits: left half palette entry 1 (red), right half entry 2
  // (green); the top-left pixel is masked out.
  const Bytes ico =
      Ico({{16, 16, 4,
            Dib(
                16, 16, 4, [](int x, int) -> uint32_t { return x < 8 ? 1 : 2; },
                [](int x, int y) { return x == 0 && y == 0; }, {0x000000, 0xFF0000, 0x00FF00})}});
  std::vector<unsigned char> rgba;
  std::wstring error;
  ASSERT_TRUE(LLF::DecodeIcon(ico.data(), ico.size(), 32, rgba, error)) << error;
  EXPECT_EQ(Rgba(rgba, 32, 0, 0) & 0xFF, 0u);  // masked, both copies of the scaled pixel
  EXPECT_EQ(Rgba(rgba, 32, 1, 1) & 0xFF, 0u);
  EXPECT_EQ(Rgba(rgba, 32, 2, 0), 0xFF0000FFu);
  EXPECT_EQ(Rgba(rgba, 32, 15, 20), 0xFF0000FFu);
  EXPECT_EQ(Rgba(rgba, 32, 16, 20), 0x00FF00FFu);
  EXPECT_EQ(Rgba(rgba, 32, 31, 31), 0x00FF00FFu);

  // One bit, and a 32-bit image with no alpha at all: both take the mask.
  const Bytes mono = Ico({{32, 32, 1,
                           Dib(
                               32, 32, 1, [](int x, int) -> uint32_t { return x & 1; },
                               [](int, int y) { return y == 3; }, {0x000000, 0xFFFFFF})}});
  ASSERT_TRUE(LLF::DecodeIcon(mono.data(), mono.size(), 32, rgba, error)) << error;
  EXPECT_EQ(Rgba(rgba, 32, 0, 0), 0x000000FFu);
  EXPECT_EQ(Rgba(rgba, 32, 1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(Rgba(rgba, 32, 1, 3) & 0xFF, 0u);
  const Bytes noAlpha = Ico({{32, 32, 32,
                              Dib(
                                  32, 32, 32, [](int, int) -> uint32_t { return 0x00123456; },
                                  [](int x, int) { return x == 7; })}});
  ASSERT_TRUE(LLF::DecodeIcon(noAlpha.data(), noAlpha.size(), 32, rgba, error)) << error;
  EXPECT_EQ(Rgba(rgba, 32, 0, 0), 0x123456FFu);
  EXPECT_EQ(Rgba(rgba, 32, 7, 9), 0x12345600u);
}

TEST(IconDecoderTest, MalformedFilesFailWithAReason) {
  const Bytes good = Ico({{32, 32, 24,
                           Dib(
                               32, 32, 24, [](int, int) -> uint32_t { return 0; }, Never)}});
  auto with = [&](size_t at, std::initializer_list<unsigned char> bytes) {
    Bytes b = good;
    for (unsigned char c : bytes) b[at++] = c;
    return b;
  };
  Bytes png = good;
  png[22] = 0x89;
  png[23] = 'P';
  png[24] = 'N';
  png[25] = 'G';
  struct Row {
    const char* name;
    Bytes data;
    std::wstring error;
  };
  const Row rows[] = {
      {"empty", {}, L"Not an icon file."},
      {"cursor file", with(2, {2}), L"Not an icon file."},
      {"no images", with(4, {0}), L"Truncated icon directory."},
      {"directory longer than the file", with(4, {0xFF, 0x0F}), L"Truncated icon directory."},
      {"offset past the end", with(18, {0xFF, 0xFF, 0xFF, 0x7F}), L"No readable image in the icon file."},
      {"length past the end", with(14, {0xFF, 0xFF, 0xFF, 0x0F}), L"No readable image in the icon file."},
      {"cut short", Bytes(good.begin(), good.end() - 10), L"No readable image in the icon file."},
      {"image header too small", with(22, {12}), L"Truncated icon image header."},
      {"zero width", with(26, {0}), L"Unsupported icon image size or compression."},
      {"compressed", with(38, {1}), L"Unsupported icon image size or compression."},
      {"16 bits", with(36, {16}), L"Unsupported icon colour depth."},
      {"stored as PNG", png, L"Icon images stored as PNG are not supported."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<unsigned char> rgba;
    std::wstring error;
    EXPECT_FALSE(LLF::DecodeIcon(row.data.data(), row.data.size(), 32, rgba, error));
    EXPECT_EQ(error, row.error);
  }

  // A header that claims more rows than the image holds.
  Bytes tall = good;
  tall[22 + 8] = 0xFF;  // height 255 * 2 rows
  std::vector<unsigned char> rgba;
  std::wstring error;
  EXPECT_FALSE(LLF::DecodeIcon(tall.data(), tall.size(), 32, rgba, error));
  EXPECT_EQ(error, L"Truncated icon image data.");
}

}  // namespace
