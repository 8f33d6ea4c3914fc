// The Mirror mode played as the game plays it: a level written by the test
// (MirrorLevelFixture), started through the play-mode host in the real
// shell on the generated data, clicks routed through the whole tree,
// frames stepped on the manual clock.
#include <gtest/gtest.h>

#include <string>

#include "MirrorLevelFixture.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "model/Control.h"
#include "particles/Emitter.h"
#include "ui/StatsDialog.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

const wchar_t kLeft[] = L"Differences left: ";

class GameModeMirrorTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(level.Ready()); }

  static std::wstring LabelText(GameModeMirror& mode) {
    return mode.GetDiffLeftLabel() ? mode.GetDiffLeftLabel()->GetFullText() : L"(no label)";
  }
  static std::vector<bool> Found(GameModeMirror& mode) {
    std::vector<bool> found;
    for (const MirrorDifference& d : mode.GetBoard().GetDifferences()) found.push_back(d.found);
    return found;
  }
  // Children of the overlay layer with that name.
  static int Overlays(GameModeMirror& mode, const std::wstring& name) {
    int count = 0;
    HLF::Control* layer = mode.GetOverlayLayer();
    for (int i = 0; layer && i < layer->GetChildsCount(); ++i) {
      count += layer->GetChild(i)->GetName() == name ? 1 : 0;
    }
    return count;
  }
  int ScoreLabels() {
    HLF::Control* layer = level.Game().GetGameLayer();
    int count = 0;
    for (int i = 0; i < layer->GetChildsCount(); ++i) {
      count += layer->GetChild(i)->GetName() == L"clickscore_effect_label" ? 1 : 0;
    }
    return count;
  }
  static void ClickButton(GameModeMirror& mode, const wchar_t* name) {
    auto* button = dynamic_cast<HLF::Button*>(mode.GetFrame()->FindChild(name));
    ASSERT_NE(button, nullptr) << name;
    button->OnClick(LLF::Message());
  }

  MirrorLevelFixture level;
};

TEST(MirrorPointTest, TheOtherHalfAtTheSamePlace) {
  const struct {
    LLF::Vector2 p;
    LLF::Vector2 mirror;
  } cases[] = {{{450, 300}, {50, 300}}, {{399, 0}, {799, 0}}, {{400, 10}, {0, 10}}, {{0, 599}, {400, 599}}};
  for (const auto& c : cases) {
    EXPECT_EQ(MirrorModeManager::MirrorPoint(c.p), c.mirror) << c.p.x << "," << c.p.y;
  }
}

