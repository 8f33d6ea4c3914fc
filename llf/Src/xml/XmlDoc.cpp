#include "xml/XmlDoc.h"

#include "core/StringUtils.h"
#include "io/TextEncoding.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlScanner.h"

namespace LLF {

namespace {

// The reader's operator table replaces the lexer's default one.
constexpr int XML_TOKEN_TYPE_OP_DEC = 30001;   // "--"
constexpr int XML_TOKEN_TYPE_OP_EXCL = 30002;  // "!"
constexpr int XML_TOKEN_TYPE_OP_ASSIGN = 30003;
constexpr int XML_TOKEN_TYPE_OP_LESS = 30004;
constexpr int XML_TOKEN_TYPE_OP_GREATER = 30005;

std::wstring LineSuffix(const Lexer& lexer) {
  return L". Line: " + ToString(lexer.GetLine());
}

// "Expected <what>, found <token text>. Line: <n>"
bool Expected(const wchar_t* what, const Lexer& lexer) {
  WriteXmlLogLine(std::wstring(L"Expected ") + what + L", found " + lexer.GetToken().text +
                  LineSuffix(lexer));
  return false;
}

bool Fail(const wchar_t* line) {
  WriteXmlLogLine(line);
  return false;
}

// True when only blanks are left: PeekChar also stops at a NUL.
bool AtEndOfText(const Lexer& lexer) {
  const std::wstring& text = lexer.GetText();
  for (size_t i = lexer.GetCursor(); i < text.size(); ++i) {
    if (!IsSpace(text[i])) return false;
  }
  return true;
}

// Counts the elements open in a parse, also when a step fails.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : _depth(depth) { ++_depth; }
  ~DepthGuard() { --_depth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& _depth;
};

// Whether the reader takes text as a name: a letter or '_', then letters,
// digits and '_', all ASCII.
bool ReadableName(std::wstring_view name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const wchar_t c = name[i];
    const bool letter = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
    if (!letter && (i == 0 || c < L'0' || c > L'9')) return false;
  }
  return true;
}

bool HoldsNul(const std::wstring& text) {
  return text.find(L'\0') != std::wstring::npos;
}

// Why the reader would refuse the written form of element (at the given
// depth, the top level being 1) or of anything below it; "" when it would
// read it back.
std::wstring Unreadable(const XmlElement& element, int depth) {
  if (element.IsComment()) {
    return HoldsNul(element.GetText()) ? L"A comment holds a NUL character." : L"";
  }
  if (depth > XmlDoc::kMaxDepth) {
    return L"Elements nested deeper than " + ToString(XmlDoc::kMaxDepth) + L" levels.";
  }
  const std::wstring& name = element.GetName();
  if (!ReadableName(name)) return L"Element name \"" + name + L"\" would not read back.";
  for (int i = 0; i < element.GetAttributesCount(); ++i) {
    const XmlAttribute* attribute = element.GetAttribute(i);
    const std::wstring attributeName(attribute->GetNameView());
    if (!ReadableName(attributeName)) {
      return L"Attribute name \"" + attributeName + L"\" of element \"" + name + L"\" would not read back.";
    }
    if (HoldsNul(attribute->GetValue())) {
      return L"Attribute \"" + attributeName + L"\" of element \"" + name + L"\" holds a NUL character.";
    }
  }
  if (HoldsNul(element.GetText())) return L"Text of element \"" + name + L"\" holds a NUL character.";
  for (int i = 0; i < element.GetChildsCount(); ++i) {
    std::wstring why = Unreadable(*element.GetChild(i), depth + 1);
    if (!why.empty()) return why;
  }
  return std::wstring();
}

}  // namespace

// Hands what the scanner does not read to the lexer, from the place the
// scanner reached, and brings the scanner to where the lexer stopped.
class XmlDoc::LexerHost {
 public:
  LexerHost(XmlDoc& doc, Lexer& lexer) : _doc(doc), _lexer(lexer) {}

  bool ReadChild(XmlScanner<wchar_t>& scanner, XmlElement* parent) {
    _lexer.Seek(scanner.GetPos(), scanner.GetLine());
    const bool ok = _doc.ParseElement(_lexer, parent);
    scanner.Seek(_lexer.GetCursor(), _lexer.GetLine());
    return ok;
  }

  bool ReadRest(XmlScanner<wchar_t>& scanner, XmlElement* parent, XmlElement* element, bool childSeen) {
    _lexer.Seek(scanner.GetPos(), scanner.GetLine());
    const bool ok = element ? _doc.ReadContentThroughLexer(_lexer, element, childSeen)
                            : _doc.ReadElementThroughLexer(_lexer, parent);
    scanner.Seek(_lexer.GetCursor(), _lexer.GetLine());
    return ok;
  }

 private:
  XmlDoc& _doc;
  Lexer& _lexer;
};

