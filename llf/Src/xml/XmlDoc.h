#pragma once
// An XML document: a root element whose children are the file's top-level
// elements and comments, in file order (the root's own name is never read
// or written).
//
// The reader takes the subset of XML the system's files use: an optional
// declaration, elements with double-quoted attributes, text before the first
// child, comments. Each failure writes one log line naming the expected and
// the found token with a line number counted from 0, and the parse returns
// false. Nesting deeper than kMaxDepth levels, stray text at the top level
// and a NUL inside the text fail the same way.
//
// The grammar is the lexer's (the reader's operator table: "--", "!", "=",
// "<", ">"), but the text is read straight into the tree (XmlScanner); the
// lexer reads only the token a failure names. ParseDocument and ParseElement
// read the lexer's text from its cursor and leave the cursor where they
// stopped; the lexer's own tables play no part.
//
// The writer puts a declaration line first, indents with tabs and ends
// lines with "\r\n"; what it writes reads back to the same document.
#include <string>
#include <vector>

#include "core/Object.h"
#include "io/TextFile.h"
#include "xml/Lexer.h"
#include "xml/XmlElement.h"
#include "xml/XmlNameTable.h"
#include "xml/XmlText.h"

namespace LLF {

class XmlDoc : public virtual Object {
 public:
  // Element nesting the reader accepts; deeper input fails with a log line
  // instead of exhausting the stack.
  static constexpr int kMaxDepth = 256;

  XmlDoc();
  XmlDoc(const XmlDoc&) = default;
  XmlDoc& operator=(const XmlDoc&) = default;

  LLF_KIND_OF(XmlDoc, Object)
  ~XmlDoc() override = default;
  // "XmlDoc: Root elements count:N"
  std::wstring Dump() const override;

  // Clears the document and reads text into it. After a failure the
  // document holds what was read before the failing step, except that a
  // failure inside an element or a second declaration leaves it empty.
  virtual bool Parse(const std::wstring& text);
  // Reads the file in any of the text encodings (told apart by the mark,
  // ANSI without one) and parses it through Parse. False when the file
  // cannot be read (nothing is logged for that) or does not parse.
  virtual bool LoadFromFile(const std::wstring& path);
  // The declaration naming encodingName, then every top-level element.
  virtual std::wstring Serialize(const std::wstring& encodingName) const;
  virtual void Clear();
  virtual XmlElement* GetRoot() { return &_root; }
  virtual bool ParseDocument(Lexer& lexer);
  virtual bool ParseElement(Lexer& lexer, XmlElement* parent);

  const XmlElement* GetRoot() const { return &_root; }

  // Reads UTF-8 bytes as XmlDoc::Parse reads their decoded text (invalid
  // sequences as U+FFFD), decoding only what goes into the document. This
  // class's own reading: what a subclass's Parse adds is not applied.
  bool ParseUtf8(const std::string& bytes);

  // Writes the document to path in a text-file encoding (UTF-8 by default)
  // under a declaration naming it; the file is replaced only when the new
  // one is complete. A failure is logged and gives false. A document the
  // reader would refuse (a name it does not take, a NUL in a value, text or
  // comment, nesting past kMaxDepth) is not written.
  bool SaveToFile(const std::wstring& path, int encoding = TextFile::ENCODING_UTF8) const;
  // The name the declaration gives an encoding: "UTF-8" for ANSI (written as
  // UTF-8 here) and UTF-8, "UTF-16" for both UTF-16 forms (the mark tells
  // their order), "" for anything else.
  static std::wstring EncodingName(int encoding);

  static std::wstring EscapeText(const std::wstring& text) { return LLF::EscapeText(text); }
  static std::wstring UnescapeText(const std::wstring& text) { return LLF::UnescapeText(text); }

 private:
  XmlElement _root;
  XmlNameTable _names;  // the names met in readings
};

}  // namespace LLF
