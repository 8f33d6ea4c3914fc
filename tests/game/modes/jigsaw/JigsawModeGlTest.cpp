// The first Jigsaw level drawn by the hardware render system on a real
// OpenGL context, on the generated data: each cell of the board shows the
// part of the picture that belongs to the piece standing there, the
// finished board is the picture itself, and the frame's rim, the counters
// and the buttons stand around it. With QM_SHOT_DIR set, the frames are
// written there as PNG files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "BoardLevel.h"
#include "GameAtMenu.h"
#include "GlScreen.h"
#include "HeadlessVoyage.h"
#include "ImageTestUtil.h"
#include "ModeDriver.h"
#include "core/Random.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "map/ZentaLevelMap.h"
#include "model/StateMachine.h"
#include "modes/GameModeHost.h"
#include "modes/jigsaw/GameModeJigsaw.h"
#include "render/IRenderSystem.h"

namespace QmTest {
namespace {

using Driver = ModeDriver;

struct Mean {
  double r = 0;
  double g = 0;
  double b = 0;
};

Mean MeanOf(const LLF::Image& image, int x, int y, int width, int height) {
  Mean mean;
  for (int py = y; py < y + height; ++py) {
    for (int px = x; px < x + width; ++px) {
      LLF::Color c;
      image.GetPixel(&c, px, py);
      mean.r += c.r;
      mean.g += c.g;
      mean.b += c.b;
    }
  }
  const double n = static_cast<double>(width) * height;
  return {mean.r / n, mean.g / n, mean.b / n};
}

double Distance(const Mean& a, const Mean& b) {
  return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
}

// Mean absolute difference per channel between the shot's rectangle at
// (x, y) and the whole picture.
double Difference(const LLF::Image& shot, int x, int y, const LLF::Image& picture) {
  double sum = 0;
  for (unsigned py = 0; py < picture.GetHeight(); ++py) {
    for (unsigned px = 0; px < picture.GetWidth(); ++px) {
      LLF::Color a;
      LLF::Color b;
      shot.GetPixel(&a, x + static_cast<int>(px), y + static_cast<int>(py));
      picture.GetPixel(&b, static_cast<int>(px), static_cast<int>(py));
      sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
  }
  return sum / (3.0 * picture.GetWidth() * picture.GetHeight());
}

bool Gold(const LLF::Color& c) {
  return c.r > 150 && c.g > 110 && c.b < c.g - 30;
}
bool DarkInk(const LLF::Color& c) {
  return c.r < 120 && c.g < 90 && c.b < 60;
}

TEST(JigsawModeGlTest, TheBoardShowsEachPiecesPartOfThePicture) {
  GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  GameAtMenu start(true);
  ASSERT_TRUE(start.Start());
  HeadlessVoyage& game = start.Game();
  Driver driver;
  game.SetStateMachine(&driver);
  LLF::SeedRandom(3);
  GameMode* started = driver.StartOnScreen(game, ZentaLevelMap::GetLevelInfo(0, 0));
  ASSERT_NE(started, nullptr);
  auto* mode = dynamic_cast<GameModeJigsaw*>(started);
  ASSERT_NE(mode, nullptr);

  std::unique_ptr<LLF::Image> picture(
      LLF::ImagesManager::GetInstance().LoadImage(L"levels/d1_jigsaw/picture.jpg", L"", true, true));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->GetWidth(), 600u);
  ASSERT_EQ(picture->GetHeight(), 450u);
  const auto draw = [&] {
    return screen.Frame([&](LLF::IRenderSystem* rs) { game.GetRootControl().Render(rs, nullptr); });
  };

  JigsawModeManager& board = mode->GetBoard();
  std::unique_ptr<LLF::Image> shuffled = draw();
  ASSERT_TRUE(shuffled);
  SaveShot(*shuffled, "jigsaw_shuffled.png");
  // Each cell shows its piece's home part of the picture: its mean colour
  // is nearer that part's than any other's.
  const int w = 150;
  const int h = 150;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
      int n[4];
      ASSERT_TRUE(JigsawModeManager::ParseName(board.GetPieceAt(c, r)->GetName(), n));
      const Mean shown = MeanOf(*shuffled, 44 + c * w + 8, 44 + r * h + 8, w - 16, h - 16);
      const double home = Distance(shown, MeanOf(*picture, n[2] * w + 8, n[3] * h + 8, w - 16, h - 16));
      for (int v = 0; v < 3; ++v) {
        for (int u = 0; u < 4; ++u) {
          if (u == n[2] && v == n[3]) continue;
          EXPECT_LT(home, Distance(shown, MeanOf(*picture, u * w + 8, v * h + 8, w - 16, h - 16)))
              << u << "," << v;
        }
      }
    }
  }
  // The rim around the board, the counters and the two buttons.
  EXPECT_GT(CountPixels(*shuffled, 30, 30, 660, 8, Gold), 2000) << "the frame's rim";
  EXPECT_GT(CountPixels(*shuffled, 706, 100, 88, 320, DarkInk), 300) << "the counters";
  EXPECT_GT(CountPixels(*shuffled, 40, 556, 252, 36, Gold), 300) << "the buttons";
  EXPECT_GT(CountPixels(*shuffled, 572, 542, 220, 56, Gold), 300) << "the clock";

  // Every piece home: the board is the picture.
  std::wstring solved;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) solved += JigsawModeManager::MakeName(c, r, c, r) + L";";
  }
  ASSERT_TRUE(board.RestorePositions(solved));
  std::unique_ptr<LLF::Image> finished = draw();
  ASSERT_TRUE(finished);
  SaveShot(*finished, "jigsaw_finished.png");
  EXPECT_LT(Difference(*finished, 44, 44, *picture), 4.0);

  picture.reset();
  driver.Release();
  game.Stop();
}

}  // namespace
}  // namespace QmTest
