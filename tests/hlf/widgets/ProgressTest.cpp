#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "model/ControlFactory.h"
#include "widgets/Progress.h"

namespace {

using HLF::Progress;

TEST(ProgressTest, Defaults) {
  Progress bar;
  EXPECT_EQ(bar.GetTypeName(), L"progress");
  EXPECT_TRUE(bar.IsPassDragToParent());
  EXPECT_EQ(bar.GetAlignment(), 18u);
  EXPECT_EQ(bar.GetMinValue(), 0.0f);
  EXPECT_EQ(bar.GetMaxValue(), 100.0f);
  EXPECT_EQ(bar.GetValue(), 0.0f);
  int left = -1;
  int right = -1;
  bar.GetFillMargins(left, right);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 0);
  bar.SetName(L"load");
  EXPECT_EQ(bar.Dump(), L"Progress: Name: load");
  for (const char* name : {"Progress", "Control", "TextProperty", "ImageProperty"}) {
    EXPECT_TRUE(bar.IsKindOf(name)) << name;
  }
}

// The value stays between the bounds: the maximum is tested first, so with
// the bounds crossed it is one of them.
TEST(ProgressTest, ClampTable) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float min, max, set, value;
  } cases[] = {
      {0, 100, 150, 100}, {0, 100, -5, 0}, {0, 100, 42.5f, 42.5f}, {10, 5, 7, 5},
      {10, 5, 3, 10},     {5, 5, 9, 5},    {5, 5, 1, 5},           {0, 100, nan, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " set " << c.set);
    Progress bar;
    bar.SetMinValue(c.min);
    bar.SetMaxValue(c.max);
    bar.SetValue(c.set);
    EXPECT_EQ(bar.GetValue(), c.value);
  }
  // Moving a bound takes the value along.
  Progress bar;
  bar.SetValue(80);
  bar.SetMaxValue(50);
  EXPECT_EQ(bar.GetValue(), 50.0f);
  bar.SetMinValue(60);
  EXPECT_EQ(bar.GetValue(), 60.0f);
}

// Each row draws a bar with an image of one, two or three loops and checks
// what the render system was asked to draw: the empty bar whole (two
// loops only), then the fill as a part of a cell as wide as the value says.
TEST(ProgressTest, FillTable) {
  QmTest::ImageAssets images;
  images.Add(L"one", 200, 20, 1, 1);
  images.Add(L"two", 200, 40, 1, 2);
  images.Add(L"three", 200, 60, 1, 3);
  struct Case {
    const char* what;
    const wchar_t* image;
    float min, max, value;
    int left, right;
    bool emptyBar;  // loop 0 drawn whole first
    int fillLoop;
    int fillWidth;  // -1: no fill drawn
  } cases[] = {
      {"half, margins 10 and 10", L"two", 0, 100, 50, 10, 10, true, 1, 100},
      {"full, margins 10 and 10", L"two", 0, 100, 100, 10, 10, true, 1, 190},
      {"at the minimum: the left margin", L"two", 0, 100, 0, 10, 10, true, 1, 10},
      {"at the minimum without margins", L"two", 0, 100, 0, 0, 0, true, 1, -1},
      {"a range away from 0", L"two", 50, 150, 75, 0, 0, true, 1, 50},
      {"truncated", L"two", 0, 3, 1, 0, 0, true, 1, 66},
      {"one loop: the fill only", L"one", 0, 100, 50, 0, 0, false, 0, 100},
      {"three loops: the fill of loop 0 only", L"three", 0, 100, 25, 0, 0, false, 0, 50},
      // No range: no fill, and no division by zero.
      {"minimum equal to the maximum", L"two", 5, 5, 5, 0, 0, true, 1, -1},
      {"minimum equal to the maximum, margins", L"two", 5, 5, 5, 10, 10, true, 1, 10},
      // A left margin wider than the cell never gives a fill beyond it.
      {"a margin wider than the cell", L"two", 0, 100, 0, 250, 0, true, 1, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QmTest::RecordingRenderSystem rs;
    Progress bar;
    ASSERT_TRUE(bar.SetImage(c.image));
    bar.SetPosition(10, 20);
    bar.SetMaxValue(c.max);
    bar.SetMinValue(c.min);
    bar.SetValue(c.value);
    bar.SetFillMargins(c.left, c.right);
    bar.Render(&rs, nullptr);

    const std::vector<QmTest::DrawCall> whole = rs.Calls(QmTest::DrawCall::kImage);
    const std::vector<QmTest::DrawCall> parts = rs.Calls(QmTest::DrawCall::kImagePart);
    ASSERT_EQ(whole.size(), c.emptyBar ? 1u : 0u);
    if (c.emptyBar) {
      EXPECT_EQ(whole[0].imageParams.loop, 0);
      EXPECT_EQ(whole[0].Map(0, 0), LLF::Vector2(10, 20));
    }
    if (c.fillWidth < 0) {
      EXPECT_TRUE(parts.empty());
      continue;
    }
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].imageParams.loop, c.fillLoop);
    EXPECT_EQ(parts[0].imageParams.size, LLF::Point(c.fillWidth, 20));
    EXPECT_EQ(parts[0].Map(0, 0), LLF::Vector2(10, 20));
    // The bar's own loop is left alone.
    EXPECT_EQ(bar.GetLoop(), 0);
  }
}

