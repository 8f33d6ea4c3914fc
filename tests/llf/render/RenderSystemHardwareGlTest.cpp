// The hardware render system on a real OpenGL context (SDL's offscreen video
// on Mesa): a frame of fills, lines, images, blending, clipping and text is
// read back and checked at chosen pixels; a requested screenshot is saved as
// PNG and loads back with the same pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FontTestUtil.h"
#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "app/AppWindow.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "render/RenderSystemHardware.h"
#include "render/RendersManager.h"

namespace {

using namespace LLF;

constexpr Color kBlack(0, 0, 0, 255);
constexpr Color kWhite(255, 255, 255, 255);
constexpr Color kRed(255, 0, 0, 255);
constexpr Color kGreen(0, 255, 0, 255);
constexpr Color kBlue(0, 0, 255, 255);
constexpr Color kYellow(255, 255, 0, 255);
constexpr Color kCyan(0, 255, 255, 255);

// Colour of pixel (x, y) from the top, alpha ignored.
Color At(Image& image, int x, int y) {
  Color c;
  image.GetPixel(&c, x, y);
  c.a = 255;
  return c;
}

// Each channel within one step of the expected value (blending rounds).
::testing::AssertionResult Near(const Color& expected, const Color& actual) {
  if (std::abs(expected.r - actual.r) <= 1 && std::abs(expected.g - actual.g) <= 1 &&
      std::abs(expected.b - actual.b) <= 1) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "expected " << int(expected.r) << "," << int(expected.g) << "," << int(expected.b) << " got "
         << int(actual.r) << "," << int(actual.g) << "," << int(actual.b);
}

class RenderSystemHardwareGlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppSettings settings;
    settings.width = 800;
    settings.height = 600;
    ASSERT_TRUE(AppWindow::GetInstance().Create(settings));
    RenderSystemHardware::SetGfxLibrary(nullptr);
    RenderSettings render;
    render.verticalSync = false;
    ASSERT_TRUE(rs.Init(render));
    ImagesManager::GetInstance().RegisterCodec(&CodecPng::GetInstance());
  }
  void TearDown() override {
    _images.clear();
    _font.reset();
    rs.Destroy();
    AppWindow::GetInstance().Destroy();
  }

  Image* Keep(std::unique_ptr<Image> image) {
    _images.push_back(std::move(image));
    return _images.back().get();
  }
  // w x h pixels from a function of (x, y).
  template <class F>
  Image* Picture(unsigned w, unsigned h, F colour) {
    auto image = std::make_unique<Image>(w, h, IMGFORMAT_R8G8B8A8);
    for (unsigned y = 0; y < h; ++y) {
      for (unsigned x = 0; x < w; ++x) {
        const Color c = colour(x, y);
        image->SetPixel(int(x), int(y), &c);
      }
    }
    return Keep(std::move(image));
  }

  // A bitmap font of one glyph, 'A': a 6 x 6 square in an 8 x 8 cell with a
  // margin of 1; height 8, space 4, advance 6 + 1.
  Font& SquareFont() {
    Font::Glyph a;
    a.character = L'A';
    a.dims = Point(6, 6);
    a.renderOffset = Point(1, 0);
    _font = QmTest::SquareGlyphFont(8, Point(1, 1), 8, 4, {a});
    return *_font;
  }

  RenderSystemHardware& rs = RenderSystemHardware::GetInstance();
  QmTest::CurrentRender _current{&rs};
  std::vector<std::unique_ptr<Image>> _images;
  std::unique_ptr<Font> _font;
};

