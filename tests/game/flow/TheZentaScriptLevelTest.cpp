// A level played through the game's own script, map and shell: the test
// mode (type "probe") is added to the script's table of types, and the
// first level of day 1 is made a "probe" level in a copy of the generated
// data. The player has seen the map's opening animation and day 1's page,
// so the map opens on its day page. Frames are stepped on the manual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "HeadlessVoyage.h"
#include "ProbeMode.h"
#include "TempFolders.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "dialogs/Dialog.h"
#include "flow/ZentaMainMenu.h"
#include "map/ZentaLevelMap.h"
#include "model/GameServices.h"
#include "shell/Player.h"
#include "widgets/Button.h"

namespace QmTest {
namespace {

std::wstring Var(const wchar_t* path, const wchar_t* name) {
  HLF::Player player;
  std::wstring value = L"(absent)";
  player.GetVar(path, name, value);
  return value;
}

void Click(HLF::Control* button) {
  ASSERT_NE(button, nullptr);
  static_cast<HLF::Button*>(button)->OnClick(LLF::Message());
}

class TheZentaScriptLevelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyGeneratedData(folders.Program());
    // Day 1's first level becomes the test mode's.
    const std::string levels = folders.Program() + "/scripts/game/levels.xml";
    std::stringstream text;
    text << std::ifstream(levels, std::ios::binary).rdbuf();
    std::string xml = text.str();
    const std::string from = "name=\"d1_jigsaw\" type=\"jigsaw\"";
    const size_t at = xml.find(from);
    ASSERT_NE(at, std::string::npos);
    xml.replace(at, from.size(), "name=\"d1_jigsaw\" type=\"probe\"");
    std::ofstream(levels, std::ios::binary | std::ios::trunc) << xml;

    GameMode::ResetRunFlags();
    ProbeMode::Register();
    ASSERT_TRUE(game.Start(true));
    ASSERT_TRUE(game.SkipToMenu());
    game.SetCurrentProfile(L"Fox");
    ZentaLevelMap::SetEasyMode(false);
    HLF::Player player;
    player.SetVar(L"stats", L"startAnimation", L"true");
    ZentaLevelMap::SetStoryShown(0, true, true);
  }

  void TearDown() override {
    game.Stop();
    ProbeMode::Unregister();
  }

  TheZentaScript& Script() { return game.GetScript(); }
  ProbeMode* Mode() { return dynamic_cast<ProbeMode*>(Script().GetGameMode()); }

  // The map's day page, ready for clicks.
  ZentaLevelMap* MapShown() {
    const bool shown = game.FramesUntil([&] {
      ZentaLevelMap* map = Script().GetLevelMap();
      return map && map->GetState() == ZentaLevelMap::LM_STATE_ANIM_FINISHED &&
             !map->GetLevelButtons().empty();
    });
    return shown ? Script().GetLevelMap() : nullptr;
  }

  // Day 1's first level clicked on the map, run until its clock runs.
  ProbeMode* StartFromMap() {
    ZentaLevelMap* map = MapShown();
    if (!map) return nullptr;
    Click(map->GetLevelButtons()[0]);
    if (!game.FramesUntil([&] { return Mode() && Mode()->GetState() == GameMode::GM_STATE_STARTTIMER; },
                          100)) {
      return nullptr;
    }
    return Mode();
  }

  void Run(unsigned total) {
    for (unsigned t = 0; t < total; t += 100) game.Frame(100);
  }

  TempFolders folders;
  HeadlessVoyage game{folders.Program()};
};

TEST_F(TheZentaScriptLevelTest, ALevelFromTheMapIsWonAndTheMapComesBack) {
  ASSERT_TRUE(game.PlayToMap());
  ProbeMode* mode = StartFromMap();
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(Script().GetState(), TheZentaScript::CS_STATE_MAP_STARTLEVEL);
  EXPECT_EQ(Script().GetLevelMap(), nullptr) << "the map goes once the level runs";
  EXPECT_EQ(mode->GetLevelInfo().name, L"d1_jigsaw");
  EXPECT_EQ(mode->GetBoard()->GetParent(), game.GetGameLayer());
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Error: Unknown level type"), 0);

  // The console's word wins it; the script deletes the mode and opens a
  // fresh map.
  HLF::Console::GetInstance().Execute(L"winlevel qxv", true);
  ASSERT_TRUE(game.FramesUntil(
      [&] { return Script().GetState() == TheZentaScript::CS_STATE_AFTERGAME_SHOWMAP && !Mode(); }));
  EXPECT_EQ(HeadlessVoyage::LogCount(L"GameMode::DoState() - GM_STATE_QUIT"), 1);
  ASSERT_NE(MapShown(), nullptr);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"TheZentaScript::DoState() - CS_STATE_AFTERGAME_SHOWMAP / FINISHED"),
            1);
  EXPECT_NE(Var(L"stats", L"playLev"), L"0") << "a finished level leaves no resume position";
}

