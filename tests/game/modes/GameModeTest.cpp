// The play-mode base, driven as the game drives it: a test mode with one
// target on an empty board, started through GameModeHost by a stand-in of
// the top-level script's level rows, in the real shell on the generated
// data, frames stepped on the manual clock. The day is day 1 (900 s).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GameAtMenu.h"
#include "HeadlessVoyage.h"
#include "ProbeMode.h"
#include "ProfileVars.h"
#include "ScriptStandIn.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "dialogs/Dialog.h"
#include "model/Control.h"
#include "model/GameServices.h"
#include "particles/Emitter.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

namespace QmTest {
namespace {

constexpr int kDayMs = 900000;

class GameModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(start.Start());
    ProbeMode::Register();
    start->SetStateMachine(&script);
    script.SetChosenLevel(0, 1);
  }

  void TearDown() override {
    script.ReleaseLevel();
    start->Stop();
    ProbeMode::Unregister();
  }

  ProbeMode* Mode() { return dynamic_cast<ProbeMode*>(script.GetHost().GetMode()); }

  // The chosen level (or the resume position's) started as the map or
  // Play would start it.
  ProbeMode* StartLevel() {
    script.StartLevel();
    start->Frame(16);
    return Mode();
  }

  // Started, and run until the clock has started (state 1).
  ProbeMode* StartRunningLevel() {
    ProbeMode* mode = StartLevel();
    if (mode) Run(4000);
    return mode;
  }

  void Run(unsigned total, unsigned step = 100) {
    for (unsigned t = 0; t < total; t += step) start->Frame(step);
  }

  static void Click(HLF::Control* button) {
    ASSERT_NE(button, nullptr);
    static_cast<HLF::Button*>(button)->OnClick(LLF::Message());
  }

  static void SetTips(bool on) { ASSERT_TRUE(QmTest::SetTips(on)); }

  static std::wstring ClockText(ProbeMode& mode) {
    auto* label = dynamic_cast<HLF::Label*>(mode.GetClockRibbon()->GetChildByName(L"clock_time_label"));
    return label ? label->GetFullText() : L"(no label)";
  }

  static std::wstring OpenMessage(ProbeMode& mode) {
    return mode.GetMessageDialog() ? mode.GetMessageDialog()->GetName() : L"";
  }

  GameAtMenu start;
  ScriptStandIn script;
};

TEST(GameModeClockText, MinutesAndTwoDigitSeconds) {
  const struct {
    int ms;
    const wchar_t* text;
  } cases[] = {{65000, L"1:05"}, {600000, L"10:00"}, {59999, L"0:59"}, {0, L"0:00"}, {1800000, L"30:00"}};
  for (const auto& c : cases) {
    EXPECT_EQ(GameMode::FormatClock(c.ms), c.text) << c.ms;
  }
}

TEST_F(GameModeTest, LoadingShowsTheDaysTimeAndTheLevelNumber) {
  ProbeMode* mode = StartLevel();
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->GetRemainingMs(), kDayMs);
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), L"900000") << "the day's full time is stored when absent";
  EXPECT_EQ(ClockText(*mode), L"15:00");
  EXPECT_FALSE(mode->GetClockRibbon()->IsVisible());
  // Day 1, level 2.
  auto* number = dynamic_cast<HLF::Label*>(mode->GetLevelNumberLabel());
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->GetFullText(), L"Level 2");
  EXPECT_EQ(number->GetParent(), nullptr);
  mode->ShowLevelNumber();
  EXPECT_EQ(number->GetParent(), start->GetGameLayer());
  EXPECT_EQ(mode->GetGradientCountdown(), 1500u);

  // A later day counts the levels of the days before it.
  SetProfileVar(L"stats", L"currentDay", L"2");
  script.SetChosenLevel(2, 0);
  script.GetHost().Release();
  mode = StartLevel();
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(static_cast<HLF::Label*>(mode->GetLevelNumberLabel())->GetFullText(), L"Level 7");
  EXPECT_EQ(mode->GetRemainingMs(), 900000) << "timeLeft stays what the previous day left";
}

