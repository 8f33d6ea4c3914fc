// The game's application object and its top-level script, run headless on a
// copy of the generated data folder: the splash, then the menu with its
// music; Play shows the showcase once the loader reports and Back returns
// to the menu; a failed load or a missing layout is logged and survived,
// and shutdown releases the script before the shell.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "TreeInput.h"
#include "app/AppWindow.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "dialogs/Dialog.h"
#include "flow/MarshMenu.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "model/Control.h"
#include "particles/Emitter.h"
#include "shell/SplashScreen.h"
#include "sound/SoundSystem.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "widgets/Progress.h"
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

// The showcase's screen in the game layer, or null.
HLF::Control* ScreenOf(const TheZentaScript& script) {
  return script.GetShowcase() ? script.GetShowcase()->GetScreen() : nullptr;
}

// The showcase's parts, found by their kind.
struct ShowcaseParts {
  HLF::StaticImage* title = nullptr;
  HLF::Emitter* emitter = nullptr;
};

ShowcaseParts FindParts(HLF::Control* showcase) {
  ShowcaseParts parts;
  for (int i = 0; showcase && i < showcase->GetChildsCount(); ++i) {
    HLF::Control* child = showcase->GetChild(i);
    if (child->GetName() == L"title") parts.title = dynamic_cast<HLF::StaticImage*>(child);
    if (auto* emitter = dynamic_cast<HLF::Emitter*>(child)) parts.emitter = emitter;
  }
  return parts;
}

void Click(HLF::Control* button) {
  ASSERT_NE(button, nullptr);
  static_cast<HLF::Button*>(button)->OnClick(LLF::Message());
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
  HLF::Control* picture = script.GetSplash()->GetImageControl();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetParent(), game.GetGameLayer());
  ASSERT_NE(script.GetMainMenu(), nullptr);
  EXPECT_EQ(script.GetMainMenu()->GetParent(), nullptr) << "not on screen before the splash is done";
  EXPECT_NE(script.GetMainMenu()->GetMusic(), nullptr);
  EXPECT_EQ(script.GetMainMenu()->GetMusic(), LLF::SoundSystem::GetInstance().GetMusic(L"menu_music"));

  ASSERT_TRUE(game.SkipToMenu());
  EXPECT_EQ(script.GetSplash(), nullptr);
  MarshMenu* menu = script.GetMainMenu();
  EXPECT_EQ(menu->GetParent(), game.GetGameLayer());
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 1) << "the splash picture has gone";
  for (HLF::Control* control :
       {menu->GetWelcomeLabel(), menu->GetPlayButton(), menu->GetOptionsButton(), menu->GetQuitButton()}) {
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetParent(), menu);
  }
  EXPECT_NE(menu->GetChildByName(L"background"), nullptr);
  EXPECT_EQ(static_cast<HLF::Label*>(menu->GetWelcomeLabel())->GetFullText(),
            L"Welcome! Click here to choose a player.");
  EXPECT_EQ(game.LogCount(L"MarshMenu::DoState() - MM_STATE_MENU"), 1);
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    EXPECT_EQ(line.find(L"Error"), std::wstring::npos) << LLF::WideToAnsi(line);
  }
}

