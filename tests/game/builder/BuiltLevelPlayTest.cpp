// Levels built from the generated input folders, in a copy of the data
// folder without its levels: the command typed into the console, the level
// started as the script starts one, and window clicks at the built objects'
// centres counting finds.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BuilderInputs.h"
#include "BuilderTestSupport.h"
#include "FileBytes.h"
#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "flow/ZentaMainMenu.h"
#include "map/LevelInfo.h"
#include "model/GameServices.h"
#include "model/StateMachine.h"
#include "modes/GameModeHost.h"
#include "modes/mirror/GameModeMirror.h"
#include "modes/seek/GameModeSeek.h"
#include "shell/Game.h"
#include "xml/XmlElement.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;
using Datagen::BuilderInputs;

class BuiltLevelPlayTest : public ::testing::Test, public HLF::StateMachine {
 protected:
  void SetUp() override {
    CopyGeneratedData(folders.Program());
    ASSERT_FALSE(fs::exists(folders.Program() + "/levels"));
    game = std::make_unique<HeadlessVoyage>(folders.Program());
    ASSERT_TRUE(game->Start(true));
    ASSERT_TRUE(game->SkipToMenu() || game->SkipToMenu());
    game->SetCurrentProfile(L"Fox");
    game->GetScript().GetMainMenu()->SetVisible(false);
    GameMode::ResetRunFlags();
    game->SetStateMachine(this);
    LLF::XmlElement* config = HLF::Game::GetInstance()->GetConfigDoc()->GetRoot()->GetChildByPath(L"config");
    config->GetChildByPath(L"game/help")->GetAttribute(std::wstring(L"showTips"))->SetValue(L"false");
    std::string error;
    ASSERT_TRUE(BuilderInputs::Write(folders.Program() + "/levels/built", "levels/built", error)) << error;
  }

  void TearDown() override {
    host.Release();
    HLF::GameServices::DeleteDeferred();
    game->SetStateMachine(nullptr);
    game->Stop();
  }

  void Update(unsigned dt) override {
    host.Update(dt);
    HLF::StateMachine::Update(dt);
  }
  bool OnMessage(LLF::Message* msg) override {
    if (msg) host.OnModeMessage(*msg, this);
    return true;
  }

  static bool Execute(const std::wstring& line) { return HLF::Console::GetInstance().Execute(line, false); }

  // The level of levels/built/<name> started and run until its clock runs.
  GameMode* Start(const std::wstring& name, const std::wstring& type) {
    LevelInfo info;
    info.folder = L"levels/built/" + name + L"/";
    info.name = name;
    info.type = type;
    info.musicAsset = L"LEVMUSIC_A";
    info.level = 0;
    info.day = 0;
    if (!host.StartLevel(info, this)) return nullptr;
    for (int t = 0; t < 4500; t += 100) game->Frame(100);
    return host.GetMode();
  }

  void Click(int x, int y) {
    LLF::Message down(&LLF::AppWindow::GetInstance(), LLF::WMSG_BUTTON_DOWN, 1, x, y, std::wstring());
    game->OnMessage(&down);
    LLF::Message up(&LLF::AppWindow::GetInstance(), LLF::WMSG_BUTTON_UP, 1, x, y, std::wstring());
    game->OnMessage(&up);
    game->Frame(16);
  }

  static LLF::Point Centre(const LLF::Rect& r) { return LLF::Point(r.x + r.width / 2, r.y + r.height / 2); }

  std::string Folder(const std::string& name) const {
    return folders.Program() + "/levels/built/" + name + "/";
  }

  TempFolders folders;
  std::unique_ptr<HeadlessVoyage> game;
  GameModeHost host;
};