TEST_F(GameModeMirrorTest, ClicksFindTheFirstUnfoundDifferenceOnEitherHalf) {
  GameModeMirror* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  // The comment and the element without dims are no differences.
  ASSERT_EQ(mode->GetBoard().GetDifferences().size(), 5u);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Warning: MirrorModeManager - a comment among the differences"), 1);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"lacks imgName, pos or dims and is skipped"), 1);
  EXPECT_EQ(LabelText(*mode), std::wstring(kLeft) + L"5");

  // (100, 50) on the left half: its mirror point (500, 50) lies in 0.
  level.Click(100, 50);
  EXPECT_EQ(Found(*mode), (std::vector<bool>{true, false, false, false, false}));
  ASSERT_EQ(Overlays(*mode, L"overlayDlg1"), 1);
  ASSERT_EQ(Overlays(*mode, L"overlayDlg2"), 1);
  const MirrorFoundPair& pair = mode->GetBoard().GetFoundList().at(0);
  EXPECT_EQ(pair.firstOverlay->GetPosition(), LLF::Vector2(491, 31)) << "48 x 48, centred on the region";
  EXPECT_EQ(pair.secondOverlay->GetPosition(), LLF::Vector2(91, 31)) << "the same place on the other half";
  EXPECT_EQ(pair.firstOverlay->GetSize(), LLF::Point(48, 48));
  EXPECT_EQ(pair.firstOverlay->GetAlpha(), 0) << "the highlights fade in";
  EXPECT_EQ(LabelText(*mode), std::wstring(kLeft) + L"5") << "the number changes when the hide effect ends";
  level.Run(1100);
  EXPECT_EQ(pair.firstOverlay->GetAlpha(), 255);
  EXPECT_EQ(pair.secondOverlay->GetAlpha(), 255);
  EXPECT_EQ(LabelText(*mode), std::wstring(kLeft) + L"4");

  // Where 2 and 3 overlap the first listed is found; a second click there,
  // over the particles and the score label of the first, finds the other.
  level.Click(280, 330);
  EXPECT_EQ(Found(*mode), (std::vector<bool>{true, false, true, false, false}));
  level.Click(282, 332);
  EXPECT_EQ(Found(*mode), (std::vector<bool>{true, false, true, true, false}));

  // The region is closed: x = pos + w and y = pos + h hit, one more misses.
  level.Click(621, 420);
  EXPECT_EQ(Found(*mode), (std::vector<bool>{true, false, true, true, false}));
  EXPECT_EQ(Overlays(*mode, L"MirrorLevelWrongMove"), 1) << "a miss shows the wrong-move particles";
  level.Click(620, 420);
  EXPECT_EQ(Found(*mode), (std::vector<bool>{true, false, true, true, true}));
  level.Run(1500);
  EXPECT_EQ(LabelText(*mode), std::wstring(kLeft) + L"1");
  // The frame strip takes its own clicks: the mirror of (500, 560) is no
  // concern of the board's.
  level.Click(520, 560);
  EXPECT_EQ(Overlays(*mode, L"MirrorLevelWrongMove"), 0) << "the earlier ones have ended";
  EXPECT_TRUE(mode->IsPlaying());
}

TEST_F(GameModeMirrorTest, FindsScoreByTheRunningTimeSinceTheLastFind) {
  GameModeMirror* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  level.Click(515, 55);
  const int first = mode->GetLevelScore();
  EXPECT_EQ(mode->GetSinceLastFindMs(), 0);
  // The frame after a find does not count: loading its particles took it.
  level.Game().Frame(16);
  level.Game().Frame(150);
  const int labels = ScoreLabels();
  level.Click(120, 210);
  EXPECT_EQ(mode->GetLevelScore() - first, 298);
  EXPECT_EQ(ScoreLabels(), labels + 1);
  EXPECT_LE(mode->GetFastestFindMs(), 150);
  EXPECT_GE(mode->GetLongestFindMs(), 150);

  // 100 ms short of 30 s: one point; later: none, and no label.
  level.Game().Frame(16);
  level.Run(29900);
  int before = mode->GetLevelScore();
  level.Click(280, 310);
  EXPECT_EQ(mode->GetLevelScore() - before, 1);
  EXPECT_EQ(mode->GetLongestFindMs(), 29900);
  level.Game().Frame(16);
  level.Run(30000);
  before = mode->GetLevelScore();
  const int shown = ScoreLabels();
  level.Click(320, 370);
  EXPECT_EQ(mode->GetLevelScore(), before);
  EXPECT_EQ(ScoreLabels(), shown);
  EXPECT_EQ(mode->GetBoard().LeftCount(), 1);
}

TEST_F(GameModeMirrorTest, FiveQuickMissesCostTimeAndAHitDoesNotRestartTheCount) {
  GameModeMirror* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  const int before = mode->GetRemainingMs();
  const int clicks[][2] = {{10, 10}, {20, 10}, {515, 55}, {30, 10}, {40, 10}, {50, 10}};
  for (const auto& c : clicks) {
    level.Click(c[0], c[1]);
    if (&c == &clicks[5]) break;
    level.Game().Frame(16);  // dropped: the particles' load
    level.Game().Frame(100);
  }
  EXPECT_EQ(mode->GetRemainingMs(), before - 500 - 30000);
}

