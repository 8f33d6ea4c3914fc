// The game sounds and images dialogs over registries in a temporary game
// folder: the two-level list, adds, renames, updates and deletes written at
// once, the values refused, and the images dialog's preview.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "ImageTestUtil.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "core/Message.h"
#include "core/StringUtils.h"
#include "devtools/Editor.h"
#include "devtools/EditorDialogLayouts.h"
#include "devtools/EditorGameImagesDialog.h"
#include "devtools/EditorGameSoundsDialog.h"
#include "dialogs/EnterNameDialog.h"
#include "dialogs/MessageDialog.h"
#include "image/Image.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "widgets/Button.h"
#include "widgets/Checkbox.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "widgets/StaticImage.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

using HLF::EditorAssetsDialog;

const char kSounds[] =
    "<game><assets><!-- groups below --><ui><sound name=\"click\" src=\"a.wav\" volume=\"50\" "
    "looped=\"true\" />"
    "<sound name=\"whoosh\" src=\"b.wav\" /></ui><music /></assets></game>";
const char kImages[] =
    "<game><assets><!-- groups below --><ui><image name=\"click\" src=\"big.png\" cells=\"2\" loops=\"1\" />"
    "<image name=\"whoosh\" /><image name=\"small\" src=\"small.png\" cells=\"1\" loops=\"1\" /></ui><music "
    "/>"
    "</assets></game>";

class EditorAssetsDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders.WriteProgramFile("scripts/sounds.xml", kSounds);
    folders.WriteProgramFile("scripts/images.xml", kImages);
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(HLF::Editor::GetInstance().Init());
    log = std::make_unique<QmTest::LogRecorder>();
  }

  // A dialog of the layout on the EDITOR layer.
  EditorAssetsDialog* Open(int layout) {
    auto* made = dynamic_cast<EditorAssetsDialog*>(
        HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(HLF::EditorDialogLayouts[layout]));
    if (made) game.GetEditorLayer()->AddChild(made);
    return made;
  }
  static void Deliver(const std::function<void()>& what) {
    {
      HLF::Control::DispatchScope scope;
      what();
    }
    HLF::GameServices::DeleteDeferred();
  }
  static void Emit(LLF::MessageSender* sender, int code) {
    Deliver([&] {
      LLF::Message msg(sender, code, 1, 0, 0, std::wstring());
      sender->Send(&msg);
    });
  }
  static void Click(HLF::Button* button) { Emit(button, HLF::BUTTON_MSG_CLICKED); }
  static void Select(EditorAssetsDialog* dialog, const std::wstring& item) {
    HLF::Listbox* list = dialog->GetList();
    for (unsigned i = 0; i < list->GetItemsCount(); ++i) {
      if (list->GetItem(static_cast<int>(i)) == item) list->SetSelected(static_cast<int>(i));
    }
    ASSERT_EQ(list->GetSelectedItem(), item);
  }
  static void Enter(EditorAssetsDialog* dialog, const std::wstring& item) {
    Select(dialog, item);
    Emit(dialog->GetList(), HLF::LISTBOX_MSG_DOUBLE_CLICK);
  }
  static void AddName(EditorAssetsDialog* dialog, const std::wstring& name) {
    Click(dialog->GetAddButton());
    HLF::EnterNameDialog* asked = dialog->GetNameDialog();
    ASSERT_NE(asked, nullptr);
    asked->GetNameEdit()->SetText(name);
    Deliver([&] { asked->OnOk(); });
  }
  static void Delete(EditorAssetsDialog* dialog, const std::wstring& item, bool ok) {
    Select(dialog, item);
    Click(dialog->GetDelButton());
    HLF::MessageDialog* asked = dialog->GetConfirmDialog();
    ASSERT_NE(asked, nullptr);
    Deliver([&] { ok ? asked->OnOk() : asked->OnCancel(); });
  }
  static std::vector<std::wstring> Items(EditorAssetsDialog* dialog) {
    std::vector<std::wstring> items;
    for (unsigned i = 0; i < dialog->GetList()->GetItemsCount(); ++i) {
      items.push_back(dialog->GetList()->GetItem(static_cast<int>(i)));
    }
    return items;
  }
  std::string Read(const std::string& file) const {
    return QmTest::ReadBytes(folders.Program() + "/" + file);
  }
  // The registry file as the game reads it again.
  std::unique_ptr<LLF::XmlDoc> Load(const std::string& file) const {
    auto doc = std::make_unique<LLF::XmlDoc>();
    EXPECT_TRUE(doc->LoadFromFile(LLF::FromOsPath(folders.Program() + "/" + file))) << file;
    return doc;
  }
  static std::wstring Attr(LLF::XmlElement* element, const wchar_t* name) {
    const LLF::XmlAttribute* attribute = element ? element->GetAttribute(std::wstring(name)) : nullptr;
    return attribute ? attribute->GetValue() : L"(none)";
  }
  static LLF::XmlElement* Entry(LLF::XmlDoc& doc, const std::wstring& group, const std::wstring& name) {
    LLF::XmlElement* element = doc.GetRoot()->GetChildByPath(L"game/assets/" + group);
    for (int i = 0; element && i < element->GetChildsCount(); ++i) {
      if (Attr(element->GetChild(i), L"name") == name) return element->GetChild(i);
    }
    return nullptr;
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
  std::unique_ptr<QmTest::LogRecorder> log;
};

