// The game strings dialog over a strings file in a temporary game folder:
// adding, renaming, updating and deleting, each written to the file at once,
// and the slips that must not lose a string.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "core/Message.h"
#include "core/StringUtils.h"
#include "devtools/Editor.h"
#include "devtools/EditorDialogLayouts.h"
#include "devtools/EditorGameStringsDialog.h"
#include "dialogs/EnterNameDialog.h"
#include "dialogs/MessageDialog.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

using HLF::EditorGameStringsDialog;

class EditorGameStringsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders.WriteProgramFile("scripts/strings.xml",
                             "<game><vars><var name=\"title\" value=\"Zenta\" /><var name=\"language\" "
                             "value=\"english\" /><var name=\"greet\" value=\"Hello\" /></vars></game>");
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(HLF::Editor::GetInstance().Init());  // registers the editor's dialogs
    dialog = dynamic_cast<EditorGameStringsDialog*>(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
        HLF::EditorDialogLayouts[HLF::EDITOR_LAYOUT_GAME_STRINGS]));
    ASSERT_NE(dialog, nullptr);
    game.GetEditorLayer()->AddChild(dialog);
    list = dialog->GetStringsListbox();
    log = std::make_unique<QmTest::LogRecorder>();
  }

  // As the game delivers them: deletions wait for the safe point.
  void Click(HLF::Button* button) {
    {
      HLF::Control::DispatchScope scope;
      LLF::Message msg(button, HLF::BUTTON_MSG_CLICKED, 1, 0, 0, button->GetName());
      button->Send(&msg);
    }
    HLF::GameServices::DeleteDeferred();
  }
  void Answer(HLF::Dialog* asked, bool ok) {
    ASSERT_NE(asked, nullptr);
    {
      HLF::Control::DispatchScope scope;
      ok ? asked->OnOk() : asked->OnCancel();
    }
    HLF::GameServices::DeleteDeferred();
  }
  void AddName(const std::wstring& name) {
    Click(dialog->GetAddButton());
    HLF::EnterNameDialog* asked = dialog->GetNameDialog();
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->GetCaptionLabel()->GetText(), L"Enter new string ID:");
    asked->GetNameEdit()->SetText(name);
    Answer(asked, true);
  }
  void Select(const std::wstring& name) {
    for (unsigned i = 0; i < list->GetItemsCount(); ++i) {
      if (list->GetItem(static_cast<int>(i)) == name) list->SetSelected(static_cast<int>(i));
    }
    ASSERT_EQ(list->GetSelectedItem(), name);
  }
  // "name=value" of each var in the file, as the game would read it.
  std::vector<std::wstring> FileStrings() const {
    LLF::XmlDoc doc;
    EXPECT_TRUE(doc.LoadFromFile(LLF::FromOsPath(folders.Program() + "/scripts/strings.xml")));
    std::vector<std::wstring> pairs;
    LLF::XmlElement* vars = doc.GetRoot()->GetChildByPath(L"game/vars");
    for (int i = 0; vars && i < vars->GetChildsCount(); ++i) {
      LLF::XmlElement* var = vars->GetChild(i);
      pairs.push_back(var->GetAttribute(std::wstring(L"name"))->GetValue() + L"=" +
                      var->GetAttribute(std::wstring(L"value"))->GetValue());
    }
    return pairs;
  }
  std::vector<std::wstring> Items() const {
    std::vector<std::wstring> items;
    for (unsigned i = 0; i < list->GetItemsCount(); ++i) items.push_back(list->GetItem(static_cast<int>(i)));
    return items;
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
  EditorGameStringsDialog* dialog = nullptr;
  HLF::Listbox* list = nullptr;
  std::unique_ptr<QmTest::LogRecorder> log;
};

TEST_F(EditorGameStringsDialogTest, AddsNewIdsAndKeepsExistingOnes) {
  EXPECT_EQ(Items(), (std::vector<std::wstring>{L"title", L"language", L"greet"}));
  AddName(L"farewell");
  EXPECT_EQ(FileStrings(),
            (std::vector<std::wstring>{L"title=Zenta", L"language=english", L"greet=Hello", L"farewell="}));
  EXPECT_EQ(list->GetSelectedItem(), L"farewell");
  EXPECT_EQ(dialog->GetNameEdit()->GetText(), L"farewell");
  EXPECT_EQ(dialog->GetValueEdit()->GetText(), L"");

  // An ID that exists is selected and keeps its value (adding it again
  // would empty it).
  AddName(L"title");
  EXPECT_EQ(FileStrings()[0], L"title=Zenta");
  EXPECT_EQ(list->GetSelectedItem(), L"title");
  EXPECT_EQ(dialog->GetValueEdit()->GetText(), L"Zenta");
  EXPECT_EQ(log->Count(L"Warning: EditorGameStringsDialog - the string ID \"title\" exists already"), 1);
  EXPECT_EQ(list->GetItemsCount(), 4u);
}

