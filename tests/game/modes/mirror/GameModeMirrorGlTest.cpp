// The Mirror level d1_mirror drawn by the hardware render system on a real
// OpenGL context: two finds highlighted on both halves, the mirrored cursor
// on the other half, the frame strip with its buttons; then the halves
// joining at x 200 and the results. With QM_SHOT_DIR set, the frames are
// written there as PNG files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "GameAtMenu.h"
#include "GlScreen.h"
#include "MirrorLevelFixture.h"
#include "image/Image.h"
#include "model/Control.h"
#include "render/IRenderSystem.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

LLF::Color Pixel(const LLF::Image& shot, int x, int y) {
  LLF::Color c;
  shot.GetPixel(&c, x, y);
  return c;
}

// Pixels of the box that differ (by more than a little) between two shots,
// or between two boxes of one shot.
int Differing(const LLF::Image& a, int ax, int ay, const LLF::Image& b, int bx, int by, int w, int h) {
  int count = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const LLF::Color p = Pixel(a, ax + x, ay + y);
      const LLF::Color q = Pixel(b, bx + x, by + y);
      count += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 30 ? 1 : 0;
    }
  }
  return count;
}

// Bright, warm pixels (the highlight's ring) in the box.
int Ring(const LLF::Image& shot, int x0, int y0, int w, int h) {
  int count = 0;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      const LLF::Color c = Pixel(shot, x, y);
      count += c.r > 235 && c.g > 215 && c.b > 120 ? 1 : 0;
    }
  }
  return count;
}

int Dark(const LLF::Image& shot, int x0, int y0, int w, int h) {
  int count = 0;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      const LLF::Color c = Pixel(shot, x, y);
      count += c.r + c.g + c.b < 12 ? 1 : 0;
    }
  }
  return count;
}

TEST(GameModeMirrorGlTest, TheBoardTheHighlightsTheCursorAndTheUnion) {
  GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  MirrorLevelFixture level;
  ASSERT_TRUE(level.Ready());
  GameModeMirror* mode = level.StartRunning("d1_mirror");
  ASSERT_NE(mode, nullptr);
  const auto draw = [&] {
    return screen.Frame([&](LLF::IRenderSystem* rs) { level.Game().GetRootControl().Render(rs, nullptr); });
  };

  // Before any find, once the opening sweep has crossed: each difference
  // is drawn on its own half only.
  level.Run(1500);
  ASSERT_EQ(mode->GetGradientCountdown(), 0u);
  level.MoveMouse(700, 20);
  std::unique_ptr<LLF::Image> start = draw();
  ASSERT_TRUE(start);
  SaveShot(*start, "mirror_start.png");
  // diff_1: 40 x 40 at (650, 150), right half; diff_2: 36 x 44 at (140, 300), left.
  EXPECT_GT(Differing(*start, 650, 150, *start, 250, 150, 40, 40), 300);
  EXPECT_GT(Differing(*start, 140, 300, *start, 540, 300, 36, 44), 300);
  // Elsewhere the halves are alike.
  EXPECT_LT(Differing(*start, 20, 200, *start, 420, 200, 340, 60), 20);

  // Two finds, one on each half's picture, clicked on the other half.
  level.Click(484, 114);  // diff_0 at (60, 90), 48 x 48
  level.Click(322, 442);  // diff_3 at (700, 420), 44 x 44
  EXPECT_EQ(mode->GetBoard().LeftCount(), 3);
  level.Run(1200);
  level.MoveMouse(450, 300);
  std::unique_ptr<LLF::Image> play = draw();
  ASSERT_TRUE(play);
  SaveShot(*play, "mirror_play.png");
  // The rings: 64 x 64 pictures shown at 48 x 48, centred on the regions.
  EXPECT_GT(Ring(*play, 60, 90, 48, 48), 60) << "highlight where diff_0 is drawn";
  EXPECT_GT(Ring(*play, 460, 90, 48, 48), 60) << "and at its mirror place";
  EXPECT_GT(Ring(*play, 700, 420, 48, 48), 60);
  EXPECT_GT(Ring(*play, 300, 420, 48, 48), 60);
  EXPECT_LT(Ring(*play, 250, 150, 40, 40), 10) << "no highlight for what is not found";
  // The mirrored cursor at (50, 300), not at the mouse's own place.
  EXPECT_GT(Differing(*play, 50, 300, *start, 50, 300, 20, 28), 60);
  EXPECT_LT(Differing(*play, 450, 300, *start, 450, 300, 20, 28), 10);
  // The frame strip from y 536 with its buttons, and the timer block.
  const LLF::Color strip = Pixel(*play, 560, 590);
  EXPECT_TRUE(strip.b > strip.r && strip.r < 60) << "the strip's night blue";
  EXPECT_GT(Differing(*play, 16, 550, *play, 420, 550, 120, 36), 500) << "a button on the strip";

  // The rest found: the highlights fade, the halves join at x 200.
  level.Click(670, 170);
  level.Click(158, 322);
  level.Click(540, 480);
  ASSERT_TRUE(
      level.Game().FramesUntil([&] { return mode->GetState() == GameModeMirror::GMM_STATE_UNIONSIDES; }, 50));
  level.Run(1000, 50);
  std::unique_ptr<LLF::Image> union1 = draw();
  ASSERT_TRUE(union1);
  SaveShot(*union1, "mirror_union.png");
  const float leftX = mode->GetBoard().GetLeftSide()->GetPosition().x;
  EXPECT_GT(leftX, 5.0f);
  EXPECT_LT(leftX, 195.0f);
  EXPECT_GT(Dark(*union1, 0, 0, static_cast<int>(leftX) - 2, 500), (static_cast<int>(leftX) - 2) * 490)
      << "black where the left half has left";
  ASSERT_TRUE(
      level.Game().FramesUntil([&] { return mode->GetState() == GameModeMirror::GMM_STATE_ZOOMIMG; }, 20));
  std::unique_ptr<LLF::Image> joined = draw();
  ASSERT_TRUE(joined);
  SaveShot(*joined, "mirror_joined.png");
  // One picture from x 200 to 600 over black; no difference is drawn any
  // more, so its middle is the plain picture.
  EXPECT_GT(Dark(*joined, 0, 0, 195, 530), 195 * 520);
  EXPECT_GT(Dark(*joined, 605, 0, 195, 530), 195 * 520);
  EXPECT_LT(Dark(*joined, 205, 0, 390, 530), 100);
  // The left half's picture at 200 (a zoom's first frame may have begun:
  // its noise shifts under a fraction of a pixel; the differences it
  // showed are gone).
  EXPECT_LT(Differing(*joined, 200, 0, *start, 0, 0, 400, 500), 10000) << "the left half's picture at 200";

  // The zoom goes out of view; the results open.
  ASSERT_TRUE(level.Game().FramesUntil(
      [&] { return mode->GetState() == GameModeMirror::GMM_STATE_SHOWRESULTS; }, 50));
  level.Run(3000, 50);
  std::unique_ptr<LLF::Image> results = draw();
  ASSERT_TRUE(results);
  SaveShot(*results, "mirror_results.png");
  EXPECT_GT(Dark(*results, 0, 0, 180, 600), 180 * 590) << "nothing of the board left";
  EXPECT_GT(Differing(*results, 200, 110, *results, 0, 110, 190, 380), 20000) << "the results dialog";
  level.Release();
}

}  // namespace
}  // namespace QmTest
