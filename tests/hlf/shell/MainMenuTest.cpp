// The main-menu base on the test shell: its controls from the layout, the
// welcome text, the dialogs it opens and their results, and what it does
// with messages before it works.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "dialogs/Dialog.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "modifiers/Blinker.h"
#include "shell/MainMenu.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

namespace {

using HLF::Dialog;
using HLF::MainMenu;

const char kStrings[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<game><vars>
<var name="mainmenu_label_welcome" value="Who plays?" />
<var name="mainmenu_label_welcome_front" value="Hello, " />
<var name="mainmenu_label_welcome_end" value="!" />
</vars></game>
)";

const char kLayout[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<mainmenu>
<label name="welcome_label" size="300,20" />
<button name="play_button" />
<button name="options_button" />
<button name="quit_button" />
</mainmenu>
)";

std::string DialogFile(const std::string& tag) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + tag +
         "><button name=\"OkButton\" /><button name=\"CancelButton\" /></" + tag + ">\n";
}

// A plain dialog under the element name of one of the menu's dialogs: what
// the menu does needs no more than the dialog base.
class TaggedDialog : public Dialog {
 public:
  explicit TaggedDialog(const std::wstring& tag) { _tag = tag; }
  HLF::Control* CreateInstance() const override { return new TaggedDialog(_tag); }
};

// A menu that counts its Play calls.
class CountingMenu : public MainMenu {
 public:
  using MainMenu::MainMenu;
  bool Play() override {
    ++plays;
    return true;
  }
  int plays = 0;
};

// A started test shell with the layouts, and a menu in its game layer that
// has built its controls and works (state 1).
struct MenuRun {
  explicit MenuRun(bool working = true) : game(folders) {
    folders.WriteProgramFile("scripts/strings.xml", kStrings);
    folders.WriteProgramFile("scripts/dialogs/mainmenu.xml", kLayout);
    folders.WriteProgramFile("scripts/dialogs/dlg_options.xml", DialogFile("optionsdlg"));
    folders.WriteProgramFile("scripts/dialogs/dlg_profiles.xml", DialogFile("profilesdlg"));
    folders.WriteProgramFile("scripts/dialogs/dlg_profilenewmm.xml", DialogFile("profilenewdlg"));
    EXPECT_TRUE(game.Start());
    for (const wchar_t* tag : {L"optionsdlg", L"profilesdlg", L"profilenewdlg"}) {
      HLF::ControlFactory::GetInstance().Register(new TaggedDialog(tag));
    }
    menu = new CountingMenu(&recorder);
    game.GetGameLayer()->AddChild(menu);
    menu->SetState(MainMenu::MM_STATE_INIT);
    if (working) menu->SetState(MainMenu::MM_STATE_MENU);
  }

