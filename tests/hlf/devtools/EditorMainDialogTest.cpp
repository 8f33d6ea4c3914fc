// The editor's main dialog: binding its buttons, and opening, raising and
// forgetting its sub-dialogs, with plain dialogs standing in for the editor
// dialogs under their tags.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "core/Message.h"
#include "devtools/EditorDialogLayouts.h"
#include "devtools/EditorGameFontsDialog.h"
#include "devtools/EditorMainDialog.h"
#include "dialogs/Dialog.h"
#include "model/ControlFactory.h"
#include "widgets/Button.h"
#include "xml/XmlDoc.h"

namespace {

using HLF::Dialog;
using HLF::EditorMainDialog;

// A plain dialog made under one of the editor dialogs' tags.
class StandIn : public Dialog {
 public:
  explicit StandIn(const std::wstring& tag) { _tag = tag; }
  Control* CreateInstance() const override { return new StandIn(_tag); }
};

class EditorMainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.Start());
    game.GetEditorLayer()->SetVisible(true);
    HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
    factory.Register(new EditorMainDialog());
    main = dynamic_cast<EditorMainDialog*>(
        factory.LoadObjectFromXmlText(HLF::EditorDialogLayouts[HLF::EDITOR_LAYOUT_MAIN]));
    ASSERT_NE(main, nullptr);
    game.GetEditorLayer()->AddChild(main);
    log.reset();
    log = std::make_unique<QmTest::LogRecorder>();
  }
  void StandIns() {
    for (const wchar_t* tag :
         {L"editorgamestringsdlg", L"editorgameimagesdlg", L"editorgamesoundsdlg", L"editorguieditdlg"}) {
      HLF::ControlFactory::GetInstance().Register(new StandIn(tag));
    }
  }
  void Click(HLF::Button* button) {
    LLF::Message msg(button, HLF::BUTTON_MSG_CLICKED, 1, 0, 0, button->GetName());
    button->Send(&msg);
  }
  // The dialog's result, and the shell's next safe point that deletes it.
  void Finish(Dialog* dialog) {
    dialog->OnOk();
    game.Frame(0);
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
  EditorMainDialog* main = nullptr;
  std::unique_ptr<QmTest::LogRecorder> log;
};

TEST_F(EditorMainDialogTest, ASecondClickRaisesTheOpenDialog) {
  StandIns();
  Click(main->GetStringsButton());
  Dialog* strings = main->GetStringsDialog();
  ASSERT_NE(strings, nullptr);
  EXPECT_EQ(strings->GetParent(), main);
  Click(main->GetImagesButton());
  Click(main->GetSoundsButton());
  ASSERT_NE(main->GetImagesDialog(), nullptr);
  ASSERT_NE(main->GetSoundsDialog(), nullptr);
  EXPECT_EQ(main->GetChildsCount(), 8 + 3);  // all three at once
  EXPECT_EQ(main->GetChild(main->GetChildsCount() - 1), main->GetSoundsDialog());

  Click(main->GetStringsButton());
  EXPECT_EQ(main->GetStringsDialog(), strings);
  EXPECT_EQ(main->GetChild(main->GetChildsCount() - 1), strings);  // raised, not doubled
  EXPECT_EQ(main->GetChildsCount(), 11);

  // Its result forgets it; the next click makes a fresh one.
  Finish(strings);
  EXPECT_EQ(main->GetStringsDialog(), nullptr);
  Click(main->GetStringsButton());
  ASSERT_NE(main->GetStringsDialog(), nullptr);
  EXPECT_EQ(main->GetChildsCount(), 11);

  // Deleted without a result: forgotten too, and a click opens another.
  main->RemoveChild(main->GetImagesDialog(), true);
  Click(main->GetImagesButton());
  ASSERT_NE(main->GetImagesDialog(), nullptr);
  EXPECT_EQ(main->GetImagesDialog()->GetParent(), main);

  // The other four buttons do nothing.
  for (const wchar_t* name :
       {L"FontsButton", L"MusicButton", L"SplashScreensButton", L"ParticlesEditorButton"}) {
    Click(dynamic_cast<HLF::Button*>(main->GetChildByName(name)));
  }
  EXPECT_EQ(main->GetChildsCount(), 11);
}

TEST_F(EditorMainDialogTest, TheGuiEditorHidesThePanelUntilItReports) {
  StandIns();
  Click(main->GetGUIEditorButton());
  Dialog* gui = main->GetGUIEditorDialog();
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(gui->GetParent(), game.GetEditorLayer());
  EXPECT_FALSE(main->IsVisible());
  // Hidden, its buttons take no clicks.
  Click(main->GetStringsButton());
  EXPECT_EQ(main->GetStringsDialog(), nullptr);
  Finish(gui);
  EXPECT_EQ(main->GetGUIEditorDialog(), nullptr);
  EXPECT_TRUE(main->IsVisible());

  // Gone without a result, it is forgotten and the panel comes back.
  Click(main->GetGUIEditorButton());
  ASSERT_NE(main->GetGUIEditorDialog(), nullptr);
  game.GetEditorLayer()->RemoveChild(main->GetGUIEditorDialog(), true);
  Click(main->GetStringsButton());
  EXPECT_EQ(main->GetGUIEditorDialog(), nullptr);
  EXPECT_TRUE(main->IsVisible());
  EXPECT_NE(main->GetStringsDialog(), nullptr);
}

