#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "RectValues.h"
#include "TestShell.h"
#include "TreeInput.h"
#include "model/ControlFactory.h"
#include "widgets/Button.h"
#include "widgets/Scroll.h"

namespace {

using HLF::Scroll;

// A default bar at (100, 100) in a screen-sized root, with a recorder
// listening to it.
struct ScrollOnScreen {
  ScrollOnScreen() : input(&root) {
    root.SetSize(800, 600);
    bar = new Scroll(L"bar");
    bar->SetPosition(100, 100);
    root.AddChild(bar);
    recorder.Listen(bar);
  }

  // The value messages as (parameter, primary, secondary).
  std::vector<std::vector<int>> Values() const {
    std::vector<std::vector<int>> out;
    for (const QmTest::MessageRecorder::Entry& entry : recorder.Entries()) {
      if (entry.code == HLF::SCROLL_MSG_VALUE) {
        EXPECT_EQ(entry.text, L"bar");
        out.push_back({entry.param, entry.primary, entry.secondary});
      }
    }
    return out;
  }

  // Puts the thumb at y (in the bar) and reports a drag step or its end.
  void DragThumbTo(float y, bool end) {
    HLF::Button* thumb = bar->GetThumbButton();
    thumb->SetPosition(0.0f, y);
    if (end) {
      thumb->OnDragEnd();
    } else {
      thumb->OnDrag(LLF::Point(0, 0), LLF::Vector2());
    }
  }