TEST_F(GameModeMirrorTest, StoredFindsComeBackHighlighted) {
  level.SetVar(MirrorLevelFixture::LevelPath(), L"diff_collected_0", L"true");
  level.SetVar(MirrorLevelFixture::LevelPath(), L"diff_collected_2", L"true");
  level.SetVar(MirrorLevelFixture::LevelPath(), L"diff_collected_4", L"True");
  level.SetVar(MirrorLevelFixture::LevelPath(), L"diff_collected_9", L"true");
  GameModeMirror* mode = level.Start();
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(Found(*mode), (std::vector<bool>{true, false, true, false, false})) << "only \"true\" counts";
  EXPECT_EQ(Overlays(*mode, L"overlayDlg1"), 2);
  EXPECT_EQ(Overlays(*mode, L"overlayDlg2"), 2);
  EXPECT_EQ(LabelText(*mode), std::wstring(kLeft) + L"3");
  level.Run(1100);
  EXPECT_EQ(mode->GetBoard().GetFoundList().at(1).secondOverlay->GetAlpha(), 255);

  // A find, saved, left and resumed.
  level.Run(3000);
  level.Click(610, 410);
  mode->SaveProgress();
  const wchar_t* expected[] = {L"true", L"false", L"true", L"false", L"true"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(level.Var(MirrorLevelFixture::LevelPath(), GameModeMirror::CollectedKey(i)), expected[i]) << i;
  }
  level.Release();
  mode = level.Start();
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(Overlays(*mode, L"overlayDlg1"), 3);
  EXPECT_EQ(LabelText(*mode), std::wstring(kLeft) + L"2");
}

TEST_F(GameModeMirrorTest, ALevelWithNothingLeftIsWonByItsFirstClick) {
  level.WriteLevel("t_empty", "");
  const struct {
    const char* level;
    int stored;
  } cases[] = {{"t_mirror", 5}, {"t_empty", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    for (int i = 0; i < c.stored; ++i) {
      level.SetVar(MirrorLevelFixture::LevelPath(), GameModeMirror::CollectedKey(i), L"true");
    }
    level.Release();
    GameModeMirror* mode = level.StartRunning(c.level);
    ASSERT_NE(mode, nullptr);
    level.Run(2000);
    EXPECT_TRUE(mode->IsPlaying()) << "not won at load";
    EXPECT_LT(mode->GetState(), GameModeMirror::GMM_STATE_STARTANIM);
    level.Click(10, 10);
    EXPECT_FALSE(mode->IsPlaying());
    EXPECT_EQ(Overlays(*mode, L"MirrorLevelWrongMove"), 0) << "the winning click is no miss";
    level.Run(1500);
    EXPECT_EQ(mode->GetState(), GameModeMirror::GMM_STATE_STARTANIM);
  }
}

TEST_F(GameModeMirrorTest, AHintPointsAtAnUnfoundDifferenceOnce) {
  GameModeMirror* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  // Seed 1 draws 41: 41 % 5 picks the second unfound, difference 1.
  LLF::SeedRandom(1);
  const int before = mode->GetRemainingMs();
  ClickButton(*mode, L"hint_button");
  ASSERT_NE(mode->GetHintConfirmDialog(), nullptr);
  mode->GetHintConfirmDialog()->OnOk();
  HLF::Emitter* hint = mode->GetHintEmitter();
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->GetPosition(), LLF::Vector2(120, 210)) << "the centre of pos 100,200 dims 40,20";
  EXPECT_EQ(hint->GetParent(), &mode->GetBoard());
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Hint used. Hint object num: 1"), 1);
  EXPECT_EQ(mode->GetRemainingMs(), before - 120000);

  // A second hint while the particles run: nothing, not even the price.
  mode->UseHint();
  EXPECT_EQ(mode->GetRemainingMs(), before - 120000);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Hint used."), 1);
  EXPECT_EQ(mode->GetHintEmitter(), hint);

  // Finding it stops the emission; the particles die out and go.
  level.Click(120, 210);
  EXPECT_TRUE(mode->GetBoard().GetDifferences()[1].found);
  ASSERT_TRUE(level.Game().FramesUntil([&] { return mode->GetHintEmitter() == nullptr; }, 100));

  // The one left is the only choice.
  for (const auto& p : {std::pair{515, 55}, {280, 310}, {320, 370}}) level.Click(p.first, p.second);
  mode->UseHint();
  ASSERT_NE(mode->GetHintEmitter(), nullptr);
  EXPECT_EQ(mode->GetHintEmitter()->GetPosition(), LLF::Vector2(610, 410));
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Hint used. Hint object num: 4"), 1);
}

