// The level map as a scene, on the generated data (or small fixtures laid
// over it) in a shell without a window, frames stepped on the manual clock.
// A stand-in for the top-level script drives it the way the script does
// (MapFlow), so its messages lead where the game's would: a new map on
// code 3, the menu on code 0, a level (none yet: the type is logged and the
// map comes back) on code 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "FileBytes.h"
#include "HeadlessVoyage.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "ProfileVars.h"
#include "SoundGame.h"
#include "TempFolders.h"
#include "core/StringUtils.h"
#include "map/MapFlow.h"
#include "map/WallpaperMask.h"
#include "map/ZentaLevelMap.h"
#include "model/StateMachine.h"
#include "model/XmlDocEx.h"
#include "modifiers/Effect.h"
#include "shell/AssetsLoader.h"
#include "shell/Player.h"
#include "widgets/Button.h"

namespace {

using QmTest::LogRecorder;
using QmTest::ProfileVar;
using QmTest::SetProfileVar;
using QmTest::SoundGame;
using Map = ZentaLevelMap;

// The script's map side: states 2 to 5 as the script runs them, with a
// plain control for the main menu.
class ScriptStandIn : public HLF::StateMachine {
 public:
  ScriptStandIn(HLF::Control* layer, HLF::Control* menu) : _layer(layer), _menu(menu) {}
  ~ScriptStandIn() override { MapFlow::DisposeMap(map); }

  // The main menu's Play: the resume position, else the map.
  void Play() {
    int day = -1;
    int level = -1;
    MapFlow::LoadLevelPos(day, level);
    ChangeState(day != -1 && level != -1 ? 3 : 2, 0);
  }

  bool OnMessage(LLF::Message* msg) override {
    if (map && msg->GetSender() == map) {
      const int code = msg->GetCode();
      if (code != Map::LM_MSG_START_LEVEL && code != Map::LM_MSG_NEXT_DAY &&
          code != Map::LM_MSG_BACK_TO_MENU) {
        return true;  // the script leaves the map's other codes alone
      }
      codes.push_back(code);
      if (msg->GetCode() == Map::LM_MSG_START_LEVEL) {
        ChangeState(3, 0);
      } else if (msg->GetCode() == Map::LM_MSG_NEXT_DAY) {
        _current = 10000;  // state 2 is entered anew although current
        ChangeState(2, 0);
      } else if (msg->GetCode() == Map::LM_MSG_BACK_TO_MENU) {
        ChangeState(4, 0);
      }
      return true;
    }
    return HLF::StateMachine::OnMessage(msg);
  }

  void DoState() override {
    switch (_current) {
      case 2:
        replaced.push_back(map);
        MapFlow::ReplaceMap(map, this, _layer);
        _menu->SetVisible(false);
        break;
      case 3:
        started.push_back(MapFlow::ChooseLevel(map));
        // No play mode exists yet: every type is one that names none.
        MapFlow::LogUnknownType(started.back());
        _menu->SetVisible(false);
        MapFlow::DisposeMap(map);
        ChangeState(5, 0);
        break;
      case 4:
        MapFlow::DisposeMap(map);
        _menu->SetVisible(true);
        break;
      case 5:
        MapFlow::ReplaceMap(map, this, _layer);
        break;
      default:
        break;
    }
  }

  ZentaLevelMap* map = nullptr;
  std::vector<int> codes;
  std::vector<ZentaLevelMap*> replaced;  // the map each state 2 found
  std::vector<LevelInfo> started;

 private:
  HLF::Control* _layer;
  HLF::Control* _menu;
};

const char kBom[] = "\xEF\xBB\xBF";

std::string LevelsXml(const std::string& days) {
  return std::string(kBom) + "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gamelevels>\n" + days +
         "</gamelevels>\n";
}

std::string Level(int n, const char* name, int group, const char* type = "jigsaw") {
  return "    <level" + std::to_string(n) + " folder=\"levels/" + name + "/\" name=\"" + name + "\" type=\"" +
         type + "\" musicAsset=\"LEVMUSIC_A\" group=\"" + std::to_string(group) + "\"/>\n";
}

class LevelMapSceneTest : public ::testing::Test {
 protected:
  void SetUp() override { QmTest::CopyGeneratedData(folders.Program()); }
  void TearDown() override {
    if (game.IsStarted()) {
      game.SetStateMachine(nullptr);
      script.reset();
      delete menu;
      common.UnloadAssets();
    }
  }

