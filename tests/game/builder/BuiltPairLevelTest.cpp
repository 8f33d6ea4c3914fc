// A Pair level built from the generated input folders, in a copy of the
// data folder without its levels and without the Pair item library: the
// items exported into the library's folder, the scene built beside its
// asset.xml, the level started as the script starts one, and window clicks
// at both odd items' centres finding them.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BuilderInputs.h"
#include "BuilderTestSupport.h"
#include "FileBytes.h"
#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "devtools/Console.h"
#include "flow/ZentaMainMenu.h"
#include "map/LevelInfo.h"
#include "model/GameServices.h"
#include "model/StateMachine.h"
#include "modes/GameModeHost.h"
#include "modes/pair/GameModePair.h"
#include "modes/pair/PairModeManager.h"
#include "modes/pair/PairModeScene.h"
#include "shell/Game.h"
#include "xml/XmlElement.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;
using Datagen::BuilderInputs;

class BuiltPairLevelTest : public ::testing::Test, public HLF::StateMachine {
 protected:
  void SetUp() override {
    CopyGeneratedData(folders.Program());
    fs::remove_all(folders.Program() + "/images/levels/pair/items");
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

  void Click(int x, int y) {
    LLF::Message down(&LLF::AppWindow::GetInstance(), LLF::WMSG_BUTTON_DOWN, 1, x, y, std::wstring());
    game->OnMessage(&down);
    LLF::Message up(&LLF::AppWindow::GetInstance(), LLF::WMSG_BUTTON_UP, 1, x, y, std::wstring());
    game->OnMessage(&up);
    game->Frame(16);
  }

  TempFolders folders;
  std::unique_ptr<HeadlessVoyage> game;
  GameModeHost host;
};

TEST_F(BuiltPairLevelTest, ExportedItemsAndABuiltScenePlayAndBothOddItemsAreFound) {
  const std::string items = folders.Program() + "/images/levels/pair/items/";
  fs::create_directories(items);
  for (const auto& entry : fs::directory_iterator(folders.Program() + "/levels/built/pair_items"))
    fs::copy_file(entry.path(), items + entry.path().filename().string());
  HLF::Console& console = HLF::Console::GetInstance();
  ASSERT_TRUE(console.Execute(L"buildlevel pair images/levels/pair/items/ exportImages", false));
  ASSERT_EQ(HeadlessVoyage::LogCount(L"Pair level assets have been created!"), 1);
  for (int n = 1; n <= BuilderInputs::kPairItems; ++n) {
    char name[32];
    std::snprintf(name, sizeof(name), "object_%03d.png", n);
    EXPECT_TRUE(FileExists(items + name)) << name;
  }
  ASSERT_TRUE(console.Execute(L"buildlevel pair levels/built/pair_scene", false));
  ASSERT_EQ(HeadlessVoyage::LogCount(L"Level has been created!"), 1);
  // The scene's layers stay.
  for (const BuilderInputs::PairPlacement& p : BuilderInputs::PairScene())
    EXPECT_TRUE(FileExists(folders.Program() + "/levels/built/pair_scene/" + LLF::WideToAnsi(p.file)));

  LevelInfo info;
  info.folder = L"levels/built/pair_scene/";
  info.name = L"pair_scene";
  info.type = L"pair";
  info.musicAsset = L"LEVMUSIC_A";
  info.level = 0;
  info.day = 0;
  ASSERT_TRUE(host.StartLevel(info, this));
  for (int t = 0; t < 4500; t += 100) game->Frame(100);
  auto* pair = dynamic_cast<GameModePair*>(host.GetMode());
  ASSERT_NE(pair, nullptr);
  PairModeScene* scene = pair->GetBoard().GetCurrentScene();
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(scene->GetMissingRight(), L"levobj__05");
  EXPECT_EQ(scene->GetMissingLeft(), L"levobj__06");

  for (const BuilderInputs::PairPlacement& p : BuilderInputs::PairScene()) {
    if (p.item != 5 && p.item != 6) continue;
    Click(p.rect.x + p.rect.width / 2, p.rect.y + p.rect.height / 2);
    EXPECT_TRUE((p.left ? scene->GetMissingRight() : scene->GetMissingLeft()).empty()) << p.item;
  }
}

}  // namespace
}  // namespace QmTest
