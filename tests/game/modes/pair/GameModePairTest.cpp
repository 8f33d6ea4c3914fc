// The Pair mode played as the game plays it: a two-scene level written by
// the test (PairLevelFixture), started through the play-mode host in the
// real shell on the generated data, clicks routed through the whole tree,
// frames stepped on the manual clock.
#include <gtest/gtest.h>

#include <string>

#include "PairLevelFixture.h"
#include "core/StringUtils.h"
#include "modes/pair/PairModeScene.h"
#include "particles/Emitter.h"
#include "ui/StatsDialog.h"
#include "widgets/Label.h"

namespace QmTest {
namespace {

// Points of the standard level: (32, 14) inside an icon is opaque for every
// shape; the ring's centre is its hole.
constexpr int kRingBand[] = {132, 314};
constexpr int kRingHole[] = {132, 332};
constexpr int kStar[] = {282, 114};
constexpr int kGhost[] = {282, 332};
constexpr int kDiamond[] = {632, 114};
constexpr int kTriangle[] = {232, 214};
constexpr int kDiamond2[] = {632, 214};

class GameModePairTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(level.Ready()); }

  void Click(const int (&p)[2]) { level.Click(p[0], p[1]); }
  static PairModeScene* Scene(GameModePair& mode, int i) { return mode.GetBoard().GetScenes().at(i); }
  static std::wstring SceneLabel(GameModePair& mode) {
    return mode.GetSceneNumberLabel() ? mode.GetSceneNumberLabel()->GetFullText() : L"(no label)";
  }
  // Both odd items of the first scene found, the slide run to its end.
  void FinishFirstScene() {
    Click(kRingHole);
    Click(kDiamond);
    level.Run(1500);
  }

  PairLevelFixture level;
};

TEST(PairFindPointsTest, TwentyForEachSecondUnderAMinute) {
  const struct {
    int ms;
    int points;
  } cases[] = {{0, 1200}, {50, 1199}, {150, 1197}, {59950, 1}, {59999, 0}, {60000, 0}, {900000, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(GameModePair::PairFindPoints(c.ms), c.points) << c.ms;
  }
}

TEST_F(GameModePairTest, OnlyTheFirstOddItemOfAPaneIsRight) {
  GameModePair* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  ASSERT_EQ(mode->GetBoard().GetScenes().size(), 2u);
  PairModeScene* scene = Scene(*mode, 0);
  EXPECT_EQ(mode->GetBoard().GetCurrentScene(), scene);
  EXPECT_EQ(scene->GetName(), L"1");
  EXPECT_EQ(scene->GetMissingRight(), L"ball_red") << "the left pane's first unmatched name";
  EXPECT_EQ(scene->GetMissingLeft(), L"diamond_yellow");
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Items missed on both panes: \"diamond_yellow\" , \"ball_red\""), 1);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Items missed on both panes: \"diamond_yellow\" , \"triangle_green\""),
            1);
  EXPECT_EQ(HeadlessVoyage::LogCount(
                L"Error: Can't set image for PairModeScene item. Image name: \"no_such_icon\""),
            2);
  // The odd items lie beneath the others.
  EXPECT_EQ(scene->GetChild(0)->GetName(), L"ball_red");
  EXPECT_EQ(scene->GetChild(1)->GetName(), L"diamond_yellow");
  EXPECT_EQ(SceneLabel(*mode), L"Scene 1/2");

  // The second unmatched name of the left pane is an ordinary wrong item.
  int before = mode->GetRemainingMs();
  Click(kStar);
  EXPECT_EQ(mode->GetRemainingMs(), before - 30000);
  EXPECT_EQ(scene->GetMissingRight(), L"ball_red");
  EXPECT_EQ(mode->GetLevelScore(), 0);

  // The right one is found and disabled; a second click on it does nothing.
  Click(kDiamond);
  EXPECT_EQ(scene->GetMissingLeft(), L"");
  HLF::Control* diamond = scene->FirstItemNamed(L"diamond_yellow");
  EXPECT_FALSE(diamond->IsEnabled());
  const int score = mode->GetLevelScore();
  EXPECT_GT(score, 0);
  before = mode->GetRemainingMs();
  Click(kDiamond);
  EXPECT_EQ(mode->GetLevelScore(), score);
  EXPECT_EQ(mode->GetRemainingMs(), before);
  EXPECT_EQ(mode->GetBoard().GetCurrentScene(), scene) << "one odd item is still to find";
}