struct Kind {
  int layout;
  const char* file;
  const wchar_t* srcDefault;
};

const Kind kKinds[] = {
    {HLF::EDITOR_LAYOUT_GAME_SOUNDS, "scripts/sounds.xml", L"Select sound file"},
    {HLF::EDITOR_LAYOUT_GAME_IMAGES, "scripts/images.xml", L"Select image file"},
};

TEST_F(EditorAssetsDialogsTest, GroupsAndEntriesAreAddedOnceWithBlanksAsUnderscores) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.file);
    EditorAssetsDialog* dialog = Open(kind.layout);
    ASSERT_NE(dialog, nullptr);
    // The comment under "assets" is no group.
    EXPECT_EQ(Items(dialog), (std::vector<std::wstring>{L"[ ui ]", L"[ music ]"}));
    EXPECT_FALSE(dialog->GetUpdateButton()->IsVisible());

    AddName(dialog, L"my group");
    EXPECT_NE(Load(kind.file)->GetRoot()->GetChildByPath(L"game/assets/my_group"), nullptr);
    EXPECT_EQ(dialog->GetList()->GetSelectedItem(), L"[ my_group ]");
    // Not an XML name: refused, the file as it was.
    const std::string before = Read(kind.file);
    const int refused = log->Count(L"can't be an asset group");
    for (const wchar_t* bad : {L"1st", L"a<b", L"x\"y", L"-z"}) AddName(dialog, bad);
    EXPECT_EQ(Read(kind.file), before);
    EXPECT_EQ(log->Count(L"can't be an asset group") - refused, 4);

    Enter(dialog, L"[ ui ]");
    EXPECT_EQ(dialog->GetGroup(), L"ui");
    EXPECT_EQ(Items(dialog)[0], L"[ .. ]");
    AddName(dialog, L"new one");
    auto doc = Load(kind.file);
    EXPECT_EQ(Attr(Entry(*doc, L"ui", L"new_one"), L"src"), kind.srcDefault);
    // Selected, and its details shown at once.
    EXPECT_EQ(dialog->GetList()->GetSelectedItem(), L"new_one");
    EXPECT_TRUE(dialog->GetUpdateButton()->IsVisible());
    EXPECT_EQ(dialog->GetIDEdit()->GetText(), L"new_one");

    // A name that exists keeps its values.
    AddName(dialog, L"click");
    doc = Load(kind.file);
    EXPECT_EQ(Attr(Entry(*doc, L"ui", L"click"), L"src"),
              kind.layout == HLF::EDITOR_LAYOUT_GAME_SOUNDS ? L"a.wav" : L"big.png");
    EXPECT_EQ(dialog->GetList()->GetSelectedItem(), L"click");
    dialog->GetParent()->RemoveChild(dialog, true);
  }
}

