#include <gtest/gtest.h>

#include <memory>

#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "image/CodecGif.h"
#include "image/Image.h"

namespace {

using LLF::CodecGif;
using LLF::Color;
using QmTest::Bytes;
using QmTest::GifFile;
using QmTest::GifFrame;

std::unique_ptr<LLF::Image> Load(const Bytes& bytes) {
  return std::unique_ptr<LLF::Image>(QmTest::LoadBytes(CodecGif::GetInstance(), bytes));
}

std::wstring LastError() {
  return CodecGif::GetInstance().GetLastError();
}

const std::vector<Color> kGlobal = {{0, 0, 0, 255}, {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
const std::vector<Color> kLocal = {{10, 20, 30, 255}, {200, 210, 220, 255}};

// A frame covering the whole screen, indexes from a pattern.
GifFrame Full(unsigned width, unsigned height, unsigned colours) {
  GifFrame f;
  f.width = width;
  f.height = height;
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) f.indexes.push_back(uint8_t((x + 2 * y) % colours));
  return f;
}

QmTest::Picture Expected(const GifFrame& f, const std::vector<Color>& map) {
  QmTest::Picture p;
  p.width = f.width;
  p.height = f.height;
  for (uint8_t i : f.indexes) p.pixels.push_back(map[i]);
  return p;
}

TEST(CodecGifTest, LoadsPlainAndInterlacedFrames) {
  GifFile gif{.width = 5, .height = 11, .globalMap = kGlobal};
  gif.frames.push_back(Full(5, 11, 4));
  const auto plain = Load(QmTest::MakeGif(gif));
  ASSERT_TRUE(plain) << LLF::WideToAnsi(LastError());
  EXPECT_EQ(plain->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
  EXPECT_TRUE(QmTest::SamePixels(*plain, Expected(gif.frames[0], kGlobal), true));

  // An interlaced file loads to the same picture as its plain twin.
  gif.frames[0].interlace = true;
  gif.withExtension = false;
  const auto interlaced = Load(QmTest::MakeGif(gif));
  ASSERT_TRUE(interlaced) << LLF::WideToAnsi(LastError());
  EXPECT_TRUE(QmTest::SamePixels(*interlaced, Expected(gif.frames[0], kGlobal), true));
}

// Every frame is drawn with its own map over what earlier frames drew, on
// the background colour.
TEST(CodecGifTest, AnimationFramesKeepTheirOwnColours) {
  GifFile gif{.width = 6, .height = 4, .globalMap = kGlobal, .background = 3};
  GifFrame first;
  first.width = 3;
  first.height = 2;
  first.indexes = {1, 1, 2, 2, 1, 1};
  GifFrame second;
  second.left = 2;
  second.top = 1;
  second.width = 4;
  second.height = 3;
  second.localMap = kLocal;
  second.indexes.assign(12, 1);
  second.indexes[0] = 0;
  gif.frames = {first, second};
  const auto image = Load(QmTest::MakeGif(gif));
  ASSERT_TRUE(image) << LLF::WideToAnsi(LastError());
  const Color R = kGlobal[1], G = kGlobal[2], B = kGlobal[3], a = kLocal[0], b = kLocal[1];
  const Color expected[4][6] = {
      {R, R, G, B, B, B},
      {G, R, a, b, b, b},
      {B, B, b, b, b, b},
      {B, B, b, b, b, b},
  };
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      Color c;
      EXPECT_EQ(*image->GetPixel(&c, x, y), expected[y][x]) << x << "," << y;
    }

  // Local maps alone: the background takes its colour from the last
  // frame's map; an index past that map leaves it black.
  GifFile local{.width = 4, .height = 2, .background = 1};
  GifFrame top;
  top.width = 2;
  top.height = 1;
  top.localMap = kGlobal;
  top.indexes = {2, 3};
  GifFrame last;
  last.left = 1;
  last.top = 1;
  last.width = 1;
  last.height = 1;
  last.localMap = kLocal;
  last.indexes = {0};
  local.frames = {top, last};
  const Color bg = kLocal[1];
  const Color onLocal[2][4] = {{G, B, bg, bg}, {bg, a, bg, bg}};
  const auto fromLast = Load(QmTest::MakeGif(local));
  ASSERT_TRUE(fromLast) << LLF::WideToAnsi(LastError());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      Color c;
      EXPECT_EQ(*fromLast->GetPixel(&c, x, y), onLocal[y][x]) << x << "," << y;
    }
  local.background = 2;
  const auto onBlack = Load(QmTest::MakeGif(local));
  ASSERT_TRUE(onBlack) << LLF::WideToAnsi(LastError());
  Color c;
  EXPECT_EQ(*onBlack->GetPixel(&c, 3, 1), Color(0, 0, 0, 255));
  EXPECT_EQ(*onBlack->GetPixel(&c, 1, 1), a);
}

TEST(CodecGifTest, RefusesBadFiles) {
  GifFile base{.width = 8, .height = 8, .globalMap = kGlobal};
  base.frames.push_back(Full(8, 8, 4));
  const Bytes good = QmTest::MakeGif(base);
  ASSERT_TRUE(Load(good));
  const auto with = [&](auto change) {
    GifFile g = base;
    change(g);
    return QmTest::MakeGif(g);
  };
  const auto cut = [](Bytes b, size_t n) {
    b.resize(n);
    return b;
  };
  // The first frame's image data starts after the header (13), the global
  // map (12), the control extension (8), the descriptor (10) and the code
  // size byte: its first block length is at 44.
  const size_t data = 44;
  ASSERT_EQ(good[data - 1], 8);
  const auto patch = [](Bytes b, size_t at, uint8_t v) {
    b[at] = v;
    return b;
  };
  const std::wstring tail = L"Filename: MemoryFile";
  struct Case {
    const char* what;
    Bytes bytes;
    std::wstring error;
  } cases[] = {
      {"empty", {}, L"Can't open gif file. DGifOpen failed. Filename: "},
      {"not a gif", QmTest::MakeBmp(QmTest::Pattern(2, 2, false)),
       L"Can't open gif file. DGifOpen failed. " + tail},
      {"cut in the screen header", cut(good, 9), L"Can't open gif file. DGifOpen failed. " + tail},
      {"cut in the global map", cut(good, 20), L"Can't open gif file. DGifOpen failed. " + tail},
      {"zero screen", with([](GifFile& g) { g.width = 0; }), L"Unsupported image size 0 x 8. " + tail},
      {"huge screen", with([](GifFile& g) { g.width = g.height = 65535; }),
       L"Unsupported image size 65535 x 65535. " + tail},
      {"no colour map", with([](GifFile& g) { g.globalMap.clear(); }),
       L"Can't open gif file. Image has no colour map. " + tail},
      {"index past the map", with([](GifFile& g) { g.frames[0].indexes[9] = 4; }),
       L"Can't open gif file. Colour index outside the colour map. " + tail},
      {"index past a local map", with([](GifFile& g) {
         g.frames[0].localMap = kLocal;
         g.frames[0].interlace = true;
       }),
       L"Can't open gif file. Colour index outside the colour map. " + tail},
      {"frame wider than the screen", with([](GifFile& g) { g.frames[0].left = 1; }),
       L"Can't open gif file. Image is not confined to screen dimension, aborted. " + tail},
      {"frame below the screen", with([](GifFile& g) { g.frames[0].top = 65535; }),
       L"Can't open gif file. Image is not confined to screen dimension, aborted. " + tail},
      {"cut in the descriptor", cut(good, data - 5),
       L"Can't open gif file. DGifGetImageDesc failed. " + tail},
      {"cut in the image data", cut(good, data + 20), L"Can't open gif file. DGifGetLine failed. " + tail},
      {"code size too large", patch(good, data - 1, 12),
       L"Can't open gif file. DGifGetImageDesc failed. " + tail},
      {"code past the table", patch(good, data + 3, 0xFF),
       L"Can't open gif file. DGifGetLine failed. " + tail},
      {"no terminator", cut(good, good.size() - 1),
       L"Can't open gif file. DGifGetRecordType failed. " + tail},
      {"unknown record", patch(good, good.size() - 1, 0x99),
       L"Can't open gif file. DGifGetRecordType failed. " + tail},
      {"cut in an extension", cut(good, 30), L"Can't open gif file. DGifGetExtension"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Load(c.bytes)) << c.what;
    EXPECT_EQ(LastError().find(c.error), 0u) << c.what << ": " << LLF::WideToAnsi(LastError());
  }
}

TEST(CodecGifTest, SavingIsRefused) {
  const std::string folder = QmTest::NewTempFolder();
  LLF::Image image(2, 2, LLF::IMGFORMAT_R8G8B8X8);
  EXPECT_FALSE(CodecGif::GetInstance().Save(&image, LLF::FromOsPath(folder + "/x.gif")));
  EXPECT_TRUE(QmTest::ReadFileBytes(folder + "/x.gif").empty());
}

}  // namespace
