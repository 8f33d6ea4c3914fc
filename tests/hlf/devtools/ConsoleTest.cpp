// The console: word splitting, the registry and Execute, aliases, the input
// line's keys (history, completion, scrolling), showing it and drawing it.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FixedFont.h"
#include "LogRecorder.h"
#include "RecordingRenderSystem.h"
#include "TempFolders.h"
#include "TestEditor.h"
#include "TestGame.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "devtools/Console.h"
#include "math/Color.h"
#include "math/Point.h"
#include "math/Vector2.h"
#include "xml/XmlElement.h"

namespace {

using HLF::Console;
using HLF::ConsoleCommand;

TEST(ConsoleTest, SplitsWordsAtBlanksOnly) {
  struct Case {
    const wchar_t* line;
    int count;
    const wchar_t* second;
  };
  const Case cases[] = {
      {L"", 0, L""},
      {L"    ", 0, L""},
      {L"help", 1, L""},
      {L"buildlevel  data/levels   seek", 3, L"data/levels"},
      {L"   alias q exit", 3, L"q"},
      {L"a\tb c", 2, L"c"},
      {L"a b ", 2, L"b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Console::GetParamCount(c.line), c.count);
    EXPECT_EQ(Console::GetParam(c.line, 2), c.second);
    EXPECT_EQ(Console::GetParam(c.line, c.count + 1), L"");
  }
  EXPECT_EQ(Console::GetParam(L"   alias q exit", 1), L"alias");
  EXPECT_EQ(Console::GetParam(L"a\tb c", 1), L"a\tb");
  EXPECT_EQ(Console::GetParam(L"a b", 0), L"");
}

std::vector<std::wstring> g_ran;
void Record(const std::wstring& line) {
  g_ran.push_back(line);
}
void Other(const std::wstring&) {}

// Registers the entries for the test's life and takes them away again.
class Registered {
 public:
  ~Registered() {
    for (const std::wstring& name : _names) Console::GetInstance().DeleteVariable(name);
  }
  void Variable(const std::wstring& name, int type, void* storage) {
    ASSERT_TRUE(Console::GetInstance().AddVariable(name, type, storage));
    _names.push_back(name);
  }
  void Command(const std::wstring& name, Console::CommandHandler handler) {
    ASSERT_TRUE(Console::GetInstance().AddCommand(name, handler));
    _names.push_back(name);
  }

 private:
  std::vector<std::wstring> _names;
};

TEST(ConsoleTest, KeepsCommandsAndEchoedLines) {
  Console& console = Console::GetInstance();
  Registered registered;
  registered.Command(L"t_winlevel", &Record);
  QmTest::LogRecorder log;
  EXPECT_FALSE(console.AddCommand(L"t_winlevel", &Other));
  EXPECT_FALSE(console.AddCommand(L"con_ColorBackground", &Other));  // a variable's name is taken too
  EXPECT_FALSE(console.AddCommand(L"t_nothing", nullptr));
  EXPECT_FALSE(console.AddVariable(L"help", ConsoleCommand::TYPE_INT, nullptr));
  EXPECT_EQ(log.Count(L"Warning: Console procedure t_winlevel already exists."), 1);
  EXPECT_EQ(log.Count(L"Warning: Console variable help already exists."), 1);
  EXPECT_EQ(console.GetCommand(L"t_winlevel"), &Record);
  EXPECT_EQ(console.GetCommand(L"t_nothing"), nullptr);
  EXPECT_EQ(console.GetCommand(L"con_ColorBackground"), nullptr);
  EXPECT_FALSE(console.DeleteVariable(L"t_nothing"));
  EXPECT_EQ(
      log.Count(L"Warning: Console: Can't delete variable t_nothing. Does not exist in the variables list."),
      1);
}

TEST(ConsoleTest, EchoesFinishedLogLines) {
  Console& console = Console::GetInstance();
  console.ClearLines();
  LLF::Log::SetEcho(&Console::EchoLogLine);
  LLF::Log::GetInstance().Write(L"Hello console");
  LLF::Log::SetEcho(nullptr);
  const auto lines = console.GetLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"Hello console\r\n"), std::wstring::npos);
  console.ClearLines();
}

