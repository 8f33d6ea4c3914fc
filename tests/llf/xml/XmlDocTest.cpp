#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "XmlReferenceReader.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "io/TextEncoding.h"
#include "io/TextFile.h"
#include "xml/XmlDoc.h"

namespace {

using namespace std::string_literals;

// True when the log's time stamp "MM.DD.YYYY / hh:mm:ss " starts at pos.
bool StampAt(const std::wstring& text, size_t pos) {
  const std::wstring form = L"00.00.0000 / 00:00:00 ";
  if (text.size() < pos + form.size()) return false;
  for (size_t i = 0; i < form.size(); ++i) {
    const wchar_t c = text[pos + i];
    if (form[i] == L'0' ? !LLF::IsDigit(c) : c != form[i]) return false;
  }
  return true;
}

// Points the log at a folder of its own while it lives and reads back the
// entries written to "log.txt" there, without their time stamps (an entry
// may itself hold line breaks).
class LogCapture {
 public:
  LogCapture() : _saved(LLF::Log::GetInstance().GetFolder()) {
    LLF::Log::GetInstance().SetFolder(LLF::FromOsPath(QmTest::NewTempFolder("log")));
  }
  ~LogCapture() { LLF::Log::GetInstance().SetFolder(_saved); }

  // The entries written since the last call.
  std::vector<std::wstring> Take() {
    std::wstring text;
    LLF::TextFile file;
    std::vector<std::wstring> entries;
    if (!file.ReadAll(LLF::Log::GetInstance().GetPath(), text)) return entries;  // nothing written yet
    const size_t stampLength = 22;
    for (size_t pos = 0; pos < text.size() && StampAt(text, pos);) {
      size_t end = pos + stampLength;
      for (;; end += 2) {
        end = text.find(L"\r\n", end);
        if (end == std::wstring::npos || end + 2 == text.size() || StampAt(text, end + 2)) break;
      }
      if (end == std::wstring::npos) end = text.size();
      entries.push_back(text.substr(pos + stampLength, end - pos - stampLength));
      pos = end + 2;
    }
    std::vector<std::wstring> fresh(entries.begin() + static_cast<std::ptrdiff_t>(_taken), entries.end());
    _taken = entries.size();
    return fresh;
  }

 private:
  std::wstring _saved;
  size_t _taken = 0;
};

// A compact picture of a tree: name[attr=value]'text'{children}; comments
// as <!--text-->.
std::wstring Tree(const LLF::XmlElement& e) {
  if (e.IsComment()) return L"<!--" + e.GetText() + L"-->";
  std::wstring out = e.GetName();
  for (int i = 0; i < e.GetAttributesCount(); ++i) {
    out += L"[" + e.GetAttribute(i)->GetName() + L"=" + e.GetAttribute(i)->GetValue() + L"]";
  }
  if (!e.GetText().empty()) out += L"'" + e.GetText() + L"'";
  if (e.GetChildsCount() > 0) {
    out += L"{";
    for (int i = 0; i < e.GetChildsCount(); ++i) out += (i ? L" " : L"") + Tree(*e.GetChild(i));
    out += L"}";
  }
  return out;
}

std::wstring Tree(const LLF::XmlDoc& doc) {
  std::wstring out;
  for (int i = 0; i < doc.GetRoot()->GetChildsCount(); ++i)
    out += (i ? L" " : L"") + Tree(*doc.GetRoot()->GetChild(i));
  return out;
}

std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring out;
  for (const auto& l : lines) out += (out.empty() ? L"" : L" | ") + l;
  return out;
}

// A layout-like document that uses every construct the reader accepts.
const std::wstring kSample =
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    L"<!-- Options dialog -->\r\n"
    L"<layouts>\r\n"
    L"\t<vars>\r\n"
    L"\t\t<var name=\"left\" value=\"40\" />\r\n"
    L"\t</vars>\r\n"
    L"\t<dialog name=\"options\" pos=\"#left;,120\" size=\"400,300\" color=\"255,255,255,200\" >\r\n"
    L"\t\t<button name=\"OkButton\" text=\"&lt;OK&gt; &amp; &quot;go&quot; &apos;now&apos; C:&#x5C;dir\" "
    L"/>\r\n"
    L"\t\t<label name=\"title\" >Options &amp; more &#x1F600;</label>\r\n"
    L"\t\t<label name=\"multi\" text=\"line one\r\nline two\" />\r\n"
    L"\t\t<group >Group text<item id=\"1\" /><!-- inside --><item id=\"2\" />\r\n"
    L"\t\t</group>\r\n"
    L"\t\t<empty></empty>\r\n"
    L"\t</dialog>\r\n"
    L"</layouts>\r\n";

struct ReadCase {
  std::wstring text;
  bool ok;
  std::wstring tree;
  std::wstring log;  // lines joined by " | "
};