XmlDoc::XmlDoc() {
  XmlDoc::Clear();
}

std::wstring XmlDoc::Dump() const {
  return L"XmlDoc: Root elements count:" + ToString(_root.GetChildsCount());
}

bool XmlDoc::Parse(const std::wstring& text) {
  Lexer lexer;
  lexer.SetOperators({L"--", L"!", L"=", L"<", L">"});
  lexer.BorrowText(text);  // text outlives the lexer
  Clear();
  _depth = 0;
  _names.Clear();
  _parseLexer = &lexer;
  _parseLexerChanges = lexer.GetChanges();
  const bool ok = ParseDocument(lexer);
  _parseLexer = nullptr;
  _names.Clear();  // the attributes hold what they share
  return ok;
}

bool XmlDoc::ParseUtf8(const std::string& bytes) {
  if (_directReading) {
    Clear();
    _depth = 0;
    _names.Clear();
    XmlScanner<char> scanner(bytes.c_str(), bytes.size(), 0, 0, _depth, _scanned, _names);
    const bool ok = scanner.ReadDocument(&_root);
    _names.Clear();
    if (ok) return true;
  }
  // Something the scanner does not take: read it all afresh, so that the
  // log lines are those of the decoded text.
  return XmlDoc::Parse(Utf8Decode(bytes));
}

bool XmlDoc::LoadFromFile(const std::wstring& path) {
  std::wstring text;
  TextFile file;
  if (!file.ReadAll(path, text)) return false;
  return Parse(text);
}

bool XmlDoc::SaveToFile(const std::wstring& path, int encoding) const {
  // A file the reader would refuse would lose the whole document at the
  // next load, so the old file is kept instead.
  for (int i = 0; i < _root.GetChildsCount(); ++i) {
    const std::wstring why = Unreadable(*_root.GetChild(i), 1);
    if (!why.empty()) {
      WriteXmlLogLine(L"Error: SaveToFile failed. " + why + L" Filename: " + path);
      return false;
    }
  }
  const std::wstring name = EncodingName(encoding);
  TextFile file;
  if (name.empty() || !file.WriteAll(path, Serialize(name), encoding)) {
    WriteXmlLogLine(L"Error: SaveToFile failed. Can't write XML file. Filename: " + path);
    return false;
  }
  return true;
}

std::wstring XmlDoc::EncodingName(int encoding) {
  switch (encoding) {
    case TextFile::ENCODING_ANSI:
    case TextFile::ENCODING_UTF8:
      return L"UTF-8";
    case TextFile::ENCODING_UTF16BE:
    case TextFile::ENCODING_UTF16LE:
      return L"UTF-16";
    default:
      return std::wstring();
  }
}

std::wstring XmlDoc::Serialize(const std::wstring& encodingName) const {
  std::wstring out = L"<?xml version=\"1.0\" encoding=\"" + encodingName + L"\"?>\r\n";
  for (int i = 0; i < _root.GetChildsCount(); ++i) _root.GetChild(i)->Serialize(std::wstring(), out);
  return out;
}

void XmlDoc::Clear() {
  _root.Clear();
}

bool XmlDoc::ParseDocument(Lexer& lexer) {
  bool declared = false;
  for (;;) {
    const wchar_t c1 = lexer.PeekChar(1);
    const wchar_t c2 = lexer.PeekChar(2);
    if (c1 == L'\0') {
      if (AtEndOfText(lexer)) return true;
      lexer.Advance();  // a NUL before the end: the text is damaged
      return Expected(L"TOKEN_TYPE_OP_LESS", lexer);
    }
    if (c2 == L'\0') return Fail(L"Unexpected end of file.");
    if (c1 == L'<' && c2 == L'?') {
      if (declared) {
        Clear();
        return Fail(L"Unexpected <? sequence. Information is allowed only once at the beginning.");
      }
      lexer.Advance();       // "<"
      lexer.Advance();       // "?"
      std::wstring content;  // version and encoding are not used
      if (!lexer.ReadUntil(L"?>", content)) return Fail(L"Unexpected end of file while looking for '?>'.");
      lexer.Advance();  // "?"
      lexer.Advance();  // ">"
      declared = true;
    } else if (c1 == L'<') {
      if (!ParseElement(lexer, &_root)) {
        Clear();
        return false;
      }
    } else {
      // Text outside any element.
      lexer.Advance();
      return Expected(L"TOKEN_TYPE_OP_LESS", lexer);
    }
  }
}