TEST_F(GameModePairTest, ClicksPassThroughHolesEffectsAndItemsWithoutPicture) {
  GameModePair* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  PairModeScene* scene = Scene(*mode, 0);
  HLF::Control* ring = scene->GetChild(scene->GetChildsCount() - 4);
  ASSERT_EQ(ring->GetName(), L"ring_green");
  HLF::Control* partner = scene->GetChild(scene->GetChildsCount() - 2);
  ASSERT_EQ(partner->GetName(), L"ring_green");

  // An item without a picture is transparent, and so is the edge of an
  // item's rectangle just outside its picture: the scene takes the click.
  int before = mode->GetRemainingMs();
  Click(kGhost);
  level.Click(kStar[0], kStar[1] + 50);
  EXPECT_EQ(mode->GetRemainingMs(), before);

  // The ring's band is the ring: wrong, it shakes with its partner.
  Click(kRingBand);
  EXPECT_EQ(mode->GetRemainingMs(), before - 30000);
  EXPECT_GT(ring->GetEffectsCount(), 0);
  EXPECT_GT(partner->GetEffectsCount(), 0);
  // While it shakes the click passes to the odd item below.
  before = mode->GetRemainingMs();
  Click(kRingBand);
  EXPECT_EQ(mode->GetRemainingMs(), before);
  EXPECT_EQ(scene->GetMissingRight(), L"");
  level.Run(1000);
  EXPECT_EQ(ring->GetEffectsCount(), 0) << "the shake ends";
  EXPECT_EQ(ring->GetRotation(), 0.0f);

  // Afresh: through the ring's hole to the odd item below.
  level.Release();
  mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  scene = Scene(*mode, 0);
  before = mode->GetRemainingMs();
  Click(kRingHole);
  EXPECT_EQ(scene->GetMissingRight(), L"");
  EXPECT_EQ(mode->GetRemainingMs(), before);
}

TEST_F(GameModePairTest, FindsScoreByTheRunningTimeSinceTheLastFind) {
  GameModePair* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  Click(kRingHole);
  EXPECT_EQ(mode->GetSinceLastFindMs(), 0);
  level.Game().Frame(16);  // dropped: the frame after a find
  level.Game().Frame(150);
  int before = mode->GetLevelScore();
  Click(kDiamond);
  EXPECT_EQ(mode->GetLevelScore() - before, 1197);
  EXPECT_LE(mode->GetFastestFindMs(), 150);

  level.Run(1500);
  ASSERT_EQ(mode->GetBoard().GetCurrentIndex(), 1);
  Click(kTriangle);
  level.Game().Frame(16);
  level.Run(59900);
  level.Game().Frame(99);
  ASSERT_EQ(mode->GetSinceLastFindMs(), 59999);
  before = mode->GetLevelScore();
  Click(kDiamond2);
  EXPECT_EQ(mode->GetLevelScore() - before, 1000) << "no points, only the no-hint bonus";
  EXPECT_EQ(mode->GetLongestFindMs(), 59999);
}

TEST_F(GameModePairTest, TheHintShowsTheLeftPanesOddItemFirst) {
  GameModePair* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  const int before = mode->GetRemainingMs();
  mode->UseHint();
  ASSERT_NE(mode->GetHintEmitter(), nullptr);
  EXPECT_EQ(mode->GetHintEmitter()->GetPosition(), LLF::Vector2(132, 332));
  EXPECT_EQ(mode->GetHintEmitter()->GetParent(), &mode->GetBoard());
  EXPECT_EQ(mode->GetRemainingMs(), before - 120000);
  mode->UseHint();
  EXPECT_EQ(mode->GetRemainingMs(), before - 120000) << "not while its particles run";

  Click(kRingHole);
  ASSERT_TRUE(level.Game().FramesUntil([&] { return mode->GetHintEmitter() == nullptr; }, 100));
  mode->UseHint();
  ASSERT_NE(mode->GetHintEmitter(), nullptr);
  EXPECT_EQ(mode->GetHintEmitter()->GetPosition(), LLF::Vector2(632, 132));
  Click(kDiamond);
  ASSERT_TRUE(level.Game().FramesUntil([&] { return mode->GetHintEmitter() == nullptr; }, 100));

  // Both found: nothing is shown and nothing charged.
  const int left = mode->GetRemainingMs();
  mode->UseHint();
  EXPECT_EQ(mode->GetHintEmitter(), nullptr);
  EXPECT_EQ(mode->GetRemainingMs(), left);
}

