// The enter-name dialog built from layout text: OK and Enter close it only
// with a name in its edit (blanks count), Cancel and Escape always.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FrameworkFactories.h"
#include "MessageRecorder.h"
#include "TreeInput.h"
#include "dialogs/EnterNameDialog.h"
#include "model/ControlFactory.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"

namespace {

using HLF::EnterNameDialog;

TEST(EnterNameDialogTest, ClosesWithANameOrByCancel) {
  QmTest::FrameworkFactories factories;
  struct Case {
    const char* what;
    std::wstring name;
    std::function<void(EnterNameDialog&, QmTest::TreeInput&)> act;
    const wchar_t* result;  // null: stays open, sends nothing
  } cases[] = {
      {"OK with an empty edit", L"",
       [](EnterNameDialog& d, QmTest::TreeInput&) { d.GetOkButton()->OnClick({}); }, nullptr},
      {"Enter with an empty edit", L"",
       [](EnterNameDialog&, QmTest::TreeInput& in) { in.KeyUp(LLF::KEY_ENTER); }, nullptr},
      {"Enter with blanks", L"  ", [](EnterNameDialog&, QmTest::TreeInput& in) { in.KeyUp(LLF::KEY_ENTER); },
       L"OK"},
      {"OK with a name", L"Fox", [](EnterNameDialog& d, QmTest::TreeInput&) { d.GetOkButton()->OnClick({}); },
       L"OK"},
      {"Escape with an empty edit", L"",
       [](EnterNameDialog&, QmTest::TreeInput& in) { in.KeyUp(LLF::KEY_ESCAPE); }, L"CANCEL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QmTest::MessageRecorder recorder;  // outlives the dialog
    HLF::Control root;
    root.SetSize(800, 600);
    auto* dialog = dynamic_cast<EnterNameDialog*>(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
        L"<enternamedlg><label name=\"CaptionLabel\" /><edit name=\"NameEdit\" />"
        L"<button name=\"OkButton\" /><button name=\"CancelButton\" /></enternamedlg>"));
    ASSERT_NE(dialog, nullptr);
    root.AddChild(dialog);
    recorder.Listen(dialog);
    // The opener reads the name while the result is delivered.
    std::wstring nameAtResult;
    recorder.action = [&](const LLF::Message&) { nameAtResult = dialog->GetNameEdit()->GetText(); };
    dialog->GetNameEdit()->SetText(c.name);
    QmTest::TreeInput input(&root);
    c.act(*dialog, input);
    QmTest::TreeInput::SafePoint();
    const auto results = recorder.Codes({10});
    if (c.result) {
      ASSERT_EQ(results.size(), 1u);
      EXPECT_EQ(recorder.Entries().back().text, c.result);
      EXPECT_EQ(nameAtResult, c.name);
      EXPECT_EQ(root.GetChildsCount(), 0);
    } else {
      EXPECT_TRUE(results.empty());
      EXPECT_EQ(root.GetChildsCount(), 1);
    }
  }
}

}  // namespace
