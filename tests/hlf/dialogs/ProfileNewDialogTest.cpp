// The new-profile dialog on the test shell: which names OK refuses (and the
// error line each shows), and that a new name is the current profile before
// the opener hears "OK".
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "dialogs/ProfileNewDialog.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"

namespace {

const wchar_t kLayout[] =
    L"<profilenewdlg><label name=\"CaptionLabel\" /><edit name=\"NameEdit\" />"
    L"<label name=\"ErrorLabelEmpty\" /><label name=\"ErrorLabelExists\" />"
    L"<button name=\"OkButton\" /><button name=\"CancelButton\" /></profilenewdlg>";

// Records the current profile at the moment the result arrives.
class ResultWatcher : public LLF::MessageReceiver {
 public:
  explicit ResultWatcher(HLF::Game& shell) : game(shell) {}
  bool OnMessage(LLF::Message* msg) override {
    result = msg->GetText();
    profileAtResult = game.GetCurrentProfileName();
    return true;
  }
  HLF::Game& game;
  std::wstring result;
  std::wstring profileAtResult;
};

TEST(ProfileNewDialogTest, RefusedNamesAndTheProfileMadeBeforeOk) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  game.SetCurrentProfile(L"Fox");

  struct Case {
    const char* what;
    std::wstring name;
    const char* shown;  // "empty", "exists" or "" (accepted)
  } cases[] = {
      {"an empty name", L"", "empty"},
      {"a taken name", L"Fox", "exists"},
      {"the same name in other case", L"FOX", ""},
      {"a new name", L"Owl", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Owned by the game layer: a dialog closes only from a parent.
    auto* dialog = dynamic_cast<HLF::ProfileNewDialog*>(
        HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(kLayout));
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(game.GetGameLayer()->AddChild(dialog));
    EXPECT_FALSE(dialog->GetErrorLabelEmpty()->IsVisible());
    EXPECT_FALSE(dialog->GetErrorLabelExists()->IsVisible());
    ResultWatcher watcher(game);
    dialog->AddReceiver(&watcher);
    dialog->GetNameEdit()->SetText(c.name);
    dialog->OnOk();
    const std::string shown = c.shown;
    EXPECT_EQ(dialog->GetErrorLabelEmpty()->IsVisible(), shown == "empty");
    EXPECT_EQ(dialog->GetErrorLabelExists()->IsVisible(), shown == "exists");
    if (shown.empty()) {
      EXPECT_EQ(watcher.result, L"OK");
      EXPECT_EQ(watcher.profileAtResult, c.name) << "current before the opener hears OK";
      EXPECT_NE(game.FindProfile(c.name), nullptr);
    } else {
      EXPECT_EQ(watcher.result, L"") << "no result while the name is refused";
      EXPECT_EQ(game.GetCurrentProfileName(), L"Fox");
    }
    dialog->RemoveReceiver(&watcher);
    if (dialog->GetParent()) {
      game.GetGameLayer()->RemoveChild(dialog, true);
    }
    HLF::GameServices::DeleteDeferred();
    game.SetCurrentProfile(L"Fox");
  }
}

TEST(ProfileNewDialogTest, MissingOrWronglyTypedChildren) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  // The first child missing, in the order of the checks, ends the creation
  // with its line alone.
  struct Case {
    const wchar_t* layout;
    const wchar_t* line;
  } cases[] = {
      {L"<enternamedlg><edit name=\"NameEdit\" /></enternamedlg>",
       L"Error: EnterNameDialog dialog must have control CaptionLabel of class Label."},
      {L"<enternamedlg><edit name=\"CaptionLabel\" /><label name=\"NameEdit\" /></enternamedlg>",
       L"Error: EnterNameDialog dialog must have control CaptionLabel of class Label."},
      {L"<enternamedlg><label name=\"CaptionLabel\" /></enternamedlg>",
       L"Error: EnterNameDialog dialog must have control NameEdit of class Edit."},
      {L"<enternamedlg><label name=\"CaptionLabel\" /><label name=\"NameEdit\" /></enternamedlg>",
       L"Error: EnterNameDialog dialog must have control NameEdit of class Edit."},
      {L"<profilenewdlg><label name=\"ErrorLabelEmpty\" /></profilenewdlg>",
       L"Error: ProfileNewDialog dialog must have control ErrorLabelExists of class Label."},
      {L"<profilenewdlg><label name=\"ErrorLabelEmpty\" /><label name=\"ErrorLabelExists\" />"
       L"<edit name=\"NameEdit\" /></profilenewdlg>",
       L"Error: EnterNameDialog dialog must have control CaptionLabel of class Label."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.layout));
    QmTest::LogRecorder log;
    std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(c.layout));
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(log.Count(c.line), 1);
    EXPECT_EQ(log.Count(L"dialog must have control"), 1);
  }
}

}  // namespace
