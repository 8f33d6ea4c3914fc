#include "xml/XmlScanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/StringUtils.h"
#include "io/TextEncoding.h"
#include "xml/Lexer.h"
#include "xml/XmlDoc.h"
#include "xml/XmlText.h"

namespace LLF {

namespace {

// Character classes: the lexer's blanks, identifier characters, the
// characters that end an identifier token (blanks, delimiters, operator
// characters of the reader's table), and the characters the value, text and
// comment scans stop at. Bytes above ASCII are kHigh (UTF-8 to decode);
// wide characters above ASCII are in no class.
enum : unsigned short {
  kBlank = 1,
  kNameStart = 2,
  kName = 4,
  kEndsName = 8,
  kNul = 16,
  kQuote = 32,
  kBackslash = 64,
  kAmp = 128,
  kLess = 256,
  kDash = 512,
  kHigh = 1024,
};

constexpr auto kClasses = [] {
  struct Table {
    unsigned short at[256] = {};
    constexpr void Add(unsigned char c, unsigned short cls) { at[c] |= cls; }
  } t;
  for (const unsigned char c : {' ', '\t', '\r', '\n'}) t.Add(c, kBlank | kEndsName);
  for (unsigned char c = 'a'; c <= 'z'; ++c) t.Add(c, kNameStart | kName);
  for (unsigned char c = 'A'; c <= 'Z'; ++c) t.Add(c, kNameStart | kName);
  t.Add('_', kNameStart | kName);
  for (unsigned char c = '0'; c <= '9'; ++c) t.Add(c, kName);
  // The lexer's delimiters and the reader's operator characters; the end
  // of the text ends a name too.
  for (const unsigned char c : {':', ',', '"', '\'', '[', ']', '{', '}', '(', ')', ';', '.', '?', '/'}) {
    t.Add(c, kEndsName);
  }
  for (const unsigned char c : {'-', '!', '=', '<', '>'}) t.Add(c, kEndsName);
  t.Add(0, kNul | kEndsName);
  t.Add('"', kQuote);
  t.Add('\\', kBackslash);
  t.Add('&', kAmp);
  t.Add('<', kLess);
  t.Add('-', kDash);
  for (int c = 0x80; c < 0x100; ++c) t.Add(static_cast<unsigned char>(c), kHigh);
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

// SkipName, sixteen bytes at a time where end allows.
template <class Char>
inline const Char* SkipNameFast(const Char* p, const Char* end) {
#if defined(__SSE2__)
  if constexpr (sizeof(Char) == 1) {
    while (end - p >= 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      // Signed compares: bytes above ASCII are negative and match nothing.
      const __m128i lower = _mm_or_si128(v, _mm_set1_epi8(0x20));
      const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                           _mm_cmplt_epi8(lower, _mm_set1_epi8('z' + 1)));
      const __m128i digit =
          _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('9' + 1)));
      const __m128i name = _mm_or_si128(_mm_or_si128(letter, digit), _mm_cmpeq_epi8(v, _mm_set1_epi8('_')));
      const unsigned rest = ~static_cast<unsigned>(_mm_movemask_epi8(name)) & 0xFFFFu;
      if (rest != 0) return p + __builtin_ctz(rest);
      p += 16;
    }
  }
#endif
  (void)end;
  return SkipName(p);
}

// The first place at or after p where the ASCII text term begins, or the
// NUL that ends the text first.
template <class Char>
const Char* Find(const Char* p, const char* term) {
  for (;; ++p) {
    if (*p == 0) return p;
    size_t i = 0;
    while (term[i] != 0 && p[i] == static_cast<Char>(term[i])) ++i;
    if (term[i] == 0) return p;
  }
}

// Wide characters of [begin, end): bytes are decoded as UTF-8.
template <class Char>
std::wstring Wide(const Char* begin, const Char* end) {
  if constexpr (sizeof(Char) == 1) {
    return Utf8Decode(begin, static_cast<size_t>(end - begin));
  } else {
    return std::wstring(begin, end);
  }
}

