#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlProbe.h"
#include "FrameDriver.h"
#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TempFolders.h"
#include "model/Control.h"
#include "model/GameServices.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "modifiers/Modifier.h"
#include "modifiers/TimeWarpDecelerate.h"

namespace {

// An effects file that opens with a comment, takes its times from its own
// variables and from an include, and holds modifiers among elements that
// are none.
const char* const kEffects =
    "<!-- effects of the tests -->\n"
    "<effects>\n"
    "  <vars>\n"
    "    <var name=\"fadeTime\" value=\"1\" />\n"
    "    <include file=\"scripts/timing.xml\" path=\"timing/vars\" />\n"
    "  </vars>\n"
    "  <effect name=\"FadeAndMove\">\n"
    "    <fader type=\"FADEIN\" duration=\"#fadeTime;\" />\n"
    "    <!-- the mover eases out -->\n"
    "    <sparkle duration=\"9\" />\n"
    "    <mover startPosition=\"0,0\" endPosition=\"#endX;,100\" duration=\"#moveTime;\""
    " timeWarp=\"decelerate\" />\n"
    "  </effect>\n"
    "  <effect name=\"Spin\" infiniteLoop=\"true\">\n"
    "    <rotator type=\"DELTA\" speed=\"90\" duration=\"0.5\" />\n"
    "  </effect>\n"
    "  <effect name=\"Delayed\" startDelay=\"0.5\">\n"
    "    <scaler startScale=\"0.5,0.5\" endScale=\"1,1\" duration=\"0.2\" />\n"
    "  </effect>\n"
    "  <effect name=\"Empty\"><nothing /><vars /></effect>\n"
    "</effects>\n";

const char* const kTiming =
    "<timing><vars>\n"
    "  <var name=\"moveTime\" value=\"2\" />\n"
    "  <var name=\"endX\" value=\"200\" />\n"
    "  <var name=\"fadeTime\" value=\"5\" />\n"
    "</vars></timing>\n";

// A root with the control "panel" under it, the effects file in place, and
// a recorder of the effects' messages.
class EffectTest : public ::testing::Test {
 public:
  void SetUp() override {
    folders.WriteProgramFile("scripts/effects.xml", kEffects);
    folders.WriteProgramFile("scripts/timing.xml", kTiming);
    panel = new HLF::Control(L"panel");
    root.AddChild(panel);
  }

  HLF::Effect* Attach(const wchar_t* name) {
    HLF::Effect* effect = new HLF::Effect(L"scripts/effects.xml", name, &recorder);
    panel->AddAndStartEffect(effect);
    return effect;
  }