  void Click(HLF::Control* button) {
    static_cast<HLF::Button*>(button)->OnClick(LLF::Message());
    HLF::GameServices::DeleteDeferred();
  }
  void Close(Dialog* dialog, bool ok) {
    ok ? dialog->OnOk() : dialog->OnCancel();
    HLF::GameServices::DeleteDeferred();
  }
  std::wstring Welcome() const { return static_cast<HLF::Label*>(menu->GetWelcomeLabel())->GetFullText(); }
  // Which of label, Play, Options, Quit are enabled, as "1111".
  std::string Enabled() const {
    std::string flags;
    for (HLF::Control* c :
         {menu->GetWelcomeLabel(), menu->GetPlayButton(), menu->GetOptionsButton(), menu->GetQuitButton()}) {
      flags += c->IsEnabled() ? '1' : '0';
    }
    return flags;
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game;
  QmTest::MessageRecorder recorder;
  CountingMenu* menu = nullptr;  // owned by the game layer
};

TEST(MainMenuTest, BuildsItsControlsAndGreetsThePlayer) {
  MenuRun run;
  ASSERT_NE(run.menu->GetWelcomeLabel(), nullptr);
  EXPECT_EQ(run.menu->GetWelcomeLabel()->GetName(), L"welcome_label");
  EXPECT_EQ(run.menu->GetQuitButton()->GetName(), L"quit_button");
  EXPECT_FALSE(run.menu->IsRenderable());
  EXPECT_EQ(run.menu->GetPlayButton()->GetParent(), nullptr) << "the base places nothing";
  bool clear = false;
  LLF::Color color;
  run.game.GetClearSettings(clear, color);
  EXPECT_TRUE(clear);
  EXPECT_EQ(color, LLF::Color(255, 255, 255, 255));

  struct Case {
    std::wstring profile;
    std::wstring greeting;
  } cases[] = {
      {L"", L"Who plays?"},
      {L"Anna", L"Hello, ANNA!"},
      {L"\u00e9lan", L"Hello, \u00c9LAN!"},
      {L"stra\u00dfe x\u0101", L"Hello, STRA\u00dfE X\u0100!"},
  };
  for (const Case& c : cases) {
    run.game.SetCurrentProfile(c.profile);
    run.menu->UpdateWelcomeLabel();
    EXPECT_EQ(run.Welcome(), c.greeting);
  }
  EXPECT_EQ(run.game.GetCurrentProfileName(), L"stra\u00dfe x\u0101") << "the stored name is kept";
}

TEST(MainMenuTest, MessagesAndDialogs) {
  {
    SCOPED_TRACE("Play without a player opens the new-player dialog; Cancel only re-enables");
    MenuRun run;
    run.Click(run.menu->GetPlayButton());
    Dialog* dialog = run.menu->GetProfileNewDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetParent(), run.menu);
    EXPECT_EQ(run.Enabled(), "0000");
    run.Close(dialog, false);
    EXPECT_EQ(run.menu->GetProfileNewDialog(), nullptr);
    EXPECT_EQ(run.menu->GetChildsCount(), 0);
    EXPECT_EQ(run.Enabled(), "1111");
    EXPECT_EQ(run.menu->plays, 0);
  }
  {
    SCOPED_TRACE("a player made in the dialog: greeted, then Play");
    MenuRun run;
    run.Click(run.menu->GetPlayButton());
    run.game.SetCurrentProfile(L"Fox");
    run.Close(run.menu->GetProfileNewDialog(), true);
    EXPECT_EQ(run.menu->plays, 1);
    EXPECT_EQ(run.Welcome(), L"Hello, FOX!");
    run.Click(run.menu->GetPlayButton());
    EXPECT_EQ(run.menu->plays, 2) << "with a player, Play plays";
    EXPECT_EQ(run.menu->GetProfileNewDialog(), nullptr);
  }
  {
    SCOPED_TRACE("Options twice: one dialog, which blinks");
    MenuRun run;
    run.Click(run.menu->GetOptionsButton());
    Dialog* options = run.menu->GetOptionsDialog();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetModifiersCount(), 0);
    // The options button is disabled now; a second click reaches the menu
    // only as a message, as from a key or another way in.
    LLF::Message again(run.menu->GetOptionsButton(), HLF::BUTTON_MSG_CLICKED, 0, 0, 0, L"options_button");
    EXPECT_TRUE(run.menu->HandleMessage(&again));
    EXPECT_EQ(run.menu->GetOptionsDialog(), options);
    EXPECT_EQ(run.menu->GetChildsCount(), 1);
    ASSERT_EQ(options->GetModifiersCount(), 1);
    auto* blinker = dynamic_cast<HLF::Blinker*>(options->GetModifier(0));
    ASSERT_NE(blinker, nullptr);
    EXPECT_EQ(blinker->GetDuration(), 400u);
    EXPECT_EQ(blinker->GetBlinksCount(), 4);
    EXPECT_EQ(blinker->GetType(), HLF::Blinker::ALPHA);
    uint8_t a1 = 0, a2 = 0;
    blinker->GetAlphas(a1, a2);
    EXPECT_EQ(a1, 127);
    EXPECT_EQ(a2, 255);
    run.Close(options, true);
    EXPECT_EQ(run.menu->GetOptionsDialog(), nullptr);
    EXPECT_EQ(run.Enabled(), "1111");
  }
  {
    SCOPED_TRACE("the welcome label opens the players; closing shows the new player");
    MenuRun run;
    static_cast<HLF::Label*>(run.menu->GetWelcomeLabel())->OnMouseDown(LLF::Message());
    static_cast<HLF::Label*>(run.menu->GetWelcomeLabel())->OnMouseUp(LLF::Message());
    Dialog* profiles = run.menu->GetProfilesDialog();
    ASSERT_NE(profiles, nullptr);
    EXPECT_EQ(run.Enabled(), "0000");
    run.game.SetCurrentProfile(L"Owl");
    run.Close(profiles, false);
    EXPECT_EQ(run.Welcome(), L"Hello, OWL!");
    EXPECT_EQ(run.Enabled(), "1111");
  }
  {
    SCOPED_TRACE("Quit sends code 0");
    MenuRun run;
    run.Click(run.menu->GetQuitButton());
    EXPECT_EQ(run.recorder.Codes({0}).size(), 1u);
  }
  {
    SCOPED_TRACE("messages before the menu works are ignored");
    MenuRun run(false);
    run.recorder.Clear();
    for (HLF::Control* c :
         {run.menu->GetPlayButton(), run.menu->GetOptionsButton(), run.menu->GetQuitButton()}) {
      LLF::Message click(c, HLF::BUTTON_MSG_CLICKED, 0, 0, 0, c->GetName());
      EXPECT_FALSE(run.menu->HandleMessage(&click));
    }
    EXPECT_EQ(run.menu->GetChildsCount(), 0);
    EXPECT_TRUE(run.recorder.Codes({0}).empty());
  }
}

