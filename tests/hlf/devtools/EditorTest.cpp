// The editor's core: where its font comes from, opening and closing over
// the game's layers, the main dialog it puts on the EDITOR layer, the game's
// registries edited and saved in a temporary game folder, and the game's
// shutdown with the editor open.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "FontTestUtil.h"
#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "devtools/Editor.h"
#include "devtools/EditorMainDialog.h"
#include "dialogs/Dialog.h"
#include "font/Font.h"
#include "font/FontCodecTTF.h"
#include "font/FontCodecXML.h"
#include "font/FontsManager.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"
#include "math/Point.h"
#include "model/ControlFactory.h"
#include "model/EditorServices.h"
#include "widgets/Button.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

using HLF::Editor;

// The font codecs (and PNG for the XML font's picture) registered for the
// scope's life, or taken away for it; put back as they were afterwards.
class FontCodecs {
 public:
  explicit FontCodecs(bool present) {
    Set(LLF::FontsManager::GetInstance(), &LLF::FontCodecTTF::GetInstance(), present);
    Set(LLF::FontsManager::GetInstance(), &LLF::FontCodecXML::GetInstance(), present);
    Set(LLF::ImagesManager::GetInstance(), &LLF::CodecPng::GetInstance(), present);
  }
  ~FontCodecs() {
    for (auto it = _undo.rbegin(); it != _undo.rend(); ++it) (*it)();
  }
  FontCodecs(const FontCodecs&) = delete;
  FontCodecs& operator=(const FontCodecs&) = delete;

 private:
  template <class Manager>
  void Set(Manager& manager, LLF::ICodec* codec, bool present) {
    bool registered = false;
    for (unsigned i = 0; i < manager.GetCodecsCount(); ++i) registered |= manager.GetCodec(i) == codec;
    if (registered == present) return;
    if (present) {
      manager.RegisterCodec(codec);
      _undo.push_back([&manager, codec] { manager.UnregisterCodec(codec); });
    } else {
      manager.UnregisterCodec(codec);
      _undo.push_back([&manager, codec] { manager.RegisterCodec(codec); });
    }
  }
  std::vector<std::function<void()>> _undo;
};

int HeightAt(int size) {
  std::unique_ptr<LLF::Font> font(QmTest::LoadTrueType(size, L"A", LLF::Point(2, 2)));
  return font ? font->GetMetrics().fontHeight : -1;
}

TEST(EditorTest, TakesItsFontFromTheFirstSourceThatLoads) {
  QmTest::TempFolders folders;
  QmTest::FrameworkFactories factories;
  const FontCodecs codecs(true);
  Editor& editor = Editor::GetInstance();
  ASSERT_FALSE(editor.IsInitialized());
  ASSERT_NE(HeightAt(10), HeightAt(14));

  // None in the game folder: the system's sans font at 10.
  ASSERT_FALSE(LLF::OS_GetSystemFontFile().empty()) << "fonts-dejavu-core is not installed";
  ASSERT_TRUE(editor.Init());
  EXPECT_EQ(editor.GetFont()->GetMetrics().fontHeight, HeightAt(10));
  EXPECT_EQ(editor.GetFont()->GetCharsCount(), 95u);
  editor.Shutdown();
  EXPECT_FALSE(editor.IsInitialized());
  EXPECT_EQ(editor.GetFont(), nullptr);

  // "Fonts/arial.ttf" of the game folder at 10.
  QmTest::WriteBytes(folders.Program() + "/Fonts/arial.ttf", QmTest::ReadBytes(QmTest::kDejaVuSans));
  ASSERT_TRUE(editor.Init());
  EXPECT_EQ(editor.GetFont()->GetMetrics().fontHeight, HeightAt(10));
  editor.Shutdown();

  // The editor's own bitmap font at 14 wins.
  std::unique_ptr<LLF::Font> made(QmTest::LoadTrueType(14, Editor::kFontCharacters, LLF::Point(2, 2)));
  ASSERT_TRUE(made);
  std::filesystem::create_directories(folders.Program() + "/editor");
  ASSERT_TRUE(LLF::FontsManager::GetInstance().SaveFont(made.get(), Editor::kFontFile));
  ASSERT_TRUE(editor.Init());
  EXPECT_EQ(editor.GetFont()->GetMetrics().fontHeight, made->GetMetrics().fontHeight);
  EXPECT_EQ(editor.GetFont()->GetCharsCount(), made->GetCharsCount());
  EXPECT_TRUE(editor.Init());  // once loaded it stays
  editor.Shutdown();
}

TEST(EditorTest, WithoutAnyFontItStaysUnloaded) {
  QmTest::TempFolders folders;
  QmTest::FrameworkFactories factories;
  const FontCodecs codecs(false);
  Editor& editor = Editor::GetInstance();
  EXPECT_FALSE(editor.Init());
  EXPECT_FALSE(editor.IsInitialized());
  editor.Open();
  EXPECT_FALSE(editor.IsOpen());
  EXPECT_EQ(HLF::ControlFactory::GetInstance().GetPrototypesCount(), 23);  // none of its own
}