TEST_F(RenderSystemHardwareGlTest, FrameOfEveryKindOfDraw) {
  Image* quadrants = Picture(16, 16, [](unsigned x, unsigned y) {
    return y < 8 ? (x < 8 ? kRed : kGreen) : (x < 8 ? kBlue : kWhite);
  });
  Image* gradient =
      Picture(300, 200, [](unsigned x, unsigned y) { return Color(uint8_t(x), uint8_t(y), 7, 255); });
  Image* stripes = Picture(20, 10, [](unsigned x, unsigned) { return x < 10 ? kRed : kBlue; });
  Font& font = SquareFont();

  ASSERT_TRUE(rs.BeginFrame());
  rs.Clear(kBlack, true, false);
  rs.FillRect(Rect(10, 10, 40, 30), kRed);
  rs.DrawLine(Vector2(100, 10), Vector2(150, 10), kGreen);

  HLF::ImageDrawParams plain;
  plain.transform = 0;
  plain.position = Vector2(200, 10);
  plain.size = Point(40, 24);
  rs.DrawImageTiled(quadrants, plain);
  plain.position = Vector2(300, 10);
  plain.size = Point(100, 50);
  rs.DrawImagePart(gradient, plain);

  // Turned a quarter towards y about its centre, doubled, half transparent,
  // over white.
  rs.FillRect(Rect(480, 60, 80, 80), kWhite);
  HLF::ImageDrawParams turned;
  turned.position = Vector2(500, 100);
  turned.pivot = Vector2(10, 5);
  turned.rotation = 90.0f;
  turned.scale = Vector2(2, 2);
  turned.alpha = 128;
  rs.DrawImage(stripes, turned);

  rs.FillRect(Rect(600, 10, 40, 40), Color(100, 0, 0, 255));
  rs.SetBlendMode(BLEND_ADDITIVE);
  rs.FillRect(Rect(620, 10, 40, 40), Color(0, 100, 0, 255));
  rs.SetBlendMode(BLEND_NORMAL);

  const Rect clip(50, 200, 30, 30);
  rs.SetClipRect(&clip);
  rs.FillRect(Rect(0, 150, 200, 200), kYellow);
  rs.SetClipRect(nullptr);

  TextDrawParams text(L"A A", Vector2(100, 300), kCyan, 0.0f, Vector2(1, 1), 0, Vector2(), Vector2());
  rs.DrawText(font, text);
  rs.EndFrame();

  std::unique_ptr<Image> shot(rs.GetScreenshot());
  ASSERT_TRUE(shot);
  ASSERT_EQ(shot->GetWidth(), 800u);
  ASSERT_EQ(shot->GetHeight(), 600u);
  // Pixels expected at chosen points; the turned image's blend with
  // filtering is allowed one step of rounding.
  struct Probe {
    int x, y;
    Color color;
    const char* what;
  };
  const Probe probes[] = {
      {10, 10, kRed, "fill"},
      {49, 39, kRed, "fill"},
      {50, 10, kBlack, "fill"},
      {9, 10, kBlack, "fill"},
      {10, 40, kBlack, "fill"},
      {120, 9, kBlack, "line"},
      {120, 12, kBlack, "line"},
      {204, 14, kRed, "tiled"},  // the picture repeats across 40 x 24
      {212, 14, kGreen, "tiled"},
      {204, 22, kBlue, "tiled"},
      {212, 22, kWhite, "tiled"},
      {220, 14, kRed, "tiled"},
      {236, 30, kRed, "tiled"},
      {240, 14, kBlack, "tiled"},
      {204, 34, kBlack, "tiled"},
      {350, 30, Color(50, 20, 7, 255), "part"},  // the top-left 100 x 50, texel for pixel
      {399, 59, Color(99, 49, 7, 255), "part"},
      {300, 10, Color(0, 0, 7, 255), "part"},
      {400, 30, kBlack, "part"},
      {350, 60, kBlack, "part"},
      // Turned and scaled: 20 wide and 40 high around (510, 105), the left
      // half of the stripes on top.
      {510, 95, Color(255, 127, 127, 255), "turned"},
      {510, 115, Color(127, 127, 255, 255), "turned"},
      {501, 86, Color(255, 127, 127, 255), "turned"},
      {497, 105, kWhite, "turned"},
      {523, 105, kWhite, "turned"},
      {510, 82, kWhite, "turned"},
      {510, 128, kWhite, "turned"},
      {610, 20, Color(100, 0, 0, 255), "additive"},
      {630, 20, Color(100, 100, 0, 255), "additive"},
      {650, 20, Color(0, 100, 0, 255), "additive"},
      {50, 200, kYellow, "clipped"},
      {79, 229, kYellow, "clipped"},
      {49, 210, kBlack, "clipped"},
      {80, 210, kBlack, "clipped"},
      {60, 199, kBlack, "clipped"},
      {60, 230, kBlack, "clipped"},
      // Each square 6 x 6, one pixel in from its cell; cells at 100 and 111
      // (advance 7, space 4), base line at 308.
      {101, 302, kCyan, "text"},
      {106, 307, kCyan, "text"},
      {112, 302, kCyan, "text"},
      {117, 307, kCyan, "text"},
      {100, 302, kBlack, "text"},
      {107, 302, kBlack, "text"},
      {111, 305, kBlack, "text"},
      {118, 305, kBlack, "text"},
      {101, 301, kBlack, "text"},
      {101, 308, kBlack, "text"},
  };
  for (const Probe& p : probes) {
    const Color actual = At(*shot, p.x, p.y);
    if (std::string(p.what) == "turned") {
      EXPECT_TRUE(Near(p.color, actual)) << p.what << " at " << p.x << "," << p.y;
    } else {
      EXPECT_EQ(actual, p.color) << p.what << " at " << p.x << "," << p.y;
    }
  }
  // The line is one pixel thick.
  EXPECT_NE(At(*shot, 120, 10) == kGreen, At(*shot, 120, 11) == kGreen);
}

