// The game's application object and its top-level script, run headless on a
// copy of the generated data folder: the splash, then the menu with its
// music and its scene; the script's reactions to its scenes; the resume
// position; the "winlevel" command; shutdown releases the script before
// the shell.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "HeadlessVoyage.h"
#include "MenuRun.h"
#include "SoundTestDoubles.h"
#include "TempFolders.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "flow/ZentaMainMenu.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "map/ZentaLevelMap.h"
#include "model/Control.h"
#include "shell/Player.h"
#include "shell/SplashScreen.h"
#include "sound/SoundSystem.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

TEST(TheZentaVoyageTest, NamesTheGameItsVersionAndItsFolders) {
  TempFolders folders;
  HeadlessVoyage game(folders.Program());
  EXPECT_EQ(game.GetName(), L"The Quillmarsh - Zenta");
  EXPECT_EQ(game.GetVendor(), L"Brenvik");
  EXPECT_EQ(game.GetVersion(), L"1.454 date Thu Oct 15 18:56:26 2009");
  EXPECT_FALSE(game.GetDescription().empty());
  EXPECT_EQ(LLF::ToOsPath(game.GetUserDataFolder()), folders.User() + "/Brenvik/The Quillmarsh - Zenta/");
  EXPECT_TRUE(game.CanClose());
  EXPECT_EQ(game.GetScript().GetGameMode(), nullptr);
}

void ExpectNoErrorLines() {
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    EXPECT_EQ(line.find(L"Error"), std::wstring::npos) << LLF::WideToAnsi(line);
    EXPECT_EQ(line.find(L"Warning"), std::wstring::npos) << LLF::WideToAnsi(line);
  }
}

TEST(TheZentaVoyageTest, TheSplashThenTheMenuWithItsMusic) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(true));
  TheZentaScript& script = game.GetScript();
  EXPECT_EQ(game.GetStateMachine(), &script);
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_SPLASHSHOW);
  EXPECT_EQ(game.LogCount(L"TheZentaScript::DoState() - CS_STATE_SPLASHSHOW"), 1);
  ASSERT_NE(script.GetSplash(), nullptr);
  ASSERT_NE(script.GetMainMenu(), nullptr);
  EXPECT_EQ(script.GetMainMenu()->GetParent(), nullptr) << "not on screen before the splash is done";
  EXPECT_NE(script.GetMainMenu()->GetMusic(), nullptr);
  EXPECT_EQ(script.GetMainMenu()->GetMusic(), LLF::SoundSystem::GetInstance().GetMusic(L"menu_music"));
  EXPECT_NE(LLF::SoundSystem::GetInstance().GetMusic(L"map_music"), nullptr) << "the list MAIN, whole";

  ASSERT_TRUE(game.SkipToMenu());
  EXPECT_EQ(script.GetSplash(), nullptr);
  ZentaMainMenu* menu = script.GetMainMenu();
  EXPECT_EQ(menu->GetParent(), game.GetGameLayer());
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 1) << "the splash picture has gone";
  EXPECT_EQ(menu->GetName(), L"MainMenu");
  EXPECT_FALSE(menu->IsRenderable());
  // The scene: band, lower background, columns in the menu; the scroll
  // with its four buttons in order, the welcome and the logo on the lower
  // background.
  ASSERT_NE(menu->GetBackgroundTop(), nullptr);
  EXPECT_EQ(menu->GetBackgroundTop()->GetImage(),
            LLF::ImagesManager::GetInstance().FindResource(L"menu_bg_top"));
  ASSERT_NE(menu->GetBackgroundBottom(), nullptr);
  EXPECT_EQ(menu->GetBackgroundBottom()->GetPosition(), LLF::Vector2(0, 88));
  ASSERT_NE(menu->GetColumnLeft(), nullptr);
  EXPECT_EQ(menu->GetColumnLeft()->GetPosition(), LLF::Vector2(0, 0)) << "moved in by its effect";
  EXPECT_EQ(menu->GetColumnRight()->GetPosition(), LLF::Vector2(736, 0));
  HLF::Control* scroll = menu->GetScroll();
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->GetParent(), menu->GetBackgroundBottom());
  EXPECT_EQ(scroll->GetPosition(), LLF::Vector2(400 - scroll->GetSize().x / 2, 100));
  ASSERT_EQ(scroll->GetChildsCount(), 4);
  EXPECT_EQ(scroll->GetChild(0), menu->GetPlayButton());
  EXPECT_EQ(scroll->GetChild(1), menu->GetGalleryButton());
  EXPECT_EQ(scroll->GetChild(2), menu->GetOptionsButton());
  EXPECT_EQ(scroll->GetChild(3), menu->GetQuitButton());
  EXPECT_EQ(menu->GetWelcomeLabel()->GetParent(), menu->GetBackgroundBottom());
  ASSERT_NE(menu->GetLogo(), nullptr);
  EXPECT_EQ(menu->GetLogo()->GetParent(), menu->GetBackgroundBottom());
  EXPECT_EQ(menu->GetLogo()->GetPosition().y, -50);
  for (HLF::Control* control : {menu->GetPlayButton(), menu->GetGalleryButton(), menu->GetOptionsButton(),
                                menu->GetQuitButton(), menu->GetWelcomeLabel()}) {
    EXPECT_TRUE(control->IsEnabled());
  }
  EXPECT_EQ(static_cast<HLF::Label*>(menu->GetWelcomeLabel())->GetFullText(),
            L"Welcome! Click here to choose a player.");
  bool clear = true;
  LLF::Color colour;
  game.GetClearSettings(clear, colour);
  EXPECT_FALSE(clear) << "the white screen of the load ends when the menu opens";
  EXPECT_EQ(game.LogCount(L"ZentaMainMenu::DoState() - MM_STATE_INIT"), 1);
  EXPECT_EQ(game.LogCount(L"ZentaMainMenu::DoState() - MM_STATE_MENU"), 1);
  ExpectNoErrorLines();
}

