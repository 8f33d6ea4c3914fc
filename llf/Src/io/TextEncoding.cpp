#include "io/TextEncoding.h"

#include <cstdint>

namespace LLF {

namespace {

constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

inline bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Reads one sequence at data[i]; returns its length (0 when invalid) and the
// code point. Surrogates are reported as such (the caller decides).
size_t ReadSequence(const unsigned char* p, size_t remaining, char32_t& cp) {
  const unsigned char c = p[0];
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  size_t length;
  char32_t min;
  if ((c & 0xE0) == 0xC0) {
    length = 2;
    cp = c & 0x1F;
    min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    length = 3;
    cp = c & 0x0F;
    min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    length = 4;
    cp = c & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (remaining < length) {
    return 0;
  }
  for (size_t k = 1; k < length; ++k) {
    if (!IsContinuation(p[k])) {
      return 0;
    }
    cp = (cp << 6) | (p[k] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF) {
    return 0;
  }
  return length;
}

inline bool IsHighSurrogate(char32_t cp) {
  return cp >= 0xD800 && cp <= 0xDBFF;
}
inline bool IsLowSurrogate(char32_t cp) {
  return cp >= 0xDC00 && cp <= 0xDFFF;
}

}  // namespace

void Utf8Append(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    cp = kReplacementChar;
  }
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Utf8Encode(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    // wchar_t is signed here; go through its unsigned value.
    Utf8Append(out, static_cast<char32_t>(static_cast<uint32_t>(c)));
  }
  return out;
}

bool IsValidUtf8(const char* data, size_t size) {
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  size_t i = 0;
  while (i < size) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    const size_t n = ReadSequence(p + i, size - i, cp);
    if (n == 0 || IsHighSurrogate(cp) || IsLowSurrogate(cp)) {
      return false;
    }
    i += n;
  }
  return true;
}

std::wstring Utf8Decode(const char* data, size_t size) {
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  // Never more characters than bytes; written through a pointer and cut to
  // length at the end, which keeps the per-character cost low.
  std::wstring out(size, L'\0');
  wchar_t* o = out.data();
  size_t i = 0;
  while (i < size) {
    if (p[i] < 0x80) {
      *o++ = static_cast<wchar_t>(p[i++]);
      continue;
    }
    char32_t cp;
    size_t n = ReadSequence(p + i, size - i, cp);
    if (n == 0) {
      *o++ = kReplacementChar;
      // Skip the lead byte and any continuation bytes that belong to it.
      ++i;
      while (i < size && IsContinuation(p[i])) ++i;
      continue;
    }
    if (IsHighSurrogate(cp)) {
      char32_t low;
      const size_t m = i + n < size ? ReadSequence(p + i + n, size - i - n, low) : 0;
      if (m != 0 && IsLowSurrogate(low)) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        n += m;
      } else {
        cp = kReplacementChar;
      }
    } else if (IsLowSurrogate(cp)) {
      cp = kReplacementChar;
    }
    *o++ = static_cast<wchar_t>(cp);
    i += n;
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

namespace {

inline char32_t Unit(const unsigned char* p, size_t bytes, bool bigEndian) {
  char32_t v = 0;
  for (size_t k = 0; k < bytes; ++k) {
    v |= static_cast<char32_t>(p[k]) << (8 * (bigEndian ? bytes - 1 - k : k));
  }
  return v;
}

inline void PutUnit(std::string& out, char32_t unit, size_t bytes, bool bigEndian) {
  for (size_t k = 0; k < bytes; ++k) {
    const size_t shift = 8 * (bigEndian ? bytes - 1 - k : k);
    out.push_back(static_cast<char>((unit >> shift) & 0xFF));
  }
}

}  // namespace

std::wstring Utf16Decode(const unsigned char* data, size_t size, bool bigEndian) {
  std::wstring out;
  out.reserve(size / 2 + 1);
  size_t i = 0;
  for (; i + 1 < size; i += 2) {
    char32_t u = Unit(data + i, 2, bigEndian);
    if (IsHighSurrogate(u)) {
      const char32_t low = i + 3 < size ? Unit(data + i + 2, 2, bigEndian) : 0;
      if (IsLowSurrogate(low)) {
        u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      } else {
        u = kReplacementChar;
      }
    } else if (IsLowSurrogate(u)) {
      u = kReplacementChar;
    }
    out.push_back(static_cast<wchar_t>(u));
  }
  if (i < size) out.push_back(kReplacementChar);
  return out;
}

std::string Utf16Encode(const std::wstring& text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (wchar_t c : text) {
    char32_t cp = static_cast<char32_t>(static_cast<uint32_t>(c));
    if (cp > 0x10FFFF || IsHighSurrogate(cp) || IsLowSurrogate(cp)) cp = kReplacementChar;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      PutUnit(out, 0xD800 + (cp >> 10), 2, bigEndian);
      PutUnit(out, 0xDC00 + (cp & 0x3FF), 2, bigEndian);
    } else {
      PutUnit(out, cp, 2, bigEndian);
    }
  }
  return out;
}

std::wstring Utf32Decode(const unsigned char* data, size_t size, bool bigEndian) {
  std::wstring out;
  out.reserve(size / 4 + 1);
  size_t i = 0;
  for (; i + 3 < size; i += 4) {
    char32_t u = Unit(data + i, 4, bigEndian);
    if (u > 0x10FFFF || IsHighSurrogate(u) || IsLowSurrogate(u)) u = kReplacementChar;
    out.push_back(static_cast<wchar_t>(u));
  }
  if (i < size) out.push_back(kReplacementChar);
  return out;
}

std::wstring Cp1252Decode(const char* data, size_t size) {
  std::wstring out;
  out.resize(size);
  for (size_t i = 0; i < size; ++i) {
    const auto c = static_cast<unsigned char>(data[i]);
    out[i] = (c >= 0x80 && c < 0xA0) ? static_cast<wchar_t>(kCp1252High[c - 0x80]) : static_cast<wchar_t>(c);
  }
  return out;
}

}  // namespace LLF