TEST(MainMenuTest, LayoutsThatCannotBeBuilt) {
  {
    SCOPED_TRACE("a dialog file that is missing or holds no dialog");
    MenuRun run;
    std::filesystem::remove(run.folders.Program() + "/scripts/dialogs/dlg_options.xml");
    run.folders.WriteProgramFile("scripts/dialogs/dlg_profiles.xml",
                                 "<?xml version=\"1.0\"?>\n<profiles><label name=\"x\" /></profiles>\n");
    QmTest::LogRecorder log;
    EXPECT_FALSE(run.menu->OpenOptionsDialog());
    EXPECT_FALSE(run.menu->OpenProfilesDialog());
    EXPECT_EQ(
        log.Count(L"Error: Can't create OptionsDialog from file scripts/dialogs/dlg_options.xml, section "
                  L"optionsdlg."),
        1);
    EXPECT_EQ(log.Count(L"Error: Can't create ProfilesDialog from file scripts/dialogs/dlg_profiles.xml, "
                        L"section profilesdlg."),
              1);
    EXPECT_EQ(run.Enabled(), "1111") << "the menu stays usable";
    EXPECT_EQ(run.menu->GetChildsCount(), 0);
  }
  {
    SCOPED_TRACE("a control missing from the menu's layout");
    QmTest::TempFolders folders;
    folders.WriteProgramFile("scripts/dialogs/mainmenu.xml",
                             "<?xml version=\"1.0\"?>\n<mainmenu><label name=\"welcome_label\" />"
                             "<label name=\"play_button\" /><button name=\"quit_button\" /></mainmenu>\n");
    QmTest::TestGame game(folders);
    ASSERT_TRUE(game.Start());
    QmTest::LogRecorder log;
    MainMenu menu(nullptr);
    EXPECT_FALSE(menu.CreateControls());
    EXPECT_EQ(
        log.Count(L"Error: Can't create Button from file scripts/dialogs/mainmenu.xml, section mainmenu, "
                  L"control name play_button"),
        1);
    EXPECT_NE(menu.GetWelcomeLabel(), nullptr);
    EXPECT_EQ(menu.GetPlayButton(), nullptr);
    EXPECT_EQ(menu.GetQuitButton(), nullptr) << "the controls after it are not made";
    menu.SetControlsEnabled(false);
    EXPECT_FALSE(menu.GetWelcomeLabel()->IsEnabled());
  }
}

}  // namespace
