#include "xml/XmlScanner.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "io/TextEncoding.h"
#include "xml/XmlDoc.h"
#include "xml/XmlText.h"

namespace LLF {

namespace {

// Character classes: the lexer's blanks and name characters, and the
// characters the value, text and comment scans stop at. Bytes above ASCII
// are kHigh (UTF-8 to decode); wide characters above ASCII are in no class.
enum : unsigned short {
  kBlank = 1,
  kNameStart = 2,
  kName = 4,
  kNul = 8,
  kQuote = 16,
  kBackslash = 32,
  kAmp = 64,
  kLess = 128,
  kDash = 256,
  kHigh = 512,
};

constexpr auto kClasses = [] {
  struct Table {
    unsigned short at[256] = {};
    constexpr void Set(unsigned char c, unsigned short cls) { at[c] = cls; }
  } t;
  for (const unsigned char c : {' ', '\t', '\r', '\n'}) t.Set(c, kBlank);
  for (unsigned char c = 'a'; c <= 'z'; ++c) t.Set(c, kNameStart | kName);
  for (unsigned char c = 'A'; c <= 'Z'; ++c) t.Set(c, kNameStart | kName);
  t.Set('_', kNameStart | kName);
  for (unsigned char c = '0'; c <= '9'; ++c) t.Set(c, kName);
  t.Set(0, kNul);
  t.Set('"', kQuote);
  t.Set('\\', kBackslash);
  t.Set('&', kAmp);
  t.Set('<', kLess);
  t.Set('-', kDash);
  for (int c = 0x80; c < 0x100; ++c) t.Set(static_cast<unsigned char>(c), kHigh);
  return t;
}();

// The code of a character: bytes and wide characters alike compare as
// unsigned.
template <class Char>
inline auto Code(Char c) {
  return static_cast<std::make_unsigned_t<Char>>(c);
}

template <class Char>
inline unsigned Class(Char c) {
  if constexpr (sizeof(Char) == 1) {
    return kClasses.at[Code(c)];
  } else {
    return Code(c) < 128 ? kClasses.at[Code(c)] : 0u;
  }
}

template <class Char>
inline bool Is(Char c, unsigned cls) {
  return (Class(c) & cls) != 0;
}

// The first character at or after p in one of the classes of stop.
template <class Char>
inline const Char* SkipUntil(const Char* p, unsigned stop) {
  while (!Is(*p, stop)) ++p;
  return p;
}

// Skips, sixteen bytes at a time, the bytes before end that are neither
// a, b, c, a NUL nor above ASCII; what it stops at is for the table-driven
// scan to judge. Wide text is left as it is.
template <char a, char b, char c, class Char>
inline const Char* SkipPlain(const Char* p, const Char* end) {
#if defined(__SSE2__)
  if constexpr (sizeof(Char) == 1) {
    const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b), vc = _mm_set1_epi8(c);
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)),
                                       _mm_or_si128(_mm_cmpeq_epi8(v, vc), _mm_cmpeq_epi8(v, zero)));
      // The sign bits mark the bytes above ASCII.
      const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(hit, v)));
      if (mask != 0) return p + __builtin_ctz(mask);
      p += 16;
    }
  }
#endif
  (void)end;
  return p;
}

template <class Char>
inline const Char* SkipBlanks(const Char* p) {
  while (Is(*p, kBlank)) ++p;
  return p;
}

template <class Char>
inline const Char* SkipName(const Char* p) {
  while (Is(*p, kName)) ++p;
  return p;
}

// The host of a whole-text read: children are read in place, and wherever
// the scanner stops the read ends.
template <class Char>
struct StopHost {
  bool ReadChild(XmlScanner<Char>& scanner, XmlElement* parent) { return scanner.ReadElement(parent, *this); }
  bool ReadRest(XmlScanner<Char>&, XmlElement*, XmlElement*, bool) { return false; }
};

}  // namespace