// When the clock is visible, as [from, to) in ms since the level started.
struct Shown {
  int from;
  int to;
  bool operator==(const Shown& other) const { return from == other.from && to == other.to; }
};

TEST_F(GameModeTest, TheClockShowsAndHidesByItsFlags) {
  const struct {
    const char* name;
    bool keepClock;
    bool clockOnce;
    std::vector<Shown> shown;
  } cases[] = {
      {"keepClock", true, false, {{1500, 260000}}},
      {"clockOnce", false, true, {{1500, 11500}}},
      // Shown again 117500 ms after it went, then with the clock running
      // 7500 ms and the 2500 ms of its hiding.
      {"neither", false, false, {{1500, 11500}, {129000, 139000}, {256500, 260000}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProbeMode::NextSettings().keepClock = c.keepClock;
    ProbeMode::NextSettings().clockOnce = c.clockOnce;
    script.GetHost().Release();
    script.SetChosenLevel(0, 1);
    ProbeMode* mode = StartLevel();
    ASSERT_NE(mode, nullptr);
    std::vector<Shown> shown;
    bool was = false;
    for (int t = 100; t <= 260000; t += 100) {
      start->Frame(100);
      const bool is = mode->GetClockRibbon()->IsVisible();
      EXPECT_EQ(is, mode->GetClockSand()->IsVisible()) << t;
      if (is && !was) shown.push_back({t, 260000});
      if (!is && was) shown.back().to = t;
      was = is;
      if (t == 4000) {
        EXPECT_EQ(mode->GetRemainingMs(), kDayMs) << "still before state 1";
      }
      if (t == 4100) {
        EXPECT_EQ(mode->GetRemainingMs(), kDayMs - 100) << "the clock runs from state 1";
      }
    }
    ASSERT_EQ(shown.size(), c.shown.size());
    for (size_t i = 0; i < shown.size(); ++i) {
      EXPECT_EQ(shown[i].from, c.shown[i].from) << i;
      EXPECT_EQ(shown[i].to, c.shown[i].to) << i;
    }
    // The show effect brought the ribbon in.
    if (c.keepClock) {
      EXPECT_EQ(mode->GetClockRibbon()->GetAlpha(), 255);
    }
    EXPECT_EQ(ClockText(*mode), GameMode::FormatClock(mode->GetRemainingMs()));
  }
}

TEST_F(GameModeTest, TheNinetySecondWarningShowsOncePerRun) {
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  mode->SetRemainingMs(91050);
  Run(1000);
  EXPECT_EQ(OpenMessage(*mode), L"");
  Run(100);
  EXPECT_EQ(OpenMessage(*mode), L"TimeWatchOutMsgDlg");
  EXPECT_FALSE(mode->IsPlaying());
  const int left = mode->GetRemainingMs();
  Run(3000);
  EXPECT_EQ(mode->GetRemainingMs(), left) << "a message stops the clock";
  mode->GetMessageDialog()->OnOk();
  start->Frame(16);
  EXPECT_EQ(mode->GetMessageDialog(), nullptr);
  EXPECT_TRUE(mode->IsPlaying());
  Run(5000);
  EXPECT_EQ(mode->HelpAsked(GameMode::HELP_TIME_WATCH_OUT), 1);

  // The next level of the run, from a player who has not seen it yet.
  SetProfileVar(L"stats", L"hintsShown", std::wstring(30, L'0'));
  script.GetHost().Release();
  mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  mode->SetRemainingMs(91050);
  Run(5000);
  EXPECT_EQ(mode->HelpAsked(GameMode::HELP_TIME_WATCH_OUT), 0);
  EXPECT_EQ(OpenMessage(*mode), L"");

  // With tips off the warning is never counted as shown: it is asked for
  // every second.
  GameMode::ResetRunFlags();
  SetTips(false);
  mode->SetRemainingMs(90050);
  Run(5000);
  EXPECT_EQ(mode->HelpAsked(GameMode::HELP_TIME_WATCH_OUT), 5);
  EXPECT_EQ(OpenMessage(*mode), L"");
  EXPECT_TRUE(mode->IsPlaying());
}

TEST_F(GameModeTest, TheHintTipComesAfterFortyFiveSecondsUnlessSomethingWasFound) {
  for (const bool found : {true, false}) {
    SCOPED_TRACE(found ? "found" : "nothing found");
    script.GetHost().Release();
    ProbeMode* mode = StartLevel();
    ASSERT_NE(mode, nullptr);
    mode->SetFoundOnce(found);
    Run(3900 + 45000);
    EXPECT_EQ(OpenMessage(*mode), L"");
    Run(1000);
    EXPECT_EQ(OpenMessage(*mode), found ? L"" : L"HintButtonUseMsgDlg");
  }
}

TEST_F(GameModeTest, TheWarningTicksQuickenInTheLastMinute) {
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  SetTips(false);
  mode->SetRemainingMs(60500);
  Run(30000, 500);  // 60 s to 30.5 s: every sixth second
  EXPECT_EQ(mode->SoundCount(L"time_out"), 5);
  Run(25000, 500);  // to 5.5 s: every third second
  EXPECT_EQ(mode->SoundCount(L"time_out"), 5 + 8);
  Run(3000, 500);  // every second
  EXPECT_EQ(mode->SoundCount(L"time_out"), 5 + 8 + 3);
}

TEST_F(GameModeTest, HintsAreRefusedBelowThreeMinutesAndWhileParticlesRun) {
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  mode->SetRemainingMs(179999);
  Click(mode->GetHintButton());
  EXPECT_EQ(OpenMessage(*mode), L"HintImpossibleMsgDlg");
  EXPECT_EQ(mode->GetHintConfirmDialog(), nullptr);
  mode->GetMessageDialog()->OnOk();
  start->Frame(16);
  EXPECT_EQ(ProfileVar(L"stats", L"hintsShown")[GameMode::HELP_HINT_IMPOSSIBLE], L'0') << "shown every time";

  mode->SetRemainingMs(180000);
  Click(mode->GetHintButton());
  HLF::Dialog* confirm = mode->GetHintConfirmDialog();
  ASSERT_NE(confirm, nullptr);
  EXPECT_TRUE(mode->IsPaused());
  confirm->OnOk();
  EXPECT_EQ(mode->GetRemainingMs(), 60000);
  EXPECT_EQ(mode->GetHintsUsed(), 1);
  EXPECT_EQ(mode->SoundCount(L"game_hint_button"), 1);
  EXPECT_EQ(mode->SoundCount(L"time_decreased"), 0) << "the price is silent";
  EXPECT_FALSE(mode->IsPaused());
  HLF::Emitter* particles = mode->GetHintEmitter();
  ASSERT_NE(particles, nullptr);
  EXPECT_TRUE(particles->IsActionsInvisible());

  // While the particles run the button does nothing; once they report
  // their end it works again.
  mode->SetRemainingMs(400000);
  Click(mode->GetHintButton());
  EXPECT_EQ(mode->GetHintConfirmDialog(), nullptr);
  ASSERT_TRUE(start->FramesUntil([&] { return mode->GetHintEmitter() == nullptr; }, 100));
  Click(mode->GetHintButton());
  ASSERT_NE(mode->GetHintConfirmDialog(), nullptr);
  mode->GetHintConfirmDialog()->OnCancel();
  EXPECT_EQ(mode->GetHintsUsed(), 1);
  EXPECT_TRUE(mode->IsPlaying());
}

TEST_F(GameModeTest, TimePenalties) {
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  const struct {
    int before;
    int price;
    int after;
    bool sound;
  } cases[] = {
      {2500, 30000, 2000, true},
      {1999, 30000, 1999, false},
      {30000, 30000, 0, true},
      {95000, 30000, 65000, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    mode->SetRemainingMs(c.before);
    const int sounds = mode->SoundCount(L"time_decreased");
    mode->DecreaseTime(c.price, false);
    EXPECT_EQ(mode->GetRemainingMs(), c.after);
    EXPECT_EQ(mode->SoundCount(L"time_decreased") - sounds, c.sound ? 1 : 0);
  }

  // Fast clicks: four, a pause of 501 ms of running clock, and the run
  // starts again; five within 500 ms each cost 30000 ms.
  mode->SetRemainingMs(500000);
  for (int i = 0; i < 4; ++i) {
    mode->CountFastClick();
    start->Frame(100);
  }
  EXPECT_EQ(mode->GetFastClickCount(), 4);
  start->Frame(401);
  mode->CountFastClick();
  EXPECT_EQ(mode->GetFastClickCount(), 1);
  const int left = mode->GetRemainingMs();
  for (int i = 0; i < 4; ++i) {
    start->Frame(500);
    mode->CountFastClick();
  }
  EXPECT_EQ(mode->GetFastClickCount(), 0);
  EXPECT_EQ(mode->GetRemainingMs(), left - 2000 - 30000);
  EXPECT_EQ(OpenMessage(*mode), L"TimePenaltyMsgDlg");
}

TEST_F(GameModeTest, TimeOutRestartsTheDayWithoutWritingTheLevelBack) {
  SetProfileVar(L"levels/day_0", L"d1_jigsaw", L"complete");
  SetProfileVar(L"levels/day_0/d1_jigsaw", L"positions", L"0,1,2,3");
  SetProfileVar(L"stats", L"timeLeft", L"6000");
  // The ninety-second warning was seen long ago.
  SetProfileVar(L"stats", L"hintsShown", L"000010000000000000000000000000");
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  ASSERT_EQ(mode->GetRemainingMs(), 6000);
  Run(1000);
  const int left = mode->GetRemainingMs();
  ASSERT_LT(left, 6000);
  start->Frame(left);  // reaches the time left
  EXPECT_EQ(OpenMessage(*mode), L"TimeOutDlg");
  EXPECT_EQ(mode->GetRemainingMs(), left) << "the clock stays at its last value";
  EXPECT_EQ(mode->SoundCount(L"time_over"), 1);
  Run(2000);
  EXPECT_EQ(mode->HelpAsked(GameMode::HELP_TIME_OUT), 1) << "opened once; the clock stands";

  mode->GetMessageDialog()->OnOk();
  EXPECT_EQ(ProfileVar(L"levels/day_0", L"d1_jigsaw"), L"(absent)");
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), L"900000");
  EXPECT_EQ(ProfileVar(L"stats", L"playDay"), L"-1");
  EXPECT_EQ(ProfileVar(L"stats", L"playLev"), L"-1");
  ASSERT_TRUE(start->FramesUntil([&] { return script.GetState() == ScriptStandIn::AFTERGAME_MAP; }));
  EXPECT_EQ(script.GetHost().GetMode(), nullptr);
  // The end of the exit fade stored the time only: the level's own key,
  // which a save would write, is not there.
  EXPECT_EQ(ProfileVar(L"levels/day_0/d1_puzzle", L"probed"), L"(absent)");
  EXPECT_EQ(ProfileVar(L"levels/day_0", L"d1_jigsaw"), L"(absent)");
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), L"900000");
  // And so on disk.
  start->GetProfilesDoc()->Clear();
  start->LoadConfigs();
  start->SetCurrentProfile(L"Fox");
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), L"900000");
  EXPECT_EQ(ProfileVar(L"levels/day_0", L"d1_jigsaw"), L"(absent)");
}

