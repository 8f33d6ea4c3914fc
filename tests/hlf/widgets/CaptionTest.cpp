#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FixedFont.h"
#include "RecordingRenderSystem.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

namespace {

using HLF::Button;
using HLF::Label;
using Lines = std::vector<std::wstring>;

// Every character of the test font is 10 pixels wide, the blank too.
struct WrapCase {
  const char* what;
  std::wstring text;
  int width;
  Lines lines;
};

const WrapCase kWrapCases[] = {
    // "aa " is 30 wide, "aa bb " 60: the break falls at the first word
    // whose preceding text is at least as wide as the control.
    {"three words, two fit", L"aa bb cc", 45, {L"aa bb", L"cc"}},
    {"the text before a word exactly as wide", L"aa bb cc", 60, {L"aa bb", L"cc"}},
    {"one pixel wider", L"aa bb cc", 61, {L"aa bb cc"}},
    {"one word a line", L"aa bb cc", 30, {L"aa", L"bb", L"cc"}},
    {"a word wider than the control stays whole", L"aaaaaaaa bb", 30, {L"aaaaaaaa", L"bb"}},
    {"the last word is never measured", L"aa bbbbbbbbbb", 40, {L"aa bbbbbbbbbb"}},
    {"two line feeds: an empty line between", L"a\n\nb", 100, {L"a", L"", L"b"}},
    {"a final line feed adds no line", L"a\n", 100, {L"a"}},
    {"blanks after a line feed are dropped", L"aa\n   bb", 100, {L"aa", L"bb"}},
    {"blanks before a wrapped word are dropped", L"aa    bb", 30, {L"aa   ", L"bb"}},
    {"no text, no lines", L"", 100, {}},
};

template <class Widget>
void CheckWrapTable(const LLF::Font* font) {
  for (const WrapCase& c : kWrapCases) {
    SCOPED_TRACE(c.what);
    Widget widget;
    widget.SetSize(c.width, 30);
    widget.SetFontObject(const_cast<LLF::Font*>(font));
    widget.SetText(c.text);
    widget.SetMultiline(true);
    EXPECT_EQ(widget.GetLines(), c.lines);
    EXPECT_EQ(widget.GetFullText(), c.text);
  }
}

TEST(CaptionTest, ButtonAndLabelWrapAlike) {
  QmTest::FixedFont font;
  ASSERT_NE(font.Get(), nullptr);
  {
    SCOPED_TRACE("button");
    CheckWrapTable<Button>(font.Get());
  }
  {
    SCOPED_TRACE("label");
    CheckWrapTable<Label>(font.Get());
  }
}

TEST(CaptionTest, WithoutAFontOrSingleLineThereAreNoLines) {
  QmTest::FixedFont font;
  Button button;
  button.SetMultiline(true);
  button.SetText(L"aa bb\ncc");
  EXPECT_TRUE(button.GetLines().empty());
  // Single-line, the caption is the text property's text, breaks and all.
  button.SetFontObject(font.Get());
  EXPECT_EQ(button.GetLines(), (Lines{L"aa bb", L"cc"}));
  button.SetMultiline(false);
  EXPECT_TRUE(button.GetLines().empty());
  EXPECT_EQ(button.GetText(), L"aa bb\ncc");
}

TEST(CaptionTest, ALabelWrapsAgainOnResizeAButtonDoesNot) {
  QmTest::FixedFont font;
  Label label(L"note", L"aa bb cc");
  Button button(L"go");
  button.SetText(L"aa bb cc");
  for (HLF::TextProperty* text :
       {static_cast<HLF::TextProperty*>(&label), static_cast<HLF::TextProperty*>(&button)}) {
    text->SetFontObject(font.Get());
  }
  label.SetSize(100, 30);
  button.SetSize(100, 30);
  label.SetMultiline(true);
  button.SetMultiline(true);
  EXPECT_EQ(label.GetLines(), (Lines{L"aa bb cc"}));
  EXPECT_EQ(button.GetLines(), (Lines{L"aa bb cc"}));

  label.SetSize(LLF::Point(45, 30));
  button.SetSize(LLF::Point(45, 30));
  EXPECT_EQ(label.GetLines(), (Lines{L"aa bb", L"cc"}));
  EXPECT_EQ(button.GetLines(), (Lines{L"aa bb cc"}));
  // The button's lines follow its width when laid out again.
  button.UpdateLines();
  EXPECT_EQ(button.GetLines(), (Lines{L"aa bb", L"cc"}));
}

// One wrapped line is drawn as a single-line caption is; more lines are
// one line height plus the interval apart.
TEST(CaptionTest, Drawing) {
  QmTest::FixedFont font;
  QmTest::RecordingRenderSystem rs;
  auto textCalls = [&rs](Button& button) {
    rs.ClearCalls();
    button.Render(&rs, nullptr);
    return rs.Calls(QmTest::DrawCall::kText);
  };
  Button single;
  Button wrapped;
  for (Button* button : {&single, &wrapped}) {
    button->SetFontObject(font.Get());
    button->SetText(L"aa bb");
  }
  wrapped.SetMultiline(true);
  ASSERT_EQ(wrapped.GetLines().size(), 1u);
  const std::vector<QmTest::DrawCall> a = textCalls(single);
  const std::vector<QmTest::DrawCall> b = textCalls(wrapped);
  ASSERT_EQ(a.size(), 1u);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(a[0].textParams.text, b[0].textParams.text);
  EXPECT_EQ(a[0].textParams.position, b[0].textParams.position);

  wrapped.SetText(L"aa\nbb\ncc");
  wrapped.SetInterval(4);
  const std::vector<QmTest::DrawCall> lines = textCalls(wrapped);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].textParams.text, L"aa");
  EXPECT_EQ(lines[2].textParams.text, L"cc");
  EXPECT_FLOAT_EQ(lines[1].textParams.position.y - lines[0].textParams.position.y, 14.0f);
  EXPECT_FLOAT_EQ(lines[2].textParams.position.y - lines[1].textParams.position.y, 14.0f);

  // Without a font nothing is drawn.
  Button bare;
  bare.SetMultiline(true);
  bare.SetText(L"aa");
  EXPECT_TRUE(textCalls(bare).empty());
}

}  // namespace