  // Starts the shell with what the menu has loaded by the time the map
  // comes (fonts, the interface pictures, sounds and music), a player, and
  // the stand-in script with its menu in the game layer.
  void Start(const std::wstring& player = L"Ann") {
    ASSERT_TRUE(game.Start());
    game.SetCurrentProfile(player);
    ASSERT_TRUE(common.SetListFromFile(L"scripts/fonts.xml", L"GUI"));
    ASSERT_TRUE(common.AddListFromFile(L"scripts/images.xml", L"GUI"));
    ASSERT_TRUE(common.AddListFromFile(L"scripts/sounds.xml", L"MAIN"));
    ASSERT_TRUE(common.AddListFromFile(L"scripts/musics.xml", L"MAIN"));
    // The stone columns come with the main menu's pictures.
    HLF::XmlDocEx columns;
    ASSERT_TRUE(
        columns.Parse(L"<MAINMENU><image name=\"menu_column_left\" src=\"images/levelsmap/button.png\"/>"
                      L"<image name=\"menu_column_right\" src=\"images/levelsmap/button.png\"/></MAINMENU>"));
    ASSERT_TRUE(common.AddList(columns.GetDocumentElement()));
    ASSERT_TRUE(common.Start(0));
    common.Wait();
    menu = new HLF::Control(L"menu");
    menu->SetRenderable(false);
    game.GetGameLayer()->AddChild(menu);
    script = std::make_unique<ScriptStandIn>(game.GetGameLayer(), menu);
    game.SetStateMachine(script.get());
  }

  void Complete(int day, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names) SetProfileVar(ZentaLevelMap::DayProgressPath(day), name, L"complete");
  }

  // Frames of 16 ms until done holds; the loaders work in real time.
  bool Until(const std::function<bool()>& done, unsigned ms = 16) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!done()) {
      if (std::chrono::steady_clock::now() > limit) return false;
      game.Frame(ms);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }
  void Frames(unsigned total, unsigned ms = 50) {
    for (unsigned t = 0; t < total; t += ms) game.Frame(ms);
  }
  Map* CurrentMap() const { return script->map; }
  int MapState() const { return script->map ? script->map->GetState() : -1; }
  // A click in an empty corner of the screen, through the shell.
  void ClickAside() {
    game.MouseDown(790, 300);
    game.MouseUp(790, 300);
  }
  void Click(HLF::Control* control) {
    ASSERT_NE(control, nullptr);
    const LLF::Rect r = control->GetAbsoluteRect();
    game.MouseMove(r.x + r.width / 2, r.y + r.height / 2);
    game.MouseDown(r.x + r.width / 2, r.y + r.height / 2);
    game.MouseUp(r.x + r.width / 2, r.y + r.height / 2);
  }
  // The map is shown and its day page is up.
  bool OpenMap() {
    script->ChangeState(2, 0);
    return Until([&] { return MapState() == Map::LM_STATE_ANIM_FINISHED && CurrentMap()->GetPage(); });
  }
  std::vector<bool> ThumbnailsShown() const {
    std::vector<bool> shown;
    for (HLF::Button* button : CurrentMap()->GetLevelButtons())
      shown.push_back(button->GetParent()->IsVisible());
    return shown;
  }

  QmTest::TempFolders folders;
  SoundGame game{folders};
  HLF::AssetsLoader common;
  HLF::Control* menu = nullptr;
  std::unique_ptr<ScriptStandIn> script;
};