  QmTest::FrameworkFactories factories;
  QmTest::TempFolders folders;
  QmTest::MessageRecorder recorder;
  HLF::Control root{L"root"};
  HLF::Control* panel = nullptr;
  QmTest::FrameDriver frames{&root};
};

// The fader and the eased mover at chosen times; the end is reported once,
// in the frame the longer modifier ends, and the control lets the effect go.
TEST_F(EffectTest, DrivesAlphaAndPositionAlongTheCurves) {
  HLF::Effect* effect = Attach(L"FadeAndMove");
  ASSERT_EQ(effect->GetModifiersCount(), 2);
  EXPECT_EQ(panel->GetAlpha(), 255);
  EXPECT_EQ(panel->GetPosition(), LLF::Vector2(0, 0));

  HLF::TimeWarpDecelerate curve;
  struct Check {
    unsigned at;  // ms since the start
    int alpha;
    float progress;  // of the mover, before easing
    double x;        // 200 sin(90 progress degrees)
  } checks[] = {{250, 191, 0.125f, 39.018},
                {500, 127, 0.25f, 76.537},
                {1000, 0, 0.5f, 141.421},
                {1500, 0, 0.75f, 184.776},
                {1950, 0, 0.975f, 199.846}};
  unsigned now = 0;
  for (const Check& check : checks) {
    SCOPED_TRACE(check.at);
    for (; now < check.at; now += 50) {
      frames.Step(50);
    }
    EXPECT_EQ(panel->GetAlpha(), check.alpha);
    const float eased = curve.Warp(check.progress);
    EXPECT_FLOAT_EQ(panel->GetPosition().x, 200.0f * eased);
    EXPECT_FLOAT_EQ(panel->GetPosition().y, 100.0f * eased);
    EXPECT_NEAR(panel->GetPosition().x, check.x, 0.01);
    EXPECT_TRUE(recorder.Entries().empty());
  }
  // The fader ended at one second and was dropped; the mover is left.
  EXPECT_EQ(effect->GetModifiersCount(), 1);

  frames.Step(50);
  EXPECT_EQ(panel->GetPosition(), LLF::Vector2(200, 100));
  EXPECT_EQ(recorder.Codes(), std::vector<std::string>{"?:2"});
  EXPECT_EQ(panel->GetEffectsCount(), 0);
  frames.Run(5, 50);
  EXPECT_EQ(recorder.Entries().size(), 1u);
}

// A looping effect restarts in the frame its last modifier stops and never
// reports an end.
TEST_F(EffectTest, ALoopingEffectRestartsAndNeverEnds) {
  HLF::Effect* effect = Attach(L"Spin");
  ASSERT_TRUE(effect->IsInfiniteLoop());
  frames.Run(10, 50);
  // Nine frames of 0.05 s at 90 degrees a second; the tenth ends the loop.
  EXPECT_NEAR(panel->GetRotation(), 40.5f, 1e-3);
  EXPECT_TRUE(effect->GetModifier(0)->IsRunning());
  frames.Run(20, 50);
  EXPECT_NEAR(panel->GetRotation(), 121.5f, 1e-3);
  EXPECT_EQ(panel->GetEffectsCount(), 1);
  EXPECT_FALSE(effect->IsStopped());
  // Stopping it only starts it again.
  effect->Stop(false);
  EXPECT_TRUE(effect->IsRunning());
  EXPECT_TRUE(recorder.Entries().empty());
}

// The delay shows the start state, starts the modifiers in the frame that
// uses it up, and runs them from the next.
TEST_F(EffectTest, AStartDelay) {
  HLF::Effect* effect = Attach(L"Delayed");
  EXPECT_EQ(effect->GetStartDelay(), 500u);
  EXPECT_EQ(panel->GetScale(), LLF::Vector2(0.5f, 0.5f));
  frames.Run(4, 100);
  EXPECT_FALSE(effect->GetModifier(0)->IsRunning());
  EXPECT_EQ(panel->GetScale(), LLF::Vector2(0.5f, 0.5f));
  frames.Step(100);
  EXPECT_TRUE(effect->GetModifier(0)->IsRunning());
  EXPECT_EQ(panel->GetScale(), LLF::Vector2(0.5f, 0.5f));
  frames.Step(100);
  EXPECT_EQ(panel->GetScale(), LLF::Vector2(0.75f, 0.75f));
  EXPECT_TRUE(recorder.Entries().empty());
  frames.Step(100);
  EXPECT_EQ(panel->GetScale(), LLF::Vector2(1, 1));
  EXPECT_EQ(recorder.Codes(), std::vector<std::string>{"?:2"});
}

// Stop puts the modifiers at their ends, Cancel leaves them; each reports
// unless silent, and a stopped effect leaves its control at the next update.
TEST_F(EffectTest, StopAndCancel) {
  struct Case {
    bool cancel;
    bool silent;
    int alpha;
    std::vector<std::string> codes;
  } cases[] = {
      {false, true, 0, {}},
      {false, false, 0, {"?:2"}},
      {true, true, 127, {}},
      {true, false, 127, {"?:2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.cancel) + std::to_string(c.silent));
    recorder.Clear();
    panel->SetPosition(0, 0);
    HLF::Effect* effect = Attach(L"FadeAndMove");
    frames.Run(10, 50);
    if (c.cancel) {
      effect->Cancel(c.silent);
    } else {
      effect->Stop(c.silent);
    }
    EXPECT_EQ(panel->GetAlpha(), c.alpha);
    EXPECT_EQ(panel->GetPosition().x == 200.0f, !c.cancel);
    EXPECT_EQ(recorder.Codes(), c.codes);
    EXPECT_FALSE(effect->Update(50));
    frames.Step(50);
    EXPECT_EQ(panel->GetEffectsCount(), 0);
    EXPECT_EQ(recorder.Codes(), c.codes);
  }
}

// The end goes out once a run, also when a receiver of a modifier ends the
// effect from inside its update, and when it is stopped again after.
TEST_F(EffectTest, TheEndIsReportedOncePerRun) {
  HLF::Effect* effect = new HLF::Effect();
  QmTest::MessageRecorder stopper;
  effect->AddModifier(new HLF::Fader(nullptr, nullptr, &stopper, HLF::Fader::FADE_FALL, 100, 0));
  effect->AddModifier(new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_FALL, 200, 0));
  effect->AddReceiver(&recorder);
  stopper.action = [effect](const LLF::Message&) { effect->Stop(false); };
  panel->AddAndStartEffect(effect);
  EXPECT_TRUE(effect->Update(100));
  EXPECT_EQ(recorder.Codes(), std::vector<std::string>{"?:2"});
  effect->Stop(false);
  effect->Cancel(false);
  EXPECT_EQ(recorder.Codes(), std::vector<std::string>{"?:2"});
  // A new run reports again.
  effect->Start();
  effect->Stop(false);
  EXPECT_EQ(recorder.Codes(), (std::vector<std::string>{"?:2", "?:2"}));
}

// An effect without modifiers ends at its first update.
TEST_F(EffectTest, AnEffectWithoutModifiersEndsAtOnce) {
  HLF::Effect* effect = Attach(L"Empty");
  EXPECT_EQ(effect->GetModifiersCount(), 0);
  frames.Step(16);
  EXPECT_EQ(recorder.Codes(), std::vector<std::string>{"?:2"});
  EXPECT_EQ(panel->GetEffectsCount(), 0);
}

TEST_F(EffectTest, LoadingFailures) {
  QmTest::LogRecorder log;
  HLF::Effect effect;
  EXPECT_FALSE(effect.LoadFromFile(L"scripts/effects.xml", L"NoSuchEffect"));
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_FALSE(effect.LoadFromFile(L"scripts/none.xml", L"Spin"));
  EXPECT_EQ(log.Count(L"Error: Can't open effects file \"scripts/none.xml\""), 1);
  EXPECT_FALSE(effect.LoadFromXmlText(L"<effect name=\"x\""));
  EXPECT_EQ(log.Count(L"Error: Can't assign effect XML text"), 1);

  // The text's document element is the effect itself.
  EXPECT_TRUE(effect.LoadFromXmlText(
      L"<!-- c --><effect name=\"Text\" startDelay=\"0.0015\" infiniteLoop=\"true\"><mover /></effect>"));
  EXPECT_EQ(effect.GetName(), L"Text");
  EXPECT_EQ(effect.GetStartDelay(), 2u);
  EXPECT_TRUE(effect.IsInfiniteLoop());
  EXPECT_EQ(effect.GetModifiersCount(), 1);
}

// The control may go at any point of its effect's run: from a receiver of
// the effect's end, from a sibling's update, between frames, or from a
// receiver of a modifier's end while the effect updates on its own.
TEST_F(EffectTest, RemovingTheControlWhileItsEffectRuns) {
  struct Case {
    const char* what;
    std::function<void(EffectTest&)> arrange;
  } cases[] = {
      {"a receiver of the end removes it",
       [](EffectTest& t) {
         t.recorder.action = [&t](const LLF::Message&) { t.root.RemoveChild(t.panel, true); };
       }},
      {"a sibling removes it mid-run",
       [](EffectTest& t) {
         QmTest::Probe* sibling = new QmTest::Probe(nullptr, L"sibling");
         t.root.AddChildFront(sibling);
         sibling->onUpdate = [&t, calls = 0]() mutable {
           if (++calls == 20) t.root.RemoveChild(t.panel, true);
         };
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EffectTest& t = *this;
    recorder.Clear();
    recorder.action = nullptr;
    Attach(L"FadeAndMove");
    c.arrange(t);
    frames.Run(50, 50);
    EXPECT_EQ(root.GetChildByName(L"panel"), nullptr);
    EXPECT_EQ(HLF::GameServices::GetDeletesPending(), 0u);
    // Ended by the receiver's own frame, or never.
    EXPECT_LE(recorder.Entries().size(), 1u);
    recorder.action = nullptr;
    root.RemoveChild(L"sibling", true);
    panel = new HLF::Control(L"panel");
    root.AddChild(panel);
  }

  // Between frames.
  recorder.Clear();
  Attach(L"FadeAndMove");
  frames.Run(10, 50);
  root.RemoveChild(panel, true);
  frames.Run(40, 50);
  EXPECT_TRUE(recorder.Entries().empty());

  // A modifier's receiver deletes the control that owns the effect.
  HLF::Control* owner = new HLF::Control(L"owner");
  HLF::Effect* effect = new HLF::Effect();
  QmTest::MessageRecorder killer;
  effect->AddModifier(new HLF::Fader(nullptr, nullptr, &killer, HLF::Fader::FADE_FALL, 100, 0));
  effect->AddModifier(new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_FALL, 200, 0));
  owner->AddAndStartEffect(effect);
  killer.action = [owner](const LLF::Message&) { delete owner; };
  EXPECT_TRUE(effect->Update(100));
  EXPECT_EQ(killer.Codes(), std::vector<std::string>{"?:1"});
}

}  // namespace
