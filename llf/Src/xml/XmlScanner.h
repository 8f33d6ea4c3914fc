#pragma once
// The XML reader: reads the text straight into the document tree, without
// tokens. Its grammar is the lexer's (see XmlDoc): names are the lexer's
// identifiers, blanks may stand wherever the lexer skips them, attribute
// values are the lexer's double-quoted strings (a backslash keeps the next
// character), and a failure names the token the lexer would find at the
// place, which the lexer itself reads there, with the number of line feeds
// before the end of that token.
//
// Char is wchar_t for wide text and char for UTF-8 bytes, which are decoded
// as they are read, invalid sequences as U+FFFD (Utf8Decode): what the bytes
// give is what their decoded text gives. The text must be followed by a NUL;
// a NUL inside it ends it, as it ends the lexer's text.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "xml/XmlElement.h"
#include "xml/XmlNameTable.h"

namespace LLF {

template <class Char>
class XmlScanner {
 public:
  enum class Outcome {
    kRead,
    kFailed,            // the document keeps what was read
    kFailedAndCleared,  // the document must be cleared (a failure in an element)
  };

  // Reads text[pos...] (size characters in all), where line feeds before
  // pos are line in number.
  XmlScanner(const Char* text, size_t size, size_t pos, int line, XmlNameTable& names)
      : _text(text), _size(size), _pos(pos), _line(line), _linePos(pos), _names(names) {}
  XmlScanner(const XmlScanner&) = delete;
  XmlScanner& operator=(const XmlScanner&) = delete;

  // The top level of a document: an optional declaration, elements and
  // comments, appended to root.
  Outcome ReadDocument(XmlElement* root);
  // One element or comment with its content, appended to parent.
  bool ReadElement(XmlElement* parent);

  size_t GetPos() const { return _pos; }
  // The line feeds before the place.
  int GetLine() { return LineAt(_text + _pos); }

 private:
  // An attribute of the start tag being read: its name, and its value as
  // raw text or, when that needs decoding, as the text made of it.
  struct Attribute {
    const std::wstring* internedName;
    const Char* name;
    const Char* nameEnd;
    const Char* value;
    const Char* valueEnd;
    int made;  // index in _made, or -1 for a value taken as it stands
  };

  // The element or comment at p ('<'), nested depth levels deep (the top
  // level being 1), put on the stack of pending elements.
  bool ReadElementAt(const Char* p, int depth);
  bool ReadComment(const Char* open, const Char* dashes);
  // Appends the pending elements from mark on to parent's children.
  void Collect(XmlElement* parent, size_t mark);
  // From the end of the element's name to the end of its start tag; p ends
  // after the tag; empty tells "/>" from ">".
  bool ReadAttributes(XmlElement* element, const Char*& p, bool& empty);
  bool ReadContent(XmlElement* element, const Char* p, int depth);
  bool ReadContentAt(XmlElement* element, const Char* p, int depth);
  bool ReadEndTag(const XmlElement* element, const Char* slash);
  // The end of the character at p (a UTF-8 sequence is one character).
  const Char* CharEnd(const Char* p) const;

  // The text of [begin, end) in out: decoded, and with its references
  // replaced when unescape is set (logging the warning of an '&' without a
  // ';', and keeping the text as it is then). high: bytes above ASCII are
  // in it.
  void MakeText(const Char* begin, const Char* end, bool unescape, bool high, std::wstring& out);
  // Appends the attributes gathered in _attributes to element.
  void AdoptAttributes(XmlElement* element);

  // Failures: one log line, false.
  bool Expected(const wchar_t* what, const Char* at);
  bool Fail(const wchar_t* line);
  int LineAt(const Char* p);
  // Whether 16 characters from p on lie within the text.
  bool Readable(const Char* p) const { return static_cast<size_t>(_text + _size - p) >= 16; }

  const Char* const _text;
  const size_t _size;
  size_t _pos;
  int _line;  // line feeds before _linePos
  size_t _linePos;
  XmlNameTable& _names;
  std::vector<Attribute> _attributes;
  std::vector<std::unique_ptr<XmlElement>> _pending;  // elements read, not yet in their parent
  XmlArena _arena;                                    // the elements' memory
  std::vector<std::wstring> _made;                    // values of the tag that needed decoding
  std::wstring _decoded;                              // scratch for decoding before unescaping
};

extern template class XmlScanner<char>;
extern template class XmlScanner<wchar_t>;

}  // namespace LLF
