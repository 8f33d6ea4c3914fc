// The Puzzle mode as the game runs it: levels started through the play-mode
// host in the real shell on the generated data, frames stepped on the
// manual clock. The boards are 2 x 2 fixture levels cut from the first
// Puzzle level's picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoardLevel.h"
#include "GameAtMenu.h"
#include "HeadlessVoyage.h"
#include "ModeDriver.h"
#include "ProfileVars.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "map/ZentaLevelMap.h"
#include "modes/puzzle/GameModePuzzle.h"
#include "modifiers/Effect.h"
#include "ui/StatsDialog.h"
#include "widgets/Label.h"

namespace QmTest {
namespace {

using Driver = ModeDriver;

class PuzzleModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.Start());
    game->SetStateMachine(&driver);
  }

  void TearDown() override {
    driver.Release();
    game->Stop();
  }

  // A level of day 1 with its own level element.
  LevelInfo FixtureLevel(const std::string& name, const std::string& attributes) {
    return WriteBoardLevel(game.Program(), name, attributes, L"puzzle");
  }

  // Two by two, cut from the first level's picture.
  LevelInfo Fixture(const std::string& name = "t_2x2") {
    return FixtureLevel(name, "imageFile=\"levels/d1_puzzle/picture.png\" colsRows=\"2\"");
  }

  GameModePuzzle* Start(const LevelInfo& info) {
    if (!driver.Restart(info)) return nullptr;
    game->Frame(16);
    return dynamic_cast<GameModePuzzle*>(driver.host.GetMode());
  }
  // Started on a stored board, past the screen's fade.
  GameModePuzzle* StartWith(const LevelInfo& info, const std::wstring& angles) {
    SetProfileVar(GameModePuzzle::ProgressPath(info.name), L"angles", angles);
    GameModePuzzle* mode = Start(info);
    if (!mode) return nullptr;
    // Past the screen's fade, with the goal message (the first time this
    // player meets the mode) answered.
    Run(7000);
    if (HLF::Dialog* message = mode->GetMessageDialog()) {
      message->OnOk();
      Run(1000);
    }
    return mode->IsPlaying() ? mode : nullptr;
  }

  // A click resets the frame time: the frame after it stands still, then
  // ms pass.
  void Later(unsigned ms) {
    game->Frame(16);
    game->Frame(ms);
  }

  void Run(unsigned total, unsigned step = 50) {
    for (unsigned t = 0; t < total; t += step) game->Frame(step);
  }

  static void Click(HLF::Control* piece) {
    ASSERT_NE(piece, nullptr);
    piece->OnMouseUp(LLF::Message(nullptr, 2, 1, 0, 0, L""));
  }

  static std::wstring Counters(GameModePuzzle& mode) {
    std::wstring text;
    for (const wchar_t* name : {L"correct_num", L"incorrect_num", L"total_num"}) {
      auto* label = dynamic_cast<HLF::Label*>(mode.GetItemsPanel()->GetChildByName(name));
      text += (text.empty() ? L"" : L"/") + (label ? label->GetFullText() : L"(no label)");
    }
    return text;
  }

  // The names of the rotate effects the piece runs now.
  static std::vector<std::wstring> RunningTurns(const HLF::Control* piece) {
    std::vector<std::wstring> names;
    for (int i = 0; i < piece->GetEffectsCount(); ++i) {
      const HLF::Effect* effect = piece->GetEffect(i);
      if (effect && effect->IsRunning() &&
          effect->GetName().find(PuzzleModeManager::kRotateEffect) != std::wstring::npos) {
        names.push_back(effect->GetName());
      }
    }
    return names;
  }

  GameAtMenu game{true};
  Driver driver;
};

TEST_F(PuzzleModeTest, ASaveDuringATurnStoresWhereTheTurnEndsAndComesBackThere) {
  const LevelInfo level = Fixture();
  GameModePuzzle* mode = StartWith(level, L"0,90,180,270,");
  ASSERT_NE(mode, nullptr);
  PuzzleModeManager& board = mode->GetBoard();
  EXPECT_EQ(board.GetAngles(), L"0,90,180,270,");
  EXPECT_EQ(Counters(*mode), L"1/3/4");

  Click(board.GetPiece(1, 0));
  Click(board.GetPiece(1, 1));
  Later(100);
  const float turning = board.GetPiece(1, 1)->GetRotation();
  EXPECT_GT(turning, 270.0f);
  EXPECT_LT(turning, 360.0f);
  EXPECT_TRUE(driver.host.SaveRunningLevel());
  EXPECT_EQ(ProfileVar(GameModePuzzle::ProgressPath(level.name), L"angles"), L"0,180,180,360,");

  // Left mid-turn and resumed: every piece at its stored angle.
  mode = Start(level);
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->GetBoard().GetAngles(), L"0,180,180,360,");
  EXPECT_EQ(mode->GetBoard().GetPiece(1, 1)->GetRotation(), 360.0f);
  EXPECT_EQ(Counters(*mode), L"2/2/4");
}