TEST(ProgressTest, WithoutAnImageThePlaceholderIsDrawn) {
  QmTest::RecordingRenderSystem rs;
  Progress bar;
  bar.SetValue(50);
  bar.Render(&rs, nullptr);
  EXPECT_FALSE(rs.Fills().empty());
  EXPECT_TRUE(rs.Calls(QmTest::DrawCall::kImagePart).empty());
}

TEST(ProgressTest, XmlRoundTrip) {
  QmTest::FrameworkFactories factories;
  HLF::ControlFactory& controls = HLF::ControlFactory::GetInstance();
  // Read in the order minimum, maximum, value, each clamping.
  std::unique_ptr<HLF::Control> made(controls.LoadObjectFromXmlText(
      L"<progress name=\"p\" minValue=\"10\" maxValue=\"20.5\" curValue=\"30\" text=\"load\" />"));
  Progress* bar = dynamic_cast<Progress*>(made.get());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetMinValue(), 10.0f);
  EXPECT_EQ(bar->GetMaxValue(), 20.5f);
  EXPECT_EQ(bar->GetValue(), 20.5f);

  std::unique_ptr<LLF::XmlElement> saved(bar->SaveToXml());
  const std::wstring first = saved->Serialize(L"");
  EXPECT_NE(first.find(L"minValue=\"10\" maxValue=\"20.5\" curValue=\"20.5\""), std::wstring::npos) << first;
  std::unique_ptr<HLF::Control> again(controls.LoadObjectFromXmlText(first));
  ASSERT_NE(again, nullptr);
  saved.reset(again->SaveToXml());
  EXPECT_EQ(saved->Serialize(L""), first);

  // A default bar writes none of the three.
  Progress fresh;
  saved.reset(fresh.SaveToXml());
  for (const wchar_t* name : {L"minValue", L"maxValue", L"curValue"}) {
    EXPECT_EQ(saved->GetAttribute(std::wstring(name)), nullptr) << name;
  }
}

TEST(ProgressTest, EditorPages) {
  Progress bar;
  std::vector<HLF::PropertyGroup> pages;
  bar.FillPropertyGrid(pages);
  std::vector<std::wstring> titles;
  for (const HLF::PropertyGroup& page : pages) {
    titles.push_back(page.title);
  }
  EXPECT_EQ(titles, (std::vector<std::wstring>{L"Control properties", L"Progress properties",
                                               L"Text properties", L"Image properties"}));
  std::vector<std::wstring> rows;
  for (const HLF::PropertyEntry& entry : pages[1].entries) {
    rows.push_back(entry.label);
  }
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"Min value", L"Max value", L"Current value"}));
  EXPECT_TRUE(bar.SetPropertyFromEditor(L"Progress properties", L"Current value", L"250"));
  EXPECT_EQ(bar.GetValue(), 100.0f);
  EXPECT_TRUE(bar.SetPropertyFromEditor(L"Progress properties", L"Min value", L"-3.5"));
  EXPECT_EQ(bar.GetMinValue(), -3.5f);
  EXPECT_TRUE(bar.SetPropertyFromEditor(L"Text properties", L"Text", L"50%"));
  EXPECT_EQ(bar.GetText(), L"50%");
}

}  // namespace
