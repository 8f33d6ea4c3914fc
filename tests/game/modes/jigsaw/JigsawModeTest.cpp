// The Jigsaw mode as the game runs it: levels started through the play-mode
// host in the real shell on the generated data, frames stepped on the
// manual clock. Small boards are fixture levels cut from the first Jigsaw
// level's picture; the award screen and its thumbnail are fixtures too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BoardLevel.h"
#include "GameAtMenu.h"
#include "HeadlessVoyage.h"
#include "ImageTestUtil.h"
#include "ModeDriver.h"
#include "ProfileVars.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "map/ZentaLevelMap.h"
#include "model/StateMachine.h"
#include "modes/GameModeHost.h"
#include "modes/jigsaw/GameModeJigsaw.h"
#include "modifiers/Modifier.h"
#include "particles/Emitter.h"
#include "ui/StatsDialog.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace QmTest {
namespace {

using Driver = ModeDriver;

namespace fs = std::filesystem;

// The mode with the hint count open to the test.
class TestJigsaw : public GameModeJigsaw {
 public:
  void SetHintsUsed(int count) { hintsUsed = count; }
};

class JigsawModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string program = start.Program();
    WriteTextFile(program + "/scripts/dialogs/gallery.xml",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?><gallery>"
                  "<staticimage name=\"AwardScreen\" pos=\"150,100\" size=\"500,400\" >"
                  "<staticimage name=\"WallPreview\" pos=\"130,80\" size=\"240,150\" />"
                  "<button name=\"Continue\" style=\"DialogButton\" pos=\"190,320\" text=\"Continue\" />"
                  "</staticimage></gallery>");
    const std::vector<uint8_t> samples(24 * 15 * 3, 128);
    const Bytes jpeg = MakeJpeg(24, 15, 3, samples);
    WriteTextFile(program + "/images/wallpapers/thumb_wlp_01_wide.jpg",
                  std::string(jpeg.begin(), jpeg.end()));

    ASSERT_TRUE(start.Start());
    GameModeHost::RegisterType(L"jigsaw", [] { return new TestJigsaw(); });
    start->SetStateMachine(&driver);
  }

  void TearDown() override {
    driver.Release();
    start->Stop();
    GameModeHost::RegisterType(L"jigsaw", [] { return new GameModeJigsaw(); });
  }

  // A level of day 1 cut from the first level's picture.
  LevelInfo FixtureLevel(int cols, int rows, int wallpaper = -1) {
    const std::string name = "t_" + std::to_string(cols) + "x" + std::to_string(rows);
    return WriteBoardLevel(start.Program(), name,
                           "imageFile=\"levels/d1_jigsaw/picture.jpg\" cols=\"" + std::to_string(cols) +
                               "\" rows=\"" + std::to_string(rows) + "\"",
                           L"jigsaw", wallpaper);
  }

  TestJigsaw* Start(const LevelInfo& info) {
    if (!driver.Restart(info)) return nullptr;
    start->Frame(16);
    return dynamic_cast<TestJigsaw*>(driver.host.GetMode());
  }

  void Run(unsigned total, unsigned step = 50) {
    for (unsigned t = 0; t < total; t += step) start->Frame(step);
  }

  // Three in a row with the first two swapped and the third home, past the
  // screen's fade.
  TestJigsaw* StartTwoSwapped() {
    const LevelInfo level = FixtureLevel(3, 1);
    SetProfileVar(GameModeJigsaw::ProgressPath(level.name), L"positions", L"1,0,0,0;0,0,1,0;2,0,2,0;");
    TestJigsaw* mode = Start(level);
    if (mode) Run(4000);
    return mode;
  }

  static void Click(HLF::Control* piece) {
    ASSERT_NE(piece, nullptr);
    piece->OnMouseUp(LLF::Message(nullptr, 2, 1, 0, 0, L""));
  }

  static std::wstring Counter(GameModeJigsaw& mode, const wchar_t* name) {
    auto* label = dynamic_cast<HLF::Label*>(mode.GetItemsPanel()->GetChildByName(name));
    return label ? label->GetFullText() : L"(no label)";
  }
  static std::wstring Counters(GameModeJigsaw& mode) {
    return Counter(mode, L"correct_num") + L"/" + Counter(mode, L"incorrect_num") + L"/" +
           Counter(mode, L"total_num");
  }

  // Every cell holds exactly one piece.
  static bool IsPermutation(const JigsawModeManager& board) {
    std::vector<int> seen(static_cast<size_t>(board.GetCols() * board.GetRows()), 0);
    for (int r = 0; r < board.GetRows(); ++r) {
      for (int c = 0; c < board.GetCols(); ++c) {
        int n[4];
        if (!JigsawModeManager::ParseName(board.GetPiece(c, r)->GetName(), n)) return false;
        if (n[2] != c || n[3] != r || n[0] >= board.GetCols() || n[1] >= board.GetRows()) return false;
        const LLF::Vector2 at = board.CellPosition(n[0], n[1]);
        const LLF::Vector2 is = board.GetPiece(c, r)->GetPosition();
        if (at.x != is.x || at.y != is.y) return false;
        ++seen[static_cast<size_t>(n[1] * board.GetCols() + n[0])];
      }
    }
    for (int s : seen) {
      if (s != 1) return false;
    }
    return true;
  }

  GameAtMenu start{true};
  Driver driver;
};

