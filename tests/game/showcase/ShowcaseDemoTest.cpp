// The showcase program's application object and script, run headless on
// the generated data with the showcase's own files laid over it: the
// showcase is shown at once once the loader reports, Back shows it afresh,
// a failed load or a missing layout is logged and survived, its dialogs
// give one logged result each, and shutdown releases the script before the
// shell.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "HeadlessShowcase.h"
#include "TempFolders.h"
#include "TreeInput.h"
#include "core/StringUtils.h"
#include "demo/ShowcaseData.h"
#include "devtools/Console.h"
#include "dialogs/Dialog.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "model/Control.h"
#include "particles/Emitter.h"
#include "widgets/Button.h"
#include "widgets/Listbox.h"
#include "widgets/Progress.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

// A program folder with the showcase's data, and the program on it.
struct ShowcaseRun {
  explicit ShowcaseRun(const char* removed = nullptr) : game(folders.Program()) {
    if (laid && removed) fs::remove(folders.Program() + "/" + removed);
  }

  TempFolders folders;
  bool laid = LayShowcaseData(folders.Program());
  HeadlessShowcase game;
};

TEST(ShowcaseDemoTest, NamesItselfAndItsUserFolderApartFromTheGame) {
  TempFolders folders;
  HeadlessShowcase game(folders.Program());
  EXPECT_EQ(game.GetName(), L"The Quillmarsh - Showcase");
  EXPECT_EQ(game.GetVendor(), L"Brenvik");
  EXPECT_EQ(LLF::ToOsPath(game.GetUserDataFolder()), folders.User() + "/Brenvik/The Quillmarsh - Showcase/");
}

// A generated folder without one of the parts the showcase reads gives no
// data folder, with the reason, and leaves nothing behind.
TEST(ShowcaseDemoTest, TheDataAreNotLaidWithoutEveryGeneratedPart) {
  TempFolders folders;
  const std::string generated = folders.Program() + "/generated";
  for (const char* part : {"scripts", "images", "fonts"}) fs::create_directories(generated + "/" + part);
  std::string error;
  EXPECT_FALSE(ShowcaseData::Lay(generated, folders.Program() + "/laid", &error));
  EXPECT_NE(error.find("no sounds folder"), std::string::npos) << error;

  const fs::path temp = fs::temp_directory_path();
  const auto count = [&] { return std::distance(fs::directory_iterator(temp), fs::directory_iterator()); };
  const auto before = count();
  ShowcaseData data(generated);
  EXPECT_TRUE(data.Folder().empty());
  EXPECT_NE(data.Error().find("no sounds folder"), std::string::npos) << data.Error();
  EXPECT_EQ(count(), before) << "its half-made folder is removed";
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

void ExpectNoErrorOrWarning() {
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    EXPECT_EQ(line.find(L"Error"), std::wstring::npos) << LLF::WideToAnsi(line);
    EXPECT_EQ(line.find(L"Warning"), std::wstring::npos) << LLF::WideToAnsi(line);
  }
}

TEST(ShowcaseDemoTest, TheShowcaseAppearsOnceTheGuiListsHaveLoaded) {
  ShowcaseRun run;
  ASSERT_TRUE(run.laid);
  HeadlessShowcase& game = run.game;
  ASSERT_TRUE(game.Start(true));
  ShowcaseScript& script = game.GetScript();
  EXPECT_EQ(game.GetStateMachine(), &script);
  EXPECT_EQ(game.LogCount(L"ShowcaseScript::DoState() - SC_STATE_SHOW"), 1);
  ASSERT_NE(script.GetShowcase(), nullptr) << "made at once";
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 0) << "built only once its lists are in";
  ASSERT_TRUE(game.UntilShown());
  HLF::Control* showcase = game.Screen();
  ASSERT_EQ(game.GetGameLayer()->GetChildsCount(), 1);
  EXPECT_EQ(game.GetGameLayer()->GetChild(0), showcase);
  EXPECT_EQ(showcase->GetName(), L"screen");
  EXPECT_NE(LLF::FontsManager::GetInstance().FindResource(L"ShowcaseMenu16"), nullptr)
      << "the fonts' list loaded too, with the showcase's own font";
  EXPECT_EQ(game.GetStringVar(L"gamename"), L"The Quillmarsh - Showcase") << "its own strings";

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
  ExpectNoErrorOrWarning();

  // Back: the showcase goes, and a fresh one with its lists loaded anew
  // takes its place.
  const Showcase* first = script.GetShowcase();
  Click(showcase->GetChildByName(L"Back"));
  EXPECT_EQ(game.LogCount(L"Showcase - Back pressed."), 1);
  game.Frame(16);
  EXPECT_EQ(game.LogCount(L"ShowcaseScript::DoState() - SC_STATE_BACK"), 1);
  EXPECT_EQ(script.GetState(), ShowcaseScript::SC_STATE_BACK);
  EXPECT_EQ(script.GetShowcase(), nullptr);
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 0);
  EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResource(L"title"), nullptr) << "its lists unloaded";
  ASSERT_TRUE(game.UntilShown());
  EXPECT_EQ(game.LogCount(L"ShowcaseScript::DoState() - SC_STATE_SHOW"), 2);
  EXPECT_NE(script.GetShowcase(), first);
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 1);
  EXPECT_NE(FindParts(game.Screen()).title->GetImage(), nullptr);

  Click(game.Screen()->GetChildByName(L"Quit"));
  EXPECT_EQ(game.LogCount(L"Showcase - Quit pressed."), 1);
  ExpectNoErrorOrWarning();
}