TEST(ConsoleTest, RegistersItsBuiltInsInUtf16Order) {
  const Console& console = Console::GetInstance();
  std::vector<std::wstring> commands;
  int colors = 0;
  for (const auto& entry : console.GetRegistry()) {
    if (entry.second.type == ConsoleCommand::TYPE_COMMAND) commands.push_back(entry.first);
    if (entry.second.type == ConsoleCommand::TYPE_COLOR) ++colors;
  }
  EXPECT_EQ(colors, 6);
  const std::vector<std::wstring> expected = {
      L"alias", L"create",  L"dumptree", L"editor",  L"enableinputlogging", L"exit", L"getuniquesymbols",
      L"help",  L"imgutil", L"load",     L"openurl", L"videomode"};
  EXPECT_EQ(commands, expected);
  ASSERT_EQ(console.GetAliases().count(L"quit"), 1u);
  EXPECT_EQ(console.GetAliases().at(L"quit"), L"exit");

  // Capitals before small letters; beyond U+FFFF before U+E000 (surrogates).
  const HLF::Utf16Less less;
  EXPECT_TRUE(less(L"Zeta", L"alpha"));
  EXPECT_TRUE(less(L"a\U0001F600", L"a\uE000"));
  EXPECT_FALSE(less(L"a\uE000", L"a\U0001F600"));
  EXPECT_TRUE(less(L"ab", L"abc"));
}

TEST(ConsoleTest, ExecuteReadsAndSetsEachType) {
  uint8_t c = 7;
  int32_t i = 0;
  float f = 0.0f;
  uint8_t b = 0;
  std::wstring s;
  LLF::Point p;
  LLF::Vector2 v;
  LLF::Color color(1, 2, 3, 4);
  Registered registered;
  registered.Variable(L"t_char", ConsoleCommand::TYPE_CHAR, &c);
  registered.Variable(L"t_int", ConsoleCommand::TYPE_INT, &i);
  registered.Variable(L"t_float", ConsoleCommand::TYPE_FLOAT, &f);
  registered.Variable(L"t_bool", ConsoleCommand::TYPE_BOOL, &b);
  registered.Variable(L"t_string", ConsoleCommand::TYPE_STRING, &s);
  registered.Variable(L"t_pointi", ConsoleCommand::TYPE_POINTI, &p);
  registered.Variable(L"t_pointf", ConsoleCommand::TYPE_POINTF, &v);
  registered.Variable(L"t_color", ConsoleCommand::TYPE_COLOR, &color);
  Console& console = Console::GetInstance();

  struct Case {
    const wchar_t* line;
    std::function<bool()> holds;
  };
  const Case cases[] = {
      {L"t_char -5", [&] { return c == 0; }},
      {L"t_char 300", [&] { return c == 255; }},
      {L"t_char 65", [&] { return c == 65; }},
      {L"t_int -12", [&] { return i == -12; }},
      {L"t_int 99999999999", [&] { return i == INT32_MAX; }},
      {L"t_float 2.5", [&] { return f == 2.5f; }},
      {L"t_bool 1", [&] { return b == 1; }},
      {L"t_bool yes", [&] { return b == 0; }},
      {L"t_bool True", [&] { return b == 1; }},
      {L"t_bool TRUE x", [&] { return b == 1; }},
      {L"t_bool 0", [&] { return b == 0; }},
      // The text after the name and one blank, inner blanks kept; leading
      // blanks before the name do not shift it.
      {L"t_string   a  b", [&] { return s == L"  a  b"; }},
      {L"   t_string hello world", [&] { return s == L"hello world"; }},
      {L"t_pointi 3 -4", [&] { return p.x == 3 && p.y == -4; }},
      {L"t_pointi 9", [&] { return p.x == 9 && p.y == 0; }},
      {L"t_pointf 1.5 -0.25", [&] { return v.x == 1.5f && v.y == -0.25f; }},
      {L"t_color 300 -1 7 256", [&] { return color == LLF::Color(44, 255, 7, 0); }},
      {L"t_color 10", [&] { return color == LLF::Color(10, 0, 0, 0); }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.line);
    EXPECT_TRUE(console.Execute(test.line, true));
    EXPECT_TRUE(test.holds());
  }

  // The name alone logs the value; nothing changes.
  QmTest::LogRecorder log;
  color = LLF::Color(96, 96, 96, 240);
  b = 1;
  s = L"  x";
  EXPECT_TRUE(console.Execute(L"t_color", false));
  EXPECT_TRUE(console.Execute(L"t_bool", true));
  EXPECT_TRUE(console.Execute(L"t_string", true));
  EXPECT_TRUE(console.Execute(L"t_char", true));
  EXPECT_EQ(log.Count(L"t_color 96 96 96 240\r\n"), 1);
  EXPECT_EQ(log.Count(L"t_bool true\r\n"), 1);
  EXPECT_EQ(log.Count(L"t_string   x\r\n"), 1);
  EXPECT_EQ(log.Count(L"t_char 65\r\n"), 1);
  // Not quiet: the line itself went first.
  EXPECT_EQ(log.Count(L" t_color\r\n"), 1);
  EXPECT_EQ(color, LLF::Color(96, 96, 96, 240));

  // Blank and unknown lines fail.
  EXPECT_FALSE(console.Execute(L"", false));
  EXPECT_FALSE(console.Execute(L"    ", false));
  EXPECT_FALSE(console.Execute(L"t_unknown 1 2", false));
  EXPECT_EQ(log.Count(L"Error: Unknown command \"t_unknown 1 2\""), 1);
}