TEST_F(GameModeTest, TheExitsStoreTheResumePosition) {
  // The map button: progress saved, no resume position.
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  Run(2000);
  Click(mode->GetMapButton());
  EXPECT_FALSE(mode->IsPlaying());
  EXPECT_EQ(ProfileVar(L"stats", L"playDay"), L"-1");
  EXPECT_EQ(ProfileVar(L"stats", L"playLev"), L"-1");
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), L"898000");
  Click(mode->GetMenuButton());
  EXPECT_EQ(mode->GetGameMenu(), nullptr) << "the buttons are dead while the level ends";
  // The clock runs on under the fade; its end stores the time again.
  int lastLeft = 0;
  ASSERT_TRUE(start->FramesUntil([&] {
    if (Mode()) lastLeft = Mode()->GetRemainingMs();
    return script.GetState() == ScriptStandIn::AFTERGAME_MAP;
  }));
  EXPECT_EQ(ProfileVar(L"levels/day_0/d1_puzzle", L"probed"), L"1");
  // lastLeft was read before the last frame (16 ms), in which the fade ended.
  lastLeft -= 16;
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), LLF::ToString(lastLeft));
  EXPECT_GE(lastLeft, 898000 - 1100);

  // The game menu's main-menu button: the day and the level.
  mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  EXPECT_FALSE(script.Resumed());
  EXPECT_EQ(mode->GetRemainingMs(), lastLeft) << "the day's clock goes on";
  Click(mode->GetMenuButton());
  HLF::Dialog* menu = mode->GetGameMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(mode->IsPaused());
  EXPECT_FALSE(mode->ShowHelpMessage(GameMode::HELP_MIRROR_GOAL)) << "no tips over the game menu";
  Click(menu->GetChildByName(L"MainMenuButton"));
  EXPECT_EQ(mode->GetGameMenu(), nullptr);
  EXPECT_EQ(ProfileVar(L"stats", L"playDay"), L"0");
  EXPECT_EQ(ProfileVar(L"stats", L"playLev"), L"1");
  ASSERT_TRUE(start->FramesUntil([&] { return script.GetState() == ScriptStandIn::AFTERGAME_MENU; }));
  EXPECT_EQ(script.GetHost().GetMode(), nullptr);

  // Play resumes that level without the map.
  script.SetChosenLevel(0, 0);
  script.Play();
  start->Frame(16);
  EXPECT_EQ(script.GetState(), ScriptStandIn::START_LEVEL);
  EXPECT_TRUE(script.Resumed());
  ASSERT_NE(Mode(), nullptr);
  EXPECT_EQ(Mode()->GetLevelInfo().name, L"d1_puzzle");

  // Continue closes the menu and the clock goes on.
  Run(4000);
  Click(Mode()->GetMenuButton());
  ASSERT_NE(Mode()->GetGameMenu(), nullptr);
  Mode()->GetGameMenu()->OnOk();
  EXPECT_EQ(Mode()->GetGameMenu(), nullptr);
  EXPECT_TRUE(Mode()->IsPlaying());
  EXPECT_FALSE(Mode()->IsPaused());
}