TEST_F(JigsawModeTest, StoredPositionsAreTakenOnlyWhenWholeAndValid) {
  const LevelInfo level = FixtureLevel(2, 2);
  const std::wstring path = GameModeJigsaw::ProgressPath(level.name);
  const struct {
    const char* name;
    const wchar_t* stored;
    bool taken;
  } cases[] = {
      {"valid", L"1,0,0,0;0,0,1,0;0,1,0,1;1,1,1,1;", true},
      {"empty", L"", false},
      {"truncated", L"1,0,0,0;0,0,1,0;0,1,0,1;1,1,1,1", false},
      {"outside the grid", L"1,0,0,0;0,0,1,0;0,2,0,1;1,1,1,1;", false},
      {"two pieces in one cell", L"1,0,0,0;1,0,1,0;0,1,0,1;1,1,1,1;", false},
      {"a home cell twice", L"1,0,0,0;0,0,0,0;0,1,0,1;1,1,1,1;", false},
      {"not numbers", L"a,0,0,0;0,0,1,0;0,1,0,1;1,1,1,1;", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetProfileVar(path, L"positions", c.stored);
    LLF::SeedRandom(7);
    const int warningsBefore = HeadlessVoyage::LogCount(L"don't fit the board");
    TestJigsaw* mode = Start(level);
    ASSERT_NE(mode, nullptr);
    JigsawModeManager& board = mode->GetBoard();
    EXPECT_TRUE(IsPermutation(board));
    EXPECT_EQ(HeadlessVoyage::LogCount(L"don't fit the board") - warningsBefore, c.taken ? 0 : 1);
    if (c.taken) {
      EXPECT_EQ(board.GetPositions(), c.stored);
      EXPECT_EQ(Counters(*mode), L"2/2/4");
    } else {
      // Shuffled afresh, never a finished board.
      EXPECT_LT(board.CountCorrect(), 4);
      EXPECT_TRUE(mode->IsPlaying());
      EXPECT_FALSE(mode->IsResultStored());
    }
  }
}

TEST_F(JigsawModeTest, LeavingAndComingBackFindsEveryPieceWhereItWas) {
  const LevelInfo level = ZentaLevelMap::GetLevelInfo(0, 0);
  ASSERT_EQ(level.name, L"d1_jigsaw");
  LLF::SeedRandom(11);
  TestJigsaw* mode = Start(level);
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->GetBoard().GetCols(), 4);
  EXPECT_EQ(mode->GetBoard().GetRows(), 3);
  Run(4000);
  const std::wstring before = mode->GetBoard().GetPositions();
  EXPECT_TRUE(driver.host.SaveRunningLevel());
  EXPECT_EQ(ProfileVar(GameModeJigsaw::ProgressPath(L"d1_jigsaw"), L"positions"), before);

  LLF::SeedRandom(12);
  mode = Start(level);
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->GetBoard().GetPositions(), before);
  const int correct = mode->GetBoard().CountCorrect();
  EXPECT_EQ(Counters(*mode), LLF::ToString(correct) + L"/" + LLF::ToString(12 - correct) + L"/12");
}

