// The demo days played end to end as a player plays them: the game's
// application object with its real window (SDL's offscreen video) and its
// OpenGL render system, frames stepped on the manual clock, every click
// sent through the window, on a copy of the generated data folder. Each
// level is played by its mode's solver from the level's files; story pages
// and messages are clicked away, results answered with OK. Frames at chosen
// moments are checked at a few points and written as PNG files into
// "playthrough_frames" beside the test program for review.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FrameDriver.h"
#include "HeadlessVoyage.h"
#include "LevelSolver.h"
#include "TempFolders.h"
#include "WindowedVoyage.h"
#include "app/InputCodes.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "dialogs/Dialog.h"
#include "flow/ZentaMainMenu.h"
#include "image/Image.h"
#include "map/WallpaperMask.h"
#include "map/ZentaLevelMap.h"
#include "modes/GameMode.h"
#include "shell/Player.h"
#include "ui/StatsDialog.h"
#include "widgets/Button.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

std::wstring Var(const std::wstring& path, const std::wstring& name) {
  HLF::Player player;
  std::wstring value = L"(absent)";
  player.GetVar(path, name, value);
  return value;
}

// The mean colour of a square of 9 x 9 pixels around the point.
struct Mean {
  double r = 0;
  double g = 0;
  double b = 0;
  double Brightness() const { return (r + g + b) / 3.0; }
};

Mean MeanAround(const LLF::Image& frame, int x, int y) {
  Mean mean;
  int n = 0;
  for (int py = y - 4; py <= y + 4; ++py) {
    for (int px = x - 4; px <= x + 4; ++px) {
      LLF::Color c;
      frame.GetPixel(&c, px, py);
      mean.r += c.r;
      mean.g += c.g;
      mean.b += c.b;
      ++n;
    }
  }
  mean.r /= n;
  mean.g /= n;
  mean.b /= n;
  return mean;
}

double Distance(const Mean& a, const Mean& b) {
  return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
}

// How many of a grid of 8 x 6 sample squares differ clearly from the frame's
// top-left one: a frame that drew nothing (all black, or one colour) has
// none.
int VariedSamples(const LLF::Image& frame) {
  const Mean corner = MeanAround(frame, 50, 50);
  int varied = 0;
  for (int gy = 0; gy < 6; ++gy) {
    for (int gx = 0; gx < 8; ++gx) {
      varied += Distance(MeanAround(frame, 50 + gx * 100, 50 + gy * 100), corner) > 30.0 ? 1 : 0;
    }
  }
  return varied;
}

// Lines of the log that are errors or warnings.
std::vector<std::string> Complaints() {
  std::vector<std::string> found;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    if (line.find(L"Error:") != std::wstring::npos || line.find(L"Warning:") != std::wstring::npos) {
      found.push_back(LLF::WideToAnsi(line));
    }
  }
  return found;
}

class PlaythroughTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyGeneratedData(folders.Program());
    CopyGeneratedLevels(folders.Program());
    GameMode::ResetRunFlags();
    ASSERT_TRUE(game.Start()) << "the window, its sound or its render system did not start";
    ASSERT_TRUE(game.FramesUntil([&] {
      game.Key(LLF::KEY_SPACE);
      ZentaMainMenu* menu = Script().GetMainMenu();
      return Script().GetState() == TheZentaScript::CS_STATE_SPLASHDONE && menu &&
             menu->GetState() == HLF::MainMenu::MM_STATE_MENU;
    })) << "the menu never came";
    game.SetCurrentProfile(L"Fox");
  }

  void TearDown() override { game.Stop(); }

  TheZentaScript& Script() { return game.GetScript(); }
  ZentaMainMenu& Menu() { return *Script().GetMainMenu(); }

  // Play on the menu, OK to the easy-mode question, until the map is there.
  bool PlayFromMenu() {
    if (!game.FramesUntil([&] { return Menu().GetState() == HLF::MainMenu::MM_STATE_MENU; })) {
      return false;
    }
    game.Run(500);
    game.ClickControl(Menu().GetPlayButton());
    game.Run(200);
    if (HLF::Dialog* easy = Menu().GetEasyModeDialog()) {
      game.ClickControl(easy->GetChildByName(L"OkButton"));
    }
    return game.FramesUntil([&] { return Script().GetLevelMap() != nullptr || Script().GetGameMode(); });
  }

  // The map's day page, ready for clicks. Story pages are clicked away on
  // the way (a first click ends a page's effects, a second closes it); each
  // is noted in storyPages as "day N name".
  ZentaLevelMap* DayPage() {
    HLF::Control* lastPage = nullptr;
    const bool shown = game.FramesUntil(
        [&] {
          ZentaLevelMap* map = Script().GetLevelMap();
          if (!map) {
            return false;
          }
          if (HLF::Control* page = map->GetStoryPage()) {
            NotePage(page, lastPage);
            game.Click(400, 300);
            return false;
          }
          return map->GetState() == ZentaLevelMap::LM_STATE_ANIM_FINISHED && !map->GetLevelButtons().empty();
        },
        100);
    if (!shown) {
      return nullptr;
    }
    game.Run(1500, 50);
    return Script().GetLevelMap();
  }

  void NotePage(HLF::Control* page, HLF::Control*& lastPage) {
    if (page != lastPage) {
      storyPages.push_back("day " + std::to_string(ZentaLevelMap::GetCurrentDay() + 1) + " " +
                           LLF::WideToAnsi(page->GetName()));
      if (storyPages.size() == 1) {
        game.Shot("story_page");
      }
    }
    lastPage = page;
  }

  // After the goal: the award's Continue, the results' OK, until the mode
  // has gone. The results frame is written as name.
  bool ThroughResults(int& levelScoreShown, const std::string& shotName) {
    bool shot = false;
    const bool through = game.FramesUntil(
        [&] {
          GameMode* mode = Script().GetGameMode();
          if (!mode) {
            return true;
          }
          HLF::Control* award = mode->GetAwardScreen();
          if (award && award->IsVisible()) {
            if (award->GetEffectsCount() == 0 && award->GetModifiersCount() == 0) {
              game.ClickControl(award->GetChildByName(L"Continue"));
            }
          } else if (StatsDialog* stats = mode->GetStatsDialog()) {
            if (stats->GetEffectsCount() == 0 && stats->GetModifiersCount() == 0) {
              levelScoreShown = mode->GetLevelScore();
              if (!shot && !shotName.empty()) {
                game.Frame(16);
                results = game.Shot(shotName);
                shot = true;
              }
              game.ClickControl(stats->GetChildByName(L"OkButton"));
            }
          }
          return false;
        },
        50);
    if (!through) {
      game.Shot("stuck_after_goal");
      GameMode* mode = Script().GetGameMode();
      HLF::Control* award = mode ? mode->GetAwardScreen() : nullptr;
      ADD_FAILURE() << "stuck after the goal: state " << (mode ? mode->GetState() : -1) << ", award "
                    << (award ? award->IsVisible() : -1) << " effects "
                    << (award ? award->GetEffectsCount() : -1) << " modifiers "
                    << (award ? award->GetModifiersCount() : -1) << ", results "
                    << (mode && mode->GetStatsDialog() ? 1 : 0);
    }
    return through;
  }

  // Until the gallery takes clicks and its previews have come in.
  bool GalleryIdle() {
    return game.FramesUntil(
        [&] {
          if (Menu().GetState() != ZentaMainMenu::ZENTAMM_STATE_GALLERY || !Menu().GetRibbon() ||
              !Menu().GetRibbon()->IsEnabled()) {
            return false;
          }
          for (int i = 1; i <= ZentaMainMenu::kPreviewsPerPage; ++i) {
            if (Menu().GetPreview(i)->GetEffectsCount() || Menu().GetPreview(i)->GetModifiersCount()) {
              return false;
            }
          }
          return true;
        },
        50);
  }

  TempFolders folders;
  WindowedVoyage game{folders.Program()};
  std::unique_ptr<LLF::Image> results;
  std::vector<std::string> storyPages;
};

