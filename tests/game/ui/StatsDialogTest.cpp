// The results dialog built from the game's own levui.xml (copied from the
// generated data folder into a test program folder), with the game's
// prototype registered in the test's factory scope.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "FrameworkFactories.h"
#include "HeadlessVoyage.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TempFolders.h"
#include "TestShell.h"
#include "core/StringUtils.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "modifiers/Effect.h"
#include "ui/StatsDialog.h"
#include "widgets/Label.h"

namespace {

namespace fs = std::filesystem;

const wchar_t kLayout[] = L"scripts/game/levui.xml";

std::string FileText(const std::string& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return text;
  char buffer[4096];
  size_t read;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
  std::fclose(file);
  return text;
}

class StatsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string data = QmTest::GeneratedDataFolder();
    for (const char* file : {"scripts/game/levui.xml", "scripts/effects.xml"}) {
      const std::string text = FileText(data + file);
      ASSERT_FALSE(text.empty()) << file;
      folders.WriteProgramFile(file, text);
    }
    HLF::ControlFactory::GetInstance().Register(new StatsDialog(L"StatsDlgCreator"));
    root.SetSize(800, 600);
  }

  StatsDialog* Load() {
    StatsDialog* dialog = StatsDialog::CreateFromLayout(kLayout, L"levui", L"StatsDlg");
    if (dialog) root.AddChild(dialog);
    return dialog;
  }

  QmTest::TempFolders folders;
  QmTest::FrameworkFactories factories;
  QmTest::MessageRecorder recorder;
  HLF::Control root{L"root"};
  QmTest::TestShell shell{&root};
};

TEST_F(StatsDialogTest, FillLabels) {
  StatsDialog* dialog = Load();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetTypeName(), L"statsdlg");
  EXPECT_TRUE(dialog->IsKindOf("Dialog"));

  // The three times come out alike (the find intervals read unsigned).
  struct Time {
    int ms;
    const wchar_t* shown;
  };
  const Time times[] = {
      {83000, L"01:23"},  {400, L"00:01"},    {0, L"00:01"},        {999, L"00:01"},
      {1000, L"00:01"},   {1999, L"00:01"},   {2000, L"00:02"},     {60000, L"01:00"},
      {120000, L"02:00"}, {754000, L"12:34"}, {9999999, L"166:39"},
  };
  for (const Time& t : times) {
    dialog->FillLabels({t.ms, t.ms, t.ms, 0, 0, 0});
    for (int i = 0; i < 3; ++i) {
      const std::wstring text = dialog->GetLabel(i)->GetFullText();
      EXPECT_EQ(text.substr(text.find(L": ") + 2), t.shown) << t.ms << " in " << LLF::WideToAnsi(text);
    }
  }

  // A find interval that wrapped reads as unsigned; the level time as signed.
  dialog->FillLabels({-5000, -1, 9999999, 7, 1234567, 1234567});
  EXPECT_EQ(dialog->GetLabel(0)->GetFullText(), L"Level time: 00:01");
  EXPECT_EQ(dialog->GetLabel(1)->GetFullText(), L"Fastest find: 71582:47");
  EXPECT_EQ(dialog->GetLabel(2)->GetFullText(), L"Longest find: 166:39");
  EXPECT_EQ(dialog->GetLabel(3)->GetFullText(), L"Hints used: 7");
  EXPECT_EQ(dialog->GetLabel(4)->GetFullText(), L"Level score: 1,234,567");
  EXPECT_EQ(dialog->GetLabel(5)->GetFullText(), L"Overall score: 1,234,567");
  EXPECT_EQ(dialog->GetStats().hintsUsed, 7);

  // French groups digits with a blank; a second fill replaces the values.
  shell.SetSeparator(L' ');
  dialog->FillLabels({0, 0, 0, 0, 999, -1234567});
  EXPECT_EQ(dialog->GetLabel(4)->GetFullText(), L"Level score: 999");
  EXPECT_EQ(dialog->GetLabel(5)->GetFullText(), L"Overall score: -1 234 567");
}

TEST_F(StatsDialogTest, OkDuringTheEntranceEffectsOnlyEndsThem) {
  StatsDialog* dialog = Load();
  ASSERT_NE(dialog, nullptr);
  recorder.Listen(dialog);
  HLF::Label* last = dialog->GetLabel(StatsDialog::kLabelsCount - 1);
  ASSERT_EQ(last->GetEffectsCount(), 1);
  HLF::Effect* entrance = last->GetEffect(0);
  EXPECT_TRUE(entrance->IsRunning());
  EXPECT_EQ(last->GetAlpha(), 0) << "hidden until its effect shows it";

  dialog->OnOk();
  EXPECT_TRUE(recorder.Entries().empty());
  EXPECT_FALSE(dialog->IsClosing());
  for (int i = 0; i < StatsDialog::kLabelsCount; ++i) {
    EXPECT_EQ(dialog->GetLabel(i)->GetAlpha(), 255) << i;
  }
  EXPECT_FALSE(entrance->IsRunning());

  dialog->OnOk();
  dialog->OnOk();
  ASSERT_EQ(recorder.Entries().size(), 1u);
  EXPECT_EQ(recorder.Entries()[0].code, HLF::DIALOG_MSG_RESULT);
  EXPECT_EQ(recorder.Entries()[0].text, L"OK");
  EXPECT_EQ(root.GetChildsCount(), 0) << "the dialog left its parent";
}

// Without one of its labels or its OK button the dialog is not made.
TEST_F(StatsDialogTest, ALayoutLackingAChildFails) {
  const std::string text = FileText(QmTest::GeneratedDataFolder() + "scripts/game/levui.xml");
  struct Cut {
    const char* element;  // the start of the element removed
    const wchar_t* line;
  };
  const Cut cuts[] = {
      {"<label name=\"HintsLabel\"",
       L"Error: StatsDialog dialog must have control HintsLabel of class Label."},
      {"<button name=\"OkButton\"", L"Error: StatsDialog dialog must have control OkButton of class Button."},
  };
  for (const Cut& cut : cuts) {
    SCOPED_TRACE(cut.element);
    std::string changed = text;
    const size_t start = changed.find(cut.element);
    ASSERT_NE(start, std::string::npos);
    changed.erase(start, changed.find("/>", start) + 2 - start);
    folders.WriteProgramFile("scripts/game/levui.xml", changed);
    QmTest::LogRecorder log;
    EXPECT_EQ(StatsDialog::CreateFromLayout(kLayout, L"levui", L"StatsDlg"), nullptr);
    EXPECT_EQ(log.Count(cut.line), 1);
    EXPECT_EQ(log.Count(L"Error: Can't create StatsDialog from file scripts/game/levui.xml, section levui, "
                        L"control name StatsDlg"),
              1);
  }
}

}  // namespace