// A new player: the opening animation holds the map for 30 s whatever is
// clicked, then day 1's opening page: the first click completes its
// appearance, the second fades it out, clicks meanwhile change nothing;
// then the day page with group 0 shown and group 1 hidden. Back leads to
// the menu, and Play again goes straight to the day page.
TEST_F(LevelMapSceneTest, ANewPlayersFirstVisit) {
  Start();
  script->ChangeState(2, 0);
  ASSERT_TRUE(Until([&] { return MapState() == Map::LM_STATE_ANIM_START; }));
  EXPECT_FALSE(menu->IsVisible());
  ASSERT_NE(CurrentMap()->GetMapAnimation(), nullptr);
  EXPECT_EQ(CurrentMap()->GetParent(), game.GetGameLayer());
  for (int i = 0; i < 29; ++i) {
    ClickAside();
    Frames(1000);
  }
  EXPECT_EQ(MapState(), Map::LM_STATE_ANIM_START) << "clicks do not shorten the animation";
  Frames(1000);
  ASSERT_EQ(MapState(), Map::LM_STATE_ANIM_FINISH);
  EXPECT_EQ(CurrentMap()->GetMapAnimation(), nullptr);

  HLF::Control* story = CurrentMap()->GetStoryPage();
  ASSERT_NE(story, nullptr);
  EXPECT_EQ(ProfileVar(L"stats", L"story_day1_prestory"), L"1");
  EXPECT_NE(QmTest::ReadBytes(game.UserFolder() + "profiles.xml").find("story_day1_prestory=\"1\""),
            std::string::npos)
      << "the flag is saved at once";
  HLF::Control* lastLine = story->GetChildByName(L"more");
  ASSERT_NE(lastLine, nullptr);
  Frames(500);
  EXPECT_LT(lastLine->GetAlpha(), 255) << "the page is still appearing";

  ClickAside();
  game.Frame(16);
  EXPECT_EQ(lastLine->GetAlpha(), 255) << "the first click completes the page";
  EXPECT_FALSE(CurrentMap()->IsStoryClosing());
  ClickAside();
  EXPECT_TRUE(CurrentMap()->IsStoryClosing());
  game.Frame(500);
  ClickAside();  // during the fade: ignored
  game.Frame(400);
  EXPECT_EQ(MapState(), Map::LM_STATE_ANIM_FINISH);
  Frames(200);
  ASSERT_EQ(MapState(), Map::LM_STATE_ANIM_FINISHED);
  EXPECT_EQ(CurrentMap()->GetStoryPage(), nullptr);
  ASSERT_NE(CurrentMap()->GetPage(), nullptr);
  EXPECT_EQ(ThumbnailsShown(), (std::vector<bool>{true, true, false}));
  EXPECT_EQ(ProfileVar(L"stats", L"startAnimation"), L"true");

  Frames(1200);
  Click(CurrentMap()->GetBackButton());
  ASSERT_TRUE(Until([&] { return menu->IsVisible(); }));
  EXPECT_EQ(script->codes, (std::vector<int>{Map::LM_MSG_BACK_TO_MENU}));
  EXPECT_EQ(script->map, nullptr);

  LogRecorder log;
  script->Play();
  ASSERT_TRUE(Until([&] { return MapState() == Map::LM_STATE_ANIM_FINISHED; }));
  EXPECT_EQ(log.Count(L"ZentaLevelMap::DoState() - LM_STATE_ANIM_START"), 1);
  EXPECT_EQ(CurrentMap()->GetMapAnimation(), nullptr);
  EXPECT_EQ(CurrentMap()->GetStoryPage(), nullptr) << "a page shows once per player";
  EXPECT_NE(CurrentMap()->GetPage(), nullptr);
}

// A level click fades the map out, sends code 2 once, and the level's type
// (no mode yet) is logged; the player lands on a fresh map. Clicks while
// the level starts change nothing.
TEST_F(LevelMapSceneTest, ALevelClickLeadsBackToAFreshMap) {
  Start();
  SetProfileVar(L"stats", L"startAnimation", L"true");
  ZentaLevelMap::SetStoryShown(0, true, true);
  ASSERT_TRUE(OpenMap());
  Map* first = CurrentMap();
  Frames(1200);
  LogRecorder log;
  Click(first->GetLevelButtons()[1]);
  game.Frame(16);
  ASSERT_EQ(first->GetState(), Map::LM_STATE_STARTLEVEL);
  Click(first->GetLevelButtons()[0]);
  Click(first->GetPlayButton());
  game.Frame(16);
  EXPECT_EQ(first->GetSelectedLevelInfo().name, L"d1_puzzle");
  ASSERT_TRUE(Until([&] { return script->GetState() == 5 && MapState() == Map::LM_STATE_ANIM_FINISHED; }));
  EXPECT_EQ(script->codes, (std::vector<int>{Map::LM_MSG_START_LEVEL}));
  ASSERT_EQ(script->started.size(), 1u);
  EXPECT_EQ(script->started[0].name, L"d1_puzzle");
  EXPECT_EQ(
      log.Count(L"Error: TheZentaScript - the level \"d1_puzzle\" (day 1, level 2) has the type \"puzzle\""),
      1);
  EXPECT_EQ(log.Count(L"ZentaLevelMap::DoState() - LM_STATE_STARTLEVEL_FINISHED"), 1);
}