template <class Char>
int XmlScanner<Char>::GetLine() {
  // Line feeds are rare: hop from one to the next.
  const Char* const end = _text + _pos;
  for (const Char* p = _text + _linePos;
       p < end && (p = std::char_traits<Char>::find(p, static_cast<size_t>(end - p), Char('\n'))); ++p) {
    ++_line;
  }
  _linePos = _pos;
  return _line;
}

template <class Char>
void XmlScanner<Char>::Seek(size_t pos, int line) {
  _pos = pos;
  _line = line;
  _linePos = pos;
}

template <class Char>
bool XmlScanner<Char>::ReadDocument(XmlElement* root) {
  StopHost<Char> host;
  bool declared = false;
  for (;;) {
    const Char* p = SkipBlanks(_text + _pos);
    _pos = static_cast<size_t>(p - _text);
    if (*p == 0) return _pos == _size;  // an earlier NUL is left to the lexer
    if (p[0] != '<') return false;
    if (p[1] == '?') {
      if (declared) return false;
      const Char* q = p + 2;
      while (*q != 0 && !(q[0] == '?' && q[1] == '>')) ++q;
      if (*q == 0) return false;
      _pos = static_cast<size_t>(q + 2 - _text);
      declared = true;
    } else if (!ReadElement(root, host)) {
      return false;
    }
  }
}

template <class Char>
typename XmlScanner<Char>::Tag XmlScanner<Char>::ReadStartTag(XmlElement* parent, XmlElement*& element) {
  const Char* p = SkipBlanks(_text + _pos);
  if (p[0] != '<') return Tag::kStopped;
  if (p[1] == '!') return ReadComment(parent, p);
  const Char* const name = p + 1;
  if (!Is(*name, kNameStart)) return Tag::kStopped;
  const Char* const nameEnd = SkipName(name + 1);
  if (!Is(*nameEnd, kBlank) && *nameEnd != '/' && *nameEnd != '>') return Tag::kStopped;
  if (_depth >= XmlDoc::kMaxDepth) return Tag::kStopped;

  // The attributes are gathered first: the tree changes only once the
  // whole tag is read.
  _scratch.clear();
  bool empty = false;
  for (p = nameEnd;;) {
    p = SkipBlanks(p);
    if (Is(*p, kNameStart)) {
      const Char* const attribute = p;
      const Char* const attributeEnd = SkipName(p + 1);
      p = SkipBlanks(attributeEnd);
      if (*p != '=') return Tag::kStopped;
      p = SkipBlanks(p + 1);
      if (*p != '"') return Tag::kStopped;
      // The value is read where the attribute takes it from.
      auto& added = _scratch.emplace_back(_names.Get(attribute, attributeEnd), std::wstring());
      p = ReadValue(p + 1, added.second);
      if (!p) return Tag::kStopped;
    } else if (*p == '/') {
      p = SkipBlanks(p + 1);
      if (*p != '>') return Tag::kStopped;
      empty = true;
      ++p;
      break;
    } else if (*p == '>') {
      ++p;
      break;
    } else {
      return Tag::kStopped;
    }
  }
  element = parent->AppendChild(std::wstring(name, nameEnd));
  element->AdoptAttributes(_scratch);
  _pos = static_cast<size_t>(p - _text);
  return empty ? Tag::kComplete : Tag::kOpen;
}

template <class Char>
typename XmlScanner<Char>::Tag XmlScanner<Char>::ReadComment(XmlElement* parent, const Char* open) {
  if (open[2] != '-' || open[3] != '-') return Tag::kStopped;
  const Char* const begin = open + 4;
  const Char* p = begin;
  bool ascii = true;
  for (;; ++p) {
    p = SkipUntil(SkipPlain<'-', '-', '-'>(p, _text + _size), kDash | kNul | kHigh);
    if (*p == 0) return Tag::kStopped;
    if (*p == '-' && p[1] == '-' && p[2] == '>') break;
    ascii &= *p == '-';
  }
  std::wstring text;
  if (!MakeText(begin, p, false, ascii, text)) return Tag::kStopped;
  parent->AppendComment(std::move(text));
  _pos = static_cast<size_t>(p + 3 - _text);
  return Tag::kComplete;
}

