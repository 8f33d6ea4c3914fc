#include <gtest/gtest.h>

#include <string>

#include "LogRecorder.h"
#include "TempFolders.h"
#include "core/StringUtils.h"
#include "model/XmlDocEx.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace {

std::wstring Attr(LLF::XmlElement* element, const wchar_t* name) {
  const LLF::XmlAttribute* attribute = element ? element->GetAttribute(std::wstring(name)) : nullptr;
  return attribute ? attribute->GetValue() : L"<absent>";
}

TEST(XmlDocExTest, SubstitutesReferences) {
  HLF::XmlDocEx doc;
  ASSERT_TRUE(
      doc.Parse(L"<doc><vars><var name=\"w\" value=\"100\" /><var name=\"ref\" value=\"#w;\" />"
                L"<var name=\"novalue\" /><var name=\"w\" value=\"second\" /></vars></doc>"));
  struct Case {
    const wchar_t* text;
    const wchar_t* expected;
    const wchar_t* logLine;  // null: nothing logged
  } cases[] = {
      {L"#w;", L"100", nullptr},
      {L"#w;px", L"100px", nullptr},
      {L"a#w;b#w;", L"a100b100", nullptr},
      {L"#w", L"100", nullptr},
      {L"##w;", L"#w;", nullptr},
      {L"50##", L"50#", nullptr},
      {L"#", L"#", nullptr},
      {L"a #", L"a #", nullptr},
      {L"plain", L"plain", nullptr},
      // A value is inserted as it is, not scanned again.
      {L"#ref;", L"#w;", nullptr},
      {L"#nope;", L"#nope;", L"Error: Unknown variable \"nope\" in text string \"#nope;\""},
      // A failure drops the replacements made before it in the same text.
      {L"#w;#nope;", L"#w;#nope;", L"Error: Unknown variable \"nope\" in text string \"#w;#nope;\""},
      {L"#novalue;", L"#novalue;",
       L"Error: No \"value\" attribute in variable \"novalue\" for text string \"#novalue;\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.text));
    QmTest::LogRecorder log;
    EXPECT_EQ(doc.SubstituteVars(c.text), c.expected);
    if (c.logLine) {
      ASSERT_EQ(log.Lines().size(), 1u);
      EXPECT_EQ(log.Count(c.logLine), 1);
    } else {
      EXPECT_TRUE(log.Lines().empty());
    }
  }
}

// A file that opens with a comment, with variables of its own and from
// includes: the section wins over includes, an earlier include over a later
// one; an included section gives only its own "var" children (its includes
// are not followed, so they neither loop nor fan out); only attributes below
// the document element are substituted.
TEST(XmlDocExTest, VariablesFromTheSectionAndIncludes) {
  QmTest::TempFolders folders;
  folders.WriteProgramFile("scripts/main.xml",
                           "<!-- layouts of the test -->\n"
                           "<layouts title=\"#w;\">\n"
                           "  <vars>\n"
                           "    <var name=\"w\" value=\"40\" />\n"
                           "    <var name=\"shared\" value=\"main\" />\n"
                           "    <include path=\"common/vars\" />\n"
                           "    <include file=\"scripts/common.xml\" path=\"common/vars\" />\n"
                           "    <include file=\"./scripts/other.xml\" path=\"other\\vars\" />\n"
                           "    <include file=\"scripts/missing.xml\" path=\"x/vars\" />\n"
                           "  </vars>\n"
                           "  <control size=\"#w;,#h;\" from=\"#shared;\" deep=\"#deep;\" later=\"#later;\""
                           " literal=\"##w;\">text #w;\n"
                           "    <control pos=\"#w;,#deep;\" />\n"
                           "  </control>\n"
                           "</layouts>\n");
  folders.WriteProgramFile("scripts/common.xml",
                           "<common><vars>\n"
                           "  <include file=\"scripts/deeper.xml\" path=\"deeper/vars\" />\n"
                           "  <var name=\"h\" value=\"30\" />\n"
                           "  <var name=\"shared\" value=\"common\" />\n"
                           "  <var name=\"later\" value=\"common\" />\n"
                           "  <var name=\"deep\" value=\"common\" />\n"
                           "  <include file=\"scripts/common.xml\" path=\"common/vars\" />\n"
                           "</vars></common>\n");
  folders.WriteProgramFile("scripts/deeper.xml",
                           "<deeper><vars>\n"
                           "  <var name=\"deep\" value=\"7\" />\n"
                           "  <var name=\"onlyDeep\" value=\"d\" />\n"
                           "  <include file=\"scripts/common.xml\" path=\"common/vars\" />\n"
                           "</vars></deeper>\n");
  folders.WriteProgramFile(
      "scripts/other.xml",
      "<other><vars><var name=\"later\" value=\"other\" /><var name=\"h\" value=\"99\" />"
      "<var name=\"onlyOther\" value=\"o\" /></vars></other>\n");

  QmTest::LogRecorder log;
  HLF::XmlDocEx doc;
  ASSERT_TRUE(doc.LoadFromFile(L"scripts/main.xml"));
  LLF::XmlElement* top = doc.GetDocumentElement();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->GetName(), L"layouts");
  LLF::XmlElement* control = top->GetChildByPath(L"control");
  EXPECT_EQ(Attr(control, L"size"), L"40,30");
  EXPECT_EQ(Attr(control, L"from"), L"main");
  EXPECT_EQ(Attr(control, L"deep"), L"common");
  EXPECT_EQ(Attr(control, L"later"), L"common");
  EXPECT_EQ(Attr(control, L"literal"), L"#w;");
  EXPECT_EQ(Attr(control ? control->GetChild(0) : nullptr, L"pos"), L"40,common");
  EXPECT_NE(control->GetText().find(L"#w;"), std::wstring::npos);
  EXPECT_EQ(Attr(top, L"title"), L"#w;");
  EXPECT_EQ(doc.SubstituteVars(L"#onlyOther;"), L"o");
  EXPECT_EQ(log.Count(L"Error: No file or path attribute in include var command. Xml text: <include path="),
            1);
  EXPECT_EQ(log.Lines().size(), 1u);
  // deeper.xml is included only by an included section.
  EXPECT_EQ(doc.SubstituteVars(L"#onlyDeep;"), L"#onlyDeep;");
  EXPECT_EQ(log.Count(L"Error: Unknown variable \"onlyDeep\" in text string \"#onlyDeep;\""), 1);
  EXPECT_EQ(log.Lines().size(), 2u);
}