  QmTest::MessageRecorder recorder;  // outlives the bar
  HLF::Control root;
  Scroll* bar;
  QmTest::TreeInput input;
};

TEST(ScrollTest, DefaultGeometry) {
  Scroll bar;
  EXPECT_EQ(bar.GetTypeName(), L"scroll");
  EXPECT_EQ(bar.Dump(), L"Scroll: Name: ");
  EXPECT_EQ(bar.GetSize(), LLF::Point(25, 200));
  EXPECT_EQ(bar.GetMinValue(), 0);
  EXPECT_EQ(bar.GetMaxValue(), 10);
  EXPECT_EQ(bar.GetValue(), 0);
  ASSERT_EQ(bar.GetChildsCount(), 3);
  EXPECT_EQ(bar.GetChild(0), bar.GetUpButton());
  EXPECT_EQ(bar.GetChild(1), bar.GetDownButton());
  EXPECT_EQ(bar.GetChild(2), bar.GetThumbButton());
  EXPECT_EQ(bar.GetUpButton()->GetName(), L"UPBUTTON");
  EXPECT_EQ(bar.GetDownButton()->GetName(), L"DOWNBUTTON");
  EXPECT_EQ(bar.GetThumbButton()->GetName(), L"THUMBBUTTON");
  EXPECT_TRUE(bar.GetThumbButton()->IsDraggable());
  EXPECT_EQ(bar.GetDownButton()->GetPosition(), LLF::Vector2(0, 175));
  EXPECT_EQ(QmTest::RectValues(bar.GetThumbButton()->GetDragLimits()), (std::vector<float>{0, 25, 25, 150}));
  EXPECT_EQ(bar.GetThumbButton()->GetPosition(), LLF::Vector2(0, 25));

  // The bar's background looks the same under the mouse; the buttons
  // take the lighter colours.
  LLF::Color back, line, over, pressed;
  bar.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(over, back);
  EXPECT_EQ(pressed, back);
  bar.GetThumbButton()->GetStateColors(back, line, over, pressed);
  EXPECT_EQ(back, LLF::Color(164, 164, 164, 255));
  EXPECT_EQ(over, LLF::Color(196, 196, 196, 255));
  EXPECT_EQ(pressed, LLF::Color(134, 134, 134, 255));
}

// Thumb place for a value, across ranges and sizes: the free length is
// the track less the thumb, spread over the range from the top.
TEST(ScrollTest, ThumbPlaceTable) {
  struct Case {
    const char* what;
    int height, min, max, value;
    float thumbY;
    int valueAfter;
  } cases[] = {
      {"minimum at the top", 200, 0, 10, 0, 25, 0},
      {"10 pixels per unit", 200, 0, 10, 3, 55, 3},
      {"maximum at the bottom of the track", 200, 0, 10, 10, 125, 10},
      {"above the maximum is clamped", 200, 0, 10, 99, 125, 10},
      {"below the minimum is clamped", 200, 5, 10, -3, 25, 5},
      {"an offset range", 200, 5, 15, 10, 75, 10},
      {"an empty range sits at the top", 200, 4, 4, 9, 25, 4},
      {"a taller bar", 400, 0, 10, 5, 175, 5},
      {"a bar without a run", 100, 0, 10, 5, 25, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scroll bar;
    bar.SetSize(25, c.height);
    bar.SetMaxValue(c.max);
    bar.SetMinValue(c.min);
    bar.SetValue(c.value);
    EXPECT_EQ(bar.GetValue(), c.valueAfter);
    EXPECT_EQ(bar.GetThumbButton()->GetPosition(), LLF::Vector2(0, c.thumbY));
  }
}

// The thumb's place read back as a value, during a drag (no snap) and at
// its end (snapped to the value's place); every step reports, also without
// a change.
TEST(ScrollTest, ThumbDragTable) {
  struct Case {
    const char* what;
    int min, max;
    float y;
    bool end;
    int value;
    float thumbY;  // after the step
  } cases[] = {
      {"a step moves freely", 0, 10, 59, false, 3, 59},
      {"its end snaps to the value", 0, 10, 59, true, 3, 55},
      {"truncated, not rounded", 0, 10, 34.9f, true, 0, 25},
      {"the bottom gives the maximum", 0, 10, 125, true, 10, 125},
      {"an offset range", 5, 15, 75, true, 10, 75},
      {"an empty range gives the minimum", 7, 7, 100, false, 7, 100},
      {"and snaps to the top", 7, 7, 100, true, 7, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScrollOnScreen s;
    s.bar->SetMaxValue(c.max);
    s.bar->SetMinValue(c.min);
    s.DragThumbTo(c.y, c.end);
    EXPECT_EQ(s.bar->GetValue(), c.value);
    EXPECT_EQ(s.bar->GetThumbButton()->GetPosition().y, c.thumbY);
    EXPECT_EQ(s.Values(), (std::vector<std::vector<int>>{{c.min, c.value, c.max}}));
  }
}

// A bar too short for its thumb has no run: a drag gives the minimum
// rather than a division by zero.
TEST(ScrollTest, DragWithoutARunGivesTheMinimum) {
  ScrollOnScreen s;
  s.bar->SetSize(25, 100);
  s.bar->SetMinValue(2);
  s.bar->SetValue(6);
  s.DragThumbTo(25, true);
  EXPECT_EQ(s.bar->GetValue(), 2);
  EXPECT_EQ(s.Values(), (std::vector<std::vector<int>>{{2, 2, 10}}));
}

TEST(ScrollTest, ArrowsAndWheel) {
  ScrollOnScreen s;
  // The up arrow at the minimum still reports.
  s.input.Down(110, 110);
  s.input.Up(110, 110);
  EXPECT_EQ(s.bar->GetValue(), 0);
  // Down twice, then the wheel away from the user over the down arrow: the
  // bar takes it, not the button.
  for (int i = 0; i < 2; ++i) {
    s.input.Down(110, 290);
    s.input.Up(110, 290);
  }
  EXPECT_TRUE(s.input.Deliver(LLF::WMSG_WHEEL, 1, 110, 290));
  EXPECT_EQ(s.bar->GetValue(), 1);
  EXPECT_EQ(s.bar->GetThumbButton()->GetPosition().y, 35);
  // Towards the user, past the maximum: clamped, still reported.
  s.input.Deliver(LLF::WMSG_WHEEL, -20, 110, 200);
  EXPECT_EQ(s.bar->GetValue(), 10);
  EXPECT_EQ(s.Values(),
            (std::vector<std::vector<int>>{{0, 0, 10}, {0, 1, 10}, {0, 2, 10}, {0, 1, 10}, {0, 10, 10}}));

  // The setters report nothing; a new bound moves the value but leaves the
  // thumb until the next move.
  s.recorder.Clear();
  s.bar->SetMaxValue(4);
  EXPECT_EQ(s.bar->GetValue(), 4);
  s.bar->SetMaxValue(20);
  EXPECT_EQ(s.bar->GetThumbButton()->GetPosition().y, 125);
  s.bar->SetValue(4);
  EXPECT_EQ(s.bar->GetThumbButton()->GetPosition().y, 45);
  EXPECT_TRUE(s.Values().empty());
}

TEST(ScrollTest, ADisabledBarTakesNothing) {
  ScrollOnScreen s;
  s.bar->SetEnabled(false);
  for (HLF::Button* button : {s.bar->GetUpButton(), s.bar->GetDownButton(), s.bar->GetThumbButton()}) {
    EXPECT_FALSE(button->IsEnabled());
    EXPECT_EQ(button->GetCell(), HLF::BUTTON_CELL_DISABLED);
  }
  EXPECT_TRUE(s.bar->ProcessMessage(QmTest::TreeInput::WindowMessage(LLF::WMSG_WHEEL, -1, 110, 200)));
  s.DragThumbTo(100, true);
  EXPECT_EQ(s.bar->GetValue(), 0);
  EXPECT_TRUE(s.Values().empty());
}

// The whole chain through the shell: press on the thumb, drag it down,
// release.
TEST(ScrollTest, ThumbDraggedThroughTheShell) {
  HLF::Control root;
  root.SetSize(800, 600);
  QmTest::TestShell shell(&root);
  Scroll* bar = new Scroll(L"bar");
  bar->SetPosition(100, 100);
  root.AddChild(bar);
  QmTest::MessageRecorder recorder;
  recorder.Listen(bar);
  shell.MouseMove(110, 130);
  shell.MouseDown(110, 130);
  shell.MouseMove(110, 150);
  shell.MouseMove(110, 170);
  shell.MouseMove(110, 190);
  shell.MouseUp(110, 190);
  // Two steps of 20 pixels down the track, 10 per unit.
  EXPECT_EQ(bar->GetValue(), 4);
  EXPECT_EQ(bar->GetThumbButton()->GetPosition().y, 65);
  EXPECT_EQ(recorder.Codes({HLF::SCROLL_MSG_VALUE}),
            (std::vector<std::string>{"bar:10", "bar:10", "bar:10"}));
  // The built buttons stay: the bar keeps pointers to them.
  EXPECT_FALSE(bar->RemoveChild(bar->GetThumbButton(), true));
  EXPECT_EQ(bar->GetChildsCount(), 3);
}

class ScrollImagesTest : public ::testing::Test {
 protected:
  ScrollImagesTest() {
    images.Add(L"up", 20, 20);
    images.Add(L"down", 20, 30);
    images.Add(L"thumb", 20, 40);
    images.Add(L"track", 20, 300);
  }

  QmTest::FrameworkFactories factories;
  QmTest::ImageAssets images;
};

TEST_F(ScrollImagesTest, PicturesSizeTheParts) {
  QmTest::LogRecorder log;
  Scroll bar(L"bar");
  EXPECT_TRUE(bar.SetImages(L"up", L"down", L"thumb", L"track"));
  EXPECT_EQ(bar.GetSize(), LLF::Point(20, 300));
  EXPECT_EQ(bar.GetUpButton()->GetSize(), LLF::Point(20, 20));
  EXPECT_EQ(bar.GetDownButton()->GetPosition(), LLF::Vector2(0, 270));
  EXPECT_EQ(QmTest::RectValues(bar.GetThumbButton()->GetDragLimits()), (std::vector<float>{0, 20, 20, 250}));
  // Free length 250 - 40 over 10 units.
  bar.SetValue(10);
  EXPECT_EQ(bar.GetThumbButton()->GetPosition().y, 230);
  EXPECT_TRUE(log.Lines().empty());
}

// A picture that is not loaded gives both lines, the first without the
// error prefix; that part keeps no picture and is drawn in its colours.
TEST_F(ScrollImagesTest, AMissingPictureIsLoggedAndDrawnInColours) {
  QmTest::LogRecorder log;
  Scroll bar(L"bar");
  EXPECT_TRUE(bar.SetImages(L"up", L"down", L"nothumb", L"track"));
  EXPECT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Count(L"One if images is not loaded(up,down,nothumb,track) for Scroll control bar"), 1);
  EXPECT_EQ(log.Count(L"Can't find one of the images for Scroll control bar"), 1);
  EXPECT_EQ(log.Count(L"Error"), 0);
  EXPECT_EQ(bar.GetThumbButton()->GetImage(), nullptr);
  EXPECT_EQ(bar.GetThumbButton()->GetSize(), LLF::Point(25, 50));
  ASSERT_NE(bar.GetUpButton()->GetImage(), nullptr);

  QmTest::RecordingRenderSystem rs;
  bar.Render(&rs, nullptr);
  // Three pictures, and the thumb's placeholder in its back colour.
  EXPECT_EQ(rs.Calls(QmTest::DrawCall::kImage).size(), 3u);
  const std::vector<QmTest::DrawCall> fills = rs.Fills();
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].color, LLF::Color(164, 164, 164, 255));
  EXPECT_EQ(fills[0].Map(0, 0), LLF::Vector2(0, 20));

