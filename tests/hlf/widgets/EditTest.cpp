#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FixedFont.h"
#include "FrameDriver.h"
#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "TempFolders.h"
#include "TreeInput.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "model/ControlFactory.h"
#include "widgets/Edit.h"

namespace {

using HLF::Edit;

// An edit at (100, 100), 100 x 30, in a screen-sized root, written in the
// fixed font (10 pixels a character), with a recorder listening to it.
struct EditOnScreen {
  explicit EditOnScreen(const std::wstring& text = L"") : input(&root) {
    root.SetSize(800, 600);
    edit = new Edit(L"name", text);
    edit->SetPosition(100, 100);
    edit->SetFontObject(font.Get());
    root.AddChild(edit);
    recorder.Listen(edit);
  }

  // A key down from the window with the characters it typed.
  bool Key(int key, const std::wstring& typed = L"") {
    HLF::Control::DispatchScope scope;
    return root.ProcessMessage(
        LLF::Message(&LLF::AppWindow::GetInstance(), LLF::WMSG_KEY_DOWN, key, 0, 0, typed));
  }

  // The texts of the edit's code-10 messages, in order.
  std::vector<std::wstring> Reports() const {
    std::vector<std::wstring> texts;
    for (const QmTest::MessageRecorder::Entry& entry : recorder.Entries()) {
      if (entry.code == HLF::EDIT_MSG_TEXT) {
        texts.push_back(entry.text);
      }
    }
    return texts;
  }

