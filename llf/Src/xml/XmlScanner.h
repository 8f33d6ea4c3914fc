#pragma once
// Reads the common forms of XML straight from the text into the document
// tree, without tokens: tags without blanks inside "<name", "</name" and
// "<!--", double-quoted attribute values, text before the first child,
// comments, one declaration. It takes each item whole or not at all: at
// anything else (another form the lexer-driven reader takes, an error, a
// reference it cannot decode, a fault in the UTF-8, a NUL) it stops before
// the item and leaves it to its host, which reads it through the lexer and
// so reports it exactly as that reader does. What the scanner builds is what
// that reader builds from the same text.
//
// Char is wchar_t for wide text and char for UTF-8 bytes, which are decoded
// into the tree as they are read. The text must be followed by a NUL.
//
// A host provides two operations:
//   bool ReadChild(XmlScanner& scanner, XmlElement* parent): reads the child
//     element or comment at the scanner's place and moves the scanner past it;
//   bool ReadRest(XmlScanner& scanner, XmlElement* parent, XmlElement* element,
//     bool childSeen): reads from the scanner's place to the end of the
//     element, which is the whole of it when element is null (it goes to
//     parent), else the rest of element's content and its end tag.
// Both give false when reading failed.
#include <cstddef>
#include <string>
#include <vector>

#include "xml/XmlElement.h"
#include "xml/XmlNameTable.h"

namespace LLF {

template <class Char>
class XmlScanner {
 public:
  using Attributes = std::vector<XmlElement::SharedNameValue>;

  // Reads text[pos...] (size characters in all), where line feeds before
  // pos are line in number. depth counts the elements open around the place
  // (elements nested deeper than the reader's limit are left to the host);
  // scratch holds the attributes of a start tag while it is read; names
  // gives them their names.
  XmlScanner(const Char* text, size_t size, size_t pos, int line, int& depth, Attributes& scratch,
             XmlNameTable& names)
      : _text(text),
        _size(size),
        _pos(pos),
        _line(line),
        _linePos(pos),
        _depth(depth),
        _scratch(scratch),
        _names(names) {}
  XmlScanner(const XmlScanner&) = delete;
  XmlScanner& operator=(const XmlScanner&) = delete;

  // Reads one element (or comment) with its content and appends it to
  // parent; what the scanner does not take goes to the host.
  template <class Host>
  bool ReadElement(XmlElement* parent, Host& host);

  // Reads a whole text into root, the document's root element. False when
  // the scanner stopped anywhere; the caller then reads the text afresh.
  bool ReadDocument(XmlElement* root);

  size_t GetPos() const { return _pos; }
  // The line feeds before the place.
  int GetLine();
  void Seek(size_t pos, int line);

 private:
  enum class Tag { kStopped, kComplete, kOpen };
  enum class Content { kStopped, kChild, kText, kEnd };

  // A start tag, an empty-element tag or a comment at the place; on kOpen
  // element is the new element.
  Tag ReadStartTag(XmlElement* parent, XmlElement*& element);
  Tag ReadComment(XmlElement* parent, const Char* open);
  // What comes next inside an element; on kChild the place is at its '<'.
  Content PeekContent(bool childSeen);
  bool ReadText(XmlElement* element);
  bool ReadEndTag(const XmlElement* element);
  template <class Host>
  bool ReadContent(XmlElement* element, Host& host);

  // Reads a double-quoted value from its first character up to the
  // closing quote; the end (after the quote) or null when stopped.
  const Char* ReadValue(const Char* p, std::wstring& value);
  // Makes the wide text of [begin, end), decoding the references when
  // unescape is set; false when the scanner must stop there.
  bool MakeText(const Char* begin, const Char* end, bool unescape, bool ascii, std::wstring& out);

  const Char* const _text;
  const size_t _size;
  size_t _pos;
  int _line;  // line feeds before _linePos
  size_t _linePos;
  int& _depth;
  Attributes& _scratch;
  XmlNameTable& _names;
  std::wstring _decoded;  // UTF-8 decoded before its references are
};

template <class Char>
template <class Host>
bool XmlScanner<Char>::ReadElement(XmlElement* parent, Host& host) {
  XmlElement* element = nullptr;
  switch (ReadStartTag(parent, element)) {
    case Tag::kStopped:
      return host.ReadRest(*this, parent, nullptr, false);
    case Tag::kComplete:
      return true;
    case Tag::kOpen:
      break;
  }
  ++_depth;
  const bool ok = ReadContent(element, host);
  --_depth;
  return ok;
}

template <class Char>
template <class Host>
bool XmlScanner<Char>::ReadContent(XmlElement* element, Host& host) {
  bool childSeen = false;
  for (;;) {
    switch (PeekContent(childSeen)) {
      case Content::kChild:
        if (!host.ReadChild(*this, element)) return false;
        childSeen = true;
        continue;
      case Content::kText:
        if (ReadText(element)) continue;
        break;
      case Content::kEnd:
        if (ReadEndTag(element)) return true;
        break;
      case Content::kStopped:
        break;
    }
    return host.ReadRest(*this, nullptr, element, childSeen);
  }
}

extern template class XmlScanner<char>;
extern template class XmlScanner<wchar_t>;

}  // namespace LLF
