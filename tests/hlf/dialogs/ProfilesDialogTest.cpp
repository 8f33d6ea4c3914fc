// The players' dialog on the test shell: deleting through its confirmation
// (which row stays selected, who is current, what the files hold), Delete
// without a selected row, and sub-dialogs that cannot be opened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "core/StringUtils.h"
#include "dialogs/ProfilesDialog.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "widgets/Button.h"
#include "widgets/Listbox.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

using HLF::ProfilesDialog;

const char kConfirm[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<messagedlg><label name="TextLabel" /><button name="OkButton" /><button name="CancelButton" /></messagedlg>
)";

const char kNewProfile[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<profilenewdlg><label name="CaptionLabel" /><edit name="NameEdit" />
<label name="ErrorLabelEmpty" /><label name="ErrorLabelExists" />
<button name="OkButton" /><button name="CancelButton" /></profilenewdlg>
)";

std::wstring Layout(const std::wstring& subDialogs) {
  return L"<profilesdlg " + subDialogs +
         L"><listbox name=\"ProfilesListbox\" /><label name=\"TitleLabel\" />"
         L"<button name=\"CreateButton\" /><button name=\"DeleteButton\" />"
         L"<button name=\"OkButton\" /><button name=\"CancelButton\" /></profilesdlg>";
}

const wchar_t kBothSubDialogs[] =
    L"profileNewDlgFile=\"scripts/dialogs/new.xml\" profileNewDlgBranch=\"profilenewdlg\" "
    L"profileDelDlgFile=\"scripts/dialogs/del.xml\" profileDelDlgBranch=\"messagedlg\"";

// The profile names of a written "profiles.xml", in file order.
std::vector<std::wstring> NamesInFile(const std::string& path) {
  LLF::XmlDoc doc;
  std::vector<std::wstring> names;
  if (!doc.LoadFromFile(LLF::FromOsPath(path))) {
    names.push_back(L"(unreadable)");
    return names;
  }
  LLF::XmlElement* profiles = doc.GetRoot()->FindChild(L"profiles");
  for (int i = 0; profiles && i < profiles->GetChildsCount(); ++i) {
    if (const LLF::XmlAttribute* name = profiles->GetChild(i)->GetAttribute(std::wstring(L"name"))) {
      names.push_back(name->GetValue());
    }
  }
  return names;
}

// config/game currentProfile of a written "game.xml".
std::wstring CurrentInFile(const std::string& path) {
  LLF::XmlDoc doc;
  if (!doc.LoadFromFile(LLF::FromOsPath(path))) {
    return L"(unreadable)";
  }
  return doc.GetRoot()->GetAttribute(L"config/game", L"currentProfile", std::wstring(L"(none)")).GetValue();
}

std::vector<std::wstring> Items(const HLF::Listbox& list) {
  std::vector<std::wstring> items;
  for (int i = 0; i < static_cast<int>(list.GetItemsCount()); ++i) {
    items.push_back(list.GetItem(i));
  }
  return items;
}

// A started test shell with the given players (the current one last set)
// and a players' dialog open in its game layer.
struct ProfilesRun {
  ProfilesRun(const std::vector<std::wstring>& players, const std::wstring& current,
              const std::wstring& subDialogs = kBothSubDialogs)
      : game(folders) {
    folders.WriteProgramFile("scripts/dialogs/del.xml", kConfirm);
    folders.WriteProgramFile("scripts/dialogs/new.xml", kNewProfile);
    EXPECT_TRUE(game.Start());
    for (const std::wstring& player : players) {
      game.SetCurrentProfile(player);
    }
    game.SetCurrentProfile(current);
    dialog = dynamic_cast<ProfilesDialog*>(
        HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(Layout(subDialogs)));
    EXPECT_NE(dialog, nullptr);
    if (dialog) {
      game.GetGameLayer()->AddChild(dialog);
    }
  }