// The groups open in turn: a group is shown when it is the first, when it
// is complete or when the one before it is; a comment among the levels
// shifts nothing. A completed level's button is disabled and empty.
TEST_F(LevelMapSceneTest, GroupsOpenInTurn) {
  const std::string levels =
      Level(1, "a", 0) + Level(2, "b", 0) + Level(3, "c", 1) + Level(4, "d", 1) + Level(5, "e", 2);
  const std::string commented = Level(1, "a", 0) + "    <!-- the second group -->\n" + Level(2, "b", 0) +
                                Level(3, "c", 1) + "    <!-- x -->\n" + Level(4, "d", 1) + Level(5, "e", 2);
  std::string thumbs;
  for (int i = 1; i <= 5; ++i) {
    thumbs += "<control name=\"t" + std::to_string(i) + "\" renderable=\"false\"><button name=\"b" +
              std::to_string(i) + "\" text=\"" + std::to_string(i) + "\"/></control>";
  }
  folders.WriteProgramFile(
      "scripts/dialogs/levelsmap.xml",
      std::string(kBom) +
          "<levelsmap><staticimage name=\"genericBackground\"><staticimage name=\"dayNum\"/>"
          "<button name=\"backButton\"/><button name=\"playButton\"/></staticimage>"
          "<day1><control name=\"maplevelthumbs\" renderable=\"false\">" +
          thumbs + "</control></day1></levelsmap>");
  Start();
  struct Case {
    const std::string* file;
    std::initializer_list<const wchar_t*> complete;
    std::vector<bool> shown;
  };
  const Case cases[] = {
      {&levels, {}, {true, true, false, false, false}},
      {&levels, {L"a", L"b"}, {true, true, true, true, false}},
      {&levels, {L"a", L"b", L"c", L"d"}, {true, true, true, true, true}},
      {&levels, {L"e"}, {true, true, false, false, true}},
      {&commented, {L"a", L"b"}, {true, true, true, true, false}},
      {&commented, {L"a", L"b", L"c", L"d"}, {true, true, true, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.file == &levels ? "plain" : "commented") << ", "
                                    << c.complete.size() << " complete");
    folders.WriteProgramFile("scripts/game/levels.xml",
                             LevelsXml("  <day1 time=\"900\">\n" + *c.file + "  </day1>\n"));
    HLF::Player player;
    player.GetProfile()->RemoveChild(L"levels");
    Complete(0, c.complete);
    ZentaLevelMap map(nullptr);
    LogRecorder log;
    ASSERT_TRUE(map.BuildPage());
    EXPECT_EQ(log.Count(L"Error:"), 0) << testing::PrintToString(log.Lines());
    std::vector<bool> shown;
    for (HLF::Button* button : map.GetLevelButtons()) shown.push_back(button->GetParent()->IsVisible());
    EXPECT_EQ(shown, c.shown);
    for (size_t i = 0; i < map.GetLevelButtons().size(); ++i) {
      const bool done = ZentaLevelMap::IsLevelComplete(0, static_cast<int>(i));
      EXPECT_EQ(map.GetLevelButtons()[i]->IsEnabled(), !done) << i;
      EXPECT_EQ(map.GetLevelButtons()[i]->GetText(), done ? L"" : LLF::ToString(static_cast<int>(i) + 1))
          << i;
    }
  }
}