TEST(TheZentaVoyageTest, TheShowcaseAppearsOnceTheGuiListsHaveLoaded) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(true));
  TheZentaScript& script = game.GetScript();
  ASSERT_TRUE(game.SkipToMenu());
  ASSERT_TRUE(game.PlayToShowcase());
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_MENU_SHOWMAP);
  EXPECT_EQ(game.LogCount(L"TheZentaScript::DoState() - CS_STATE_MENU_SHOWMAP"), 1);
  EXPECT_FALSE(script.GetMainMenu()->IsVisible());
  HLF::Control* showcase = ScreenOf(script);
  ASSERT_EQ(game.GetGameLayer()->GetChildsCount(), 2) << "the hidden menu and the showcase";
  EXPECT_EQ(game.GetGameLayer()->GetChild(1), showcase);
  EXPECT_EQ(showcase->GetName(), L"screen");
  EXPECT_NE(LLF::FontsManager::GetInstance().FindResource(L"Title28"), nullptr)
      << "the fonts' list loaded too";

  const ShowcaseParts parts = FindParts(showcase);
  ASSERT_NE(parts.title, nullptr);
  ASSERT_NE(parts.emitter, nullptr);
  EXPECT_EQ(parts.title->GetImage(), LLF::ImagesManager::GetInstance().FindResource(L"title"));
  EXPECT_NE(parts.title->GetImage(), nullptr);
  EXPECT_TRUE(parts.emitter->IsStarted());
  EXPECT_EQ(parts.title->GetAlpha(), 0) << "its start effect fades it in";

  for (int i = 0; i < 150; ++i) game.Frame(16);
  EXPECT_GT(parts.title->GetAlpha(), 0);
  EXPECT_FALSE(parts.emitter->GetParticleSystem().GetParticles().empty());
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    EXPECT_EQ(line.find(L"Error"), std::wstring::npos) << LLF::WideToAnsi(line);
    EXPECT_EQ(line.find(L"Warning"), std::wstring::npos) << LLF::WideToAnsi(line);
  }

  // Back returns to the menu, and Play shows the showcase again.
  Click(showcase->GetChildByName(L"Back"));
  ASSERT_TRUE(game.FramesUntil([&] { return script.GetShowcase() == nullptr; }));
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_MAP_SHOWMENU);
  EXPECT_TRUE(script.GetMainMenu()->IsVisible());
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 1);
  EXPECT_TRUE(script.GetMainMenu()->GetPlayButton()->IsEnabled());
  ASSERT_TRUE(game.PlayToShowcase());
  Click(script.GetMainMenu()->GetQuitButton());
  game.Frame(16);
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_QUITGAME);
}

TEST(TheZentaVoyageTest, AFailedLoadStillShowsTheShowcaseWithAWarning) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  fs::remove(folders.Program() + "/images/particle.png");
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(true));
  TheZentaScript& script = game.GetScript();
  ASSERT_TRUE(game.SkipToMenu());
  ASSERT_TRUE(game.PlayToShowcase());
  EXPECT_EQ(game.LogCount(L"Warning: Showcase - some of the assets did not load"), 1);
  const ShowcaseParts parts = FindParts(ScreenOf(script));
  ASSERT_NE(parts.title, nullptr);
  EXPECT_NE(parts.title->GetImage(), nullptr);
  ASSERT_NE(parts.emitter, nullptr);
  EXPECT_TRUE(parts.emitter->IsStarted());
}

TEST(TheZentaVoyageTest, AMissingLayoutIsLoggedAndTheMenuReturns) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  fs::remove(folders.Program() + "/scripts/dialogs/showcase.xml");
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(true));
  TheZentaScript& script = game.GetScript();
  ASSERT_TRUE(game.SkipToMenu());
  game.SetCurrentProfile(L"Fox");
  Click(script.GetMainMenu()->GetPlayButton());
  const std::wstring failure =
      L"Error: Can't create control from file scripts/dialogs/showcase.xml, section showcase, control name "
      L"screen";
  ASSERT_TRUE(game.FramesUntil([&] { return game.LogCount(failure) > 0; }));
  for (int i = 0; i < 10; ++i) game.Frame(16);
  EXPECT_EQ(game.LogCount(failure), 1) << "built once, not retried every frame";
  EXPECT_EQ(script.GetShowcase(), nullptr);
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_MAP_SHOWMENU);
  EXPECT_TRUE(script.GetMainMenu()->IsVisible());
}

TEST(TheZentaVoyageTest, ShutdownReleasesTheScriptBeforeTheShell) {
  // Stopped during the splash, and once the showcase is shown.
  for (const bool waitForShowcase : {false, true}) {
    SCOPED_TRACE(waitForShowcase ? "showcase shown" : "during the splash");
    TempFolders folders;
    CopyGeneratedData(folders.Program());
    HeadlessVoyage game(folders.Program());
    ASSERT_TRUE(game.Start(true));
    TheZentaScript& script = game.GetScript();
    if (waitForShowcase) {
      ASSERT_TRUE(game.SkipToMenu());
      ASSERT_TRUE(game.PlayToShowcase());
    }
    game.Stop();
    EXPECT_EQ(game.GetStateMachine(), nullptr);
    EXPECT_EQ(script.GetShowcase(), nullptr);
    EXPECT_EQ(script.GetSplash(), nullptr);
    EXPECT_EQ(script.GetMainMenu(), nullptr);
    EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResource(L"title"), nullptr);
    EXPECT_EQ(LLF::FontsManager::GetInstance().FindResource(L"Title28"), nullptr);
    EXPECT_TRUE(fs::exists(LLF::ToOsPath(game.GetConfigPath())));
    EXPECT_TRUE(fs::exists(LLF::ToOsPath(game.GetProfilesPath())));
  }
}