void SetProgress(int day, int level, const wchar_t* state) {
  HLF::Player player;
  player.SetVar(ZentaLevelMap::DayProgressPath(day), ZentaLevelMap::GetLevelInfo(day, level).name, state);
}

// The menu's messages decide the script's next state; a resume position
// whose level is complete is cleared and Play heads for the map.
TEST(TheZentaScriptTest, TheMenusMessagesAndTheResumePosition) {
  MenuRun run;
  ASSERT_TRUE(run.Start());
  run.game.SetCurrentProfile(L"Fox");
  TheZentaScript& script = run.Script();

  struct Case {
    const char* what;
    int day, level;
    const wchar_t* progress;  // of that level, or null
    int code;
    int state;
    int storedDay, storedLevel;
  } cases[] = {
      {"another code changes nothing", -1, -1, nullptr, 5, TheZentaScript::CS_STATE_SPLASHDONE, -1, -1},
      {"play without a resume position", -1, -1, nullptr, 2, TheZentaScript::CS_STATE_MENU_SHOWMAP, -1, -1},
      {"play with a completed level", 0, 1, L"complete", 2, TheZentaScript::CS_STATE_MENU_SHOWMAP, -1, -1},
      // The level starts at once; no play mode takes its type yet, so the
      // start is logged, the position cleared and the map comes back.
      {"play with an unfinished level", 1, 0, L"incomplete", 2, TheZentaScript::CS_STATE_MAP_STARTLEVEL, -1,
       -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    script.SetState(TheZentaScript::CS_STATE_SPLASHDONE);
    script.SaveLevelPos(c.day, c.level);
    if (c.progress) SetProgress(c.day, c.level, c.progress);
    run.FromMenu(c.code);
    EXPECT_EQ(script.GetState(), c.state);
    HLF::Player player;
    std::wstring day, level;
    ASSERT_TRUE(player.GetVar(L"stats", L"playDay", day));
    ASSERT_TRUE(player.GetVar(L"stats", L"playLev", level));
    EXPECT_EQ(day, std::to_wstring(c.storedDay));
    EXPECT_EQ(level, std::to_wstring(c.storedLevel));
  }
  EXPECT_EQ(run.game.LogCount(L"TheZentaScript::DoState() - CS_STATE_MAP_STARTLEVEL"), 1);
  EXPECT_FALSE(run.Menu().IsVisible()) << "hidden for the map";

  run.FromMenu(0);
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_QUITGAME);
  EXPECT_EQ(run.game.LogCount(L"TheZentaScript::DoState() - CS_STATE_QUITGAME"), 1);
}

TEST(TheZentaScriptTest, TheSplashsMessagesAndTheWindowsInput) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(true));
  TheZentaScript& script = game.GetScript();
  HLF::SplashScreen* splash = script.GetSplash();
  ASSERT_NE(splash, nullptr);
  // Window input reaches the splash while it runs.
  LLF::Message key(&LLF::AppWindow::GetInstance(), LLF::WMSG_KEY_UP, LLF::KEY_SPACE, 0, 0, L"Space");
  script.OnMessage(&key);
  EXPECT_EQ(game.LogCount(L"SplashScreen - key up or mouse up message received. Key string: Space"), 1);
  LLF::Message other(splash, 7, 0, 0, 0, L"");
  script.OnMessage(&other);
  game.Frame(16);
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_SPLASHSHOW);
  LLF::Message done(splash, HLF::SM_MSG_EMPTY, 0, 0, 0, L"");
  script.OnMessage(&done);
  game.Frame(16);
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_SPLASHDONE);
  EXPECT_EQ(script.GetSplash(), nullptr);
  // The window is no longer heard.
  script.OnMessage(&key);
  EXPECT_EQ(game.LogCount(L"SplashScreen - key up"), 1);
  EXPECT_EQ(script.GetMainMenu()->GetParent(), game.GetGameLayer());
}