TEST_F(PlaythroughTest, DaysOneToThreeToTheGalleryAndTheProfileMadeAnew) {
  std::unique_ptr<LLF::Image> menuFrame = game.Shot("menu");
  ASSERT_NE(menuFrame, nullptr);
  EXPECT_GT(VariedSamples(*menuFrame), 12) << "the menu's scene is on screen";

  ASSERT_TRUE(PlayFromMenu());
  const int days = ZentaLevelMap::GetDaysCount();
  ASSERT_EQ(days, 3);
  std::set<std::wstring> shotModes;
  bool hintTaken[2] = {false, false};  // Mirror, Seek
  bool wrongClickMade = false;
  for (int day = 0; day < days; ++day) {
    SCOPED_TRACE("day " + std::to_string(day + 1));
    ZentaLevelMap* map = DayPage();
    ASSERT_NE(map, nullptr) << "the day's page never came";
    EXPECT_EQ(ZentaLevelMap::GetCurrentDay(), day);
    std::unique_ptr<LLF::Image> mapFrame = game.Shot("map_day" + std::to_string(day + 1));
    ASSERT_NE(mapFrame, nullptr);
    EXPECT_GT(VariedSamples(*mapFrame), 12);
    const Mean banner = MeanAround(*mapFrame, 305, 52);
    EXPECT_GT(banner.r, banner.g + 60.0) << "the day's red banner";

    int timeLeft = GameMode::GetDayFullTime();
    const int levels = ZentaLevelMap::GetLevelsCount(day);
    for (int level = 0; level < levels; ++level) {
      const LevelInfo info = ZentaLevelMap::GetLevelInfo(day, level);
      SCOPED_TRACE(LLF::WideToAnsi(info.name));
      std::unique_ptr<LevelSolver> solver = MakeSolver(info.type);
      if (!solver) {
        GTEST_SKIP() << "no play mode plays \"" << LLF::WideToAnsi(info.type) << "\" in this build; the run "
                     << "stops at " << LLF::WideToAnsi(info.name);
      }
      if (level > 0) {
        map = DayPage();
        ASSERT_NE(map, nullptr);
      }
      ASSERT_LT(static_cast<size_t>(level), map->GetLevelButtons().size());
      HLF::Button* thumb = map->GetLevelButtons()[static_cast<size_t>(level)];
      ASSERT_TRUE(thumb->GetParent()->IsVisible()) << "the level's group is open";
      const int scoreBefore = GameMode::ReadScore();
      game.ClickControl(thumb);
      ASSERT_TRUE(game.FramesUntil([&] { return Script().GetGameMode() != nullptr; }, 50))
          << "the thumbnail's click started no level";

      LevelPlay play(game, folders.Program() + "/" + LLF::WideToAnsi(info.folder));
      ASSERT_TRUE(play.UntilPlayable());
      EXPECT_EQ(play.Mode()->GetLevelInfo().name, info.name);
      EXPECT_EQ(play.Mode()->GetRemainingMs(), timeLeft)
          << (level == 0 ? "a new day starts with its full time" : "the day's time carries over");
      if (shotModes.insert(info.type).second) {
        // Once the opening sweep and the level's number have gone, with the
        // pointer on the bottom bar.
        game.MoveMouse(780, 590);
        ASSERT_TRUE(game.FramesUntil([&] { return play.Mode()->GetGradientCountdown() == 0; }, 50));
        game.Run(2500, 50);
        std::unique_ptr<LLF::Image> playFrame = game.Shot("play_" + LLF::WideToAnsi(info.type));
        ASSERT_NE(playFrame, nullptr);
        EXPECT_GT(VariedSamples(*playFrame), 8);
        if (info.type == L"mirror") {
          // The halves show one picture, side by side, away from the
          // differences.
          for (const auto& [x, y] : {std::pair{330, 250}, std::pair{200, 450}, std::pair{30, 500}}) {
            EXPECT_LT(Distance(MeanAround(*playFrame, x, y), MeanAround(*playFrame, x + 400, y)), 12.0)
                << x << "," << y;
          }
        }
      }
      play.takeHint = (info.type == L"mirror" && !hintTaken[0]) || (info.type == L"seek" && !hintTaken[1]);
      play.wrongClick = info.type == L"pair" && !wrongClickMade;
      if (!solver->Solve(play)) {
        game.Shot("stuck_in_" + LLF::WideToAnsi(info.name));
        FAIL() << solver->Failure();
      }
      hintTaken[0] = hintTaken[0] || info.type == L"mirror";
      hintTaken[1] = hintTaken[1] || info.type == L"seek";
      wrongClickMade = wrongClickMade || play.wrongClick;
      const int hints = play.Mode()->GetHintsUsed();
      EXPECT_EQ(hints, play.takeHint ? 1 : 0);
      const int remaining = play.Mode()->GetRemainingMs();

      int levelScore = -1;
      const bool firstResults = !results;
      ASSERT_TRUE(ThroughResults(levelScore, firstResults ? "results" : ""));
      ASSERT_GE(levelScore, 0) << "the results never showed";
      EXPECT_TRUE(ZentaLevelMap::IsLevelComplete(day, level));
      EXPECT_EQ(GameMode::ReadScore(), scoreBefore + levelScore);
      EXPECT_EQ(levelScore, play.FindPoints() + (hints == 0 ? 1000 : 0))
          << "the finds' points, and the bonus of 1000 only without a hint";
      EXPECT_EQ(Var(L"stats", L"timeLeft"), LLF::ToString(remaining));
      timeLeft = remaining;
      if (firstResults) {
        ASSERT_NE(results, nullptr);
        // The results' dark blue panel stands in the middle of the screen,
        // its OK button below the figures.
        const Mean panel = MeanAround(*results, 300, 405);
        EXPECT_GT(panel.b, panel.r + 20.0);
        EXPECT_LT(panel.Brightness(), 90.0);
        EXPECT_GT(Distance(MeanAround(*results, 370, 445), panel), 60.0) << "the OK button";
      }
    }
  }

  // The last closing page, then the profile made anew and the menu.
  HLF::Control* lastPage = nullptr;
  ASSERT_TRUE(game.FramesUntil(
      [&] {
        if (ZentaLevelMap* map = Script().GetLevelMap(); map && map->GetStoryPage()) {
          NotePage(map->GetStoryPage(), lastPage);
          game.Click(400, 300);
        }
        return Script().GetLevelMap() == nullptr && Menu().GetState() == HLF::MainMenu::MM_STATE_MENU &&
               Menu().IsVisible();
      },
      100));
  const std::vector<std::string> pagesExpected = {"day 1 prestory",  "day 1 poststory", "day 2 prestory",
                                                  "day 2 poststory", "day 3 prestory",  "day 3 poststory"};
  EXPECT_EQ(storyPages, pagesExpected) << "each day opens and closes with its page";
  EXPECT_EQ(ReadWallpaperMask(), L"10001000100010001000");
  EXPECT_EQ(Var(L"stats", L"score"), L"(absent)") << "the profile keeps only its wallpapers";
  EXPECT_EQ(Var(L"levels/day_0", L"d1_jigsaw"), L"(absent)");

  // The gallery: one award on each of its five pages, the others locked;
  // the last page's award opens large.
  game.ClickControl(Menu().GetGalleryButton());
  for (int page = 0; page < ZentaMainMenu::kGalleryPages; ++page) {
    SCOPED_TRACE("gallery page " + std::to_string(page + 1));
    ASSERT_TRUE(GalleryIdle());
    ASSERT_EQ(Menu().GetPage(), page);
    for (int i = 1; i <= ZentaMainMenu::kPreviewsPerPage; ++i) {
      HLF::Control* frame = Menu().GetPreview(i)->GetChild(0);
      EXPECT_EQ(frame->IsEnabled(), i == 1) << "preview " << i;
    }
    if (page == 0) {
      std::unique_ptr<LLF::Image> galleryFrame = game.Shot("gallery");
      ASSERT_NE(galleryFrame, nullptr);
      EXPECT_GT(VariedSamples(*galleryFrame), 12);
    }
    if (page + 1 < ZentaMainMenu::kGalleryPages) {
      ASSERT_TRUE(Menu().GetNextButton()->IsEnabled());
      game.ClickControl(Menu().GetNextButton());
    }
  }
  EXPECT_FALSE(Menu().GetNextButton()->IsEnabled());
  game.ClickControl(Menu().GetPreview(1)->GetChild(0));
  ASSERT_TRUE(game.FramesUntil([&] {
    return Menu().GetState() == ZentaMainMenu::ZENTAMM_STATE_GALLERY_BIGPREVIEW && Menu().GetRibbonWide() &&
           Menu().GetRibbonWide()->IsEnabled();
  }));
  game.Run(500, 50);
  std::unique_ptr<LLF::Image> large = game.Shot("gallery_large");
  ASSERT_NE(large, nullptr);
  EXPECT_GT(VariedSamples(*large), 12);

  std::vector<std::string> complaints = Complaints();
  EXPECT_TRUE(complaints.empty()) << complaints.front();
}