TEST_F(JigsawModeTest, ClicksSelectCancelAndSwapWithTheCountersAfterTheMove) {
  // Two pieces: a fresh board never starts finished.
  TestJigsaw* mode = Start(FixtureLevel(2, 1));
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->GetBoard().GetPositions(), L"1,0,0,0;0,0,1,0;");

  mode = StartTwoSwapped();
  ASSERT_NE(mode, nullptr);
  ASSERT_TRUE(mode->IsPlaying());
  JigsawModeManager& board = mode->GetBoard();
  HLF::StaticImage* first = board.GetPiece(0, 0);
  HLF::StaticImage* second = board.GetPiece(1, 0);
  EXPECT_EQ(Counters(*mode), L"1/2/3");

  // Select and let go: no swap, no move counted.
  Click(first);
  EXPECT_EQ(board.GetSelectedName(), L"1,0,0,0");
  ASSERT_NE(board.GetEmitter(), nullptr);
  EXPECT_TRUE(board.GetEmitter()->IsStarted());
  Run(500);
  Click(first);
  EXPECT_EQ(board.GetSelectedName(), L"");
  EXPECT_EQ(board.GetPositions(), L"1,0,0,0;0,0,1,0;2,0,2,0;");
  EXPECT_EQ(mode->GetFastestFindMs(), 9999999);
  EXPECT_EQ(mode->GetLongestFindMs(), 0);

  // A swap: the names at once, the counters when the move has ended.
  Run(1000);
  const int sinceLast = mode->GetSinceLastFindMs();
  EXPECT_GT(sinceLast, 1000);
  Click(first);
  Click(second);
  EXPECT_EQ(board.GetSelectedName(), L"");
  EXPECT_EQ(board.GetPositions(), L"0,0,0,0;1,0,1,0;2,0,2,0;");
  EXPECT_EQ(mode->GetLongestFindMs(), sinceLast);
  EXPECT_EQ(mode->GetFastestFindMs(), sinceLast);
  EXPECT_EQ(mode->GetSinceLastFindMs(), 0);
  start->Frame(100);
  EXPECT_EQ(Counters(*mode), L"1/2/3") << "still moving";
  EXPECT_TRUE(mode->IsPlaying());
  Run(200);
  EXPECT_EQ(Counters(*mode), L"3/0/3");
  EXPECT_EQ(first->GetPosition().x, board.CellPosition(0, 0).x);
  EXPECT_EQ(second->GetPosition().x, board.CellPosition(1, 0).x);
  EXPECT_FALSE(mode->IsPlaying()) << "the goal is met";
  // The pieces fade in from 96.
  EXPECT_LT(first->GetAlpha(), 200);
  Run(1100);
  EXPECT_EQ(first->GetAlpha(), 255);
}

TEST_F(JigsawModeTest, HoverGrowsOnlyPiecesThatAreNotHome) {
  TestJigsaw* mode = StartTwoSwapped();
  ASSERT_NE(mode, nullptr);
  HLF::StaticImage* misplaced = mode->GetBoard().GetPiece(0, 0);
  HLF::StaticImage* home = mode->GetBoard().GetPiece(2, 0);
  home->OnMouseEnter();
  misplaced->OnMouseEnter();
  Run(300);
  EXPECT_FLOAT_EQ(home->GetScale().x, 1.0f);
  EXPECT_NEAR(misplaced->GetScale().x, 1.08f, 0.001f);
  misplaced->OnMouseLeave();
  Run(300);
  EXPECT_FLOAT_EQ(misplaced->GetScale().x, 1.0f);
}