template <class Char>
const Char* XmlScanner<Char>::ReadValue(const Char* p, std::wstring& value) {
  const Char* const begin = p;
  bool references = false;
  bool ascii = true;
  for (;; ++p) {
    p = SkipUntil(SkipPlain<'"', '\\', '&'>(p, _text + _size), kQuote | kBackslash | kAmp | kNul | kHigh);
    unsigned cls = Class(*p);
    if (cls & kQuote) break;
    // A backslash keeps the next character, whatever it is, in the value.
    if (cls & kBackslash) cls = Class(*++p);
    if (cls & kNul) return nullptr;
    references |= (cls & kAmp) != 0;
    ascii &= !(cls & kHigh);
  }
  if (!MakeText(begin, p, references, ascii, value)) return nullptr;
  return p + 1;
}

template <class Char>
typename XmlScanner<Char>::Content XmlScanner<Char>::PeekContent(bool childSeen) {
  const Char* p = SkipBlanks(_text + _pos);
  if (p[0] == '<') {
    if (p[1] == '/') return Content::kEnd;
    if (!Is(p[1], kNameStart) && p[1] != '!') return Content::kStopped;
    _pos = static_cast<size_t>(p - _text);
    return Content::kChild;
  }
  // Text after a child is an error, which the lexer reports.
  return p[0] == 0 || childSeen ? Content::kStopped : Content::kText;
}

template <class Char>
bool XmlScanner<Char>::ReadText(XmlElement* element) {
  // From the place on: blanks before the text belong to it.
  const Char* const begin = _text + _pos;
  const Char* p = begin;
  bool references = false;
  bool ascii = true;
  for (;; ++p) {
    p = SkipUntil(SkipPlain<'<', '&', '&'>(p, _text + _size), kLess | kAmp | kNul | kHigh);
    const unsigned cls = Class(*p);
    if (cls & kLess) break;
    if (cls & kNul) return false;
    references |= (cls & kAmp) != 0;
    ascii &= !(cls & kHigh);
  }
  std::wstring text;
  if (!MakeText(begin, p, references, ascii, text)) return false;
  element->SetText(std::move(text));
  _pos = static_cast<size_t>(p - _text);
  return true;
}

template <class Char>
bool XmlScanner<Char>::ReadEndTag(const XmlElement* element) {
  const Char* p = SkipBlanks(_text + _pos) + 2;  // past "</"
  for (const wchar_t c : element->GetName()) {
    if (static_cast<wchar_t>(*p) != c) return false;
    ++p;
  }
  if (Is(*p, kName)) return false;
  p = SkipBlanks(p);
  if (*p != '>') return false;
  _pos = static_cast<size_t>(p + 1 - _text);
  return true;
}

template <class Char>
bool XmlScanner<Char>::MakeText(const Char* begin, const Char* end, bool unescape, bool ascii,
                                std::wstring& out) {
  const size_t size = static_cast<size_t>(end - begin);
  std::wstring_view wide;
  if constexpr (std::is_same_v<Char, wchar_t>) {
    (void)ascii;
    if (!unescape) {
      out.assign(begin, size);
      return true;
    }
    wide = std::wstring_view(begin, size);
  } else {
    if (ascii) {
      if (!unescape) {
        out = std::wstring(begin, end);
        return true;
      }
      _decoded.assign(size, L'\0');
      std::copy(begin, end, _decoded.begin());
    } else {
      // Only text the decoder reads without a replacement is taken here.
      if (!IsValidUtf8(begin, size)) return false;
      if (!unescape) {
        out = Utf8Decode(begin, size);
        return true;
      }
      _decoded = Utf8Decode(begin, size);
    }
    wide = _decoded;
  }
  out.clear();
  out.reserve(wide.size());
  // An '&' without a ';' makes the lexer-driven reader log a warning.
  return AppendUnescapedText(out, wide);
}

template class XmlScanner<char>;
template class XmlScanner<wchar_t>;

}  // namespace LLF
