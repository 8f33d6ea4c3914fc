#include "core/StringUtils.h"

#include <locale.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwctype>

#include "core/Format.h"
#include "io/TextEncoding.h"

namespace LLF {

namespace {

// A UTF-8 C locale for the wide case mapping, made once; the process locale
// stays "C" so numbers always use '.'.
locale_t CaseLocale() {
  static const locale_t loc = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (!l) l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(0));
    return l;
  }();
  return loc;
}

// Lets wide text be read with the narrow number routines: digits, signs and
// the rest of a number are ASCII; anything else ends the number. The whole
// number is copied, however long (leading zeros count for nothing).
size_t NarrowNumber(const std::wstring& s, size_t& pos, std::string& buf, bool allowFraction) {
  while (pos < s.size() && (IsSpace(s[pos]) || s[pos] == L'\f' || s[pos] == L'\v')) ++pos;
  buf.clear();
  auto put = [&](wchar_t c) { buf.push_back(static_cast<char>(c)); };
  size_t i = pos;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) put(s[i++]);
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    put(s[i++]);
    ++digits;
  }
  if (allowFraction) {
    if (i < s.size() && s[i] == L'.') {
      put(s[i++]);
      while (i < s.size() && IsDigit(s[i])) {
        put(s[i++]);
        ++digits;
      }
    }
    if (digits > 0 && i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
      size_t j = i + 1;
      if (j < s.size() && (s[j] == L'+' || s[j] == L'-')) ++j;
      if (j < s.size() && IsDigit(s[j])) {
        while (i < j) put(s[i++]);
        while (i < s.size() && IsDigit(s[i])) put(s[i++]);
      }
    }
  }
  pos = i;
  return digits;
}

bool ParseLong(const std::wstring& s, size_t& pos, long long& out) {
  std::string buf;
  if (NarrowNumber(s, pos, buf, false) == 0) {
    out = 0;
    return false;
  }
  out = std::strtoll(buf.c_str(), nullptr, 10);
  return true;
}

bool ParseDouble(const std::wstring& s, size_t& pos, double& out) {
  std::string buf;
  if (NarrowNumber(s, pos, buf, true) == 0) {
    out = 0.0;
    return false;
  }
  out = std::strtod(buf.c_str(), nullptr);
  return true;
}

int SaturateInt(long long v) {
  return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
}

// Reads up to count comma-separated components; returns how many commas the
// text has (at most count - 1 are used).
template <class T, size_t N>
size_t ReadComponents(const std::wstring& s, T (&out)[N]) {
  for (auto& v : out) v = T();
  size_t commas = 0;
  size_t start = 0;
  for (size_t k = 0; k < N; ++k) {
    const size_t comma = s.find(L',', start);
    const std::wstring part =
        s.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
    FromString(part, out[k]);
    if (comma == std::wstring::npos) break;
    ++commas;
    start = comma + 1;
  }
  return commas;
}

std::wstring Join(const std::wstring* parts, size_t count) {
  std::wstring out = parts[0];
  for (size_t i = 1; i < count; ++i) {
    out += L',';
    out += parts[i];
  }
  return out;
}

size_t LastSeparator(const std::wstring& path) {
  return path.find_last_of(L"\\/");
}

}  // namespace

bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

wchar_t CharToLower(wchar_t c) {
  if (c < 0x80) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
  }
  const locale_t loc = CaseLocale();
  return loc ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), loc)) : c;
}

wchar_t CharToUpper(wchar_t c) {
  if (c < 0x80) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
  }
  const locale_t loc = CaseLocale();
  return loc ? static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), loc)) : c;
}

std::wstring StrToLower(const std::wstring& s) {
  std::wstring out(s);
  for (auto& c : out) c = CharToLower(c);
  return out;
}

std::wstring StrToUpper(const std::wstring& s) {
  std::wstring out(s);
  for (auto& c : out) c = CharToUpper(c);
  return out;
}

bool StrEqualNoCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && CharToLower(a[i]) != CharToLower(b[i])) {
      return false;
    }
  }
  return true;
}

