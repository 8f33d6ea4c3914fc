// The level map's day page drawn by the hardware render system on a real
// OpenGL context from the generated data: the parchment, the day ribbon,
// the open group's thumbnail cards with their number badges, the closed
// group's card left out, and the wooden Play and Back buttons. The frame is
// also written as "levelsmap_day1.png" beside the test program, to be
// looked at.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "GlScreen.h"
#include "HeadlessVoyage.h"
#include "SoundGame.h"
#include "TempFolders.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "map/ZentaLevelMap.h"
#include "render/IRenderSystem.h"
#include "shell/AssetsLoader.h"
#include "shell/Player.h"

namespace {

using QmTest::SoundGame;

bool IsBadgeRed(const LLF::Color& c) {
  return c.r > 120 && c.g < 80 && c.b < 70;
}
bool IsParchment(const LLF::Color& c) {
  return c.r > 150 && c.r >= c.g && c.g > c.b && c.b > 90;
}

LLF::Color At(const LLF::Image& shot, int x, int y) {
  LLF::Color c;
  shot.GetPixel(&c, x, y);
  return c;
}

TEST(LevelMapGlTest, TheDayPageLooksFinished) {
  QmTest::GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  QmTest::TempFolders folders;
  QmTest::CopyGeneratedData(folders.Program());
  SoundGame game(folders);
  ASSERT_TRUE(game.Start());
  game.SetCurrentProfile(L"Ann");
  {
    HLF::Player player;
    player.SetVar(L"stats", L"startAnimation", L"true");
  }
  ZentaLevelMap::SetStoryShown(0, true, true);
  HLF::AssetsLoader common;
  ASSERT_TRUE(common.SetListFromFile(L"scripts/fonts.xml", L"GUI"));
  ASSERT_TRUE(common.AddListFromFile(L"scripts/images.xml", L"GUI"));
  ASSERT_TRUE(common.AddListFromFile(L"scripts/sounds.xml", L"MAIN"));  // the buttons' click
  ASSERT_TRUE(common.Start(0));
  common.Wait();

  auto* map = new ZentaLevelMap(nullptr);
  game.GetGameLayer()->AddChild(map);
  map->SetState(ZentaLevelMap::LM_STATE_INIT);
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (map->GetState() != ZentaLevelMap::LM_STATE_ANIM_FINISHED &&
         std::chrono::steady_clock::now() < limit) {
    game.Frame(16);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(map->GetState(), ZentaLevelMap::LM_STATE_ANIM_FINISHED);
  for (int i = 0; i < 100; ++i) game.Frame(20);  // the fade from black is over

  std::unique_ptr<LLF::Image> shot =
      screen.Frame([&](LLF::IRenderSystem* rs) { game.GetRootControl().Render(rs, nullptr); });
  ASSERT_TRUE(shot);
  const std::string file = LLF::ToOsPath(LLF::ExtractFolder(LLF::OS_GetExePath())) + "levelsmap_day1.png";
  EXPECT_TRUE(LLF::ImagesManager::GetInstance().SaveImage(shot.get(), LLF::FromOsPath(file)));

  EXPECT_TRUE(IsParchment(At(*shot, 400, 470))) << "the page";
  EXPECT_TRUE(IsParchment(At(*shot, 200, 140)));
  const LLF::Color ribbon = At(*shot, 300, 60);
  EXPECT_TRUE(ribbon.r > 100 && ribbon.g < 70) << "the day ribbon";
  // Day 1: level 1 at (100, 180) and level 2 at (325, 300) open, level 3
  // at (550, 180) in the closed group.
  EXPECT_TRUE(IsBadgeRed(At(*shot, 166, 268))) << "the number badges beside their digits";
  EXPECT_TRUE(IsBadgeRed(At(*shot, 391, 388)));
  EXPECT_FALSE(IsBadgeRed(At(*shot, 616, 268)));
  const LLF::Color card = At(*shot, 130, 200);
  EXPECT_GT(card.r, 230) << "the card's face";
  const LLF::Color play = At(*shot, 614, 542);
  EXPECT_TRUE(play.r > 60 && play.r < 200 && play.r > play.b + 30)
      << "the wooden Play button: " << int(play.r) << "," << int(play.g) << "," << int(play.b);

  game.GetGameLayer()->RemoveChild(map, true);
  common.UnloadAssets();
  game.Stop();
}

}  // namespace
