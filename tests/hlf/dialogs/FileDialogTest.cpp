#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "RecordingRenderSystem.h"
#include "SoundFixture.h"
#include "SoundTestDoubles.h"
#include "TempFolders.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "dialogs/AudioFileDialog.h"
#include "dialogs/FileDialog.h"
#include "dialogs/ImageFileDialog.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/ControlFactory.h"
#include "widgets/Edit.h"
#include "widgets/Listbox.h"
#include "widgets/StaticImage.h"

namespace {

using HLF::FileDialog;

const wchar_t kChildren[] =
    L"<label name=\"CaptionLabel\" />"
    L"<edit name=\"NameEdit\" />"
    L"<listbox name=\"FilesListbox\" />";

template <class T>
std::unique_ptr<T> Make(const std::wstring& text) {
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(text));
  T* dialog = dynamic_cast<T*>(made.get());
  if (dialog) {
    made.release();
  }
  return std::unique_ptr<T>(dialog);
}

std::vector<std::wstring> Rows(const FileDialog& dialog) {
  std::vector<std::wstring> rows;
  HLF::Listbox* list = dialog.GetFilesListbox();
  for (unsigned i = 0; i < list->GetItemsCount(); ++i) {
    rows.push_back(list->GetItem(static_cast<int>(i)));
  }
  return rows;
}

int RowOf(const FileDialog& dialog, const std::wstring& text) {
  const std::vector<std::wstring> rows = Rows(dialog);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] == text) {
      return static_cast<int>(i);
    }
  }
  ADD_FAILURE() << "no row " << LLF::WideToAnsi(text);
  return -1;
}

// A click selects the row; a double click then reports it.
void Pick(FileDialog& dialog, const std::wstring& row) {
  dialog.GetFilesListbox()->SetSelected(RowOf(dialog, row));
}
void Open(FileDialog& dialog, const std::wstring& row) {
  Pick(dialog, row);
  LLF::Message doubleClick(dialog.GetFilesListbox(), HLF::LISTBOX_MSG_DOUBLE_CLICK, 0,
                           dialog.GetFilesListbox()->GetSelected(), 0, std::wstring());
  dialog.OnMessage(&doubleClick);
}

std::wstring EditText(const FileDialog& dialog) {
  return dialog.GetNameEdit()->GetText();
}

// A program folder (the current one) holding two folders and three files.
struct Tree {
  Tree() {
    folders.WriteProgramFile("images/b.png", "x");
    folders.WriteProgramFile("images/deep/c.png", "x");
    folders.WriteProgramFile("sub/readme.txt", "x");
    folders.WriteProgramFile("Zeta.txt", "x");
    folders.WriteProgramFile("alpha.txt", "x");
    folders.WriteProgramFile("[ x ].png", "x");
    root = LLF::FromOsPath(folders.Program()) + L"/";
  }
  QmTest::TempFolders folders;
  QmTest::FrameworkFactories factories;
  std::wstring root;
};