const ReadCase kReadCases[] = {
    {L"", true, L"", L""},
    {L" \r\n\t ", true, L"", L""},
    {L"<a/>", true, L"a", L""},
    {L"<a></a>", true, L"a", L""},
    {L"<a> \r\n </a>", true, L"a", L""},
    {L"< a / >", true, L"a", L""},
    {L"<a>  x  </a>", true, L"a'  x  '", L""},
    {L"<a>\"quoted\" text</a>", true, L"a'\"quoted\" text'", L""},
    {L"<a>t<b/></a>", true, L"a't'{b}", L""},
    {L"<a><!--x--> <b/>\r\n</a>", true, L"a{<!--x--> b}", L""},
    {L"<a/><b/>\r\n<c/>", true, L"a b c", L""},
    {L"<!-- c --><a/>", true, L"<!-- c --> a", L""},
    {L"<!--  spaced\r\n -->", true, L"<!--  spaced\r\n -->", L""},
    {L"<a b=\"1\" b=\"2\"/>", true, L"a[b=1][b=2]", L""},
    {L"<a v=\"<>\"/>", true, L"a[v=<>]", L""},
    {L"<a v=\"line\nfeed\"/>", true, L"a[v=line\nfeed]", L""},
    {L"<?xml version=\"1.0\"?><a/>", true, L"a", L""},
    {L"<a v=\"&lt;&#65;&#x42;&#x5C;&amp;&quot;&apos;&gt;\">&#x1F600;&foo;& x;</a>", true,
     L"a[v=<AB\\&\"'>]'\U0001F600UNKNOWN_IDENTIFIERUNKNOWN_IDENTIFIER'", L""},
    // Number references that name no character give U+FFFD, never a NUL.
    {L"<a>&#0;&#x110000;&#99999999999;&#X41;&#;&#x;&#xZZ;</a>", true,
     L"a'\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD'", L""},
    // Nor does a surrogate, which no text encoding could write back.
    {L"<a v=\"&#xD800;&#xdfff;&#55296;\">&#xD7FF;&#xDBFF;&#xE000;</a>", true,
     L"a[v=\uFFFD\uFFFD\uFFFD]'\uD7FF\uFFFD\uE000'", L""},
    {L"<a v=\"x & y\"/>", true, L"a[v=x & y]",
     L"Warning: XML file include incorect special symbols coding. Wrong value: x & y"},
    {L"<a><b/>t</a>", false, L"", L"Expected XML_TOKEN_TYPE_OP_LESS, found t. Line: 0"},
    {L"<a>t<!--c-->u</a>", false, L"", L"Expected XML_TOKEN_TYPE_OP_LESS, found u. Line: 0"},
    {L"<a x='1'/>", false, L"", L"Expected TOKEN_TYPE_STRING, found '. Line: 0"},
    {L"<a-b/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found -. Line: 0"},
    {L"<1a/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found 1a. Line: 0"},
    {L"<!DOCTYPE html>", false, L"", L"Expected TOKEN_TYPE_OP_DEC, found DOCTYPE. Line: 0"},
    {L"<?xml version=\"1.0\"?>\n<a/><?xml?>", false, L"",
     L"Unexpected <? sequence. Information is allowed only once at the beginning."},
    {L"<a></b>", false, L"", L"Expected identifier a, found b. Line: 0"},
    {L"<a\n v=\"1\nx\"\n><b></c></a>", false, L"", L"Expected identifier b, found c. Line: 3"},
    {L"<a", false, L"", L"Expected TOKEN_TYPE_IDENT, found . Line: 0"},
    {L"<a>", false, L"", L"Unexpected end of file."},
    {L"x", false, L"", L"Unexpected end of file."},
    {L"<?xml", false, L"", L"Unexpected end of file while looking for '?>'."},
    {L"<!-- x", false, L"", L"Unexpected end of file."},
    {L"<a x=\"1\" y/>", false, L"", L"Expected XML_TOKEN_TYPE_OP_ASSIGN, found /. Line: 0"},
    {L"<a /x>", false, L"", L"Expected XML_TOKEN_TYPE_OP_GREATER, found x. Line: 0"},
    {L"<a></ >", false, L"", L"Expected TOKEN_TYPE_IDENT, found >. Line: 0"},
    {L"<a></a x>", false, L"", L"Expected XML_TOKEN_TYPE_OP_GREATER, found x. Line: 0"},
    // Stray text at the top level fails; what was read before it stays.
    {L"xy <a/>", false, L"", L"Expected TOKEN_TYPE_OP_LESS, found xy. Line: 0"},
    {L"<a/>\njunk", false, L"a", L"Expected TOKEN_TYPE_OP_LESS, found junk. Line: 1"},
    {L"<a>x</a>y", false, L"a'x'", L"Unexpected end of file."},
    {L"<a/>\0<b/>"s, false, L"a", L"Expected TOKEN_TYPE_OP_LESS, found . Line: 0"},
    {L"<a>x\0</a>"s, false, L"", L"Unexpected end of file."},
    // Blanks wherever the lexer skips them; names, strings, references,
    // comments and failures at every step.
    {L"<a\tb=\"1\"\r\nc = \"2\" / >", true, L"a[b=1][c=2]", L""},
    {L"<a><b/ ></a ><c></c\n>", true, L"a{b} c", L""},
    {L"< a/>", true, L"a", L""},
    {L"<a>< b/></a>", true, L"a{b}", L""},
    {L"<a></ a>", true, L"a", L""},
    {L"<a>x</a\t\n>", true, L"a'x'", L""},
    {L"<a b=\"1\"c=\"2\"/>", true, L"a[b=1][c=2]", L""},
    {L"<a b=\"x\\\"y\" c=\"\\\\\"/>", true, L"a[b=x\\\"y][c=\\\\]", L""},
    {L"<a b=\"&#65\\;\"/>", true, L"a[b=A]", L""},
    {L"<a b=\"\\&amp;\"/>", true, L"a[b=\\&]", L""},
    {L"<a>&amp;&#x41;&#66;&unknown;&lt;</a>", true, L"a'&ABUNKNOWN_IDENTIFIER<'", L""},
    {L"<a>&amp x</a>", true, L"a'&amp x'",
     L"Warning: XML file include incorect special symbols coding. Wrong value: &amp x"},
    {L"<a><b>&amp x</b><c>&amp;</c></a>", true, L"a{b'&amp x' c'&'}",
     L"Warning: XML file include incorect special symbols coding. Wrong value: &amp x"},
    {L"<a><b>t &amp</b>junk</a>", false, L"",
     L"Warning: XML file include incorect special symbols coding. Wrong value: t &amp | Expected "
     L"XML_TOKEN_TYPE_OP_LESS, found junk. Line: 0"},
    {L"<a1 _b=\"\"><_c/></a1>", true, L"a1[_b=]{_c}", L""},
    {L"<a><a><a/></a></a>", true, L"a{a{a}}", L""},
    {L"<ab></a>", false, L"", L"Expected identifier ab, found a. Line: 0"},
    {L"<a></ab>", false, L"", L"Expected identifier a, found ab. Line: 0"},
    {L"<a></a@>", false, L"", L"Expected TOKEN_TYPE_IDENT, found a@. Line: 0"},
    {L"<a><!-- c --><!----><!------></a>", true, L"a{<!-- c --> <!----> <!------>}", L""},
    {L"<a><!-x--></a>", false, L"", L"Expected TOKEN_TYPE_OP_DEC, found -. Line: 0"},
    {L"<a><! -- x --></a>", true, L"a{<!-- x -->}", L""},
    {L"<a><!-- x -- ></a>", false, L"", L"Unexpected end of file."},
    {L"<?xml?><?xml?>", false, L"",
     L"Unexpected <? sequence. Information is allowed only once at the beginning."},
    {L"<?\?><a/>", true, L"a", L""},
    {L"< ?x?><a/>", true, L"a", L""},
    {L"<a>\n\n<b\n/>\n<c>\n</d></a>", false, L"", L"Expected identifier c, found d. Line: 5"},
    {L"<a v=\"1\n2\"\n>\n<b v=\"\n\"></c></a>", false, L"", L"Expected identifier b, found c. Line: 4"},
    {L"<a>\u00E9\U0001F600</a>", true, L"a'\u00E9\U0001F600'", L""},
    {L"<\u00E9/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found \u00E9. Line: 0"},
    {L"<a \u00E9=\"1\"/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found \u00E9. Line: 0"},
    {L"<a>x\0y</a>"s, false, L"", L"Unexpected end of file."},
    {L"<a v=\"x\0\"/>"s, false, L"", L"Expected TOKEN_TYPE_STRING, found x. Line: 0"},
    {L"<!-- \0 -->"s, false, L"", L"Unexpected end of file."},
    {L"\uFEFF<a/>", false, L"", L"Expected TOKEN_TYPE_OP_LESS, found \uFEFF. Line: 0"},
    {L"<a b=\"1\" .5/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found .5. Line: 0"},
    {L"<a 12=\"1\"/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found 12. Line: 0"},
    {L"<a b c/>", false, L"", L"Expected XML_TOKEN_TYPE_OP_ASSIGN, found c. Line: 0"},
    {L"<a \"x\"/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found x. Line: 0"},
    {L"<a v=\"x\\", false, L"", L"Expected TOKEN_TYPE_STRING, found x\\. Line: 0"},
    {L"<a v=\"unterminated/>", false, L"", L"Expected TOKEN_TYPE_STRING, found unterminated/>. Line: 0"},
    {L"<a></a.b>", false, L"", L"Expected XML_TOKEN_TYPE_OP_GREATER, found .. Line: 0"},
    {L"<a></1a>", false, L"", L"Expected TOKEN_TYPE_IDENT, found 1a. Line: 0"},
    {L"<a>t</a><!-", false, L"", L"Expected TOKEN_TYPE_OP_DEC, found -. Line: 0"},
    {L"<a>&x \u00E9", false, L"",
     L"Warning: XML file include incorect special symbols coding. Wrong value: &x \u00E9 | Unexpected end of "
     L"file."},
    {L"\u00E9", false, L"", L"Unexpected end of file."},
    {L" \u00E9 ", false, L"", L"Unexpected end of file."},
    {L"<a> \u00E9</a>", true, L"a' \u00E9'", L""},
    {L"<a><?x?></a>", false, L"", L"Expected TOKEN_TYPE_IDENT, found ?. Line: 0"},
    {L"<a>&;</a>", true, L"a'UNKNOWN_IDENTIFIER'", L""},
    // Names at the same place in tags of one kind, alike in length or in
    // their first sixteen characters, stay apart; names end at any length.
    {L"<a xa=\"1\" yb=\"2\"/><a xb=\"3\" ya=\"4\"/><a xa=\"5\"/>", true,
     L"a[xa=1][yb=2] a[xb=3][ya=4] a[xa=5]", L""},
    {L"<e abcdefghijklmnop=\"1\"/><e abcdefghijklmnoq=\"2\"/><e abcdefghijklmnopq=\"3\"/>"
     L"<e abcdefghijklmnopr=\"4\"/>",
     true, L"e[abcdefghijklmnop=1] e[abcdefghijklmnoq=2] e[abcdefghijklmnopq=3] e[abcdefghijklmnopr=4]", L""},
    {L"<abcdefghijklmno_0123456789ABCDEFGHIJ v=\"1\"></abcdefghijklmno_0123456789ABCDEFGHIJ>", true,
     L"abcdefghijklmno_0123456789ABCDEFGHIJ[v=1]", L""},
    {L"<abcdefghijklmnop-x v=\"1\" w=\"2\"/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found -. Line: 0"},
    {L"<abc\u00E9defghijklmnopqrstuvwxyz/>", false, L"",
     L"Expected TOKEN_TYPE_IDENT, found abc\u00E9. Line: 0"},
    {L"<a abcdefghijklmnopqrstuvwxyz\u00E9=\"1\" b=\"2\"/>", false, L"",
     L"Expected TOKEN_TYPE_IDENT, found abcdefghijklmnopqrstuvwxyz\u00E9. Line: 0"},
    {L"<a b@c=\"1\" d=\"2\" e=\"3\"/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found b@. Line: 0"},
};