TEST(ConsoleTest, AliasesRunTheirLineAndStayBounded) {
  Console& console = Console::GetInstance();
  Registered registered;
  registered.Command(L"t_rec", &Record);
  g_ran.clear();
  QmTest::LogRecorder log;

  // The alias's line runs alone; the rest of the typed line is dropped.
  EXPECT_TRUE(console.Execute(L"alias t_q t_rec  one two", true));
  EXPECT_TRUE(console.Execute(L"t_q x", true));
  ASSERT_EQ(g_ran.size(), 1u);
  EXPECT_EQ(g_ran[0], L"t_rec one two");
  // A second alias of the name replaces the first.
  EXPECT_TRUE(console.Execute(L"alias t_q t_rec", true));
  EXPECT_TRUE(console.Execute(L"t_q", true));
  EXPECT_EQ(g_ran.back(), L"t_rec");

  // An alias of itself is refused; a ring is cut at the depth limit.
  EXPECT_TRUE(console.Execute(L"alias t_x t_x", true));
  EXPECT_EQ(console.GetAliases().count(L"t_x"), 0u);
  EXPECT_EQ(log.Count(L"Error: Infinite loop alias detected. Command \"alias t_x t_x\" ignored."), 1);
  EXPECT_TRUE(console.Execute(L"alias t_a t_b", true));
  EXPECT_TRUE(console.Execute(L"alias t_b t_a", true));
  EXPECT_FALSE(console.Execute(L"t_a", true));
  EXPECT_EQ(log.Count(L"Error: Alias expansion deeper than 16 levels"), 1);
  // Sixteen levels still run.
  for (int n = 0; n < 16; ++n) {
    const std::wstring next = n == 15 ? L"t_rec deep" : L"t_d" + std::to_wstring(n + 1);
    EXPECT_TRUE(console.Execute(L"alias t_d" + std::to_wstring(n) + L" " + next, true));
  }
  EXPECT_TRUE(console.Execute(L"t_d0", true));
  EXPECT_EQ(g_ran.back(), L"t_rec deep");

  for (const wchar_t* alias : {L"t_q", L"t_a", L"t_b"}) EXPECT_TRUE(console.DeleteCommand(alias));
  for (int n = 0; n < 16; ++n) EXPECT_TRUE(console.DeleteCommand(L"t_d" + std::to_wstring(n)));
  // An alias went first; the command itself is still there.
  EXPECT_NE(console.GetCommand(L"t_rec"), nullptr);
}