// A started game in a temporary folder whose registries the test wrote.
class EditorGameTest : public ::testing::Test {
 protected:
  static constexpr const char* kStrings =
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<game><vars><var name=\"title\" value=\"Zenta\" /><var name=\"language\" value=\"english\" "
      "/></vars></game>";
  static constexpr const char* kSounds =
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<game><assets><ui><sound name=\"click\" src=\"a.wav\" volume=\"50\" looped=\"false\" /></ui></assets>"
      "</game>";
  static constexpr const char* kBrokenImages = "<game><assets><menu><image name=\"x\" </menu></game>";

  void SetUp() override {
    folders.WriteProgramFile("scripts/strings.xml", kStrings);
    folders.WriteProgramFile("scripts/sounds.xml", kSounds);
    folders.WriteProgramFile("scripts/images.xml", kBrokenImages);
    ASSERT_TRUE(game.Start());
    ASSERT_EQ(HLF::EditorServices::GetInstance(), &Editor::GetInstance());
    log = std::make_unique<QmTest::LogRecorder>();
  }

  std::string Read(const std::string& relative) const {
    return QmTest::ReadBytes(folders.Program() + "/" + relative);
  }
  // The file read back as the game would read it.
  std::unique_ptr<LLF::XmlDoc> Load(const std::string& relative) const {
    auto doc = std::make_unique<LLF::XmlDoc>();
    EXPECT_TRUE(doc->LoadFromFile(LLF::FromOsPath(folders.Program() + "/" + relative))) << relative;
    return doc;
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
  std::unique_ptr<QmTest::LogRecorder> log;
};

TEST_F(EditorGameTest, StringsAreAddedRenamedAndSavedWhereTheyCameFrom) {
  Editor& editor = Editor::GetInstance();
  ASSERT_TRUE(editor.SetStringVar(L"greeting", L"Hello  you", L""));
  EXPECT_EQ(log->Count(
                L"No var with name \"greeting\" in strings list. Adding a new one with value \"Hello  you\""),
            1);
  ASSERT_TRUE(editor.SetStringVar(L"greeting", L"Hi", L"welcome"));
  ASSERT_TRUE(editor.SetStringVar(L"title", L"The Quillmarsh", L""));

  const std::string saved = Read("scripts/strings.xml");
  EXPECT_EQ(saved.rfind(QmTest::kUtf8Bom + "<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
  auto doc = Load("scripts/strings.xml");
  LLF::XmlElement* vars = doc->GetRoot()->GetChildByPath(L"game/vars");
  ASSERT_NE(vars, nullptr);
  std::vector<std::wstring> pairs;
  for (int i = 0; i < vars->GetChildsCount(); ++i) {
    LLF::XmlElement* var = vars->GetChild(i);
    pairs.push_back(var->GetAttribute(std::wstring(L"name"))->GetValue() + L"=" +
                    var->GetAttribute(std::wstring(L"value"))->GetValue());
  }
  EXPECT_EQ(pairs, (std::vector<std::wstring>{L"title=The Quillmarsh", L"language=english", L"welcome=Hi"}));

  // The configuration naming another file is reported; that file is never
  // written.
  LLF::XmlElement* config = game.GetConfigDoc()->GetRoot()->GetChildByPath(L"config/game");
  ASSERT_NE(config, nullptr);
  config->AddChild(L"language")->AddAttribute(L"file", L"scripts/strings_fr.xml");
  ASSERT_TRUE(editor.SetStringVar(L"title", L"Zenta", L""));
  EXPECT_EQ(log->Count(L"Warning: Editor - config/game/language names scripts/strings_fr.xml"), 1);
  EXPECT_FALSE(QmTest::FileExists(folders.Program() + "/scripts/strings_fr.xml"));
  EXPECT_NE(Read("scripts/strings.xml").find("value=\"Zenta\""), std::string::npos);

  // Without game/vars nothing is set.
  game.GetStringsDoc()->GetRoot()->GetChildByPath(L"game")->RemoveChild(L"vars");
  const std::string before = Read("scripts/strings.xml");
  EXPECT_FALSE(editor.SetStringVar(L"title", L"x", L""));
  EXPECT_EQ(log->Count(L"Error: Can't find appropriate path to vars in strings.xml file."), 1);
  EXPECT_EQ(Read("scripts/strings.xml"), before);
}

TEST_F(EditorGameTest, SoundsKeepTheirVolumeAsNumbersAndAnUnreadableRegistryIsNeverOverwritten) {
  Editor& editor = Editor::GetInstance();
  ASSERT_TRUE(editor.SetSound(L"ui", L"click", L"", L"b.wav", 100.0f, true));
  ASSERT_TRUE(editor.SetSound(L"ui", L"whoosh", L"", L"c.wav", 0.5f, false));
  EXPECT_FALSE(editor.SetSound(L"nogroup", L"x", L"", L"d.wav", 1.0f, false));
  EXPECT_EQ(log->Count(L"Error: Can't find path \"game/assets/nogroup\" in sounds.xml file."), 1);
  auto doc = Load("scripts/sounds.xml");
  LLF::XmlElement* ui = doc->GetRoot()->GetChildByPath(L"game/assets/ui");
  ASSERT_NE(ui, nullptr);
  ASSERT_EQ(ui->GetChildsCount(), 2);
  const auto attr = [](LLF::XmlElement* e, const wchar_t* name) {
    return e->GetAttribute(std::wstring(name))->GetValue();
  };
  EXPECT_EQ(attr(ui->GetChild(0), L"src"), L"b.wav");
  EXPECT_EQ(attr(ui->GetChild(0), L"volume"), L"100");
  EXPECT_EQ(attr(ui->GetChild(0), L"looped"), L"true");
  EXPECT_EQ(attr(ui->GetChild(1), L"name"), L"whoosh");
  EXPECT_EQ(attr(ui->GetChild(1), L"volume"), L"0.5");
  EXPECT_EQ(attr(ui->GetChild(1), L"looped"), L"false");

  // images.xml does not parse: the shell runs on defaults, which must never
  // replace the file.
  ASSERT_EQ(game.GetDocOrigin(game.GetImagesDoc()), HLF::DocOrigin::DEFAULTS);
  LLF::XmlElement* assets = game.GetImagesDoc()->GetRoot()->GetChildByPath(L"game/assets");
  if (!assets) assets = game.GetImagesDoc()->GetRoot()->GetChildByPath(L"game")->AddChild(L"assets");
  assets->AddChild(L"menu");
  EXPECT_TRUE(editor.SetImage(L"menu", L"logo", L"", L"images/logo.png", L"1", L"1"));
  editor.SaveImages();
  EXPECT_EQ(log->Count(L"Error: Editor - scripts/images.xml is not saved: the file there can't be read."), 2);
  EXPECT_EQ(Read("scripts/images.xml"), kBrokenImages);
}

TEST_F(EditorGameTest, OpensOverTheGameWithItsMainDialog) {
  Editor& editor = Editor::GetInstance();
  editor.Close();  // closed already: nothing
  editor.Open();
  editor.Open();
  EXPECT_EQ(log->Count(L"Opening editor..."), 1);
  EXPECT_EQ(log->Count(L"Closing editor..."), 0);
  ASSERT_TRUE(editor.IsOpen());
  EXPECT_TRUE(game.GetEditorLayer()->IsVisible());
  EXPECT_FALSE(game.GetGameLayer()->IsVisible());

  auto* main = dynamic_cast<HLF::EditorMainDialog*>(game.GetEditorLayer()->GetChildByName(L"MainEditorDlg"));
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->GetChildsCount(), 8);
  EXPECT_EQ(main->GetSize(), LLF::Point(120, 340));
  EXPECT_EQ(main->GetGUIEditorButton()->GetName(), L"GUIEditorButton");
  EXPECT_EQ(main->GetGUIEditorButton()->GetFont(), editor.GetFont());

  editor.Close();
  editor.Close();
  EXPECT_EQ(log->Count(L"Closing editor..."), 1);
  EXPECT_FALSE(game.GetEditorLayer()->IsVisible());
  EXPECT_TRUE(game.GetGameLayer()->IsVisible());
  // A second load does not add a second panel.
  editor.Shutdown();
  ASSERT_TRUE(editor.Init());
  EXPECT_EQ(game.GetEditorLayer()->GetChildsCount(), 1);
}

// Stands in for the main dialog and always fails its creation.
class FailingMainDialog : public HLF::Dialog {
 public:
  FailingMainDialog() { _tag = L"editormaindlg"; }
  Control* CreateInstance() const override { return new FailingMainDialog(); }
  bool OnCreated() override { return false; }
};

TEST_F(EditorGameTest, AFailedMainDialogIsNotAdded) {
  HLF::ControlFactory::GetInstance().Register(new FailingMainDialog());
  ASSERT_TRUE(Editor::GetInstance().Init());
  EXPECT_EQ(game.GetEditorLayer()->GetChildsCount(), 0);
  EXPECT_EQ(log->Count(L"Error: Editor - the main editor dialog can't be created"), 1);
}

TEST_F(EditorGameTest, TheGameShutsDownWithTheEditorOpen) {
  Editor& editor = Editor::GetInstance();
  editor.Open();
  ASSERT_TRUE(editor.IsOpen());
  game.Stop();
  EXPECT_FALSE(editor.IsOpen());
  EXPECT_FALSE(editor.IsInitialized());
  EXPECT_EQ(log->Count(L"Closing editor..."), 1);
}

TEST(EditorShellTest, TheGameTakesItsEditorAwayAtItsEnd) {
  QmTest::TempFolders folders;
  {
    QmTest::TestGame game(folders);
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(HLF::EditorServices::GetInstance(), &Editor::GetInstance());
  }
  EXPECT_EQ(HLF::EditorServices::GetInstance(), nullptr);
}

}  // namespace
