// What a level file may ask of a play mode: a Puzzle board past its largest
// grid is refused with one error line before any piece is made, and the
// largest grid still plays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "GameAtMenu.h"
#include "HeadlessVoyage.h"
#include "ModeDriver.h"
#include "core/StringUtils.h"
#include "modes/puzzle/GameModePuzzle.h"
#include "modes/puzzle/PuzzleModeManager.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

class LevelBoundsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(start.Start());
    start->SetStateMachine(&driver);
  }

  void TearDown() override {
    driver.Release();
    start->Stop();
  }

  GameModePuzzle* StartPuzzle(const std::string& name, int colsRows) {
    const std::string folder = start.Program() + "/levels/" + name + "/";
    fs::create_directories(folder);
    std::ofstream(folder + "level.xml")
        << "<level imageFile=\"levels/d1_puzzle/picture.png\" colsRows=\"" << colsRows << "\" />";
    std::ofstream(folder + "asset.xml") << "<game><assets><LEVOBJECTS /></assets></game>";
    LevelInfo info;
    info.folder = LLF::AnsiToWide("levels/" + name + "/");
    info.name = LLF::AnsiToWide(name);
    info.type = L"puzzle";
    info.musicAsset = L"LEVMUSIC_A";
    if (!driver.Restart(info)) return nullptr;
    start->Frame(16);
    return dynamic_cast<GameModePuzzle*>(driver.host.GetMode());
  }

  GameAtMenu start{true};
  ModeDriver driver;
};

TEST_F(LevelBoundsTest, APuzzleGridPastTheBoundIsRefusedAndTheLargestPlays) {
  const int largest = PuzzleModeManager::kMaxColsRows;
  for (int colsRows : {largest + 1, 100000, 2147483647}) {
    SCOPED_TRACE(colsRows);
    const std::wstring error = L"Error: PuzzleModeManager - the level's board of " + LLF::ToString(colsRows) +
                               L" columns and rows can't be played; colsRows must be at most 32.";
    EXPECT_EQ(StartPuzzle("t_huge", colsRows), nullptr);
    EXPECT_EQ(HeadlessVoyage::LogCount(error), 1);
  }

  GameModePuzzle* mode = StartPuzzle("t_largest", largest);
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->GetBoard().GetColsRows(), largest);
  EXPECT_NE(mode->GetBoard().GetPiece(largest - 1, largest - 1), nullptr);
}

}  // namespace
}  // namespace QmTest