// Copies ASCII bytes or wide characters into wide ones.
template <class Char>
inline void Widen(const Char* begin, const Char* end, wchar_t* out) {
  if constexpr (sizeof(Char) == 1) {
    for (const Char* p = begin; p < end; ++p) *out++ = static_cast<wchar_t>(static_cast<unsigned char>(*p));
  } else {
    std::copy(begin, end, out);
  }
}

const wchar_t* const kWarning = L"Warning: XML file include incorect special symbols coding. Wrong value: ";

}  // namespace

template <class Char>
int XmlScanner<Char>::LineAt(const Char* p) {
  size_t pos = static_cast<size_t>(p - _text);
  if (pos < _linePos) {  // never needed going forward; counted afresh
    _line -= static_cast<int>(std::count(_text + pos, _text + _linePos, Char('\n')));
    _linePos = pos;
  }
  // Line feeds are rare: hop from one to the next.
  const Char* const end = p;
  for (const Char* q = _text + _linePos;
       q < end && (q = std::char_traits<Char>::find(q, static_cast<size_t>(end - q), Char('\n'))); ++q) {
    ++_line;
  }
  _linePos = pos;
  return _line;
}

template <class Char>
bool XmlScanner<Char>::Expected(const wchar_t* what, const Char* at) {
  // The token the lexer reads there (after any blanks).
  const std::wstring rest = Wide(at, _text + _size);
  Lexer lexer;
  lexer.SetOperators({L"--", L"!", L"=", L"<", L">"});
  lexer.BorrowText(rest);
  const Token& token = lexer.Advance();
  const int line = LineAt(at) + lexer.GetLine();
  WriteXmlLogLine(std::wstring(L"Expected ") + what + L", found " + token.text + L". Line: " +
                  ToString(line));
  return false;
}

template <class Char>
bool XmlScanner<Char>::Fail(const wchar_t* line) {
  WriteXmlLogLine(line);
  return false;
}

template <class Char>
const Char* XmlScanner<Char>::CharEnd(const Char* p) const {
  if constexpr (sizeof(Char) == 1) {
    if (Is(*p, kHigh)) {
      // A run of bytes above ASCII decodes on its own; the first character
      // ends it only when the run gives no other.
      const Char* end = p;
      while (Is(*end, kHigh)) ++end;
      return Utf8Decode(p, static_cast<size_t>(end - p)).size() == 1 ? end : p + 1;
    }
  }
  return p + 1;
}

template <class Char>
typename XmlScanner<Char>::Outcome XmlScanner<Char>::ReadDocument(XmlElement* root) {
  bool declared = false;
  for (;;) {
    const Char* p = SkipBlanks(_text + _pos);
    _pos = static_cast<size_t>(p - _text);
    if (*p == 0) {
      if (_pos == _size) return Outcome::kRead;
      Expected(L"TOKEN_TYPE_OP_LESS", p);  // a NUL inside the text
      return Outcome::kFailed;
    }
    const Char* second = SkipBlanks(CharEnd(p));
    if (*second == 0) {
      Fail(L"Unexpected end of file.");
      return Outcome::kFailed;
    }
    if (*p == '<' && *second == '?') {
      if (declared) {
        Fail(L"Unexpected <? sequence. Information is allowed only once at the beginning.");
        return Outcome::kFailedAndCleared;
      }
      // The declaration's content is not used.
      const Char* end = Find(second + 1, "?>");
      if (*end == 0) {
        _pos = static_cast<size_t>(end - _text);
        Fail(L"Unexpected end of file while looking for '?>'.");
        return Outcome::kFailed;
      }
      _pos = static_cast<size_t>(end + 2 - _text);
      declared = true;
    } else if (*p == '<') {
      const bool read = ReadElementAt(p, 1);
      Collect(root, 0);
      if (!read) return Outcome::kFailedAndCleared;
    } else {
      Expected(L"TOKEN_TYPE_OP_LESS", p);  // text outside any element
      return Outcome::kFailed;
    }
  }
}