int StrCompareNoCase(const std::wstring& a, const std::wstring& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const wchar_t x = CharToLower(a[i]);
    const wchar_t y = CharToLower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StrIsTrue(const std::wstring& s) {
  return s == L"true";
}

std::wstring BoolToStr(bool value) {
  return value ? L"true" : L"false";
}

std::wstring StrCopy(const std::wstring& s) {
  return s;
}

std::wstring ToString(int value) {
  return std::to_wstring(value);
}

std::wstring ToString(unsigned value) {
  return std::to_wstring(value);
}

// Six significant digits; the exponent, when there is one, gets three
// digits as the stream of the original platform writes it.
std::wstring ToString(double value) {
  return Format(L"%g", value);
}

std::wstring ToString(float value) {
  return ToString(static_cast<double>(value));
}

std::wstring ToString(const int (&point)[2]) {
  return ToString(point[0]) + L',' + ToString(point[1]);
}

std::wstring ToString(const float (&vector)[2]) {
  return ToString(vector[0]) + L',' + ToString(vector[1]);
}

std::wstring ToString(const unsigned char (&color)[4]) {
  const std::wstring parts[4] = {ToString(unsigned(color[0])), ToString(unsigned(color[1])),
                                 ToString(unsigned(color[2])), ToString(unsigned(color[3]))};
  return Join(parts, 4);
}

std::wstring ToString(const int (&rect)[4]) {
  const std::wstring parts[4] = {ToString(rect[0]), ToString(rect[1]), ToString(rect[2]), ToString(rect[3])};
  return Join(parts, 4);
}

std::wstring ToString(const float (&rect)[4]) {
  const std::wstring parts[4] = {ToString(rect[0]), ToString(rect[1]), ToString(rect[2]), ToString(rect[3])};
  return Join(parts, 4);
}

std::wstring ToString(const Point& p) {
  return ToString(p.x) + L',' + ToString(p.y);
}

std::wstring ToString(const Vector2& v) {
  return ToString(v.x) + L',' + ToString(v.y);
}

std::wstring ToString(const Color& c) {
  const unsigned char bytes[4] = {c.r, c.g, c.b, c.a};
  return ToString(bytes);
}

std::wstring ToString(const Rect& r) {
  const int v[4] = {r.x, r.y, r.width, r.height};
  return ToString(v);
}

std::wstring ToString(const RectF& r) {
  const float v[4] = {r.x, r.y, r.width, r.height};
  return ToString(v);
}

std::wstring ToString(int value, wchar_t separator) {
  const bool negative = value < 0;
  const std::wstring digits = std::to_wstring(negative ? -static_cast<long long>(value) : value);
  std::wstring out;
  out.reserve(digits.size() + digits.size() / 3 + 1);
  size_t count = 0;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (count > 0 && count % 3 == 0) out.push_back(separator);
    out.push_back(*it);
    ++count;
  }
  if (negative) out.push_back(L'-');
  std::reverse(out.begin(), out.end());
  return out;
}

int FromString(const std::wstring& s) {
  int v;
  FromString(s, v);
  return v;
}

bool FromString(const std::wstring& s, int& out) {
  size_t pos = 0;
  long long v;
  const bool ok = ParseLong(s, pos, v);
  out = ok ? SaturateInt(v) : 0;
  return ok;
}

bool FromString(const std::wstring& s, unsigned& out) {
  size_t pos = 0;
  long long v;
  const bool ok = ParseLong(s, pos, v);
  if (!ok) {
    out = 0;
  } else if (v > static_cast<long long>(UINT_MAX) || v < -static_cast<long long>(UINT_MAX)) {
    out = UINT_MAX;
  } else {
    out = static_cast<unsigned>(v);  // "-1" wraps as the stream does
  }
  return ok;
}

bool FromString(const std::wstring& s, double& out) {
  size_t pos = 0;
  return ParseDouble(s, pos, out);
}