  bar.SetImageObjects(nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(log.Lines().size(), 3u);
  EXPECT_EQ(log.Count(L"Can't find one of the images for Scroll control bar"), 2);
}

TEST_F(ScrollImagesTest, XmlRoundTrip) {
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<scroll name=\"bar\" pos=\"3,4\" scrollBackground=\"track\" scrollUpButton=\"up\" "
      L"scrollDownButton=\"down\" scrollThumbButton=\"thumb\" imageBackColor=\"1,2,3,4\" />"));
  Scroll* bar = dynamic_cast<Scroll*>(made.get());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetSize(), LLF::Point(20, 300));
  EXPECT_EQ(bar->GetThumbButton()->GetImageName(), L"thumb");

  std::unique_ptr<LLF::XmlElement> saved(bar->SaveToXml());
  EXPECT_EQ(saved->GetChildsCount(), 0);
  EXPECT_EQ(
      QmTest::AttributeTexts(*saved),
      (std::vector<std::wstring>{L"name=bar", L"size=20,300", L"pos=3,4", L"scrollBackground=track",
                                 L"scrollThumbButton=thumb", L"scrollUpButton=up", L"scrollDownButton=down",
                                 L"imageName=track", L"imageBackColor=1,2,3,4"}));
  Scroll loaded;
  ASSERT_TRUE(loaded.LoadFromXml(*saved));
  EXPECT_EQ(loaded.GetChildsCount(), 3);
  std::unique_ptr<LLF::XmlElement> again(loaded.SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*again), QmTest::AttributeTexts(*saved));
  EXPECT_EQ(again->GetChildsCount(), 0);

  // Pictures are taken only from all four attributes.
  QmTest::ParsedElement partial(L"<scroll scrollBackground=\"track\" scrollUpButton=\"up\" />");
  Scroll bare;
  ASSERT_TRUE(bare.LoadFromXml(*partial.element));
  EXPECT_EQ(bare.GetImage(), nullptr);
  EXPECT_EQ(bare.GetUpButton()->GetImage(), nullptr);
}

