// The game's main menu, run headless in the whole game on a copy of the
// generated data folder: the first Play asks for easy mode once, Quit
// sends its code once after the fade, clicks during a fade do nothing, and
// a load with failures or a layout without its scroll still opens the menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "HeadlessVoyage.h"
#include "MenuRun.h"
#include "MessageRecorder.h"
#include "TempFolders.h"
#include "dialogs/Dialog.h"
#include "flow/ZentaMainMenu.h"
#include "map/ZentaLevelMap.h"
#include "shell/Player.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

void Click(HLF::Control* button) {
  ASSERT_NE(button, nullptr);
  static_cast<HLF::Button*>(button)->OnClick(LLF::Message());
}

std::wstring EasyMode() {
  HLF::Player player;
  std::wstring value = L"(none)";
  player.GetVar(L"stats", L"easyMode", value);
  return value;
}

// The first Play of a player asks once: OK is easy, Cancel normal; the
// answer is stored and the menu fades towards the map. Later Plays go
// straight there.
TEST(ZentaMainMenuTest, TheFirstPlayAsksForEasyModeOnce) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    MenuRun run;
    ASSERT_TRUE(run.Start());
    run.game.SetCurrentProfile(L"Fox");
    ZentaMainMenu& menu = run.Menu();
    EXPECT_EQ(EasyMode(), L"(none)");
    Click(menu.GetPlayButton());
    HLF::Dialog* dialog = menu.GetEasyModeDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetParent(), &menu);
    EXPECT_EQ(EasyMode(), L"false") << "the first read stores the default";
    for (HLF::Control* control : {menu.GetPlayButton(), menu.GetGalleryButton(), menu.GetOptionsButton(),
                                  menu.GetQuitButton(), menu.GetWelcomeLabel()}) {
      EXPECT_FALSE(control->IsEnabled());
    }
    EXPECT_EQ(menu.GetState(), HLF::MainMenu::MM_STATE_MENU);
    if (ok) {
      dialog->OnOk();
    } else {
      dialog->OnCancel();
    }
    EXPECT_EQ(menu.GetEasyModeDialog(), nullptr);
    EXPECT_EQ(EasyMode(), ok ? L"true" : L"false");
    run.game.Frame(16);
    EXPECT_EQ(menu.GetState(), ZentaMainMenu::ZENTAMM_STATE_MENUTOMAP);
    EXPECT_FALSE(menu.GetPlayButton()->IsEnabled());
    run.Frames(9);
    EXPECT_EQ(menu.GetState(), ZentaMainMenu::ZENTAMM_STATE_MENUTOMAP) << "the fade lasts 1000 ms";
    run.Frames(3);
    EXPECT_EQ(run.game.GetScript().GetState(), TheZentaScript::CS_STATE_MENU_SHOWMAP);
    EXPECT_EQ(run.game.LogCount(L"ZentaMainMenu::DoState() - ZENTAMM_STATE_LOADMAP"), 1);

    run.BackToMenu();
    Click(menu.GetPlayButton());
    EXPECT_EQ(menu.GetEasyModeDialog(), nullptr) << "asked once";
    run.game.Frame(16);
    EXPECT_EQ(menu.GetState(), ZentaMainMenu::ZENTAMM_STATE_MENUTOMAP);
    EXPECT_EQ(EasyMode(), ok ? L"true" : L"false");
  }
}

// Without a player Play opens the new-profile dialog; once it has made a
// player the easy-mode question follows.
TEST(ZentaMainMenuTest, PlayWithoutAPlayerMakesOneFirst) {
  MenuRun run;
  ASSERT_TRUE(run.Start());
  ZentaMainMenu& menu = run.Menu();
  Click(menu.GetPlayButton());
  HLF::Dialog* profileNew = menu.GetProfileNewDialog();
  ASSERT_NE(profileNew, nullptr);
  EXPECT_FALSE(menu.GetGalleryButton()->IsEnabled());
  // Cancel with no player: the menu is usable again, nothing more.
  profileNew->OnCancel();
  EXPECT_TRUE(menu.GetGalleryButton()->IsEnabled());
  EXPECT_EQ(menu.GetEasyModeDialog(), nullptr);

  Click(menu.GetPlayButton());
  profileNew = menu.GetProfileNewDialog();
  ASSERT_NE(profileNew, nullptr);
  auto* name = dynamic_cast<HLF::Edit*>(profileNew->GetChildByName(L"NameEdit"));
  ASSERT_NE(name, nullptr);
  name->SetText(L"Owl");
  profileNew->OnOk();
  EXPECT_EQ(run.game.GetCurrentProfileName(), L"Owl");
  ASSERT_NE(menu.GetEasyModeDialog(), nullptr);
  EXPECT_FALSE(menu.GetPlayButton()->IsEnabled());
}