TEST_F(GameModeTest, ClosingTheWindowSavesTheRunningLevel) {
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  EXPECT_TRUE(script.GetHost().SaveRunningLevel());
  EXPECT_EQ(ProfileVar(L"levels/day_0/d1_puzzle", L"probed"), L"1");
  EXPECT_EQ(ProfileVar(L"stats", L"playDay"), L"0");
  EXPECT_EQ(ProfileVar(L"stats", L"playLev"), L"1");
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), LLF::ToString(mode->GetRemainingMs()));
}

TEST_F(GameModeTest, ALevelThatDoesNotLoadLeavesNoProgress) {
  ProbeMode::NextSettings().uiSection = L"levui/no_such_section";
  SetProfileVar(L"stats", L"playDay", L"-1");
  ASSERT_EQ(StartLevel(), nullptr);
  EXPECT_EQ(script.StartsFailed(), 1);
  start->Frame(16);
  EXPECT_EQ(script.GetState(), ScriptStandIn::AFTERGAME_MAP);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Error: Can't load level \"d1_puzzle\""), 1);
  EXPECT_EQ(ProfileVar(L"stats", L"playDay"), L"-1");
  EXPECT_EQ(ProfileVar(L"stats", L"playLev"), L"-1");
  EXPECT_EQ(ProfileVar(L"levels/day_0/d1_puzzle", L"probed"), L"(absent)");
  EXPECT_EQ(ProfileVar(L"stats", L"timeLeft"), L"(absent)");
  EXPECT_TRUE(script.GetHost().SaveRunningLevel()) << "nothing to save";
  EXPECT_EQ(ProfileVar(L"stats", L"playDay"), L"-1");

  // An unknown type goes the same way.
  ProbeMode::Unregister();
  ASSERT_EQ(StartLevel(), nullptr);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Error: Unknown level type \"probe\""), 1);
}