bool XmlDoc::ParseElement(Lexer& lexer, XmlElement* parent) {
  // The scanner reads as the lexer that Parse sets up; any other lexer (or
  // one whose tables were changed since) reads on its own.
  if (!_directReading || &lexer != _parseLexer || lexer.GetChanges() != _parseLexerChanges) {
    return ReadElementThroughLexer(lexer, parent);
  }
  const std::wstring& text = lexer.GetText();
  XmlScanner<wchar_t> scanner(text.c_str(), text.size(), lexer.GetCursor(), lexer.GetLine(), _depth, _scanned,
                              _names);
  LexerHost host(*this, lexer);
  const bool ok = scanner.ReadElement(parent, host);
  lexer.Seek(scanner.GetPos(), scanner.GetLine());
  return ok;
}

bool XmlDoc::ReadElementThroughLexer(Lexer& lexer, XmlElement* parent) {
  const Token* token = &lexer.Advance();
  if (token->type != XML_TOKEN_TYPE_OP_LESS) return Expected(L"TOKEN_TYPE_OP_LESS", lexer);

  token = &lexer.Advance();
  if (token->type == XML_TOKEN_TYPE_OP_EXCL) {
    token = &lexer.Advance();
    if (token->type != XML_TOKEN_TYPE_OP_DEC) return Expected(L"TOKEN_TYPE_OP_DEC", lexer);
    std::wstring comment;
    if (!lexer.ReadUntil(L"-->", comment)) return Fail(L"Unexpected end of file.");
    parent->AppendComment(std::move(comment));
    lexer.Advance();  // "--"
    lexer.Advance();  // ">"
    return true;
  }
  if (token->type != TOKEN_TYPE_IDENT) return Expected(L"TOKEN_TYPE_IDENT", lexer);

  DepthGuard depth(_depth);
  if (_depth > kMaxDepth) {
    WriteXmlLogLine(L"Elements nested deeper than " + ToString(kMaxDepth) + L" levels" + LineSuffix(lexer));
    return false;
  }
  XmlElement* element = parent->AppendChild(std::wstring(token->text));

  // Attributes, up to "/>" or ">". They are gathered first so that the
  // element's list is made once, at its final size.
  _pending.clear();
  bool empty = false;
  for (;;) {
    token = &lexer.Advance();
    if (token->type == TOKEN_TYPE_IDENT) {
      std::wstring name = token->text;
      token = &lexer.Advance();
      if (token->type != XML_TOKEN_TYPE_OP_ASSIGN) return Expected(L"XML_TOKEN_TYPE_OP_ASSIGN", lexer);
      token = &lexer.Advance();
      if (token->type != TOKEN_TYPE_STRING) return Expected(L"TOKEN_TYPE_STRING", lexer);
      _pending.emplace_back(std::move(name), UnescapeText(token->text));
    } else if (token->type == TOKEN_TYPE_DELIM_BACKSLASH) {
      token = &lexer.Advance();
      if (token->type != XML_TOKEN_TYPE_OP_GREATER) return Expected(L"XML_TOKEN_TYPE_OP_GREATER", lexer);
      empty = true;
      break;
    } else if (token->type == XML_TOKEN_TYPE_OP_GREATER) {
      break;
    } else {
      return Expected(L"TOKEN_TYPE_IDENT", lexer);
    }
  }
  element->AdoptAttributes(_pending);
  return empty || ReadContentThroughLexer(lexer, element, false);
}

bool XmlDoc::ReadContentThroughLexer(Lexer& lexer, XmlElement* element, bool childSeen) {
  // Content: text before the first child, then children and comments.
  for (;;) {
    const wchar_t c1 = lexer.PeekChar(1);
    const wchar_t c2 = lexer.PeekChar(2);
    if (c2 == L'\0') return Fail(L"Unexpected end of file.");
    if (c1 == L'<' && c2 == L'/') break;
    if (c1 == L'<') {
      if (!ParseElement(lexer, element)) return false;
      childSeen = true;
    } else if (childSeen) {
      break;  // text after a child: the end tag below reports it
    } else {
      std::wstring text;
      lexer.ReadUntilChar(L'<', text);
      element->SetText(UnescapeText(text));
    }
  }

  // End tag.
  const Token* token = &lexer.Advance();
  if (token->type != XML_TOKEN_TYPE_OP_LESS) return Expected(L"XML_TOKEN_TYPE_OP_LESS", lexer);
  token = &lexer.Advance();
  if (token->type != TOKEN_TYPE_DELIM_BACKSLASH) return Expected(L"TOKEN_TYPE_DELIM_BACKSLASH", lexer);
  token = &lexer.Advance();
  if (token->type != TOKEN_TYPE_IDENT) return Expected(L"TOKEN_TYPE_IDENT", lexer);
  if (token->text != element->GetName()) {
    WriteXmlLogLine(L"Expected identifier " + element->GetName() + L", found " + token->text +
                    LineSuffix(lexer));
    return false;
  }
  token = &lexer.Advance();
  if (token->type != XML_TOKEN_TYPE_OP_GREATER) return Expected(L"XML_TOKEN_TYPE_OP_GREATER", lexer);
  return true;
}

}  // namespace LLF
