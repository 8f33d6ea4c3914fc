#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FontAssets.h"
#include "FontTestUtil.h"
#include "LogRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "TestEditor.h"
#include "TextBox.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "properties/TextProperty.h"
#include "xml/XmlElement.h"

namespace {

using QmTest::DrawCall;
using QmTest::RecordingRenderSystem;
using QmTest::TextBox;

LLF::Transform Context(uint8_t alpha) {
  return LLF::Transform(LLF::Matrix4::Identity(), alpha);
}

// Line height 20; "A" is 7 wide (a 6-pixel glyph and one pixel of advance),
// so "AA" is 14 and "AAA" 21.
std::unique_ptr<LLF::Font> LineFont() {
  LLF::Font::Glyph a;
  a.character = L'A';
  a.dims = LLF::Point(6, 6);
  a.renderOffset = LLF::Point(1, 0);
  return QmTest::SquareGlyphFont(8, LLF::Point(1, 1), 20, 4, {a});
}

std::vector<LLF::Vector2> Positions(const std::vector<DrawCall>& texts) {
  std::vector<LLF::Vector2> out;
  for (const DrawCall& call : texts) out.push_back(call.textParams.position);
  return out;
}

std::vector<std::wstring> Texts(const std::vector<DrawCall>& texts) {
  std::vector<std::wstring> out;
  for (const DrawCall& call : texts) out.push_back(call.textParams.text);
  return out;
}

// The box is the size less the sides offset (100 x 100 here); the block
// keeps its origin at the control's corner.
TEST(TextPropertyTest, LinesAreAlignedInTheBox) {
  std::unique_ptr<LLF::Font> font = LineFont();
  struct Case {
    const char* what;
    unsigned alignment;
    std::vector<std::wstring> lines;
    int interval;
    std::vector<LLF::Vector2> expected;
  } cases[] = {
      // Three lines of 20 with gaps of 4 make a block of 68.
      {"left top", 1 | 8, {L"A", L"AAA", L"AA"}, 4, {{0, 0}, {0, 24}, {0, 48}}},
      {"centre middle: 50 - 34", 2 | 16, {L"A", L"AAA", L"AA"}, 4, {{46, 16}, {39, 40}, {43, 64}}},
      {"right bottom", 4 | 32, {L"A", L"AAA", L"AA"}, 4, {{93, 32}, {79, 56}, {86, 80}}},
      {"no bit: left top", 0, {L"A", L"AAA", L"AA"}, 4, {{0, 0}, {0, 24}, {0, 48}}},
      {"the first bit of each axis wins", 1 | 2 | 4 | 8 | 16 | 32, {L"A", L"AAA"}, 4, {{0, 0}, {0, 24}}},
      {"centre over right, middle over bottom", 2 | 4 | 16 | 32, {L"AAA"}, 0, {{39, 40}}},
      // 50 - 43 / 2 = 28.5: halves are taken before truncating.
      {"middle of an odd block", 16, {L"A", L"AA"}, 3, {{0, 28}, {0, 51}}},
      {"a line wider than the box", 2 | 4, {std::wstring(15, L'A')}, 0, {{-2, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextBox box;
    box.SetSize(120, 110);
    box.SetSidesOffset(LLF::Rect(5, 4, 15, 6));
    box.SetFontObject(font.get());
    box.SetAlignment(c.alignment);
    RecordingRenderSystem rs;
    const LLF::Vector2 origin = box.DrawLines(&rs, Context(255), c.lines, c.interval);
    const std::vector<DrawCall> texts = rs.Calls(DrawCall::kText);
    EXPECT_EQ(Texts(texts), c.lines);
    EXPECT_EQ(Positions(texts), c.expected);
    EXPECT_EQ(origin, LLF::Vector2(0, c.expected[0].y));
    // The property keeps the last line drawn as its text.
    EXPECT_EQ(box.GetText(), c.lines.back());
    for (const DrawCall& call : texts) {
      EXPECT_FALSE(call.textParams.IsTransformed());
      EXPECT_EQ(call.textParams.scale, LLF::Vector2(1, 1));
    }
  }
}

TEST(TextPropertyTest, StateColoursShiftsAndShadow) {
  std::unique_ptr<LLF::Font> font = LineFont();
  const LLF::Color normal(10, 20, 30, 255), over(40, 50, 60, 255), pressed(70, 80, 90, 200),
      disabled(100, 110, 120, 255), shadow(1, 2, 3, 128);
  struct Case {
    const char* what;
    bool over, pressed, enabled, shadow;
    uint8_t alpha;
    LLF::Color color;
    LLF::Vector2 position;
  } cases[] = {
      {"normal", false, false, true, false, 255, normal, {5, 6}},
      {"mouse over", true, false, true, false, 255, over, {5, 6}},
      {"pressed: shifted", true, true, true, false, 255, pressed, {8, 10}},
      {"disabled and pressed: disabled colour, still shifted",
       false,
       true,
       false,
       false,
       255,
       disabled,
       {8, 10}},
      {"disabled", true, false, false, false, 255, disabled, {5, 6}},
      {"context alpha", false, false, true, false, 128, {10, 20, 30, 128}, {5, 6}},
      {"shadow first", false, false, true, true, 255, normal, {5, 6}},
      {"shadow with context alpha", false, true, true, true, 128, {70, 80, 90, 100}, {8, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextBox box;
    box.SetFontObject(font.get());
    box.SetText(L"AA");
    box.SetColors(normal, over, pressed, disabled);
    box.SetPressShift(LLF::Vector2(3, 4));
    box.SetTextOffset(LLF::Vector2(5, 6));
    box.SetShadow(c.shadow, LLF::Vector2(-2, 3), shadow);
    box.SetMouse(c.over, c.pressed);
    box.SetEnabled(c.enabled);
    RecordingRenderSystem rs;
    EXPECT_EQ(box.DrawText(&rs, Context(c.alpha)), c.position);
    const std::vector<DrawCall> texts = rs.Calls(DrawCall::kText);
    ASSERT_EQ(texts.size(), c.shadow ? 2u : 1u);
    const DrawCall& text = texts.back();
    EXPECT_EQ(text.textParams.text, L"AA");
    EXPECT_EQ(text.textParams.color, c.color);
    EXPECT_EQ(text.textParams.position, c.position);
    if (c.shadow) {
      EXPECT_EQ(texts[0].textParams.text, L"AA");
      EXPECT_EQ(texts[0].textParams.position, c.position + LLF::Vector2(-2, 3));
      EXPECT_EQ(texts[0].textParams.color, LLF::Color(1, 2, 3, uint8_t(128 * c.alpha / 255)));
    }
  }
}

TEST(TextPropertyTest, NothingDrawnWithoutAFont) {
  TextBox box;
  box.SetText(L"AA");
  box.SetTextOffset(LLF::Vector2(5, 6));
  RecordingRenderSystem rs;
  EXPECT_EQ(box.DrawText(&rs, Context(255)), LLF::Vector2());
  EXPECT_EQ(box.DrawLines(&rs, Context(255), {L"A", L"B"}, 2), LLF::Vector2());
  EXPECT_TRUE(rs.Calls().empty());
  EXPECT_EQ(box.GetText(), L"AA");
  // A missing font keeps the one there.
  std::unique_ptr<LLF::Font> font = LineFont();
  ASSERT_TRUE(box.SetFontObject(font.get()));
  QmTest::LogRecorder log;
  EXPECT_FALSE(box.SetFontObject(nullptr));
  EXPECT_FALSE(box.SetFont(L"nowhere"));
  EXPECT_EQ(log.Count(L"Error: Can't set font nowhere\r\n"), 1);
  EXPECT_EQ(box.GetFont(), font.get());
}

// Under a parent scaled by 2, lines, gaps and the shadow's offset scale
// with the glyphs: each lands where the parent's transform takes the
// control's own point, once.
TEST(TextPropertyTest, ScaledParentScalesTheLayoutOnce) {
  std::unique_ptr<LLF::Font> font = LineFont();
  HLF::Control parent(L"parent");
  parent.SetPosition(10, 20);
  parent.SetScale(LLF::Vector2(2, 2));
  TextBox* box = new TextBox;
  box->SetPosition(30, 40);
  box->SetSize(100, 100);
  box->SetFontObject(font.get());
  box->SetAlignment(2 | 32);
  box->SetShadow(true, LLF::Vector2(2, 3), LLF::Color(0, 0, 0, 255));
  box->lines = {L"A", L"AAA"};
  box->interval = 4;
  parent.AddChild(box);
  RecordingRenderSystem rs;
  parent.Render(&rs, nullptr);
  const std::vector<DrawCall> texts = rs.Calls(DrawCall::kText);
  ASSERT_EQ(texts.size(), 4u);
  // Local: bottom 100 - 44 = 56, "A" at 46, "AAA" at 39, 24 apart.
  const std::vector<LLF::Vector2> local = {{48, 59}, {46, 56}, {41, 83}, {39, 80}};
  EXPECT_EQ(Positions(texts), local);
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(i);
    const LLF::Vector2 screen = texts[i].Map(local[i].x, local[i].y);
    EXPECT_FLOAT_EQ(screen.x, 10 + 2 * (30 + local[i].x));
    EXPECT_FLOAT_EQ(screen.y, 20 + 2 * (40 + local[i].y));
  }
}

// ---------------------------------------------------------------------------
// Attributes

using Parsed = QmTest::ParsedElement;
using QmTest::AttributeTexts;

// What the control writes after the size and position it always writes
// (those of a default control here).
std::vector<std::wstring> Saved(TextBox& box) {
  const std::unique_ptr<LLF::XmlElement> element(box.SaveToXml());
  std::vector<std::wstring> attributes = AttributeTexts(*element);
  if (attributes.size() < 2 || attributes[0] != L"size=100,100" || attributes[1] != L"pos=0,0") {
    ADD_FAILURE() << "no default size and position first";
    return attributes;
  }
  return std::vector<std::wstring>(attributes.begin() + 2, attributes.end());
}

// The pages the control offers the editor: Control's, then the text's.
std::vector<HLF::PropertyGroup> Pages(TextBox& box) {
  std::vector<HLF::PropertyGroup> pages;
  box.FillPropertyGrid(pages);
  return pages;
}

TEST(TextPropertyTest, AttributesReadAndWrittenWhenTheyDiffer) {
  QmTest::FontAssets fonts;
  LLF::Font* small = fonts.Add(L"small", 12);
  const std::vector<std::wstring> all = {
      L"drawShadow=true",
      L"shadowColor=1,2,3,4",
      L"shadowOffset=-1,2.5",
      L"alignment=18",
      L"text=Two words",
      L"font=small",
      L"textPermanentOffset=3,4",
      L"textPressShift=1,1",
      L"textColor=10,20,30,255",
      L"textColorDisabled=40,50,60,255",
      L"textColorMouseOver=70,80,90,255",
      L"textColorMousePressed=100,110,120,130",
  };
  // Written in the reader's order whatever the order in the file.
  Parsed parsed(
      L"<textbox textColorMousePressed=\"100,110,120,130\" textColorMouseOver=\"70,80,90\" "
      L"textColorDisabled=\"40,50,60\" textColor=\"10,20,30\" textPressShift=\"1,1\" "
      L"textPermanentOffset=\"3,4\" font=\"small\" text=\"Two words\" alignment=\"18\" "
      L"shadowOffset=\"-1,2.5\" shadowColor=\"1,2,3,4\" drawShadow=\"true\"/>");
  ASSERT_TRUE(parsed.element);
  TextBox box;
  ASSERT_TRUE(box.LoadFromXml(*parsed.element));
  EXPECT_EQ(box.GetFont(), small);
  EXPECT_EQ(Saved(box), all);
  // What is written loads back to the same settings.
  const std::unique_ptr<LLF::XmlElement> written(box.SaveToXml());
  TextBox again;
  ASSERT_TRUE(again.LoadFromXml(*written));
  EXPECT_EQ(again.GetFont(), small);
  EXPECT_EQ(Saved(again), all);

  // Each attribute alone: only it is written back.
  for (const std::wstring& attribute : all) {
    if (attribute.rfind(L"drawShadow", 0) == 0 || attribute.rfind(L"shadow", 0) == 0) continue;
    SCOPED_TRACE(attribute);
    const size_t equals = attribute.find(L'=');
    Parsed one(L"<textbox " + attribute.substr(0, equals) + L"=\"" + attribute.substr(equals + 1) + L"\"/>");
    TextBox loaded;
    ASSERT_TRUE(loaded.LoadFromXml(*one.element));
    EXPECT_EQ(Saved(loaded), std::vector<std::wstring>{attribute});
  }
  TextBox fresh;
  EXPECT_TRUE(Saved(fresh).empty());
}

TEST(TextPropertyTest, ShadowTakesAllThreeAttributes) {
  const wchar_t* partial[] = {
      L"<textbox drawShadow=\"true\" shadowColor=\"1,2,3,4\"/>",
      L"<textbox drawShadow=\"true\" shadowOffset=\"5,5\"/>",
      L"<textbox shadowColor=\"1,2,3,4\" shadowOffset=\"5,5\"/>",
  };
  for (const wchar_t* text : partial) {
    SCOPED_TRACE(LLF::WideToAnsi(text));
    Parsed parsed(text);
    TextBox box;
    ASSERT_TRUE(box.LoadFromXml(*parsed.element));
    bool draw = true;
    LLF::Vector2 offset;
    LLF::Color color;
    box.GetShadow(draw, offset, color);
    EXPECT_FALSE(draw);
    EXPECT_EQ(offset, LLF::Vector2(2, 2));
    EXPECT_EQ(color, LLF::Color(0, 0, 0, 64));
  }
  // One shadow setting changed writes all three, so the shadow loads back.
  TextBox shadowed;
  shadowed.SetShadow(true, LLF::Vector2(2, 2), LLF::Color(0, 0, 0, 64));
  LLF::XmlElement element(L"textbox");
  shadowed.SaveTextProps(element, TextBox());
  EXPECT_EQ(AttributeTexts(element),
            std::vector<std::wstring>({L"drawShadow=true", L"shadowColor=0,0,0,64", L"shadowOffset=2,2"}));
  TextBox reloaded;
  ASSERT_TRUE(reloaded.LoadFromXml(element));
  bool draw = false;
  LLF::Vector2 offset;
  LLF::Color color;
  reloaded.GetShadow(draw, offset, color);
  EXPECT_TRUE(draw);
}

TEST(TextPropertyTest, FontsByIdAndTheEditorsFont) {
  QmTest::FontAssets fonts;
  LLF::Font* small = fonts.Add(L"small", 12);
  std::unique_ptr<LLF::Font> editorFont = LineFont();
  QmTest::LogRecorder log;

  // An unknown id is logged and the rest is still read.
  {
    Parsed parsed(L"<textbox font=\"missing\" textPressShift=\"1,2\"/>");
    TextBox box;
    box.SetFontObject(small);
    EXPECT_TRUE(box.LoadFromXml(*parsed.element));
    EXPECT_EQ(box.GetFont(), small);
    EXPECT_EQ(box.GetPressShift(), LLF::Vector2(1, 2));
    EXPECT_EQ(log.Count(L"Error: Can't set font missing\r\n"), 1);
  }
  // The editor's font: without an editor, or one that cannot load, the
  // reader fails at once; an editor is loaded on demand.
  const std::wstring editorElement = L"<textbox font=\"##font_editor;\" textPressShift=\"1,2\"/>";
  {
    Parsed parsed(editorElement);
    TextBox box;
    EXPECT_FALSE(box.LoadFromXml(*parsed.element));
    EXPECT_EQ(box.GetPressShift(), LLF::Vector2());
  }
  QmTest::TestEditor editor;
  editor.font = editorFont.get();
  editor.canInit = false;
  {
    Parsed parsed(editorElement);
    TextBox box;
    EXPECT_FALSE(box.LoadFromXml(*parsed.element));
    EXPECT_EQ(box.GetPressShift(), LLF::Vector2());
    EXPECT_EQ(editor.initCalls, 1);
  }
  editor.canInit = true;
  {
    Parsed parsed(editorElement);
    TextBox box;
    EXPECT_TRUE(box.LoadFromXml(*parsed.element));
    EXPECT_EQ(box.GetFont(), editorFont.get());
    EXPECT_EQ(box.GetPressShift(), LLF::Vector2(1, 2));
    EXPECT_EQ(editor.initCalls, 2);
    // The manager does not hold the editor's font: it is saved under the
    // marker, which loads it back.
    EXPECT_EQ(Saved(box), std::vector<std::wstring>({L"font=##font_editor;", L"textPressShift=1,2"}));
  }
  // A font neither the manager nor the editor names is left out.
  std::unique_ptr<LLF::Font> loose = LineFont();
  TextBox box;
  box.SetFontObject(loose.get());
  EXPECT_TRUE(Saved(box).empty());
  EXPECT_EQ(log.Lines().size(), 1u);
}

TEST(TextPropertyTest, EditorPage) {
  QmTest::FontAssets fonts;
  LLF::Font* small = fonts.Add(L"small", 12);
  TextBox box;
  const std::vector<HLF::PropertyGroup> pages = Pages(box);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].title, L"Control properties");
  const HLF::PropertyGroup& fresh = pages[1];
  EXPECT_EQ(fresh.title, L"Text properties");
  struct Row {
    const wchar_t* label;
    int kind;
    const wchar_t* before;
    const wchar_t* edit;
    const wchar_t* after;
  } rows[] = {
      {L"Shadow enabled", 1, L"false", L"true", L"true"},
      {L"Shadow color", 1, L"0,0,0,64", L"1,2,3", L"1,2,3,255"},
      {L"Shadow offset", 1, L"2,2", L"-1,4.5", L"-1,4.5"},
      {L"Alignment", 1, L"1", L"18", L"18"},
      {L"Text", 1, L"", L"Hello there", L"Hello there"},
      {L"Font", 2, L"", L"small", L"small"},
      {L"Permanent offset", 1, L"0,0", L"3,4", L"3,4"},
      {L"Press offset", 1, L"0,0", L"1,1", L"1,1"},
      {L"Color", 1, L"255,255,255,255", L"10,20,30,40", L"10,20,30,40"},
      {L"Color disabled", 1, L"255,255,255,255", L"1,1,1,1", L"1,1,1,1"},
      {L"Color over", 1, L"255,255,255,255", L"2,2,2,2", L"2,2,2,2"},
      {L"Color pressed", 1, L"255,255,255,255", L"3,3,3,3", L"3,3,3,3"},
  };
  ASSERT_EQ(fresh.entries.size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(LLF::WideToAnsi(rows[i].label));
    EXPECT_EQ(fresh.entries[i].label, rows[i].label);
    EXPECT_EQ(fresh.entries[i].kind, rows[i].kind);
    EXPECT_EQ(fresh.entries[i].value, rows[i].before);
    EXPECT_TRUE(box.SetPropertyFromEditor(L"Text properties", rows[i].label, rows[i].edit));
  }
  const HLF::PropertyGroup edited = Pages(box).back();
  for (size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(edited.entries[i].value, rows[i].after) << LLF::WideToAnsi(rows[i].label);
  }
  // The edits reach the settings the drawing and the writer use.
  EXPECT_EQ(box.GetFont(), small);
  LLF::Color normal, over, pressed, disabled;
  box.GetColors(normal, over, pressed, disabled);
  EXPECT_EQ(over, LLF::Color(2, 2, 2, 2));
  EXPECT_EQ(pressed, LLF::Color(3, 3, 3, 3));
  EXPECT_EQ(disabled, LLF::Color(1, 1, 1, 1));

  // The editor's font by its marker; an unknown row is left alone.
  std::unique_ptr<LLF::Font> editorFont = LineFont();
  QmTest::TestEditor editor;
  editor.font = editorFont.get();
  EXPECT_TRUE(box.SetPropertyFromEditor(L"Text properties", L"Font", L"##font_editor;"));
  EXPECT_EQ(box.GetFont(), editorFont.get());
  EXPECT_TRUE(box.SetPropertyFromEditor(L"Text properties", L"Name", L"x"));
  EXPECT_EQ(box.GetName(), L"");
  EXPECT_EQ(Pages(box).back().entries.size(), std::size(rows));
  // Control's page still reaches Control.
  EXPECT_TRUE(box.SetPropertyFromEditor(L"Control properties", L"Name", L"x"));
  EXPECT_EQ(box.GetName(), L"x");
}

}  // namespace