// The shell's own routing, as the window delivers a click: a move onto the
// point, the press and the release, then a frame.
void ClickAt(HeadlessVoyage& game, int x, int y) {
  for (const int code : {LLF::WMSG_MOUSE_MOVE, LLF::WMSG_BUTTON_DOWN, LLF::WMSG_BUTTON_UP}) {
    LLF::Message msg = TreeInput::WindowMessage(code, code == LLF::WMSG_MOUSE_MOVE ? 0 : 1, x, y);
    game.OnMessage(&msg);
  }
  game.Frame(16);
}

void KeyUp(HeadlessVoyage& game, int key) {
  LLF::Message msg = TreeInput::WindowMessage(LLF::WMSG_KEY_UP, key, 0, 0);
  game.OnMessage(&msg);
  game.Frame(16);
}

// The button "Dialog" opens the dialog over a screen whose own buttons are
// disabled meanwhile; Enter and Escape each give one result, logged, and
// the dialog is gone by the next frame. A second click while it is open
// opens nothing more.
TEST(TheZentaVoyageTest, TheShowcaseDialogGivesOneLoggedResultPerOpening) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(true));
  TheZentaScript& script = game.GetScript();
  ASSERT_TRUE(game.SkipToMenu());
  ASSERT_TRUE(game.PlayToShowcase());
  Showcase& showcase = *script.GetShowcase();
  HLF::Control* screen = showcase.GetScreen();
  auto* open = dynamic_cast<HLF::Button*>(screen->GetChildByName(L"Dialog"));
  auto* quit = dynamic_cast<HLF::Button*>(screen->GetChildByName(L"Quit"));
  ASSERT_NE(open, nullptr);
  ASSERT_NE(quit, nullptr);
  const LLF::Point centre(static_cast<int>(open->GetPosition().x) + open->GetSize().x / 2,
                          static_cast<int>(open->GetPosition().y) + open->GetSize().y / 2);

  struct Case {
    int key;
    const wchar_t* line;
  } cases[] = {{LLF::KEY_ENTER, L"Showcase - dialog result \"OK\""},
               {LLF::KEY_ESCAPE, L"Showcase - dialog result \"CANCEL\""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.line));
    ClickAt(game, centre.x, centre.y);
    HLF::Dialog* dialog = showcase.GetDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetParent(), screen);
    EXPECT_TRUE(dialog->IsFadeBackground());
    EXPECT_NE(dialog->GetImage(), nullptr) << "its frame";
    EXPECT_NE(dialog->GetOkButton(), nullptr);
    EXPECT_NE(dialog->GetCancelButton(), nullptr);
    EXPECT_FALSE(open->IsEnabled());
    EXPECT_FALSE(quit->IsEnabled());
    const int children = screen->GetChildsCount();
    ClickAt(game, centre.x, centre.y);  // past the dialog, onto the disabled button
    EXPECT_EQ(showcase.GetDialog(), dialog);
    EXPECT_EQ(screen->GetChildsCount(), children);

    KeyUp(game, c.key);
    EXPECT_EQ(game.LogCount(c.line), 1);
    EXPECT_EQ(showcase.GetDialog(), nullptr);
    EXPECT_EQ(screen->GetChildsCount(), children - 1) << "the dialog is gone";
    EXPECT_TRUE(open->IsEnabled());
    EXPECT_TRUE(quit->IsEnabled());
  }
  EXPECT_EQ(game.LogCount(L"Showcase - dialog result"), 2);
  EXPECT_EQ(game.LogCount(L"Error"), 0);
}