bool FromString(const std::wstring& s, float& out) {
  double d;
  const bool ok = FromString(s, d);
  out = static_cast<float>(d);
  return ok;
}

bool FromString(const std::wstring& s, int (&out)[2]) {
  out[0] = out[1] = 0;
  const size_t comma = s.find(L',');
  if (comma == std::wstring::npos) return false;
  FromString(s.substr(0, comma), out[0]);
  FromString(s.substr(comma + 1), out[1]);
  return true;
}

bool FromString(const std::wstring& s, float (&out)[2]) {
  out[0] = out[1] = 0.0f;
  const size_t comma = s.find(L',');
  if (comma == std::wstring::npos) return false;
  FromString(s.substr(0, comma), out[0]);
  FromString(s.substr(comma + 1), out[1]);
  return true;
}

bool FromString(const std::wstring& s, Point& out) {
  int v[2];
  const bool ok = FromString(s, v);
  out = Point(v[0], v[1]);
  return ok;
}

bool FromString(const std::wstring& s, Vector2& out) {
  float v[2];
  const bool ok = FromString(s, v);
  out = Vector2(v[0], v[1]);
  return ok;
}

bool FromString(const std::wstring& s, int (&out)[4]) {
  if (s.find(L',') == std::wstring::npos) {
    out[0] = out[1] = out[2] = out[3] = 0;
    return false;
  }
  return ReadComponents(s, out) == 3;
}

bool FromString(const std::wstring& s, float (&out)[4]) {
  if (s.find(L',') == std::wstring::npos) {
    out[0] = out[1] = out[2] = out[3] = 0.0f;
    return false;
  }
  return ReadComponents(s, out) == 3;
}

bool FromString(const std::wstring& s, Rect& out) {
  int v[4];
  const bool ok = FromString(s, v);
  out = Rect(v[0], v[1], v[2], v[3]);
  return ok;
}

bool FromString(const std::wstring& s, RectF& out) {
  float v[4];
  const bool ok = FromString(s, v);
  out = RectF(v[0], v[1], v[2], v[3]);
  return ok;
}

float StrToFloat(const std::wstring& s) {
  float v;
  FromString(s, v);
  return v;
}

unsigned StrToUnsigned(const std::wstring& s) {
  unsigned v;
  FromString(s, v);
  return v;
}

Color StrToColor(const std::wstring& s) {
  int v[4];
  const size_t commas = ReadComponents(s, v);
  if (commas < 2) {
    return Color(0, 0, 0, 255);
  }
  auto clamp = [](int x) { return static_cast<uint8_t>(x < 0 ? 0 : (x > 255 ? 255 : x)); };
  return Color(clamp(v[0]), clamp(v[1]), clamp(v[2]), commas >= 3 ? clamp(v[3]) : 255);
}

void StrToColor(const std::wstring& s, unsigned char (&out)[4]) {
  const Color c = StrToColor(s);
  out[0] = c.r;
  out[1] = c.g;
  out[2] = c.b;
  out[3] = c.a;
}

std::string WideToAnsi(const std::wstring& s) {
  return Utf8Encode(s);
}

std::wstring AnsiToWide(const char* s) {
  const size_t n = std::char_traits<char>::length(s);
  return IsValidUtf8(s, n) ? Utf8Decode(s, n) : Cp1252Decode(s, n);
}

std::wstring AnsiToWide(const std::string& s) {
  return AnsiToWide(s.c_str());
}

std::wstring ExtractFolder(const std::wstring& path) {
  const size_t sep = LastSeparator(path);
  return sep == std::wstring::npos ? std::wstring() : path.substr(0, sep + 1);
}

std::wstring ExtractFileName(const std::wstring& path) {
  const size_t sep = LastSeparator(path);
  return sep == std::wstring::npos ? path : path.substr(sep + 1);
}

std::string ToOsPath(const std::wstring& path) {
  std::string out = Utf8Encode(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::wstring FromOsPath(const std::string& path) {
  return Utf8Decode(path);
}

}  // namespace LLF