// A started game whose configuration turns the console on, an editor with a
// fixed-width font, and the console shown. Everything is put back at the
// end.
class ShownConsole : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.Start());
    // After the start, which installs the real editor.
    editor = std::make_unique<QmTest::TestEditor>();
    editor->initialized = true;
    editor->font = font.Get();
    EnableConsole(L"true");
    console.ClearLines();
    console.ClearHistory();
    console.SetInputLine(L"");
    console.Show();
    ASSERT_TRUE(console.IsVisible());
  }
  void TearDown() override {
    console.Hide();
    console.ClearLines();
    console.ClearHistory();
    console.SetInputLine(L"");
  }

  void EnableConsole(const wchar_t* value) {
    LLF::XmlElement* config = game.GetConfigDoc()->GetRoot()->GetChildByPath(L"config/game");
    ASSERT_NE(config, nullptr);
    config->RemoveAttribute(L"enableConsole");
    if (value) config->AddAttribute(L"enableConsole", value);
  }
  void KeyDown(int key, const std::wstring& text = std::wstring()) {
    LLF::Message msg = QmTest::TestShell::WindowMessage(LLF::WMSG_KEY_DOWN, key, 0, 0, text);
    EXPECT_TRUE(console.OnMessage(&msg));
  }
  void KeyUp(int key) {
    LLF::Message msg = QmTest::TestShell::WindowMessage(LLF::WMSG_KEY_UP, key, 0, 0);
    EXPECT_TRUE(console.OnMessage(&msg));
  }
  void Type(const std::wstring& text) {
    for (wchar_t c : text) {
      KeyDown(c == L' ' ? LLF::KEY_SPACE : LLF::KEY_A, std::wstring(1, c));
    }
  }
  void Wheel(int notches) {
    LLF::Message msg = QmTest::TestShell::WindowMessage(LLF::WMSG_WHEEL, notches, 0, 0);
    console.OnMessage(&msg);
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
  QmTest::FixedFont font;
  std::unique_ptr<QmTest::TestEditor> editor;
  Console& console = Console::GetInstance();
};

TEST_F(ShownConsole, ShowsOnlyWhenTheConfigurationSaysExactlyTrue) {
  console.Hide();
  struct Case {
    const wchar_t* value;
    bool shown;
  };
  for (const Case& c : {Case{L"true", true}, Case{L"True", false}, Case{L"1", false}, Case{nullptr, false}}) {
    SCOPED_TRACE(c.value ? c.value : L"(none)");
    EnableConsole(c.value);
    KeyUp(LLF::KEY_GRAVE);
    EXPECT_EQ(console.IsVisible(), c.shown);
    KeyUp(LLF::KEY_GRAVE);
    EXPECT_FALSE(console.IsVisible());
  }
  // The editor loads first; when it cannot, the console stays hidden.
  EnableConsole(L"true");
  editor->initialized = false;
  editor->canInit = false;
  console.Show();
  EXPECT_FALSE(console.IsVisible());
  EXPECT_EQ(editor->initCalls, 1);
  editor->canInit = true;
  console.Show();
  EXPECT_TRUE(console.IsVisible());
}