// Play starts the first level that is not complete, also one without a
// thumbnail; each missing part of the layout is one log line and is
// skipped.
TEST_F(LevelMapSceneTest, MissingLayoutPartsAreLoggedAndSkipped) {
  folders.WriteProgramFile(
      "scripts/game/levels.xml",
      LevelsXml("  <day1 time=\"900\">\n" + Level(1, "a", 0) + Level(2, "b", 0) + Level(3, "c", 0) +
                "  </day1>\n  <day2 time=\"900\">\n" + Level(1, "x", 0) + "  </day2>\n"));
  folders.WriteProgramFile(
      "scripts/dialogs/levelsmap.xml",
      std::string(kBom) +
          "<levelsmap><staticimage name=\"genericBackground\"><button name=\"playButton\"/>"
          "</staticimage><day1><control name=\"maplevelthumbs\">"
          "<control name=\"t1\"><button name=\"b1\" text=\"1\"/></control>"
          "<control name=\"t2\"><label name=\"l2\"/><button name=\"b2\"/></control>"
          "</control></day1></levelsmap>");
  Start();
  Complete(0, {L"a"});
  ZentaLevelMap map(nullptr);
  game.GetGameLayer()->AddChild(&map);
  {
    LogRecorder log;
    ASSERT_TRUE(map.BuildPage());
    EXPECT_EQ(log.Count(L"Error: ZentaLevelMap - the page has no \"dayNum\"."), 1);
    EXPECT_EQ(log.Count(L"Error: ZentaLevelMap - the page has no \"backButton\"."), 1);
    EXPECT_EQ(log.Count(L"Error: ZentaLevelMap - the thumbnail \"t2\" of day1 holds no button first."), 1);
    EXPECT_EQ(log.Count(L"Error: ZentaLevelMap - day1 has 3 levels but 1 thumbnails"), 1);
    EXPECT_EQ(log.Count(L"Error:"), 4) << testing::PrintToString(log.Lines());
  }
  ASSERT_EQ(map.GetLevelButtons().size(), 1u);
  Complete(0, {L"b"});
  dynamic_cast<HLF::Button*>(map.GetPlayButton())->OnClick(LLF::Message());
  game.Frame(16);
  EXPECT_EQ(map.GetState(), Map::LM_STATE_STARTLEVEL);
  EXPECT_EQ(map.GetSelectedLevelInfo().name, L"c") << "a level without a thumbnail starts with Play";
  game.GetGameLayer()->RemoveChild(&map, false);

  ZentaLevelMap::SetCurrentDay(1);
  ZentaLevelMap second(nullptr);
  LogRecorder log;
  second.BuildPage();
  EXPECT_EQ(log.Count(L"Error: ZentaLevelMap - scripts/dialogs/levelsmap.xml, section levelsmap/day2 has no "
                      L"\"maplevelthumbs\"."),
            1);
}

// A finished day whose closing page is unseen shows it; closing it opens
// the next day with that day's full time (three times as long in easy
// mode), the old map deleted before the new one is made, and the next day
// opens with its own page before its map.
class LevelMapDayTest : public LevelMapSceneTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LevelMapDayTest, AFinishedDayShowsItsClosingPageThenTheNextDay) {
  const bool easy = GetParam();
  Start();
  ZentaLevelMap::SetEasyMode(easy);
  SetProfileVar(L"stats", L"startAnimation", L"true");
  SetProfileVar(L"stats", L"timeLeft", L"1234");
  Complete(0, {L"d1_jigsaw", L"d1_puzzle", L"d1_mirror"});
  script->ChangeState(2, 0);
  ASSERT_TRUE(Until([&] { return CurrentMap() && CurrentMap()->GetStoryPage(); }));
  EXPECT_EQ(ProfileVar(L"stats", L"story_day1_poststory"), L"1");
  Map* first = CurrentMap();
  while (first->GetStoryPage() && !first->IsStoryClosing()) {
    ClickAside();
    game.Frame(16);
  }
  LogRecorder log;
  ASSERT_TRUE(Until([&] { return CurrentMap() != first && CurrentMap()->GetStoryPage(); }));
  EXPECT_EQ(script->codes, (std::vector<int>{Map::LM_MSG_NEXT_DAY}));
  EXPECT_EQ(ZentaLevelMap::GetCurrentDay(), 1);
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), easy ? L"2700000" : L"900000");
  EXPECT_EQ(ProfileVar(L"stats", L"story_day2_prestory"), L"1");
  EXPECT_EQ(log.Count(L"No story page specified"), 0);
  Map* second = CurrentMap();
  while (second->GetStoryPage() && !second->IsStoryClosing()) {
    ClickAside();
    game.Frame(16);
  }
  ASSERT_TRUE(Until([&] { return MapState() == Map::LM_STATE_ANIM_FINISHED && !second->GetStoryPage(); }));
  EXPECT_EQ(CurrentMap(), second);
  EXPECT_EQ(ThumbnailsShown(), (std::vector<bool>{true, true, false}));
  // Code 3 came while state 2 was current: the state was entered anew, and
  // it found the old map, which was gone before the new one was made.
  ASSERT_EQ(script->replaced.size(), 2u);
  EXPECT_EQ(script->replaced[1], first);
  EXPECT_EQ(std::count(game.forgotten.begin(), game.forgotten.end(), first), 1);
  int maps = 0;
  for (int i = 0; i < game.GetGameLayer()->GetChildsCount(); ++i) {
    maps += game.GetGameLayer()->GetChild(i)->IsKindOf("ZentaLevelMap") ? 1 : 0;
  }
  EXPECT_EQ(maps, 1);
}