// A dialog under an editor dialog's tag whose creation always fails.
class Failing : public StandIn {
 public:
  using StandIn::StandIn;
  Control* CreateInstance() const override { return new Failing(_tag); }
  bool OnCreated() override { return false; }
};

TEST_F(EditorMainDialogTest, WhenADialogCantBeMadeNothingOpens) {
  for (const wchar_t* tag : {L"editorgamestringsdlg", L"editorguieditdlg"}) {
    HLF::ControlFactory::GetInstance().Register(new Failing(tag));
  }
  Click(main->GetStringsButton());
  Click(main->GetGUIEditorButton());
  EXPECT_EQ(main->GetStringsDialog(), nullptr);
  EXPECT_EQ(main->GetGUIEditorDialog(), nullptr);
  EXPECT_TRUE(main->IsVisible());
  EXPECT_EQ(main->GetChildsCount(), 8);
  EXPECT_EQ(log->Count(L"Error: EditorMainDialog - can't create the dialog GameStringsDlg from its layout."),
            1);
  EXPECT_EQ(log->Count(L"Error: EditorMainDialog - can't create the dialog GUIEditorDlg from its layout."),
            1);
}

TEST_F(EditorMainDialogTest, ALayoutWithoutAReactingButtonFails) {
  struct Case {
    const wchar_t* layout;
    const wchar_t* error;
  };
  const Case cases[] = {
      {L"<editormaindlg name=\"M\"><button name=\"StringsButton\" /><button name=\"ImagesButton\" />"
       L"<button name=\"GUIEditorButton\" /></editormaindlg>",
       L"Error: EditorMainDialog dialog must have control SoundsButton of class Button."},
      {L"<editormaindlg name=\"M\"><button name=\"StringsButton\" /><label name=\"ImagesButton\" />"
       L"<button name=\"GUIEditorButton\" /><button name=\"SoundsButton\" /></editormaindlg>",
       L"Error: EditorMainDialog dialog must have control ImagesButton of class Button."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    log.reset();
    log = std::make_unique<QmTest::LogRecorder>();
    EXPECT_EQ(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(c.layout), nullptr);
    EXPECT_EQ(log->Count(c.error), 1);
    EXPECT_EQ(log->Count(L"must have control"), 1);
  }
}

TEST(EditorDialogLayoutsTest, EveryLayoutParsesWithItsNameAndTheEditorFont) {
  const std::pair<const wchar_t*, const wchar_t*> roots[] = {
      {L"<editormaindlg name=\"MainEditorDlg\"", L"StringsButton"},
      {L"<editorguieditdlg name=\"GUIEditorDlg\"", L"CloseButton"},
      {L"<enternamedlg name=\"EnterNameDlg\"", L"NameEdit"},
      {L"<messagedlg name=\"MessageDlg\"", L"TextLabel"},
      {L"<imagefiledlg name=\"ImageFileDlg\"", L"PreviewImage"},
      {L"<audiofiledlg name=\"FileDlg\"", L"FilesListbox"},
      {L"<editorgamestringsdlg name=\"GameStringsDlg\"", L"StringsListbox"},
      {L"<editorgameimagesdlg name=\"GameImagesDlg\"", L"LoopsEdit"},
      {L"<editorgamesoundsdlg name=\"GameSoundsDlg\"", L"SoundLoopedCheckbox"},
      {L"<filedlg name=\"WorkSpace_SaveDialog\"", L"Select file for saving:"},
      {L"<filedlg name=\"WorkSpace_LoadDialog\"", L"Select file for loading:"},
  };
  for (int i = 0; i < HLF::EDITOR_LAYOUT_COUNT; ++i) {
    const std::wstring text = HLF::EditorDialogLayouts[i];
    SCOPED_TRACE(roots[i].first);
    EXPECT_EQ(text.rfind(roots[i].first, 0), 0u);
    EXPECT_NE(text.find(roots[i].second), std::wstring::npos);
    LLF::XmlDoc doc;
    EXPECT_TRUE(doc.Parse(text));
  }
}

TEST(EditorDialogLayoutsTest, TheFileChoosersAreBuiltByTheShellsDialogs) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  factory.Register(new HLF::EditorGameFontsDialog());
  for (int layout : {HLF::EDITOR_LAYOUT_ENTER_NAME, HLF::EDITOR_LAYOUT_MESSAGE, HLF::EDITOR_LAYOUT_IMAGE_FILE,
                     HLF::EDITOR_LAYOUT_AUDIO_FILE, HLF::EDITOR_LAYOUT_WORKSPACE_SAVE,
                     HLF::EDITOR_LAYOUT_WORKSPACE_LOAD}) {
    SCOPED_TRACE(layout);
    std::unique_ptr<HLF::Control> dialog(factory.LoadObjectFromXmlText(HLF::EditorDialogLayouts[layout]));
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(dynamic_cast<Dialog*>(dialog.get()), nullptr);
  }
  std::unique_ptr<HLF::Control> fonts(factory.LoadObjectFromXmlText(L"<editorgamefontsdlg name=\"F\" />"));
  ASSERT_NE(fonts, nullptr);
  EXPECT_TRUE(fonts->IsKindOf("EditorGameFontsDialog"));
  EXPECT_TRUE(fonts->IsKindOf("Dialog"));
}

}  // namespace
