#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/StringUtils.h"
#include "io/TextEncoding.h"

namespace {

TEST(StringUtilsTest, CharacterClassesAndCase) {
  EXPECT_TRUE(LLF::IsSpace(L' ') && LLF::IsSpace(L'\t') && LLF::IsSpace(L'\r') && LLF::IsSpace(L'\n'));
  EXPECT_FALSE(LLF::IsSpace(L'\f'));
  EXPECT_FALSE(LLF::IsSpace(0x00A0));
  EXPECT_FALSE(LLF::IsDigit(0x0661));  // Arabic-Indic one is not a digit here
  struct Case {
    std::wstring a, b;
    bool equal;
  } cases[] = {
      {L"ABC", L"abc", true},
      {L"abc", L"abcd", false},
      {L"\u00C4PFEL", L"\u00E4pfel", true},                  // Latin-1 beyond ASCII
      {L"\u041C\u0418\u0420", L"\u043C\u0438\u0440", true},  // Cyrillic
      {L"\u03A3", L"\u03C3", true},                          // Greek
      {L"stra\u00DFe", L"STRASSE", false},                   // no length-changing folds
      {L"a", L"b", false},
      {L"", L"", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LLF::StrEqualNoCase(c.a, c.b), c.equal) << LLF::WideToAnsi(c.a);
  }
  EXPECT_EQ(LLF::StrToLower(L"\u00C9T\u00C9 Z"), L"\u00E9t\u00E9 z");
  EXPECT_EQ(LLF::StrToUpper(L"\u0434a"), L"\u0414A");
  EXPECT_LT(LLF::StrCompareNoCase(L"apple", L"Banana"), 0);
  EXPECT_EQ(LLF::StrCompareNoCase(L"\u00C4", L"\u00E4"), 0);

  EXPECT_TRUE(LLF::StrIsTrue(L"true"));
  for (const wchar_t* no : {L"True", L"1", L"true ", L"", L"TRUE"}) EXPECT_FALSE(LLF::StrIsTrue(no)) << no;
  EXPECT_EQ(LLF::BoolToStr(true), L"true");
  EXPECT_EQ(LLF::BoolToStr(false), L"false");
}

// Text forms in both directions: what a value writes and what a text reads.
TEST(StringUtilsTest, TextForms) {
  EXPECT_EQ(LLF::ToString(-42), L"-42");
  EXPECT_EQ(LLF::ToString(4000000000u), L"4000000000");
  struct FloatCase {
    float value;
    const wchar_t* text;
  } floats[] = {{0.5f, L"0.5"},         {100.0f, L"100"},   {1e6f, L"1e+006"},    {123456.0f, L"123456"},
                {1.5e-5f, L"1.5e-005"}, {-2.25f, L"-2.25"}, {0.0001f, L"0.0001"}, {3.14159265f, L"3.14159"}};
  for (const auto& c : floats) {
    EXPECT_EQ(LLF::ToString(c.value), c.text);
    EXPECT_FLOAT_EQ(LLF::StrToFloat(c.text), std::stof(LLF::WideToAnsi(c.text)));
  }
  EXPECT_EQ(LLF::ToString(3.14159265), L"3.14159");

  const int point[2] = {10, 20};
  const float vec[2] = {0.5f, -1.0f};
  const unsigned char color[4] = {255, 0, 16, 128};
  const int rect[4] = {1, -2, 30, 40};
  EXPECT_EQ(LLF::ToString(point), L"10,20");
  EXPECT_EQ(LLF::ToString(vec), L"0.5,-1");
  EXPECT_EQ(LLF::ToString(color), L"255,0,16,128");
  EXPECT_EQ(LLF::ToString(rect), L"1,-2,30,40");
  EXPECT_EQ(LLF::ToString(LLF::Color(1, 2, 3, 4)), L"1,2,3,4");
  EXPECT_EQ(LLF::ToString(LLF::RectF(0.5f, 1, 2, 3)), L"0.5,1,2,3");

  struct GroupCase {
    int value;
    const wchar_t* text;
  } groups[] = {{0, L"0"},          {999, L"999"},
                {1000, L"1,000"},   {1234567, L"1,234,567"},
                {-1234, L"-1,234"}, {INT_MIN, L"-2,147,483,648"}};
  for (const auto& c : groups) EXPECT_EQ(LLF::ToString(c.value, L','), c.text);
  EXPECT_EQ(LLF::ToString(1234567, L' '), L"1 234 567");

  struct IntCase {
    const wchar_t* text;
    int value;
  } ints[] = {{L"12", 12},
              {L"  -7x", -7},
              {L"+3", 3},
              {L"abc", 0},
              {L"", 0},
              {L"99999999999", INT_MAX},
              {L"-99999999999", INT_MIN},
              {L"1.9", 1}};
  for (const auto& c : ints) EXPECT_EQ(LLF::FromString(c.text), c.value) << c.text;
  EXPECT_EQ(LLF::StrToUnsigned(L"-1"), 4294967295u);
  // Long texts are read whole, however many digits come first.
  const std::wstring zeros(200, L'0');
  EXPECT_EQ(LLF::FromString(zeros + L"42"), 42);
  EXPECT_EQ(LLF::FromString(L"-" + zeros + L"7"), -7);
  EXPECT_EQ(LLF::FromString(L"1" + zeros), INT_MAX);
  EXPECT_EQ(LLF::StrToUnsigned(zeros + L"4000000000"), 4000000000u);
  double d = 0;
  EXPECT_TRUE(LLF::FromString(zeros + L"0.25", d));
  EXPECT_DOUBLE_EQ(d, 0.25);
  EXPECT_TRUE(LLF::FromString(L"0." + zeros + L"1e205", d));
  EXPECT_DOUBLE_EQ(d, 1e4);

  LLF::Point p(9, 9);
  LLF::FromString(L"12", p);
  EXPECT_EQ(p, LLF::Point(0, 0));
  LLF::FromString(L"12,-3", p);
  EXPECT_EQ(p, LLF::Point(12, -3));
  LLF::Vector2 v;
  LLF::FromString(L"0.25,1e+006", v);
  EXPECT_EQ(v, LLF::Vector2(0.25f, 1e6f));
  LLF::Rect r(1, 1, 1, 1);
  LLF::FromString(L"5", r);
  EXPECT_EQ(r, LLF::Rect(0, 0, 0, 0));
  LLF::FromString(L"5,6,7,8", r);
  EXPECT_EQ(r, LLF::Rect(5, 6, 7, 8));
  LLF::RectF rf;
  LLF::FromString(L"0.5,1.5,2,3", rf);
  EXPECT_FLOAT_EQ(rf.y, 1.5f);
  EXPECT_FLOAT_EQ(rf.height, 3.0f);

  struct ColorCase {
    const wchar_t* text;
    LLF::Color color;
  } colors[] = {{L"10,20,30", {10, 20, 30, 255}},
                {L"10,20,30,40", {10, 20, 30, 40}},
                {L"10,20", {0, 0, 0, 255}},
                {L"", {0, 0, 0, 255}},
                {L"300,-5,1", {255, 0, 1, 255}}};
  for (const auto& c : colors) EXPECT_EQ(LLF::StrToColor(c.text), c.color) << c.text;
  // Every written form reads back.
  EXPECT_EQ(LLF::StrToColor(LLF::ToString(LLF::Color(7, 8, 9, 10))), LLF::Color(7, 8, 9, 10));
}

TEST(StringUtilsTest, AnsiAndPaths) {
  EXPECT_EQ(LLF::AnsiToWide(std::string("caf\xC3\xA9")), L"caf\u00E9");  // valid UTF-8
  EXPECT_EQ(LLF::AnsiToWide(std::string("caf\xE9")), L"caf\u00E9");      // Windows-1252
  EXPECT_EQ(LLF::AnsiToWide(std::string("\x80\x9F\x81")), L"\u20AC\u0178\u0081");
  EXPECT_EQ(LLF::AnsiToWide(std::string("ab\0cd", 5)), L"ab");
  EXPECT_EQ(LLF::WideToAnsi(L"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(LLF::AnsiToWide(LLF::WideToAnsi(L"\U0001F600x")), L"\U0001F600x");

  EXPECT_EQ(LLF::Utf8Decode(std::string("a\xFF"
                                        "b")),
            L"a\uFFFDb");
  EXPECT_EQ(LLF::Utf8Decode(std::string("\xE2\x82")), L"\uFFFD");                      // truncated
  EXPECT_EQ(LLF::Utf8Decode(std::string("\xC0\xAF")), L"\uFFFD");                      // overlong
  EXPECT_EQ(LLF::Utf8Decode(std::string("\xED\xA0\xBD\xED\xB8\x80")), L"\U0001F600");  // joined pair
  EXPECT_FALSE(LLF::IsValidUtf8("\xED\xA0\x80", 3));

  struct PathCase {
    const wchar_t* path;
    const wchar_t* folder;
    const wchar_t* file;
  } paths[] = {{L"a/b\\c.txt", L"a/b\\", L"c.txt"},
               {L"a\\b/c.txt", L"a\\b/", L"c.txt"},
               {L"file.png", L"", L"file.png"},
               {L"dir/", L"dir/", L""}};
  for (const auto& c : paths) {
    EXPECT_EQ(LLF::ExtractFolder(c.path), c.folder) << c.path;
    EXPECT_EQ(LLF::ExtractFileName(c.path), c.file) << c.path;
  }
  EXPECT_EQ(LLF::ToOsPath(L"scripts\\dialogs\\\u00FCber.xml"),
            "scripts/dialogs/\xC3\xBC"
            "ber.xml");
}

}  // namespace
