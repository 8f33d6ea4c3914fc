// The level list read from fixture files in a test game's program folder,
// and the progress kept in its current profile.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "LogRecorder.h"
#include "ProfileVars.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "core/StringUtils.h"
#include "map/WallpaperMask.h"
#include "map/ZentaLevelMap.h"
#include "modes/GameMode.h"
#include "shell/Player.h"

namespace {

using QmTest::LogRecorder;
using QmTest::ProfileVar;
using QmTest::SetProfileVar;

// day1 has level1, level2 and level4; day2 a refused name, a repeated
// one and a level without folder and musicAsset; holiday and bonuslevel
// count as a day and a level.
const char kLevels[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gamelevels>\n"
    "  <!-- day0 is not a day: comments are not counted -->\n"
    "  <day1 time=\"900\">\n"
    "    <level1 folder=\"levels/a\" name=\"a_1\" type=\"jigsaw\" musicAsset=\"M1\" wallpaper=\"3\" "
    "group=\"0\"/>\n"
    "    <level2 folder=\"levels/b/\" name=\"b_2\" type=\"seek\" mode=\"dark\" musicAsset=\"M2\" "
    "group=\"0\"/>\n"
    "    <!-- level3 -->\n"
    "    <level4 folder=\"levels/c/\" name=\"c_4\" type=\"pair\" musicAsset=\"M1\" group=\"1\"/>\n"
    "  </day1>\n"
    "  <holiday time=\"5\"/>\n"
    "  <day2 time=\"100\">\n"
    "    <level1 folder=\"levels/d/\" name=\"Level 1\" type=\"pair\" musicAsset=\"M1\" group=\"0\"/>\n"
    "    <level2 folder=\"levels/e/\" name=\"twice\" type=\"pair\" musicAsset=\"M1\" group=\"0\"/>\n"
    "    <level3 folder=\"levels/f/\" name=\"twice\" type=\"mirror\" musicAsset=\"M1\" group=\"0\"/>\n"
    "    <level4 name=\"bare\" type=\"puzzle\" group=\"1\"/>\n"
    "  </day2>\n"
    "  <day3>\n"
    "    <bonuslevel folder=\"levels/g/\" name=\"bonus\" type=\"seek\" musicAsset=\"M1\" group=\"0\"/>\n"
    "  </day3>\n"
    "</gamelevels>\n";

class ZentaLevelMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders.WriteProgramFile("scripts/game/levels.xml", kLevels);
    ASSERT_TRUE(game.Start());
    game.SetCurrentProfile(L"Ann");
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
};

TEST_F(ZentaLevelMapTest, CountsAndLookups) {
  EXPECT_EQ(ZentaLevelMap::GetDaysCount(), 4);
  EXPECT_EQ(ZentaLevelMap::GetLevelsCount(0), 3);
  EXPECT_EQ(ZentaLevelMap::GetLevelsCount(1), 4);
  EXPECT_EQ(ZentaLevelMap::GetLevelsCount(2), 1);
  {
    LogRecorder log;
    EXPECT_EQ(ZentaLevelMap::GetLevelsCount(7), 0);
    EXPECT_EQ(log.Count(L"Error: scripts/game/levels.xml has no element gamelevels/day8"), 1);
  }

  struct Lookup {
    int day, level;
    int found;  // the record's level, -1 for the default record
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* type;
    const wchar_t* mode;
    const wchar_t* musicAsset;
    int wallpaper;
    const wchar_t* logLine;  // the one line logged, or null
  };
  const Lookup lookups[] = {
      {0, 0, 0, L"levels/a/", L"a_1", L"jigsaw", L"", L"M1", 3, nullptr},
      {0, 1, 1, L"levels/b/", L"b_2", L"seek", L"dark", L"M2", -1, nullptr},
      {0, 2, -1, L"", L"", L"", L"", L"", -1, L"Error: Can't start level 2 in day 1"},
      {0, 3, 3, L"levels/c/", L"c_4", L"pair", L"", L"M1", -1, nullptr},
      {1, 0, -1, L"", L"", L"", L"", L"", -1,
       L"Error: scripts/game/levels.xml, day2, level1: the level name \"Level 1\" can't be a key of the "
       L"profiles; the level is refused."},
      {1, 1, 1, L"levels/e/", L"twice", L"pair", L"", L"M1", -1, nullptr},
      {1, 2, -1, L"", L"", L"", L"", L"", -1,
       L"Error: scripts/game/levels.xml, day2, level3: the level name \"twice\" repeats the name of level2; "
       L"the level is refused."},
      {1, 3, 3, L"", L"bare", L"puzzle", L"", L"", -1,
       L"Error: scripts/game/levels.xml, gamelevels/day2/level4: missing required attribute(s) folder, "
       L"musicAsset; read as empty or 0."},
      {2, 0, -1, L"", L"", L"", L"", L"", -1, L"Error: Can't start level 0 in day 3"},
      {5, 0, -1, L"", L"", L"", L"", L"", -1, L"Error: Can't start level 0 in day 6"},
  };
  for (const Lookup& l : lookups) {
    SCOPED_TRACE(testing::Message() << "day " << l.day << ", level " << l.level);
    LogRecorder log;
    const LevelInfo info = ZentaLevelMap::GetLevelInfo(l.day, l.level);
    EXPECT_EQ(info.level, l.found);
    EXPECT_EQ(info.day, l.found == -1 ? -1 : l.day);
    EXPECT_EQ(info.folder, l.folder);
    EXPECT_EQ(info.name, l.name);
    EXPECT_EQ(info.type, l.type);
    EXPECT_EQ(info.mode, l.mode);
    EXPECT_EQ(info.musicAsset, l.musicAsset);
    EXPECT_EQ(info.wallpaper, l.wallpaper);
    ASSERT_EQ(log.Lines().size(), l.logLine ? 1u : 0u);
    if (l.logLine) {
      EXPECT_EQ(log.Count(l.logLine), 1);
    }
  }
}

TEST_F(ZentaLevelMapTest, CompletionIsExactlyComplete) {
  SetProfileVar(L"levels/day_0", L"a_1", L"complete");
  SetProfileVar(L"levels/day_0", L"b_2", L"Complete");
  SetProfileVar(L"levels/day_1", L"c_4", L"complete");  // another day's record of the same name
  SetProfileVar(L"levels/day_1", L"twice", L"complete");
  struct Case {
    int day, level;
    bool complete;
  };
  const Case cases[] = {
      {0, 0, true}, {0, 1, false}, {0, 2, false}, {0, 3, false}, {1, 1, true}, {1, 2, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZentaLevelMap::IsLevelComplete(c.day, c.level), c.complete) << c.day << "/" << c.level;
  }
  // Without a level list every level counts as complete.
  std::filesystem::remove(folders.Program() + "/scripts/game/levels.xml");
  EXPECT_TRUE(ZentaLevelMap::IsLevelComplete(0, 1));
  EXPECT_EQ(ZentaLevelMap::GetDaysCount(), 0);
  EXPECT_EQ(ZentaLevelMap::GetLevelInfo(0, 0).level, -1);
}

TEST_F(ZentaLevelMapTest, ProgressKeys) {
  // Absent values are written back with their defaults.
  EXPECT_EQ(ZentaLevelMap::GetCurrentDay(), 0);
  EXPECT_EQ(ProfileVar(L"stats", L"currentDay"), L"0");
  bool found = true;
  EXPECT_FALSE(ZentaLevelMap::GetEasyMode(found));
  EXPECT_FALSE(found);
  EXPECT_EQ(ProfileVar(L"stats", L"easyMode"), L"false");

  struct Easy {
    const wchar_t* stored;
    bool on;
  };
  for (const Easy& e : {Easy{L"yes", true}, Easy{L"true", true}, Easy{L"false", false}, Easy{L"", true}}) {
    SetProfileVar(L"stats", L"easyMode", e.stored);
    EXPECT_EQ(ZentaLevelMap::GetEasyMode(found), e.on) << LLF::WideToAnsi(e.stored);
    EXPECT_TRUE(found);
  }
  ZentaLevelMap::SetEasyMode(true);
  EXPECT_EQ(ProfileVar(L"stats", L"easyMode"), L"true");

  ZentaLevelMap::SetCurrentDay(2);
  EXPECT_EQ(ZentaLevelMap::GetCurrentDay(), 2);
  {
    LogRecorder log;
    SetProfileVar(L"stats", L"currentDay", L"-3");
    EXPECT_EQ(ZentaLevelMap::GetCurrentDay(), 0);
    EXPECT_EQ(log.Count(L"Warning: ZentaLevelMap - the stored current day \"-3\""), 1);
  }

  // Day index 0: the story flags of day1, saved at once.
  EXPECT_EQ(ZentaLevelMap::DayProgressPath(0), L"levels/day_0");
  EXPECT_FALSE(ZentaLevelMap::IsStoryShown(0, true));
  ZentaLevelMap::SetStoryShown(0, true, true);
  EXPECT_EQ(ProfileVar(L"stats", L"story_day1_prestory"), L"1");
  EXPECT_TRUE(ZentaLevelMap::IsStoryShown(0, true));
  EXPECT_FALSE(ZentaLevelMap::IsStoryShown(0, false));
  EXPECT_NE(QmTest::ReadBytes(game.UserFolder() + "profiles.xml").find("story_day1_prestory=\"1\""),
            std::string::npos);
}

// What a mode stores under each name the list gives leaves a file that the
// next start reads: refused names never reach the profile.
TEST_F(ZentaLevelMapTest, ProfilesStillLoadAfterASave) {
  for (int level = 0; level < ZentaLevelMap::GetLevelsCount(1); ++level) {
    const LevelInfo info = ZentaLevelMap::GetLevelInfo(1, level);
    if (info.level != -1) {
      SetProfileVar(ZentaLevelMap::DayProgressPath(1), info.name, L"complete");
    }
  }
  game.SaveConfigs();
  game.Stop();

  QmTest::TestGame next(folders);
  ASSERT_TRUE(next.Start());
  ASSERT_NE(next.FindProfile(L"Ann"), nullptr);
  next.SetCurrentProfile(L"Ann");
  EXPECT_EQ(ProfileVar(L"levels/day_1", L"twice"), L"complete");
  EXPECT_EQ(ProfileVar(L"levels/day_1", L"bare"), L"complete");
  HLF::Player player;
  EXPECT_EQ(player.GetPathAttributes(L"levels/day_1"), (std::vector<std::wstring>{L"twice", L"bare"}));
}

TEST_F(ZentaLevelMapTest, TimeLeftOfTheDay) {
  struct Case {
    const wchar_t* easyMode;  // null: absent
    const wchar_t* stored;    // null: absent
    int expected;
    bool warned;
  };
  const Case cases[] = {
      {nullptr, nullptr, 900000, false},  {L"true", nullptr, 2700000, false},
      {L"false", L"1234", 1234, false},   {L"false", L"0", 0, false},
      {L"false", L"abc", 900000, true},   {L"false", L"-5", 900000, true},
      {L"false", L"12abc", 900000, true}, {L"yes", L"", 2700000, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(std::wstring(c.easyMode ? c.easyMode : L"-") + L" / " +
                                 (c.stored ? c.stored : L"-")));
    HLF::Player player;
    player.GetProfile()->RemoveChild(L"stats");
    if (c.easyMode) SetProfileVar(L"stats", L"easyMode", c.easyMode);
    if (c.stored) SetProfileVar(L"stats", L"timeLeft", c.stored);
    LogRecorder log;
    EXPECT_EQ(GameMode::ReadTimeLeft(), c.expected);
    EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"),
              c.stored && !c.warned ? c.stored : LLF::ToString(c.expected));
    EXPECT_EQ(log.Count(L"Warning: GameMode - the stored time left"), c.warned ? 1 : 0);
  }