TEST_F(GameModeTest, WinningTheRunningModeEndsTheLevel) {
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  script.GetHost().Win();
  ASSERT_TRUE(start->FramesUntil([&] { return script.GetState() == ScriptStandIn::AFTERGAME_MAP; }));
  EXPECT_EQ(script.GetHost().GetMode(), nullptr);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"GameMode::DoState() - GM_STATE_QUIT"), 1);
  // Nothing of the level stays on screen.
  EXPECT_EQ(start->GetGameLayer()->GetChildsCount(), 1) << "only the hidden menu";
  script.GetHost().Win();  // no mode: nothing
}

TEST_F(GameModeTest, HelpMessagesOncePerPlayer) {
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  // A fresh player gets 30 zeros, with the message's own character set.
  EXPECT_TRUE(mode->ShowHelpMessage(GameMode::HELP_MIRROR_GOAL));
  EXPECT_EQ(OpenMessage(*mode), L"MirrorLevelGoalMsgDlg");
  EXPECT_EQ(ProfileVar(L"stats", L"hintsShown"), L"010000000000000000000000000000");
  EXPECT_FALSE(mode->CanPlay());
  mode->GetMessageDialog()->OnOk();

  // Shown before: true, and nothing opens.
  EXPECT_TRUE(mode->ShowHelpMessage(GameMode::HELP_MIRROR_GOAL));
  EXPECT_EQ(mode->GetMessageDialog(), nullptr);
  EXPECT_TRUE(mode->IsPlaying());

  // A short stored string (edited by hand) is padded with zeros.
  SetProfileVar(L"stats", L"hintsShown", L"01");
  EXPECT_TRUE(mode->ShowHelpMessage(GameMode::HELP_JIGSAW_GOAL));
  EXPECT_EQ(OpenMessage(*mode), L"JigsawLevelGoalMsgDlg");
  EXPECT_EQ(ProfileVar(L"stats", L"hintsShown"), L"010000000010000000000000000000");
  // A new message replaces the open one.
  EXPECT_TRUE(mode->ShowHelpMessage(GameMode::HELP_PUZZLE_GOAL));
  EXPECT_EQ(OpenMessage(*mode), L"PuzzleLevelGoalMsgDlg");
  mode->GetMessageDialog()->OnOk();
  start->Frame(16);
  EXPECT_EQ(HLF::GameServices::GetDeletesPending(), 0u);
  int dialogs = 0;
  for (int i = 0; i < start->GetGameLayer()->GetChildsCount(); ++i) {
    dialogs += dynamic_cast<HLF::Dialog*>(start->GetGameLayer()->GetChild(i)) ? 1 : 0;
  }
  EXPECT_EQ(dialogs, 0);
}

TEST_F(GameModeTest, WithTipsOffPenaltiesAndTheTimeOutStillApply) {
  SetTips(false);
  ProbeMode* mode = StartRunningLevel();
  ASSERT_NE(mode, nullptr);
  EXPECT_FALSE(mode->ShowHelpMessage(GameMode::HELP_SEEK_GOAL));
  EXPECT_EQ(mode->GetMessageDialog(), nullptr);
  EXPECT_EQ(ProfileVar(L"stats", L"hintsShown"), L"(absent)") << "a refused message is not remembered";

  mode->SetRemainingMs(100000);
  for (int i = 0; i < 5; ++i) mode->CountFastClick();
  EXPECT_EQ(mode->GetRemainingMs(), 70000);
  EXPECT_EQ(mode->GetMessageDialog(), nullptr);
  EXPECT_TRUE(mode->IsPlaying());

  mode->SetRemainingMs(150);
  start->Frame(200);
  EXPECT_EQ(OpenMessage(*mode), L"TimeOutDlg");
}

}  // namespace
}  // namespace QmTest