// A bar with only some pictures keeps them through a save: the four are
// written together, an empty id standing for a part without one.
TEST_F(ScrollImagesTest, SomePicturesSurviveARoundTrip) {
  QmTest::LogRecorder log;
  Scroll bar;
  bar.SetImages(L"", L"", L"thumb", L"track");
  EXPECT_TRUE(log.Lines().empty());
  std::unique_ptr<LLF::XmlElement> saved(bar.SaveToXml());
  Scroll loaded;
  ASSERT_TRUE(loaded.LoadFromXml(*saved));
  EXPECT_EQ(loaded.GetThumbButton()->GetImageName(), L"thumb");
  EXPECT_EQ(loaded.GetImageName(), L"track");
  EXPECT_EQ(loaded.GetUpButton()->GetImage(), nullptr);
  std::unique_ptr<LLF::XmlElement> again(loaded.SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*again), QmTest::AttributeTexts(*saved));
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(ScrollImagesTest, EditorPages) {
  Scroll bar;
  bar.SetImages(L"up", L"down", L"thumb", L"track");
  std::vector<HLF::PropertyGroup> pages;
  bar.FillPropertyGrid(pages);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].title, L"Control properties");
  EXPECT_EQ(pages[1].title, L"Scroll properties");
  EXPECT_EQ(pages[2].title, L"Image properties");
  std::vector<std::wstring> rows;
  for (const HLF::PropertyEntry& entry : pages[1].entries) {
    rows.push_back(entry.label + L"=" + entry.value);
  }
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"Scroll background=track", L"Scroll up button=up",
                                             L"Scroll down button=down", L"Scroll thumb button=thumb"}));
  // One id replaced, the other three kept.
  images.Add(L"thumb2", 20, 60);
  EXPECT_TRUE(bar.SetPropertyFromEditor(L"Scroll properties", L"Scroll thumb button", L"thumb2"));
  EXPECT_EQ(bar.GetThumbButton()->GetSize(), LLF::Point(20, 60));
  EXPECT_EQ(bar.GetUpButton()->GetImageName(), L"up");
  EXPECT_EQ(bar.GetImageName(), L"track");
}

}  // namespace
