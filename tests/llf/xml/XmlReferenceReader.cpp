#include "XmlReferenceReader.h"

#include <utility>
#include <vector>

#include "core/StringUtils.h"
#include "xml/Lexer.h"
#include "xml/XmlDoc.h"
#include "xml/XmlText.h"

namespace QmTest {

namespace {

constexpr int kDec = 30001;      // "--"
constexpr int kExcl = 30002;     // "!"
constexpr int kAssign = 30003;   // "="
constexpr int kLess = 30004;     // "<"
constexpr int kGreater = 30005;  // ">"

class Reader {
  using Token = LLF::Token;

 public:
  Reader(const std::wstring& text, LLF::XmlElement& root) : _root(root) {
    _lexer.SetOperators({L"--", L"!", L"=", L"<", L">"});
    _lexer.SetText(text);
  }

  bool Document() {
    bool declared = false;
    for (;;) {
      const wchar_t c1 = _lexer.PeekChar(1);
      const wchar_t c2 = _lexer.PeekChar(2);
      if (c1 == 0) {
        // The end, unless a NUL stands before it.
        const std::wstring& text = _lexer.GetText();
        if (text.find_first_not_of(L" \t\r\n", _lexer.GetCursor()) == std::wstring::npos) return true;
        _lexer.NextToken();
        return Expected(L"TOKEN_TYPE_OP_LESS");
      }
      if (c2 == 0) return Fail(L"Unexpected end of file.");
      if (c1 == L'<' && c2 == L'?') {
        if (declared) {
          _root.Clear();
          return Fail(L"Unexpected <? sequence. Information is allowed only once at the beginning.");
        }
        _lexer.NextToken();
        _lexer.NextToken();
        std::wstring content;
        if (!_lexer.ReadUntil(L"?>", content)) return Fail(L"Unexpected end of file while looking for '?>'.");
        _lexer.NextToken();
        _lexer.NextToken();
        declared = true;
      } else if (c1 == L'<') {
        if (!Element(_root, 1)) {
          _root.Clear();
          return false;
        }
      } else {
        _lexer.NextToken();
        return Expected(L"TOKEN_TYPE_OP_LESS");
      }
    }
  }

 private:
  bool Element(LLF::XmlElement& parent, int depth) {
    if (_lexer.NextToken().type != kLess) return Expected(L"TOKEN_TYPE_OP_LESS");
    Token token = _lexer.NextToken();
    if (token.type == kExcl) {
      if (_lexer.NextToken().type != kDec) return Expected(L"TOKEN_TYPE_OP_DEC");
      std::wstring comment;
      if (!_lexer.ReadUntil(L"-->", comment)) return Fail(L"Unexpected end of file.");
      parent.AddChild(L"COMMENT")->SetComment(comment);
      _lexer.NextToken();
      _lexer.NextToken();
      return true;
    }
    if (token.type != LLF::TOKEN_TYPE_IDENT) return Expected(L"TOKEN_TYPE_IDENT");
    if (depth > LLF::XmlDoc::kMaxDepth) {
      LLF::WriteXmlLogLine(L"Elements nested deeper than " + LLF::ToString(LLF::XmlDoc::kMaxDepth) +
                           L" levels. Line: " + LLF::ToString(_lexer.GetLine()));
      return false;
    }
    LLF::XmlElement& element = *parent.AddChild(token.text);
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    for (;;) {
      token = _lexer.NextToken();
      if (token.type == LLF::TOKEN_TYPE_IDENT) {
        if (_lexer.NextToken().type != kAssign) return Expected(L"XML_TOKEN_TYPE_OP_ASSIGN");
        const Token value = _lexer.NextToken();
        if (value.type != LLF::TOKEN_TYPE_STRING) return Expected(L"TOKEN_TYPE_STRING");
        attributes.emplace_back(token.text, LLF::UnescapeText(value.text));
      } else if (token.type == LLF::TOKEN_TYPE_DELIM_BACKSLASH) {
        if (_lexer.NextToken().type != kGreater) return Expected(L"XML_TOKEN_TYPE_OP_GREATER");
        Adopt(element, attributes);
        return true;
      } else if (token.type == kGreater) {
        break;
      } else {
        return Expected(L"TOKEN_TYPE_IDENT");
      }
    }
    Adopt(element, attributes);

    bool childSeen = false;
    for (;;) {
      const wchar_t c1 = _lexer.PeekChar(1);
      const wchar_t c2 = _lexer.PeekChar(2);
      if (c2 == 0) return Fail(L"Unexpected end of file.");
      if (c1 == L'<' && c2 == L'/') break;
      if (c1 == L'<') {
        if (!Element(element, depth + 1)) return false;
        childSeen = true;
      } else if (childSeen) {
        break;
      } else {
        std::wstring text;
        _lexer.ReadUntilChar(L'<', text);
        element.SetText(LLF::UnescapeText(text));
      }
    }
    if (_lexer.NextToken().type != kLess) return Expected(L"XML_TOKEN_TYPE_OP_LESS");
    if (_lexer.NextToken().type != LLF::TOKEN_TYPE_DELIM_BACKSLASH)
      return Expected(L"TOKEN_TYPE_DELIM_BACKSLASH");
    token = _lexer.NextToken();
    if (token.type != LLF::TOKEN_TYPE_IDENT) return Expected(L"TOKEN_TYPE_IDENT");
    if (token.text != element.GetName()) {
      LLF::WriteXmlLogLine(L"Expected identifier " + element.GetName() + L", found " + token.text +
                           L". Line: " + LLF::ToString(_lexer.GetLine()));
      return false;
    }
    if (_lexer.NextToken().type != kGreater) return Expected(L"XML_TOKEN_TYPE_OP_GREATER");
    return true;
  }

  static void Adopt(LLF::XmlElement& element,
                    const std::vector<std::pair<std::wstring, std::wstring>>& list) {
    for (const auto& [name, value] : list) element.AddAttribute(name, value);
  }

  bool Expected(const wchar_t* what) {
    LLF::WriteXmlLogLine(std::wstring(L"Expected ") + what + L", found " + _lexer.GetToken().text +
                         L". Line: " + LLF::ToString(_lexer.GetLine()));
    return false;
  }

  static bool Fail(const wchar_t* line) {
    LLF::WriteXmlLogLine(line);
    return false;
  }

  LLF::Lexer _lexer;
  LLF::XmlElement& _root;
};

}  // namespace

bool ReadThroughLexer(const std::wstring& text, LLF::XmlElement& root) {
  root.Clear();
  return Reader(text, root).Document();
}

}  // namespace QmTest