  HLF::Listbox& List() const { return *dialog->GetProfilesListbox(); }
  void ClickDelete() {
    dialog->GetDeleteButton()->OnClick(LLF::Message());
    HLF::GameServices::DeleteDeferred();
  }
  // Closes the open sub-dialog with OK or Cancel.
  void Answer(bool ok) {
    HLF::Dialog* sub = dialog->GetChildDialog();
    ASSERT_NE(sub, nullptr);
    ok ? sub->OnOk() : sub->OnCancel();
    HLF::GameServices::DeleteDeferred();
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game;
  ProfilesDialog* dialog = nullptr;  // owned by the game layer
};

TEST(ProfilesDialogTest, DeleteThroughTheConfirmation) {
  struct Case {
    const char* what;
    std::vector<std::wstring> players;
    std::wstring current;
    bool confirm;
    std::vector<std::wstring> left;
    std::wstring nowCurrent;
    int selected;
    bool deleteEnabled;
  } cases[] = {
      {"the last of three", {L"Ant", L"Bee", L"Cat"}, L"Cat", true, {L"Ant", L"Bee"}, L"Bee", 1, true},
      {"the first of three", {L"Ant", L"Bee", L"Cat"}, L"Ant", true, {L"Bee", L"Cat"}, L"Bee", 0, true},
      {"the middle of three", {L"Ant", L"Bee", L"Cat"}, L"Bee", true, {L"Ant", L"Cat"}, L"Cat", 1, true},
      {"the only one", {L"Ant"}, L"Ant", true, {}, L"", -1, false},
      {"a cancelled delete",
       {L"Ant", L"Bee", L"Cat"},
       L"Bee",
       false,
       {L"Ant", L"Bee", L"Cat"},
       L"Bee",
       1,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProfilesRun run(c.players, c.current);
    ASSERT_NE(run.dialog, nullptr);
    ASSERT_EQ(Items(run.List()), c.players);
    ASSERT_EQ(run.List().GetSelectedItem(), c.current) << "the current player is selected";
    ASSERT_TRUE(run.dialog->GetDeleteButton()->IsEnabled());

    run.ClickDelete();
    ASSERT_NE(run.dialog->GetChildDialog(), nullptr) << "the confirmation is open";
    EXPECT_EQ(run.game.FindProfile(c.current) != nullptr, true) << "nothing deleted before the answer";
    run.Answer(c.confirm);

    EXPECT_EQ(run.dialog->GetChildDialog(), nullptr);
    EXPECT_EQ(run.dialog->GetChildsCount(), 6) << "the confirmation is gone";
    EXPECT_EQ(Items(run.List()), c.left);
    EXPECT_EQ(run.List().GetSelected(), c.selected);
    if (c.selected >= 0) {
      EXPECT_EQ(run.List().GetSelectedItem(), c.nowCurrent);
    }
    EXPECT_EQ(run.game.GetCurrentProfileName(), c.nowCurrent);
    EXPECT_EQ(run.game.GetProfileNames(), c.left);
    EXPECT_EQ(run.dialog->GetDeleteButton()->IsEnabled(), c.deleteEnabled);
    EXPECT_EQ(NamesInFile(run.game.UserFolder() + "profiles.xml"), c.left);
    EXPECT_EQ(CurrentInFile(run.game.UserFolder() + "game.xml"), c.nowCurrent);
  }
}

// Profiles in the file but none current: no row is selected, so Delete is
// disabled and a click that still arrives opens nothing.
TEST(ProfilesDialogTest, DeleteDoesNothingWithoutASelectedRow) {
  ProfilesRun run({L"Ant", L"Bee"}, L"");
  ASSERT_NE(run.dialog, nullptr);
  EXPECT_EQ(Items(run.List()), (std::vector<std::wstring>{L"Ant", L"Bee"}));
  EXPECT_EQ(run.List().GetSelected(), -1);
  EXPECT_FALSE(run.dialog->GetDeleteButton()->IsEnabled());
  LLF::Message click(run.dialog->GetDeleteButton(), HLF::BUTTON_MSG_CLICKED, 0, 0, 0, L"DeleteButton");
  EXPECT_TRUE(run.dialog->OnMessage(&click));
  EXPECT_EQ(run.dialog->GetChildDialog(), nullptr);
  EXPECT_EQ(run.game.GetProfileNames(), (std::vector<std::wstring>{L"Ant", L"Bee"}));

  // Picking a row makes it current and enables Delete.
  run.List().SetSelected(1);
  EXPECT_EQ(run.game.GetCurrentProfileName(), L"Bee");
  EXPECT_TRUE(run.dialog->GetDeleteButton()->IsEnabled());
}

TEST(ProfilesDialogTest, SubDialogsThatCannotBeOpened) {
  struct Case {
    const char* what;
    std::wstring subDialogs;
    bool create;  // Create clicked, else Delete
    const wchar_t* line;
  } cases[] = {
      {"no new-player attributes", L"profileDelDlgFile=\"x\" profileDelDlgBranch=\"y\"", true,
       L"Error: Profiles dialog should include profileNewDlgFile and profileNewDlgBranch attributes."},
      {"an empty delete branch", L"profileDelDlgFile=\"scripts/dialogs/del.xml\" profileDelDlgBranch=\"\"",
       false,
       L"Error: Profiles dialog should include profileDelDlgFile and _profileDelDlgBranch attributes."},
      {"a missing file",
       L"profileNewDlgFile=\"scripts/dialogs/none.xml\" profileNewDlgBranch=\"profilenewdlg\"", true,
       L"Error: ProfilesDialog - can't create a dialog from file scripts/dialogs/none.xml, branch "
       L"profilenewdlg."},
      {"a branch the file lacks",
       L"profileDelDlgFile=\"scripts/dialogs/del.xml\" profileDelDlgBranch=\"confirmdlg\"", false,
       L"Error: ProfilesDialog - can't create a dialog from file scripts/dialogs/del.xml, branch "
       L"confirmdlg."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProfilesRun run({L"Ant", L"Bee"}, L"Bee", c.subDialogs);
    ASSERT_NE(run.dialog, nullptr);
    QmTest::LogRecorder log;
    HLF::Button* button = c.create ? run.dialog->GetCreateButton() : run.dialog->GetDeleteButton();
    button->OnClick(LLF::Message());
    EXPECT_EQ(log.Count(c.line), 1);
    EXPECT_EQ(run.dialog->GetChildDialog(), nullptr);
    EXPECT_EQ(run.dialog->GetChildsCount(), 6);
    // Still usable: a pick changes the current player.
    run.List().SetSelected(0);
    EXPECT_EQ(run.game.GetCurrentProfileName(), L"Ant");
  }
}

}  // namespace
