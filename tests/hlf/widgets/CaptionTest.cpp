#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FixedFont.h"
#include "FontAssets.h"
#include "RecordingRenderSystem.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "properties/TextProperty.h"
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
    // "aa bb" is 50 wide, "aa bb cc" 80: a word goes on the next line when
    // the line through it would be wider than the control.
    {"three words, two fit", L"aa bb cc", 55, {L"aa bb", L"cc"}},
    {"two words exactly as wide", L"aa bb cc", 50, {L"aa bb", L"cc"}},
    {"one pixel narrower", L"aa bb cc", 49, {L"aa", L"bb", L"cc"}},
    {"all exactly as wide", L"aa bb cc", 80, {L"aa bb cc"}},
    {"one pixel short of all", L"aa bb cc", 79, {L"aa bb", L"cc"}},
    {"a word wider than the control stays whole", L"aaaaaaaa bb", 30, {L"aaaaaaaa", L"bb"}},
    {"the last word is measured too", L"aa bbbbbbbbbb", 40, {L"aa", L"bbbbbbbbbb"}},
    {"a line before a line feed wraps too", L"aa bb cc\ndd", 55, {L"aa bb", L"cc", L"dd"}},
    {"two line feeds: an empty line between", L"a\n\nb", 100, {L"a", L"", L"b"}},
    {"a final line feed adds no line", L"a\n", 100, {L"a"}},
    {"blanks after a line feed are dropped", L"aa\n   bb", 100, {L"aa", L"bb"}},
    {"blanks at a wrap are dropped on both sides", L"aa    bb", 30, {L"aa", L"bb"}},
    {"blanks that end a line stay while they fit", L"aa  \nbb", 40, {L"aa  ", L"bb"}},
    {"and go when they do not", L"aa  \nbb", 30, {L"aa", L"bb"}},
    {"blanks that start the text stay", L"  aa bb", 100, {L"  aa bb"}},
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

  label.SetSize(LLF::Point(55, 30));
  button.SetSize(LLF::Point(55, 30));
  EXPECT_EQ(label.GetLines(), (Lines{L"aa bb", L"cc"}));
  EXPECT_EQ(button.GetLines(), (Lines{L"aa bb cc"}));
  // The button's lines follow its width when laid out again.
  button.UpdateLines();
  EXPECT_EQ(button.GetLines(), (Lines{L"aa bb", L"cc"}));
}

// The lines are aligned in the width less the sides offset, so they wrap in
// it too; a label wraps again when the offset changes.
TEST(CaptionTest, TheSidesOffsetNarrowsTheField) {
  QmTest::FixedFont font;
  Label label(L"note", L"aa bb cc");
  label.SetFontObject(font.Get());
  label.SetMultiline(true);
  label.SetSize(60, 30);
  EXPECT_EQ(label.GetLines(), (Lines{L"aa bb", L"cc"}));
  label.SetSidesOffset(LLF::Rect(6, 0, 5, 0));
  EXPECT_EQ(label.GetLines(), (Lines{L"aa", L"bb", L"cc"}));
  label.SetSidesOffset(LLF::Rect(5, 0, 5, 0));
  EXPECT_EQ(label.GetLines(), (Lines{L"aa bb", L"cc"}));
}

std::wstring FirstWord(const std::wstring& line) {
  return line.substr(0, line.find(L' '));
}

// The game's message texts in a proportional font: every line as drawn
// (measured as the drawing measures it, at the place it is drawn) lies
// inside the field, and no line could have taken the next line's first
// word. The field of the game's message dialogs is 332 wide.
TEST(CaptionTest, DrawnLinesStayInsideTheField) {
  QmTest::FontAssets assets;
  LLF::Font* font =
      assets.Add(L"main16", 16,
                 L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,:;!?'\"()[]-+*/=%&@#_");
  ASSERT_NE(font, nullptr);
  const std::wstring texts[] = {
      L"The two halves of the picture are not quite alike. Click every difference, on either side.",
      L"Click a tile to turn it a quarter round. Turn every tile upright to mend the picture.",
      L"Every name in the list is hidden somewhere in the picture. Click each thing to find it.",
      L"Click two pieces to swap them. Put every piece in its place to finish the picture.",
      L"Each side holds one thing the other side lacks. Click the odd thing on each side.",
  };
  const unsigned alignments[] = {HLF::TEXT_ALIGN_CENTER | HLF::TEXT_ALIGN_MIDDLE,
                                 HLF::TEXT_ALIGN_RIGHT | HLF::TEXT_ALIGN_TOP};
  QmTest::RecordingRenderSystem rs;
  for (const std::wstring& text : texts) {
    for (const int width : {332, 260, 200, 120}) {
      for (const unsigned alignment : alignments) {
        SCOPED_TRACE(testing::Message() << "width " << width << ", alignment " << alignment);
        Label label(L"msg", text);
        label.SetFontObject(font);
        label.SetAlignment(alignment);
        label.SetSize(width, 80);
        label.SetMultiline(true);
        rs.ClearCalls();
        label.Render(&rs, nullptr);
        const std::vector<QmTest::DrawCall> calls = rs.Calls(QmTest::DrawCall::kText);
        ASSERT_EQ(calls.size(), label.GetLines().size());
        ASSERT_GE(calls.size(), 2u);
        std::wstring joined;
        for (size_t i = 0; i < calls.size(); ++i) {
          const LLF::TextDrawParams& drawn = calls[i].textParams;
          SCOPED_TRACE(LLF::WideToAnsi(drawn.text));
          const int lineWidth = font->GetTextWidth(drawn);
          EXPECT_LE(lineWidth, width);
          EXPECT_GE(drawn.position.x, 0.0f);
          EXPECT_LE(drawn.position.x + static_cast<float>(lineWidth), static_cast<float>(width));
          if (i + 1 < calls.size()) {
            LLF::TextDrawParams longer = drawn;
            longer.text += L" " + FirstWord(calls[i + 1].textParams.text);
            EXPECT_GT(font->GetTextWidth(longer), width) << "the next word would have fitted";
          }
          joined += (i ? L" " : L"") + drawn.text;
        }
        EXPECT_EQ(joined, text);
      }
    }
  }
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