TEST(FileDialogTest, BrowsesBelowItsRoot) {
  Tree tree;
  std::unique_ptr<FileDialog> dialog =
      Make<FileDialog>(std::wstring(L"<filedlg>") + kChildren + L"</filedlg>");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetTypeName(), L"filedlg");
  EXPECT_EQ(dialog->GetFilter(), L"*.*");
  EXPECT_TRUE(dialog->IsRootLocked());
  EXPECT_EQ(dialog->GetFolder(), tree.root);
  // At the root: no way up; folders first, each part sorted case-blind.
  const std::vector<std::wstring> atRoot{L"[ images ]", L"[ sub ]", L"[ x ].png", L"alpha.txt", L"Zeta.txt"};
  EXPECT_EQ(Rows(*dialog), atRoot);

  // A file that looks like a folder row is a file: a double click does
  // not enter it, a click picks it.
  Open(*dialog, L"[ x ].png");
  EXPECT_EQ(dialog->GetFolder(), tree.root);
  EXPECT_EQ(EditText(*dialog), L"[ x ].png");

  Open(*dialog, L"[ images ]");
  EXPECT_EQ(dialog->GetFolder(), tree.root + L"images/");
  EXPECT_EQ(Rows(*dialog), (std::vector<std::wstring>{L"[ .. ]", L"[ deep ]", L"b.png"}));
  // The new listing starts without a selection.
  EXPECT_EQ(dialog->GetFilesListbox()->GetSelected(), -1);
  Pick(*dialog, L"b.png");
  EXPECT_EQ(EditText(*dialog), L"images/b.png");
  // Folder rows are not picked.
  Pick(*dialog, L"[ deep ]");
  EXPECT_EQ(EditText(*dialog), L"images/b.png");

  Open(*dialog, L"[ deep ]");
  Open(*dialog, L"[ .. ]");
  Open(*dialog, L"[ .. ]");
  EXPECT_EQ(dialog->GetFolder(), tree.root);
  EXPECT_EQ(Rows(*dialog), atRoot);

  // Unlocked, the full path, and a way up from the starting folder.
  dialog->SetRootLocked(false);
  EXPECT_FALSE(dialog->IsRootLocked());
  Pick(*dialog, L"alpha.txt");
  EXPECT_EQ(EditText(*dialog), tree.root + L"alpha.txt");
  dialog->Refresh();
  EXPECT_EQ(Rows(*dialog).front(), L"[ .. ]");

  // The filter, and a folder that cannot be read.
  dialog->SetRootLocked(true);
  dialog->SetFilter(L"*.png");
  EXPECT_EQ(Rows(*dialog), (std::vector<std::wstring>{L"[ x ].png"}));
  dialog->SetFolder(tree.root + L"missing/");
  EXPECT_TRUE(Rows(*dialog).empty());
}

TEST(FileDialogTest, RequiredChildren) {
  QmTest::FrameworkFactories factories;
  struct Case {
    const wchar_t* text;
    const wchar_t* line;
  } cases[] = {
      {L"<filedlg><edit name=\"NameEdit\" /><listbox name=\"FilesListbox\" /></filedlg>",
       L"Error: FileDialog dialog must have control CaptionLabel of class Label."},
      {L"<filedlg><label name=\"CaptionLabel\" /><label name=\"NameEdit\" /><listbox name=\"FilesListbox\" />"
       L"</filedlg>",
       L"Error: FileDialog dialog must have control NameEdit of class Edit."},
      {L"<filedlg><label name=\"CaptionLabel\" /><edit name=\"NameEdit\" /></filedlg>",
       L"Error: FileDialog dialog must have control FilesListbox of class Listbox."},
      {L"<imagefiledlg><label name=\"CaptionLabel\" /><edit name=\"NameEdit\" />"
       L"<listbox name=\"FilesListbox\" /></imagefiledlg>",
       L"Error: ImageFileDialog dialog must have control PreviewImage of class StaticImage."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.line));
    QmTest::LogRecorder log;
    EXPECT_EQ(Make<FileDialog>(c.text), nullptr);
    EXPECT_EQ(log.Count(c.line), 1);
  }
}

TEST(ImageFileDialogTest, PreviewScale) {
  struct Case {
    LLF::Point limit, size;
    float scale;
  } cases[] = {
      {{100, 100}, {400, 200}, 0.25f}, {{100, 100}, {50, 80}, 1.0f},  {{100, 100}, {100, 100}, 1.0f},
      {{100, 100}, {50, 400}, 0.25f},  {{140, 70}, {280, 100}, 0.5f}, {{100, 100}, {0, 0}, 1.0f},
  };
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(HLF::ImageFileDialog::PreviewScale(c.limit, c.size), c.scale)
        << c.size.x << " x " << c.size.y;
  }
}