TEST_F(GameModeMirrorTest, TheWinFadesJoinsZoomsAndOpensTheResults) {
  GameModeMirror* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  const int clicks[][2] = {{515, 55}, {120, 210}, {280, 310}, {320, 370}, {610, 410}};
  for (const auto& c : clicks) {
    level.Click(c[0], c[1]);
    level.Game().Frame(100);
  }
  EXPECT_FALSE(mode->IsPlaying());
  // No hint: the bonus is in the level score and in the stored total.
  const int score = mode->GetLevelScore();
  EXPECT_GT(score, 1000 + 5 * 290);
  EXPECT_EQ(level.Var(L"stats", L"score"), LLF::ToString(score));
  EXPECT_EQ(level.Var(L"levels/day_0", L"t_mirror"), L"complete");

  ASSERT_TRUE(
      level.Game().FramesUntil([&] { return mode->GetState() == GameModeMirror::GMM_STATE_STARTANIM; }, 50));
  EXPECT_EQ(HeadlessVoyage::LogCount(L"GameModeMirror::DoState() - GMM_STATE_STARTANIM"), 1);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(level.Var(MirrorLevelFixture::LevelPath(), GameModeMirror::CollectedKey(i)), L"true") << i;
  }
  EXPECT_EQ(mode->GetLevelInfo().level, -1);
  // The highlights fade out one after another, 200 ms apart.
  level.Run(300, 50);
  const std::vector<MirrorFoundPair>& found = mode->GetBoard().GetFoundList();
  EXPECT_LT(found[0].firstOverlay->GetAlpha(), 255);
  EXPECT_LT(found[1].secondOverlay->GetAlpha(), 255);
  EXPECT_EQ(found[2].firstOverlay->GetAlpha(), 255);
  EXPECT_EQ(found[4].secondOverlay->GetAlpha(), 255);
  // The halves start to join 200 x 5 + 300 ms after the fades began.
  level.Run(950, 50);
  EXPECT_EQ(mode->GetState(), GameModeMirror::GMM_STATE_STARTANIM);
  level.Run(100, 50);
  EXPECT_EQ(mode->GetState(), GameModeMirror::GMM_STATE_UNIONSIDES);
  EXPECT_FALSE(mode->GetOverlayLayer()->IsVisible());
  HLF::StaticImage* left = mode->GetBoard().GetLeftSide();
  HLF::StaticImage* right = mode->GetBoard().GetRightSide();
  EXPECT_EQ(mode->GetBoard().GetChild(mode->GetBoard().GetChildsCount() - 1), right)
      << "the fading side on top";
  level.Run(1000, 50);
  EXPECT_GT(left->GetPosition().x, 0.0f);
  EXPECT_LT(right->GetPosition().x, 400.0f);
  // Both meet at (200, 0), where the left one starts to zoom.
  LLF::Vector2 leftBefore;
  ASSERT_TRUE(level.Game().FramesUntil(
      [&] {
        if (mode->GetState() == GameModeMirror::GMM_STATE_ZOOMIMG) return true;
        leftBefore = left->GetPosition();
        return false;
      },
      10));
  EXPECT_NEAR(leftBefore.x, 200.0f, 2.0f);
  EXPECT_EQ(right->GetPosition(), LLF::Vector2(200, 0));
  EXPECT_EQ(right->GetAlpha(), 0);
  level.Run(4000, 50);
  EXPECT_EQ(left->GetScale(), LLF::Vector2(2, 2));
  EXPECT_EQ(left->GetPosition(), LLF::Vector2(0, -300));
  level.Run(500, 50);
  EXPECT_EQ(mode->GetState(), GameModeMirror::GMM_STATE_SHOWRESULTS);
  ASSERT_NE(mode->GetStatsDialog(), nullptr);
  EXPECT_FALSE(mode->GetBoard().IsVisible());
  EXPECT_FALSE(mode->GetFrame()->IsVisible());
  EXPECT_FALSE(mode->CanPlay());

  // A click now is no second win.
  level.Click(515, 55);
  EXPECT_EQ(mode->GetLevelScore(), score);
  level.Run(3000);  // the results' lines have come in
  mode->GetStatsDialog()->OnOk();
  EXPECT_EQ(mode->GetState(), GameModeMirror::GMM_STATE_SHOWRESULTS);

  ASSERT_TRUE(level.Game().FramesUntil([&] { return !level.Codes().empty(); }, 50));
  EXPECT_EQ(level.Codes(), std::vector<int>{GameMode::GM_MSG_TO_MAP});
  EXPECT_EQ(level.Host().GetMode(), nullptr);
  for (const wchar_t* state :
       {L"GMM_STATE_UNIONSIDES", L"GMM_STATE_ZOOMIMG", L"GMM_STATE_SHOWRESULTS", L"GMM_STATE_QUIT"}) {
    EXPECT_EQ(HeadlessVoyage::LogCount(std::wstring(L"GameModeMirror::DoState() - ") + state), 1) << state;
  }
  EXPECT_EQ(level.Var(L"stats", L"score"), LLF::ToString(score)) << "stored once";
}

