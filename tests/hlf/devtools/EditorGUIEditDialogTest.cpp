// The GUI layout editor in a temporary game folder: layouts loaded into the
// workspace and saved back without losing what is no control, the menus
// driven by right clicks, the property sheet, and the files it will not
// write over.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestEnv.h"
#include "TestGame.h"
#include "core/Message.h"
#include "core/StringUtils.h"
#include "devtools/Editor.h"
#include "devtools/EditorDialogLayouts.h"
#include "devtools/EditorGUIEditDialog.h"
#include "dialogs/FileDialog.h"
#include "dialogs/MessageDialog.h"
#include "io/TextFile.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "model/XmlDocEx.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Listbox.h"
#include "widgets/Scroll.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

using HLF::Control;
using HLF::EditorGUIEditDialog;

// A layout with what a developer's file holds besides controls.
const char kLayout[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<!-- the story's pages -->\r\n"
    "<game>\r\n"
    "  <vars><var name=\"left\" value=\"40\" /><include file=\"scripts/strings.xml\" path=\"game/vars\" "
    "/></vars>\r\n"
    "  <label name=\"hint\" pos=\"10,20\" size=\"200,30\" visible=\"false\" text=\"#left;\" />\r\n"
    "  <!-- day one -->\r\n"
    "  <day1><label name=\"line\" pos=\"1,2\" /></day1>\r\n"
    "  <listbox name=\"levels\" pos=\"300,40\" size=\"200,150\" />\r\n"
    "  <dialog name=\"box\" pos=\"50,300\" size=\"300,200\">\r\n"
    "    <button name=\"ok\" pos=\"#left;,150\" size=\"80,30\" text=\"OK\" />\r\n"
    "  </dialog>\r\n"
    "</game>\r\n";

class EditorGUIEditDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.Start());
    HLF::Editor::GetInstance().Open();  // workspace elements count as shown while it is open
    ASSERT_TRUE(HLF::Editor::GetInstance().IsOpen());
    editor = dynamic_cast<EditorGUIEditDialog*>(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
        HLF::EditorDialogLayouts[HLF::EDITOR_LAYOUT_GUI_EDITOR]));
    ASSERT_NE(editor, nullptr);
    game.GetEditorLayer()->AddChild(editor);
    log = std::make_unique<QmTest::LogRecorder>();
  }
  void TearDown() override { HLF::GameServices::DeleteDeferred(); }

  static void Deliver(const std::function<void()>& what) {
    {
      Control::DispatchScope scope;
      what();
    }
    HLF::GameServices::DeleteDeferred();
  }
  static void Emit(LLF::MessageSender* sender, int code, int param = 1, int x = 0, int y = 0) {
    Deliver([&] {
      LLF::Message msg(sender, code, param, x, y, std::wstring());
      sender->Send(&msg);
    });
  }
  static void Click(Control* button) {
    ASSERT_NE(button, nullptr);
    Emit(button, HLF::BUTTON_MSG_CLICKED);
  }
  // A right click in the control's top-left corner, offset by (dx, dy).
  static void RightClick(Control* control, int dx = 5, int dy = 5) {
    ASSERT_NE(control, nullptr);
    const LLF::Vector2 at = control->GetAbsolutePosition();
    Emit(control, HLF::CTRL_MSG_CLICK, 2, static_cast<int>(at.x) + dx, static_cast<int>(at.y) + dy);
  }
  void Menu(const wchar_t* item) {
    ASSERT_NE(editor->GetWorkspaceMenu(), nullptr);
    Click(editor->GetWorkspaceMenu()->GetChildByName(item));
  }
  void AddFromMenu(const std::wstring& tag) {
    ASSERT_NE(editor->GetAddMenu(), nullptr);
    auto* list = dynamic_cast<HLF::Listbox*>(editor->GetAddMenu()->GetChildByName(L"CTRLSLIST"));
    ASSERT_NE(list, nullptr);
    for (unsigned i = 0; i < list->GetItemsCount(); ++i) {
      if (list->GetItem(static_cast<int>(i)) == tag) list->SetSelected(static_cast<int>(i));
    }
    ASSERT_EQ(list->GetSelectedItem(), tag);
    Emit(list, HLF::LISTBOX_MSG_DOUBLE_CLICK);
  }
  void SaveThroughDialog(const std::wstring& name) {
    RightClick(editor->GetWorkspace());
    Menu(L"SAVE");
    HLF::FileDialog* dialog = editor->GetFileDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->GetNameEdit()->SetText(name);
    Deliver([&] { dialog->OnOk(); });
  }
  Control* Element(const std::wstring& name) const {
    return editor->GetWorkspace() ? editor->GetWorkspace()->FindChild(Control::kWorkspaceMarker + name)
                                  : nullptr;
  }
  std::string Path(const std::string& relative) const { return folders.Program() + "/" + relative; }
  std::string Read(const std::string& relative) const { return QmTest::ReadBytes(Path(relative)); }
  // The saved file's top-level children: element names, "#" for comments.
  std::vector<std::wstring> TopLevel(const std::string& relative) const {
    LLF::XmlDoc doc;
    EXPECT_TRUE(doc.LoadFromFile(LLF::FromOsPath(Path(relative))));
    std::vector<std::wstring> names;
    LLF::XmlElement* root = doc.GetRoot()->GetChildByPath(L"game");
    for (int i = 0; root && i < root->GetChildsCount(); ++i) {
      LLF::XmlElement* child = root->GetChild(i);
      const LLF::XmlAttribute* name = child->GetAttribute(std::wstring(L"name"));
      names.push_back(child->IsComment() ? L"#" : child->GetName() + (name ? L":" + name->GetValue() : L""));
    }
    return names;
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
  EditorGUIEditDialog* editor = nullptr;
  std::unique_ptr<QmTest::LogRecorder> log;
};

