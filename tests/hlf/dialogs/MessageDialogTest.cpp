// The message dialog built from layout text through the control factory:
// its required label, and how it closes with or without a Cancel button.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TreeInput.h"
#include "dialogs/MessageDialog.h"
#include "model/ControlFactory.h"
#include "widgets/Label.h"

namespace {

using HLF::MessageDialog;

HLF::Control* Build(const std::wstring& text) {
  return HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(text);
}

TEST(MessageDialogTest, NeedsItsTextLabel) {
  QmTest::FrameworkFactories factories;
  struct Case {
    const char* what;
    std::wstring layout;
    bool built;
  } cases[] = {
      {"with the label", L"<messagedlg><label name=\"TextLabel\" /></messagedlg>", true},
      {"without it", L"<messagedlg><label name=\"Text\" /></messagedlg>", false},
      {"a button of that name", L"<messagedlg><button name=\"TextLabel\" /></messagedlg>", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QmTest::LogRecorder log;
    std::unique_ptr<HLF::Control> made(Build(c.layout));
    EXPECT_EQ(made != nullptr, c.built);
    EXPECT_EQ(log.Count(L"Error: MessageDialog dialog must have control TextLabel of class Label."),
              c.built ? 0 : 1);
    if (made) {
      auto* dialog = dynamic_cast<MessageDialog*>(made.get());
      ASSERT_NE(dialog, nullptr);
      EXPECT_TRUE(dialog->IsKindOf("Dialog"));
      ASSERT_NE(dialog->GetTextLabel(), nullptr);
      EXPECT_EQ(dialog->GetTextLabel()->GetName(), L"TextLabel");
      std::unique_ptr<HLF::Control> fresh(dialog->CreateInstance());
      EXPECT_EQ(fresh->GetTypeName(), L"messagedlg");
    }
  }
}

TEST(MessageDialogTest, WithoutCancelOnlyOkOrEnterClose) {
  QmTest::FrameworkFactories factories;
  HLF::Control root;
  root.SetSize(800, 600);
  QmTest::MessageRecorder recorder;
  auto* dialog = dynamic_cast<MessageDialog*>(
      Build(L"<messagedlg><label name=\"TextLabel\" /><button name=\"OkButton\" /></messagedlg>"));
  ASSERT_NE(dialog, nullptr);
  root.AddChild(dialog);
  recorder.Listen(dialog);
  dialog->GetTextLabel()->SetText(L"Delete?");
  QmTest::TreeInput input(&root);
  input.KeyUp(LLF::KEY_ESCAPE);
  EXPECT_EQ(root.GetChildsCount(), 1) << "no Cancel button: Escape does nothing";
  EXPECT_TRUE(recorder.Codes({10}).empty());
  input.KeyUp(LLF::KEY_ENTER);
  EXPECT_EQ(root.GetChildsCount(), 0);
  ASSERT_EQ(recorder.Codes({10}).size(), 1u);
  for (const auto& entry : recorder.Entries()) {
    if (entry.code == 10) {
      EXPECT_EQ(entry.text, L"OK");
    }
  }
}

}  // namespace