TEST_F(EditorAssetsDialogsTest, DeletesInAGroupAndAtTheTopAndThenUpdatesNothing) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.file);
    EditorAssetsDialog* dialog = Open(kind.layout);
    ASSERT_NE(dialog, nullptr);
    Enter(dialog, L"[ ui ]");
    // "[ .. ]" can't be deleted, and its click hides the details.
    Select(dialog, L"[ .. ]");
    Click(dialog->GetDelButton());
    EXPECT_EQ(dialog->GetConfirmDialog(), nullptr);
    EXPECT_FALSE(dialog->GetUpdateButton()->IsVisible());

    Delete(dialog, L"click", false);
    EXPECT_NE(Entry(*Load(kind.file), L"ui", L"click"), nullptr);
    Delete(dialog, L"click", true);
    auto doc = Load(kind.file);
    EXPECT_EQ(Entry(*doc, L"ui", L"click"), nullptr);
    EXPECT_NE(Entry(*doc, L"ui", L"whoosh"), nullptr);
    // The list's old position names "whoosh" now: no selection, no details,
    // and Update writes nothing over it.
    EXPECT_EQ(dialog->GetList()->GetSelected(), -1);
    EXPECT_FALSE(dialog->GetUpdateButton()->IsVisible());
    const std::string before = Read(kind.file);
    Click(dialog->GetUpdateButton());
    EXPECT_EQ(Read(kind.file), before);
    Select(dialog, L"[ .. ]");
    Click(dialog->GetUpdateButton());
    EXPECT_EQ(Read(kind.file), before);

    Enter(dialog, L"[ .. ]");
    EXPECT_EQ(dialog->GetGroup(), L"");
    Delete(dialog, L"[ ui ]", true);
    doc = Load(kind.file);
    EXPECT_EQ(doc->GetRoot()->GetChildByPath(L"game/assets/ui"), nullptr);
    EXPECT_NE(doc->GetRoot()->GetChildByPath(L"game/assets/music"), nullptr);
    EXPECT_EQ(Items(dialog), (std::vector<std::wstring>{L"[ music ]"}));
    // The comment stays in the file.
    EXPECT_NE(Read(kind.file).find("groups below"), std::string::npos);

    // A double click with nothing selected keeps the view.
    dialog->GetList()->SetSelected(-1);
    Emit(dialog->GetList(), HLF::LISTBOX_MSG_DOUBLE_CLICK);
    EXPECT_EQ(dialog->GetGroup(), L"");
    dialog->GetParent()->RemoveChild(dialog, true);
  }
}

TEST_F(EditorAssetsDialogsTest, SoundsShowTheirDefaultsAndRefuseAVolumeThatIsNoNumber) {
  auto* sounds = dynamic_cast<HLF::EditorGameSoundsDialog*>(Open(HLF::EDITOR_LAYOUT_GAME_SOUNDS));
  ASSERT_NE(sounds, nullptr);
  Enter(sounds, L"[ ui ]");
  Select(sounds, L"whoosh");
  EXPECT_EQ(sounds->GetVolumeEdit()->GetText(), L"100");
  EXPECT_FALSE(sounds->GetSoundLoopedCheckbox()->IsChecked());
  EXPECT_EQ(sounds->GetFileEdit()->GetText(), L"b.wav");
  Select(sounds, L"click");
  EXPECT_EQ(sounds->GetVolumeEdit()->GetText(), L"50");
  EXPECT_TRUE(sounds->GetSoundLoopedCheckbox()->IsChecked());

  const std::string before = Read("scripts/sounds.xml");
  for (const wchar_t* volume : {L"", L"1.2.3", L"."}) {
    sounds->GetVolumeEdit()->SetText(volume);
    Click(sounds->GetUpdateButton());
  }
  EXPECT_EQ(Read("scripts/sounds.xml"), before);
  EXPECT_EQ(log->Count(L"is not a number"), 3);

  // Renamed in place; onto another entry's name refused.
  sounds->GetVolumeEdit()->SetText(L"0.5");
  sounds->GetIDEdit()->SetText(L"tap");
  Click(sounds->GetUpdateButton());
  auto doc = Load("scripts/sounds.xml");
  LLF::XmlElement* tap = Entry(*doc, L"ui", L"tap");
  EXPECT_EQ(Attr(tap, L"volume"), L"0.5");
  EXPECT_EQ(Attr(tap, L"looped"), L"true");
  EXPECT_EQ(Attr(tap, L"src"), L"a.wav");
  EXPECT_EQ(Items(sounds), (std::vector<std::wstring>{L"[ .. ]", L"tap", L"whoosh"}));
  EXPECT_EQ(sounds->GetList()->GetSelectedItem(), L"tap");
  sounds->GetIDEdit()->SetText(L"whoosh");
  const std::string renamed = Read("scripts/sounds.xml");
  Click(sounds->GetUpdateButton());
  EXPECT_EQ(Read("scripts/sounds.xml"), renamed);
}

