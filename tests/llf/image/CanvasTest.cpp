#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>
#include <thread>

#include "core/Exception.h"
#include "image/Canvas.h"

namespace {

using LLF::Canvas;
using LLF::Color;

const Color kRed(255, 0, 0, 255);
const Color kGreen(0, 255, 0, 255);
const Color kBlue(0, 0, 255, 255);
const Color kClear(0, 0, 0, 0);

Color At(const Canvas& c, int x, int y) {
  Color out;
  return *c.GetPixel(&out, x, y);
}

// Rows are stored bottom-up: y = 0 is the last stored row.
TEST(CanvasTest, PixelAddressingAndDump) {
  Canvas c(1, 2, LLF::IMGFORMAT_R8G8B8A8);
  ASSERT_EQ(c.GetDataSize(), 8u);
  c.SetPixel(0, 1, &kRed);
  c.SetPixel(0, 0, &kBlue);
  EXPECT_EQ(std::memcmp(c.GetData(), &kRed, 4), 0) << "pixel (0, 1) is stored first";
  EXPECT_EQ(std::memcmp(c.GetData() + 4, &kBlue, 4), 0);
  EXPECT_EQ(At(c, 0, 0), kBlue);
  EXPECT_EQ(c.GetSize(), LLF::Point(1, 2));
  EXPECT_EQ(c.Dump(), L"Canvas: Width - 1 Height - 2 Format - IMGFORMAT_R8G8B8A8");
  EXPECT_EQ(Canvas(3, 4, 7).Dump(), L"Canvas: Width - 3 Height - 4 Format - Unknown format");
  EXPECT_TRUE(c.IsKindOf("Canvas") && c.IsKindOf("Object"));
}

// Reads outside give the preset white and read nothing; writes outside are
// dropped. An unknown format has no bytes at all.
TEST(CanvasTest, AccessOutsideIsClipped) {
  Canvas c(2, 2, LLF::IMGFORMAT_R8G8B8A8);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {INT32_MIN, INT32_MAX}}) {
    EXPECT_EQ(At(c, x, y), Color(255, 255, 255, 255)) << x << "," << y;
    c.SetPixel(x, y, &kRed);
  }
  for (size_t i = 0; i < c.GetDataSize(); ++i) ASSERT_EQ(c.GetData()[i], 0);

  Canvas unknown(4, 4, 9);
  EXPECT_EQ(Canvas::BytesPerPixel(9), 0u);
  EXPECT_EQ(unknown.GetDataSize(), 0u);
  EXPECT_EQ(unknown.GetData(), nullptr);
  EXPECT_EQ(At(unknown, 1, 1), Color(255, 255, 255, 255));
  const LLF::Rect r(0, 0, 2, 2);
  EXPECT_FALSE(unknown.FillRect(&r, &kRed));
  EXPECT_FALSE(unknown.FrameRect(&r, &kRed));
}

