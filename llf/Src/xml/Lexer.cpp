#include "xml/Lexer.h"

#include <utility>

#include "core/StringUtils.h"

namespace LLF {

namespace {

enum class State { Blanks, Integer, Real, Ident, Delimiter, String, Operator, Unknown };

// The blank test of the hot loops, inline.
inline bool Blank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

}  // namespace

Lexer::Lexer() {
  Reset();
  SetDefaultDelimiters();
  SetDefaultOperators();
}

Lexer::~Lexer() {
  Lexer::Clear();
}

std::wstring Lexer::Dump() const {
  return L"Lexer: Text: " + Text();
}

void Lexer::SetText(const std::wstring& text) {
  _text = text;
  _borrowed = nullptr;
  Reset();
}

void Lexer::BorrowText(const std::wstring& text) {
  _text.clear();
  _borrowed = &text;
  Reset();
}

void Lexer::Seek(size_t cursor, int line) {
  Cur().tokenStart = cursor;
  Cur().cursor = cursor;
  _line = line;
}

void Lexer::SetDelimiters(const std::vector<wchar_t>& delimiters) {
  _delimiters = delimiters;
  IndexDelimiters();
}

void Lexer::SetOperators(const std::vector<std::wstring>& operators) {
  _operators = operators;
  IndexOperators();
}

void Lexer::SetKeywords(const std::vector<std::wstring>& keywords) {
  _keywords = keywords;
}

void Lexer::Reset() {
  _line = 0;
  Cur().tokenStart = 0;
  Cur().cursor = 0;
  Cur().token.text.clear();
  Cur().accumulator.clear();
  _records[_currentIndex ^ 1] = Cur();
}

void Lexer::Clear() {
  _text.clear();
  _borrowed = nullptr;
  Reset();
}

bool Lexer::ReadLine(std::wstring& out) {
  out.clear();
  for (wchar_t c; (c = At(Cur().cursor)) != L'\0';) {
    ++Cur().cursor;
    if (c == L'\n') {
      ++_line;
      return true;
    }
    if (c != L'\r') out.push_back(c);
  }
  return false;
}

bool Lexer::SkipLine() {
  for (wchar_t c; (c = At(Cur().cursor)) != L'\0';) {
    ++Cur().cursor;
    if (c == L'\n') {
      ++_line;
      return true;
    }
  }
  return false;
}

bool Lexer::ReadUntilChar(wchar_t ch, std::wstring& out) {
  out.clear();
  const size_t start = Cur().cursor;
  size_t i = start;
  wchar_t c;
  while ((c = At(i)) != L'\0' && c != ch) {
    if (c == L'\n') ++_line;
    ++i;
  }
  out.assign(Text(), start, i - start);
  Cur().cursor = i;
  return c != L'\0';
}

bool Lexer::ReadUntil(const std::wstring& terminator, std::wstring& out) {
  out.clear();
  const size_t start = Cur().cursor;
  size_t i = start;
  if (terminator.empty()) return true;
  for (wchar_t c; (c = At(i)) != L'\0'; ++i) {
    if (c == terminator[0] && Text().compare(i, terminator.size(), terminator) == 0) {
      out.assign(Text(), start, i - start);
      Cur().cursor = i;
      return true;
    }
    if (c == L'\n') ++_line;
  }
  out.assign(Text(), start, i - start);
  Cur().cursor = i;
  return false;
}

wchar_t Lexer::PeekChar(int n) const {
  if (n < 1) return L'\0';
  for (size_t i = Cur().cursor;; ++i) {
    const wchar_t c = At(i);
    if (c == L'\0') return c;
    if (!Blank(c) && --n == 0) return c;
  }
}

Token Lexer::NextToken() {
  return Advance();
}

const Token& Lexer::Advance() {
  // The current record becomes the previous one as it stands; the other
  // slot, with its buffers, starts the new token.
  const Record& previous = _records[_currentIndex];
  _currentIndex ^= 1;
  Record& current = _records[_currentIndex];
  current.tokenStart = previous.cursor;
  current.cursor = previous.cursor;
  current.token.type = previous.token.type;
  current.token.text.clear();
  current.accumulator.clear();

  Token& token = Cur().token;
  std::wstring& text = token.text;
  size_t& cursor = Cur().cursor;
  const std::wstring& source = Text();
  if (cursor >= source.size()) {
    token.type = TOKEN_TYPE_END;
    return token;
  }

  // The text ends with a NUL, so the scans below need no bounds checks.
  const wchar_t* const chars = source.c_str();
  State state = State::Blanks;
  bool closed = false;  // a string met its closing quote
  for (;;) {
    const wchar_t c = chars[cursor];
    if (c == L'\0') break;  // end of text: nothing consumed
    ++cursor;
    bool ends = false;     // the token is complete
    bool giveBack = true;  // ...and c is not part of it
    switch (state) {
      case State::Blanks:
        if (Blank(c)) {
          if (c == L'\n') ++_line;
          // Skip the whole run of blanks at once.
          for (wchar_t d; Blank(d = chars[cursor]); ++cursor) {
            if (d == L'\n') ++_line;
          }
          Cur().tokenStart = cursor;
          continue;
        }
        if (IsDigit(c)) {
          state = State::Integer;
        } else if (c == L'.' && IsDigit(PeekChar(1))) {
          state = State::Real;
        } else if (IsIdentChar(c)) {
          state = State::Ident;
        } else if (_stringMode && c == L'"') {
          state = State::String;
          continue;  // the opening quote is not kept
        } else if (IsDelimiter(c)) {
          state = State::Delimiter;
          ends = true;
          giveBack = false;
        } else if (IsOperatorChar(c, 0)) {
          Cur().accumulator.assign(1, c);
          state = State::Operator;
        } else {
          state = State::Unknown;
          ends = true;
          giveBack = false;
        }
        text.push_back(c);
        break;
      case State::Integer:
      case State::Real:
      case State::Ident:
        if (state == State::Ident && IsIdentChar(c)) {
          // Take the rest of the name in one step.
          size_t end = cursor;
          while (IsIdentChar(chars[end])) ++end;
          text.append(source, cursor - 1, end - cursor + 1);
          cursor = end;
        } else if (state != State::Ident && IsDigit(c)) {
          text.push_back(c);
        } else if (state == State::Integer && c == L'.') {
          text.push_back(c);
          state = State::Real;
        } else if (Blank(c) || IsDelimiter(c) || IsOperatorChar(c, 0)) {
          ends = true;
        } else {
          text.push_back(c);
          state = State::Unknown;
          ends = true;
          giveBack = false;
        }
        break;
      case State::String: {
        // Take the run up to the next character that means something here.
        size_t end = cursor - 1;
        wchar_t d;
        while ((d = chars[end]) != L'\0' && d != L'"' && d != L'\\' && d != L'\n') ++end;
        text.append(source, cursor - 1, end - (cursor - 1));
        cursor = end;
        if (d == L'\0') break;
        ++cursor;
        if (d == L'"') {
          closed = true;
          ends = true;
          giveBack = false;
          break;
        }
        text.push_back(d);
        if (d == L'\n') {
          ++_line;
        } else {
          // An escape: the next character is kept whatever it is, so an
          // escaped quote does not close the string. Nothing is decoded.
          const wchar_t e = chars[cursor];
          if (e != L'\0') {
            text.push_back(e);
            ++cursor;
            if (e == L'\n') ++_line;
          }
        }
        break;
      }
      case State::Operator:
        if (CanExtendOperator() && IsOperatorChar(c, Cur().accumulator.size())) {
          Cur().accumulator.push_back(c);
          text.push_back(c);
        } else {
          ends = true;
        }
        break;
      case State::Delimiter:
      case State::Unknown:
        ends = true;  // not reached: both end at their first character
        break;
    }
    if (ends) {
      if (giveBack) --cursor;
      break;
    }
  }

  switch (state) {
    case State::Unknown:
      token.type = TOKEN_TYPE_UNKNOWN;
      break;
    case State::Integer:
      token.type = TOKEN_TYPE_INTEGER;
      break;
    case State::Real:
      token.type = TOKEN_TYPE_REAL;
      break;
    case State::String:
      token.type = closed ? TOKEN_TYPE_STRING : TOKEN_TYPE_END;
      break;
    case State::Ident:
      token.type = TOKEN_TYPE_IDENT + GetKeywordCode(text);
      break;
    case State::Delimiter:
      token.type = TOKEN_TYPE_DELIMITER + GetDelimiterCode(text[0]);
      break;
    case State::Operator:
      token.type = TOKEN_TYPE_OPERATOR + GetOperatorCode(text);
      break;
    case State::Blanks:
      token.type = TOKEN_TYPE_END;
      break;
  }
  return token;
}

void Lexer::SetDefaultKeywords() {
  _keywords.clear();
}

int Lexer::GetKeywordCode(const std::wstring& text) const {
  for (size_t i = 0; i < _keywords.size(); ++i) {
    if (_keywordsNoCase ? StrEqualNoCase(_keywords[i], text) : _keywords[i] == text) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

void Lexer::SetDefaultDelimiters() {
  _delimiters = {L':', L',', L'"', L'\'', L'[', L']', L'{', L'}', L'(', L')', L';', L'.', L'?', L'/'};
  IndexDelimiters();
}

void Lexer::IndexDelimiters() {
  for (int& code : _asciiDelimiterCode) code = 0;
  for (size_t i = _delimiters.size(); i-- > 0;) {
    const wchar_t c = _delimiters[i];
    if (c >= 0 && c < 128) _asciiDelimiterCode[c] = static_cast<int>(i) + 1;
  }
}

bool Lexer::IsDelimiter(wchar_t c) const {
  return Blank(c) || GetDelimiterCode(c) != 0;
}

int Lexer::GetDelimiterCode(wchar_t c) const {
  if (c >= 0 && c < 128) return _asciiDelimiterCode[c];
  for (size_t i = 0; i < _delimiters.size(); ++i) {
    if (_delimiters[i] == c) return static_cast<int>(i) + 1;
  }
  return 0;
}

void Lexer::SetDefaultOperators() {
  _operators = {L"+",   L"-",  L"*",  L"/",  L"%", L"^",  L"$",  L"++", L"--", L"=",  L"+=", L"-=", L"*=",
                L"/=",  L"%=", L"^=", L"&",  L"|", L"#",  L"~",  L"<<", L">>", L"&=", L"|=", L"#=", L"<<=",
                L">>=", L"$=", L"&&", L"||", L"!", L"==", L"!=", L"<",  L">",  L"<=", L">="};
  IndexOperators();
}

void Lexer::IndexOperators() {
  for (int c = 0; c < 128; ++c) {
    _asciiOperatorStart[c] = false;
    _asciiExtends[c] = false;
    _asciiOperatorCode[c] = 0;
  }
  for (size_t i = _operators.size(); i-- > 0;) {
    const std::wstring& op = _operators[i];
    if (op.empty()) continue;
    if (op[0] >= 0 && op[0] < 128) _asciiOperatorStart[op[0]] = true;
    if (op.size() == 1 && op[0] >= 0 && op[0] < 128) _asciiOperatorCode[op[0]] = static_cast<int>(i) + 1;
    if (op.size() > 1) {
      for (wchar_t c : op) {
        if (c >= 0 && c < 128) _asciiExtends[c] = true;
      }
    }
  }
}

bool Lexer::IsOperatorChar(wchar_t c, size_t pos) const {
  if (pos == 0 && c >= 0 && c < 128) return _asciiOperatorStart[c];
  const std::wstring& acc = Cur().accumulator;
  const size_t prefix = pos == 0 ? 0 : acc.size();
  for (const std::wstring& op : _operators) {
    if (op.size() > pos && op[pos] == c && op.size() >= prefix &&
        op.compare(0, prefix, acc, 0, prefix) == 0) {
      return true;
    }
  }
  return false;
}

bool Lexer::CanExtendOperator() const {
  const std::wstring& acc = Cur().accumulator;
  if (acc.size() == 1 && acc[0] >= 0 && acc[0] < 128) return _asciiExtends[acc[0]];
  for (const std::wstring& op : _operators) {
    if (op.size() > acc.size() && op.find(acc) != std::wstring::npos) return true;
  }
  return false;
}

int Lexer::GetOperatorCode(const std::wstring& text) const {
  if (text.size() == 1 && text[0] >= 0 && text[0] < 128) return _asciiOperatorCode[text[0]];
  for (size_t i = 0; i < _operators.size(); ++i) {
    if (_operators[i] == text) return static_cast<int>(i) + 1;
  }
  return 0;
}

bool Lexer::IsIdentChar(wchar_t c) const {
  return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
}

}  // namespace LLF