TEST(XmlDocExTest, WithoutAVarsSectionNothingIsSubstituted) {
  QmTest::LogRecorder log;
  HLF::XmlDocEx doc;
  ASSERT_TRUE(doc.Parse(L"<!-- c --><doc><control size=\"#w;\" name=\"Level #1\" /></doc>"));
  EXPECT_EQ(Attr(doc.GetDocumentElement()->GetChild(0), L"size"), L"#w;");
  EXPECT_EQ(Attr(doc.GetDocumentElement()->GetChild(0), L"name"), L"Level #1");
  EXPECT_TRUE(log.Lines().empty());
  // A text without an element fails.
  EXPECT_FALSE(doc.Parse(L"<!-- only a comment -->"));
}

// A later parse replaces the variables of an earlier one.
TEST(XmlDocExTest, EachParseStartsANewStore) {
  HLF::XmlDocEx doc;
  ASSERT_TRUE(doc.Parse(L"<a><vars><var name=\"x\" value=\"1\" /></vars></a>"));
  ASSERT_TRUE(doc.Parse(L"<a><vars><var name=\"y\" value=\"2\" /></vars><c v=\"#y;\" /></a>"));
  EXPECT_EQ(Attr(doc.GetDocumentElement()->GetChild(1), L"v"), L"2");
  QmTest::LogRecorder log;
  EXPECT_EQ(doc.SubstituteVars(L"#x;"), L"#x;");
  EXPECT_EQ(log.Lines().size(), 1u);
}

}  // namespace