TEST_F(EditorGUIEditDialogTest, ALayoutRoundTripsWithEverythingThatIsNoControl) {
  folders.WriteProgramFile("layouts/story.xml", kLayout);
  // Through the panel: Load, the chooser's OK with a path typed with '\'.
  Click(editor->GetLoadButton());
  HLF::FileDialog* chooser = editor->GetFileDialog();
  ASSERT_NE(chooser, nullptr);
  chooser->GetNameEdit()->SetText(L"layouts\\story.xml");
  Deliver([&] { chooser->OnOk(); });
  ASSERT_NE(editor->GetWorkspace(), nullptr);
  EXPECT_FALSE(editor->IsVisible());
  EXPECT_EQ(editor->GetWorkspace()->GetChildsCount(), 3);
  EXPECT_EQ(log->Count(L"<day1> in layouts\\story.xml is no control; it is kept"), 1);
  EXPECT_EQ(log->Count(L"a comment in layouts\\story.xml is no control; it is kept"), 1);
  // The number can't keep the variable; the text can.
  EXPECT_EQ(log->Count(L"pos=\"#left;,150\" of <button name=\"ok\"> refers to a variable"), 1);
  EXPECT_EQ(log->Count(L"refers to a variable"), 1);

  // Elements shown whatever their flags; the list's bar keeps its name.
  Control* hint = Element(L"hint");
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(hint->IsVisible());
  auto* levels = dynamic_cast<HLF::Listbox*>(Element(L"levels"));
  ASSERT_NE(levels, nullptr);
  EXPECT_EQ(levels->GetScroll()->GetName(), L"LISTSCROLL");
  ASSERT_NE(Element(L"ok"), nullptr);

  // A right click on the bar opens no menu.
  RightClick(levels->GetScroll());
  EXPECT_EQ(editor->GetWorkspaceMenu(), nullptr);

  SaveThroughDialog(L"layouts/out.xml");
  const std::string saved = Read("layouts/out.xml");
  EXPECT_EQ(saved.rfind(QmTest::kUtf8Bom + "<!--", 0), 0u) << saved;
  EXPECT_EQ(saved.find("<?xml"), std::string::npos);
  EXPECT_EQ(saved.find("WSELEMENT_"), std::string::npos);
  EXPECT_EQ(saved.find("LISTSCROLL"), std::string::npos);
  EXPECT_EQ(saved.find("WORKSPACE"), std::string::npos);
  EXPECT_NE(saved.find("visible=\"false\""), std::string::npos);
  EXPECT_NE(saved.find("text=\"#left;\""), std::string::npos);
  // In their places; the file's own vars as it was, no second include.
  EXPECT_EQ(TopLevel("layouts/out.xml"), (std::vector<std::wstring>{L"vars", L"label:hint", L"#", L"day1",
                                                                    L"listbox:levels", L"dialog:box"}));
  EXPECT_NE(saved.find("<var name=\"left\" value=\"40\" />"), std::string::npos);
  EXPECT_EQ(saved.find("include"), saved.rfind("include"));

  // The game reads the saved layout: the hidden label where it was, with
  // its text from the file's variable.
  std::unique_ptr<Control> label(
      HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(L"layouts/out.xml", L"game", L"hint"));
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(label->IsVisible());
  EXPECT_EQ(label->GetPosition(), LLF::Vector2(10.0f, 20.0f));
  std::unique_ptr<LLF::XmlElement> element(label->SaveToXml());
  EXPECT_EQ(element->GetAttribute(std::wstring(L"text"))->GetValue(), L"40");

  // Without vars of its own the file gets the include of the game's
  // strings, last.
  folders.WriteProgramFile("layouts/plain.xml", "<game><label name=\"a\" /></game>");
  ASSERT_TRUE(editor->LoadLayout(L"layouts/plain.xml"));
  ASSERT_TRUE(editor->SaveLayout(L"layouts/plain.xml"));
  EXPECT_EQ(TopLevel("layouts/plain.xml"), (std::vector<std::wstring>{L"label:a", L"vars"}));
  EXPECT_NE(Read("layouts/plain.xml").find("<include file=\"scripts/strings.xml\" path=\"game/vars\" />"),
            std::string::npos);
}