  QmTest::FixedFont font;
  QmTest::MessageRecorder recorder;  // outlives the edit
  HLF::Control root;
  Edit* edit;
  QmTest::TreeInput input;
};

struct Stroke {
  int key;
  const wchar_t* typed;
};

const Stroke kA{LLF::KEY_A, L"a"};
const Stroke kBack{LLF::KEY_BACKSPACE, L""};
const Stroke kDel{LLF::KEY_DELETE, L""};
const Stroke kHome{LLF::KEY_HOME, L""};
const Stroke kEnd{LLF::KEY_END, L""};
const Stroke kLeft{LLF::KEY_LEFT, L""};
const Stroke kRight{LLF::KEY_RIGHT, L""};

TEST(EditTest, Defaults) {
  Edit edit(L"player", L"Ann");
  EXPECT_EQ(edit.GetTypeName(), L"edit");
  EXPECT_EQ(edit.GetSize(), LLF::Point(100, 30));
  EXPECT_EQ(edit.GetText(), L"Ann");
  EXPECT_EQ(edit.GetCaret(), 3u);
  EXPECT_EQ(edit.GetAllowedChars(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.! ");
  EXPECT_EQ(edit.GetMaxLength(), -1);
  EXPECT_EQ(edit.GetBlinkPeriod(), 1000u);
  EXPECT_FALSE(edit.IsActive());
  EXPECT_FALSE(edit.IsActiveAlways());
  EXPECT_EQ(edit.Dump(), L"Edit: Name: player Text: Ann");
  for (const char* name : {"Edit", "Control", "TextProperty", "ImageProperty"}) {
    EXPECT_TRUE(edit.IsKindOf(name)) << name;
  }
  // The pressed colour follows the mouse-over one, also when set later.
  LLF::Color back, line, over, pressed;
  edit.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(pressed, over);
  edit.SetStateColors(back, line, LLF::Color(1, 2, 3, 4), LLF::Color(9, 9, 9, 9));
  edit.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(pressed, LLF::Color(1, 2, 3, 4));
}

// Each row starts from a text with the caret at its end and the mouse over
// the edit, strikes its keys, and checks the text, the caret and that every
// key was reported once with the text it left.
TEST(EditTest, KeyTable) {
  struct Case {
    const char* what;
    const wchar_t* start;
    std::vector<Stroke> keys;
    const wchar_t* text;
    unsigned caret;
    int maxLength = -1;
    bool fit = false;
  } cases[] = {
      {"typing at the end", L"Bo", {kA}, L"Boa", 3},
      {"typing after Home", L"Bo", {kHome, kA}, L"aBo", 1},
      {"typing in the middle", L"Bo", {kLeft, kA}, L"Bao", 2},
      {"a key typing two characters", L"Bo", {{LLF::KEY_A, L"xy"}}, L"Boxy", 4},
      {"a refused character", L"Bo", {{LLF::KEY_0 + 3, L"#"}}, L"Bo", 2},
      {"a refused character before the caret", L"Bo", {kHome, {LLF::KEY_0 + 3, L"#"}}, L"Bo", 0},
      {"a refused one among allowed ones", L"Bo", {kHome, {LLF::KEY_A, L"x#y"}}, L"xyBo", 2},
      {"a key that typed nothing", L"Bo", {{LLF::KEY_SHIFT, L""}}, L"Bo", 2},
      {"Backspace at the end", L"Bob", {kBack}, L"Bo", 2},
      {"Backspace in the middle", L"Bob", {kLeft, kBack}, L"Bb", 1},
      {"Backspace at 0", L"Bob", {kHome, kBack}, L"Bob", 0},
      {"Backspace on nothing", L"", {kBack}, L"", 0},
      {"Delete at the end", L"Bob", {kDel}, L"Bob", 3},
      {"Delete at 0", L"Bob", {kHome, kDel}, L"ob", 0},
      {"Delete on nothing", L"", {kDel}, L"", 0},
      {"Home and End", L"Bob", {kHome, kEnd}, L"Bob", 3},
      {"Left stops at 0", L"Bo", {kLeft, kLeft, kLeft}, L"Bo", 0},
      {"Right stops at the end", L"Bo", {kHome, kRight, kRight, kRight}, L"Bo", 2},
      {"full at 3: typing at the end", L"Bob", {kA}, L"Bob", 3, 3},
      {"full at 3: typing at 0", L"Bob", {kHome, kA}, L"aBo", 1, 3},
      // Ten characters fill the 100 pixels; an eleventh is cut again.
      {"fit to width: full", L"ABCDEFGHIJ", {kA}, L"ABCDEFGHIJ", 10, -1, true},
      {"fit to width: room", L"ABCDEFGHI", {kA}, L"ABCDEFGHIa", 10, -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EditOnScreen s(c.start);
    s.edit->SetMaxLength(c.maxLength);
    s.edit->SetFitToWidth(c.fit);
    s.edit->OnMouseEnter();
    s.recorder.Clear();
    for (const Stroke& stroke : c.keys) {
      s.Key(stroke.key, stroke.typed);
    }
    EXPECT_EQ(s.edit->GetText(), c.text);
    EXPECT_EQ(s.edit->GetCaret(), c.caret);
    const std::vector<std::wstring> reports = s.Reports();
    ASSERT_EQ(reports.size(), c.keys.size());
    EXPECT_EQ(reports.back(), c.text);
    for (const QmTest::MessageRecorder::Entry& entry : s.recorder.Entries()) {
      EXPECT_EQ(entry.param, 0);
      EXPECT_EQ(entry.primary, 0);
    }
  }
}

TEST(EditTest, KeysAreTakenOnlyWhenActive) {
  EditOnScreen s(L"Bo");
  // The mouse is elsewhere: the key goes by.
  s.Key(LLF::KEY_A, L"a");
  EXPECT_EQ(s.edit->GetText(), L"Bo");
  EXPECT_TRUE(s.Reports().empty());
  // Only a key down from the window counts.
  s.edit->OnMouseEnter();
  EXPECT_TRUE(s.edit->IsActive());
  s.input.KeyUp(LLF::KEY_A);
  {
    HLF::Control::DispatchScope scope;
    s.root.ProcessMessage(LLF::Message(&s.root, LLF::WMSG_KEY_DOWN, LLF::KEY_A, 0, 0, L"a"));
  }
  EXPECT_TRUE(s.Reports().empty());
  s.edit->OnMouseLeave();
  EXPECT_FALSE(s.edit->IsActive());
  s.Key(LLF::KEY_A, L"a");
  EXPECT_TRUE(s.Reports().empty());
  // Always active, it takes keys wherever the mouse is; turned off again,
  // it no longer does.
  s.edit->SetActiveAlways(true);
  s.Key(LLF::KEY_A, L"a");
  EXPECT_EQ(s.Reports(), std::vector<std::wstring>{L"Boa"});
  s.edit->SetActiveAlways(false);
  s.Key(LLF::KEY_A, L"a");
  EXPECT_EQ(s.Reports().size(), 1u);
  // A disabled edit keeps the key to itself and does nothing with it.
  s.edit->SetActiveAlways(true);
  s.edit->SetEnabled(false);
  EXPECT_TRUE(s.Key(LLF::KEY_A, L"a"));
  EXPECT_EQ(s.edit->GetText(), L"Boa");
  EXPECT_EQ(s.Reports().size(), 1u);
}

TEST(EditTest, SettingTheAllowedSetFiltersAtOnce) {
  Edit edit(L"e", L"Ab1 c");
  edit.SetMaxLength(2);  // a limit waits for the next key
  EXPECT_EQ(edit.GetText(), L"Ab1 c");
  edit.SetAllowedChars(L"bc1");
  EXPECT_EQ(edit.GetText(), L"b1");
  EXPECT_EQ(edit.GetCaret(), 2u);
  // SetText takes the text as it is, the caret at its end.
  edit.SetText(L"zzz");
  EXPECT_EQ(edit.GetText(), L"zzz");
  EXPECT_EQ(edit.GetCaret(), 3u);
}

// The caret shows in the first half of each second, at once after a key,
// and where the clock says after a long frame.
TEST(EditTest, CaretBlink) {
  QmTest::RecordingRenderSystem rs;
  EditOnScreen s(L"Bob");
  s.edit->SetBlinkClock(&QmTest::ManualClock::Now);
  auto caretShown = [&](unsigned ms) {
    QmTest::ManualClock::Advance(ms);
    rs.ClearCalls();
    s.root.Render(&rs, nullptr);
    return rs.Calls(QmTest::DrawCall::kLine).size() == 1;
  };
  EXPECT_FALSE(caretShown(0));  // not active
  s.edit->OnMouseEnter();
  EXPECT_TRUE(caretShown(0));
  EXPECT_TRUE(caretShown(499));
  EXPECT_FALSE(caretShown(1));
  EXPECT_FALSE(caretShown(400));
  s.Key(LLF::KEY_LEFT);
  EXPECT_TRUE(caretShown(0));
  EXPECT_FALSE(caretShown(600));
  // 10.2 s in one frame: a fifth into a period.
  EXPECT_TRUE(caretShown(9600));
  // 10.7 s: in the hidden half, and the next frames follow the clock.
  EXPECT_FALSE(caretShown(10500));
  EXPECT_FALSE(caretShown(200));
  EXPECT_TRUE(caretShown(200));

  // The line: one pixel past the text before the caret (two characters),
  // twice the text height, centred on the text line, in the text colour.
  s.edit->SetColors(LLF::Color(10, 20, 30, 255), LLF::Color(1, 1, 1, 255), LLF::Color(2, 2, 2, 255),
                    LLF::Color(3, 3, 3, 255));
  ASSERT_TRUE(caretShown(0));
  const QmTest::DrawCall line = rs.Calls(QmTest::DrawCall::kLine)[0];
  const QmTest::DrawCall text = rs.Calls(QmTest::DrawCall::kText)[0];
  const float x = text.textParams.position.x + 2 * QmTest::FixedFont::kWidth + 1;
  const float half = QmTest::FixedFont::kWidth / 2.0f;
  ASSERT_EQ(line.points.size(), 2u);
  EXPECT_EQ(line.points[0], LLF::Vector2(x, text.textParams.position.y - half));
  EXPECT_EQ(line.points[1], LLF::Vector2(x, text.textParams.position.y + 3 * half));
  EXPECT_EQ(line.color, LLF::Color(10, 20, 30, 255));
  EXPECT_EQ(line.Map(0, 0), LLF::Vector2(100, 100));

  // Without a font there is nothing to put it beside.
  Edit bare(L"bare", L"x");
  bare.SetActiveAlways(true);
  rs.ClearCalls();
  bare.Render(&rs, nullptr);
  EXPECT_TRUE(rs.Calls(QmTest::DrawCall::kLine).empty());
}

TEST(EditTest, XmlReadAndWrite) {
  QmTest::TempFolders folders;
  QmTest::FixedFont font;
  QmTest::FrameworkFactories factories;
  HLF::ControlFactory& controls = HLF::ControlFactory::GetInstance();
  folders.WriteProgramFile("digits.txt", "0123");
  struct Case {
    const char* what;
    const wchar_t* attribute;
    std::wstring allowed;
  } cases[] = {
      {"a charset name", L"english_charset",
       L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.! "},
      // Quotes, a backslash, markup characters: all come back from the file.
      {"a rich charset", L"english_rich_charset",
       L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'`\"!?@#~%_&*(){}[]=\\+|-<>,./"
       L";:\u00a9\u00ae\u2122 "},
      {"a charset file", L"file_digits.txt", L"0123 "},
      {"the characters themselves", L"xyz", L"xyz "},
      // A set that has a blank already keeps it once.
      {"a set with a blank", L"a b", L"a b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<HLF::Control> made(controls.LoadObjectFromXmlText(
        std::wstring(L"<edit name=\"n\" font=\"fixed\" text=\"Jo\" maxLength=\"8\" activeAlways=\"true\" "
                     L"allowedChars=\"") +
        c.attribute + L"\" />"));
    Edit* edit = dynamic_cast<Edit*>(made.get());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetAllowedChars(), c.allowed);
    EXPECT_EQ(edit->GetMaxLength(), 8);
    EXPECT_TRUE(edit->IsActiveAlways());

    // Save, load, save: the same file text, and the set does not grow.
    std::unique_ptr<LLF::XmlElement> saved(edit->SaveToXml());
    const std::wstring first = saved->Serialize(L"");
    std::unique_ptr<HLF::Control> again(controls.LoadObjectFromXmlText(first));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(dynamic_cast<Edit&>(*again).GetAllowedChars(), c.allowed);
    saved.reset(again->SaveToXml());
    EXPECT_EQ(saved->Serialize(L""), first);
  }

  // The default set, limit and switch are not written.
  Edit fresh;
  std::unique_ptr<LLF::XmlElement> saved(fresh.SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*saved), (std::vector<std::wstring>{L"size=100,30", L"pos=0,0"}));
}

TEST(EditTest, AnUnreadableCharsetFileLeavesOnlyTheBlank) {
  QmTest::TempFolders folders;
  QmTest::FrameworkFactories factories;
  QmTest::LogRecorder log;
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<edit text=\"A b\" allowedChars=\"file_missing.txt\" />"));
  Edit* edit = dynamic_cast<Edit*>(made.get());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(log.Count(L"Error: can't open charset file missing.txt"), 1);
  EXPECT_EQ(edit->GetAllowedChars(), L" ");
}