TEST_F(PuzzleModeTest, APieceAt270TurnsTo360WhichIsUprightAndTurnsOnFromTheFirstQuarter) {
  GameModePuzzle* mode = StartWith(Fixture(), L"0,90,180,270,");
  ASSERT_NE(mode, nullptr);
  HLF::StaticImage* piece = mode->GetBoard().GetPiece(1, 1);
  Click(piece);
  EXPECT_EQ(RunningTurns(piece), std::vector<std::wstring>{L"LevelPuzzleRotatePiece270"});
  Run(400);
  EXPECT_EQ(piece->GetRotation(), 360.0f) << "the turn lands exactly";
  EXPECT_TRUE(PuzzleModeManager::IsUpright(piece));
  EXPECT_EQ(Counters(*mode), L"2/2/4");

  Click(piece);
  EXPECT_EQ(RunningTurns(piece), std::vector<std::wstring>{L"LevelPuzzleRotatePiece0"});
  Run(400);
  EXPECT_EQ(piece->GetRotation(), 90.0f);
  EXPECT_EQ(Counters(*mode), L"1/3/4");
}

TEST_F(PuzzleModeTest, AClickDuringATurnEndsItAtOnceAndTheCountersWaitForTheNextTurn) {
  GameModePuzzle* mode = StartWith(Fixture(), L"0,90,180,270,");
  ASSERT_NE(mode, nullptr);
  HLF::StaticImage* piece = mode->GetBoard().GetPiece(0, 1);
  Run(1000);
  const int waited = mode->GetSinceLastFindMs();
  Click(piece);
  EXPECT_EQ(mode->GetLongestFindMs(), waited);
  EXPECT_EQ(mode->GetSinceLastFindMs(), 0);
  Later(100);
  EXPECT_GT(piece->GetRotation(), 180.0f);
  EXPECT_LT(piece->GetRotation(), 270.0f);

  Click(piece);
  EXPECT_EQ(piece->GetRotation(), 270.0f) << "the first turn jumped to its end";
  EXPECT_EQ(RunningTurns(piece), std::vector<std::wstring>{L"LevelPuzzleRotatePiece270"});
  EXPECT_EQ(mode->GetFastestFindMs(), 100);
  Later(100);
  EXPECT_EQ(Counters(*mode), L"1/3/4") << "the stopped turn reports nothing";
  Run(300);
  EXPECT_EQ(piece->GetRotation(), 360.0f);
  EXPECT_EQ(Counters(*mode), L"2/2/4");
  EXPECT_TRUE(mode->IsPlaying());
}

