#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/Format.h"
#include "core/StringUtils.h"

namespace {

using LLF::Format;

// Each row: what Format produced and what it must produce.
void ExpectRows(const std::vector<std::pair<std::wstring, std::wstring>>& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
  }
}

TEST(FormatTest, StringsOfEveryKind) {
  const std::wstring wide = L"wide \u00E9";
  const std::string narrow = "narrow";
  const wchar_t* nullWide = nullptr;
  ExpectRows({
      {Format(L"%s|%s|%s|%s", wide, L"literal", narrow, "chars"), L"wide \u00E9|literal|narrow|chars"},
      // Narrow text is read as ANSI: UTF-8 when valid, else Windows-1252.
      {Format(L"%s %s", "caf\xC3\xA9", "caf\xE9 \x80"), L"caf\u00E9 caf\u00E9 \u20AC"},
      {Format(L"%ls %hs %S %ws", L"a", "b", L"c", L"d"), L"a b c d"},
      {Format(L"[%5s][%-5s][%.2s][%6.3s]", L"ab", L"ab", L"abcdef", L"abcdef"),
       L"[   ab][ab   ][ab][   abc]"},
      {Format(L"%s", nullWide), L"(null)"},
      {Format(L"%s", L"\U0001F600"), L"\U0001F600"},
      {Format(L"%c%c%c%c", L'Z', 'a', static_cast<wchar_t>(0x1F600), '\xE9'), L"Za\U0001F600\u00E9"},
      {Format(L"[%3c][%-3c]", L'x', L'y'), L"[  x][y  ]"},
      {Format(L"100%% sure, 50%"), L"100% sure, 50%"},
  });
}

TEST(FormatTest, Integers) {
  ExpectRows({
      {Format(L"%d %i %u", -5, 42, 7u), L"-5 42 7"},
      {Format(L"%u %x %X", -1, -1, 255), L"4294967295 ffffffff FF"},
      {Format(L"%X", -1LL), L"FFFFFFFFFFFFFFFF"},
      {Format(L"%x", static_cast<short>(-1)), L"ffff"},
      {Format(L"0x%08X", 0xBEEFu), L"0x0000BEEF"},
      {Format(L"%#x %#X %#o %o", 255, 255, 8, 8), L"0xff 0XFF 010 10"},
      {Format(L"%+d % d %+d", 5, 5, -5), L"+5  5 -5"},
      {Format(L"[%-5d][%5d][%05d][%-05d]", 7, 7, -42, 3), L"[7    ][    7][-0042][3    ]"},
      {Format(L"[%.3d][%5.3d][%.0d][%08.3d]", 7, -7, 0, 5), L"[007][ -007][][     005]"},
      {Format(L"%ld %lld %I64d %I64u %zu %hd", 1L, 1LL << 40, -(1LL << 40), 1ULL << 63, size_t{3}, 12),
       L"1 1099511627776 -1099511627776 9223372036854775808 3 12"},
      {Format(L"%d %d", true, false), L"1 0"},
      {Format(L"%02d.%02d.%4d / %02d:%02d:%02d ", 12, 7, 2026, 22, 38, 0), L"12.07.2026 / 22:38:00 "},
  });
}

TEST(FormatTest, FloatingPoint) {
  ExpectRows({
      {Format(L"%f %.2f %.0f", 1.5, 3.14159, 2.5f), L"1.500000 3.14 2"},
      {Format(L"[%8.3f][%-8.1f][%+.1f][%08.2f]", 3.14159, 2.0, 2.0, -1.5),
       L"[   3.142][2.0     ][+2.0][-0001.50]"},
      // Exponents with three digits, as the number text forms write them.
      {Format(L"%e %E %g %G", 1e6, 1.5e-7, 1e6, 1e-10), L"1.000000e+006 1.500000E-007 1e+006 1E-010"},
      {Format(L"%g %g %g", 0.5, 100.0, 123456789.0), L"0.5 100 1.23457e+008"},
      {Format(L"[%012.3e]", -1.5), L"[-01.500e+000]"},
      {Format(L"%f %f", 1.0 / 0.0, -1.0 / 0.0), L"inf -inf"},
      {Format(L"[%06f]", 1.0 / 0.0), L"[   inf]"},  // no zeros before a word
  });
}

TEST(FormatTest, StarWidthAndPrecision) {
  ExpectRows({
      {Format(L"[%*d][%-*d][%*d]", 5, 42, 4, 1, -3, 9), L"[   42][1   ][9  ]"},
      {Format(L"[%.*s][%.*f][%.*s]", 3, L"abcdef", 1, 2.25, -1, L"all"), L"[abc][2.2][all]"},
  });
  // A huge width from an argument is clamped instead of allocated.
  EXPECT_EQ(Format(L"%*d", 1000000000, 1).size(), 4096u);
  EXPECT_EQ(Format(L"%999999999999d", 1).size(), 4096u);
}

// A format that does not match its arguments gives a readable result and
// never reads beyond them.
TEST(FormatTest, MismatchedOrMissingArguments) {
  int untouched = 17;
  ExpectRows({
      {Format(L"%d|%s|%s|%f|%d|%c", L"text", 42, 1.5, 3, 2.9, L"xyz"), L"text|42|1.5|3.000000|2|x"},
      {Format(L"%x %s", 3.0, -7), L"3 -7"},
      {Format(L"%d and %s and %5.2f", 1), L"1 and %s and %5.2f"},
      {Format(L"%y %"), L"%y %"},
      {Format(L"a%nb", &untouched), L"ab"},
      {Format(L"%d", 1, 2, 3), L"1"},
      {Format(L"%p", reinterpret_cast<void*>(0x1234)), std::wstring(sizeof(void*) * 2 - 4, L'0') + L"1234"},
      {Format(L"%p", nullptr), std::wstring(sizeof(void*) * 2, L'0')},
  });
  EXPECT_EQ(untouched, 17);
  EXPECT_EQ(Format(nullptr, 1), L"");
}

TEST(FormatTest, LongResultsAreWhole) {
  const std::wstring text(3000, L'a');
  EXPECT_EQ(Format(L"<%s>", text), L"<" + text + L">");
  EXPECT_EQ(Format(L"%.3000f", 1.0).size(), 3002u);
}

}  // namespace
