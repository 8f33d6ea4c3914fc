// The level screen of the play-mode base drawn by the hardware render
// system on a real OpenGL context, on the generated data: the clock ribbon
// with its time and the hourglass in place once their show effects have
// run, the level's buttons, a hint's particles and a help message; and the
// gradient band sweeping once across the screen from left to right. With
// QM_SHOT_DIR set, the frames are written there as PNG files.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "GameAtMenu.h"
#include "GlScreen.h"
#include "HeadlessVoyage.h"
#include "ProbeMode.h"
#include "ScriptStandIn.h"
#include "dialogs/Dialog.h"
#include "image/Image.h"
#include "model/Control.h"
#include "particles/Emitter.h"
#include "render/IRenderSystem.h"

namespace QmTest {
namespace {

struct Count {
  int gold = 0;
  int blue = 0;
  int light = 0;
};

// Pixels in the rectangle by kind: the ribbon's and the hourglass's gold
// and brown, its night blue, and the time's light text.
Count Pixels(const LLF::Image& shot, int x, int y, int width, int height) {
  Count count;
  for (int py = y; py < y + height; ++py) {
    for (int px = x; px < x + width; ++px) {
      LLF::Color c;
      shot.GetPixel(&c, px, py);
      if (c.r > 120 && c.r > c.b + 50 && c.g > 60) ++count.gold;
      if (c.b > 40 && c.b > c.r + 15) ++count.blue;
      if (c.r > 220 && c.g > 210 && c.b > 170) ++count.light;
    }
  }
  return count;
}

// The middle of the bright band across a row of the empty middle of the
// screen: the mean of the columns within a step of the brightest (the
// band's crest), or -1 when the row is dark.
int BandMiddle(const LLF::Image& shot, int y) {
  int values[800];
  int brightest = 0;
  for (int x = 0; x < 800; ++x) {
    LLF::Color c;
    shot.GetPixel(&c, x, y);
    values[x] = c.r + c.g + c.b;
    brightest = std::max(brightest, values[x]);
  }
  if (brightest < 60) return -1;
  long long sum = 0;
  int count = 0;
  for (int x = 0; x < 800; ++x) {
    if (values[x] + 3 >= brightest) {
      sum += x;
      ++count;
    }
  }
  return static_cast<int>(sum / count);
}

TEST(GameModeGlTest, TheLevelScreenAndTheSweep) {
  GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  GameAtMenu start;
  ASSERT_TRUE(start.Start());
  HeadlessVoyage& game = start.Game();
  ProbeMode::Register();
  ProbeMode::NextSettings().keepClock = true;
  ScriptStandIn script;
  game.SetStateMachine(&script);
  script.SetChosenLevel(0, 1);
  script.StartLevel();
  game.Frame(16);
  auto* mode = dynamic_cast<ProbeMode*>(script.GetHost().GetMode());
  ASSERT_NE(mode, nullptr);
  const auto draw = [&] {
    return screen.Frame([&](LLF::IRenderSystem* rs) {
      game.GetRootControl().Render(rs, nullptr);
      mode->DrawGradientFade(rs);
    });
  };

  // Before the clock shows: nothing where it will be.
  std::unique_ptr<LLF::Image> before = draw();
  ASSERT_TRUE(before);
  EXPECT_EQ(Pixels(*before, 564, 8, 220, 56).gold, 0);

  // The sweep: from the start of the running clock (4000 ms) it waits
  // 500 ms, then its band crosses left to right within 1000 ms.
  int previous = -1;
  int seen = 0;
  for (int t = 16; t < 6000; t += 50) {
    game.Frame(50);
    const unsigned countdown = mode->GetGradientCountdown();
    if (countdown == 0 || countdown > 1000) continue;
    std::unique_ptr<LLF::Image> shot = draw();
    ASSERT_TRUE(shot);
    const int column = BandMiddle(*shot, 420);
    if (column < 0) continue;
    ++seen;
    // The band's middle lies at x + 800 of its 1600 units (while it is
    // whole on screen).
    const float middle = mode->GetGradientX() + 800.0f;
    if (middle > 60.0f && middle < 740.0f) {
      EXPECT_NEAR(column, middle, 6.0f) << countdown;
      EXPECT_GT(column, previous) << "left to right";
      previous = column;
    }
    if (seen == 4) SaveShot(*shot, "sweep.png");
  }
  EXPECT_GE(seen, 6);
  EXPECT_EQ(mode->GetGradientCountdown(), 0u);
  std::unique_ptr<LLF::Image> after = draw();
  ASSERT_TRUE(after);
  EXPECT_EQ(BandMiddle(*after, 420), -1) << "swept once, then gone";

  // The clock in place after its show effects: ribbon, time and sand.
  ASSERT_EQ(mode->GetClockRibbon()->GetAlpha(), 255);
  ASSERT_EQ(mode->GetClockSand()->GetAlpha(), 255);
  mode->ShowLevelNumber();
  mode->ShowHintParticles(LLF::Vector2(400, 300), mode->GetBoard());
  game.Frame(300);
  std::unique_ptr<LLF::Image> level = draw();
  ASSERT_TRUE(level);
  SaveShot(*level, "level.png");
  const Count ribbon = Pixels(*level, 564 + 56, 8, 160, 56);
  EXPECT_GT(ribbon.blue, 2000) << "the ribbon's blue";
  EXPECT_GT(ribbon.gold, 300) << "its rim";
  EXPECT_GT(Pixels(*level, 564 + 64, 16, 140, 40).light, 80) << "the time written on it";
  EXPECT_GT(Pixels(*level, 578, 8, 40, 56).gold, 150) << "the hourglass";
  EXPECT_GT(Pixels(*level, 20, 552, 380, 36).gold + Pixels(*level, 20, 552, 380, 36).blue, 1500)
      << "the buttons";
  EXPECT_GT(Pixels(*level, 360, 260, 80, 80).light + Pixels(*level, 360, 260, 80, 80).gold, 20) << "the hint";
  EXPECT_GT(Pixels(*level, 250, 250, 300, 60).gold + Pixels(*level, 250, 250, 300, 60).light, 200)
      << "the level number";

  // A help message over it all.
  ASSERT_TRUE(mode->ShowHelpMessage(GameMode::HELP_MIRROR_GOAL));
  game.Frame(400);
  std::unique_ptr<LLF::Image> message = draw();
  ASSERT_TRUE(message);
  SaveShot(*message, "message.png");
  const Count dialog = Pixels(*message, 220, 210, 360, 180);
  EXPECT_GT(dialog.blue, 20000) << "the dialog's panel";
  EXPECT_GT(dialog.light, 300) << "its text";

  script.ReleaseLevel();
  game.Stop();
  ProbeMode::Unregister();
}

}  // namespace
}  // namespace QmTest
