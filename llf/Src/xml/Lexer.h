#pragma once
// Cuts a wide text into tokens: numbers, double-quoted strings, identifiers
// (optionally matched against a keyword list), one-character delimiters and
// greedy multi-character operators; plus raw reads (a line, up to a
// character, up to a terminator) and a look-ahead over blanks. Built on the
// stack for one parse; owns copies of everything it is given.
//
// Token types: 0 unknown, 1 integer, 2 real, 3 string, 4 end (also an
// unterminated string), 10000 + k identifier (k: 1-based keyword index, 0 for
// none), 20000 + d delimiter (d: 1-based index in the delimiter table),
// 30000 + o operator (o: 1-based index of the operator equal to the text, 0
// when none is).
//
// The line count starts at 0 and counts every line feed passed, those inside
// quoted strings included, so error lines point at the right place. A NUL
// character ends the text wherever it stands.
#include <cstddef>
#include <string>
#include <vector>

#include "core/Object.h"

namespace LLF {

constexpr int TOKEN_TYPE_UNKNOWN = 0;
constexpr int TOKEN_TYPE_INTEGER = 1;
constexpr int TOKEN_TYPE_REAL = 2;
constexpr int TOKEN_TYPE_STRING = 3;
constexpr int TOKEN_TYPE_END = 4;
constexpr int TOKEN_TYPE_IDENT = 10000;
constexpr int TOKEN_TYPE_DELIMITER = 20000;
constexpr int TOKEN_TYPE_OPERATOR = 30000;
// Codes within the default tables.
constexpr int TOKEN_TYPE_DELIM_BACKSLASH = 20014;  // '/'
constexpr int TOKEN_TYPE_OP_DEC = 30009;           // "--"
constexpr int TOKEN_TYPE_OP_LESS = 30034;          // "<"

struct Token {
  int type = TOKEN_TYPE_END;
  std::wstring text;
};

class Lexer : public virtual Object {
 public:
  Lexer();
  Lexer(const Lexer&) = default;
  Lexer& operator=(const Lexer&) = default;

  LLF_KIND_OF(Lexer, Object)
  ~Lexer() override;
  std::wstring Dump() const override;

  virtual const std::wstring& GetText() const { return Text(); }
  // The token last read; the reference holds until the next read.
  virtual const Token& GetToken() const { return Cur().token; }
  virtual int GetLine() const { return _line; }
  virtual void SetText(const std::wstring& text);
  virtual void SetDelimiters(const std::vector<wchar_t>& delimiters);
  virtual void SetOperators(const std::vector<std::wstring>& operators);
  virtual void SetKeywords(const std::vector<std::wstring>& keywords);
  virtual bool GetStringMode() const { return _stringMode; }
  virtual void SetStringMode(bool on) { _stringMode = on; }
  virtual bool GetKeywordsNoCase() const { return _keywordsNoCase; }
  virtual void SetKeywordsNoCase(bool on) { _keywordsNoCase = on; }
  // Line, position and token text back to the start; the token type stays.
  virtual void Reset();
  virtual void Clear();
  // Collects up to the next line feed (consumed, not kept; carriage returns
  // dropped). False at the end of the text, with what was collected.
  virtual bool ReadLine(std::wstring& out);
  virtual bool SkipLine();
  // Collects up to ch and leaves the cursor on it; false at the end.
  virtual bool ReadUntilChar(wchar_t ch, std::wstring& out);
  // Collects up to the first place where the terminator begins and leaves
  // the cursor there; false at the end.
  virtual bool ReadUntil(const std::wstring& terminator, std::wstring& out);
  // The n-th non-blank character from the cursor (n from 1), 0 when the text
  // ends first. Moves nothing.
  virtual wchar_t PeekChar(int n) const;
  virtual Token NextToken();
  virtual void SetDefaultKeywords();
  virtual int GetKeywordCode(const std::wstring& text) const;
  virtual void SetDefaultDelimiters();
  virtual bool IsDelimiter(wchar_t c) const;
  virtual int GetDelimiterCode(wchar_t c) const;
  virtual void SetDefaultOperators();
  virtual bool IsOperatorChar(wchar_t c, size_t pos) const;
  virtual bool CanExtendOperator() const;
  virtual int GetOperatorCode(const std::wstring& text) const;
  virtual bool IsIdentChar(wchar_t c) const;

  // NextToken without the copy: the token read, valid until the next read.
  const Token& Advance();
  size_t GetCursor() const { return Cur().cursor; }
  size_t GetTokenStart() const { return Cur().tokenStart; }
  // Reads text in place instead of a copy, then Reset; the text must stay
  // unchanged while it is read. SetText and Clear go back to an own copy.
  void BorrowText(const std::wstring& text);
  // Moves the cursor to a place a reader outside the lexer has reached,
  // with the line count there (line feeds before cursor).
  void Seek(size_t cursor, int line);

 private:
  struct Record {
    size_t tokenStart = 0;
    size_t cursor = 0;
    Token token;
    std::wstring accumulator;  // operator characters matched so far
  };

  // Rebuild the lookups that answer for ASCII characters without a search.
  void IndexDelimiters();
  void IndexOperators();

  // The text being read: the own copy or the borrowed one.
  const std::wstring& Text() const { return _borrowed ? *_borrowed : _text; }
  // The character at i, or 0 past the end.
  wchar_t At(size_t i) const { return i < Text().size() ? Text()[i] : L'\0'; }

  Record& Cur() { return _records[_currentIndex]; }
  const Record& Cur() const { return _records[_currentIndex]; }

  // The current record and the previous one (the current record as it
  // stood before the last NextToken); a read turns the current record into
  // the previous one and starts the other afresh, so nothing is copied.
  Record _records[2];
  int _currentIndex = 0;
  std::wstring _text;
  const std::wstring* _borrowed = nullptr;  // read in place of _text when set
  int _line = 0;
  bool _stringMode = true;
  bool _keywordsNoCase = false;
  std::vector<std::wstring> _keywords;
  std::vector<wchar_t> _delimiters;
  std::vector<std::wstring> _operators;
  int _asciiDelimiterCode[128] = {};   // GetDelimiterCode for ASCII
  bool _asciiOperatorStart[128] = {};  // IsOperatorChar(c, 0) for ASCII
  bool _asciiExtends[128] = {};        // CanExtendOperator for a one-character accumulator
  int _asciiOperatorCode[128] = {};    // GetOperatorCode of a one-character text
};

}  // namespace LLF