INSTANTIATE_TEST_SUITE_P(EasyMode, LevelMapDayTest, ::testing::Bool());

// The last day finished with its closing page seen: the player's profile
// is made anew, keeping only the wallpapers, and the menu returns.
TEST_F(LevelMapSceneTest, AfterTheLastDayTheProfileStartsAgainWithItsWallpapers) {
  Start();
  ZentaLevelMap::SetCurrentDay(2);
  ZentaLevelMap::SetStoryShown(2, false, true);
  SetProfileVar(L"stats", L"startAnimation", L"true");
  SetProfileVar(L"stats", L"score", L"5000");
  WriteWallpaperMask(L"10001000100000000001");
  Complete(2, {L"d3_seek_grey", L"d3_seek_dark", L"d3_mirror", L"d3_pair", L"d3_puzzle"});
  script->ChangeState(2, 0);
  ASSERT_TRUE(Until([&] { return menu->IsVisible() && !script->codes.empty(); }));
  EXPECT_EQ(script->codes, (std::vector<int>{Map::LM_MSG_BACK_TO_MENU}));
  EXPECT_EQ(game.GetCurrentProfileName(), L"Ann");
  EXPECT_EQ(ProfileVar(L"stats", L"wallpapers"), L"10001000100000000001");
  for (const wchar_t* key : {L"score", L"currentDay", L"story_day3_poststory", L"startAnimation"}) {
    EXPECT_EQ(ProfileVar(L"stats", key), L"(absent)") << LLF::WideToAnsi(key);
  }
  EXPECT_FALSE(ZentaLevelMap::IsLevelComplete(2, 0));
}

// Days that cannot be shown end on a day page or at the menu, never in a
// chain of next days: no level list, a list without days, a current day
// beyond the last.
TEST_F(LevelMapSceneTest, DaysBeyondTheListEndOnAPageOrTheMenu) {
  struct Case {
    const char* name;
    const char* levels;  // null: no file
    const wchar_t* currentDay;
    bool toMenu;
    const wchar_t* logLine;
  };
  const Case cases[] = {
      {"no file", nullptr, L"0", true,
       L"Error: ZentaLevelMap - scripts/game/levels.xml has no day to show; back to the main menu."},
      {"no days", "", L"0", true,
       L"Error: ZentaLevelMap - scripts/game/levels.xml has no day to show; back to the main menu."},
      {"day 8 of 3", "generated", L"7", false,
       L"Warning: ZentaLevelMap - the current day 8 lies beyond the last day 3; the last day is taken."},
  };
  const std::string generated = QmTest::ReadBytes(folders.Program() + "/scripts/game/levels.xml");
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.levels) {
      std::remove((folders.Program() + "/scripts/game/levels.xml").c_str());
    } else {
      folders.WriteProgramFile("scripts/game/levels.xml",
                               std::string(c.levels) == "generated" ? generated : LevelsXml(c.levels));
    }
    SetProfileVar(L"stats", L"currentDay", c.currentDay);
    SetProfileVar(L"stats", L"startAnimation", L"true");
    ZentaLevelMap::SetStoryShown(2, true, true);
    script->codes.clear();
    LogRecorder log;
    script->ChangeState(2, 0);
    ASSERT_TRUE(Until([&] {
      return c.toMenu ? !script->codes.empty() && menu->IsVisible() && script->map == nullptr
                      : MapState() == Map::LM_STATE_ANIM_FINISHED && CurrentMap()->GetPage();
    }));
    Frames(2000);
    EXPECT_EQ(script->codes, c.toMenu ? std::vector<int>{Map::LM_MSG_BACK_TO_MENU} : std::vector<int>{});
    EXPECT_EQ(log.Count(c.logLine), 1) << testing::PrintToString(log.Lines());
    if (!c.toMenu) {
      EXPECT_EQ(ZentaLevelMap::GetCurrentDay(), 2);
      EXPECT_EQ(CurrentMap()->GetLevelButtons().size(), 5u);
    }
  }
}