// The picked picture is shown scaled to the layout's size of the preview;
// what is no picture hides it. Each pick replaces the dialog's own copy.
TEST(ImageFileDialogTest, PreviewsThePickedPicture) {
  Tree tree;
  QmTest::RecordingRenderSystem rs(true);
  QmTest::ImageAssets images;
  LLF::ImagesManager& manager = LLF::ImagesManager::GetInstance();
  ASSERT_TRUE(manager.SaveImage(images.Add(L"wide", 400, 200), tree.root + L"images/wide.png"));
  ASSERT_TRUE(manager.SaveImage(images.Add(L"small", 50, 80), tree.root + L"images/small.png"));

  std::unique_ptr<HLF::ImageFileDialog> dialog = Make<HLF::ImageFileDialog>(
      std::wstring(L"<imagefiledlg><staticimage name=\"PreviewImage\" size=\"100,100\" />") + kChildren +
      L"</imagefiledlg>");
  ASSERT_NE(dialog, nullptr);
  HLF::StaticImage* preview = dialog->GetPreviewImage();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(dialog->GetPreviewLimit(), LLF::Point(100, 100));
  EXPECT_FALSE(preview->IsVisible());

  Open(*dialog, L"[ images ]");
  Pick(*dialog, L"wide.png");
  EXPECT_EQ(EditText(*dialog), L"images/wide.png");
  EXPECT_TRUE(preview->IsVisible());
  ASSERT_NE(preview->GetImage(), nullptr);
  EXPECT_EQ(preview->GetSize(), LLF::Point(400, 200));
  EXPECT_EQ(preview->GetScale(), LLF::Vector2(0.25f, 0.25f));
  // The dialog's copy: the manager keeps nothing under the preview's id.
  EXPECT_EQ(preview->GetImageName(), L"");

  {
    QmTest::LogRecorder log;
    Pick(*dialog, L"b.png");
    EXPECT_FALSE(preview->IsVisible());
    EXPECT_EQ(preview->GetImage(), nullptr);
    EXPECT_EQ(log.Count(L"Error: LoadImage failed."), 1);
  }

  Pick(*dialog, L"small.png");
  EXPECT_TRUE(preview->IsVisible());
  ASSERT_NE(preview->GetImage(), nullptr);
  EXPECT_EQ(preview->GetImage()->GetCellWidth(), 50u);
  EXPECT_EQ(preview->GetScale(), LLF::Vector2(1.0f, 1.0f));
}

class AudioFileDialogTest : public QmTest::SoundFixture {
 protected:
  SoundTestDoubles::FakeDriver driver{true, true};
  SoundTestDoubles::FakeCodec codec{&driver};
};

// A second pick stops the first sound and frees it before the second
// plays; the dialog's end does the same for the last one.
TEST_F(AudioFileDialogTest, EachPickReplacesTheSound) {
  Tree tree;
  tree.folders.WriteProgramFile("one.fake", "1");
  tree.folders.WriteProgramFile("two.fake", "2");
  Register(&codec, &driver);
  ASSERT_TRUE(system.SetCurrentDriver(system.GetDriversCount() - 1));

  std::unique_ptr<HLF::AudioFileDialog> dialog =
      Make<HLF::AudioFileDialog>(std::wstring(L"<audiofiledlg>") + kChildren + L"</audiofiledlg>");
  ASSERT_NE(dialog, nullptr);
  Pick(*dialog, L"one.fake");
  const LLF::Sound* first = dialog->GetPreviewSound();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->IsLooped(), false);
  Pick(*dialog, L"two.fake");
  const LLF::Sound* second = dialog->GetPreviewSound();
  ASSERT_NE(second, nullptr);
  dialog.reset();
  using Call = std::pair<std::string, const LLF::Sound*>;
  EXPECT_EQ(driver.calls, (std::vector<Call>{{"play", first},
                                             {"stop", first},
                                             {"free", first},
                                             {"play", second},
                                             {"stop", second},
                                             {"free", second}}));
  // Nothing was kept under an id.
  EXPECT_EQ(system.GetSound(tree.root + L"one.fake"), nullptr);
}

}  // namespace