TEST(TheZentaScriptTest, WinLevelAsksForTheAccessWord) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(false));
  HLF::Console& console = HLF::Console::GetInstance();
  HLF::Console::CommandHandler winlevel = console.GetCommand(L"winlevel");
  ASSERT_NE(winlevel, nullptr);
  struct Case {
    const wchar_t* line;
    int usage;
    int refused;
  } cases[] = {
      {L"winlevel", 1, 0},           {L"winlevel QXV", 0, 1},     {L"winlevel qx", 0, 1},
      {L"winlevel qxv extra", 0, 0}, {L"  winlevel   qxv", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.line));
    console.ClearLines();
    winlevel(c.line);
    EXPECT_EQ(game.LogCount(L"Command winlevel use: winlevel password"), c.usage);
    EXPECT_EQ(game.LogCount(L"Error: Incorrect password."), c.refused);
  }
  // A second game in the same process keeps the one command, silently.
  game.Stop();
  HeadlessVoyage again(folders.Program());
  ASSERT_TRUE(again.Start(false));
  EXPECT_EQ(console.GetCommand(L"winlevel"), winlevel);
  EXPECT_EQ(again.LogCount(L"winlevel"), 0);
}

// A driver that counts what the script asks of the menu's music.
class RecordingDriver : public SoundTestDoubles::FakeDriver {
 public:
  RecordingDriver() : FakeDriver(true, true) {}
  bool ResumeMusic(LLF::Music* music) override {
    resumed.push_back(music);
    return true;
  }
  std::vector<const LLF::Music*> resumed;
};

TEST(TheZentaVoyageTest, ReactivationRestartsTheBandAndResumesTheMusic) {
  MenuRun run;
  ASSERT_TRUE(run.Start());
  HLF::StaticImage* band = run.Menu().GetBackgroundTop();
  ASSERT_NE(band, nullptr);
  const float start = band->GetPosition().x;
  for (int i = 0; i < 50; ++i) run.game.Frame(100);
  EXPECT_NEAR(band->GetPosition().x - start, 102.4f, 2.0f) << "the band moves 1024 px in 50 s";

  LLF::SoundSystem& sound = LLF::SoundSystem::GetInstance();
  unsigned previous = 0;
  while (sound.GetDriver(previous) != sound.GetCurrentDriver()) ++previous;
  RecordingDriver driver;
  ASSERT_TRUE(sound.RegisterDriver(&driver));
  ASSERT_TRUE(sound.SetCurrentDriver(sound.GetDriversCount() - 1));
  run.game.OnActivate();
  run.game.Frame(0);
  EXPECT_EQ(band->GetPosition().x, -1024);
  ASSERT_EQ(driver.resumed.size(), 1u);
  EXPECT_EQ(driver.resumed[0], run.Menu().GetMusic());
  // Not during the splash or after Quit.
  run.Script().SetState(TheZentaScript::CS_STATE_QUITGAME);
  run.game.OnActivate();
  EXPECT_EQ(driver.resumed.size(), 1u);
  sound.SetCurrentDriver(previous);
  sound.UnregisterDriver(&driver);

  // The band's own end starts it again from the left.
  for (int i = 0; i < 499; ++i) run.game.Frame(100);
  EXPECT_GT(band->GetPosition().x, -10);
  for (int i = 0; i < 3; ++i) run.game.Frame(100);
  EXPECT_LT(band->GetPosition().x, -1024 + 25);
}

TEST(TheZentaVoyageTest, ShutdownReleasesTheScriptBeforeTheShell) {
  // Stopped during the splash, and once the menu is built.
  for (const bool waitForMenu : {false, true}) {
    SCOPED_TRACE(waitForMenu ? "menu shown" : "during the splash");
    TempFolders folders;
    CopyGeneratedData(folders.Program());
    HeadlessVoyage game(folders.Program());
    ASSERT_TRUE(game.Start(true));
    TheZentaScript& script = game.GetScript();
    if (waitForMenu) {
      ASSERT_TRUE(game.SkipToMenu());
      ASSERT_NE(LLF::ImagesManager::GetInstance().FindResource(L"menu_bg_top"), nullptr);
    }
    game.Stop();
    EXPECT_EQ(game.GetStateMachine(), nullptr);
    EXPECT_EQ(script.GetSplash(), nullptr);
    EXPECT_EQ(script.GetMainMenu(), nullptr);
    EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResource(L"menu_bg_top"), nullptr);
    EXPECT_EQ(LLF::SoundSystem::GetInstance().GetMusic(L"menu_music"), nullptr);
    EXPECT_TRUE(fs::exists(LLF::ToOsPath(game.GetConfigPath())));
    EXPECT_TRUE(fs::exists(LLF::ToOsPath(game.GetProfilesPath())));
  }
}

}  // namespace
}  // namespace QmTest
