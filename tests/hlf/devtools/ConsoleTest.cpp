// The console as the game shell and command handlers use it.
#include <gtest/gtest.h>

#include <string>

#include "core/Log.h"
#include "devtools/Console.h"

namespace {

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
    EXPECT_EQ(HLF::Console::GetParamCount(c.line), c.count);
    EXPECT_EQ(HLF::Console::GetParam(c.line, 2), c.second);
    EXPECT_EQ(HLF::Console::GetParam(c.line, c.count + 1), L"");
  }
  EXPECT_EQ(HLF::Console::GetParam(L"   alias q exit", 1), L"alias");
  EXPECT_EQ(HLF::Console::GetParam(L"a\tb c", 1), L"a\tb");
  EXPECT_EQ(HLF::Console::GetParam(L"a b", 0), L"");
}

void Handler(const std::wstring&) {}
void Other(const std::wstring&) {}

TEST(ConsoleTest, KeepsCommandsAndEchoedLines) {
  HLF::Console& console = HLF::Console::GetInstance();
  EXPECT_TRUE(console.AddCommand(L"winlevel", &Handler));
  EXPECT_FALSE(console.AddCommand(L"winlevel", &Other));
  EXPECT_FALSE(console.AddCommand(L"nothing", nullptr));
  EXPECT_EQ(console.GetCommand(L"winlevel"), &Handler);
  EXPECT_EQ(console.GetCommand(L"nothing"), nullptr);

  console.ClearLines();
  LLF::Log::SetEcho(&HLF::Console::EchoLogLine);
  LLF::Log::GetInstance().Write(L"Hello console");
  LLF::Log::SetEcho(nullptr);
  const auto lines = console.GetLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"Hello console\r\n"), std::wstring::npos);
}

}  // namespace