TEST(CanvasTest, CreateAndResizeKeepLeadingBytes) {
  Canvas c(2, 1, LLF::IMGFORMAT_R8G8B8X8);
  c.SetPixel(0, 0, &kRed);
  c.SetPixel(1, 0, &kGreen);
  ASSERT_TRUE(c.Resize(3, 1));
  EXPECT_EQ(At(c, 0, 0), kRed);
  EXPECT_EQ(At(c, 1, 0), kGreen);
  EXPECT_EQ(At(c, 2, 0), kClear);
  ASSERT_TRUE(c.Create(1, 1, LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_EQ(c.GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_EQ(At(c, 0, 0), kRed);

  // A size beyond what a canvas may take is refused and changes nothing.
  EXPECT_FALSE(c.Create(100000, 100000, LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_FALSE(c.Resize(1u << 20, 1u << 20));
  EXPECT_EQ(c.GetSize(), LLF::Point(1, 1));
  EXPECT_EQ(c.GetDataSize(), 4u);

  Canvas copy(c);
  EXPECT_EQ(copy.GetSize(), LLF::Point(1, 1));
  EXPECT_EQ(At(copy, 0, 0), kRed);
  Canvas empty(0, 0, LLF::IMGFORMAT_R8G8B8A8);
  EXPECT_TRUE(copy.CreateFrom(empty));
  EXPECT_EQ(copy.GetDataSize(), 0u);
}

TEST(CanvasTest, ChangeFormatTouchesNoByte) {
  Canvas c(1, 1, LLF::IMGFORMAT_R8G8B8X8);
  const Color half(10, 20, 30, 40);
  c.SetPixel(0, 0, &half);
  EXPECT_TRUE(c.ChangeFormat(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_TRUE(c.ChangeFormat(LLF::IMGFORMAT_R8G8B8X8));
  EXPECT_EQ(At(c, 0, 0), half);
  EXPECT_TRUE(c.ChangeFormat(LLF::IMGFORMAT_R8G8B8X8));
  try {
    c.ChangeFormat(5);
    FAIL() << "no exception";
  } catch (const LLF::Exception& e) {
    EXPECT_EQ(e.GetCode(), 0);
    EXPECT_NE(e.Dump().find(L"ChangeFormat feature is not implemented yet!"), std::wstring::npos);
  }
  EXPECT_EQ(c.GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
}

TEST(CanvasTest, GrayscaleUsesSinglePrecisionWeights) {
  Canvas c(3, 1, LLF::IMGFORMAT_R8G8B8A8);
  const Color white(255, 255, 255, 77);
  const Color grey(100, 100, 100, 5);
  const Color mixed(200, 100, 50, 255);
  c.SetPixel(0, 0, &white);
  c.SetPixel(1, 0, &grey);
  c.SetPixel(2, 0, &mixed);
  ASSERT_TRUE(c.Grayscale());
  EXPECT_EQ(At(c, 0, 0), Color(254, 254, 254, 77));
  EXPECT_EQ(At(c, 1, 0), Color(99, 99, 99, 5));
  // 0.59 * 100 + 0.30 * 200 + 0.11 * 50 = 124.5 in the float weights.
  EXPECT_EQ(At(c, 2, 0), Color(124, 124, 124, 255));
}

TEST(CanvasTest, BlurWeightsAndRadiusLimits) {
  Canvas c(3, 3, LLF::IMGFORMAT_R8G8B8A8);
  const Color white(255, 255, 255, 255);
  c.SetPixel(1, 1, &white);
  const Canvas before(c);
  // Radii too large for the weights, however large, leave the canvas as it
  // is (doubling them must not overflow first).
  for (const int radius : {32, -1, 0, 1 << 30, INT_MAX, INT_MIN}) c.Blur(radius);
  EXPECT_EQ(std::memcmp(c.GetData(), before.GetData(), c.GetDataSize()), 0);

  // Radius 1 weighs the centre 4 and each neighbour 1, per pass:
  // centre 255*4/6 = 170 then 170*4/6 = 113; beside it 255/5 = 51 then
  // 51*4/6 = 34; a corner (0*4 + 51)/5 = 10.
  c.Blur(1);
  EXPECT_EQ(At(c, 1, 1), Color(113, 113, 113, 113));
  EXPECT_EQ(At(c, 0, 1), Color(34, 34, 34, 34));
  EXPECT_EQ(At(c, 1, 2), Color(34, 34, 34, 34));
  EXPECT_EQ(At(c, 0, 0), Color(10, 10, 10, 10));
  EXPECT_EQ(At(c, 2, 2), Color(10, 10, 10, 10));
}

Color Avg(Color a, Color b) {
  return Color(uint8_t((a.r >> 1) + (b.r >> 1)), uint8_t((a.g >> 1) + (b.g >> 1)),
               uint8_t((a.b >> 1) + (b.b >> 1)), uint8_t((a.a >> 1) + (b.a >> 1)));
}

TEST(CanvasTest, ScaleResamplesEachRowOnItsOwn) {
  const Color a(200, 100, 50, 255);
  const Color b(10, 20, 30, 255);
  Canvas wide(2, 1, LLF::IMGFORMAT_R8G8B8A8);
  wide.SetPixel(0, 0, &a);
  wide.SetPixel(1, 0, &b);
  ASSERT_TRUE(wide.Scale(4, 1));
  EXPECT_EQ(At(wide, 0, 0), a);
  EXPECT_EQ(At(wide, 1, 0), Avg(a, b));
  EXPECT_EQ(At(wide, 2, 0), Avg(Avg(a, b), b));
  // The last column repeats the last pixel written rather than staying empty.
  EXPECT_EQ(At(wide, 3, 0), Avg(Avg(a, b), b));

  // Shrinking two rows: each row starts afresh, so the second row's first
  // pixel is not blended with the end of the first row.
  Canvas two(4, 2, LLF::IMGFORMAT_R8G8B8A8);
  const Color c(0, 200, 0, 255);
  const Color d(0, 0, 200, 255);
  for (int x = 0; x < 4; ++x) {
    two.SetPixel(x, 0, x < 2 ? &a : &b);
    two.SetPixel(x, 1, x < 2 ? &c : &d);
  }
  ASSERT_TRUE(two.Scale(2, 2));
  EXPECT_EQ(At(two, 0, 0), a);
  EXPECT_EQ(At(two, 1, 0), Avg(Avg(b, b), a));
  EXPECT_EQ(At(two, 0, 1), c);
  EXPECT_EQ(At(two, 1, 1), Avg(Avg(d, d), c));

  // Enlarging down a column: the last rows repeat the last row written.
  Canvas tall(1, 2, LLF::IMGFORMAT_R8G8B8A8);
  tall.SetPixel(0, 0, &a);
  tall.SetPixel(0, 1, &b);
  ASSERT_TRUE(tall.Scale(1, 5));
  for (int y = 0; y < 5; ++y) EXPECT_NE(At(tall, 0, y), kClear) << y;

  EXPECT_FALSE(tall.Scale(0, 3));
  EXPECT_FALSE(tall.Scale(3, 0));
  EXPECT_EQ(tall.GetSize(), LLF::Point(1, 5));
  Canvas empty(0, 0, LLF::IMGFORMAT_R8G8B8A8);
  EXPECT_FALSE(empty.Scale(2, 2));
}

TEST(CanvasTest, TrimToOpaqueArea) {
  Canvas clear(5, 4, LLF::IMGFORMAT_R8G8B8A8);
  LLF::Rect out(9, 9, 9, 9);
  ASSERT_TRUE(clear.Trim(&out, false));
  EXPECT_EQ(out, LLF::Rect(0, 0, 5, 4));
  EXPECT_EQ(clear.GetSize(), LLF::Point(5, 4));

  // A 64 x 30 opaque area: the power of two is strictly greater, 128 x 32.
  Canvas c(100, 50, LLF::IMGFORMAT_R8G8B8A8);
  const LLF::Rect area(10, 7, 74, 37);  // left, top, right, bottom
  c.FillRect(&area, &kRed);
  c.SetPixel(10, 7, &kBlue);
  ASSERT_TRUE(c.Trim(&out, true));
  EXPECT_EQ(out, LLF::Rect(10, 7, 64, 30));
  EXPECT_EQ(c.GetSize(), LLF::Point(128, 32));
  EXPECT_EQ(At(c, 0, 0), kBlue);
  EXPECT_EQ(At(c, 63, 29), kRed);
  EXPECT_EQ(At(c, 64, 0), kClear);
  EXPECT_EQ(At(c, 0, 30), kClear);

  Canvas plain(10, 10, LLF::IMGFORMAT_R8G8B8A8);
  plain.SetPixel(3, 4, &kGreen);
  ASSERT_TRUE(plain.Trim(&out, false));
  EXPECT_EQ(out, LLF::Rect(3, 4, 1, 1));
  EXPECT_EQ(At(plain, 0, 0), kGreen);
}

TEST(CanvasTest, FillAndFrameRectangles) {
  Canvas c(4, 3, LLF::IMGFORMAT_R8G8B8A8);
  ASSERT_TRUE(c.Fill(&kBlue));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(At(c, x, y), kBlue);

  // Left, top, right, bottom; clipped at every side.
  const LLF::Rect beyond(2, 1, 99, 2);
  ASSERT_TRUE(c.FillRect(&beyond, &kRed));
  EXPECT_EQ(At(c, 1, 1), kBlue);
  EXPECT_EQ(At(c, 2, 1), kRed);
  EXPECT_EQ(At(c, 3, 1), kRed);
  EXPECT_EQ(At(c, 3, 2), kBlue);
  const LLF::Rect before(-5, -5, 1, 1);
  ASSERT_TRUE(c.FillRect(&before, &kGreen));
  EXPECT_EQ(At(c, 0, 0), kGreen);
  EXPECT_EQ(At(c, 1, 0), kBlue);

  Canvas f(5, 5, LLF::IMGFORMAT_R8G8B8A8);
  const LLF::Rect frame(-1, 1, 4, 5);
  ASSERT_TRUE(f.FrameRect(&frame, &kRed));
  const char* expected[] = {".....", "RRRR.", "...R.", "...R.", "RRRR."};
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(At(f, x, y), expected[y][x] == 'R' ? kRed : kClear) << x << "," << y;
    }
  }
}

// Blit reads only where the source exists and writes only inside this
// canvas, whatever the rectangle and origin.
TEST(CanvasTest, BlitClipsToBothCanvases) {
  Canvas source(3, 2, LLF::IMGFORMAT_R8G8B8A8);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const Color c(uint8_t(x), uint8_t(y), 7, 255);
      source.SetPixel(x, y, &c);
    }
  struct Case {
    LLF::Rect rect;
    LLF::Point origin;
    int x, y;    // a destination pixel
    int sx, sy;  // its source, or -1 when it stays untouched
  } cases[] = {
      {{1, 1, 4, 3}, {0, 0}, 1, 1, 0, 0},
      {{1, 1, 4, 3}, {0, 0}, 3, 2, 2, 1},
      {{0, 0, 4, 4}, {2, 1}, 0, 0, 2, 1},
      {{0, 0, 4, 4}, {2, 1}, 1, 0, -1, -1},   // source column 3 does not exist
      {{0, 0, 4, 4}, {2, 1}, 0, 1, -1, -1},   // source row 2 does not exist
      {{-2, -2, 2, 2}, {0, -1}, 0, 0, 2, 1},  // negative left and top
      {{-2, -2, 2, 2}, {0, -1}, 1, 0, -1, -1},
      {{0, 0, 4, 4}, {-1, -1}, 0, 0, -1, -1},  // negative origin
      {{0, 0, 4, 4}, {-1, -1}, 1, 1, 0, 0},
      {{0, 0, 4, 4}, {100000, 5}, 0, 0, -1, -1},
      {{0, 0, 4, 4}, {INT32_MIN, INT32_MAX}, 0, 0, -1, -1},
  };
  for (const auto& k : cases) {
    Canvas dest(4, 4, LLF::IMGFORMAT_R8G8B8A8);
    ASSERT_TRUE(dest.Blit(&k.rect, source, &k.origin));
    const Color expected = k.sx < 0 ? kClear : At(source, k.sx, k.sy);
    EXPECT_EQ(At(dest, k.x, k.y), expected) << k.rect.x << "," << k.rect.y << " from " << k.origin.x << ","
                                            << k.origin.y << " at " << k.x << "," << k.y;
  }
  Canvas unknown(4, 4, 3);
  const LLF::Rect all(0, 0, 4, 4);
  const LLF::Point zero(0, 0);
  EXPECT_FALSE(unknown.Blit(&all, source, &zero));
}

TEST(CanvasTest, CopyAlphaFromMaskRedByte) {
  Canvas c(2, 1, LLF::IMGFORMAT_R8G8B8X8);
  c.SetPixel(0, 0, &kBlue);
  Canvas mask(2, 1, LLF::IMGFORMAT_R8G8B8X8);
  const Color m(40, 1, 2, 3);
  mask.SetPixel(0, 0, &m);
  ASSERT_TRUE(c.CopyAlphaFrom(mask));
  EXPECT_EQ(c.GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_EQ(At(c, 0, 0), Color(0, 0, 255, 40));
  EXPECT_EQ(At(c, 1, 0), Color(0, 0, 0, 0));
  Canvas other(3, 1, LLF::IMGFORMAT_R8G8B8X8);
  EXPECT_FALSE(c.CopyAlphaFrom(other));
  Canvas unknownMask(2, 1, 6);
  EXPECT_FALSE(c.CopyAlphaFrom(unknownMask));

  // A refused mask leaves a canvas without alpha as it was: still opaque.
  Canvas opaque(2, 1, LLF::IMGFORMAT_R8G8B8X8);
  opaque.SetPixel(0, 0, &kBlue);
  EXPECT_FALSE(opaque.CopyAlphaFrom(unknownMask));
  EXPECT_EQ(opaque.GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
  EXPECT_EQ(At(opaque, 0, 0), kBlue);
}

TEST(CanvasTest, Flips) {
  Canvas c(3, 2, LLF::IMGFORMAT_R8G8B8A8);
  c.SetPixel(0, 0, &kRed);
  c.SetPixel(1, 1, &kGreen);
  ASSERT_TRUE(c.FlipHorizontal());
  EXPECT_EQ(At(c, 2, 0), kRed);
  EXPECT_EQ(At(c, 1, 1), kGreen);
  ASSERT_TRUE(c.FlipVertical());
  EXPECT_EQ(At(c, 2, 1), kRed);
  EXPECT_EQ(At(c, 1, 0), kGreen);
  Canvas one(1, 1, LLF::IMGFORMAT_R8G8B8A8);
  one.SetPixel(0, 0, &kRed);
  EXPECT_TRUE(one.FlipHorizontal() && one.FlipVertical());
  EXPECT_EQ(At(one, 0, 0), kRed);
}

// The canvas lock holds off another thread's locked operation.
TEST(CanvasTest, LockHoldsOffOtherThreads) {
  Canvas c(2, 2, LLF::IMGFORMAT_R8G8B8A8);
  ASSERT_TRUE(c.Lock());
  std::atomic<bool> filled{false};
  std::thread other([&] {
    c.Fill(&kRed);
    filled = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(filled.load());
  EXPECT_EQ(At(c, 0, 0), kClear);
  ASSERT_TRUE(c.Unlock());
  other.join();
  EXPECT_TRUE(filled.load());
  EXPECT_EQ(At(c, 1, 1), kRed);
}

}  // namespace