template <class Char>
bool XmlScanner<Char>::ReadElement(XmlElement* parent) {
  const Char* p = SkipBlanks(_text + _pos);
  if (*p != '<') return Expected(L"TOKEN_TYPE_OP_LESS", p);
  const size_t mark = _pending.size();
  const bool read = ReadElementAt(p, 1);
  Collect(parent, mark);
  return read;
}

template <class Char>
void XmlScanner<Char>::Collect(XmlElement* parent, size_t mark) {
  auto& children = parent->_children;
  const size_t count = _pending.size() - mark;
  if (count == 0) return;
  children.reserve(children.size() + count);
  for (size_t i = mark; i < _pending.size(); ++i) children.push_back(std::move(_pending[i]));
  _pending.resize(mark);
}

template <class Char>
bool XmlScanner<Char>::ReadElementAt(const Char* p, int depth) {
  const Char* const name = SkipBlanks(p + 1);
  if (*name == '!') return ReadComment(name, SkipBlanks(name + 1));
  if (!Is(*name, kNameStart)) return Expected(L"TOKEN_TYPE_IDENT", name);
  const Char* const nameEnd = SkipNameFast(name + 1, _text + _size);
  if (!Is(*nameEnd, kEndsName))
    return Expected(L"TOKEN_TYPE_IDENT", name);  // a name run into another character
  if (depth > XmlDoc::kMaxDepth) {
    WriteXmlLogLine(L"Elements nested deeper than " + ToString(XmlDoc::kMaxDepth) + L" levels. Line: " +
                    ToString(LineAt(nameEnd)));
    return false;
  }
  const std::wstring* interned = _names.Get(name, nameEnd, Readable(name));
  XmlElement* element = interned ? new (_arena) XmlElement(XmlElement::Named{}, interned)
                                 : new (_arena) XmlElement(XmlElement::Named{}, Wide(name, nameEnd));
  _pending.emplace_back(element);
  const Char* q = nameEnd;
  bool empty = false;
  if (!ReadAttributes(element, q, empty)) return false;
  if (empty) {
    _pos = static_cast<size_t>(q - _text);
    return true;
  }
  return ReadContent(element, q, depth);
}

template <class Char>
bool XmlScanner<Char>::ReadComment(const Char* open, const Char* dashes) {
  if (dashes[0] != '-' || dashes[1] != '-') return Expected(L"TOKEN_TYPE_OP_DEC", open + 1);
  const Char* const begin = dashes + 2;
  const Char* p = begin;
  bool high = false;
  for (;; ++p) {
    p = SkipUntil(SkipPlain<'-', '-', '-'>(p, _text + _size), kDash | kNul | kHigh);
    if (*p == 0) {
      _pos = static_cast<size_t>(p - _text);
      return Fail(L"Unexpected end of file.");
    }
    if (p[0] == '-' && p[1] == '-' && p[2] == '>') break;
    high |= Is(*p, kHigh);
  }
  std::wstring text;
  MakeText(begin, p, false, high, text);  // kept raw
  _pending.push_back(std::make_unique<XmlElement>());
  _pending.back()->SetComment(std::move(text));
  _pos = static_cast<size_t>(p + 3 - _text);
  return true;
}