TEST_F(GameModePairTest, TheNextSceneSlidesInAndTheLastOneWins) {
  GameModePair* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  PairModeScene* first = Scene(*mode, 0);
  PairModeScene* second = Scene(*mode, 1);
  EXPECT_FALSE(second->IsVisible());
  Click(kRingHole);
  Click(kDiamond);
  EXPECT_EQ(mode->GetBoard().GetCurrentScene(), nullptr) << "no clicks while the scenes slide";
  EXPECT_EQ(mode->GetBoard().GetCurrentIndex(), 1);
  EXPECT_TRUE(second->IsVisible());
  level.Run(400);
  EXPECT_EQ(SceneLabel(*mode), L"Scene 2/2") << "changed while hidden";
  EXPECT_LT(second->GetPosition().y, 0.0f) << "coming in from above";
  EXPECT_GT(first->GetPosition().y, 0.0f) << "going out below";
  Click(kTriangle);
  EXPECT_EQ(second->GetMissingRight(), L"triangle_green") << "not taken during the slide";
  level.Run(800);
  EXPECT_EQ(mode->GetBoard().GetCurrentScene(), second);
  EXPECT_FALSE(first->IsVisible());
  EXPECT_EQ(second->GetPosition(), LLF::Vector2(0, 0));

  Click(kTriangle);
  Click(kDiamond2);
  EXPECT_FALSE(mode->IsPlaying());
  EXPECT_EQ(mode->GetBoard().GetCurrentScene(), nullptr);
  // No hint: the bonus is in the level score and in the stored total.
  const int score = mode->GetLevelScore();
  EXPECT_GT(score, 1000 + 4 * 1100);
  EXPECT_EQ(level.Var(L"score", L"stats"), LLF::ToString(score));
  EXPECT_EQ(level.Var(L"t_pair", L"levels/day_0"), L"complete");

  ASSERT_TRUE(
      level.Game().FramesUntil([&] { return mode->GetState() == GameModePair::GMP_STATE_SHOWRESULTS; }, 30));
  EXPECT_EQ(HeadlessVoyage::LogCount(L"GameModePair::DoState() - GMP_STATE_STARTANIM"), 1);
  EXPECT_EQ(mode->GetLevelInfo().level, -1);
  ASSERT_NE(mode->GetStatsDialog(), nullptr);
  EXPECT_FALSE(mode->GetBoard().IsVisible());
  EXPECT_FALSE(mode->CanPlay());
  level.Run(3000);
  mode->GetStatsDialog()->OnOk();
  ASSERT_TRUE(level.Game().FramesUntil([&] { return !level.Codes().empty(); }, 50));
  EXPECT_EQ(level.Codes(), std::vector<int>{GameMode::GM_MSG_TO_MAP});
  for (const wchar_t* state : {L"GMP_STATE_SHOWRESULTS", L"GMP_STATE_QUIT", L"GMP_STATE_FINISHED"}) {
    EXPECT_EQ(HeadlessVoyage::LogCount(std::wstring(L"GameModePair::DoState() - ") + state), 1)
        << LLF::WideToAnsi(state);
  }
  EXPECT_EQ(level.Var(L"score", L"stats"), LLF::ToString(score)) << "stored once";
}

TEST_F(GameModePairTest, ProgressIsSavedAndRestoredScene) {
  GameModePair* mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  // Mid-scene.
  Click(kDiamond);
  mode->SaveProgress();
  EXPECT_EQ(level.Var(L"current_scene"), L"0");
  EXPECT_EQ(level.Var(L"scene_left"), L"");
  EXPECT_EQ(level.Var(L"scene_right"), L"ball_red");
  EXPECT_EQ(level.Var(L"scene_left_name"), L"diamond_yellow");
  EXPECT_EQ(level.Var(L"scene_right_name"), L"ball_red");
  level.Release();
  mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  PairModeScene* scene = Scene(*mode, 0);
  EXPECT_FALSE(scene->FirstItemNamed(L"diamond_yellow")->IsVisible());
  EXPECT_EQ(scene->GetMissingLeft(), L"");
  EXPECT_EQ(SceneLabel(*mode), L"Scene 1/2");

  // Saved while the second scene slides in, whose odd item on the right has
  // the name just found: the new scene comes back with nothing found.
  Click(kRingHole);
  ASSERT_EQ(mode->GetBoard().GetCurrentScene(), nullptr);
  mode->SaveProgress();
  EXPECT_EQ(level.Var(L"current_scene"), L"1");
  for (const wchar_t* key : {L"scene_left", L"scene_right", L"scene_left_name", L"scene_right_name"}) {
    EXPECT_EQ(level.Var(key), L"") << LLF::WideToAnsi(key);
  }
  level.Release();
  mode = level.StartRunning();
  ASSERT_NE(mode, nullptr);
  scene = Scene(*mode, 1);
  EXPECT_EQ(mode->GetBoard().GetCurrentScene(), scene);
  EXPECT_FALSE(Scene(*mode, 0)->IsVisible());
  EXPECT_TRUE(scene->FirstItemNamed(L"diamond_yellow")->IsVisible());
  EXPECT_EQ(scene->GetMissingLeft(), L"diamond_yellow");
  EXPECT_EQ(SceneLabel(*mode), L"Scene 2/2");
}