TEST_F(ShownConsole, HiddenItTakesNoKeysAndTheToggleIsNeverTyped) {
  KeyUp(LLF::KEY_GRAVE);
  ASSERT_FALSE(console.IsVisible());
  Type(L"ab");
  KeyDown(LLF::KEY_GRAVE, L"`");
  KeyUp(LLF::KEY_GRAVE);
  ASSERT_TRUE(console.IsVisible());
  KeyDown(LLF::KEY_GRAVE, L"`");
  KeyDown(LLF::KEY_NUMPAD_0 + 1, L"1");
  KeyDown(LLF::KEY_NUMPAD_ADD, L"+");
  KeyDown(LLF::KEY_NUMPAD_MULTIPLY, L"*");
  KeyDown(LLF::KEY_SLASH, L"/");
  KeyDown(LLF::KEY_0 + 7, L"7");
  EXPECT_EQ(console.GetInputLine(), L"*/7");
  KeyDown(LLF::KEY_BACKSPACE);
  EXPECT_EQ(console.GetInputLine(), L"*/");
  // Only the window's own messages count.
  LLF::Message foreign(nullptr, LLF::WMSG_KEY_DOWN, LLF::KEY_A, 0, 0, L"q");
  console.OnMessage(&foreign);
  EXPECT_EQ(console.GetInputLine(), L"*/");
}

TEST_F(ShownConsole, EnterKeepsLinesThatRanAndUpDownBrowseThem) {
  Registered registered;
  registered.Command(L"a", &Record);
  registered.Command(L"b", &Record);
  for (const wchar_t* line : {L"a", L"nonsense", L"b", L""}) {
    Type(line);
    KeyUp(LLF::KEY_ENTER);
    EXPECT_EQ(console.GetInputLine(), L"");
  }
  ASSERT_EQ(console.GetHistory(), (std::vector<std::wstring>{L"a", L"b"}));
  const std::pair<int, const wchar_t*> steps[] = {
      {LLF::KEY_UP, L"b"},   {LLF::KEY_UP, L"a"},  {LLF::KEY_UP, L"a"},
      {LLF::KEY_DOWN, L"b"}, {LLF::KEY_DOWN, L""}, {LLF::KEY_DOWN, L""},
  };
  for (const auto& [key, expected] : steps) {
    KeyDown(key);
    EXPECT_EQ(console.GetInputLine(), expected);
  }
}

TEST_F(ShownConsole, TabCompletesOneNameAndListsSeveral) {
  Type(L"dumpt");
  KeyUp(LLF::KEY_TAB);
  EXPECT_EQ(console.GetInputLine(), L"dumptree ");

  console.SetInputLine(L"col");
  console.ClearLines();
  KeyUp(LLF::KEY_TAB);
  EXPECT_EQ(console.GetInputLine(), L"col");
  const std::vector<std::wstring> lines = console.GetLines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_NE(lines[0].find(L"List of variables or commands that include \"col\":"), std::wstring::npos);
  EXPECT_NE(lines[1].find(L"con_ColorBackground"), std::wstring::npos);
  EXPECT_NE(lines[6].find(L"con_ColorWarningText"), std::wstring::npos);

  console.SetInputLine(L"zzz");
  KeyUp(LLF::KEY_TAB);
  EXPECT_NE(console.GetLines().back().find(L"No commands or variables found that include \"zzz\"."),
            std::wstring::npos);
  console.SetInputLine(L"");
  KeyUp(LLF::KEY_TAB);
  EXPECT_EQ(console.GetInputLine(), L"");
}

