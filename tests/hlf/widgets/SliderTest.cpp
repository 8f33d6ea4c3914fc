#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "RectValues.h"
#include "SoundFixture.h"
#include "TestShell.h"
#include "TreeInput.h"
#include "model/ControlFactory.h"
#include "widgets/Button.h"
#include "widgets/Slider.h"

namespace {

using HLF::Slider;

// A slider at (100, 100) in a screen-sized root, with a recorder listening
// to it.
struct SliderOnScreen {
  SliderOnScreen() : input(&root) {
    root.SetSize(800, 600);
    slider = new Slider();
    slider->SetName(L"s");
    slider->SetPosition(100, 100);
    root.AddChild(slider);
    recorder.Listen(slider);
  }

  // The value messages as (parameter, primary, secondary).
  std::vector<std::vector<int>> Values() const {
    std::vector<std::vector<int>> out;
    for (const QmTest::MessageRecorder::Entry& entry : recorder.Entries()) {
      if (entry.code == HLF::SLIDER_MSG_VALUE) {
        EXPECT_EQ(entry.text, L"s");
        out.push_back({entry.param, entry.primary, entry.secondary});
      }
    }
    return out;
  }

  // Puts the thumb at x on the track and reports a drag step or its end.
  void DragThumbTo(float x, bool end) {
    HLF::Button* thumb = slider->GetThumb();
    thumb->SetPosition(x, 0.0f);
    if (end) {
      thumb->OnDragEnd();
    } else {
      thumb->OnDrag(LLF::Point(0, 0), LLF::Vector2());
    }
  }