TEST_F(PuzzleModeTest, AStoredBoardIsTakenWholeOrNotAtAll) {
  // The draw a fresh board gets from this seed.
  LLF::SeedRandom(5);
  GameModePuzzle* mode = Start(Fixture("t_fresh"));
  ASSERT_NE(mode, nullptr);
  const std::wstring draw = mode->GetBoard().GetAngles();
  ASSERT_NE(mode->GetBoard().CountCorrect(), 4) << "pick a seed that does not draw a finished board";

  const LevelInfo level = Fixture();
  const struct {
    const char* name;
    const wchar_t* stored;
    bool taken;
  } cases[] = {
      {"valid", L"90,360,0,270,", true},          {"too few", L"90,360,0,", false},
      {"too many", L"90,360,0,270,90,", false},   {"not a number", L"90,x,0,270,", false},
      {"45 degrees", L"90,45,0,270,", false},     {"empty", L"", false},
      {"no final comma", L"90,360,0,270", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetProfileVar(GameModePuzzle::ProgressPath(level.name), L"angles", c.stored);
    const int warnings = HeadlessVoyage::LogCount(L"don't fit the board");
    LLF::SeedRandom(5);
    mode = Start(level);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(HeadlessVoyage::LogCount(L"don't fit the board") - warnings, c.taken ? 0 : 1);
    EXPECT_EQ(mode->GetBoard().GetAngles(), c.taken ? std::wstring(c.stored) : draw);
  }
  EXPECT_EQ(Counters(*mode), LLF::ToString(mode->GetBoard().CountCorrect()) + L"/" +
                                 LLF::ToString(4 - mode->GetBoard().CountCorrect()) + L"/4");
}

// The hint count starts at 0 with every load, so a board won at load always
// earns the bonus; it must be in the total stored by the win.
TEST_F(PuzzleModeTest, ABoardRestoredUprightIsWonAtLoadWithTheBonusInTheStoredTotal) {
  SetProfileVar(L"stats", L"score", L"500");
  const LevelInfo level = Fixture();
  SetProfileVar(GameModePuzzle::ProgressPath(level.name), L"angles", L"0,360,360,0,");
  GameModePuzzle* mode = Start(level);
  ASSERT_NE(mode, nullptr);
  EXPECT_TRUE(mode->IsResultStored());
  EXPECT_FALSE(mode->IsPlaying());
  EXPECT_EQ(Counters(*mode), L"4/0/4");
  EXPECT_EQ(mode->GetLevelScore(), 1000);
  EXPECT_EQ(ProfileVar(L"stats", L"score"), L"1500");
  EXPECT_EQ(mode->GetTotalScore(), 1500);
  EXPECT_EQ(ProfileVar(ZentaLevelMap::DayProgressPath(0), level.name), L"complete");
  Run(2500);
  ASSERT_NE(mode->GetStatsDialog(), nullptr);
  EXPECT_EQ(mode->GetStatsDialog()->GetStats().totalScore, 1500);
  EXPECT_EQ(ProfileVar(L"stats", L"score"), L"1500") << "stored once";
  EXPECT_EQ(HeadlessVoyage::LogCount(L"GameModePuzzle::DoState() - GMPZ_STATE_SHOWRESULTS"), 1);
  EXPECT_EQ(ProfileVar(GameModePuzzle::ProgressPath(level.name), L"angles"), L"0,360,360,0,");
}

TEST_F(PuzzleModeTest, HoverScalesEveryPieceUprightOrNot) {
  GameModePuzzle* mode = StartWith(Fixture(), L"0,90,180,270,");
  ASSERT_NE(mode, nullptr);
  for (HLF::StaticImage* piece : {mode->GetBoard().GetPiece(0, 0), mode->GetBoard().GetPiece(1, 0)}) {
    // The mouse over the piece finds the piece, not the frame over it.
    const LLF::Vector2 centre = piece->GetPosition() + LLF::Vector2(120, 120);
    EXPECT_EQ(game->GetControlAt(centre), piece);
    piece->OnMouseEnter();
    Run(300);
    EXPECT_GT(piece->GetScale().x, 1.02f);
    piece->OnMouseLeave();
    Run(300);
    EXPECT_FLOAT_EQ(piece->GetScale().x, 1.0f);
  }
}

// The winning piece is clicked with the mouse over it, so it is grown; the
// won board takes no hover, so only the win can shrink it back.
TEST_F(PuzzleModeTest, ThePieceGrownUnderTheMouseShrinksBackAtTheWin) {
  GameModePuzzle* mode = StartWith(Fixture(), L"0,0,0,270,");
  ASSERT_NE(mode, nullptr);
  HLF::StaticImage* last = mode->GetBoard().GetPiece(1, 1);
  last->OnMouseEnter();
  Run(300);
  ASSERT_GT(last->GetScale().x, 1.02f);
  Click(last);
  Run(400);
  ASSERT_FALSE(mode->IsPlaying()) << "the last turn wins";
  last->OnMouseLeave();
  Run(300);
  EXPECT_FLOAT_EQ(last->GetScale().x, 1.0f);
  EXPECT_FLOAT_EQ(last->GetScale().y, 1.0f);
  EXPECT_FLOAT_EQ(mode->GetBoard().GetPiece(0, 0)->GetScale().x, 1.0f);
}

TEST_F(PuzzleModeTest, BoardsThatCannotBePlayedAreRefusedAndAnOblongPictureIsCutByItsWidth) {
  const struct {
    const char* name;
    const char* attributes;
    const wchar_t* error;
  } refused[] = {
      {"t_zero", "imageFile=\"levels/d1_puzzle/picture.png\" colsRows=\"0\"", L"colsRows must be at least 1"},
      {"t_negative", "imageFile=\"levels/d1_puzzle/picture.png\" colsRows=\"-3\"",
       L"colsRows must be at least 1"},
      {"t_missing", "imageFile=\"levels/d1_puzzle/picture.png\"", L"colsRows must be at least 1"},
      {"t_nopicture", "imageFile=\"levels/none.png\" colsRows=\"2\"",
       L"can't load the picture \"levels/none.png\""},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.name);
    const int errors = HeadlessVoyage::LogCount(c.error);
    EXPECT_EQ(Start(FixtureLevel(c.name, c.attributes)), nullptr);
    EXPECT_EQ(HeadlessVoyage::LogCount(c.error) - errors, 1);
    EXPECT_EQ(driver.host.GetMode(), nullptr);
  }

  GameModePuzzle* mode =
      Start(FixtureLevel("t_oblong", "imageFile=\"levels/d1_jigsaw/picture.jpg\" colsRows=\"2\""));
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"is 600 x 450, not square"), 1);
  EXPECT_EQ(mode->GetBoard().GetCellSize(), 300.0f);
  EXPECT_EQ(mode->GetBoard().GetPiece(1, 1)->GetPosition().y, 344.0f);

  // The first Puzzle level of the list.
  mode = Start(ZentaLevelMap::GetLevelInfo(0, 1));
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->GetBoard().GetColsRows(), 3);
  EXPECT_EQ(mode->GetBoard().GetCellSize(), 160.0f);
}

}  // namespace
}  // namespace QmTest
