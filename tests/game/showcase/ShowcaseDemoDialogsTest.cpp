// The showcase's buttons for the file dialogs, the tutorial and the pop-up
// menu, run headless on the generated data with the showcase's own files
// laid over it: each opens what it names from the data, and what each
// returns is logged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessShowcase.h"
#include "RecordingRenderSystem.h"
#include "TempFolders.h"
#include "TreeInput.h"
#include "app/InputCodes.h"
#include "core/StringUtils.h"
#include "dialogs/AudioFileDialog.h"
#include "dialogs/ImageFileDialog.h"
#include "dialogs/PopupMenu.h"
#include "dialogs/TutorialDialog.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "model/EditorServices.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Listbox.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

struct ShowcaseRun {
  ShowcaseRun() : game(folders.Program()) {}

  bool Start() {
    if (!laid || !game.Start(true) || !game.UntilShown()) {
      return false;
    }
    game.Frame(16);
    return true;
  }
  Showcase* showcase() { return game.GetScript().GetShowcase(); }
  void Window(int code, int param, int x, int y) {
    LLF::Message msg = TreeInput::WindowMessage(code, param, x, y);
    game.OnMessage(&msg);
  }
  void Click(int x, int y) {
    Window(LLF::WMSG_MOUSE_MOVE, 0, x, y);
    Window(LLF::WMSG_BUTTON_DOWN, 1, x, y);
    Window(LLF::WMSG_BUTTON_UP, 1, x, y);
    game.Frame(16);
  }
  // The small buttons are 120 x 36, in a row at y 428.
  void ClickButton(int left) { Click(left + 60, 428 + 18); }

  RecordingRenderSystem rs{true};  // the preview is uploaded
  TempFolders folders;
  bool laid = LayShowcaseData(folders.Program());
  HeadlessShowcase game;
};

int RowOf(const HLF::Listbox& list, const std::wstring& text) {
  for (unsigned i = 0; i < list.GetItemsCount(); ++i) {
    if (list.GetItem(static_cast<int>(i)) == text) return static_cast<int>(i);
  }
  return -1;
}

void DoubleClickRow(HLF::FileDialog& dialog, const std::wstring& text) {
  HLF::Listbox* list = dialog.GetFilesListbox();
  list->SetSelected(RowOf(*list, text));
  LLF::Message doubleClick(list, HLF::LISTBOX_MSG_DOUBLE_CLICK, 0, list->GetSelected(), 0, std::wstring());
  dialog.OnMessage(&doubleClick);
}

TEST(ShowcaseDemoDialogsTest, PickImagePreviewsAndLogsThePath) {
  ShowcaseRun run;
  ASSERT_TRUE(run.Start());
  run.ClickButton(130);
  auto* dialog = dynamic_cast<HLF::ImageFileDialog*>(run.showcase()->GetDialog());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(LLF::ToOsPath(dialog->GetFolder()), run.folders.Program() + "/");
  HLF::Listbox* list = dialog->GetFilesListbox();
  EXPECT_EQ(RowOf(*list, L"[ .. ]"), -1);
  EXPECT_EQ(RowOf(*list, L".gitattributes"), -1) << "only the data are laid";
  DoubleClickRow(*dialog, L"[ images ]");
  EXPECT_EQ(list->GetItem(0), L"[ .. ]");
  list->SetSelected(RowOf(*list, L"title.png"));
  EXPECT_EQ(dialog->GetNameEdit()->GetText(), L"images/title.png");
  HLF::StaticImage* preview = dialog->GetPreviewImage();
  EXPECT_TRUE(preview->IsVisible());
  EXPECT_FLOAT_EQ(preview->GetScale().x, 140.0f / 640.0f);

  dialog->GetOkButton()->OnClick(LLF::Message());
  run.game.Frame(16);
  EXPECT_EQ(run.game.LogCount(L"Showcase - picked \"images/title.png\""), 1);
  EXPECT_EQ(run.showcase()->GetDialog(), nullptr);

  run.ClickButton(270);
  auto* sounds = dynamic_cast<HLF::AudioFileDialog*>(run.showcase()->GetDialog());
  ASSERT_NE(sounds, nullptr);
  sounds->GetCancelButton()->OnClick(LLF::Message());
  run.game.Frame(16);
  EXPECT_EQ(run.game.LogCount(L"Showcase - nothing picked"), 1);
  EXPECT_EQ(run.game.LogCount(L"Error"), 0);
}

