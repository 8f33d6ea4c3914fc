// A wrapped label drawn by the OpenGL render system (SDL's offscreen video
// on Mesa): the lit pixels of its text stay between the label's edges.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FontAssets.h"
#include "GlScreen.h"
#include "image/Image.h"
#include "properties/TextProperty.h"
#include "widgets/Label.h"

namespace {

// The columns of the frame with a pixel brighter than the black backdrop.
struct LitColumns {
  int first = -1;
  int last = -1;
};

LitColumns Lit(const LLF::Image& shot, int top, int bottom) {
  LitColumns lit;
  for (int x = 0; x < 800; ++x) {
    for (int y = top; y < bottom; ++y) {
      LLF::Color c;
      shot.GetPixel(&c, x, y);
      if (c.r > 40 || c.g > 40 || c.b > 40) {
        lit.first = lit.first < 0 ? x : lit.first;
        lit.last = x;
        break;
      }
    }
  }
  return lit;
}

TEST(CaptionOnGlTest, AWrappedMessageIsDrawnInsideItsField) {
  QmTest::GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  // Declared after the screen, so the glyph textures go while it runs.
  QmTest::FontAssets assets;
  LLF::Font* font = assets.Add(L"main16", 16, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz.,");
  ASSERT_NE(font, nullptr);

  const int left = 234;
  const int width = 332;
  HLF::Label label(
      L"msg", L"The two halves of the picture are not quite alike. Click every difference, on either side.");
  label.SetFontObject(font);
  label.SetAlignment(HLF::TEXT_ALIGN_CENTER | HLF::TEXT_ALIGN_MIDDLE);
  label.SetPosition(static_cast<float>(left), 252.0f);
  label.SetSize(width, 80);
  label.SetMultiline(true);
  ASSERT_EQ(label.GetLines().size(), 3u);

  const std::unique_ptr<LLF::Image> shot =
      screen.Frame([&](LLF::IRenderSystem* rs) { label.Render(rs, nullptr); });
  ASSERT_NE(shot, nullptr);
  const LitColumns lit = Lit(*shot, 0, 600);
  ASSERT_GE(lit.first, 0) << "no text drawn";
  EXPECT_GE(lit.first, left);
  EXPECT_LT(lit.last, left + width);
  // The same field on one line overflows it: the check sees text that does.
  label.SetMultiline(false);
  label.SetText(L"not quite alike. Click every difference,");
  const std::unique_ptr<LLF::Image> one =
      screen.Frame([&](LLF::IRenderSystem* rs) { label.Render(rs, nullptr); });
  ASSERT_NE(one, nullptr);
  const LitColumns over = Lit(*one, 0, 600);
  EXPECT_LT(over.first, left);
  EXPECT_GE(over.last, left + width);
}

}  // namespace