TEST_F(GameModeMirrorTest, ALevelWithoutItsPictureIsRefused) {
  const struct {
    const char* name;
    const char* children;
  } cases[] = {
      {"no background", "  <object imgName=\"diff_0\" pos=\"10,10\" dims=\"30,30\" />\n"},
      {"no imgName", "  <background pos=\"0,0\" dims=\"400,600\" />\n"},
  };
  const int layerChildren = level.Game().GetGameLayer()->GetChildsCount();
  int errors = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    level.WriteLevel("t_bad", c.children, false);
    EXPECT_EQ(level.Start("t_bad"), nullptr);
    EXPECT_EQ(HeadlessVoyage::LogCount(L"Error: MirrorModeManager - the level has no \"background\""),
              ++errors);
    EXPECT_EQ(HeadlessVoyage::LogCount(L"Error: Can't load level \"t_bad\""), errors);
    level.Game().Frame(16);
    EXPECT_EQ(level.Game().GetGameLayer()->GetChildsCount(), layerChildren) << "nothing of it left";
  }
  EXPECT_EQ(level.Var(MirrorLevelFixture::LevelPath(), GameModeMirror::CollectedKey(0)), L"(absent)");
}

TEST_F(GameModeMirrorTest, DifferencesPastTheBoundAreSkippedWithOneWarning) {
  std::string children;
  for (size_t i = 0; i < MirrorModeManager::kMaxDifferences + 3; ++i) {
    children += "  <object imgName=\"diff_0\" pos=\"" + std::to_string(i % 700) + ",40\" dims=\"20,20\" />\n";
  }
  level.WriteLevel("t_many", children);
  GameModeMirror* mode = level.Start("t_many");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->GetBoard().GetDifferences().size(), MirrorModeManager::kMaxDifferences);
  EXPECT_EQ(HeadlessVoyage::LogCount(
                L"Warning: MirrorModeManager - more than 256 differences; the rest are skipped."),
            1);
}

}  // namespace
}  // namespace QmTest
