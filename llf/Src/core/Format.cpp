#include "core/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "core/StringUtils.h"
#include "io/TextEncoding.h"

namespace LLF {
namespace FormatDetail {

namespace {

// Widths and precisions beyond this are clamped; a stray '*' argument must
// not make the formatter allocate gigabytes.
constexpr int kMaxWidth = 4096;

struct Directive {
  bool left = false;
  bool plus = false;
  bool blank = false;
  bool alt = false;
  bool zero = false;
  int width = 0;
  int precision = -1;  // -1: none given
  wchar_t conversion = 0;
};

bool IsIntegerConversion(wchar_t c) {
  return c == L'd' || c == L'i' || c == L'u' || c == L'o' || c == L'x' || c == L'X';
}

bool IsFloatConversion(wchar_t c) {
  return c == L'f' || c == L'F' || c == L'e' || c == L'E' || c == L'g' || c == L'G' || c == L'a' || c == L'A';
}

bool TakesArgument(wchar_t c) {
  return IsIntegerConversion(c) || IsFloatConversion(c) || c == L'c' || c == L'C' || c == L's' || c == L'S' ||
         c == L'p' || c == L'n';
}

// Pads body (which may start with a sign or a 0x prefix of prefixLength
// characters) to the width: blanks on the left or right, or zeros between
// prefix and digits.
void AppendPadded(std::wstring& out, const std::wstring& body, size_t prefixLength,
                  const Directive& directive, bool zeroAllowed) {
  const size_t width = static_cast<size_t>(directive.width);
  if (body.size() >= width) {
    out += body;
    return;
  }
  const size_t fill = width - body.size();
  if (directive.left) {
    out += body;
    out.append(fill, L' ');
  } else if (directive.zero && zeroAllowed) {
    out.append(body, 0, prefixLength);
    out.append(fill, L'0');
    out.append(body, prefixLength, std::wstring::npos);
  } else {
    out.append(fill, L' ');
    out += body;
  }
}

// The value of an integer argument read as unsigned: negative values in
// two's complement of the argument's own width, so %X of -1 gives FFFFFFFF.
unsigned long long AsUnsigned(long long value, unsigned bits) {
  const auto u = static_cast<unsigned long long>(value);
  return bits >= 64 ? u : (u & ((1ull << bits) - 1));
}

long long DoubleToInteger(double d) {
  if (std::isnan(d)) return 0;
  if (d >= 9.2233720368547758e18) return std::numeric_limits<long long>::max();
  if (d <= -9.2233720368547758e18) return std::numeric_limits<long long>::min();
  return static_cast<long long>(d);
}

void AppendInteger(std::wstring& out, bool negative, unsigned long long magnitude,
                   const Directive& directive) {
  unsigned base = 10;
  const wchar_t* digitSet = L"0123456789abcdef";
  if (directive.conversion == L'o') base = 8;
  if (directive.conversion == L'x' || directive.conversion == L'X' || directive.conversion == L'p') base = 16;
  if (directive.conversion == L'X' || directive.conversion == L'p') digitSet = L"0123456789ABCDEF";

  std::wstring digits;
  for (unsigned long long v = magnitude; v != 0; v /= base) digits.insert(digits.begin(), digitSet[v % base]);
  const size_t minDigits = directive.precision >= 0 ? static_cast<size_t>(directive.precision) : 1;
  if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), L'0');
  if (directive.conversion == L'o' && directive.alt && (digits.empty() || digits[0] != L'0'))
    digits.insert(0, 1, L'0');