// A resume position whose level is complete by now is forgotten when it is
// read, and Play opens the map; one that is not complete starts its level
// at once, its record read from the level list.
TEST_F(LevelMapSceneTest, AStaleResumePositionIsClearedAndPlayOpensTheMap) {
  Start();
  SetProfileVar(L"stats", L"startAnimation", L"true");
  ZentaLevelMap::SetStoryShown(0, true, true);
  MapFlow::SaveLevelPos(0, 1);
  Complete(0, {L"d1_puzzle"});
  script->Play();
  ASSERT_TRUE(Until([&] { return MapState() == Map::LM_STATE_ANIM_FINISHED; }));
  EXPECT_EQ(ProfileVar(L"stats", L"playDay"), L"-1");
  EXPECT_EQ(ProfileVar(L"stats", L"playLev"), L"-1");
  EXPECT_TRUE(script->started.empty());

  MapFlow::SaveLevelPos(0, 2);
  script->Play();
  ASSERT_TRUE(Until([&] { return script->GetState() == 5; }));
  ASSERT_EQ(script->started.size(), 1u);
  EXPECT_EQ(script->started[0].name, L"d1_mirror");
  EXPECT_EQ(script->started[0].level, 2);
}

// A story page shows once per player, also after its day was restarted
// (the day's level states removed after a time-out).
TEST_F(LevelMapSceneTest, AStoryPageShowsOncePerPlayer) {
  Start();
  SetProfileVar(L"stats", L"startAnimation", L"true");
  Complete(0, {L"d1_jigsaw"});
  script->ChangeState(2, 0);
  ASSERT_TRUE(Until([&] { return CurrentMap() && CurrentMap()->GetStoryPage(); }));
  {
    HLF::Player player;
    player.GetProfile()->RemoveChild(L"levels");
  }
  LogRecorder log;
  script->ChangeState(4, 0);
  game.Frame(16);
  script->ChangeState(2, 0);
  ASSERT_TRUE(Until([&] { return MapState() == Map::LM_STATE_ANIM_FINISHED; }));
  EXPECT_EQ(CurrentMap()->GetStoryPage(), nullptr);
  EXPECT_EQ(log.Count(L"No story page specified"), 0);

  // Another player sees it.
  game.SetCurrentProfile(L"Bea");
  SetProfileVar(L"stats", L"startAnimation", L"true");
  script->ChangeState(4, 0);
  game.Frame(16);
  script->ChangeState(2, 0);
  ASSERT_TRUE(Until([&] { return CurrentMap() && CurrentMap()->GetStoryPage(); }));
}

// A map list that loads with failures still opens the map, with a warning.
TEST_F(LevelMapSceneTest, AFailedPictureLoadStillOpensTheMap) {
  std::remove((folders.Program() + "/images/levelsmap/anim_boat.png").c_str());
  Start();
  SetProfileVar(L"stats", L"startAnimation", L"true");
  ZentaLevelMap::SetStoryShown(0, true, true);
  LogRecorder log;
  ASSERT_TRUE(OpenMap());
  EXPECT_EQ(log.Count(L"Warning: ZentaLevelMap - some of the list \"LEVELSMAP\" did not load"), 1);
}

}  // namespace