  QmTest::MessageRecorder recorder;  // outlives the slider
  HLF::Control root;
  Slider* slider;
  QmTest::TreeInput input;
};

TEST(SliderTest, Defaults) {
  Slider slider;
  EXPECT_EQ(slider.GetTypeName(), L"slider");
  slider.SetName(L"volume");
  EXPECT_EQ(slider.Dump(), L"Slider: Name: volume");
  EXPECT_TRUE(slider.IsKindOf("Slider"));
  EXPECT_TRUE(slider.IsKindOf("Progress"));
  EXPECT_EQ(slider.GetSize(), LLF::Point(25, 200));
  HLF::Button* thumb = slider.GetThumb();
  ASSERT_NE(thumb, nullptr);
  EXPECT_EQ(slider.GetChildsCount(), 1);
  EXPECT_EQ(thumb->GetName(), L"THUMBBUTTON");
  EXPECT_TRUE(thumb->IsDraggable());
  EXPECT_EQ(thumb->GetSize(), LLF::Point(25, 50));
  EXPECT_EQ(QmTest::RectValues(thumb->GetDragLimits()), (std::vector<float>{0, 0, 25, 200}));

  LLF::Color back, line, over, pressed;
  slider.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(over, back);
  EXPECT_EQ(pressed, back);
  thumb->GetStateColors(back, line, over, pressed);
  EXPECT_EQ(back, LLF::Color(164, 164, 164, 255));
  EXPECT_EQ(over, LLF::Color(196, 196, 196, 255));
  EXPECT_EQ(pressed, LLF::Color(134, 134, 134, 255));

  // The thumb is part of the slider.
  EXPECT_FALSE(slider.RemoveChild(thumb, true));
  EXPECT_EQ(slider.GetChildsCount(), 1);
}

// The thumb's place for a value, and the value a drag reads back from a
// place, with the message it sends. Without a run, or over an empty range,
// the value is the minimum.
TEST(SliderTest, ValueAgainstThumbTable) {
  struct Case {
    const char* what;
    int width;
    float min, max, value;
    float thumbX;  // for the value
    float dragX;
    float dragged;
    std::vector<int> sent;
  } cases[] = {
      {"225 wide, 25-wide thumb", 225, 0, 100, 50, 100, 150, 75, {0, 75, 100}},
      {"at the ends", 225, 0, 100, 100, 200, 0, 0, {0, 0, 100}},
      {"an offset range, truncated in the message", 225, 10, 20, 15, 100, 50, 12.5f, {10, 12, 20}},
      {"a thumb without a run", 25, 0, 100, 40, 0, 0, 0, {0, 0, 100}},
      {"a thumb wider than the slider", 20, 0, 100, 40, 0, -5, 0, {0, 0, 100}},
      {"the minimum equal to the maximum", 225, 30, 30, 30, 0, 80, 30, {30, 30, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SliderOnScreen s;
    s.slider->SetSize(c.width, 200);
    s.slider->SetMaxValue(c.max);
    s.slider->SetMinValue(c.min);
    s.slider->SetValue(c.value);
    EXPECT_EQ(s.slider->GetThumb()->GetPosition(), LLF::Vector2(c.thumbX, 0));
    EXPECT_TRUE(s.recorder.Entries().empty());

    s.DragThumbTo(c.dragX, false);
    EXPECT_EQ(s.slider->GetValue(), c.dragged);
    EXPECT_EQ(s.Values(), (std::vector<std::vector<int>>{c.sent}));
    EXPECT_GE(s.slider->GetThumb()->GetPosition().x, 0.0f);
  }
}

// The whole chain through the shell: 11 when the drag starts, 10 for each
// step and the end, then 12.
TEST(SliderTest, ThumbDraggedThroughTheShell) {
  HLF::Control root;
  root.SetSize(800, 600);
  QmTest::TestShell shell(&root);
  Slider* slider = new Slider();
  slider->SetName(L"s");
  slider->SetPosition(100, 100);
  slider->SetSize(225, 50);
  root.AddChild(slider);
  QmTest::MessageRecorder recorder;
  recorder.Listen(slider);
  shell.MouseMove(110, 120);
  shell.MouseDown(110, 120);
  shell.MouseMove(130, 120);  // the drag starts
  shell.MouseMove(180, 120);  // 50 pixels on: 2 pixels a unit
  shell.MouseMove(200, 120);
  shell.MouseUp(200, 120);
  EXPECT_EQ(slider->GetValue(), 35.0f);
  EXPECT_EQ(slider->GetThumb()->GetPosition(), LLF::Vector2(70, 0));
  EXPECT_EQ(recorder.Codes({10, 11, 12}), (std::vector<std::string>{"s:11", "s:10", "s:10", "s:10", "s:12"}));
  EXPECT_EQ(recorder.Entries().back().text, L"");
}

TEST(SliderTest, WheelResizeAndDisable) {
  SliderOnScreen s;
  s.slider->SetSize(225, 200);
  s.slider->SetValue(100);
  // Towards the user raises the value; at the maximum it stays, still
  // reported. On the track, beside the thumb.
  s.input.Deliver(LLF::WMSG_WHEEL, -1, 150, 150);
  EXPECT_EQ(s.slider->GetValue(), 100.0f);
  s.input.Deliver(LLF::WMSG_WHEEL, 3, 150, 150);
  EXPECT_EQ(s.slider->GetValue(), 97.0f);
  EXPECT_EQ(s.slider->GetThumb()->GetPosition().x, 194.0f);
  EXPECT_EQ(s.Values(), (std::vector<std::vector<int>>{{0, 100, 100}, {0, 97, 100}}));

  // A new size places the thumb again.
  s.slider->SetValue(50);
  s.slider->SetSize(425, 60);
  EXPECT_EQ(s.slider->GetThumb()->GetPosition().x, 200.0f);
  EXPECT_EQ(QmTest::RectValues(s.slider->GetThumb()->GetDragLimits()), (std::vector<float>{0, 0, 425, 60}));

  // Disabled, the thumb shows its disabled cell and drags are ignored.
  s.recorder.Clear();
  s.slider->SetEnabled(false);
  EXPECT_FALSE(s.slider->GetThumb()->IsEnabled());
  EXPECT_EQ(s.slider->GetThumb()->GetCell(), HLF::BUTTON_CELL_DISABLED);
  s.DragThumbTo(0, true);
  EXPECT_EQ(s.slider->GetValue(), 50.0f);
  EXPECT_TRUE(s.recorder.Entries().empty());
}

class SliderImagesTest : public QmTest::SoundFixture {
 protected:
  QmTest::FrameworkFactories factories;
  QmTest::ImageAssets images;
};

TEST_F(SliderImagesTest, ImagesByIdAndObject) {
  LLF::Image* thumb = images.Add(L"thumb", 10, 20);
  images.Add(L"track", 210, 40, 1, 2);
  Slider slider;
  slider.SetName(L"s");
  {
    QmTest::LogRecorder log;
    EXPECT_FALSE(slider.SetImages(L"thumb", L"nothing"));
    EXPECT_FALSE(slider.SetImageObjects(thumb, nullptr));
    EXPECT_EQ(log.Lines().size(), 2u);
    EXPECT_EQ(log.Count(L"Can't set one of the images(thumb,nothing) for Slider control s"), 1);
    EXPECT_EQ(log.Count(L"Can't set one of the images for Slider control s"), 1);
    EXPECT_EQ(slider.GetThumb()->GetImage(), nullptr);
  }
  slider.SetValue(50);
  EXPECT_TRUE(slider.SetImages(L"thumb", L"track"));
  EXPECT_EQ(slider.GetSize(), LLF::Point(210, 20));
  EXPECT_EQ(slider.GetThumb()->GetSize(), LLF::Point(10, 20));
  EXPECT_EQ(slider.GetThumb()->GetPosition().x, 100.0f);
}

// Save, load, save gives the same element; the thumb is never written.
TEST_F(SliderImagesTest, XmlRoundTrip) {
  UseSilentDriver();
  ASSERT_NE(AddSilentSound(L"tick"), nullptr);
  images.Add(L"thumb", 10, 20);
  images.Add(L"track", 210, 40, 1, 2);
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<slider name=\"vol\" pos=\"1,2\" imageName=\"track\" maxValue=\"10\" curValue=\"4\" "
      L"thumbImage=\"thumb\" "
      L"soundMouseEnter=\"tick\" />"));
  Slider* slider = dynamic_cast<Slider*>(made.get());
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->GetSize(), LLF::Point(210, 20));
  EXPECT_EQ(slider->GetThumb()->GetPosition().x, 80.0f);
  EXPECT_EQ(slider->GetThumb()->GetSound(L"soundMouseEnter"), system.GetSound(L"tick"));