  std::wstring prefix;
  if (negative) {
    prefix = L"-";
  } else if (directive.conversion == L'd' || directive.conversion == L'i') {
    if (directive.plus)
      prefix = L"+";
    else if (directive.blank)
      prefix = L" ";
  }
  if (directive.alt && magnitude != 0 && (directive.conversion == L'x' || directive.conversion == L'X')) {
    prefix += directive.conversion == L'x' ? L"0x" : L"0X";
  }
  AppendPadded(out, prefix + digits, prefix.size(), directive, directive.precision < 0);
}

void AppendFloat(std::wstring& out, double value, const Directive& directive) {
  char format[16];
  size_t n = 0;
  format[n++] = '%';
  if (directive.plus) format[n++] = '+';
  if (directive.blank) format[n++] = ' ';
  if (directive.alt) format[n++] = '#';
  format[n++] = '.';
  format[n++] = '*';
  format[n++] = static_cast<char>(directive.conversion);
  format[n] = '\0';
  const bool hex = directive.conversion == L'a' || directive.conversion == L'A';
  const int precision = directive.precision >= 0 ? directive.precision : (hex ? -1 : 6);

  char small[128];
  int length = std::snprintf(small, sizeof(small), format, precision, value);
  std::vector<char> large;
  const char* text = small;
  if (length >= static_cast<int>(sizeof(small))) {
    large.resize(static_cast<size_t>(length) + 1);
    std::snprintf(large.data(), large.size(), format, precision, value);
    text = large.data();
  } else if (length < 0) {
    return;
  }

  // Widen; the exponent of e and g forms gets three digits.
  std::wstring body;
  body.reserve(static_cast<size_t>(length) + 2);
  for (const char* p = text; *p; ++p) {
    body.push_back(static_cast<wchar_t>(*p));
    if (!hex && (*p == '+' || *p == '-') && p > text && (p[-1] == 'e' || p[-1] == 'E')) {
      const size_t expDigits = std::strlen(p + 1);
      if (expDigits < 3) body.append(3 - expDigits, L'0');
    }
  }
  size_t prefix = 0;
  if (!body.empty() && (body[0] == L'-' || body[0] == L'+' || body[0] == L' ')) prefix = 1;
  if (hex && body.size() >= prefix + 2 && body[prefix] == L'0' &&
      (body[prefix + 1] == L'x' || body[prefix + 1] == L'X')) {
    prefix += 2;
  }
  AppendPadded(out, body, prefix, directive, std::isfinite(value));
}

std::wstring StringOf(const Arg& a) {
  if (a.kind == Arg::kWide) {
    return a.p ? std::wstring(static_cast<const wchar_t*>(a.p), a.length) : std::wstring(L"(null)");
  }
  return a.p ? AnsiToWide(std::string(static_cast<const char*>(a.p), a.length)) : std::wstring(L"(null)");
}

void AppendString(std::wstring& out, std::wstring text, const Directive& directive) {
  if (directive.precision >= 0 && text.size() > static_cast<size_t>(directive.precision)) {
    text.resize(static_cast<size_t>(directive.precision));
  }
  AppendPadded(out, text, 0, directive, false);
}

wchar_t CharacterOf(const Arg& a) {
  long long value = 0;
  switch (a.kind) {
    case Arg::kSigned:
      // A narrow char holds a byte, whatever its signedness.
      value = a.bits == 8 ? static_cast<long long>(static_cast<unsigned char>(a.i)) : a.i;
      break;
    case Arg::kUnsigned:
      value = a.u > 0x10FFFF ? -1 : static_cast<long long>(a.u);
      break;
    case Arg::kFloat:
      value = DoubleToInteger(a.d);
      break;
    default:
      return kReplacementChar;
  }
  return (value < 0 || value > 0x10FFFF) ? kReplacementChar : static_cast<wchar_t>(value);
}

void AppendArgument(std::wstring& out, Directive directive, const Arg& a) {
  const wchar_t c = directive.conversion;
  const bool isString = a.kind == Arg::kWide || a.kind == Arg::kNarrow;

  if (c == L's' || c == L'S' || (isString && c != L'c' && c != L'C' && c != L'p')) {
    if (isString) {
      AppendString(out, StringOf(a), directive);
      return;
    }
    // A number given for %s: its plain form.
    Directive plain = directive;
    plain.precision = -1;
    plain.conversion = a.kind == Arg::kFloat ? L'g' : (a.kind == Arg::kPointer ? L'p' : L'd');
    AppendArgument(out, plain, a);
    return;
  }
  if (c == L'c' || c == L'C') {
    if (isString) {
      const std::wstring text = StringOf(a);
      AppendString(out, text.substr(0, 1), directive);
      return;
    }
    AppendString(out, std::wstring(1, CharacterOf(a)), directive);
    return;
  }
  if (c == L'p') {
    directive.precision = static_cast<int>(sizeof(void*) * 2);
    unsigned long long value = 0;
    if (a.kind == Arg::kPointer)
      value = reinterpret_cast<uintptr_t>(a.p);
    else if (a.kind == Arg::kSigned)
      value = AsUnsigned(a.i, a.bits);
    else if (a.kind == Arg::kUnsigned)
      value = a.u;
    AppendInteger(out, false, value, directive);
    return;
  }
  if (IsFloatConversion(c)) {
    double value = a.d;
    if (a.kind == Arg::kSigned)
      value = static_cast<double>(a.i);
    else if (a.kind == Arg::kUnsigned)
      value = static_cast<double>(a.u);
    else if (a.kind == Arg::kPointer)
      value = static_cast<double>(reinterpret_cast<uintptr_t>(a.p));
    AppendFloat(out, value, directive);
    return;
  }
  // Integer conversions.
  const bool isSigned = c == L'd' || c == L'i';
  long long s = 0;
  unsigned long long u = 0;
  switch (a.kind) {
    case Arg::kSigned:
      s = a.i;
      u = AsUnsigned(a.i, a.bits);
      break;
    case Arg::kUnsigned:
      u = a.u;
      break;
    case Arg::kFloat:
      s = DoubleToInteger(a.d);
      u = AsUnsigned(s, 64);
      break;
    case Arg::kPointer:
      u = reinterpret_cast<uintptr_t>(a.p);
      break;
    default:
      break;
  }
  if (isSigned && (a.kind == Arg::kSigned || a.kind == Arg::kFloat)) {
    const bool negative = s < 0;
    const unsigned long long magnitude =
        negative ? 0ull - static_cast<unsigned long long>(s) : static_cast<unsigned long long>(s);
    AppendInteger(out, negative, magnitude, directive);
  } else {
    AppendInteger(out, false, u, directive);
  }
}

int ClampWidth(long long v) {
  return static_cast<int>(v > kMaxWidth ? kMaxWidth : v);
}

// Reads a '*' argument as a number; a missing or non-numeric one counts as 0.
long long StarValue(const Arg* args, size_t count, size_t& next) {
  if (next >= count) return 0;
  const Arg& a = args[next++];
  if (a.kind == Arg::kSigned) return a.i;
  if (a.kind == Arg::kUnsigned)
    return a.u > static_cast<unsigned long long>(kMaxWidth) ? kMaxWidth : static_cast<long long>(a.u);
  if (a.kind == Arg::kFloat) return DoubleToInteger(a.d);
  return 0;
}

}  // namespace