TEST_F(EditorGUIEditDialogTest, AFileThatIsNoGameLayoutLeavesAnEmptyWorkspace) {
  folders.WriteProgramFile("dlg.xml", "<dialog name=\"d\"><label name=\"x\" /></dialog>");
  EXPECT_FALSE(editor->LoadLayout(L"dlg.xml"));
  EXPECT_EQ(log->Count(L"Error: GUI files should start with game element in the root."), 1);
  ASSERT_NE(editor->GetWorkspace(), nullptr);
  EXPECT_EQ(editor->GetWorkspace()->GetChildsCount(), 0);
  EXPECT_FALSE(editor->IsVisible());
  EXPECT_FALSE(editor->LoadLayout(L"missing.xml"));
  EXPECT_EQ(log->Count(L"Error: GUI files should start with game element in the root."), 2);

  // Right click, Exit: back to the panel.
  RightClick(editor->GetWorkspace());
  ASSERT_NE(editor->GetWorkspaceMenu(), nullptr);
  EXPECT_NE(editor->GetWorkspaceMenu()->GetChildByName(L"SAVE"), nullptr);
  Menu(L"EXIT");
  EXPECT_EQ(editor->GetWorkspace(), nullptr);
  EXPECT_TRUE(editor->IsVisible());
  EXPECT_EQ(game.GetEditorLayer()->IndexOfChild(editor), game.GetEditorLayer()->GetChildsCount() - 1);
}

TEST_F(EditorGUIEditDialogTest, ControlsAreAddedRenamedInTheSheetAndSavedWithoutPanels) {
  Click(editor->GetNewButton());
  ASSERT_NE(editor->GetWorkspace(), nullptr);
  EXPECT_FALSE(editor->IsVisible());

  RightClick(editor->GetWorkspace(), 40, 60);
  Menu(L"ADD");
  EXPECT_EQ(editor->GetWorkspaceMenu(), nullptr);
  AddFromMenu(L"label");
  EXPECT_EQ(editor->GetAddMenu(), nullptr);
  Control* label = editor->GetWorkspace()->GetChildByName(Control::kWorkspaceMarker);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetPosition(), LLF::Vector2(40.0f, 60.0f));
  EXPECT_TRUE(editor->HasUnsavedChanges());

  RightClick(label);
  Menu(L"EDIT");
  ASSERT_NE(editor->GetPropertySheet(), nullptr);
  auto* nameEdit = dynamic_cast<HLF::Edit*>(
      editor->GetPropertySheet()->FindChild(L"PROPGROUPEDIT*Control properties*Name"));
  ASSERT_NE(nameEdit, nullptr);
  EXPECT_EQ(nameEdit->GetText(), L"");
  nameEdit->SetText(L"title");
  Emit(nameEdit, HLF::EDIT_MSG_TEXT);
  EXPECT_EQ(label->GetName(), L"WSELEMENT_title");

  // A button nested in the label; opening the label's menu again closes
  // the sheet (it would edit whatever is selected next).
  RightClick(label);
  Menu(L"ADD");
  AddFromMenu(L"button");
  RightClick(editor->GetWorkspace());
  EXPECT_EQ(editor->GetPropertySheet(), nullptr);
  Menu(L"ADD");  // an add menu left open on the workspace
  ASSERT_NE(editor->GetAddMenu(), nullptr);
  SaveThroughDialog(L"out.xml");
  EXPECT_EQ(editor->GetAddMenu(), nullptr);
  const std::string saved = Read("out.xml");
  for (const char* panel : {"WORKSPACEADDMENU", "WORKSPACEMENU", "PROPERTIESDIALOG", "WorkSpace_SaveDialog",
                            "CTRLSLIST", "WSELEMENT_"}) {
    EXPECT_EQ(saved.find(panel), std::string::npos) << panel;
  }
  EXPECT_EQ(TopLevel("out.xml"), (std::vector<std::wstring>{L"label:title", L"vars"}));
  EXPECT_NE(saved.find("<button"), std::string::npos);
  EXPECT_NE(saved.find("text=\"Sample text\""), std::string::npos);
  EXPECT_FALSE(editor->HasUnsavedChanges());
}

