#include "xml/XmlDoc.h"

#include "core/StringUtils.h"
#include "io/TextEncoding.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlScanner.h"

namespace LLF {

namespace {

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
  return ParseDocument(lexer);
}

bool XmlDoc::ParseUtf8(const std::string& bytes) {
  Clear();
  XmlScanner<char> scanner(bytes.c_str(), bytes.size(), 0, 0, _names);
  const auto outcome = scanner.ReadDocument(&_root);
  if (outcome == XmlScanner<char>::Outcome::kFailedAndCleared) Clear();
  return outcome == XmlScanner<char>::Outcome::kRead;
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
  const std::wstring& text = lexer.GetText();
  XmlScanner<wchar_t> scanner(text.c_str(), text.size(), lexer.GetCursor(), lexer.GetLine(), _names);
  const auto outcome = scanner.ReadDocument(&_root);
  lexer.Seek(scanner.GetPos(), scanner.GetLine());
  if (outcome == XmlScanner<wchar_t>::Outcome::kFailedAndCleared) Clear();
  return outcome == XmlScanner<wchar_t>::Outcome::kRead;
}

bool XmlDoc::ParseElement(Lexer& lexer, XmlElement* parent) {
  const std::wstring& text = lexer.GetText();
  XmlScanner<wchar_t> scanner(text.c_str(), text.size(), lexer.GetCursor(), lexer.GetLine(), _names);
  const bool ok = scanner.ReadElement(parent);
  lexer.Seek(scanner.GetPos(), scanner.GetLine());
  return ok;
}

}  // namespace LLF