// A line of TrueType text lands where the font measures it: within its
// width (each glyph drawn from its cell, the sides offset in from the pen)
// and around its line (the font height is the character size, glyphs reach
// higher and descenders lower), in the text's colour, nothing elsewhere.
TEST_F(RenderSystemHardwareGlTest, TrueTypeTextStaysInItsMeasuredBox) {
  std::unique_ptr<Font> font(QmTest::LoadTrueType(20, L"Hgjy", Point(2, 2)));
  ASSERT_TRUE(font);
  TextDrawParams text(L"Hg jy", Vector2(100, 400), kRed, 0.0f, Vector2(1, 1), 0, Vector2(), Vector2());
  const int width = font->GetTextWidth(text);
  const int height = font->GetTextHeight(text);
  ASSERT_GT(width, 20);
  ASSERT_TRUE(rs.BeginFrame());
  rs.Clear(kBlack, true, false);
  rs.DrawText(*font, text);
  rs.EndFrame();
  std::unique_ptr<Image> shot(rs.GetScreenshot());
  ASSERT_TRUE(shot);
  const int left = 100;
  const int right = 100 + width + font->GetSidesOffset().x;
  const int top = 400 - height / 2;
  const int bottom = 400 + height + height / 2;
  int inside = 0;
  int outside = 0;
  for (int y = 350; y < 480; ++y) {
    for (int x = 60; x < 300; ++x) {
      const Color c = At(*shot, x, y);
      if (c == kBlack) continue;
      EXPECT_EQ(c.g, c.b) << x << "," << y;  // only shades of the text's red
      (x >= left && x < right && y >= top && y < bottom ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
  // Something reaches below the base line (g, j, y) and something near the
  // top of the line (H).
  bool below = false;
  bool high = false;
  for (int x = left; x < right; ++x) {
    below = below || At(*shot, x, 400 + height + 2) != kBlack;
    high = high || At(*shot, x, 402) != kBlack;
  }
  EXPECT_TRUE(below);
  EXPECT_TRUE(high);
}

TEST_F(RenderSystemHardwareGlTest, TintedFrameIsSavedAsPngWithTheSamePixels) {
  const std::string folder = QmTest::NewTempFolder("shot");
  const std::wstring file = AnsiToWide(folder) + L"/shot_0000.png";
  ASSERT_TRUE(rs.BeginFrame());
  rs.Clear(kWhite, true, false);
  rs.FillRect(Rect(0, 0, 100, 100), kBlue);
  rs.SetScreenTint(Color(0, 0, 0, 128));
  ASSERT_TRUE(rs.RequestScreenshot(file));
  EXPECT_FALSE(rs.RequestScreenshot(file + L".2"));
  rs.EndFrame();
  rs.SetScreenTint(Color(255, 255, 255, 0));

  std::unique_ptr<Image> shot(rs.GetScreenshot());
  ASSERT_TRUE(shot);
  EXPECT_TRUE(Near(Color(127, 127, 127, 255), At(*shot, 400, 300)));
  EXPECT_TRUE(Near(Color(0, 0, 127, 255), At(*shot, 50, 50)));

  std::unique_ptr<Image> saved(ImagesManager::GetInstance().LoadImage(file, L"", true, true));
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->GetWidth(), 800u);
  ASSERT_EQ(saved->GetHeight(), 600u);
  int differences = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      differences += At(*saved, x, y) != At(*shot, x, y);
    }
  }
  EXPECT_EQ(differences, 0);
}