template <class Char>
bool XmlScanner<Char>::ReadAttributes(XmlElement* element, const Char*& p, bool& empty) {
  // The attributes are gathered first, so that their values go into one
  // block made at its final size.
  _attributes.clear();
  size_t made = 0;
  for (;;) {
    p = SkipBlanks(p);
    if (Is(*p, kNameStart)) {
      const Char* const name = p;
      const Char* const nameEnd = SkipNameFast(p + 1, _text + _size);
      if (!Is(*nameEnd, kEndsName)) return Expected(L"TOKEN_TYPE_IDENT", name);
      const Char* const assign = SkipBlanks(nameEnd);
      if (*assign != '=') return Expected(L"XML_TOKEN_TYPE_OP_ASSIGN", nameEnd);
      const Char* const quote = SkipBlanks(assign + 1);
      if (*quote != '"') return Expected(L"TOKEN_TYPE_STRING", assign + 1);
      // The value runs to the closing quote; a backslash keeps the next
      // character, whatever it is, in the value.
      const Char* const value = quote + 1;
      const Char* q = value;
      bool references = false;
      bool high = false;
      for (;; ++q) {
        q = SkipUntil(SkipPlain<'"', '\\', '&'>(q, _text + _size), kQuote | kBackslash | kAmp | kNul | kHigh);
        unsigned cls = Class(*q);
        if (cls & kQuote) break;
        if (cls & kBackslash) cls = Class(*++q);
        if (cls & kNul) return Expected(L"TOKEN_TYPE_STRING", assign + 1);  // no closing quote
        references |= (cls & kAmp) != 0;
        high |= (cls & kHigh) != 0;
      }
      int index = -1;
      if (references || high) {
        // Decoded now: the warning of a bad reference comes when the value
        // is read, before any failure later in the tag.
        if (_made.size() <= made) _made.resize(made + 1);
        MakeText(value, q, references, high, _made[made]);
        index = static_cast<int>(made++);
      }
      _attributes.push_back(
          {_names.GetAt(_attributes.size(), name, nameEnd, Readable(name)), name, nameEnd, value, q, index});
      p = q + 1;
    } else if (*p == '/') {
      const Char* const close = SkipBlanks(p + 1);
      if (*close != '>') return Expected(L"XML_TOKEN_TYPE_OP_GREATER", p + 1);
      p = close + 1;
      empty = true;
      break;
    } else if (*p == '>') {
      ++p;
      break;
    } else {
      return Expected(L"TOKEN_TYPE_IDENT", p);
    }
  }
  if (!_attributes.empty()) AdoptAttributes(element);
  return true;
}

template <class Char>
void XmlScanner<Char>::AdoptAttributes(XmlElement* element) {
  // Wide characters first (values that needed decoding, names the pool did
  // not take), then the tag's text from the first name to the end of the
  // last value in one copy: the values taken as they stand lie in it (ASCII
  // bytes of UTF-8, or wide characters).
  using Compact = XmlElement::Compact;
  const size_t count = _attributes.size();
  const Char* const spanBegin = _attributes.front().name;
  const size_t span = static_cast<size_t>(_attributes.back().valueEnd - spanBegin);
  size_t wide = 0;
  for (const Attribute& a : _attributes) {
    if (a.made >= 0) wide += _made[static_cast<size_t>(a.made)].size();
    if (!a.internedName) wide += static_cast<size_t>(a.nameEnd - a.name);
  }
  unsigned char* const base =
      element->ReserveCompactAttributes(count, wide * sizeof(wchar_t) + span * sizeof(Char), _arena);
  auto* record = reinterpret_cast<Compact*>(base);
  size_t wideAt = count * sizeof(Compact);
  const size_t spanAt = wideAt + wide * sizeof(wchar_t);
  std::memcpy(base + spanAt, spanBegin, span * sizeof(Char));
  for (const Attribute& a : _attributes) {
    Compact& r = *record++;
    r.name = a.internedName;
    r.nameAt = 0;
    r.nameSize = 0;
    if (!a.internedName) [[unlikely]] {
      r.nameAt = static_cast<uint32_t>(wideAt);
      r.nameSize = static_cast<uint32_t>(a.nameEnd - a.name) & 0x7FFFFFFF;
      Widen(a.name, a.nameEnd, reinterpret_cast<wchar_t*>(base + wideAt));
      wideAt += r.nameSize * sizeof(wchar_t);
    }
    if (a.made >= 0) {
      const std::wstring& made = _made[static_cast<size_t>(a.made)];
      r.wide = true;
      r.valueAt = static_cast<uint32_t>(wideAt);
      r.valueSize = static_cast<uint32_t>(made.size());
      std::memcpy(base + wideAt, made.data(), made.size() * sizeof(wchar_t));
      wideAt += made.size() * sizeof(wchar_t);
    } else {
      r.wide = sizeof(Char) != 1;
      r.valueAt = static_cast<uint32_t>(spanAt + static_cast<size_t>(a.value - spanBegin) * sizeof(Char));
      r.valueSize = static_cast<uint32_t>(a.valueEnd - a.value);
    }
  }
}