TEST(ShowcaseDemoDialogsTest, TheTutorialPagesAndCloses) {
  ShowcaseRun run;
  ASSERT_TRUE(run.Start());
  run.ClickButton(410);
  auto* tutorial = dynamic_cast<HLF::TutorialDialog*>(run.showcase()->GetDialog());
  ASSERT_NE(tutorial, nullptr);
  ASSERT_EQ(tutorial->GetPages().size(), 3u);
  // The second page's picture is the generated one.
  HLF::Control* picture = tutorial->GetPages()[1]->GetChild(1);
  auto* image = dynamic_cast<HLF::StaticImage*>(picture);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetImage(), LLF::ImagesManager::GetInstance().FindResource(L"tut_pic1"));
  EXPECT_NE(image->GetImage(), nullptr);
  tutorial->GetNextButton()->OnClick(LLF::Message());
  EXPECT_EQ(tutorial->GetCurrentPage(), 1u);
  run.Window(LLF::WMSG_KEY_UP, LLF::KEY_ESCAPE, 0, 0);
  run.game.Frame(16);
  EXPECT_EQ(run.showcase()->GetDialog(), tutorial);
  run.Window(LLF::WMSG_KEY_UP, LLF::KEY_ENTER, 0, 0);
  run.game.Frame(16);
  EXPECT_EQ(run.game.LogCount(L"Showcase - tutorial result \"OK\""), 1);
  EXPECT_EQ(run.showcase()->GetDialog(), nullptr);
}

TEST(ShowcaseDemoDialogsTest, TheMenuLogsItsMessages) {
  ShowcaseRun run;
  ASSERT_TRUE(run.Start());
  run.ClickButton(550);
  HLF::PopupMenu* menu = run.showcase()->GetMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(run.game.GetFocusControl(), menu);
  ASSERT_NE(menu->GetList()->GetFont(), nullptr);
  // The editor's font where the editor provides one, else the showcase's own.
  LLF::Font* editorFont = HLF::EditorServices::GetEditorFont();
  EXPECT_EQ(menu->GetList()->GetFont(),
            editorFont ? editorFont : LLF::FontsManager::GetInstance().FindResource(L"ShowcaseMenu16"));
  ASSERT_EQ(menu->GetList()->GetItemsCount(), 3u);
  // Above its button, fitted to its rows.
  EXPECT_LT(menu->GetPosition().y + static_cast<float>(menu->GetSize().y), 428.0f);
  EXPECT_LT(menu->GetSize().y, 195);

  menu->GetList()->SetSelected(2);
  run.game.Frame(16);
  EXPECT_EQ(run.game.LogCount(L"Showcase - menu 11 \"Follow the moon\""), 1);
  EXPECT_EQ(run.game.LogCount(L"Showcase - menu 10 \"\""), 1);
  EXPECT_EQ(run.game.LogCount(L"Showcase - menu 10 \"OK\""), 1);
  EXPECT_EQ(run.showcase()->GetMenu(), nullptr);

  // A click outside closes it without a choice.
  run.ClickButton(550);
  ASSERT_NE(run.showcase()->GetMenu(), nullptr);
  run.Click(700, 100);
  EXPECT_EQ(run.showcase()->GetMenu(), nullptr);
  EXPECT_EQ(run.game.LogCount(L"Showcase - menu 11"), 1);
  EXPECT_EQ(run.game.LogCount(L"Showcase - menu 10 \"\""), 2);
  EXPECT_EQ(run.game.LogCount(L"Showcase - menu 10 \"OK\""), 2);
}

}  // namespace
}  // namespace QmTest
