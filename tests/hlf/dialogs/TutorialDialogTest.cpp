#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TempFolders.h"
#include "TreeInput.h"
#include "app/InputCodes.h"
#include "core/StringUtils.h"
#include "dialogs/TutorialDialog.h"
#include "model/ControlFactory.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"

namespace {

using HLF::TutorialDialog;

const wchar_t kButtons[] =
    L"<button name=\"PrevButton\" pos=\"20,340\" />"
    L"<button name=\"NextButton\" pos=\"380,340\" />"
    L"<button name=\"OkButton\" pos=\"200,340\" />";

std::wstring Pages(int count) {
  std::wstring pages = L"<pages><!-- first --><note />";
  for (int i = 0; i < count; ++i) {
    pages += L"<page><!-- c --><text pos=\"20,20\" text=\"page " + std::to_wstring(i) +
             L"\" /><image pos=\"150,40\" /><other /></page>";
  }
  return pages + L"</pages>";
}

std::unique_ptr<TutorialDialog> Make(const std::wstring& inner) {
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<tutorialdlg name=\"tut\" size=\"500,400\">" + inner + L"</tutorialdlg>"));
  auto* dialog = dynamic_cast<TutorialDialog*>(made.get());
  if (dialog) {
    made.release();
  }
  return std::unique_ptr<TutorialDialog>(dialog);
}

// "P" and "N" for the enabled Prev and Next buttons, "p" and "n" for shown
// but disabled ones, "-" for hidden; then the visible pages' indexes.
std::string State(const TutorialDialog& dialog) {
  std::string state;
  for (const HLF::Button* button : {dialog.GetPrevButton(), dialog.GetNextButton()}) {
    const char name = button == dialog.GetPrevButton() ? 'p' : 'n';
    state += !button->IsVisible() ? '-' : button->IsEnabled() ? static_cast<char>(name - 32) : name;
  }
  state += ' ';
  for (size_t i = 0; i < dialog.GetPages().size(); ++i) {
    if (dialog.GetPages()[i]->IsVisible()) {
      state += std::to_string(i);
    }
  }
  return state;
}

void Click(HLF::Button* button) {
  button->OnClick(LLF::Message());
}

TEST(TutorialDialogTest, PagesAndTheirParts) {
  QmTest::FrameworkFactories factories;
  std::unique_ptr<TutorialDialog> dialog = Make(Pages(2) + kButtons);
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(dialog->GetPages().size(), 2u);
  // The pages lie under the buttons, which were added after them.
  EXPECT_EQ(dialog->GetChild(0), dialog->GetPages()[0]);
  EXPECT_EQ(dialog->GetChild(dialog->GetChildsCount() - 1), dialog->GetOkButton());
  HLF::Control* page = dialog->GetPages()[1];
  EXPECT_FALSE(page->IsRenderable());
  EXPECT_EQ(page->GetSize(), LLF::Point(500, 400));
  EXPECT_EQ(page->GetPosition(), LLF::Vector2(0, 0));
  ASSERT_EQ(page->GetChildsCount(), 2);
  auto* text = dynamic_cast<HLF::Label*>(page->GetChild(0));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetText(), L"page 1");
  EXPECT_EQ(text->GetPosition(), LLF::Vector2(20, 20));
  ASSERT_NE(dynamic_cast<HLF::StaticImage*>(page->GetChild(1)), nullptr);
  EXPECT_EQ(page->GetChild(1)->GetPosition(), LLF::Vector2(150, 40));
}

TEST(TutorialDialogTest, PagingFollowsTheButtons) {
  QmTest::FrameworkFactories factories;
  {
    std::unique_ptr<TutorialDialog> one = Make(Pages(1) + kButtons);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(State(*one), "-- 0");
  }
  std::unique_ptr<TutorialDialog> dialog = Make(Pages(3) + kButtons);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(State(*dialog), "pN 0");
  Click(dialog->GetNextButton());
  EXPECT_EQ(State(*dialog), "PN 1");
  Click(dialog->GetNextButton());
  EXPECT_EQ(State(*dialog), "Pn 2");
  // Past either end nothing moves.
  dialog->NextPage();
  EXPECT_EQ(State(*dialog), "Pn 2");
  Click(dialog->GetPrevButton());
  Click(dialog->GetPrevButton());
  dialog->PrevPage();
  EXPECT_EQ(State(*dialog), "pN 0");

  // Without all three buttons nothing is updated: Prev and Next stay
  // disabled.
  std::unique_ptr<TutorialDialog> noOk =
      Make(Pages(3) + L"<button name=\"PrevButton\" /><button name=\"NextButton\" />");
  ASSERT_NE(noOk, nullptr);
  EXPECT_EQ(State(*noOk), "pn 0");
}