TEST_F(ShownConsole, TheViewFollowsNewLinesOnlyFromTheNewest) {
  Wheel(-3);  // no lines: the view stays at 0
  EXPECT_EQ(console.GetScrollPosition(), 0);
  for (int n = 0; n < 5; ++n) console.Print(L"line " + std::to_wstring(n));
  EXPECT_EQ(console.GetScrollPosition(), 4);
  KeyDown(LLF::KEY_PAGE_UP);
  KeyDown(LLF::KEY_PAGE_UP);
  console.Print(L"line 5");
  EXPECT_EQ(console.GetScrollPosition(), 2);  // scrolled back: it stays
  Wheel(-10);
  EXPECT_EQ(console.GetScrollPosition(), 5);  // clamped to the newest
  console.Print(L"line 6");
  EXPECT_EQ(console.GetScrollPosition(), 6);  // at the newest: it follows
  Wheel(100);
  EXPECT_EQ(console.GetScrollPosition(), 0);
  KeyDown(LLF::KEY_PAGE_UP);
  EXPECT_EQ(console.GetScrollPosition(), 0);
  KeyUp(LLF::KEY_END);
  EXPECT_EQ(console.GetScrollPosition(), 6);
  KeyDown(LLF::KEY_PAGE_DOWN);
  EXPECT_EQ(console.GetScrollPosition(), 6);
  KeyUp(LLF::KEY_HOME);
  EXPECT_EQ(console.GetScrollPosition(), 0);
}

TEST_F(ShownConsole, DrawsTheTopHalfWithTheNewestLineLowest) {
  QmTest::RecordingRenderSystem rs(true);
  const int h = QmTest::FixedFont::kWidth;
  console.Print(L"01.01.2024 / 10:00:00 plain\r\n");
  console.Print(L"01.01.2024 / 10:00:00 a Warning here\r\n");
  console.Print(L"01.01.2024 / 10:00:00 Error: broken\r\n");
  console.SetInputLine(L"help");
  console.Draw();

  const auto fills = rs.Fills();
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect.x, 0.0f);
  EXPECT_EQ(fills[0].rect.width, 800.0f);
  EXPECT_EQ(fills[0].rect.height, 300.0f);
  EXPECT_EQ(fills[0].color, LLF::Color(96, 96, 96, 240));
  const int boxY = 300 - h - 8;
  EXPECT_EQ(fills[1].rect.y, static_cast<float>(boxY));
  EXPECT_EQ(fills[1].rect.height, static_cast<float>(h + 6));
  EXPECT_EQ(fills[1].color, LLF::Color(32, 32, 32, 255));

  const auto texts = rs.Calls(QmTest::DrawCall::kText);
  ASSERT_EQ(texts.size(), 4u);
  // Newest first, just above the input box; no line end is drawn.
  EXPECT_EQ(texts[0].textParams.text, L"01.01.2024 / 10:00:00 Error: broken");
  EXPECT_EQ(texts[0].textParams.position.y, static_cast<float>(boxY - 4 - h));
  EXPECT_EQ(texts[0].textParams.color, LLF::Color(255, 96, 96, 255));
  EXPECT_EQ(texts[1].textParams.color, LLF::Color(255, 255, 0, 255));
  EXPECT_EQ(texts[1].textParams.position.y, static_cast<float>(boxY - 4 - h - (h + 4)));
  EXPECT_EQ(texts[2].textParams.color, LLF::Color(255, 255, 255, 255));
  EXPECT_EQ(texts[3].textParams.text, L"help");
  EXPECT_EQ(texts[3].textParams.position, LLF::Vector2(4.0f, static_cast<float>(boxY + 4)));
  EXPECT_EQ(texts[3].textParams.color, LLF::Color(200, 255, 200, 255));

  // A line longer than the window shows its end; the colours are variables.
  rs.ClearCalls();
  console.SetInputLine(std::wstring(100, L'A'));
  EXPECT_TRUE(console.Execute(L"con_ColorBackground 1 2 3 4", true));
  console.Draw();
  EXPECT_EQ(rs.Fills()[0].color, LLF::Color(1, 2, 3, 4));
  EXPECT_EQ(rs.Calls(QmTest::DrawCall::kText).back().textParams.position.x, 4.0f - (1000 + 2 - 800));
  EXPECT_TRUE(console.Execute(L"con_ColorBackground 96 96 96 240", true));

  // Hidden or disabled: nothing.
  rs.ClearCalls();
  console.SetEnabled(false);
  console.Draw();
  console.SetEnabled(true);
  console.Hide();
  console.Draw();
  EXPECT_TRUE(rs.Calls().empty());
}

}  // namespace