TEST(ShowcaseDemoTest, AFailedLoadStillShowsTheShowcaseWithAWarning) {
  ShowcaseRun run("images/particle.png");
  ASSERT_TRUE(run.laid);
  ASSERT_TRUE(run.game.Start(true));
  ASSERT_TRUE(run.game.UntilShown());
  EXPECT_EQ(run.game.LogCount(L"Warning: Showcase - some of the assets did not load"), 1);
  const ShowcaseParts parts = FindParts(run.game.Screen());
  ASSERT_NE(parts.title, nullptr);
  EXPECT_NE(parts.title->GetImage(), nullptr);
  ASSERT_NE(parts.emitter, nullptr);
  EXPECT_TRUE(parts.emitter->IsStarted());
}

// Without its layout the showcase is logged once and not tried again
// every frame; the screen stays empty and the program keeps running.
TEST(ShowcaseDemoTest, AMissingLayoutIsLoggedOnceAndNotRetried) {
  ShowcaseRun run("scripts/dialogs/showcase.xml");
  ASSERT_TRUE(run.laid);
  HeadlessShowcase& game = run.game;
  ASSERT_TRUE(game.Start(true));
  const std::wstring failure =
      L"Error: Can't create control from file scripts/dialogs/showcase.xml, section showcase, control name "
      L"screen";
  ASSERT_TRUE(game.FramesUntil([&] { return game.LogCount(failure) > 0; }));
  for (int i = 0; i < 10; ++i) game.Frame(16);
  EXPECT_EQ(game.LogCount(failure), 1) << "built once, not retried every frame";
  EXPECT_EQ(game.LogCount(L"ShowcaseScript::DoState() - SC_STATE_SHOW"), 1);
  EXPECT_EQ(game.GetScript().GetShowcase(), nullptr);
  EXPECT_EQ(game.GetScript().GetState(), ShowcaseScript::SC_STATE_BACK);
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 0);
}

TEST(ShowcaseDemoTest, ShutdownReleasesTheScriptBeforeTheShell) {
  // Stopped while the lists load, and once the showcase is shown.
  for (const bool waitForShowcase : {false, true}) {
    SCOPED_TRACE(waitForShowcase ? "showcase shown" : "while loading");
    ShowcaseRun run;
    ASSERT_TRUE(run.laid);
    HeadlessShowcase& game = run.game;
    ASSERT_TRUE(game.Start(true));
    if (waitForShowcase) {
      ASSERT_TRUE(game.UntilShown());
    }
    game.Stop();
    EXPECT_EQ(game.GetStateMachine(), nullptr);
    EXPECT_EQ(game.GetScript().GetShowcase(), nullptr);
    EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResource(L"title"), nullptr);
    EXPECT_EQ(LLF::FontsManager::GetInstance().FindResource(L"ShowcaseMenu16"), nullptr);
    EXPECT_TRUE(fs::exists(LLF::ToOsPath(game.GetConfigPath())));
    EXPECT_TRUE(fs::exists(LLF::ToOsPath(game.GetProfilesPath())));
  }
}

// The shell's own routing, as the window delivers a click: a move onto the
// point, the press and the release, then a frame.
void ClickAt(HeadlessShowcase& game, int x, int y) {
  for (const int code : {LLF::WMSG_MOUSE_MOVE, LLF::WMSG_BUTTON_DOWN, LLF::WMSG_BUTTON_UP}) {
    LLF::Message msg = TreeInput::WindowMessage(code, code == LLF::WMSG_MOUSE_MOVE ? 0 : 1, x, y);
    game.OnMessage(&msg);
  }
  game.Frame(16);
}

void KeyUp(HeadlessShowcase& game, int key) {
  LLF::Message msg = TreeInput::WindowMessage(LLF::WMSG_KEY_UP, key, 0, 0);
  game.OnMessage(&msg);
  game.Frame(16);
}

// The button "Dialog" opens the dialog over a screen whose own buttons are
// disabled meanwhile; Enter and Escape each give one result, logged, and
// the dialog is gone by the next frame. A second click while it is open
// opens nothing more.
TEST(ShowcaseDemoTest, TheShowcaseDialogGivesOneLoggedResultPerOpening) {
  ShowcaseRun run;
  ASSERT_TRUE(run.laid);
  HeadlessShowcase& game = run.game;
  ASSERT_TRUE(game.Start(true));
  ASSERT_TRUE(game.UntilShown());
  Showcase& showcase = *game.GetScript().GetShowcase();
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
TEST(ShowcaseDemoTest, TheWidgetsDialogLogsItsWidgetsMessages) {
  ShowcaseRun run;
  ASSERT_TRUE(run.laid);
  HeadlessShowcase& game = run.game;
  ASSERT_TRUE(game.Start(true));
  ASSERT_TRUE(game.UntilShown());
  Showcase& showcase = *game.GetScript().GetShowcase();
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
TEST(ShowcaseDemoTest, AMissingDialogLayoutIsLoggedAndTheScreenStaysUsable) {
  ShowcaseRun run("scripts/dialogs/dlg_showcase.xml");
  ASSERT_TRUE(run.laid);
  HeadlessShowcase& game = run.game;
  ASSERT_TRUE(game.Start(true));
  ASSERT_TRUE(game.UntilShown());
  Showcase& showcase = *game.GetScript().GetShowcase();
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