TEST_F(TheZentaScriptLevelTest, TheMapAndMenuButtonsAndTheResumedLevel) {
  ASSERT_TRUE(game.PlayToMap());
  ProbeMode* mode = StartFromMap();
  ASSERT_NE(mode, nullptr);

  // The map button: back to the map, no resume position.
  Click(mode->GetMapButton());
  ASSERT_TRUE(game.FramesUntil([&] { return !Mode() && Script().GetLevelMap(); }));
  EXPECT_EQ(Script().GetState(), TheZentaScript::CS_STATE_AFTERGAME_SHOWMAP);
  EXPECT_EQ(Var(L"stats", L"playDay"), L"-1");
  EXPECT_EQ(Var(L"stats", L"playLev"), L"-1");

  // Again, and the game menu's main-menu button: the menu, with the level
  // kept as the resume position.
  mode = StartFromMap();
  ASSERT_NE(mode, nullptr);
  Click(mode->GetMenuButton());
  ASSERT_NE(mode->GetGameMenu(), nullptr);
  Click(mode->GetGameMenu()->GetChildByName(L"MainMenuButton"));
  ASSERT_TRUE(game.FramesUntil([&] {
    return Script().GetState() == TheZentaScript::CS_STATE_AFTERGAME_SHOWMENU &&
           Script().GetMainMenu()->GetState() == HLF::MainMenu::MM_STATE_MENU;
  }));
  EXPECT_EQ(Mode(), nullptr);
  EXPECT_TRUE(Script().GetMainMenu()->IsVisible());
  EXPECT_EQ(Script().GetLevelMap(), nullptr);
  EXPECT_EQ(Var(L"stats", L"playDay"), L"0");
  EXPECT_EQ(Var(L"stats", L"playLev"), L"0");

  // Play resumes the level without the map.
  const int mapsBefore = HeadlessVoyage::LogCount(L"ZentaLevelMap::DoState() - LM_STATE_INIT");
  auto* play = dynamic_cast<HLF::Button*>(Script().GetMainMenu()->GetPlayButton());
  ASSERT_NE(play, nullptr);
  play->OnClick(LLF::Message());
  ASSERT_TRUE(game.FramesUntil([&] { return Mode() != nullptr; }));
  EXPECT_EQ(Script().GetState(), TheZentaScript::CS_STATE_MAP_STARTLEVEL);
  EXPECT_EQ(Mode()->GetLevelInfo().name, L"d1_jigsaw");
  EXPECT_EQ(HeadlessVoyage::LogCount(L"ZentaLevelMap::DoState() - LM_STATE_INIT"), mapsBefore);
}

TEST_F(TheZentaScriptLevelTest, LosingTheFocusOpensTheGameMenuAndClosingSavesTheLevel) {
  // Without a level, neither does anything of the kind.
  bool inactive = false;
  game.OnDeactivate(&inactive);
  EXPECT_TRUE(inactive);
  EXPECT_TRUE(game.CanClose());
  EXPECT_EQ(Var(L"stats", L"playDay"), L"(absent)");
  game.OnActivate();

  ASSERT_TRUE(game.PlayToMap());
  ProbeMode* mode = StartFromMap();
  ASSERT_NE(mode, nullptr);
  Run(2000);
  game.OnDeactivate(&inactive);
  ASSERT_NE(mode->GetGameMenu(), nullptr);
  EXPECT_TRUE(mode->IsPaused());
  HLF::Dialog* menu = mode->GetGameMenu();
  game.OnDeactivate(&inactive);
  EXPECT_EQ(mode->GetGameMenu(), menu) << "one game menu, not a second over it";
  game.OnActivate();
  const int left = mode->GetRemainingMs();
  Run(3000);
  EXPECT_EQ(mode->GetRemainingMs(), left) << "the clock waits under the game menu";

  // The window's close (and a quit signal, which the window routes the
  // same way) saves the level, its progress and the day's time left.
  EXPECT_TRUE(game.CanClose());
  EXPECT_EQ(Var(L"levels/day_0/d1_jigsaw", L"probed"), L"1");
  EXPECT_EQ(Var(L"stats", L"playDay"), L"0");
  EXPECT_EQ(Var(L"stats", L"playLev"), L"0");
  EXPECT_EQ(Var(L"stats", L"timeLeft"), LLF::ToString(left));

  // The shutdown that follows writes it to the profiles file.
  game.Stop();
  std::stringstream profiles;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folders.User())) {
    if (entry.path().filename() == "profiles.xml") profiles << std::ifstream(entry.path()).rdbuf();
  }
  EXPECT_NE(profiles.str().find("playLev=\"0\""), std::string::npos) << profiles.str();
  EXPECT_NE(profiles.str().find("probed=\"1\""), std::string::npos);
}

}  // namespace
}  // namespace QmTest