TEST(TutorialDialogTest, ClosesWithOkOrEnterOnly) {
  QmTest::FrameworkFactories factories;
  for (bool enter : {false, true}) {
    SCOPED_TRACE(enter ? "Enter" : "OK");
    QmTest::MessageRecorder recorder;
    HLF::Control root;
    QmTest::TreeInput input(&root);
    TutorialDialog* dialog = Make(Pages(2) + kButtons).release();
    ASSERT_NE(dialog, nullptr);
    root.AddChild(dialog);
    recorder.Listen(dialog);
    input.KeyUp(LLF::KEY_ESCAPE);
    EXPECT_EQ(root.GetChildsCount(), 1);
    if (enter) {
      input.KeyUp(LLF::KEY_ENTER);
    } else {
      Click(dialog->GetOkButton());
      input.SafePoint();
    }
    EXPECT_EQ(root.GetChildsCount(), 0);
    ASSERT_EQ(recorder.Entries().size(), 1u);
    EXPECT_EQ(recorder.Entries()[0].text, L"OK");
  }
}

TEST(TutorialDialogTest, LayoutsThatMakeNoTutorial) {
  QmTest::FrameworkFactories factories;
  struct Case {
    std::wstring inner;
    const wchar_t* line;
  } cases[] = {
      {kButtons, L"Error: Can't find <pages> section in TutorialDialog."},
      {std::wstring(L"<pages><!-- <page /> --><other /></pages>") + kButtons,
       L"Warning: TutorialDialog doesn't have tutorial pages."},
      {L"<pages />", L"Warning: TutorialDialog doesn't have tutorial pages."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.line));
    QmTest::LogRecorder log;
    EXPECT_EQ(Make(c.inner), nullptr);
    EXPECT_EQ(log.Count(c.line), 1);
  }
}

// A reload starts again at page 0; a reload that fails leaves no page to
// go to.
TEST(TutorialDialogTest, Reloading) {
  QmTest::TempFolders folders;
  QmTest::FrameworkFactories factories;
  const std::string good = folders.WriteProgramFile(
      "good.xml",
      "<!-- two -->\n<tutorialdlg size=\"300,200\"><pages><page /><page /></pages></tutorialdlg>\n");
  const std::string empty = folders.WriteProgramFile("empty.xml", "<tutorialdlg><pages /></tutorialdlg>\n");
  std::unique_ptr<TutorialDialog> dialog = Make(Pages(3) + kButtons);
  ASSERT_NE(dialog, nullptr);
  dialog->NextPage();
  dialog->NextPage();

  EXPECT_TRUE(dialog->LoadFromFile(LLF::AnsiToWide(good)));
  EXPECT_EQ(State(*dialog), "pN 0");
  EXPECT_EQ(dialog->GetPages()[0]->GetSize(), LLF::Point(300, 200));
  EXPECT_EQ(dialog->GetChild(dialog->GetChildsCount() - 1), dialog->GetOkButton());
  // Prev, Next, OK and the two new pages.
  EXPECT_EQ(dialog->GetChildsCount(), 5);
  dialog->NextPage();

  EXPECT_FALSE(dialog->LoadFromFile(L"missing.xml"));
  EXPECT_EQ(State(*dialog), "Pn 1");

  {
    QmTest::LogRecorder log;
    EXPECT_FALSE(dialog->LoadFromFile(LLF::AnsiToWide(empty)));
    EXPECT_EQ(log.Count(L"Warning: TutorialDialog doesn't have tutorial pages."), 1);
  }
  EXPECT_TRUE(dialog->GetPages().empty());
  EXPECT_EQ(State(*dialog), "-- ");
  EXPECT_FALSE(dialog->GetNextButton()->IsEnabled());
  EXPECT_FALSE(dialog->GetPrevButton()->IsEnabled());
  // A click that still arrives finds no page and does nothing.
  Click(dialog->GetNextButton());
  dialog->NextPage();
  dialog->PrevPage();
  EXPECT_EQ(dialog->GetChildsCount(), 3);
  EXPECT_FALSE(dialog->ClearPages());
}

}  // namespace
