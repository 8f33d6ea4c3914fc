// The first Puzzle level drawn by the hardware render system on a real
// OpenGL context, on the generated data: each cell shows its own part of
// the picture turned by the piece's angle, an upright board is the picture
// itself, and the frame's rim, the counters and the buttons stand around
// it. With QM_SHOT_DIR set, the frames are written there as PNG files.
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
#include "modes/puzzle/GameModePuzzle.h"
#include "render/IRenderSystem.h"

namespace QmTest {
namespace {

using Driver = ModeDriver;

// Mean absolute difference per channel between the shot's cell at (x, y)
// and the picture's cell at (px, py), both size wide, the picture's turned
// by quarters clockwise about the cell's centre; a margin of 6 pixels is
// left out.
double CellDifference(const LLF::Image& shot, int x, int y, const LLF::Image& picture, int px, int py,
                      int size, int quarters) {
  double sum = 0;
  int count = 0;
  const int last = size - 1;
  for (int v = 6; v < size - 6; ++v) {
    for (int u = 6; u < size - 6; ++u) {
      // The shot's (u, v) shows the picture's point that a clockwise turn
      // brings there.
      int su = u;
      int sv = v;
      for (int q = 0; q < quarters; ++q) {
        const int t = su;
        su = sv;
        sv = last - t;
      }
      LLF::Color a;
      LLF::Color b;
      shot.GetPixel(&a, x + u, y + v);
      picture.GetPixel(&b, px + su, py + sv);
      sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
      ++count;
    }
  }
  return sum / (3.0 * count);
}

bool Gold(const LLF::Color& c) {
  return c.r > 150 && c.g > 110 && c.b < c.g - 30;
}
bool DarkInk(const LLF::Color& c) {
  return c.r < 60 && c.g < 70 && c.b < 80;
}

TEST(PuzzleModeGlTest, EachCellShowsItsOwnPartTurnedByItsAngle) {
  GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  GameAtMenu start(true);
  ASSERT_TRUE(start.Start());
  HeadlessVoyage& game = start.Game();
  Driver driver;
  game.SetStateMachine(&driver);
  const LevelInfo level = ZentaLevelMap::GetLevelInfo(0, 1);
  ASSERT_EQ(level.name, L"d1_puzzle");
  LLF::SeedRandom(3);
  GameMode* started = driver.StartOnScreen(game, level);
  ASSERT_NE(started, nullptr);
  auto* mode = dynamic_cast<GameModePuzzle*>(started);
  ASSERT_NE(mode, nullptr);

  std::unique_ptr<LLF::Image> picture(
      LLF::ImagesManager::GetInstance().LoadImage(L"levels/d1_puzzle/picture.png", L"", true, true));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->GetWidth(), 480u);
  ASSERT_EQ(picture->GetHeight(), 480u);
  const auto draw = [&] {
    return screen.Frame([&](LLF::IRenderSystem* rs) { game.GetRootControl().Render(rs, nullptr); });
  };

  // Every quarter on the board, each cell told apart from the other turns
  // of its own part.
  PuzzleModeManager& board = mode->GetBoard();
  ASSERT_TRUE(board.RestoreAngles(L"90,180,270,0,360,90,180,270,90,"));
  board.UpdateCounters();
  std::unique_ptr<LLF::Image> turned = draw();
  ASSERT_TRUE(turned);
  SaveShot(*turned, "puzzle_turned.png");
  const int size = 160;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
      const int quarters = static_cast<int>(board.GetPiece(c, r)->GetRotation() / 90.0f) % 4;
      const int x = 44 + c * size;
      const int y = 44 + r * size;
      const double shown = CellDifference(*turned, x, y, *picture, c * size, r * size, size, quarters);
      EXPECT_LT(shown, 8.0);
      for (int other = 0; other < 4; ++other) {
        if (other == quarters) continue;
        EXPECT_LT(shown * 2.0, CellDifference(*turned, x, y, *picture, c * size, r * size, size, other))
            << other;
      }
    }
  }
  // The rim around the board, the counters and the two buttons.
  EXPECT_GT(CountPixels(*turned, 30, 30, 500, 8, Gold), 1500) << "the frame's rim";
  EXPECT_GT(CountPixels(*turned, 596, 100, 160, 320, DarkInk), 300) << "the counters";
  EXPECT_GT(CountPixels(*turned, 40, 556, 252, 36, Gold), 300) << "the buttons";
  EXPECT_GT(CountPixels(*turned, 572, 542, 220, 56, Gold), 300) << "the clock";

  // Every piece upright: the board is the picture.
  ASSERT_TRUE(board.RestoreAngles(L"0,360,0,0,0,360,0,0,0,"));
  std::unique_ptr<LLF::Image> upright = draw();
  ASSERT_TRUE(upright);
  SaveShot(*upright, "puzzle_upright.png");
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_LT(CellDifference(*upright, 44 + c * size, 44 + r * size, *picture, c * size, r * size, size, 0),
                4.0)
          << c << "," << r;
    }
  }

  picture.reset();
  driver.Release();
  game.Stop();
}

}  // namespace
}  // namespace QmTest