TEST_F(GameModePairTest, StoredProgressThatFitsNoSceneIsPassedOver) {
  const struct {
    const wchar_t* scene;
    const wchar_t* rightName;
    int index;
    const wchar_t* log;
  } cases[] = {
      {L"9", L"triangle_green", 0,
       L"Warning: PairModeManager - the saved scene 9 is not one of the 2 scenes"},
      {L"-1", L"ball_red", 0, L"Warning: PairModeManager - the saved scene -1 is not one of the 2 scenes"},
      {L"0", L"ball_blue", 0, L"Warning: PairModeScene - the saved name \"ball_blue\" is not an odd item"},
      {L"1", L"nothing", 1, L"Warning: PairModeScene - the saved name \"nothing\" is not an odd item"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.scene) + " " + LLF::WideToAnsi(c.rightName));
    level.SetVar(L"current_scene", c.scene);
    level.SetVar(L"scene_right", L"");
    level.SetVar(L"scene_right_name", c.rightName);
    GameModePair* mode = level.Start();
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(HeadlessVoyage::LogCount(c.log), 1);
    EXPECT_EQ(mode->GetBoard().GetCurrentIndex(), c.index);
    PairModeScene* scene = mode->GetBoard().GetCurrentScene();
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->GetMissingRight(), scene->GetSavedMissingRight()) << "nothing counts as found";
    for (int i = 0; i < scene->GetChildsCount(); ++i) {
      EXPECT_TRUE(scene->GetChild(i)->IsVisible()) << i;
    }
    level.Release();
  }
}

TEST_F(GameModePairTest, ALevelWithoutAPlayableSceneIsRefusedOrWarnedOf) {
  const int layerChildren = level.Game().GetGameLayer()->GetChildsCount();
  const struct {
    const char* name;
    std::string scenes;
    bool assetFile;
    const wchar_t* log;
  } refused[] = {
      {"no scene", "  <other/>\n", true, L"Error: PairModeManager - the level has no usable scene."},
      {"no assetFile",
       "  <scene_01><object name=\"a\" pane=\"left\" imgName=\"pair_ball_red\" /></scene_01>\n", false,
       L"Error: PairModeManager - the level has no \"assetFile\"."},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.name);
    level.WriteLevel("t_bad", c.scenes, c.assetFile);
    EXPECT_EQ(level.Start("t_bad"), nullptr);
    EXPECT_EQ(HeadlessVoyage::LogCount(c.log), 1);
    level.Game().Frame(16);
    EXPECT_EQ(level.Game().GetGameLayer()->GetChildsCount(), layerChildren) << "nothing of it left";
  }

  // Every item partnered: playable, but that scene can't be won.
  level.WriteLevel(
      "t_even",
      "  <scene_07>\n    <object name=\"a\" dims=\"64,64\" pane=\"left\" imgName=\"pair_ball_red\" "
      "pos=\"10,10\" />\n    <object name=\"a\" dims=\"64,64\" pane=\"right\" imgName=\"pair_ball_red\" "
      "pos=\"410,10\" />\n  </scene_07>\n");
  GameModePair* mode = level.StartRunning("t_even");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Warning: PairModeManager - scene 7 has no odd item"), 1);
  const int before = mode->GetRemainingMs();
  level.Click(42, 20);
  EXPECT_EQ(mode->GetRemainingMs(), before - 30000) << "every item is a wrong one";
  EXPECT_EQ(mode->GetBoard().GetCurrentIndex(), 0);
  EXPECT_TRUE(mode->IsPlaying());
}

}  // namespace
}  // namespace QmTest