// A width x height RGB PNG in the game folder.
void WritePng(const std::string& path, unsigned width, unsigned height) {
  QmTest::WriteFileBytes(path, QmTest::MakePng(width, height, std::vector<uint16_t>(width * height * 3, 200),
                                               QmTest::PngOptions()));
}

TEST_F(EditorAssetsDialogsTest, ThePreviewShowsOneCellScaledDownNeverUp) {
  WritePng(folders.Program() + "/big.png", 1000, 500);
  WritePng(folders.Program() + "/small.png", 100, 80);
  auto* images = dynamic_cast<HLF::EditorGameImagesDialog*>(Open(HLF::EDITOR_LAYOUT_GAME_IMAGES));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->GetPreviewBox(), LLF::Point(370, 275));
  Enter(images, L"[ ui ]");

  struct Case {
    const wchar_t* item;
    float scale;
    LLF::Point cell;
  };
  for (const Case& c :
       {Case{L"click", 0.55f, LLF::Point(500, 500)}, Case{L"small", 1.0f, LLF::Point(100, 80)}}) {
    SCOPED_TRACE(c.item);
    Select(images, c.item);
    ASSERT_NE(images->GetPreview(), nullptr);
    EXPECT_TRUE(images->GetPreviewImage()->IsVisible());
    EXPECT_EQ(images->GetPreviewImage()->GetImage(), images->GetPreview());
    EXPECT_FLOAT_EQ(images->GetPreviewImage()->GetScale().x, c.scale);
    EXPECT_FLOAT_EQ(images->GetPreviewImage()->GetScale().y, c.scale);
    EXPECT_EQ(images->GetPreviewImage()->GetSize(), c.cell);
  }

  // Cells typed: "0" and "" change nothing, "3" rebuilds the preview only.
  Select(images, L"click");
  const std::string before = Read("scripts/images.xml");
  for (const wchar_t* typed : {L"0", L""}) {
    images->GetCellsEdit()->SetText(typed);
    Emit(images->GetCellsEdit(), HLF::EDIT_MSG_TEXT);
    EXPECT_EQ(images->GetCells(), 2);
    EXPECT_EQ(images->GetPreview()->GetCellWidth(), 500u);
  }
  images->GetCellsEdit()->SetText(L"3");
  Emit(images->GetCellsEdit(), HLF::EDIT_MSG_TEXT);
  EXPECT_EQ(images->GetCells(), 3);
  EXPECT_EQ(images->GetPreview()->GetCellWidth(), 333u);
  EXPECT_EQ(Read("scripts/images.xml"), before);

  // Update refuses cells or loops below 1.
  for (const auto& [cells, loops] : {std::pair{L"0", L"1"}, {L"", L"1"}, {L"2", L"0"}}) {
    images->GetCellsEdit()->SetText(cells);
    images->GetLoopsEdit()->SetText(loops);
    Click(images->GetUpdateButton());
  }
  EXPECT_EQ(Read("scripts/images.xml"), before);
  EXPECT_EQ(log->Count(L"must be whole numbers of at least 1"), 3);
  images->GetCellsEdit()->SetText(L"4");
  images->GetLoopsEdit()->SetText(L"1");
  Click(images->GetUpdateButton());
  EXPECT_EQ(Attr(Entry(*Load("scripts/images.xml"), L"ui", L"click"), L"cells"), L"4");

  // No src, cells or loops: empty, 1 and 1, and no preview.
  Select(images, L"whoosh");
  EXPECT_EQ(images->GetFileEdit()->GetText(), L"");
  EXPECT_EQ(images->GetCellsEdit()->GetText(), L"1");
  EXPECT_EQ(images->GetLoopsEdit()->GetText(), L"1");
  EXPECT_EQ(images->GetPreview(), nullptr);
  EXPECT_FALSE(images->GetPreviewImage()->IsVisible());
  // A file that is no picture: no preview either.
  QmTest::WriteBytes(folders.Program() + "/small.png", "not a picture");
  Select(images, L"small");
  EXPECT_EQ(images->GetPreview(), nullptr);
  EXPECT_FALSE(images->GetPreviewImage()->IsVisible());
  Select(images, L"click");
  ASSERT_NE(images->GetPreview(), nullptr);
  // The dialog goes with its preview still shown (ASan finds a double free
  // or a leak here).
  game.GetEditorLayer()->RemoveChild(images, true);
}

}  // namespace