// What a way of reading made of a text: the result, the tree and the log
// lines.
struct Reading {
  bool ok;
  std::wstring tree;
  std::wstring log;
  bool operator==(const Reading&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Reading& r) {
  return out << r.ok << " " << LLF::WideToAnsi(r.tree) << " | " << LLF::WideToAnsi(r.log);
}

template <class Read>
Reading ReadWith(Read read) {
  LogCapture log;
  LLF::XmlDoc doc;
  doc.GetRoot()->AddChild(L"stale");  // every parse starts from an empty document
  const bool ok = read(doc);
  return {ok, Tree(doc), Joined(log.Take())};
}

Reading ReadWide(const std::wstring& text) {
  return ReadWith([&](LLF::XmlDoc& doc) { return doc.Parse(text); });
}

Reading ReadUtf8(const std::string& bytes) {
  return ReadWith([&](LLF::XmlDoc& doc) { return doc.ParseUtf8(bytes); });
}

Reading ReadReference(const std::wstring& text) {
  return ReadWith([&](LLF::XmlDoc& doc) { return QmTest::ReadThroughLexer(text, *doc.GetRoot()); });
}

// The reader, on wide text and on the same text as UTF-8, and the plain
// reading over the lexer all give the expected result, tree and lines.
TEST(XmlDocTest, ReaderTable) {
  for (const auto& c : kReadCases) {
    const Reading expected{c.ok, c.tree, c.log};
    EXPECT_EQ(ReadWide(c.text), expected) << LLF::WideToAnsi(c.text);
    EXPECT_EQ(ReadUtf8(LLF::Utf8Encode(c.text)), expected) << LLF::WideToAnsi(c.text);
    EXPECT_EQ(ReadReference(c.text), expected) << LLF::WideToAnsi(c.text);
  }
}

// UTF-8 that the decoder reads with replacements (overlong, cut off, a lone
// continuation byte, surrogates, a pair of them joined, a byte past
// U+10FFFF, a byte-order mark, a character alone at the top level): the
// bytes read as their decoded text reads.
TEST(XmlDocTest, Utf8Table) {
  struct Case {
    std::string bytes;
    bool ok;
    std::wstring tree;
    std::wstring log;
  } const cases[] = {
      {"<a v=\"\xC0\xAF\"/>", true, L"a[v=\uFFFD]", L""},
      {"<a v=\"\xC3\"/>", true, L"a[v=\uFFFD]", L""},
      {"<a>\x80</a>", true, L"a'\uFFFD'", L""},
      {"<a>\xED\xA0\x80</a>", true, L"a'\uFFFD'", L""},
      {"<a>\xED\xA0\xBD\xED\xB8\x80</a>", true, L"a'\U0001F600'", L""},
      {"<!--\xF5\x80\x80\x80--><a/>", true, L"<!--\uFFFD--> a", L""},
      {"<a v=\"\xE2\x82\"/>", true, L"a[v=\uFFFD]", L""},
      {"\xEF\xBB\xBF<a/>", false, L"", L"Expected TOKEN_TYPE_OP_LESS, found \uFEFF. Line: 0"},
      {"<a>\xC3\xA9&amp;\xF0\x9F\x98\x80</a>", true, L"a'\u00E9&\U0001F600'", L""},
      {"\xC3\xA9", false, L"", L"Unexpected end of file."},
      {" \xC3\xA9 \x0A", false, L"", L"Unexpected end of file."},
      {"\xC3", false, L"", L"Unexpected end of file."},
      {"\xED\xA0\xBD\xED\xB8\x80", false, L"", L"Unexpected end of file."},
      {"<a\xC3\xA9/>", false, L"", L"Expected TOKEN_TYPE_IDENT, found a\u00E9. Line: 0"},
      {"<a v=\"1\">\xC3\xA9 &x</a>", true, L"a[v=1]'\u00E9 &x'",
       L"Warning: XML file include incorect special symbols coding. Wrong value: \u00E9 &x"},
  };
  for (const auto& c : cases) {
    const Reading expected{c.ok, c.tree, c.log};
    EXPECT_EQ(ReadUtf8(c.bytes), expected) << c.bytes;
    EXPECT_EQ(ReadWide(LLF::Utf8Decode(c.bytes)), expected) << c.bytes;
    EXPECT_EQ(ReadReference(LLF::Utf8Decode(c.bytes)), expected) << c.bytes;
    if (!c.ok) continue;
    // What was read writes, reads and writes again to the same text.
    LogCapture log;
    LLF::XmlDoc doc, back;
    ASSERT_TRUE(doc.ParseUtf8(c.bytes));
    const std::wstring written = doc.Serialize(L"UTF-8");
    ASSERT_TRUE(back.Parse(written)) << c.bytes;
    EXPECT_EQ(back.Serialize(L"UTF-8"), written) << c.bytes;
  }
}

TEST(XmlDocTest, NestingLimit) {
  auto nested = [](int depth) {
    std::wstring s;
    for (int i = 0; i < depth; ++i) s += L"<a>";
    for (int i = 0; i < depth; ++i) s += L"</a>\n";
    return s;
  };
  LogCapture log;
  LLF::XmlDoc doc;
  EXPECT_TRUE(doc.Parse(nested(LLF::XmlDoc::kMaxDepth)));
  EXPECT_TRUE(log.Take().empty());
  EXPECT_FALSE(doc.Parse(nested(LLF::XmlDoc::kMaxDepth + 1)));
  EXPECT_EQ(Joined(log.Take()), L"Elements nested deeper than 256 levels. Line: 0");
  EXPECT_EQ(doc.GetRoot()->GetChildsCount(), 0);
  EXPECT_FALSE(doc.Parse(nested(100000)));  // far deeper input ends the same way
  EXPECT_EQ(log.Take().size(), 1u);
}

TEST(XmlDocTest, WriterExampleByteForByte) {
  LLF::XmlDoc doc;
  EXPECT_EQ(doc.Serialize(L"UTF-8"), L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");

  LLF::XmlElement* config = doc.GetRoot()->AddChild(L"config");
  config->AddAttribute(L"version", L"1");
  config->AddChild(L"audio")->AddAttribute(L"sound", L"80");
  config->AddChild(L"video");
  EXPECT_EQ(doc.Serialize(L"UTF-8"),
            L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            L"<config version=\"1\" >\r\n"
            L"\t<audio sound=\"80\" />\r\n"
            L"\t<video />\r\n"
            L"</config>\r\n");
  EXPECT_EQ(doc.Dump(), L"XmlDoc: Root elements count:1");
}

TEST(XmlDocTest, WriterForms) {
  LLF::XmlElement e(L"e", L"<&>\"'\\ text");
  e.AddAttribute(L"v", L"<&>\"'\\\r\n");
  // A carriage return is written as a reference: line ends in a file do not
  // keep their form.
  EXPECT_EQ(
      e.Serialize(L"\t"),
      L"\t<e v=\"&lt;&amp;&gt;&quot;&apos;&#x5C;&#13;\n\" >&lt;&amp;&gt;&quot;&apos;&#x5C; text</e>\r\n");
  EXPECT_EQ(LLF::XmlDoc::EscapeText(L"a\\b"), L"a&#x5C;b");
  EXPECT_EQ(LLF::XmlDoc::UnescapeText(L"a&#x5C;b"), L"a\\b");

  // Text and children: the children follow the text directly, so the text
  // reads back without a line break added to it.
  LLF::XmlElement x(L"x");
  LLF::XmlElement* a = x.AddChild(L"a");
  a->SetText(L"text");
  a->AddChild(L"b")->AddChild(L"c");
  EXPECT_EQ(x.Serialize(L""), L"<x >\r\n\t<a >text<b >\r\n\t<c />\r\n</b>\r\n\t</a>\r\n</x>\r\n");
  std::wstring appended = L"head:";
  x.Serialize(L"", appended);
  EXPECT_EQ(appended, L"head:" + x.Serialize(L""));

  // A comment holding "-->" is broken up so that it still reads back as a
  // comment.
  LLF::XmlDoc doc;
  doc.GetRoot()->AddChild(L"c")->SetComment(L"a-->b--->c-");
  const std::wstring written = doc.Serialize(L"UTF-8");
  EXPECT_EQ(written, L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!--a-- >b--- >c--->\r\n");
  LLF::XmlDoc back;
  EXPECT_TRUE(back.Parse(written));
  EXPECT_EQ(Tree(back), L"<!--a-- >b--- >c--->");
}

// The text a document read from text writes.
std::wstring Written(const std::wstring& text) {
  LLF::XmlDoc doc;
  doc.Parse(text);
  return doc.Serialize(L"UTF-8");
}

// Text of blanks alone, which the reader would pass over, is written as
// references; so is every carriage return.
TEST(XmlDocTest, BlankTextAndLineEndsReadBack) {
  const struct {
    std::wstring text;
    std::wstring tree;
    std::wstring written;
  } cases[] = {
      {L"<a>&#10;</a>", L"a'\n'", L"<a >&#10;</a>\r\n"},
      {L"<a>&#13;&#10;</a>", L"a'\r\n'", L"<a >&#13;&#10;</a>\r\n"},
      {L"<a> &#9;&#32;<b/></a>", L"a' \t '{b}", L"<a >&#32;&#9;&#32;<b />\r\n</a>\r\n"},
      {L"<a v=\"&#13;\r\n\">x&#13;</a>", L"a[v=\r\r\n]'x\r'", L"<a v=\"&#13;&#13;\n\" >x&#13;</a>\r\n"},
      {L"<a> x </a>", L"a' x '", L"<a > x </a>\r\n"},
  };
  for (const auto& c : cases) {
    LLF::XmlDoc doc;
    ASSERT_TRUE(doc.Parse(c.text)) << LLF::WideToAnsi(c.text);
    EXPECT_EQ(Tree(doc), c.tree) << LLF::WideToAnsi(c.text);
    const std::wstring written = doc.Serialize(L"UTF-8");
    EXPECT_EQ(written, L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + c.written)
        << LLF::WideToAnsi(c.text);
    LLF::XmlDoc back;
    ASSERT_TRUE(back.Parse(written));
    EXPECT_EQ(Tree(back), c.tree) << LLF::WideToAnsi(c.text);
    EXPECT_EQ(back.Serialize(L"UTF-8"), written) << LLF::WideToAnsi(c.text);
  }
  // An element given blank text in code keeps it through a file too.
  const std::string path = QmTest::NewTempFolder("xml") + "/blank.xml";
  LLF::XmlDoc doc;
  doc.GetRoot()->AddChild(L"a")->SetText(L"\r\n");
  ASSERT_TRUE(doc.SaveToFile(LLF::FromOsPath(path)));
  LLF::XmlDoc back;
  ASSERT_TRUE(back.LoadFromFile(LLF::FromOsPath(path)));
  EXPECT_EQ(Tree(back), L"a'\r\n'");
}

// Writing, reading and writing again gives the same text and the same tree,
// for every document the tests read.
TEST(XmlDocTest, WriteReadWriteFixedPoint) {
  std::vector<std::wstring> fixtures = {kSample, L"<a>&#10;</a>", L"<a>&#13;</a>",
                                        L"<a v=\"\r\"> \r\n<b/></a>"};
  for (const auto& c : kReadCases) {
    if (c.ok) fixtures.push_back(c.text);
  }
  // The game's data files and the fuzz target's seeds, read as files are.
  size_t files = 0;
  for (const char* folder : {"data", "fuzz/corpus/xml"}) {
    const std::filesystem::path root = std::filesystem::path(QmTest::SourceDir()) / folder;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (entry.path().extension() != ".xml") continue;
      std::wstring text;
      LLF::TextFile file;
      ASSERT_TRUE(file.ReadAll(LLF::FromOsPath(entry.path().string()), text)) << entry.path();
      LogCapture log;
      LLF::XmlDoc doc;
      if (!doc.Parse(text)) continue;  // seeds that fail on purpose
      fixtures.push_back(text);
      ++files;
    }
  }
  EXPECT_GE(files, 12u);
  {
    // Built in code: text with blanks and line breaks beside children,
    // every escaped character, an empty value, comments anywhere.
    LLF::XmlDoc doc;
    LLF::XmlElement* top = doc.GetRoot()->AddChild(L"top");
    top->SetText(L"\r\n  lead and trail  \r\n");
    top->AddAttribute(L"all", L"&<>\"'\\ \t\r\n");
    top->AddAttribute(L"empty", L"");
    top->AddChild(L"c")->SetComment(L" a --> b ");
    LLF::XmlElement* mid = top->AddChild(L"mid");
    mid->SetText(L"x");
    mid->AddChild(L"c")->SetComment(L"");
    mid->AddChild(L"leaf")->SetText(L"&amp; \U0001F600");
    doc.GetRoot()->AddChild(L"c")->SetComment(L"-");
    fixtures.push_back(doc.Serialize(L"UTF-8"));
  }
  for (const auto& fixture : fixtures) {
    LogCapture log;
    LLF::XmlDoc first, second;
    ASSERT_TRUE(first.Parse(fixture)) << LLF::WideToAnsi(fixture);
    log.Take();
    const std::wstring written = first.Serialize(L"UTF-8");
    ASSERT_TRUE(second.Parse(written)) << LLF::WideToAnsi(written);
    EXPECT_EQ(second.Serialize(L"UTF-8"), written);
    EXPECT_EQ(Tree(second), Tree(first));
    EXPECT_TRUE(log.Take().empty()) << LLF::WideToAnsi(written);
  }
  LLF::XmlDoc sample;
  ASSERT_TRUE(sample.Parse(kSample));
  LLF::XmlDoc copy(sample);  // documents copy deeply
  sample.Clear();
  EXPECT_EQ(copy.Serialize(L"UTF-8"), Written(kSample));
  sample = copy;
  LLF::XmlElement* group = sample.GetRoot()->GetChildByPath(L"layouts/dialog/group");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetText(), L"Group text");
  EXPECT_EQ(sample.GetRoot()->GetAttribute(L"layouts\\dialog\\button", L"text", L"").GetValue(),
            L"<OK> & \"go\" 'now' C:\\dir");
  EXPECT_EQ(sample.GetRoot()->GetAttribute(L"layouts/dialog", L"color", LLF::Color()).GetColor(),
            LLF::Color(255, 255, 255, 200));
}

// A document that records which parser ran, as the variables document
// derived from it does.
class CountingDoc : public LLF::XmlDoc {
 public:
  bool Parse(const std::wstring& text) override {
    ++parses;
    return LLF::XmlDoc::Parse(text);
  }
  int parses = 0;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(XmlDocTest, FilesInEveryEncoding) {
  LogCapture log;
  const std::string folder = QmTest::NewTempFolder("xml");
  LLF::XmlDoc doc;
  ASSERT_TRUE(doc.Parse(kSample));
  struct Case {
    int encoding;
    const char* mark;
    const wchar_t* declared;
  } cases[] = {
      {LLF::TextFile::ENCODING_ANSI, "", L"UTF-8"},
      {LLF::TextFile::ENCODING_UTF8, "\xEF\xBB\xBF", L"UTF-8"},
      {LLF::TextFile::ENCODING_UTF16BE, "\xFE\xFF", L"UTF-16"},
      {LLF::TextFile::ENCODING_UTF16LE, "\xFF\xFE", L"UTF-16"},
  };
  for (const auto& c : cases) {
    const std::string path = folder + "/sub/doc" + std::to_string(c.encoding) + ".xml";
    ASSERT_TRUE(doc.SaveToFile(LLF::FromOsPath(path), c.encoding)) << c.encoding;
    EXPECT_EQ(ReadBytes(path).rfind(c.mark, 0), 0u) << c.encoding;
    CountingDoc back;
    ASSERT_TRUE(back.LoadFromFile(LLF::FromOsPath(path))) << c.encoding;
    EXPECT_EQ(back.parses, 1);  // loading goes through the document's own parser
    EXPECT_EQ(Tree(back), Tree(doc)) << c.encoding;
    EXPECT_EQ(back.Serialize(c.declared), doc.Serialize(c.declared)) << c.encoding;
  }
  EXPECT_TRUE(log.Take().empty());

  // A file in the Windows code page, without a mark.
  const std::string ansi = folder + "/ansi.xml";
  std::ofstream(ansi, std::ios::binary) << "<a t=\"Caf\xE9 \x80\" />";
  ASSERT_TRUE(doc.LoadFromFile(LLF::FromOsPath(ansi)));
  EXPECT_EQ(Tree(doc), L"a[t=Caf\u00E9 \u20AC]");

  // A missing file fails without a line; one that does not parse logs the
  // reader's line; neither keeps the old content.
  EXPECT_FALSE(doc.LoadFromFile(LLF::FromOsPath(folder + "/missing.xml")));
  EXPECT_TRUE(log.Take().empty());
  const std::string broken = folder + "/broken.xml";
  std::ofstream(broken, std::ios::binary) << "\xEF\xBB\xBF<a>\r\n<b></c>\r\n</a>";
  EXPECT_FALSE(doc.LoadFromFile(LLF::FromOsPath(broken)));
  EXPECT_EQ(Joined(log.Take()), L"Expected identifier b, found c. Line: 1");
  EXPECT_EQ(doc.GetRoot()->GetChildsCount(), 0);

  // A failed save is logged and leaves an existing file as it was.
  const std::string kept = folder + "/sub/doc1.xml";
  const std::string before = ReadBytes(kept);
  EXPECT_FALSE(doc.SaveToFile(LLF::FromOsPath(kept), 7));
  EXPECT_EQ(ReadBytes(kept), before);
  std::ofstream(folder + "/plain", std::ios::binary) << "x";
  EXPECT_FALSE(doc.SaveToFile(LLF::FromOsPath(folder + "/plain/doc.xml")));
  EXPECT_EQ(Joined(log.Take()), L"Error: SaveToFile failed. Can't write XML file. Filename: " +
                                    LLF::FromOsPath(kept) + L" | " +
                                    L"Error: SaveToFile failed. Can't write XML file. Filename: " +
                                    LLF::FromOsPath(folder + "/plain/doc.xml"));
}

// A document the reader would refuse is not written: the save fails with a
// line naming what cannot be read back, and the old file stays.
TEST(XmlDocTest, SaveRefusesWhatCannotBeReadBack) {
  LogCapture log;
  const std::string folder = QmTest::NewTempFolder("xml");
  const std::string path = folder + "/doc.xml";
  std::ofstream(path, std::ios::binary) << "<old/>";
  const std::wstring nul(1, L'\0');
  struct Case {
    const char* what;
    std::function<void(LLF::XmlElement&)> build;
    std::wstring line;
  } cases[] = {
      {"dash in a name", [](auto& top) { top.AddChild(L"a-b"); },
       L"Element name \"a-b\" would not read back."},
      {"digit first", [](auto& top) { top.AddChild(L"1a"); }, L"Element name \"1a\" would not read back."},
      {"empty name", [](auto& top) { top.AddChild(L""); }, L"Element name \"\" would not read back."},
      {"letter beyond ASCII", [](auto& top) { top.AddChild(L"\u00E9t\u00E9"); },
       L"Element name \"\u00E9t\u00E9\" would not read back."},
      {"attribute name", [](auto& top) { top.AddChild(L"ok")->AddAttribute(L"x:y", L"1"); },
       L"Attribute name \"x:y\" of element \"ok\" would not read back."},
      {"NUL in a value", [&](auto& top) { top.AddChild(L"ok")->AddAttribute(L"v", L"a" + nul + L"b"); },
       L"Attribute \"v\" of element \"ok\" holds a NUL character."},
      {"NUL in a text", [&](auto& top) { top.AddChild(L"ok")->SetText(nul); },
       L"Text of element \"ok\" holds a NUL character."},
      {"NUL in a comment", [&](auto& top) { top.AddChild(L"c")->SetComment(L"x" + nul); },
       L"A comment holds a NUL character."},
      {"too deep",
       [](auto& top) {
         LLF::XmlElement* e = &top;
         for (int i = 0; i < LLF::XmlDoc::kMaxDepth; ++i) e = e->AddChild(L"d");
       },
       L"Elements nested deeper than 256 levels."},
  };
  for (const Case& c : cases) {
    LLF::XmlDoc doc;
    LLF::XmlElement* top = doc.GetRoot()->AddChild(L"top");
    top->AddChild(L"fine_1")->AddAttribute(L"_v2", L"x");
    c.build(*top);
    EXPECT_FALSE(doc.SaveToFile(LLF::FromOsPath(path))) << c.what;
    EXPECT_EQ(Joined(log.Take()),
              L"Error: SaveToFile failed. " + c.line + L" Filename: " + LLF::FromOsPath(path))
        << c.what;
    EXPECT_EQ(ReadBytes(path), "<old/>") << c.what;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  // At the depth limit the document is written and reads back.
  LLF::XmlDoc deep;
  LLF::XmlElement* e = deep.GetRoot();
  for (int i = 0; i < LLF::XmlDoc::kMaxDepth; ++i) e = e->AddChild(L"d");
  ASSERT_TRUE(deep.SaveToFile(LLF::FromOsPath(path)));
  EXPECT_TRUE(LLF::XmlDoc().LoadFromFile(LLF::FromOsPath(path)));
  EXPECT_TRUE(log.Take().empty());
}

// ParseDocument and ParseElement read a caller's lexer from its cursor and
// leave the cursor after what they read, with the line count there.
TEST(XmlDocTest, ReadingStepsFollowTheLexer) {
  LLF::Lexer lexer;
  lexer.SetText(L"junk <a\n b=\"1\"/>\n<!--c--> <d></d>");
  lexer.NextToken();  // "junk"
  LLF::XmlDoc doc;
  EXPECT_TRUE(doc.ParseElement(lexer, doc.GetRoot()));
  EXPECT_EQ(lexer.GetLine(), 1);
  EXPECT_EQ(lexer.GetText().substr(lexer.GetCursor()), L"\n<!--c--> <d></d>");
  EXPECT_TRUE(doc.ParseElement(lexer, doc.GetRoot()));
  EXPECT_TRUE(doc.ParseDocument(lexer));
  EXPECT_EQ(lexer.GetCursor(), lexer.GetText().size());
  EXPECT_EQ(Tree(doc), L"a[b=1] <!--c--> d");

  LogCapture log;
  lexer.SetText(L"\n\n x");
  EXPECT_FALSE(doc.ParseElement(lexer, doc.GetRoot()));
  EXPECT_EQ(Joined(log.Take()), L"Expected TOKEN_TYPE_OP_LESS, found x. Line: 2");
}

// Entries of the log are cut at 2047 characters, so a huge stray token makes
// a long line, not an unbounded one.
TEST(XmlDocTest, LongLogLinesAreCut) {
  LogCapture log;
  LLF::XmlDoc doc;
  EXPECT_FALSE(doc.Parse(L"<a b=" + std::wstring(5000, L'x') + L" />"));
  const std::vector<std::wstring> lines = log.Take();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], L"Expected TOKEN_TYPE_STRING, found " + std::wstring(2047 - 34, L'x'));
}

// Every prefix of a valid document either parses or fails with one of the
// reader's error lines (after any entity warnings), as the plain reading
// over the lexer does; none hangs or crashes.
TEST(XmlDocTest, EveryPrefixParsesOrFailsCleanly) {
  const std::wregex errors(
      L"Unexpected end of file\\.|"
      L"Unexpected <\\? sequence\\. Information is allowed only once at the beginning\\.|"
      L"Unexpected end of file while looking for '\\?>'\\.|"
      L"Expected "
      L"(TOKEN_TYPE_OP_LESS|TOKEN_TYPE_IDENT|TOKEN_TYPE_OP_DEC|XML_TOKEN_TYPE_OP_ASSIGN|TOKEN_TYPE_STRING|"
      L"XML_TOKEN_TYPE_OP_GREATER|XML_TOKEN_TYPE_OP_LESS|TOKEN_TYPE_DELIM_BACKSLASH), found [^]*\\. Line: "
      L"[0-9]+|"
      L"Expected identifier [^]*, found [^]*\\. Line: [0-9]+");
  const std::wstring warning = L"Warning: XML file include incorect special symbols coding. Wrong value: ";
  int parsed = 0, failed = 0;
  for (size_t n = 0; n <= kSample.size(); ++n) {
    const std::wstring prefix = kSample.substr(0, n);
    const Reading reference = ReadReference(prefix);
    EXPECT_EQ(ReadWide(prefix), reference) << n;
    EXPECT_EQ(ReadUtf8(LLF::Utf8Encode(prefix)), reference) << n;
    LogCapture log;
    LLF::XmlDoc doc;
    const bool ok = doc.Parse(prefix);
    std::vector<std::wstring> lines = log.Take();
    while (!lines.empty() && lines.front().compare(0, warning.size(), warning) == 0)
      lines.erase(lines.begin());
    if (ok) {
      ++parsed;
      EXPECT_TRUE(lines.empty()) << n;
    } else {
      ++failed;
      ASSERT_EQ(lines.size(), 1u) << n;
      EXPECT_TRUE(std::regex_match(lines[0], errors)) << n << ": " << LLF::WideToAnsi(lines[0]);
    }
  }
  EXPECT_GT(parsed, 1);
  EXPECT_GT(failed, 100);
}

}  // namespace