  // The full time is the current day's; other negative times store 0.
  ZentaLevelMap::SetEasyMode(false);
  ZentaLevelMap::SetCurrentDay(1);
  EXPECT_EQ(GameMode::StoreTimeLeft(-1), 100000);
  EXPECT_EQ(GameMode::StoreTimeLeft(4321), 4321);
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), L"4321");
  EXPECT_EQ(GameMode::StoreTimeLeft(-7), 0);
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), L"0");
  // A day without its time: logged, and read as 0.
  ZentaLevelMap::SetCurrentDay(2);
  LogRecorder log;
  EXPECT_EQ(GameMode::StoreTimeLeft(-1), 0);
  EXPECT_EQ(log.Count(L"Error: scripts/game/levels.xml, gamelevels/day3: missing required attribute(s) time"),
            1);
}

TEST_F(ZentaLevelMapTest, WallpaperMask) {
  EXPECT_EQ(ReadWallpaperMask(), L"00000000000000000000");
  EXPECT_EQ(ProfileVar(L"stats", L"wallpapers"), L"00000000000000000000");

  SetProfileVar(L"stats", L"wallpapers", L"10101");
  EXPECT_EQ(ReadWallpaperMask(), L"10101000000000000000");
  EXPECT_EQ(ProfileVar(L"stats", L"wallpapers"), L"10101") << "reading writes nothing back";

  WriteWallpaperMask(L"00001000000000000001");
  EXPECT_EQ(ReadWallpaperMask(), L"00001000000000000001");
}

}  // namespace