  std::unique_ptr<LLF::XmlElement> saved(slider->SaveToXml());
  EXPECT_EQ(saved->GetChildsCount(), 0);
  EXPECT_EQ(QmTest::AttributeTexts(*saved),
            (std::vector<std::wstring>{L"name=vol", L"size=210,20", L"pos=1,2", L"maxValue=10", L"curValue=4",
                                       L"imageName=track", L"thumbImage=thumb", L"soundMouseEnter=tick"}));
  std::unique_ptr<HLF::Control> again(HLF::ControlFactory::GetInstance().CreateFromXml(*saved));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetChildsCount(), 1);
  std::unique_ptr<LLF::XmlElement> resaved(again->SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*resaved), QmTest::AttributeTexts(*saved));
  EXPECT_EQ(resaved->GetChildsCount(), 0);

  // A default slider writes only what is always written.
  Slider fresh;
  saved.reset(fresh.SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*saved), (std::vector<std::wstring>{L"size=25,200", L"pos=0,0"}));
  EXPECT_EQ(saved->GetChildsCount(), 0);
}

TEST_F(SliderImagesTest, EditorPages) {
  images.Add(L"thumb", 10, 20);
  Slider slider;
  std::vector<HLF::PropertyGroup> pages;
  slider.FillPropertyGrid(pages);
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(pages.back().title, L"Slider properties");
  EXPECT_EQ(pages[1].title, L"Progress properties");
  ASSERT_EQ(pages.back().entries.size(), 1u);
  EXPECT_EQ(pages.back().entries[0].label, L"Thumb image");
  EXPECT_TRUE(slider.SetPropertyFromEditor(L"Slider properties", L"Thumb image", L"thumb"));
  EXPECT_EQ(slider.GetThumb()->GetImageName(), L"thumb");
  EXPECT_TRUE(slider.SetPropertyFromEditor(L"Progress properties", L"Current value", L"30"));
  EXPECT_EQ(slider.GetValue(), 30.0f);
}

}  // namespace
