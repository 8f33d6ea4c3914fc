// The Pair level d2_pair drawn by the hardware render system on a real
// OpenGL context: the first scene's two panes with their icons (the ring's
// hole showing the pane), the frame strip with the scene number; then the
// second scene sliding in from above. With QM_SHOT_DIR set, the frames are
// written there as PNG files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "GlScreen.h"
#include "PairLevelFixture.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/Control.h"
#include "modes/pair/PairModeScene.h"
#include "render/IRenderSystem.h"

namespace QmTest {
namespace {

void Save(const LLF::Image& shot, const char* name) {
  if (const char* dir = std::getenv("QM_SHOT_DIR")) {
    LLF::ImagesManager::GetInstance().SaveImage(const_cast<LLF::Image*>(&shot),
                                                LLF::FromOsPath(std::string(dir) + "/" + name));
  }
}

LLF::Color Pixel(const LLF::Image& shot, int x, int y) {
  LLF::Color c;
  shot.GetPixel(&c, x, y);
  return c;
}

bool Reddish(const LLF::Color& c) {
  return c.r > 150 && c.g < 90 && c.b < 90;
}

// The panes' parchment: light and warm.
bool Parchment(const LLF::Color& c) {
  return c.r > 200 && c.g > 180 && c.b > 140 && c.r >= c.b;
}

TEST(GameModePairGlTest, TheScenesPanesIconsAndTheSlide) {
  GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  PairLevelFixture level;
  ASSERT_TRUE(level.Ready());
  GameModePair* mode = level.StartRunning("d2_pair");
  ASSERT_NE(mode, nullptr);
  ASSERT_EQ(mode->GetBoard().GetScenes().size(), 3u);
  const auto draw = [&] {
    return screen.Frame([&](LLF::IRenderSystem* rs) { level.Game().GetRootControl().Render(rs, nullptr); });
  };
  level.Run(1500);
  std::unique_ptr<LLF::Image> start = draw();
  ASSERT_TRUE(start);
  Save(*start, "pair_scene1.png");

  // Scene 1 of d2_pair: the right pane's odd ball_red at (466, 323), the
  // left pane's odd ball_green at (213, 161), ring_red on the left at
  // (205, 426).
  PairModeScene* scene = mode->GetBoard().GetCurrentScene();
  ASSERT_NE(scene, nullptr);
  ASSERT_EQ(scene->GetMissingLeft(), L"ball_red");
  ASSERT_EQ(scene->GetMissingRight(), L"ball_green");
  EXPECT_TRUE(Reddish(Pixel(*start, 498, 355))) << "the red ball";
  const LLF::Color green = Pixel(*start, 245, 193);
  EXPECT_TRUE(green.g > green.r + 40 && green.g > green.b + 40) << "the green ball";
  EXPECT_TRUE(Reddish(Pixel(*start, 237, 440))) << "the ring's band";
  EXPECT_TRUE(Parchment(Pixel(*start, 237, 458))) << "the pane through the ring's hole";
  EXPECT_TRUE(Parchment(Pixel(*start, 30, 30)));
  EXPECT_TRUE(Parchment(Pixel(*start, 430, 500)));
  const LLF::Color gap = Pixel(*start, 400, 300);
  EXPECT_FALSE(Parchment(gap)) << "the wood between the panes";
  const LLF::Color strip = Pixel(*start, 560, 590);
  EXPECT_TRUE(strip.b > strip.r && strip.r < 60) << "the frame strip";
  // One clock, the timer block on the strip, while the level's clock is
  // shown: nothing stands over the top of the right pane.
  ASSERT_TRUE(mode->GetClockRibbon()->IsVisible());
  for (const auto& [x, y] : {std::pair{590, 30}, {620, 35}, {770, 30}}) {
    EXPECT_TRUE(Parchment(Pixel(*start, x, y))) << "the right pane at " << x << "," << y;
  }
  const LLF::Color rim = Pixel(*start, 720, 590);
  EXPECT_TRUE(rim.r > 180 && rim.g > 130 && rim.b < 110) << "the timer block's rim on the strip";

  // Both found: the next scene slides in from above.
  level.Click(498, 337);
  level.Click(245, 175);
  ASSERT_EQ(mode->GetBoard().GetCurrentIndex(), 1);
  level.Run(450, 50);
  std::unique_ptr<LLF::Image> slide = draw();
  ASSERT_TRUE(slide);
  Save(*slide, "pair_slide.png");
  const float y = mode->GetBoard().GetScenes()[1]->GetPosition().y;
  ASSERT_LT(y, -20.0f);
  ASSERT_GT(y, -500.0f);
  const int paneFoot = static_cast<int>(y) + 510;  // near the foot of the new scene's pane
  EXPECT_TRUE(Parchment(Pixel(*slide, 30, paneFoot))) << "the new scene's pane coming in";
  EXPECT_FALSE(Parchment(Pixel(*slide, 30, paneFoot + 20))) << "its wood below the pane";
  level.Run(1000, 50);
  std::unique_ptr<LLF::Image> second = draw();
  ASSERT_TRUE(second);
  Save(*second, "pair_scene2.png");
  EXPECT_EQ(mode->GetBoard().GetCurrentScene(), mode->GetBoard().GetScenes()[1]);
  EXPECT_TRUE(Parchment(Pixel(*second, 30, 30)));
  level.Release();
}

}  // namespace
}  // namespace QmTest
