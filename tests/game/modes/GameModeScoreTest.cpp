// The scoring every play mode shares: the find score, the "+N" labels, the
// win that stores a level's result once, the wallpaper award screen, and
// the results with the way out to the map. A test mode scores like the
// real ones (results in state 6, the leaving fade in 7, the end in 8),
// started through the host in the real shell, frames on the manual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "GameAtMenu.h"
#include "HeadlessVoyage.h"
#include "ImageTestUtil.h"
#include "ProbeMode.h"
#include "ProfileVars.h"
#include "ScriptStandIn.h"
#include "core/StringUtils.h"
#include "model/Control.h"
#include "model/GameServices.h"
#include "modes/GameModeHost.h"
#include "shell/Player.h"
#include "ui/StatsDialog.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

class ScoringProbe : public ProbeMode {
 public:
  enum { RESULTS = 6, LEAVING = 7, FINISHED = 8 };
  int wins = 0;

  void Win() override {
    ++wins;
    if (_current >= RESULTS) return;
    FinishWin(RESULTS, 1500, 500);
  }
  void DoState() override {
    switch (_current) {
      case RESULTS:
        OpenResults();
        break;
      case LEAVING:
        StartLeavingFade(FINISHED);
        break;
      case FINISHED:
        FinishLevel();
        break;
      default:
        ProbeMode::DoState();
    }
  }
  bool OnMessage(LLF::Message* msg) override {
    return TakeResultsOk(msg, LEAVING) || ProbeMode::OnMessage(msg);
  }
  void AddToScore(int points) { levelScore += points; }
  void SetSinceLastFind(int ms) { sinceLastFindMs = ms; }
  void SetHintsUsed(int count) { hintsUsed = count; }
  void SetAward(int index) { awardIndex = index; }
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

class GameModeScoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string program = start.Program();
    // A level screen of its own: the clock of the mirror's and a score label.
    std::string levui = ReadFile(program + "/scripts/game/levui.xml");
    const size_t from = levui.find("<level_mirror >");
    const size_t to = levui.find("</level_mirror>");
    ASSERT_TRUE(from != std::string::npos && to != std::string::npos);
    std::string section = levui.substr(from + 15, to - from - 15);
    section = "<level_probe >" + section +
              "<label name=\"clickscore_effect_label\" pos=\"0,0\" size=\"80,30\" font=\"Title28\" text=\"\" "
              "actionsInvisible=\"true\" /></level_probe>";
    levui.insert(levui.find("</levui>"), section);
    WriteFile(program + "/scripts/game/levui.xml", levui);
    WriteFile(program + "/scripts/dialogs/gallery.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><gallery>"
              "<staticimage name=\"AwardScreen\" pos=\"150,100\" size=\"500,400\" >"
              "<staticimage name=\"WallPreview\" pos=\"130,80\" size=\"240,150\" />"
              "<button name=\"Continue\" style=\"DialogButton\" pos=\"190,320\" text=\"Continue\" />"
              "</staticimage></gallery>");
    std::vector<uint8_t> samples(24 * 15 * 3, 128);
    const Bytes jpeg = MakeJpeg(24, 15, 3, samples);
    std::string thumbs = program + "/images/wallpapers";
    std::filesystem::create_directories(thumbs);
    WriteFile(thumbs + "/thumb_wlp_05_wide.jpg", std::string(jpeg.begin(), jpeg.end()));

    ASSERT_TRUE(start.Start());
    ProbeMode::NextSettings().uiSection = L"levui/level_probe";
    ProbeMode::NextSettings().keepClock = true;
    GameModeHost::RegisterType(L"probe", [] { return new ScoringProbe(); });
    start->SetStateMachine(&script);
    // Day 1's second level: it awards wallpaper 5 (index 4).
    script.SetChosenLevel(0, 1);
  }

  void TearDown() override {
    script.ReleaseLevel();
    start->Stop();
    ProbeMode::Unregister();
  }

  ScoringProbe* Start() {
    script.StartLevel();
    start->Frame(16);
    auto* mode = dynamic_cast<ScoringProbe*>(script.GetHost().GetMode());
    if (mode) Run(4000);
    return mode;
  }

  void Run(unsigned total, unsigned step = 100) {
    for (unsigned t = 0; t < total; t += step) start->Frame(step);
  }

  int ScoreLabels() const {
    int count = 0;
    HLF::Control* layer = start->GetGameLayer();
    for (int i = 0; i < layer->GetChildsCount(); ++i) {
      count += layer->GetChild(i)->GetName() == L"clickscore_effect_label";
    }
    return count;
  }

  GameAtMenu start;
  ScriptStandIn script;
};