TEST_F(EditorGUIEditDialogTest, DeletingAnElementForgetsThePanelsInsideIt) {
  folders.WriteProgramFile("l.xml",
                           "<game><dialog name=\"box\" size=\"300,300\" /><label name=\"keep\" /></game>");
  ASSERT_TRUE(editor->LoadLayout(L"l.xml"));
  Control* box = Element(L"box");
  ASSERT_NE(box, nullptr);
  RightClick(box);
  Menu(L"ADD");
  ASSERT_NE(editor->GetAddMenu(), nullptr);
  EXPECT_EQ(editor->GetAddMenu()->GetParent(), box);
  RightClick(box, 200, 5);
  Menu(L"DELETE");
  EXPECT_EQ(Element(L"box"), nullptr);
  EXPECT_EQ(editor->GetAddMenu(), nullptr);
  EXPECT_EQ(editor->GetSelectedElement(), nullptr);
  // Nothing of it is touched again (ASan watches): another add menu, a save.
  RightClick(editor->GetWorkspace());
  Menu(L"ADD");
  ASSERT_TRUE(editor->SaveLayout(L"l.xml"));
  EXPECT_EQ(TopLevel("l.xml"), (std::vector<std::wstring>{L"label:keep", L"vars"}));
}

TEST_F(EditorGUIEditDialogTest, FilesAreReplacedOnlyWhenSafe) {
  folders.WriteProgramFile("mine.xml", "<game><label name=\"a\" /></game>");
  folders.WriteProgramFile("other.xml", "<game><label name=\"other\" /></game>");
  folders.WriteProgramFile("notes.txt", "not xml <<");
  ASSERT_TRUE(editor->LoadLayout(L"mine.xml"));

  EXPECT_FALSE(editor->SaveLayout(L""));
  EXPECT_EQ(log->Count(L"no file name was given; nothing is saved"), 1);
  EXPECT_FALSE(editor->SaveLayout(L"notes.txt"));
  EXPECT_EQ(Read("notes.txt"), "not xml <<");
  EXPECT_FALSE(QmTest::FileExists(Path("notes.txt.bak")));

  // Another file: asked first; Cancel writes nothing, OK keeps a copy.
  ASSERT_TRUE(editor->SaveLayout(L"other.xml"));
  ASSERT_NE(editor->GetConfirmDialog(), nullptr);
  Deliver([&] { editor->GetConfirmDialog()->OnCancel(); });
  EXPECT_EQ(Read("other.xml"), "<game><label name=\"other\" /></game>");
  ASSERT_TRUE(editor->SaveLayout(L"other.xml"));
  Deliver([&] { editor->GetConfirmDialog()->OnOk(); });
  EXPECT_EQ(Read("other.xml.bak"), "<game><label name=\"other\" /></game>");
  EXPECT_EQ(TopLevel("other.xml"), (std::vector<std::wstring>{L"label:a", L"vars"}));

  // The loaded (now saved) file again: no question, a copy kept.
  const std::string before = Read("other.xml");
  ASSERT_TRUE(editor->SaveLayout(L"./other.xml"));
  EXPECT_EQ(editor->GetConfirmDialog(), nullptr);
  EXPECT_EQ(Read("other.xml.bak"), before);

  // Exit after a change asks; Cancel stays, OK leaves.
  RightClick(Element(L"a"));
  Menu(L"DELETE");
  RightClick(editor->GetWorkspace());
  Menu(L"EXIT");
  ASSERT_NE(editor->GetConfirmDialog(), nullptr);
  Deliver([&] { editor->GetConfirmDialog()->OnCancel(); });
  EXPECT_NE(editor->GetWorkspace(), nullptr);
  RightClick(editor->GetWorkspace());
  Menu(L"EXIT");
  Deliver([&] { editor->GetConfirmDialog()->OnOk(); });
  EXPECT_EQ(editor->GetWorkspace(), nullptr);
  EXPECT_TRUE(editor->IsVisible());
}