TEST(EditTest, EditorPages) {
  Edit edit(L"e", L"ab");
  std::vector<HLF::PropertyGroup> pages;
  edit.FillPropertyGrid(pages);
  std::vector<std::wstring> titles;
  for (const HLF::PropertyGroup& page : pages) {
    titles.push_back(page.title);
  }
  EXPECT_EQ(titles, (std::vector<std::wstring>{L"Control properties", L"Edit properties", L"Text properties",
                                               L"Image properties"}));
  std::vector<std::wstring> rows;
  for (const HLF::PropertyEntry& entry : pages[1].entries) {
    rows.push_back(entry.label + L"=" + entry.value);
  }
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"Allowed chars=" + edit.GetAllowedChars(), L"Max length=-1",
                                             L"Active always=false"}));

  // The set is taken as typed: no charset lookup, no blank added.
  EXPECT_TRUE(edit.SetPropertyFromEditor(L"Edit properties", L"Allowed chars", L"english_charset"));
  EXPECT_EQ(edit.GetAllowedChars(), L"english_charset");
  EXPECT_EQ(edit.GetText(), L"a");  // filtered at once: the name holds an a, no b
  EXPECT_TRUE(edit.SetPropertyFromEditor(L"Edit properties", L"Max length", L"4"));
  EXPECT_TRUE(edit.SetPropertyFromEditor(L"Edit properties", L"Active always", L"true"));
  EXPECT_TRUE(edit.SetPropertyFromEditor(L"Text properties", L"Text", L"hi"));
  EXPECT_TRUE(edit.SetPropertyFromEditor(L"Control properties", L"Name", L"named"));
  EXPECT_EQ(edit.GetMaxLength(), 4);
  EXPECT_TRUE(edit.IsActiveAlways());
  EXPECT_EQ(edit.GetText(), L"hi");
  EXPECT_EQ(edit.GetName(), L"named");
}

}  // namespace
