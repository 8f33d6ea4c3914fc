#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FixedFont.h"
#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "RectValues.h"
#include "TreeInput.h"
#include "model/ControlFactory.h"
#include "widgets/Button.h"
#include "widgets/Listbox.h"
#include "widgets/Scroll.h"

namespace {

using HLF::Listbox;

std::vector<std::wstring> Items(int count) {
  std::vector<std::wstring> items;
  for (int i = 0; i < count; ++i) {
    items.push_back(L"item" + std::to_wstring(i));
  }
  return items;
}

// A list at (100, 100), 200 x 114, in a screen-sized root, with the fixed
// font: rows 11 pixels high (10 + the interval), 10 of them visible
// between the 2-pixel margins, the bar at x 275 to 300 on screen.
struct ListOnScreen {
  explicit ListOnScreen(int count = 20, bool withFont = true) : input(&root) {
    root.SetSize(800, 600);
    list = new Listbox(L"list");
    list->SetPosition(100, 100);
    list->SetSize(200, 114);
    if (withFont) {
      list->SetFontObject(font.Get());
    }
    list->SetItems(Items(count));
    root.AddChild(list);
    recorder.Listen(list);
  }

  int First() const { return list->GetScroll()->GetValue(); }
  // Screen y of the middle of a visible row.
  int RowY(int visibleRow) const { return 100 + 2 + 11 * visibleRow + 5; }
  // The selection messages' primaries.
  std::vector<int> Selections() const {
    std::vector<int> out;
    for (const QmTest::MessageRecorder::Entry& entry : recorder.Entries()) {
      if (entry.code == HLF::LISTBOX_MSG_SELECTED) {
        out.push_back(entry.primary);
      }
    }
    return out;
  }

