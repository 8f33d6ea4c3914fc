#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/StringUtils.h"
#include "xml/Lexer.h"

namespace {

using namespace std::string_literals;

const std::vector<std::wstring> kXmlOperators = {L"--", L"!", L"=", L"<", L">"};

// Every token up to the end, as "type:text" items joined by blanks.
std::wstring Tokens(LLF::Lexer& lexer, const std::wstring& text) {
  lexer.SetText(text);
  std::wstring out;
  for (int guard = 0; guard < 100; ++guard) {
    const LLF::Token t = lexer.NextToken();
    if (!out.empty()) out += L' ';
    out += LLF::ToString(t.type) + L':' + t.text;
    if (t.type == LLF::TOKEN_TYPE_END) break;
  }
  return out;
}

TEST(LexerTest, TokenTable) {
  struct Case {
    std::wstring text;
    bool xmlOperators;
    bool stringMode;
    const wchar_t* tokens;
  } cases[] = {
      {L"", false, true, L"4:"},
      {L"  \r\n ", false, true, L"4:"},
      {L"12abc", false, true, L"0:12a 10000:bc 4:"},
      {L"1.2.3", false, true, L"2:1.2 2:.3 4:"},
      {L". 5", false, true, L"2:. 1:5 4:"},
      {L".x", false, true, L"20012:. 10000:x 4:"},
      {L"\"a\\\"b\" c", false, true, L"3:a\\\"b 10000:c 4:"},
      {L"\"a\\\"b\"", false, false, L"20003:\" 0:a\\ 20003:\" 10000:b 20003:\" 4:"},
      {L"abc'", false, true, L"10000:abc 20004:' 4:"},
      {L"\"abc", false, true, L"4:abc"},
      {L"\"\"", false, true, L"3: 4:"},
      {L"a_1 _b9", false, true, L"10000:a_1 10000:_b9 4:"},
      {L"x+=1", false, true, L"10000:x 30011:+= 1:1 4:"},
      {L"a<<=b>=c", false, true, L"10000:a 30026:<<= 10000:b 30037:>= 10000:c 4:"},
      {L"--x", false, true, L"30009:-- 10000:x 4:"},
      {L"- -", false, true, L"30002:- 30002:- 4:"},
      {L"a@b", false, true, L"0:a@ 10000:b 4:"},
      {L"@b", false, true, L"0:@ 10000:b 4:"},
      {L"1@", false, true, L"0:1@ 4:"},
      {L"x/y", false, true, L"10000:x 20014:/ 10000:y 4:"},
      {L"<!--", true, true, L"30004:< 30002:! 30001:-- 4:"},
      {L"-", true, true, L"30000:- 4:"},
      {L"<a b=\"1\"/>", true, true, L"30004:< 10000:a 10000:b 30003:= 3:1 20014:/ 30005:> 4:"},
      {L"a\0b"s, false, true, L"10000:a 4:"},  // a NUL ends the text
  };
  for (const auto& c : cases) {
    LLF::Lexer lexer;
    if (c.xmlOperators) lexer.SetOperators(kXmlOperators);
    lexer.SetStringMode(c.stringMode);
    EXPECT_EQ(Tokens(lexer, c.text), c.tokens) << LLF::WideToAnsi(c.text);
  }
}

TEST(LexerTest, KeywordsWithAndWithoutCase) {
  LLF::Lexer lexer;
  lexer.SetKeywords({L"if", L"else"});
  EXPECT_EQ(Tokens(lexer, L"else ELSE x"), L"10002:else 10000:ELSE 10000:x 4:");
  lexer.SetKeywordsNoCase(true);
  EXPECT_EQ(Tokens(lexer, L"ELSE If iff"), L"10002:ELSE 10001:If 10000:iff 4:");
  lexer.SetDefaultKeywords();
  EXPECT_EQ(Tokens(lexer, L"if"), L"10000:if 4:");
}

// The line count starts at 0 and counts every line feed passed: between
// tokens, inside strings and in the raw reads.
TEST(LexerTest, LineCount) {
  LLF::Lexer lexer;
  Tokens(lexer, L"a\r\nb");
  EXPECT_EQ(lexer.GetLine(), 1);
  Tokens(lexer, L"\"x\ny\\\nz\" w\n");
  EXPECT_EQ(lexer.GetLine(), 3);
  lexer.SetText(L"one\ntwo");
  EXPECT_EQ(lexer.GetLine(), 0);  // a new text starts again
  std::wstring out;
  EXPECT_TRUE(lexer.ReadUntilChar(L'w', out));
  EXPECT_EQ(lexer.GetLine(), 1);
}

TEST(LexerTest, RawReadsAndPeek) {
  LLF::Lexer lexer;
  std::wstring out;

  lexer.SetText(L"ab\r\ncd");
  EXPECT_TRUE(lexer.ReadLine(out));
  EXPECT_EQ(out, L"ab");
  EXPECT_FALSE(lexer.ReadLine(out));
  EXPECT_EQ(out, L"cd");

  lexer.SetText(L"skip me\nrest");
  EXPECT_TRUE(lexer.SkipLine());
  EXPECT_EQ(lexer.NextToken().text, L"rest");

  // A lone double hyphen does not end the read; the cursor stays on "-->".
  lexer.SetText(L" a -- b \n-->x");
  EXPECT_TRUE(lexer.ReadUntil(L"-->", out));
  EXPECT_EQ(out, L" a -- b \n");
  EXPECT_EQ(lexer.GetCursor(), 9u);
  EXPECT_EQ(lexer.GetLine(), 1);
  EXPECT_FALSE(lexer.ReadUntil(L"?>", out));
  EXPECT_EQ(out, L"-->x");

  lexer.SetText(L"text<b");
  EXPECT_TRUE(lexer.ReadUntilChar(L'<', out));
  EXPECT_EQ(out, L"text");
  EXPECT_EQ(lexer.PeekChar(1), L'<');
  EXPECT_FALSE(lexer.ReadUntilChar(L'>', out));
  EXPECT_EQ(out, L"<b");

  lexer.SetText(L" a \r\n b c");
  EXPECT_EQ(lexer.PeekChar(1), L'a');
  EXPECT_EQ(lexer.PeekChar(2), L'b');
  EXPECT_EQ(lexer.PeekChar(4), L'\0');
  EXPECT_EQ(lexer.GetCursor(), 0u);  // peeking moves nothing
  lexer.SetText(L"");
  EXPECT_EQ(lexer.PeekChar(1), L'\0');
  EXPECT_EQ(lexer.NextToken().type, LLF::TOKEN_TYPE_END);
}

TEST(LexerTest, TablesAndDump) {
  LLF::Lexer lexer;
  EXPECT_TRUE(lexer.IsKindOf("Lexer") && lexer.IsKindOf("Object"));
  EXPECT_EQ(lexer.GetDelimiterCode(L'/'), 14);
  EXPECT_EQ(lexer.GetOperatorCode(L"--"), 9);
  EXPECT_EQ(lexer.GetOperatorCode(L"<"), 34);
  EXPECT_EQ(lexer.GetOperatorCode(L">="), 37);
  EXPECT_TRUE(lexer.IsDelimiter(L'\t'));
  EXPECT_FALSE(lexer.IsDelimiter(L'x'));
  lexer.SetDelimiters({L'#'});
  EXPECT_EQ(Tokens(lexer, L"1#,"), L"1:1 20001:# 0:, 4:");
  lexer.SetText(L"<a>");
  EXPECT_EQ(lexer.Dump(), L"Lexer: Text: <a>");
  lexer.Clear();
  EXPECT_EQ(lexer.GetText(), L"");
}

}  // namespace