// The button "Widgets" opens the widgets' dialog with its list filled; the
// widgets' messages are logged one per line, the slider drives the gauge,
// and once the dialog is closed nothing more is heard from them.
TEST(TheZentaVoyageTest, TheWidgetsDialogLogsItsWidgetsMessages) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(true));
  TheZentaScript& script = game.GetScript();
  ASSERT_TRUE(game.SkipToMenu());
  ASSERT_TRUE(game.PlayToShowcase());
  Showcase& showcase = *script.GetShowcase();
  HLF::Control* open = showcase.GetScreen()->GetChildByName(L"Widgets");
  ASSERT_NE(open, nullptr);
  ClickAt(game, static_cast<int>(open->GetPosition().x) + 90, static_cast<int>(open->GetPosition().y) + 22);
  HLF::Dialog* dialog = showcase.GetDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(showcase.GetScreen()->GetChildByName(L"Dialog")->IsEnabled());
  auto* list = dynamic_cast<HLF::Listbox*>(dialog->GetChildByName(L"MooringList"));
  auto* gauge = dynamic_cast<HLF::Progress*>(dialog->GetChildByName(L"TideGauge"));
  HLF::Control* slider = dialog->GetChildByName(L"TideSlider");
  ASSERT_NE(list, nullptr);
  ASSERT_NE(gauge, nullptr);
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(list->GetItemsCount(), unsigned(Showcase::kMooringsCount));
  ASSERT_TRUE(game.FramesUntil([&] { return dialog->GetAlpha() == 255; })) << "shown";

  // The wheel towards the user over the slider raises it by the notches.
  const LLF::Vector2 at = dialog->GetPosition() + slider->GetPosition();
  LLF::Message wheel = TreeInput::WindowMessage(LLF::WMSG_WHEEL, -3, static_cast<int>(at.x) + 200,
                                                static_cast<int>(at.y) + 12);
  game.OnMessage(&wheel);
  game.Frame(16);
  EXPECT_EQ(game.LogCount(L"Showcase - widget \"TideSlider\" code 10 value 43 \"TideSlider\""), 1);
  EXPECT_EQ(gauge->GetValue(), 43.0f);
  EXPECT_EQ(gauge->GetText(), L"43 %");

  // Every list hears Down; the line carries the row's text.
  LLF::Message down = TreeInput::WindowMessage(LLF::WMSG_KEY_DOWN, LLF::KEY_DOWN, 0, 0);
  game.OnMessage(&down);
  game.Frame(16);
  EXPECT_EQ(game.LogCount(L"Showcase - widget \"MooringList\" code 10 value 0 \"Heron Reach\""), 1);
  EXPECT_EQ(game.LogCount(L"Showcase - widget"), 2) << "the controls' own codes are not logged";

  KeyUp(game, LLF::KEY_ENTER);
  EXPECT_EQ(game.LogCount(L"Showcase - dialog result \"OK\""), 1);
  EXPECT_EQ(showcase.GetDialog(), nullptr);
  EXPECT_TRUE(showcase.GetScreen()->GetChildByName(L"Dialog")->IsEnabled());
  game.OnMessage(&down);
  game.Frame(16);
  EXPECT_EQ(game.LogCount(L"Showcase - widget"), 2);
  EXPECT_EQ(game.LogCount(L"Error"), 0);
}

// A dialog layout that is missing: the click is logged as a failure and
// the screen stays usable.
TEST(TheZentaVoyageTest, AMissingDialogLayoutIsLoggedAndTheScreenStaysUsable) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  fs::remove(folders.Program() + "/scripts/dialogs/dlg_showcase.xml");
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start(true));
  TheZentaScript& script = game.GetScript();
  ASSERT_TRUE(game.SkipToMenu());
  ASSERT_TRUE(game.PlayToShowcase());
  Showcase& showcase = *script.GetShowcase();
  EXPECT_FALSE(showcase.OpenDialog());
  EXPECT_FALSE(showcase.OpenDialog());
  EXPECT_EQ(showcase.GetDialog(), nullptr);
  EXPECT_EQ(
      game.LogCount(L"Error: Can't create dialog from file scripts/dialogs/dlg_showcase.xml, section dialog"),
      2);
  ASSERT_NE(showcase.GetScreen(), nullptr);
  const HLF::Control* button = showcase.GetScreen()->GetChildByName(L"Dialog");
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->IsEnabled());
}

}  // namespace
}  // namespace QmTest