  QmTest::FixedFont font;
  QmTest::MessageRecorder recorder;  // outlives the list
  HLF::Control root;
  Listbox* list;
  QmTest::TreeInput input;
};

TEST(ListboxTest, Defaults) {
  Listbox list;
  EXPECT_EQ(list.GetTypeName(), L"listbox");
  EXPECT_EQ(list.Dump(), L"Listbox: Name: ");
  EXPECT_EQ(list.GetSize(), LLF::Point(400, 200));
  EXPECT_EQ(list.GetSelected(), -1);
  EXPECT_EQ(list.GetInterval(), 1);
  EXPECT_EQ(list.GetTextMargin(), LLF::Point(2, 2));
  EXPECT_EQ(list.GetItemMouseOverColor(), LLF::Color(134, 134, 134, 255));
  EXPECT_EQ(list.GetItemSelectedColor(), LLF::Color(164, 164, 164, 255));
  LLF::Color back, line, over, pressed;
  list.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(over, back);
  EXPECT_EQ(pressed, back);
  // Without a font: one row of height 1.
  EXPECT_EQ(list.GetRowHeight(), 1);
  EXPECT_EQ(list.GetVisibleRows(), 1);

  HLF::Scroll* bar = list.GetScroll();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(list.GetChildsCount(), 1);
  EXPECT_EQ(bar->GetName(), L"LISTSCROLL");
  EXPECT_EQ(bar->GetPosition(), LLF::Vector2(375, 0));
  EXPECT_EQ(bar->GetSize(), LLF::Point(25, 200));
  list.SetSize(300, 120);
  EXPECT_EQ(bar->GetPosition(), LLF::Vector2(275, 0));
  EXPECT_EQ(bar->GetSize(), LLF::Point(25, 120));

  // The over and pressed colours go to the rows; the background keeps its
  // back colour.
  list.SetStateColors(LLF::Color(1, 1, 1, 1), LLF::Color(2, 2, 2, 2), LLF::Color(3, 3, 3, 3),
                      LLF::Color(4, 4, 4, 4));
  list.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(over, LLF::Color(1, 1, 1, 1));
  EXPECT_EQ(pressed, LLF::Color(1, 1, 1, 1));
  EXPECT_EQ(list.GetItemMouseOverColor(), LLF::Color(3, 3, 3, 3));
  EXPECT_EQ(list.GetItemSelectedColor(), LLF::Color(4, 4, 4, 4));
}

TEST(ListboxTest, ItemsAndSelection) {
  ListOnScreen s(0);
  // An empty list: nothing to select, still reported.
  EXPECT_EQ(s.list->GetSelectedItem(), L"");
  s.list->SetSelected(0);
  EXPECT_EQ(s.list->GetSelected(), -1);
  EXPECT_EQ(s.Selections(), (std::vector<int>{-1}));

  s.list->AddItem(L"b");
  s.list->InsertItem(L"a", 0);
  s.list->InsertItem(L"d", -5);
  s.list->InsertItem(L"c", 2);
  s.list->InsertItem(L"e", 99);
  EXPECT_EQ(s.list->GetItemsCount(), 5u);
  EXPECT_EQ(s.list->GetItem(2), L"c");
  EXPECT_EQ(s.list->GetItem(4), L"e");
  EXPECT_EQ(s.list->GetItem(5), L"");
  EXPECT_EQ(s.list->GetItem(-1), L"");
  EXPECT_FALSE(s.list->SetItem(L"x", 5));
  EXPECT_TRUE(s.list->SetItem(L"D", 3));

  s.list->SetSelected(99);  // clamped to the last
  EXPECT_EQ(s.list->GetSelectedItem(), L"e");
  // Removal changes nothing else; the next change of items clamps.
  s.list->RemoveItem(4);
  s.list->RemoveItem(7);
  EXPECT_EQ(s.list->GetSelected(), 4);
  EXPECT_EQ(s.list->GetSelectedItem(), L"");
  s.list->SetItems({L"one", L"two"});
  EXPECT_EQ(s.list->GetSelected(), 1);
  s.list->SetSelected(-7);
  EXPECT_EQ(s.list->GetSelected(), -1);
  EXPECT_EQ(s.Selections(), (std::vector<int>{-1, 4, -1}));
}

TEST(ListboxTest, ScrollRangeFollowsTheItems) {
  struct Case {
    int items;
    int max;
    bool enabled;
  } cases[] = {{20, 10, true}, {10, 0, true}, {5, 0, false}, {0, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    ListOnScreen s(c.items);
    ASSERT_EQ(s.list->GetVisibleRows(), 10);
    EXPECT_EQ(s.list->GetScroll()->GetMinValue(), 0);
    EXPECT_EQ(s.list->GetScroll()->GetMaxValue(), c.max);
    EXPECT_EQ(s.list->GetScroll()->IsEnabled(), c.enabled);
  }
  // Fewer items pull the view back, thumb and all.
  ListOnScreen s(30);
  s.list->GetScroll()->SetValue(20);
  s.list->SetItems(Items(15));
  EXPECT_EQ(s.First(), 5);
  // The bar is 114 high: 14 pixels of run over 5 units.
  EXPECT_NEAR(s.list->GetScroll()->GetThumbButton()->GetPosition().y, 25 + 14, 0.001);
}

// Up and Down from a selection and a view; both keys are taken at the
// ends too.
TEST(ListboxTest, KeyTable) {
  struct Case {
    const char* what;
    int items, first, selected, key;
    int selectedAfter, firstAfter;
    std::vector<int> sent;
  } cases[] = {
      {"Down from none selects the first row", 20, 0, -1, LLF::KEY_DOWN, 0, 0, {0}},
      {"Down within the view", 20, 0, 3, LLF::KEY_DOWN, 4, 0, {4}},
      {"Down at the last visible row scrolls by one", 20, 5, 14, LLF::KEY_DOWN, 15, 6, {15}},
      {"Up at the first visible row scrolls back by one", 20, 6, 6, LLF::KEY_UP, 5, 5, {5}},
      {"Down at the last item", 20, 10, 19, LLF::KEY_DOWN, 19, 10, {}},
      {"Up at the first item", 20, 0, 0, LLF::KEY_UP, 0, 0, {}},
      {"Up with nothing selected", 20, 0, -1, LLF::KEY_UP, -1, 0, {}},
      {"Down in an empty list", 0, 0, -1, LLF::KEY_DOWN, -1, 0, {}},
      {"a selection out of view is brought back", 20, 0, 15, LLF::KEY_UP, 14, 5, {14}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ListOnScreen s(c.items);
    s.list->SetSelected(c.selected);
    s.list->GetScroll()->SetValue(c.first);
    s.recorder.Clear();
    EXPECT_TRUE(s.list->ProcessMessage(QmTest::TreeInput::WindowMessage(LLF::WMSG_KEY_DOWN, c.key, 0, 0)));
    EXPECT_EQ(s.list->GetSelected(), c.selectedAfter);
    EXPECT_EQ(s.First(), c.firstAfter);
    EXPECT_EQ(s.Selections(), c.sent);
  }
  // Keys reach the list through the tree wherever the mouse is; others
  // are not its own.
  ListOnScreen s;
  s.input.KeyDown(LLF::KEY_DOWN);
  EXPECT_EQ(s.list->GetSelected(), 0);
  EXPECT_FALSE(
      s.list->ProcessMessage(QmTest::TreeInput::WindowMessage(LLF::WMSG_KEY_DOWN, LLF::KEY_LEFT, 0, 0)));
}

TEST(ListboxTest, MouseHighlightsAndSelects) {
  ListOnScreen s;
  s.list->GetScroll()->SetValue(3);
  s.input.Move(150, s.RowY(2));
  EXPECT_EQ(s.list->GetMouseOverItem(), 5);
  // Leaving the list keeps the highlight; a move over the bar clears it.
  s.input.Move(500, 500);
  EXPECT_EQ(s.list->GetMouseOverItem(), 5);
  s.input.Move(285, s.RowY(2));
  EXPECT_EQ(s.list->GetMouseOverItem(), -1);
  s.input.Move(150, s.RowY(0));
  EXPECT_EQ(s.list->GetMouseOverItem(), 3);
  // Inside the top margin: no row.
  s.input.Move(150, 101);
  EXPECT_EQ(s.list->GetMouseOverItem(), -1);

  // A release selects (a press is not needed) and does not move the view.
  s.input.Up(150, s.RowY(9));
  EXPECT_EQ(s.list->GetSelected(), 12);
  EXPECT_EQ(s.First(), 3);
  // A release over the bar selects nothing.
  s.input.Up(285, s.RowY(4));
  EXPECT_EQ(s.list->GetSelected(), 12);
  // A double click reports the selection and leaves it.
  s.input.Deliver(LLF::WMSG_DOUBLE_CLICK, 1, 150, s.RowY(1));
  EXPECT_EQ(s.list->GetSelected(), 12);
  EXPECT_EQ(s.recorder.Codes({10, 11}), (std::vector<std::string>{"list:10", "list:11"}));
  EXPECT_EQ(s.recorder.Entries().back().primary, 12);

  // The wheel anywhere over the list moves the view.
  s.input.Deliver(LLF::WMSG_WHEEL, -2, 150, s.RowY(1));
  EXPECT_EQ(s.First(), 5);
  s.input.Deliver(LLF::WMSG_WHEEL, 1, 285, s.RowY(1));
  EXPECT_EQ(s.First(), 4);
}

// A short list: a release on an empty row inside the view selects the last
// item.
TEST(ListboxTest, ReleaseBelowTheItemsSelectsTheLast) {
  ListOnScreen s(3);
  s.input.Up(150, s.RowY(7));
  EXPECT_EQ(s.list->GetSelected(), 2);
  EXPECT_EQ(s.Selections(), (std::vector<int>{2}));
}

// A row height that the interval cancels counts as one pixel.
TEST(ListboxTest, RowHeightOfZeroOrLessCountsAsOne) {
  for (int interval : {-10, -50}) {
    SCOPED_TRACE(interval);
    ListOnScreen s(200);
    s.list->SetInterval(interval);
    EXPECT_EQ(s.list->GetRowHeight(), 1);
    EXPECT_EQ(s.list->GetVisibleRows(), 110);
    s.input.Up(150, 100 + 2 + 37);
    EXPECT_EQ(s.list->GetSelected(), 37);
    QmTest::RecordingRenderSystem rs;
    s.list->Render(&rs, nullptr);
    EXPECT_EQ(rs.Calls(QmTest::DrawCall::kText).size(), 110u);
  }
}

// Without a font the list has no rows and takes no mouse or key input of
// its own.
TEST(ListboxTest, WithoutAFont) {
  ListOnScreen s(20, false);
  EXPECT_FALSE(
      s.list->ProcessMessage(QmTest::TreeInput::WindowMessage(LLF::WMSG_KEY_DOWN, LLF::KEY_DOWN, 0, 0)));
  s.input.KeyDown(LLF::KEY_DOWN);
  s.input.Move(150, s.RowY(0));
  s.input.Up(150, s.RowY(0));
  EXPECT_EQ(s.list->GetSelected(), -1);
  EXPECT_EQ(s.list->GetMouseOverItem(), -1);
  EXPECT_TRUE(s.Selections().empty());
  // Code still selects; nothing is drawn for it.
  s.list->SetSelected(4);
  EXPECT_EQ(s.list->GetSelected(), 4);
  QmTest::RecordingRenderSystem rs;
  s.list->Render(&rs, nullptr);
  EXPECT_TRUE(rs.Calls(QmTest::DrawCall::kText).empty());
}

TEST(ListboxTest, DrawsTheVisibleRows) {
  ListOnScreen s;
  s.list->SetStateColors(LLF::Color(0, 0, 0, 0), LLF::Color(0, 0, 0, 0), LLF::Color(1, 2, 3, 255),
                         LLF::Color(4, 5, 6, 200));
  s.list->GetScroll()->SetVisible(false);  // only the list's own calls
  s.list->GetScroll()->SetValue(5);
  s.list->SetSelected(6);
  s.input.Move(150, s.RowY(2));
  QmTest::RecordingRenderSystem rs;
  const LLF::Transform parent(LLF::Matrix4::Identity(), 128);
  s.list->Render(&rs, &parent);

  // The selected row, then the row under the mouse, the bar's width left
  // out; both fade with the list.
  const std::vector<QmTest::DrawCall> fills = rs.Fills();
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(QmTest::RectValues(fills[0].rect), (std::vector<float>{2, 13, 172, 11}));
  EXPECT_EQ(fills[0].color, LLF::Color(4, 5, 6, 128));
  EXPECT_EQ(QmTest::RectValues(fills[1].rect), (std::vector<float>{2, 24, 172, 11}));
  EXPECT_EQ(fills[1].color, LLF::Color(1, 2, 3, 128));
  EXPECT_EQ(fills[0].Map(0, 0), LLF::Vector2(100, 100));

  const std::vector<QmTest::DrawCall> texts = rs.Calls(QmTest::DrawCall::kText);
  ASSERT_EQ(texts.size(), 10u);
  EXPECT_EQ(texts[0].textParams.text, L"item5");
  EXPECT_EQ(texts[0].textParams.position, LLF::Vector2(2, 2));
  EXPECT_EQ(texts[9].textParams.text, L"item14");
  EXPECT_EQ(texts[9].textParams.position, LLF::Vector2(2, 101));
  EXPECT_EQ(texts[0].textParams.color.a, 128);

  // The selected row is not filled while out of view; the last rows stop
  // at the items' end.
  s.list->GetScroll()->SetValue(10);
  rs.ClearCalls();
  s.list->Render(&rs, nullptr);
  EXPECT_TRUE(rs.Fills().empty());
  EXPECT_EQ(rs.Calls(QmTest::DrawCall::kText).size(), 10u);
  s.list->SetItems(Items(3));
  rs.ClearCalls();
  s.list->Render(&rs, nullptr);
  EXPECT_EQ(rs.Calls(QmTest::DrawCall::kText).size(), 3u);
  EXPECT_EQ(s.First(), 0);
}

// The x of a 30-pixel-wide row text by the horizontal alignment, in a list
// 200 wide with a 25-wide bar.
TEST(ListboxTest, RowAlignmentTable) {
  struct Case {
    unsigned alignment;
    float x;
  } cases[] = {{1, 2}, {1 | 4, 2}, {4, 143}, {2, 70}, {2 | 4, 143}, {16, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alignment);
    ListOnScreen s(0);
    s.list->AddItem(L"abc");
    s.list->SetAlignment(c.alignment);
    QmTest::RecordingRenderSystem rs;
    s.list->Render(&rs, nullptr);
    const std::vector<QmTest::DrawCall> texts = rs.Calls(QmTest::DrawCall::kText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].textParams.position.x, c.x);
  }
}

TEST(ListboxTest, XmlRoundTrip) {
  QmTest::FixedFont font;
  QmTest::FrameworkFactories factories;
  QmTest::ImageAssets images;
  images.Add(L"up", 20, 20);
  images.Add(L"down", 20, 20);
  images.Add(L"thumb", 20, 40);
  images.Add(L"track", 20, 300);
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<listbox name=\"files\" size=\"300,150\" alpha=\"200\" font=\"fixed\" interval=\"3\" "
      L"itemSelectedColor=\"9,9,9,255\" scrollBackground=\"track\" scrollUpButton=\"up\" "
      L"scrollDownButton=\"down\" scrollThumbButton=\"thumb\" />"));
  Listbox* list = dynamic_cast<Listbox*>(made.get());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetInterval(), 3);
  EXPECT_EQ(list->GetRowHeight(), 13);
  EXPECT_EQ(list->GetItemSelectedColor(), LLF::Color(9, 9, 9, 255));
  // The bar takes its pictures from the list's element and is laid out
  // along the list's right edge; it keeps its own name.
  HLF::Scroll* bar = list->GetScroll();
  EXPECT_EQ(bar->GetImageName(), L"track");
  EXPECT_EQ(bar->GetSize(), LLF::Point(20, 150));
  EXPECT_EQ(bar->GetPosition(), LLF::Vector2(280, 0));
  EXPECT_EQ(bar->GetName(), L"LISTSCROLL");

  std::unique_ptr<LLF::XmlElement> saved(list->SaveToXml());
  EXPECT_EQ(saved->GetChildsCount(), 0);
  EXPECT_EQ(QmTest::AttributeTexts(*saved),
            (std::vector<std::wstring>{L"name=files", L"size=300,150", L"pos=0,0", L"alpha=200",
                                       L"interval=3", L"itemSelectedColor=9,9,9,255",
                                       L"scrollBackground=track", L"scrollThumbButton=thumb",
                                       L"scrollUpButton=up", L"scrollDownButton=down", L"font=fixed"}));
  std::unique_ptr<HLF::Control> again(HLF::ControlFactory::GetInstance().CreateFromXml(*saved));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetChildsCount(), 1);
  std::unique_ptr<LLF::XmlElement> resaved(again->SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*resaved), QmTest::AttributeTexts(*saved));
  EXPECT_EQ(resaved->GetChildsCount(), 0);

  // Given only its back colour, the list keeps it under the mouse and while
  // pressed; colours it is given stay.
  const struct {
    const wchar_t* xml;
    LLF::Color over;
    LLF::Color pressed;
  } colours[] = {
      {L"<listbox imageBackColor=\"8,14,34,255\" />", {8, 14, 34, 255}, {8, 14, 34, 255}},
      {L"<listbox imageBackColor=\"8,14,34,255\" imageMouseOverColor=\"1,2,3,4\" />",
       {1, 2, 3, 4},
       {8, 14, 34, 255}},
      {L"<listbox imageBackColor=\"8,14,34,255\" imageMousePressedColor=\"5,6,7,8\" />",
       {8, 14, 34, 255},
       {5, 6, 7, 8}},
  };
  for (const auto& c : colours) {
    std::unique_ptr<HLF::Control> coloured(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(c.xml));
    auto* box = dynamic_cast<Listbox*>(coloured.get());
    ASSERT_NE(box, nullptr);
    LLF::Color back, line, over, pressed;
    box->GetStateColors(back, line, over, pressed);
    EXPECT_EQ(back, LLF::Color(8, 14, 34, 255));
    EXPECT_EQ(over, c.over) << LLF::WideToAnsi(c.xml);
    EXPECT_EQ(pressed, c.pressed) << LLF::WideToAnsi(c.xml);
  }

  // A child added by a layout is kept.
  list->AddChild(new HLF::Control(L"extra"));
  saved.reset(list->SaveToXml());
  ASSERT_EQ(saved->GetChildsCount(), 1);
  EXPECT_EQ(saved->GetChild(0)->GetAttribute(std::wstring(L"name"), L"").GetValue(), L"extra");
}

TEST(ListboxTest, EditorPages) {
  Listbox list;
  std::vector<HLF::PropertyGroup> pages;
  list.FillPropertyGrid(pages);
  std::vector<std::wstring> titles;
  for (const HLF::PropertyGroup& page : pages) {
    titles.push_back(page.title);
  }
  EXPECT_EQ(titles,
            (std::vector<std::wstring>{L"Control properties", L"Listbox properties", L"Text properties",
                                       L"Image properties", L"Sound properties", L"Scroll properties"}));
  std::vector<std::wstring> rows;
  for (const HLF::PropertyEntry& entry : pages[1].entries) {
    rows.push_back(entry.label + L"=" + entry.value);
  }
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"Interval=1", L"Selected color=164,164,164,255",
                                             L"Mouse over color=134,134,134,255"}));
  EXPECT_TRUE(list.SetPropertyFromEditor(L"Listbox properties", L"Interval", L"4"));
  EXPECT_TRUE(list.SetPropertyFromEditor(L"Listbox properties", L"Mouse over color", L"1,2,3,4"));
  EXPECT_EQ(list.GetInterval(), 4);
  EXPECT_EQ(list.GetItemMouseOverColor(), LLF::Color(1, 2, 3, 4));
}

}  // namespace
