#pragma once
// Free functions over wide strings: character classes, case mapping and
// case-blind comparison, the text forms of numbers and value types (decimal,
// components separated by one comma without blanks), conversion to and from
// the ANSI code page, and path splitting. Stateless and lock-free.
#include <string>

#include "math/Color.h"
#include "math/Point.h"
#include "math/Rect.h"
#include "math/RectF.h"
#include "math/Vector2.h"

namespace LLF {

// Character classes and case
bool IsSpace(wchar_t c);  // space, tab, carriage return, line feed only
bool IsDigit(wchar_t c);  // '0' to '9' only
wchar_t CharToLower(wchar_t c);
wchar_t CharToUpper(wchar_t c);
std::wstring StrToLower(const std::wstring& s);
std::wstring StrToUpper(const std::wstring& s);
// False when the lengths differ, else true when every pair of characters is
// equal after lower-case mapping (beyond ASCII, independent of the locale).
bool StrEqualNoCase(const std::wstring& a, const std::wstring& b);
// Compares after lower-case mapping: negative, 0 or positive.
int StrCompareNoCase(const std::wstring& a, const std::wstring& b);
bool StrIsTrue(const std::wstring& s);  // exactly "true"
std::wstring BoolToStr(bool value);
std::wstring StrCopy(const std::wstring& s);

// Numbers and value types to text
std::wstring ToString(int value);
std::wstring ToString(unsigned value);
// At most six significant digits, trailing zeros dropped, exponent form when
// the exponent is below -4 or at least 6, written with its sign and three
// digits (one million is 1e+006).
std::wstring ToString(float value);
std::wstring ToString(double value);
std::wstring ToString(const int (&point)[2]);
std::wstring ToString(const float (&vector)[2]);
std::wstring ToString(const unsigned char (&color)[4]);
std::wstring ToString(const int (&rect)[4]);
std::wstring ToString(const float (&rect)[4]);
std::wstring ToString(const Point& p);
std::wstring ToString(const Vector2& v);
std::wstring ToString(const Color& c);
std::wstring ToString(const Rect& r);
std::wstring ToString(const RectF& r);
// Decimal with separator between groups of three digits from the right
// (1234567 with ',' gives 1,234,567); a negative value is grouped by its
// magnitude and prefixed with '-'.
std::wstring ToString(int value, wchar_t separator);

// Text to numbers and value types. Leading blanks are skipped; text that
// does not start with a number gives 0. Each returns whether a number was
// read. An int out of range saturates; "-1" read as unsigned wraps.
int FromString(const std::wstring& s);
bool FromString(const std::wstring& s, int& out);
bool FromString(const std::wstring& s, unsigned& out);
bool FromString(const std::wstring& s, float& out);
bool FromString(const std::wstring& s, double& out);
// "x,y": split at the first comma; without a comma (0, 0).
bool FromString(const std::wstring& s, Point& out);
bool FromString(const std::wstring& s, Vector2& out);
bool FromString(const std::wstring& s, int (&out)[2]);
bool FromString(const std::wstring& s, float (&out)[2]);
// "x,y,w,h": without a comma all zeros; missing components are 0.
bool FromString(const std::wstring& s, Rect& out);
bool FromString(const std::wstring& s, RectF& out);
bool FromString(const std::wstring& s, int (&out)[4]);
bool FromString(const std::wstring& s, float (&out)[4]);
float StrToFloat(const std::wstring& s);
unsigned StrToUnsigned(const std::wstring& s);
// "r,g,b" or "r,g,b,a" (a missing alpha is 255); fewer than two commas give
// opaque black. Components are clamped to 0..255.
Color StrToColor(const std::wstring& s);
void StrToColor(const std::wstring& s, unsigned char (&out)[4]);

// The ANSI code page: text is written as UTF-8; bytes are read as UTF-8 when
// the whole input is valid UTF-8, else as Windows-1252. Reading stops at the
// first zero byte.
std::string WideToAnsi(const std::wstring& s);
std::wstring AnsiToWide(const std::string& s);
std::wstring AnsiToWide(const char* s);

// Paths: '\' and '/' both separate; the later one counts.
std::wstring ExtractFolder(const std::wstring& path);    // up to and including the last separator
std::wstring ExtractFileName(const std::wstring& path);  // after the last separator
// A wide path as the operating system takes it: UTF-8 with '/' separators.
std::string ToOsPath(const std::wstring& path);
// An operating-system path (UTF-8) as wide text.
std::wstring FromOsPath(const std::string& path);

}  // namespace LLF
