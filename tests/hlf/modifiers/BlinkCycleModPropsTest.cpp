#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "image/Image.h"
#include "model/Control.h"
#include "model/XmlDocEx.h"
#include "modifiers/Blinker.h"
#include "modifiers/Cycler.h"
#include "modifiers/ModProps.h"
#include "modifiers/ModifierFactory.h"
#include "widgets/StaticImage.h"
#include "xml/XmlAttribute.h"

namespace {

using Frame = std::pair<int, int>;  // cell, loop

std::unique_ptr<HLF::Modifier> Made(const std::wstring& text) {
  HLF::XmlDocEx doc;
  LLF::XmlElement* element = doc.ParseDocumentElement(text);
  return std::unique_ptr<HLF::Modifier>(element ? HLF::ModifierFactory::GetInstance().CreateFrom(*element)
                                                : nullptr);
}

// The target's state at a few times of a 3000 ms blinker run with three
// phases, and after its end.
TEST(BlinkerTest, Timeline) {
  struct Case {
    const char* what;
    int type;
    bool onStart, onFinish;
    std::vector<int> expected;  // at 500, 1500, 2500 ms and after the end: visible, or the alpha
  } cases[] = {
      {"visibility", HLF::Blinker::VISIBILITY, true, true, {1, 0, 1, 1}},
      {"visibility, starting hidden, ending hidden", HLF::Blinker::VISIBILITY, false, false, {0, 1, 0, 0}},
      {"alpha, ending on alpha1", HLF::Blinker::ALPHA, true, true, {127, 255, 127, 127}},
      {"alpha, ending on alpha2", HLF::Blinker::ALPHA, true, false, {127, 255, 127, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HLF::Control target;
    HLF::Blinker blinker(&target, nullptr, nullptr, 3000, 0, 3, c.type, c.onFinish, c.onStart);
    const auto state = [&] { return c.type == HLF::Blinker::ALPHA ? target.GetAlpha() : target.IsVisible(); };
    std::vector<int> seen;
    blinker.Start();
    for (unsigned ms : {500u, 1000u, 1000u, 1000u}) {
      blinker.Update(ms);
      seen.push_back(state());
    }
    EXPECT_TRUE(blinker.IsStopped());
    EXPECT_EQ(seen, c.expected);
  }

  // Phase edges: the start state until 1000 ms, the other one from there
  // up to 2000 ms included, the start state after.
  HLF::Control target;
  HLF::Blinker blinker(&target, nullptr, nullptr, 3000, 0, 3, HLF::Blinker::VISIBILITY, true, true);
  blinker.Start();
  blinker.Update(999);
  EXPECT_TRUE(target.IsVisible());
  blinker.Update(1);
  EXPECT_FALSE(target.IsVisible());
  blinker.Update(1000);
  EXPECT_FALSE(target.IsVisible());
  blinker.Update(1);
  EXPECT_TRUE(target.IsVisible());
}

TEST(BlinkerTest, Attributes) {
  QmTest::FrameworkFactories factories;
  std::unique_ptr<HLF::Modifier> made = Made(
      L"<blinker type=\"ALPHA\" blinksCount=\"5\" alpha1=\"10\" alpha2=\"20\" visibleOnStart=\"false\" "
      L"visibleOnFinish=\"false\" duration=\"2\" />");
  HLF::Blinker* blinker = dynamic_cast<HLF::Blinker*>(made.get());
  ASSERT_NE(blinker, nullptr);
  uint8_t alpha1 = 0, alpha2 = 0;
  blinker->GetAlphas(alpha1, alpha2);
  EXPECT_EQ(blinker->GetType(), HLF::Blinker::ALPHA);
  EXPECT_EQ(blinker->GetBlinksCount(), 5);
  EXPECT_EQ(alpha1, 10);
  EXPECT_EQ(alpha2, 20);
  EXPECT_FALSE(blinker->IsVisibleOnStart());
  EXPECT_FALSE(blinker->IsVisibleOnFinish());
  EXPECT_EQ(blinker->GetDuration(), 2000u);

  // One alpha alone is not used; an unknown type leaves the type; a count
  // below 1 blinks once.
  made = Made(L"<blinker type=\"Alpha\" alpha1=\"10\" blinksCount=\"0\" />");
  blinker = dynamic_cast<HLF::Blinker*>(made.get());
  ASSERT_NE(blinker, nullptr);
  blinker->GetAlphas(alpha1, alpha2);
  EXPECT_EQ(alpha1, 127);
  EXPECT_EQ(alpha2, 255);
  EXPECT_EQ(blinker->GetType(), HLF::Blinker::VISIBILITY);
  EXPECT_EQ(blinker->GetBlinksCount(), 1);

  // A copy takes the settings.
  HLF::Blinker copy;
  copy.CopyFrom(*made);
  EXPECT_EQ(copy.GetBlinksCount(), 1);
  made = Made(L"<blinker blinksCount=\"4\" type=\"ALPHA\" />");
  copy.CopyFrom(*made);
  EXPECT_EQ(copy.GetBlinksCount(), 4);
  EXPECT_EQ(copy.GetType(), HLF::Blinker::ALPHA);
}

class CyclerTest : public ::testing::Test {
 protected:
  CyclerTest() : sheet(6, 4, LLF::IMGFORMAT_R8G8B8A8) {
    sheet.SetCellsCount(3, true);
    sheet.SetLoopsCount(2, true);
    target.SetImageObject(&sheet);
  }

  // The frames shown after each step, over count steps of 600 ms (two
  // updates of 300 ms: the interval of 0.5 s runs out on the second).
  std::vector<Frame> Steps(HLF::Cycler& cycler, int count) {
    std::vector<Frame> frames;
    for (int i = 0; i < count; ++i) {
      cycler.Update(300);
      cycler.Update(300);
      frames.emplace_back(target.GetCell(), target.GetLoop());
    }
    return frames;
  }

  LLF::Image sheet;
  HLF::StaticImage target;
};

TEST_F(CyclerTest, StepsThroughTheGrid) {
  struct Case {
    const char* what;
    int type;
    std::vector<Frame> expected;
  } cases[] = {
      {"forward", HLF::Cycler::FORWARD, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 0}}},
      {"backward", HLF::Cycler::BACKWARD, {{2, 1}, {1, 1}, {0, 1}, {2, 0}, {1, 0}, {0, 0}, {2, 1}}},
      {"round leaves the cell", HLF::Cycler::ROUND, {{1, 1}, {1, 1}}},
      {"random leaves the cell", HLF::Cycler::RANDOM, {{1, 1}, {1, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    target.SetCell(1);
    target.SetLoop(1);
    HLF::Cycler cycler;
    cycler.SetType(c.type);
    cycler.SetDuration(100000);
    cycler.SetTarget(&target);
    cycler.Start();
    // Half an interval changes nothing.
    cycler.Update(300);
    EXPECT_EQ(Frame(target.GetCell(), target.GetLoop()), Frame(1, 1));
    cycler.Update(300);
    std::vector<Frame> frames = {{target.GetCell(), target.GetLoop()}};
    const std::vector<Frame> more = Steps(cycler, static_cast<int>(c.expected.size()) - 1);
    frames.insert(frames.end(), more.begin(), more.end());
    EXPECT_EQ(frames, c.expected);
  }
}

TEST_F(CyclerTest, TargetsWithoutAnImage) {
  QmTest::LogRecorder log;
  HLF::Cycler cycler;
  HLF::Control plain(L"plain");
  cycler.SetTarget(&plain);
  cycler.SetTarget(&plain);
  EXPECT_EQ(cycler.GetTarget(), nullptr);
  EXPECT_EQ(log.Count(L"Error: Can't set target with name plain for Cycler modifier."), 2);
  // A refused control leaves the target that was set.
  cycler.SetTarget(&target);
  cycler.SetTarget(&plain);
  EXPECT_EQ(cycler.GetTarget(), &target);

  // An image property without an image: nothing to step.
  HLF::StaticImage empty;
  empty.SetCell(2);
  cycler.SetTarget(&empty);
  cycler.SetDuration(100000);
  cycler.Start();
  for (int i = 0; i < 4; ++i) {
    cycler.Update(300);
  }
  EXPECT_EQ(empty.GetCell(), 2);
  EXPECT_EQ(empty.GetLoop(), 0);
}

TEST_F(CyclerTest, ACopyGoesOnFromTheFrameItWasMadeAt) {
  HLF::Cycler original;
  original.SetTarget(&target);
  original.SetDuration(100000);
  original.Start();
  Steps(original, 2);  // (0, 0), then (1, 0)
  HLF::Cycler copy;
  copy.CopyFrom(original);
  copy.Start();
  EXPECT_EQ(Steps(copy, 2), (std::vector<Frame>{{2, 0}, {0, 1}}));

  // The target's image changed to a smaller grid: the walk stays inside it.
  LLF::Image small(2, 1, LLF::IMGFORMAT_R8G8B8A8);
  small.SetCellsCount(2, true);
  target.SetImageObject(&small);
  target.SetCell(0);
  target.SetLoop(0);
  copy.SetType(HLF::Cycler::BACKWARD);
  EXPECT_EQ(Steps(copy, 2), (std::vector<Frame>{{1, 0}, {0, 0}}));
  target.SetImageObject(nullptr);
}

TEST_F(CyclerTest, Attributes) {
  QmTest::FrameworkFactories factories;
  std::unique_ptr<HLF::Modifier> made = Made(L"<cycler fps=\"10\" type=\"BACKWARD\" duration=\"3\" />");
  HLF::Cycler* cycler = dynamic_cast<HLF::Cycler*>(made.get());
  ASSERT_NE(cycler, nullptr);
  EXPECT_EQ(cycler->GetFps(), 10.0f);
  EXPECT_EQ(cycler->GetType(), HLF::Cycler::BACKWARD);
  EXPECT_EQ(cycler->GetDuration(), 3000u);
  made = Made(L"<cycler type=\"backward\" />");
  EXPECT_EQ(dynamic_cast<HLF::Cycler*>(made.get())->GetType(), HLF::Cycler::FORWARD);
}

// A control that keeps the attributes of each element it is loaded from.
class Loaded : public HLF::Control {
 public:
  bool LoadFromXml(LLF::XmlElement& element) override {
    std::wstring attributes;
    for (int i = 0; i < element.GetAttributesCount(); ++i) {
      const LLF::XmlAttribute* attribute = static_cast<const LLF::XmlElement&>(element).GetAttribute(i);
      attributes += attribute->GetName() + L"=" + attribute->GetValue() + L";";
    }
    loads.push_back(attributes);
    return HLF::Control::LoadFromXml(element);
  }
  std::vector<std::wstring> loads;
};

TEST(ModPropsTest, AppliesItsElementOnceTheDelayHasPassed) {
  QmTest::FrameworkFactories factories;
  std::unique_ptr<HLF::Modifier> made =
      Made(L"<modprops startDelay=\"1.5\" duration=\"4\" timeWarp=\"accelerate\" alpha=\"10\" />");
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf("ModProps"));
  EXPECT_EQ(made->GetStartDelay(), 1500u);
  EXPECT_EQ(made->GetDuration(), 0u);
  EXPECT_EQ(made->GetTimeWarp(), nullptr);

  Loaded target;
  made->SetTarget(&target);
  QmTest::MessageRecorder ends;
  ends.Listen(made.get());
  made->Start();
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(made->Update(500));  // 500, 1000 ms
  }
  EXPECT_TRUE(target.loads.empty());
  EXPECT_TRUE(made->Update(400));  // 1400 ms
  EXPECT_TRUE(target.loads.empty());
  EXPECT_TRUE(made->Update(400));  // 1800 ms: past the delay
  EXPECT_EQ(target.loads,
            std::vector<std::wstring>{L"startDelay=1.5;duration=4;timeWarp=accelerate;alpha=10;"});
  EXPECT_EQ(target.GetAlpha(), 10);
  EXPECT_TRUE(made->IsStopped());
  EXPECT_EQ(ends.Codes(), std::vector<std::string>{"?:1"});
  EXPECT_FALSE(made->Update(500));
  EXPECT_EQ(target.loads.size(), 1u);

  // A copy carries the element.
  HLF::ModProps copy;
  copy.CopyFrom(*made);
  EXPECT_EQ(copy.GetElement().GetAttributesCount(), 4);
  copy.SetStartDelay(0);
  copy.Start();
  copy.Update(16);
  EXPECT_EQ(target.loads.size(), 2u);
}

}  // namespace