// Quit: the columns go, screen and music fade for 1000 ms, then code 0
// once; clicks meanwhile do nothing.
TEST(ZentaMainMenuTest, QuitSendsItsCodeOnceAfterTheFade) {
  MenuRun run;
  ASSERT_TRUE(run.Start());
  run.game.SetCurrentProfile(L"Fox");
  ZentaMainMenu& menu = run.Menu();
  MessageRecorder recorder;
  recorder.Listen(&menu);
  Click(menu.GetQuitButton());
  run.game.Frame(16);
  EXPECT_EQ(menu.GetState(), HLF::MainMenu::MM_STATE_QUITING);
  EXPECT_FALSE(menu.GetQuitButton()->IsEnabled());
  Click(menu.GetPlayButton());
  Click(menu.GetQuitButton());
  EXPECT_EQ(menu.GetEasyModeDialog(), nullptr);
  run.Frames(9);
  const auto quits = [&] {
    int count = 0;
    for (const MessageRecorder::Entry& entry : recorder.Entries()) count += entry.code == 0 ? 1 : 0;
    return count;
  };
  EXPECT_EQ(quits(), 0);
  EXPECT_EQ(run.game.GetScript().GetState(), TheZentaScript::CS_STATE_SPLASHDONE);
  run.Frames(3);
  EXPECT_EQ(quits(), 1);
  EXPECT_EQ(run.game.GetScript().GetState(), TheZentaScript::CS_STATE_QUITGAME);
  run.Frames(20);
  EXPECT_EQ(quits(), 1);
  EXPECT_EQ(menu.GetColumnLeft()->GetPosition().x, -64) << "the columns went out";
  EXPECT_EQ(run.game.LogCount(L"ZentaMainMenu::DoState() - MM_STATE_QUITING"), 1);
  menu.RemoveReceiver(&recorder);
}

// During the fade towards the map Quit does nothing, and nothing is sent
// before the fade ends.
TEST(ZentaMainMenuTest, ClicksDuringTheFadeToTheMapDoNothing) {
  MenuRun run;
  ASSERT_TRUE(run.Start());
  run.game.SetCurrentProfile(L"Fox");
  ZentaLevelMap::SetEasyMode(false);
  ZentaMainMenu& menu = run.Menu();
  Click(menu.GetPlayButton());
  run.game.Frame(16);
  ASSERT_EQ(menu.GetState(), ZentaMainMenu::ZENTAMM_STATE_MENUTOMAP);
  Click(menu.GetQuitButton());
  Click(menu.GetOptionsButton());
  run.Frames(12);
  EXPECT_EQ(menu.GetOptionsDialog(), nullptr);
  EXPECT_EQ(run.game.LogCount(L"MM_STATE_QUITING"), 0);
  EXPECT_EQ(run.game.GetScript().GetState(), TheZentaScript::CS_STATE_MENU_SHOWMAP);
}

void RewriteFile(const std::string& path, const std::string& pattern, const std::string& replacement) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      << std::regex_replace(text.str(), std::regex(pattern), replacement);
}

// Sound behaviour where the menu would stay stuck: a load with failures
// builds the menu with a warning; without the scroll the buttons stand on
// the lower background and the menu opens at once.
TEST(ZentaMainMenuTest, AFaultyLoadOrLayoutStillOpensTheMenu) {
  {
    SCOPED_TRACE("a picture missing");
    MenuRun run;
    ASSERT_TRUE(run.Start(
        [](const std::string& folder) { fs::remove(folder + "/images/mainmenu/column_left.png"); }));
    EXPECT_EQ(run.game.LogCount(L"Warning: ZentaMainMenu - some of the menu's assets did not load"), 1);
    EXPECT_NE(run.Menu().GetScroll(), nullptr);
    EXPECT_TRUE(run.Menu().GetPlayButton()->IsEnabled());
  }
  {
    SCOPED_TRACE("no scroll and no logo in the layout");
    MenuRun run;
    ASSERT_TRUE(run.Start([](const std::string& folder) {
      RewriteFile(folder + "/scripts/dialogs/mainmenu.xml", "<staticimage name=\"(scroll|game_logo)\"[^>]*>",
                  "");
    }));
    ZentaMainMenu& menu = run.Menu();
    EXPECT_EQ(menu.GetScroll(), nullptr);
    EXPECT_EQ(menu.GetLogo(), nullptr);
    EXPECT_EQ(
        run.game.LogCount(L"Error: Can't create StaticImage from file scripts/dialogs/mainmenu.xml, section "
                          L"mainmenu, control name scroll"),
        1);
    EXPECT_EQ(run.game.LogCount(L"control name game_logo"), 1);
    EXPECT_EQ(menu.GetPlayButton()->GetParent(), static_cast<HLF::Control*>(menu.GetBackgroundBottom()));
    EXPECT_EQ(menu.GetState(), HLF::MainMenu::MM_STATE_MENU);
    EXPECT_TRUE(menu.GetPlayButton()->IsEnabled());
  }
}

}  // namespace
}  // namespace QmTest