// Day 1's first level won, then its clock left to run out in the second:
// the time-out message, and the day starts again with its progress gone,
// its opening page not shown again and its full time.
TEST_F(PlaythroughTest, TheClockRunningOutRestartsTheDay) {
  ASSERT_TRUE(PlayFromMenu());
  ZentaLevelMap* map = DayPage();
  ASSERT_NE(map, nullptr);
  const LevelInfo first = ZentaLevelMap::GetLevelInfo(0, 0);
  game.ClickControl(map->GetLevelButtons()[0]);
  ASSERT_TRUE(game.FramesUntil([&] { return Script().GetGameMode() != nullptr; }, 50));
  LevelPlay play(game, folders.Program() + "/" + LLF::WideToAnsi(first.folder));
  std::unique_ptr<LevelSolver> solver = MakeSolver(first.type);
  ASSERT_NE(solver, nullptr);
  ASSERT_TRUE(solver->Solve(play)) << solver->Failure();
  int levelScore = -1;
  ASSERT_TRUE(ThroughResults(levelScore, ""));
  ASSERT_TRUE(ZentaLevelMap::IsLevelComplete(0, 0));
  const std::wstring wallpapers = ReadWallpaperMask();

  map = DayPage();
  ASSERT_NE(map, nullptr);
  game.ClickControl(map->GetLevelButtons()[1]);
  ASSERT_TRUE(game.FramesUntil([&] { return Script().GetGameMode() != nullptr; }, 50));
  bool timeOutShown = false;
  // Some 2700 frames of a second until the easy day's clock runs out: on a
  // busy machine they take longer than the usual two minutes.
  ASSERT_TRUE(game.FramesUntil(
      [&] {
        GameMode* mode = Script().GetGameMode();
        if (!mode) {
          return true;
        }
        if (HLF::Dialog* message = mode->GetMessageDialog()) {
          if (message->GetName() == L"TimeOutDlg" && !timeOutShown) {
            timeOutShown = true;
            game.Frame(16);
            game.Shot("time_out");
          }
          game.ClickControl(message->GetChildByName(L"OkButton"));
        }
        return false;
      },
      1000, std::chrono::seconds(480)));
  EXPECT_TRUE(timeOutShown);

  map = DayPage();
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(ZentaLevelMap::GetCurrentDay(), 0);
  EXPECT_FALSE(ZentaLevelMap::IsLevelComplete(0, 0)) << "the day's progress is gone";
  EXPECT_EQ(storyPages, std::vector<std::string>{"day 1 prestory"}) << "the opening page only once";
  EXPECT_EQ(ReadWallpaperMask(), wallpapers) << "an award stays won";
  game.ClickControl(map->GetLevelButtons()[0]);
  ASSERT_TRUE(game.FramesUntil([&] { return Script().GetGameMode() != nullptr; }, 50));
  LevelPlay again(game, folders.Program() + "/" + LLF::WideToAnsi(first.folder));
  ASSERT_TRUE(again.UntilPlayable());
  EXPECT_EQ(again.Mode()->GetRemainingMs(), GameMode::GetDayFullTime());
}

}  // namespace
}  // namespace QmTest
