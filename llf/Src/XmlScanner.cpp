#include "XmlScanner.h"

#include <algorithm>
#include <string_view>
#include <type_traits>

#include "TextEncoding.h"
#include "XmlDoc.h"
#include "XmlText.h"

namespace LLF {

namespace {

// The character classes of the lexer, for ASCII.
enum : unsigned char { kBlank = 1, kNameStart = 2, kName = 4 };

constexpr auto kClasses = [] {
  struct Table {
    unsigned char at[128] = {};
  } t;
  t.at[' '] = t.at['\t'] = t.at['\r'] = t.at['\n'] = kBlank;
  for (int c = 'a'; c <= 'z'; ++c) t.at[c] = kNameStart | kName;
  for (int c = 'A'; c <= 'Z'; ++c) t.at[c] = kNameStart | kName;
  t.at['_'] = kNameStart | kName;
  for (int c = '0'; c <= '9'; ++c) t.at[c] = kName;
  return t;
}();

// The code of a character: bytes and wide characters alike compare as
// unsigned, so nothing above ASCII falls into a class.
template <class Char>
inline auto Code(Char c) {
  return static_cast<std::make_unsigned_t<Char>>(c);
}

template <class Char>
inline bool Is(Char c, unsigned char cls) {
  return Code(c) < 128 && (kClasses.at[Code(c)] & cls) != 0;
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
  _line += static_cast<int>(std::count(_text + _linePos, _text + _pos, Char('\n')));
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
      std::wstring value;
      p = ReadValue(p + 1, value);
      if (!p) return Tag::kStopped;
      _scratch.emplace_back(std::wstring(attribute, attributeEnd), std::move(value));
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
  unsigned high = 0;  // every code or'ed: 0x80 and above when not ASCII
  for (;; ++p) {
    const Char c = *p;
    if (c == 0) return Tag::kStopped;
    if (c == '-' && p[1] == '-' && p[2] == '>') break;
    high |= Code(c);
  }
  std::wstring text;
  if (!MakeText(begin, p, false, high < 0x80, text)) return Tag::kStopped;
  parent->AppendComment(std::move(text));
  _pos = static_cast<size_t>(p + 3 - _text);
  return Tag::kComplete;
}

template <class Char>
const Char* XmlScanner<Char>::ReadValue(const Char* p, std::wstring& value) {
  const Char* const begin = p;
  bool references = false;
  unsigned high = 0;
  for (;; ++p) {
    Char c = *p;
    if (c == '"') break;
    // A backslash keeps the next character, whatever it is, in the value.
    if (c == '\\') c = *++p;
    if (c == 0) return nullptr;
    references |= c == '&';
    high |= Code(c);
  }
  if (!MakeText(begin, p, references, high < 0x80, value)) return nullptr;
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
  unsigned high = 0;
  for (;; ++p) {
    const Char c = *p;
    if (c == '<') break;
    if (c == 0) return false;
    references |= c == '&';
    high |= Code(c);
  }
  std::wstring text;
  if (!MakeText(begin, p, references, high < 0x80, text)) return false;
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