// Each top-level element of the file as the game loads it: a control's
// saved form, or the element itself; "vars" left out.
std::vector<std::wstring> GameTree(const std::wstring& file) {
  HLF::XmlDocEx doc;
  std::wstring text;
  EXPECT_TRUE(LLF::TextFile().ReadAll(file, text));
  EXPECT_TRUE(doc.Parse(text)) << LLF::ToOsPath(file);
  std::vector<std::wstring> tree;
  LLF::XmlElement* root = doc.GetDocumentElement();
  for (int i = 0; root && i < root->GetChildsCount(); ++i) {
    LLF::XmlElement* child = root->GetChild(i);
    if (child->GetName() == L"vars") continue;
    LLF::XmlElement copy(*child);
    std::unique_ptr<Control> control(
        child->IsComment() ? nullptr : HLF::ControlFactory::GetInstance().CreateFrom(copy));
    std::unique_ptr<LLF::XmlElement> saved(control ? control->SaveToXml() : nullptr);
    tree.push_back(saved ? saved->Serialize(L"") : child->Serialize(L""));
  }
  return tree;
}

TEST(EditorGUIEditDialogDataTest, EveryGameLayoutOfTheDataFolderRoundTrips) {
  QmTest::TempFolders folders;
  std::filesystem::copy(QmTest::SourceDir() + "/data", folders.Program(),
                        std::filesystem::copy_options::recursive);
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(HLF::Editor::GetInstance().Init());
  auto* editor = dynamic_cast<EditorGUIEditDialog*>(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      HLF::EditorDialogLayouts[HLF::EDITOR_LAYOUT_GUI_EDITOR]));
  ASSERT_NE(editor, nullptr);
  game.GetEditorLayer()->AddChild(editor);

  int layouts = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folders.Program() + "/scripts")) {
    if (entry.path().extension() != ".xml") continue;
    const std::string relative = std::filesystem::relative(entry.path(), folders.Program()).string();
    const std::wstring file = LLF::FromOsPath(relative);
    LLF::XmlDoc probe;
    ASSERT_TRUE(probe.LoadFromFile(file)) << relative;
    bool gameRoot = false;
    for (int i = 0; i < probe.GetRoot()->GetChildsCount(); ++i) {
      if (!probe.GetRoot()->GetChild(i)->IsComment()) {
        gameRoot = probe.GetRoot()->GetChild(i)->GetName() == L"game";
        break;
      }
    }
    if (!gameRoot) continue;
    SCOPED_TRACE(relative);
    ++layouts;
    ASSERT_TRUE(editor->LoadLayout(file));
    ASSERT_TRUE(editor->SaveLayout(L"roundtrip.xml"));
    EXPECT_EQ(GameTree(L"roundtrip.xml"), GameTree(file));
    // The file's own vars, if any, come back unchanged.
    std::unique_ptr<LLF::XmlDoc> original = std::make_unique<LLF::XmlDoc>();
    ASSERT_TRUE(original->LoadFromFile(file));
    LLF::XmlDoc saved;
    ASSERT_TRUE(saved.LoadFromFile(L"roundtrip.xml"));
    if (LLF::XmlElement* vars = original->GetRoot()->GetChildByPath(L"game/vars")) {
      ASSERT_NE(saved.GetRoot()->GetChildByPath(L"game/vars"), nullptr);
      EXPECT_EQ(saved.GetRoot()->GetChildByPath(L"game/vars")->Serialize(L""), vars->Serialize(L""));
    }
    std::filesystem::remove(folders.Program() + "/roundtrip.xml");
  }
  // Story pages, level messages, registries: there are several.
  EXPECT_GE(layouts, 5);
}

}  // namespace