// The winning swap is clicked with the mouse over its second piece, so that
// piece is grown; the won board takes no hover, so only the win can shrink
// it back.
TEST_F(JigsawModeTest, ThePieceGrownUnderTheMouseShrinksBackAtTheWin) {
  TestJigsaw* mode = StartTwoSwapped();
  ASSERT_NE(mode, nullptr);
  HLF::StaticImage* first = mode->GetBoard().GetPiece(0, 0);
  HLF::StaticImage* last = mode->GetBoard().GetPiece(1, 0);
  Click(first);
  last->OnMouseEnter();
  Run(300);
  ASSERT_NEAR(last->GetScale().x, 1.08f, 0.001f);
  Click(last);
  Run(400);
  ASSERT_FALSE(mode->IsPlaying()) << "the swap wins";
  last->OnMouseLeave();
  Run(300);
  EXPECT_FLOAT_EQ(last->GetScale().x, 1.0f);
  EXPECT_FLOAT_EQ(last->GetScale().y, 1.0f);
}

// The game's hover goes to the topmost control under the mouse, whatever
// its pixels; the level screen's frame lies over the whole board.
TEST_F(JigsawModeTest, TheMouseOverAPieceHoversThatPiece) {
  TestJigsaw* mode = StartTwoSwapped();
  ASSERT_NE(mode, nullptr);
  HLF::StaticImage* misplaced = mode->GetBoard().GetPiece(0, 0);
  HLF::StaticImage* home = mode->GetBoard().GetPiece(2, 0);
  const auto moveOnto = [&](HLF::Control* piece) {
    const LLF::Point size = piece->GetSize();
    const LLF::Vector2 centre = piece->GetPosition() + LLF::Vector2(size.x * 0.5f, size.y * 0.5f);
    LLF::Message move(&LLF::AppWindow::GetInstance(), LLF::WMSG_MOUSE_MOVE, 0, static_cast<int>(centre.x),
                      static_cast<int>(centre.y), L"");
    start->OnMessage(&move);
  };
  moveOnto(misplaced);
  EXPECT_EQ(start->GetHoveredControl(), misplaced);
  Run(300);
  EXPECT_NEAR(misplaced->GetScale().x, 1.08f, 0.001f);
  moveOnto(home);
  EXPECT_EQ(start->GetHoveredControl(), home);
  Run(300);
  EXPECT_FLOAT_EQ(misplaced->GetScale().x, 1.0f) << "left when the mouse moved on";
}

TEST_F(JigsawModeTest, TheShuffleMovesTheLastCellsPieceToo) {
  const LevelInfo level = FixtureLevel(4, 3);
  int moved = 0;
  for (unsigned seed = 1; seed <= 20; ++seed) {
    LLF::SeedRandom(seed);
    TestJigsaw* mode = Start(level);
    ASSERT_NE(mode, nullptr);
    EXPECT_TRUE(IsPermutation(mode->GetBoard()));
    moved += mode->GetBoard().GetPiece(3, 2)->GetName() != L"3,2,3,2" ? 1 : 0;
  }
  // Drawn like any other cell it stays home about one time in twelve.
  EXPECT_GE(moved, 15);
}

TEST_F(JigsawModeTest, BoardsThatCannotBePlayedAreRefused) {
  const struct {
    int cols;
    int rows;
  } cases[] = {{1, 1}, {0, 3}, {3, 0}, {-2, 2}, {33, 32}, {600, 450}, {65536, 65536}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.cols) + " x " + std::to_string(c.rows));
    const int errors = HeadlessVoyage::LogCount(L"can't be played");
    EXPECT_EQ(Start(FixtureLevel(c.cols, c.rows)), nullptr);
    EXPECT_EQ(HeadlessVoyage::LogCount(L"can't be played") - errors, 1);
    EXPECT_EQ(driver.host.GetMode(), nullptr);
  }
  // The largest board still plays.
  GameModeJigsaw* largest = Start(FixtureLevel(32, 32));
  ASSERT_NE(largest, nullptr);
  EXPECT_EQ(largest->GetBoard().GetCols() * largest->GetBoard().GetRows(), JigsawModeManager::kMaxPieces);
  // A picture that is not there.
  LevelInfo missing = FixtureLevel(2, 2);
  WriteTextFile(start.Program() + "/levels/t_2x2/level.xml",
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?><level imageFile=\"levels/none.jpg\" cols=\"2\" "
                "rows=\"2\" />");
  EXPECT_EQ(Start(missing), nullptr);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"can't load the picture \"levels/none.jpg\""), 1);
}

