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
  // The top-level records join the root together, however reading ends.
  const Outcome outcome = ReadTopLevel();
  Collect(root, 0);
  return outcome;
}

template <class Char>
typename XmlScanner<Char>::Outcome XmlScanner<Char>::ReadTopLevel() {
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
      if (!ReadElementAt(p, 1)) return Outcome::kFailedAndCleared;
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
const typename XmlScanner<Char>::Record* XmlScanner<Char>::Store(size_t mark) {
  const size_t count = _pending.size() - mark;
  if (count > UINT32_MAX) throw std::bad_alloc();  // counts are 32 bits
  auto* records = static_cast<Record*>(_tree->Allocate(count * sizeof(Record)));
  std::memcpy(static_cast<void*>(records), _pending.data() + mark, count * sizeof(Record));
  _pending.resize(mark);
  return records;
}

template <class Char>
void XmlScanner<Char>::Collect(XmlElement* parent, size_t mark) {
  const size_t count = _pending.size() - mark;
  if (count == 0) return;
  parent->AdoptRecords(Store(mark), count, _tree);
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
  Record record{};
  record.name = _names.Get(name, nameEnd, Readable(name));
  if (!record.name) [[unlikely]] {
    // The pool is full: the name's wide characters go into the tree.
    const size_t size = static_cast<size_t>(nameEnd - name);
    auto* chars = static_cast<wchar_t*>(_tree->Allocate(size * sizeof(wchar_t)));
    Widen(name, nameEnd, chars);
    record.nameChars = chars;
    record.nameSize = static_cast<uint32_t>(size) & 0x7FFFFFFF;
  }
  const size_t index = _pending.size();
  _pending.push_back(record);
  const Char* q = nameEnd;
  bool empty = false;
  if (!ReadAttributes(index, q, empty)) return false;
  if (empty) {
    _pos = static_cast<size_t>(q - _text);
    return true;
  }
  return ReadContent(index, q, depth);
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
  Record record{};
  record.comment = 1;
  record.text = StoreText(begin, p, false, high, record.textSize);  // kept raw
  _pending.push_back(record);
  _pos = static_cast<size_t>(p + 3 - _text);
  return true;
}

template <class Char>
bool XmlScanner<Char>::ReadAttributes(size_t index, const Char*& p, bool& empty) {
  // Each attribute's record is written as it is read, its value's offset
  // counted from the first name; the tag's text from there to the end of
  // the last value then goes into the block in one copy, with the records
  // and any wide characters before it.
  using Compact = XmlElement::Compact;
  size_t count = 0;
  size_t wide = 0;  // wide characters of decoded values and unpooled names
  size_t made = 0;  // values decoded
  _unusual.clear();
  const Char* spanBegin = nullptr;
  const Char* spanEnd = nullptr;
  const size_t run = _names.RunOf(_pending[index].name);
  for (;;) {
    p = SkipBlanks(p);
    if (Is(*p, kNameStart)) {
      const Char* const name = p;
      // Most tags of a kind repeat the names of the last one in order.
      size_t known = 0;
      const std::wstring* interned = _names.Recent(run, count, name, Readable(name), known);
      const Char* nameEnd;
      if (interned && !Is(name[known], kName)) {
        nameEnd = name + known;
      } else {
        nameEnd = SkipNameFast(name + 1, _text + _size);
        interned = nullptr;
      }
      if (*nameEnd != '=' && !Is(*nameEnd, kEndsName)) return Expected(L"TOKEN_TYPE_IDENT", name);
      const Char* const assign = *nameEnd == '=' ? nameEnd : SkipBlanks(nameEnd);
      if (*assign != '=') return Expected(L"XML_TOKEN_TYPE_OP_ASSIGN", nameEnd);
      const Char* const quote = assign[1] == '"' ? assign + 1 : SkipBlanks(assign + 1);
      if (*quote != '"') return Expected(L"TOKEN_TYPE_STRING", assign + 1);
      // The value runs to the closing quote; a backslash keeps the next
      // character, whatever it is, in the value.
      const Char* const value = quote + 1;
      const Char* q = SkipPlain<'"', '\\', '&'>(value, _text + _size);
      bool references = false;
      bool high = false;
      if (*q != '"') {
        for (;; ++q) {
          q = SkipUntil(SkipPlain<'"', '\\', '&'>(q, _text + _size),
                        kQuote | kBackslash | kAmp | kNul | kHigh);
          unsigned cls = Class(*q);
          if (cls & kQuote) break;
          if (cls & kBackslash) cls = Class(*++q);
          if (cls & kNul) return Expected(L"TOKEN_TYPE_STRING", assign + 1);  // no closing quote
          references |= (cls & kAmp) != 0;
          high |= (cls & kHigh) != 0;
        }
      }
      if (count == _scratch.size()) _scratch.resize(count < 8 ? 8 : count * 2);
      if (!spanBegin) spanBegin = name;
      Compact& r = _scratch[count];
      r.name = interned ? interned : _names.GetAt(run, count, name, nameEnd, Readable(name));
      r.valueAt = static_cast<uint32_t>(static_cast<size_t>(value - spanBegin) * sizeof(Char));
      r.valueSize = static_cast<uint32_t>(q - value);
      r.nameAt = 0;
      r.nameSize = 0;
      r.wide = sizeof(Char) != 1;
      if (references || high || !r.name) [[unlikely]] {
        Unusual u{count, -1, name, nameEnd};
        if (references || high) {
          // Decoded now: the warning of a bad reference comes when the
          // value is read, before any failure later in the tag.
          if (_made.size() <= made) _made.resize(made + 1);
          MakeText(value, q, references, high, _made[made]);
          wide += _made[made].size();
          u.made = static_cast<int>(made++);
        }
        if (!r.name) wide += static_cast<size_t>(nameEnd - name);
        _unusual.push_back(u);
      }
      ++count;
      spanEnd = q;
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
  if (count) AdoptAttributes(index, count, wide, spanBegin, spanEnd);
  return true;
}

template <class Char>
void XmlScanner<Char>::AdoptAttributes(size_t index, size_t count, size_t wide, const Char* spanBegin,
                                       const Char* spanEnd) {
  // The block: the records, the wide characters (values that needed
  // decoding, names the pool did not take), then the tag's text, in which
  // the values taken as they stand lie (ASCII bytes of UTF-8, or wide
  // characters).
  using Compact = XmlElement::Compact;
  const size_t span = static_cast<size_t>(spanEnd - spanBegin);
  const size_t head = count * sizeof(Compact);
  const size_t spanAt = head + wide * sizeof(wchar_t);
  const size_t bytes = spanAt + span * sizeof(Char);
  if (bytes > UINT32_MAX) throw std::bad_alloc();  // offsets are 32 bits
  auto* const base = static_cast<unsigned char*>(_tree->Allocate(bytes));
  std::memcpy(static_cast<void*>(base), _scratch.data(), head);
  std::memcpy(base + spanAt, spanBegin, span * sizeof(Char));
  auto* const records = reinterpret_cast<Compact*>(base);
  for (size_t i = 0; i < count; ++i) records[i].valueAt += static_cast<uint32_t>(spanAt);
  size_t wideAt = head;
  for (const Unusual& u : _unusual) {
    Compact& r = records[u.index];
    if (!r.name) {
      r.nameAt = static_cast<uint32_t>(wideAt);
      r.nameSize = static_cast<uint32_t>(u.nameEnd - u.name) & 0x7FFFFFFF;
      Widen(u.name, u.nameEnd, reinterpret_cast<wchar_t*>(base + wideAt));
      wideAt += r.nameSize * sizeof(wchar_t);
    }
    if (u.made >= 0) {
      const std::wstring& made = _made[static_cast<size_t>(u.made)];
      r.wide = true;
      r.valueAt = static_cast<uint32_t>(wideAt);
      r.valueSize = static_cast<uint32_t>(made.size());
      std::memcpy(base + wideAt, made.data(), made.size() * sizeof(wchar_t));
      wideAt += made.size() * sizeof(wchar_t);
    }
  }
  Record& owner = _pending[index];
  owner.attributes = base;
  owner.attributeCount = static_cast<uint32_t>(count);
  owner.attributeBytes = static_cast<uint32_t>(bytes);
}

template <class Char>
bool XmlScanner<Char>::ReadContent(size_t index, const Char* p, int depth) {
  // The children wait on the stack of pending records and join the element
  // together, in one array, however reading ends.
  const size_t mark = _pending.size();
  const bool read = ReadContentAt(index, p, depth);
  const size_t count = _pending.size() - mark;
  if (count) {
    const Record* children = Store(mark);
    _pending[index].children = children;
    _pending[index].childCount = static_cast<uint32_t>(count);
  }
  return read;
}

template <class Char>
bool XmlScanner<Char>::ReadContentAt(size_t index, const Char* p, int depth) {
  // Text before the first child, then children and comments.
  bool childSeen = false;
  for (;;) {
    const Char* const first = SkipBlanks(p);
    const Char* const second = *first == 0 ? first : SkipBlanks(CharEnd(first));
    if (*second == 0) {
      _pos = static_cast<size_t>(second - _text);
      return Fail(L"Unexpected end of file.");
    }
    if (*first == '<' && *second == '/') return ReadEndTag(index, second);
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
      Record& record = _pending[index];
      record.text = StoreText(p, q, references, high, record.textSize);
      p = q;
    }
  }
}

template <class Char>
bool XmlScanner<Char>::ReadEndTag(size_t index, const Char* slash) {
  const Char* const name = SkipBlanks(slash + 1);
  if (!Is(*name, kNameStart)) return Expected(L"TOKEN_TYPE_IDENT", name);
  const Char* const nameEnd = SkipName(name + 1);
  if (!Is(*nameEnd, kEndsName)) return Expected(L"TOKEN_TYPE_IDENT", name);
  const Record& record = _pending[index];
  const std::wstring_view expected =
      record.name ? std::wstring_view(*record.name) : std::wstring_view(record.nameChars, record.nameSize);
  const size_t length = static_cast<size_t>(nameEnd - name);
  bool same = length == expected.size();
  for (size_t i = 0; same && i < length; ++i) same = static_cast<wchar_t>(name[i]) == expected[i];
  if (!same) {
    WriteXmlLogLine(L"Expected identifier " + std::wstring(expected) + L", found " + Wide(name, nameEnd) +
                    L". Line: " + ToString(LineAt(nameEnd)));
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

template <class Char>
const wchar_t* XmlScanner<Char>::StoreText(const Char* begin, const Char* end, bool unescape, bool high,
                                           uint32_t& size) {
  if (!unescape && !high) {
    // Plain ASCII (or wide characters): widened straight into the tree.
    const size_t n = static_cast<size_t>(end - begin);
    if (n == 0) return nullptr;
    if (n > UINT32_MAX) throw std::bad_alloc();
    auto* chars = static_cast<wchar_t*>(_tree->Allocate(n * sizeof(wchar_t)));
    Widen(begin, end, chars);
    size = static_cast<uint32_t>(n);
    return chars;
  }
  MakeText(begin, end, unescape, high, _madeText);
  if (_madeText.empty()) return nullptr;
  if (_madeText.size() > UINT32_MAX) throw std::bad_alloc();
  auto* chars = static_cast<wchar_t*>(_tree->Allocate(_madeText.size() * sizeof(wchar_t)));
  std::memcpy(chars, _madeText.data(), _madeText.size() * sizeof(wchar_t));
  size = static_cast<uint32_t>(_madeText.size());
  return chars;
}

template class XmlScanner<char>;
template class XmlScanner<wchar_t>;

}  // namespace LLF