TEST_F(BuiltLevelPlayTest, ABuiltSeekLevelPlaysAndEveryNameIsFound) {
  ASSERT_TRUE(Execute(L"buildlevel seek levels/built/seek"));
  ASSERT_EQ(HeadlessVoyage::LogCount(L"Level has been created!"), 1);
  auto* seek = dynamic_cast<GameModeSeek*>(Start(L"seek", L"seek"));
  ASSERT_NE(seek, nullptr);
  SeekModeManager& board = seek->GetBoard();
  EXPECT_EQ(board.GetObjects().size(), BuilderInputs::SeekObjects().size());
  ASSERT_EQ(board.GetSearchList().size(), 10u);

  size_t listed = 0;
  for (const BuilderInputs::SeekObject& o : BuilderInputs::SeekObjects()) {
    if (o.flag == L"unknown") continue;
    ++listed;
    const LLF::Point c = Centre(o.rect);
    Click(c.x, c.y);
    ASSERT_EQ(board.GetFoundRecords().size(), listed) << LLF::WideToAnsi(o.name);
    EXPECT_EQ(board.GetFoundRecords().back().name, o.name);
  }
  EXPECT_EQ(listed, 10u);

  // The second run logs the error and leaves every file as it was.
  host.Release();
  HLF::GameServices::DeleteDeferred();
  const auto before = FolderBytes(Folder("seek"));
  ASSERT_TRUE(Execute(L"buildlevel seek levels/built/seek"));
  EXPECT_EQ(HeadlessVoyage::LogCount(L"already exists. Nothing has been built."), 1);
  EXPECT_TRUE(FolderBytes(Folder("seek")) == before);
}

TEST_F(BuiltLevelPlayTest, BuiltMirrorLevelsPlayInBothModes) {
  ASSERT_TRUE(Execute(L"buildlevel mirror levels/built/mirror 35"));
  ASSERT_TRUE(Execute(L"buildlevel mirror levels/built/mirror_precut"));
  const struct {
    const wchar_t* name;
    // The expected differences, left ones first.
    std::vector<LLF::Rect> rects;
  } levels[] = {
      // At 35 the two left blobs 30 px apart are one difference.
      {L"mirror",
       {{60, 80, 90, 30},
        BuilderInputs::MirrorLeftBlobs()[2],
        BuilderInputs::MirrorRightBlobs()[0],
        BuilderInputs::MirrorRightBlobs()[1]}},
      // Pre-cut: last file first on each side.
      {L"mirror_precut",
       {BuilderInputs::PreCutLeft()[1], BuilderInputs::PreCutLeft()[0], BuilderInputs::PreCutRight()[1],
        BuilderInputs::PreCutRight()[0]}},
  };
  for (const auto& level : levels) {
    SCOPED_TRACE(LLF::WideToAnsi(level.name));
    const std::vector<Element> objects = ReadChildren(Folder(LLF::WideToAnsi(level.name)) + "level.xml");
    ASSERT_EQ(objects.size(), level.rects.size() + 1);
    for (size_t i = 0; i < level.rects.size(); ++i) {
      EXPECT_EQ(objects[i + 1].Get(L"pos"), Pos(level.rects[i])) << i;
      EXPECT_EQ(objects[i + 1].Get(L"dims"), Dims(level.rects[i])) << i;
    }
    auto* mirror = dynamic_cast<GameModeMirror*>(Start(level.name, L"mirror"));
    ASSERT_NE(mirror, nullptr);
    MirrorModeManager& board = mirror->GetBoard();
    ASSERT_EQ(board.GetDifferences().size(), level.rects.size());
    // A left difference clicked on the right half, a right one on the left.
    const LLF::Point left = Centre(level.rects[0]);
    Click(left.x + 400, left.y);
    EXPECT_EQ(board.LeftCount(), int(level.rects.size()) - 1);
    const LLF::Point right = Centre(level.rects.back());
    Click(right.x - 400, right.y);
    EXPECT_EQ(board.LeftCount(), int(level.rects.size()) - 2);
    host.Release();
    HLF::GameServices::DeleteDeferred();
  }
  for (const char* name : {"mirror", "mirror_precut"}) {
    for (const char* layer : {"Scene_left.png", "Layer_original.png", "Diff_left_1.png"})
      EXPECT_FALSE(FileExists(Folder(name) + layer)) << name << layer;
  }
}

}  // namespace
}  // namespace QmTest