TEST(GameModeScoreRules, FindPointsAndAwardThumbnails) {
  const struct {
    int ms;
    int points;
  } finds[] = {{0, 300}, {500, 295}, {1000, 290}, {29999, 0}, {30000, 0}, {40000, 0}};
  for (const auto& f : finds) {
    EXPECT_EQ(GameMode::FindPoints(f.ms), f.points) << f.ms;
  }
  EXPECT_EQ(GameMode::AwardThumbnailPath(0), L"images/wallpapers/thumb_wlp_01_wide.jpg");
  EXPECT_EQ(GameMode::AwardThumbnailPath(9), L"images/wallpapers/thumb_wlp_10_wide.jpg");
  EXPECT_EQ(GameMode::AwardThumbnailPath(19), L"images/wallpapers/thumb_wlp_20_wide.jpg");
}

TEST_F(GameModeScoreTest, FindsScoreKeepTheirStatisticsAndShowCentredLabels) {
  ScoringProbe* mode = Start();
  ASSERT_NE(mode, nullptr);
  mode->SetSinceLastFind(500);
  EXPECT_EQ(mode->ScoreFind(LLF::Vector2(300, 200)), 295);
  EXPECT_EQ(mode->GetSinceLastFindMs(), 0);
  ASSERT_EQ(ScoreLabels(), 1);
  HLF::Control* layer = start->GetGameLayer();
  HLF::Control* label = layer->GetChildByName(L"clickscore_effect_label");
  EXPECT_EQ(static_cast<HLF::Label*>(label)->GetFullText(), L"+295");
  EXPECT_EQ(label->GetPosition().x, 260.0f) << "centred: 300 - 80 / 2";
  EXPECT_EQ(label->GetPosition().y, 185.0f);

  mode->SetSinceLastFind(29999);
  EXPECT_EQ(mode->ScoreFind(LLF::Vector2(300, 200)), 0);
  EXPECT_EQ(ScoreLabels(), 1) << "no label for no points";
  mode->SetSinceLastFind(100);
  mode->ScoreFind(LLF::Vector2(100, 100));
  EXPECT_EQ(mode->GetLevelScore(), 295 + 299);
  EXPECT_EQ(mode->GetFastestFindMs(), 100);
  EXPECT_EQ(mode->GetLongestFindMs(), 29999);
  EXPECT_EQ(ScoreLabels(), 2);

  // Every label still standing goes with the mode.
  script.ReleaseLevel();
  EXPECT_EQ(ScoreLabels(), 0);
}

TEST_F(GameModeScoreTest, AWinStoresTheResultOnceWithTheNoHintBonus) {
  const struct {
    int hints;
    int stored;
  } cases[] = {{0, 1234 + 500 + 1000}, {1, 1234 + 500}};
  for (const auto& c : cases) {
    SetProfileVar(L"stats", L"score", L"1234");
    SetProfileVar(L"stats", L"wallpapers", L"00001000000000000000");  // already won: no screen
    ScoringProbe* mode = Start();
    ASSERT_NE(mode, nullptr);
    mode->AddToScore(500);
    mode->SetHintsUsed(c.hints);
    mode->MeetGoal();
    EXPECT_FALSE(mode->IsPlaying());
    EXPECT_EQ(ProfileVar(L"stats", L"score"), LLF::ToString(c.stored)) << c.hints;
    EXPECT_EQ(ProfileVar(L"levels/day_0", L"d1_puzzle"), L"complete");
    EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), LLF::ToString(mode->GetRemainingMs()));
    EXPECT_EQ(mode->GetAwardScreen(), nullptr);
    // A second win (the console's, or a goal met again) stores nothing more.
    mode->Win();
    mode->MeetGoal();
    EXPECT_EQ(ProfileVar(L"stats", L"score"), LLF::ToString(c.stored));
    // The full delay, then the results with the stored total.
    Run(1400);
    EXPECT_EQ(mode->GetStatsDialog(), nullptr);
    Run(200);
    ASSERT_NE(mode->GetStatsDialog(), nullptr);
    EXPECT_EQ(mode->GetStatsDialog()->GetStats().totalScore, c.stored);
    EXPECT_EQ(mode->GetStatsDialog()->GetStats().levelScore, c.stored - 1234);
    // OK: the fade, and the level ends towards the map.
    // The first OK completes the labels' entrance, the next one closes.
    for (int i = 0; i < 3 && mode->GetStatsDialog(); ++i) {
      mode->GetStatsDialog()->OnOk();
      start->Frame(16);
    }
    EXPECT_EQ(mode->GetStatsDialog(), nullptr);
    ASSERT_TRUE(start->FramesUntil([&] { return script.GetState() == ScriptStandIn::AFTERGAME_MAP; }));
    EXPECT_EQ(script.GetHost().GetMode(), nullptr);
    HLF::GameServices::DeleteDeferred();
  }
}

