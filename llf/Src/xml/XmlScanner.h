#pragma once
// The XML reader: reads the text straight into records of the document
// tree (see XmlElement), without tokens. Its grammar is the lexer's (see XmlDoc): names are the lexer's
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
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "xml/XmlElement.h"
#include "xml/XmlNameTable.h"
#include "xml/XmlTree.h"

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
      : _text(text),
        _size(size),
        _pos(pos),
        _line(line),
        _linePos(pos),
        _names(names),
        _tree(XmlTree::Create(TreeSize(size - pos))) {}
  ~XmlScanner() { _tree->Release(); }
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
  // An attribute of the start tag being read that needs wide characters in
  // the block: a value that needed decoding (its index in _made) or a name
  // the pool did not take.
  struct Unusual {
    size_t index;
    int made;  // -1: the value is taken as it stands
    const Char* name;
    const Char* nameEnd;
  };

  using Record = XmlElement::Record;

  // About what reading length characters takes in the tree: the tags' text
  // once more, as wide characters for wide text, and the records beside it.
  static size_t TreeSize(size_t length) { return length * (sizeof(Char) == 1 ? 3 : 6); }

  Outcome ReadTopLevel();
  // The element or comment at p ('<'), nested depth levels deep (the top
  // level being 1), put on the stack of pending records.
  bool ReadElementAt(const Char* p, int depth);
  bool ReadComment(const Char* open, const Char* dashes);
  // The pending records from mark on, moved into the tree (the stack ends
  // at mark).
  const Record* Store(size_t mark);
  // Appends the pending records from mark on to parent's children.
  void Collect(XmlElement* parent, size_t mark);
  // From the end of the name of the element pending at index to the end of
  // its start tag; p ends after the tag; empty tells "/>" from ">".
  bool ReadAttributes(size_t index, const Char*& p, bool& empty);
  bool ReadContent(size_t index, const Char* p, int depth);
  bool ReadContentAt(size_t index, const Char* p, int depth);
  bool ReadEndTag(size_t index, const Char* slash);
  // The end of the character at p (a UTF-8 sequence is one character).
  const Char* CharEnd(const Char* p) const;

  // The text of [begin, end) in out: decoded, and with its references
  // replaced when unescape is set (logging the warning of an '&' without a
  // ';', and keeping the text as it is then). high: bytes above ASCII are
  // in it.
  void MakeText(const Char* begin, const Char* end, bool unescape, bool high, std::wstring& out);
  // The text of [begin, end) (as MakeText) in the tree; null when empty.
  const wchar_t* StoreText(const Char* begin, const Char* end, bool unescape, bool high, uint32_t& size);
  // Gives the record at index the count attributes of _scratch and
  // _unusual, whose values lie in [spanBegin, spanEnd).
  void AdoptAttributes(size_t index, size_t count, size_t wide, const Char* spanBegin, const Char* spanEnd);

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
  std::vector<XmlElement::Compact> _scratch;  // the records of the tag being read
  std::vector<Unusual> _unusual;
  XmlTree* const _tree;             // held until the reading ends
  std::vector<Record> _pending;     // elements read, not yet in their parent
  std::vector<std::wstring> _made;  // values of the tag that needed decoding
  std::wstring _decoded;            // scratch for decoding before unescaping
  std::wstring _madeText;           // scratch for a text that needed decoding
};

extern template class XmlScanner<char>;
extern template class XmlScanner<wchar_t>;

}  // namespace LLF