std::wstring FormatArgs(const wchar_t* format, const Arg* args, size_t count) {
  std::wstring out;
  if (!format) return out;
  size_t next = 0;
  const wchar_t* p = format;
  while (*p) {
    if (*p != L'%') {
      const wchar_t* run = p;
      while (*p && *p != L'%') ++p;
      out.append(run, static_cast<size_t>(p - run));
      continue;
    }
    const wchar_t* start = p++;
    Directive directive;
    for (;; ++p) {
      if (*p == L'-')
        directive.left = true;
      else if (*p == L'+')
        directive.plus = true;
      else if (*p == L' ')
        directive.blank = true;
      else if (*p == L'#')
        directive.alt = true;
      else if (*p == L'0')
        directive.zero = true;
      else
        break;
    }
    if (*p == L'*') {
      ++p;
      long long w = StarValue(args, count, next);
      if (w < 0) {
        directive.left = true;
        w = -w;
      }
      directive.width = ClampWidth(w);
    } else {
      long long w = 0;
      while (*p >= L'0' && *p <= L'9') w = std::min<long long>(w * 10 + (*p++ - L'0'), kMaxWidth);
      directive.width = static_cast<int>(w);
    }
    if (*p == L'.') {
      ++p;
      if (*p == L'*') {
        ++p;
        const long long v = StarValue(args, count, next);
        directive.precision = v < 0 ? -1 : ClampWidth(v);
      } else {
        long long v = 0;
        while (*p >= L'0' && *p <= L'9') v = std::min<long long>(v * 10 + (*p++ - L'0'), kMaxWidth);
        directive.precision = static_cast<int>(v);
      }
    }
    // Length modifiers, C's and the Windows runtime's.
    for (;;) {
      if (*p == L'h' || *p == L'l' || *p == L'L' || *p == L'q' || *p == L'j' || *p == L'z' || *p == L't' ||
          *p == L'w') {
        ++p;
      } else if (*p == L'I') {
        ++p;
        if ((p[0] == L'6' && p[1] == L'4') || (p[0] == L'3' && p[1] == L'2')) p += 2;
      } else {
        break;
      }
    }
    directive.conversion = *p;
    if (*p == L'%') {
      out.push_back(L'%');
      ++p;
      continue;
    }
    if (!TakesArgument(*p)) {
      // Not a directive we know: keep its text.
      if (*p) ++p;
      out.append(start, static_cast<size_t>(p - start));
      continue;
    }
    ++p;
    if (next >= count) {
      out.append(start, static_cast<size_t>(p - start));
      continue;
    }
    const Arg& a = args[next++];
    if (directive.conversion == L'n') continue;  // never writes through an argument
    AppendArgument(out, directive, a);
  }
  return out;
}

}  // namespace FormatDetail
}  // namespace LLF