// One swap from the goal on a board of three: the win follows the second
// click's move.
TEST_F(JigsawModeTest, AWinStoresTheScoreOnceWithTheBonusUnlessAHintWasUsed) {
  const struct {
    const char* name;
    int hints;
    const wchar_t* mask;
    bool screen;
    int stored;
  } cases[] = {
      {"no hint, award", 0, L"00000000000000000000", true, 1500},
      {"a hint, award", 1, L"00000000000000000000", true, 500},
      {"no hint, wallpaper won before", 0, L"10000000000000000000", false, 1500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetProfileVar(L"stats", L"score", L"500");
    SetProfileVar(L"stats", L"wallpapers", c.mask);
    const LevelInfo level = FixtureLevel(3, 1, 0);
    SetProfileVar(GameModeJigsaw::ProgressPath(level.name), L"positions", L"1,0,0,0;0,0,1,0;2,0,2,0;");
    driver.codes.clear();
    TestJigsaw* mode = Start(level);
    ASSERT_NE(mode, nullptr);
    Run(4000);
    mode->SetHintsUsed(c.hints);
    Click(mode->GetBoard().GetPiece(0, 0));
    Click(mode->GetBoard().GetPiece(1, 0));
    Run(300);
    ASSERT_TRUE(mode->IsResultStored());
    EXPECT_EQ(ProfileVar(L"stats", L"score"), LLF::ToString(c.stored));
    EXPECT_EQ(mode->GetTotalScore(), c.stored);
    EXPECT_EQ(ProfileVar(ZentaLevelMap::DayProgressPath(0), level.name), L"complete");
    EXPECT_EQ(ProfileVar(L"stats", L"wallpapers"), L"10000000000000000000");
    if (c.screen) {
      ASSERT_NE(mode->GetAwardScreen(), nullptr);
      Run(3000);
      EXPECT_EQ(mode->GetStatsDialog(), nullptr) << "the screen waits for its Continue";
      auto* next = dynamic_cast<HLF::Button*>(mode->GetAwardScreen()->GetChildByName(L"Continue"));
      ASSERT_NE(next, nullptr);
      next->OnClick(LLF::Message());
      // 1500 ms of the screen's hiding, then the delay after it.
      Run(1500 + 1800);
    } else {
      EXPECT_EQ(mode->GetAwardScreen(), nullptr);
      Run(1600);
    }
    EXPECT_EQ(mode->GetStatsDialog(), nullptr) << "not before 2000 ms";
    Run(400);
    ASSERT_NE(mode->GetStatsDialog(), nullptr);
    EXPECT_EQ(ProfileVar(L"stats", L"score"), LLF::ToString(c.stored)) << "stored once";
    EXPECT_EQ(mode->GetLevelScore(), c.stored - 500);
    EXPECT_EQ(ProfileVar(GameModeJigsaw::ProgressPath(level.name), L"positions"),
              L"0,0,0,0;1,0,1,0;2,0,2,0;");
    EXPECT_FALSE(mode->CanPlay());

    EXPECT_EQ(mode->GetStatsDialog()->GetStats().totalScore, c.stored) << "the results agree with the store";
    // Once the lines are in, OK: the fade to black, then the level ends
    // towards the map.
    Run(2500);
    mode->GetStatsDialog()->OnOk();
    EXPECT_EQ(mode->GetStatsDialog(), nullptr);
    Run(900);
    EXPECT_TRUE(driver.codes.empty());
    Run(1300);
    EXPECT_EQ(driver.codes, std::vector<int>{GameMode::GM_MSG_TO_MAP});
    EXPECT_EQ(HeadlessVoyage::LogCount(L"GameModeJigsaw::DoState() - GMPZ_STATE_FINISHED"), &c - cases + 1);
  }
}

}  // namespace
}  // namespace QmTest
