#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FrameworkFactories.h"
#include "MessageRecorder.h"
#include "RecordingRenderSystem.h"
#include "SoundFixture.h"
#include "core/StringUtils.h"
#include "model/Control.h"
#include "model/XmlDocEx.h"
#include "modifiers/AudioFader.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "modifiers/Modifier.h"
#include "modifiers/ModifierFactory.h"
#include "modifiers/MoverTo.h"
#include "modifiers/Rotator.h"
#include "modifiers/TimeWarpDecelerate.h"

namespace {

// Writes each Apply as "apply p dt" (three decimals) into a journal.
class JournalModifier : public HLF::Modifier {
 public:
  explicit JournalModifier(std::vector<std::string>* journal) : _journal(journal) {}
  void Apply(float p, float dt) override {
    char line[64];
    std::snprintf(line, sizeof line, "apply %.3f %.3f", p, dt);
    _journal->push_back(line);
  }

 private:
  std::vector<std::string>* _journal;
};

// A curve that counts the curves of its class destroyed.
class CountedCurve : public HLF::TimeWarp {
 public:
  ~CountedCurve() override { ++destroyed; }
  HLF::TimeWarp* CreateInstance() override { return new CountedCurve(); }
  static inline int destroyed = 0;
};

// Timing of the base: the delay, the progress through the curve, the end
// frame, and what runs when it has ended. "start", "stop" (silent) and
// "u<ms>" (an update) are the steps; "end" is a message of code 1.
TEST(ModifierTest, Timeline) {
  struct Case {
    const char* what;
    unsigned duration;
    unsigned delay;
    bool noInitial;
    bool decelerate;
    std::vector<std::string> steps;
    std::vector<std::string> expected;
  } cases[] = {
      {"duration 0 ends at the first update, even in the delay",
       0,
       500,
       false,
       false,
       {"start", "u16", "u16"},
       {"apply 0.000 0.000", "apply 1.000 0.000", "end", "false"}},
      {"noInitialParamsSet: nothing before the delay is over",
       200,
       100,
       true,
       false,
       {"start", "u50", "u50", "u100", "u100"},
       {"apply 0.000 0.050", "apply 0.500 0.100", "apply 1.000 0.000", "end"}},
      {"without it the start state is applied during the delay",
       200,
       100,
       false,
       false,
       {"start", "u50", "u60", "u140"},
       {"apply 0.000 0.000", "apply 0.000 0.050", "apply 0.050 0.060", "apply 0.750 0.140"}},
      {"a frame past the end applies the end once",
       100,
       0,
       false,
       false,
       {"start", "u250", "u10"},
       {"apply 0.000 0.000", "apply 1.000 0.000", "end", "false"}},
      {"the curve eases the progress",
       1000,
       0,
       false,
       true,
       {"start", "u500", "u500"},
       {"apply 0.000 0.000", "apply 0.707 0.500", "apply 1.000 0.000", "end"}},
      {"a silent stop applies and sends nothing",
       100,
       0,
       false,
       false,
       {"start", "u50", "stop", "u10"},
       {"apply 0.000 0.000", "apply 0.500 0.050", "false"}},
      {"a start after the end runs it anew",
       100,
       0,
       false,
       false,
       {"start", "u100", "start", "u50"},
       {"apply 0.000 0.000", "apply 1.000 0.000", "end", "apply 0.000 0.000", "apply 0.500 0.050"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> journal;
    JournalModifier modifier(&journal);
    modifier.SetDuration(c.duration);
    modifier.SetStartDelay(c.delay);
    modifier.SetNoInitialParamsSet(c.noInitial);
    if (c.decelerate) {
      modifier.SetTimeWarp(new HLF::TimeWarpDecelerate());
    }
    QmTest::MessageRecorder recorder;
    recorder.Listen(&modifier);
    recorder.action = [&journal](const LLF::Message& msg) {
      journal.push_back(msg.GetCode() == 1 ? "end" : "?");
    };
    for (const std::string& step : c.steps) {
      if (step == "start") {
        modifier.Start();
      } else if (step == "stop") {
        modifier.Stop(true);
      } else if (!modifier.Update(static_cast<unsigned>(std::stoul(step.substr(1))))) {
        journal.push_back("false");
      }
    }
    EXPECT_EQ(journal, c.expected);
  }
}

TEST(ModifierTest, TimesFromXml) {
  QmTest::FrameworkFactories factories;
  struct Case {
    const wchar_t* text;
    unsigned duration;
    unsigned delay;
    bool noInitial;
  } cases[] = {
      {L"<modifier />", 1, 0, false},
      {L"<modifier duration=\"0.7\" startDelay=\"1.5\" noInitialParamsSet=\"true\" />", 700, 1500, true},
      {L"<modifier duration=\"0.0005\" />", 0, 0, false},
      {L"<modifier duration=\"-2\" startDelay=\"abc\" noInitialParamsSet=\"1\" />", 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.text));
    std::unique_ptr<HLF::Modifier> modifier(HLF::Modifier().CreateFromXmlText(c.text));
    ASSERT_NE(modifier, nullptr);
    EXPECT_EQ(modifier->GetDuration(), c.duration);
    EXPECT_EQ(modifier->GetStartDelay(), c.delay);
    EXPECT_EQ(modifier->IsNoInitialParamsSet(), c.noInitial);
  }
  EXPECT_EQ(HLF::Modifier().CreateFromXmlText(L"<fader />"), nullptr);
}

TEST(ModifierTest, ACurveIsOwnedOnceAndCopied) {
  CountedCurve::destroyed = 0;
  {
    HLF::Modifier modifier;
    CountedCurve* first = new CountedCurve();
    CountedCurve* second = new CountedCurve();
    modifier.SetTimeWarp(first);
    modifier.SetTimeWarp(second);
    EXPECT_EQ(CountedCurve::destroyed, 1);
    modifier.SetTimeWarp(second);
    EXPECT_EQ(CountedCurve::destroyed, 1);

    HLF::Modifier copy;
    copy.SetTimeWarp(new CountedCurve());
    copy.CopyFrom(modifier);
    EXPECT_EQ(CountedCurve::destroyed, 2);
    ASSERT_NE(copy.GetTimeWarp(), nullptr);
    EXPECT_NE(copy.GetTimeWarp(), second);
    copy.CopyFrom(copy);
    EXPECT_NE(copy.GetTimeWarp(), nullptr);
  }
  EXPECT_EQ(CountedCurve::destroyed, 4);
}

// Copies of an effect's modifiers keep their other receivers but not the
// effect they came from, which may die first.
TEST(ModifierTest, CopiesDoNotCarryTheSourceEffect) {
  QmTest::MessageRecorder recorder;
  HLF::Control control;
  auto source = std::make_unique<HLF::Effect>();
  source->AddModifier(new HLF::Fader(nullptr, nullptr, &recorder, HLF::Fader::FADE_RISE, 100, 0));
  source->SetTarget(&control);
  source->Start();
  ASSERT_TRUE(source->GetModifier(0)->HasReceiver(source.get()));

  HLF::Effect copy;
  copy.CopyFrom(*source);
  HLF::Modifier* copied = copy.GetModifier(0);
  ASSERT_NE(copied, nullptr);
  EXPECT_NE(copied, source->GetModifier(0));
  EXPECT_FALSE(copied->HasReceiver(source.get()));
  EXPECT_TRUE(copied->HasReceiver(&recorder));
  EXPECT_EQ(copied->GetTarget(), &control);
  source.reset();

  copy.Update(100);
  EXPECT_EQ(recorder.Codes(), std::vector<std::string>{"?:1"});
  EXPECT_EQ(control.GetAlpha(), 255);
}

// Each class's change at half way and at the end, made from XML and held
// by a control.
TEST(ModifierTest, ChangesOfEachClass) {
  QmTest::FrameworkFactories factories;
  struct Case {
    const wchar_t* text;
    std::function<std::string(const HLF::Control&)> read;
    const char* half;
    const char* end;
  } cases[] = {
      {L"<mover startPosition=\"0,0\" endPosition=\"100,50\" duration=\"1\" />",
       [](const HLF::Control& c) { return LLF::WideToAnsi(LLF::ToString(c.GetPosition())); }, "50,25",
       "100,50"},
      {L"<moverto endPosition=\"100,0\" duration=\"1\" />",
       [](const HLF::Control& c) { return LLF::WideToAnsi(LLF::ToString(c.GetPosition())); }, "60,10",
       "100,0"},
      {L"<moverto endPositionOffset=\"10,-20\" duration=\"1\" />",
       [](const HLF::Control& c) { return LLF::WideToAnsi(LLF::ToString(c.GetPosition())); }, "25,10",
       "30,0"},
      {L"<scaler duration=\"1\" />",
       [](const HLF::Control& c) { return LLF::WideToAnsi(LLF::ToString(c.GetScale())); }, "0.5,0.5", "1,1"},
      {L"<scaler startScale=\"1,1\" endScale=\"3,2\" duration=\"1\" />",
       [](const HLF::Control& c) { return LLF::WideToAnsi(LLF::ToString(c.GetScale())); }, "2,1.5", "3,2"},
      {L"<rotator endAngle=\"90\" duration=\"1\" />",
       [](const HLF::Control& c) { return std::to_string(static_cast<int>(c.GetRotation())); }, "45", "90"},
      {L"<rotator startAngle=\"90\" duration=\"1\" />",
       [](const HLF::Control& c) { return std::to_string(static_cast<int>(c.GetRotation())); }, "225", "360"},
      {L"<fader duration=\"1\" />", [](const HLF::Control& c) { return std::to_string(c.GetAlpha()); }, "127",
       "0"},
      {L"<fader type=\"FADEOUT\" duration=\"1\" />",
       [](const HLF::Control& c) { return std::to_string(c.GetAlpha()); }, "127", "255"},
      {L"<fader type=\"FADETO\" fadeFrom=\"300\" fadeTo=\"10\" duration=\"1\" />",
       [](const HLF::Control& c) { return std::to_string(c.GetAlpha()); }, "27", "10"},
      {L"<fader type=\"FADEIN\" hideOnZeroAlpha=\"true\" duration=\"1\" />",
       [](const HLF::Control& c) {
         return std::to_string(c.GetAlpha()) + (c.IsVisible() ? " shown" : " hidden");
       },
       "127 shown", "0 hidden"},
      {L"<fader type=\"FADETO\" fadeFrom=\"255\" fadeTo=\"10\" hideOnZeroAlpha=\"true\" duration=\"1\" />",
       [](const HLF::Control& c) {
         return std::to_string(c.GetAlpha()) + (c.IsVisible() ? " shown" : " hidden");
       },
       "132 shown", "10 shown"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.text));
    HLF::Control control;
    control.SetPosition(20, 20);
    HLF::XmlDocEx doc;
    ASSERT_TRUE(doc.Parse(c.text));
    HLF::Modifier* modifier = HLF::ModifierFactory::GetInstance().CreateFrom(*doc.GetDocumentElement());
    ASSERT_NE(modifier, nullptr);
    ASSERT_TRUE(control.AddAndStartModifier(modifier));
    control.Update(500);
    EXPECT_EQ(c.read(control), c.half);
    control.Update(500);
    EXPECT_EQ(c.read(control), c.end);
    // Ended, deleted by the control in the same update.
    EXPECT_EQ(control.GetModifiersCount(), 0);
  }
}

// The start is where the target stood when it was set; the offset is
// added to that start once.
TEST(ModifierTest, MoverToStartsWhereTheTargetWasSet) {
  HLF::Control control;
  control.SetPosition(10, 20);
  HLF::MoverTo* mover = new HLF::MoverTo(nullptr);
  mover->SetDuration(100);
  mover->SetEndPositionOffset(LLF::Vector2(5, -10));
  ASSERT_TRUE(control.AddModifier(mover));
  control.SetPosition(100, 100);
  mover->Start();
  EXPECT_EQ(control.GetPosition(), LLF::Vector2(10, 20));
  control.Update(100);
  EXPECT_EQ(control.GetPosition(), LLF::Vector2(15, 10));
}

TEST(ModifierTest, DeltaRotatorTurnsBySpeedForItsFrames) {
  HLF::Control control;
  HLF::Rotator* rotator = new HLF::Rotator(nullptr, nullptr, 0, 0, 2000, 0);
  rotator->SetType(HLF::Rotator::DELTA);
  rotator->SetSpeed(90);
  control.AddAndStartModifier(rotator);
  EXPECT_EQ(control.GetRotation(), 0.0f);
  for (int i = 0; i < 20; ++i) {
    control.Update(100);
  }
  // 19 frames of 0.1 s; the frame that reaches the end turns nothing.
  EXPECT_NEAR(control.GetRotation(), 171.0f, 1e-3);
  EXPECT_EQ(control.GetModifiersCount(), 0);
}

// Without a target the fader tints the screen through the current render
// system, with its colour and the alpha of the moment.
TEST(ModifierTest, FaderWithoutATargetTintsTheScreen) {
  QmTest::RecordingRenderSystem rs(true);
  struct Case {
    int type;
    LLF::Color atStart;
    LLF::Color half;
    LLF::Color end;
  } cases[] = {
      {HLF::Fader::FADE_RISE, LLF::Color(10, 20, 30, 0), LLF::Color(10, 20, 30, 127),
       LLF::Color(10, 20, 30, 255)},
      {HLF::Fader::FADE_FALL, LLF::Color(10, 20, 30, 255), LLF::Color(10, 20, 30, 127),
       LLF::Color(10, 20, 30, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    HLF::Fader fader(nullptr, nullptr, nullptr, c.type, 200, 0);
    fader.SetColor(LLF::Color(10, 20, 30, 99));
    fader.Start();
    EXPECT_EQ(rs.GetScreenTint(), c.atStart);
    fader.Update(100);
    EXPECT_EQ(rs.GetScreenTint(), c.half);
    fader.Update(100);
    EXPECT_EQ(rs.GetScreenTint(), c.end);
    EXPECT_TRUE(fader.IsStopped());
  }
}

class AudioFaderTest : public QmTest::SoundFixture {
 protected:
  void SetUp() override {
    UseSilentDriver();
    music = AddSilentMusic(L"theme");
    sound = AddSilentSound(L"click", 40.0f);
    ASSERT_NE(music, nullptr);
    ASSERT_NE(sound, nullptr);
  }

  LLF::Music* music = nullptr;
  LLF::Sound* sound = nullptr;
};

TEST_F(AudioFaderTest, MusicBeforeSound) {
  HLF::AudioFader fader(music, nullptr, nullptr, HLF::Fader::FADE_FALL, 100, 0);
  fader.SetSound(sound);
  fader.Start();
  EXPECT_EQ(music->GetVolume(), 100.0f);
  fader.Update(25);
  EXPECT_FLOAT_EQ(music->GetVolume(), 75.0f);
  fader.Update(100);
  EXPECT_EQ(music->GetVolume(), 0.0f);
  EXPECT_EQ(sound->GetVolume(), 40.0f);

  HLF::AudioFader soundFader(sound, nullptr, nullptr, HLF::Fader::FADE_RANGE, 100, 0);
  soundFader.SetFadeRange(20.0f, 80.0f);
  soundFader.Start();
  EXPECT_EQ(sound->GetVolume(), 20.0f);
  soundFader.Update(50);
  EXPECT_FLOAT_EQ(sound->GetVolume(), 50.0f);
  EXPECT_EQ(music->GetVolume(), 0.0f);
}

}  // namespace