TEST_F(EditorGameStringsDialogTest, UpdatesAndRenamesInPlaceButNeverOntoAnotherId) {
  Select(L"language");
  EXPECT_EQ(dialog->GetValueEdit()->GetText(), L"english");
  dialog->GetNameEdit()->SetText(L"lang");
  dialog->GetValueEdit()->SetText(L"french");
  Click(dialog->GetUpdateButton());
  EXPECT_EQ(FileStrings(), (std::vector<std::wstring>{L"title=Zenta", L"lang=french", L"greet=Hello"}));
  EXPECT_EQ(Items(), (std::vector<std::wstring>{L"title", L"lang", L"greet"}));

  // Onto an existing ID: refused, the file stays as it is.
  const std::string before = QmTest::ReadBytes(folders.Program() + "/scripts/strings.xml");
  dialog->GetNameEdit()->SetText(L"title");
  dialog->GetValueEdit()->SetText(L"x");
  Click(dialog->GetUpdateButton());
  EXPECT_EQ(QmTest::ReadBytes(folders.Program() + "/scripts/strings.xml"), before);
  EXPECT_EQ(log->Count(L"Warning: EditorGameStringsDialog - the string ID \"title\" exists already"), 1);

  // With an empty ID only the value changes.
  dialog->GetNameEdit()->SetText(L"");
  dialog->GetValueEdit()->SetText(L"German");
  Click(dialog->GetUpdateButton());
  EXPECT_EQ(FileStrings()[1], L"lang=German");
}

TEST_F(EditorGameStringsDialogTest, DeletesOnlyWhenConfirmedAndThenUpdatesNothing) {
  // Nothing selected: neither asks nor writes.
  Click(dialog->GetDelButton());
  EXPECT_EQ(dialog->GetConfirmDialog(), nullptr);

  Select(L"language");
  Click(dialog->GetDelButton());
  ASSERT_NE(dialog->GetConfirmDialog(), nullptr);
  EXPECT_EQ(dialog->GetConfirmDialog()->GetTextLabel()->GetText(), L"Delete \"language\" string?");
  Answer(dialog->GetConfirmDialog(), false);
  EXPECT_EQ(dialog->GetConfirmDialog(), nullptr);
  EXPECT_EQ(FileStrings().size(), 3u);

  Click(dialog->GetDelButton());
  Answer(dialog->GetConfirmDialog(), true);
  EXPECT_EQ(FileStrings(), (std::vector<std::wstring>{L"title=Zenta", L"greet=Hello"}));
  // The list's old position now names "greet": the selection and the
  // edits are cleared, so Update can't write "language"'s values over it.
  EXPECT_EQ(list->GetSelected(), -1);
  EXPECT_EQ(dialog->GetNameEdit()->GetText(), L"");
  EXPECT_EQ(dialog->GetValueEdit()->GetText(), L"");
  Click(dialog->GetUpdateButton());
  EXPECT_EQ(FileStrings(), (std::vector<std::wstring>{L"title=Zenta", L"greet=Hello"}));

  // Edits that belong to another string than the selected one: Update
  // leaves both alone.
  Select(L"title");
  dialog->GetNameEdit()->SetText(L"title");
  dialog->GetValueEdit()->SetText(L"changed");
  list->ClearItems();
  list->SetItems({L"greet", L"title"});  // the selection (0) now names greet, unreported
  Click(dialog->GetUpdateButton());
  EXPECT_EQ(FileStrings(), (std::vector<std::wstring>{L"title=Zenta", L"greet=Hello"}));
}

TEST_F(EditorGameStringsDialogTest, ALayoutWithoutItsControlsIsRefused) {
  EXPECT_EQ(
      HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
          L"<editorgamestringsdlg><label name=\"CaptionLabel\" /><listbox name=\"StringsListbox\" />"
          L"<label name=\"StringNameLabel\" /><button name=\"StringValueLabel\" /></editorgamestringsdlg>"),
      nullptr);
  EXPECT_EQ(
      log->Count(L"Error: EditorGameStringsDialog dialog must have control StringValueLabel of class Label."),
      1);
}

}  // namespace
