// Text controls drawn by the hardware render system on a real OpenGL
// context (SDL's offscreen video on Mesa): aligned lines with their shadows
// are read back from the frame and checked at chosen pixels, on their own
// and under a parent scaled by 2.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FontTestUtil.h"
#include "GlScreen.h"
#include "TextBox.h"
#include "font/Font.h"
#include "image/Image.h"
#include "model/Control.h"
#include "render/IRenderSystem.h"

namespace {

using LLF::Color;
using QmTest::TextBox;

constexpr Color kBlack(0, 0, 0, 255);
constexpr Color kCyan(0, 255, 255, 255);
constexpr Color kRed(255, 0, 0, 255);
constexpr Color kYellow(255, 255, 0, 255);

struct Probe {
  int x, y;
  Color color;
  const char* what;
};

class TextPropertyGlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(screen.IsReady());
    // One glyph, 'A': a 10 x 10 square in a 16 x 16 cell, one pixel in from
    // its left and lower edges; line height 16, advance 14. Drawn with its
    // pen at (x, y) it covers [x + 1, x + 11) x [y + 6, y + 16).
    LLF::Font::Glyph a;
    a.character = L'A';
    a.dims = LLF::Point(10, 10);
    a.renderOffset = LLF::Point(4, 0);
    font = QmTest::SquareGlyphFont(16, LLF::Point(1, 1), 16, 4, {a});
  }
  // The glyph textures go while the render system still runs.
  void TearDown() override { font.reset(); }

  // Centred in the middle of a 200 x 100 box: "A" over "AAA", 4 apart, with
  // a red shadow 3 to the right and down.
  TextBox* Block() {
    TextBox* box = new TextBox;
    box->SetSize(200, 100);
    box->SetFontObject(font.get());
    box->SetAlignment(HLF::TEXT_ALIGN_CENTER | HLF::TEXT_ALIGN_MIDDLE);
    box->SetColors(kCyan, kCyan, kCyan, kCyan);
    box->SetShadow(true, LLF::Vector2(3, 3), kRed);
    box->lines = {L"A", L"AAA"};
    box->interval = 4;
    return box;
  }

  // The frame of root, checked at the probes.
  void Check(HLF::Control& root, const std::vector<Probe>& probes) {
    std::unique_ptr<LLF::Image> shot =
        screen.Frame([&root](LLF::IRenderSystem* rs) { root.Render(rs, nullptr); });
    ASSERT_TRUE(shot);
    for (const Probe& p : probes) {
      Color c;
      shot->GetPixel(&c, p.x, p.y);
      c.a = 255;
      EXPECT_EQ(c, p.color) << p.what << " at " << p.x << "," << p.y << ": " << int(c.r) << "," << int(c.g)
                            << "," << int(c.b);
    }
  }

  QmTest::GlScreen screen;
  std::unique_ptr<LLF::Font> font;
};

TEST_F(TextPropertyGlTest, AlignedShadowedLines) {
  HLF::Control root(L"root");
  root.SetSize(800, 600);
  root.SetDefCtrlColor(Color(0, 0, 0, 0));
  TextBox* block = Block();
  block->SetPosition(100, 100);
  root.AddChild(block);
  // One line at the right bottom of a 100 x 50 box: "AA" is 28 wide.
  TextBox* corner = new TextBox;
  corner->SetPosition(400, 100);
  corner->SetSize(100, 50);
  corner->SetFontObject(font.get());
  corner->SetAlignment(HLF::TEXT_ALIGN_RIGHT | HLF::TEXT_ALIGN_BOTTOM);
  corner->SetColors(kYellow, kYellow, kYellow, kYellow);
  corner->SetText(L"AA");
  root.AddChild(corner);

  // The block is 36 high, so it starts 32 down; "A" starts at 93, "AAA" at
  // 79. Pens: (193, 132) and (179, 152); the corner's at (472, 134).
  Check(root, {
                  {195, 139, kCyan, "first line"},
                  {200, 145, kCyan, "first line over its shadow"},
                  {205, 149, kRed, "first line's shadow"},
                  {193, 139, kBlack, "left of the first line"},
                  {200, 137, kBlack, "above the first line"},
                  {207, 150, kBlack, "past the first shadow"},
                  {200, 154, kBlack, "between the lines"},
                  {181, 159, kCyan, "second line, first glyph"},
                  {209, 159, kCyan, "second line, third glyph"},
                  {191, 165, kRed, "shadow of the second line's first glyph"},
                  {219, 169, kRed, "shadow of the second line's third glyph"},
                  {222, 160, kBlack, "right of the second line"},
                  {474, 141, kYellow, "corner text"},
                  {495, 148, kYellow, "corner text"},
                  {485, 145, kBlack, "between the corner glyphs"},
                  {471, 145, kBlack, "left of the corner text"},
                  {474, 151, kBlack, "below the corner text"},
              });
}

// The parent (at (20, 10), scale 2) takes the block's own points to the
// screen once: its pen (93, 32) inside the block at (50, 150) lands at
// (306, 374), and every length doubles.
TEST_F(TextPropertyGlTest, LinesUnderAParentScaledByTwo) {
  HLF::Control root(L"root");
  root.SetPosition(20, 10);
  root.SetScale(LLF::Vector2(2, 2));
  root.SetSize(300, 250);
  root.SetDefCtrlColor(Color(0, 0, 0, 0));
  TextBox* block = Block();
  block->SetPosition(50, 150);
  root.AddChild(block);

  // First line: glyph [308, 328) x [386, 406), shadow 6 further on each
  // axis. Second line: pen (278, 414), glyphs from 280, 308 and 336, rows
  // [426, 446).
  Check(root, {
                  {310, 388, kCyan, "first line"},
                  {320, 400, kCyan, "first line over its shadow"},
                  {332, 410, kRed, "first line's shadow"},
                  {305, 395, kBlack, "left of the first line"},
                  {318, 383, kBlack, "above the first line"},
                  {336, 414, kBlack, "past the first shadow"},
                  {282, 428, kCyan, "second line, first glyph"},
                  {338, 428, kCyan, "second line, third glyph"},
                  {302, 440, kRed, "shadow of the second line's first glyph"},
                  {358, 450, kRed, "shadow of the second line's third glyph"},
                  {365, 430, kBlack, "right of the second line"},
                  {318, 416, kBlack, "between the lines"},
              });
}

}  // namespace