TEST_F(RenderSystemHardwareGlTest, FullScreenAndBack) {
  AppWindow& window = AppWindow::GetInstance();
  ASSERT_TRUE(rs.SwitchMode(false, 0));
  EXPECT_TRUE(window.IsFullScreen());
  EXPECT_FALSE(rs.GetSettings().windowed);
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    ASSERT_TRUE(rs.BeginFrame());
    rs.Clear(kBlack, true, false);
    rs.FillRect(Rect(100, 100, 50, 50), kGreen);
    rs.EndFrame();
    std::unique_ptr<Image> shot(rs.GetScreenshot());
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->GetWidth(), 800u);
    EXPECT_EQ(At(*shot, 100, 100), kGreen);
    EXPECT_EQ(At(*shot, 149, 149), kGreen);
    EXPECT_EQ(At(*shot, 99, 100), kBlack);
    EXPECT_EQ(At(*shot, 150, 149), kBlack);
    if (pass == 0) {
      ASSERT_TRUE(rs.SwitchMode(true, 0));
      EXPECT_FALSE(window.IsFullScreen());
    }
  }
}

TEST_F(RenderSystemHardwareGlTest, ImagesUploadedOnAnotherThreadDraw) {
  // The asset loader's way: pixels and textures made off the main thread,
  // drawn on it.
  std::vector<std::unique_ptr<Image>> loaded(4);
  std::thread loader([&loaded] {
    for (size_t i = 0; i < loaded.size(); ++i) {
      auto image = std::make_unique<Image>(64, 32, IMGFORMAT_R8G8B8X8);
      const Color c(uint8_t(40 * (i + 1)), 0, 200, 0);  // fourth byte 0, as a JPEG has it
      image->Fill(&c);
      image->Update(0, 0, true);
      loaded[i] = std::move(image);
    }
  });
  loader.join();
  ASSERT_TRUE(rs.BeginFrame());
  rs.Clear(kBlack, true, false);
  HLF::ImageDrawParams params;
  params.transform = 0;
  for (size_t i = 0; i < loaded.size(); ++i) {
    params.position = Vector2(float(100 * i), 0);
    rs.DrawImage(loaded[i].get(), params);
  }
  rs.EndFrame();
  std::unique_ptr<Image> shot(rs.GetScreenshot());
  ASSERT_TRUE(shot);
  for (size_t i = 0; i < loaded.size(); ++i) {
    EXPECT_EQ(At(*shot, int(100 * i + 10), 10), Color(uint8_t(40 * (i + 1)), 0, 200, 255));
  }
  loaded.clear();  // released while the device runs: names go back on the main thread
  ASSERT_TRUE(rs.BeginFrame());
  rs.EndFrame();
}

}  // namespace