TEST_F(GameModeScoreTest, TheAwardScreenUnlocksTheWallpaperAndLeadsOnToTheResults) {
  SetProfileVar(L"stats", L"score", L"100");
  ScoringProbe* mode = Start();
  ASSERT_NE(mode, nullptr);
  ASSERT_EQ(mode->GetAwardIndex(), 4);
  mode->AddToScore(300);
  mode->MeetGoal();
  HLF::Control* screen = mode->GetAwardScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->GetParent(), start->GetGameLayer());
  EXPECT_EQ(ProfileVar(L"stats", L"wallpapers"), L"00001000000000000000");
  EXPECT_EQ(ProfileVar(L"stats", L"score"), L"1400");
  EXPECT_EQ(mode->SoundCount(L"award_earned"), 1);
  auto* preview = dynamic_cast<HLF::StaticImage*>(screen->GetChildByName(L"WallPreview"));
  ASSERT_NE(preview, nullptr);
  EXPECT_NE(preview->GetImage(), nullptr) << "the thumbnail is shown";
  Run(5000);
  EXPECT_EQ(mode->GetStatsDialog(), nullptr) << "the screen waits for the player";

  auto* next = dynamic_cast<HLF::Button*>(screen->GetChildByName(L"Continue"));
  ASSERT_NE(next, nullptr);
  next->OnClick(LLF::Message());
  next->OnClick(LLF::Message());  // a second click changes nothing
  Run(1500);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"GameMode::DoState() - GM_STATE_SHOWWIN"), 1);
  EXPECT_EQ(mode->wins, 2);
  EXPECT_EQ(ProfileVar(L"stats", L"score"), L"1400") << "counted once";
  Run(400);
  EXPECT_EQ(mode->GetStatsDialog(), nullptr);
  Run(200);
  ASSERT_NE(mode->GetStatsDialog(), nullptr) << "500 ms after the screen";
  EXPECT_EQ(mode->GetStatsDialog()->GetStats().totalScore, 1400);
}

TEST_F(GameModeScoreTest, AnAwardThatCannotBeShownStillLeadsToTheResults) {
  const struct {
    int index;
    bool thumbnail;
    const wchar_t* line;
    const wchar_t* mask;
  } cases[] = {
      {25, false, L"Error: GameMode - the award 25 of level \"d1_puzzle\" names no wallpaper; no award.",
       L"00000000000000000000"},
      {7, true, L"Error: Can't load image for award from path \"images/wallpapers/thumb_wlp_08_wide.jpg\"",
       L"00000001000000000000"},
  };
  // The game's data has every thumbnail: wallpaper 8's goes.
  std::filesystem::remove(start.Program() + "/images/wallpapers/thumb_wlp_08_wide.jpg");
  for (const auto& c : cases) {
    SetProfileVar(L"stats", L"wallpapers", L"00000000000000000000");
    ScoringProbe* mode = Start();
    ASSERT_NE(mode, nullptr);
    mode->SetAward(c.index);
    mode->MeetGoal();
    EXPECT_EQ(HeadlessVoyage::LogCount(c.line), 1);
    EXPECT_EQ(ProfileVar(L"stats", L"wallpapers"), c.mask);
    EXPECT_EQ(mode->GetAwardScreen() != nullptr, c.thumbnail) << "a missing thumbnail still shows the screen";
    if (!c.thumbnail) {
      Run(1600);
      EXPECT_NE(mode->GetStatsDialog(), nullptr);
    }
    script.ReleaseLevel();
  }
}

TEST_F(GameModeScoreTest, AbsentOrBrokenScoresReadAsZero) {
  HLF::Player player;
  EXPECT_EQ(GameMode::ReadScore(), 0);
  EXPECT_EQ(ProfileVar(L"stats", L"score"), L"0") << "written when absent";
  SetProfileVar(L"stats", L"score", L"12ab");
  EXPECT_EQ(GameMode::ReadScore(), 0);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Warning: GameMode - the stored score \"12ab\" is no number"), 1);
  GameMode::WriteScore(4321);
  EXPECT_EQ(GameMode::ReadScore(), 4321);
}

}  // namespace
}  // namespace QmTest
