// A Pair level built from the generated input folders, in a copy of the
// data folder without its levels and without the Pair item library: the
// items exported into the library's folder, the scene built beside its
// asset.xml, the level started as the script starts one, and window clicks
// at both odd items' centres finding them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "BuilderInputs.h"
#include "BuilderTestSupport.h"
#include "BuiltLevelFixture.h"
#include "FileBytes.h"
#include "HeadlessVoyage.h"
#include "modes/pair/GameModePair.h"
#include "modes/pair/PairModeManager.h"
#include "modes/pair/PairModeScene.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;
using Datagen::BuilderInputs;

// Without the Pair item library: the test exports it.
class BuiltPairLevelTest : public BuiltLevelFixture {
 protected:
  void TrimData() override { fs::remove_all(start.Program() + "/images/levels/pair/items"); }
};

TEST_F(BuiltPairLevelTest, ExportedItemsAndABuiltScenePlayAndBothOddItemsAreFound) {
  const std::string items = start.Program() + "/images/levels/pair/items/";
  fs::create_directories(items);
  for (const auto& entry : fs::directory_iterator(start.Program() + "/levels/built/pair_items"))
    fs::copy_file(entry.path(), items + entry.path().filename().string());
  ASSERT_TRUE(Execute(L"buildlevel pair images/levels/pair/items/ exportImages"));
  ASSERT_EQ(HeadlessVoyage::LogCount(L"Pair level assets have been created!"), 1);
  for (int n = 1; n <= BuilderInputs::kPairItems; ++n) {
    char name[32];
    std::snprintf(name, sizeof(name), "object_%03d.png", n);
    EXPECT_TRUE(FileExists(items + name)) << name;
  }
  ASSERT_TRUE(Execute(L"buildlevel pair levels/built/pair_scene"));
  ASSERT_EQ(HeadlessVoyage::LogCount(L"Level has been created!"), 1);
  // The scene's layers stay.
  for (const BuilderInputs::PairPlacement& p : BuilderInputs::PairScene())
    EXPECT_TRUE(FileExists(start.Program() + "/levels/built/pair_scene/" + LLF::WideToAnsi(p.file)));

  auto* pair = dynamic_cast<GameModePair*>(Start(L"pair_scene", L"pair"));
  ASSERT_NE(pair, nullptr);
  PairModeScene* scene = pair->GetBoard().GetCurrentScene();
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(scene->GetMissingRight(), L"levobj__05");
  EXPECT_EQ(scene->GetMissingLeft(), L"levobj__06");

  for (const BuilderInputs::PairPlacement& p : BuilderInputs::PairScene()) {
    if (p.item != 5 && p.item != 6) continue;
    const LLF::Point c = Centre(p.rect);
    Click(c.x, c.y);
    EXPECT_TRUE((p.left ? scene->GetMissingRight() : scene->GetMissingLeft()).empty()) << p.item;
  }
}

}  // namespace
}  // namespace QmTest