template <class Char>
bool XmlScanner<Char>::ReadContent(XmlElement* element, const Char* p, int depth) {
  // The children wait on the stack of pending elements and join the element
  // together, in a list of their number, however reading ends.
  const size_t mark = _pending.size();
  const bool read = ReadContentAt(element, p, depth);
  Collect(element, mark);
  return read;
}

template <class Char>
bool XmlScanner<Char>::ReadContentAt(XmlElement* element, const Char* p, int depth) {
  // Text before the first child, then children and comments.
  bool childSeen = false;
  for (;;) {
    const Char* const first = SkipBlanks(p);
    const Char* const second = *first == 0 ? first : SkipBlanks(CharEnd(first));
    if (*second == 0) {
      _pos = static_cast<size_t>(second - _text);
      return Fail(L"Unexpected end of file.");
    }
    if (*first == '<' && *second == '/') return ReadEndTag(element, second);
    if (*first == '<') {
      if (!ReadElementAt(first, depth + 1)) return false;
      p = _text + _pos;
      childSeen = true;
    } else if (childSeen) {
      return Expected(L"XML_TOKEN_TYPE_OP_LESS", p);  // text after a child
    } else {
      // From the place on, so blanks before and after the text are kept;
      // up to the next '<' (or the end).
      const Char* q = p;
      bool references = false;
      bool high = false;
      for (;; ++q) {
        q = SkipUntil(SkipPlain<'<', '&', '&'>(q, _text + _size), kLess | kAmp | kNul | kHigh);
        const unsigned cls = Class(*q);
        if (cls & (kLess | kNul)) break;
        references |= (cls & kAmp) != 0;
        high |= (cls & kHigh) != 0;
      }
      std::wstring text;
      MakeText(p, q, references, high, text);
      element->SetText(std::move(text));
      p = q;
    }
  }
}

template <class Char>
bool XmlScanner<Char>::ReadEndTag(const XmlElement* element, const Char* slash) {
  const Char* const name = SkipBlanks(slash + 1);
  if (!Is(*name, kNameStart)) return Expected(L"TOKEN_TYPE_IDENT", name);
  const Char* const nameEnd = SkipName(name + 1);
  if (!Is(*nameEnd, kEndsName)) return Expected(L"TOKEN_TYPE_IDENT", name);
  const std::wstring& expected = element->GetName();
  const size_t length = static_cast<size_t>(nameEnd - name);
  bool same = length == expected.size();
  for (size_t i = 0; same && i < length; ++i) same = static_cast<wchar_t>(name[i]) == expected[i];
  if (!same) {
    WriteXmlLogLine(L"Expected identifier " + expected + L", found " + Wide(name, nameEnd) + L". Line: " +
                    ToString(LineAt(nameEnd)));
    return false;
  }
  const Char* const close = SkipBlanks(nameEnd);
  if (*close != '>') return Expected(L"XML_TOKEN_TYPE_OP_GREATER", nameEnd);
  _pos = static_cast<size_t>(close + 1 - _text);
  return true;
}

template <class Char>
void XmlScanner<Char>::MakeText(const Char* begin, const Char* end, bool unescape, bool high,
                                std::wstring& out) {
  const size_t size = static_cast<size_t>(end - begin);
  if (!unescape) {
    if (high) {
      out = Wide(begin, end);
    } else {
      out.resize(size);
      Widen(begin, end, out.data());
    }
    return;
  }
  std::wstring_view text;
  if constexpr (sizeof(Char) == 1) {
    if (high) {
      _decoded = Wide(begin, end);
    } else {
      _decoded.resize(size);
      Widen(begin, end, _decoded.data());
    }
    text = _decoded;
  } else {
    (void)high;
    text = std::wstring_view(begin, size);
  }
  out.clear();
  if (!AppendUnescapedText(out, text)) {
    // An '&' without a ';' after it: the text stays as it is.
    WriteXmlLogLine(kWarning + std::wstring(text));
    out.assign(text);
  }
}

template class XmlScanner<char>;
template class XmlScanner<wchar_t>;

}  // namespace LLF
