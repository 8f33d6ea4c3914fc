#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/StringUtils.h"
#include "io/TextEncoding.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"
#include "xml/XmlNameTable.h"

namespace {

// Names of an element's children in order.
std::wstring ChildNames(const LLF::XmlElement& e) {
  std::wstring out;
  for (int i = 0; i < e.GetChildsCount(); ++i) out += (i ? L"," : L"") + e.GetChild(i)->GetName();
  return out;
}

std::wstring AttributeNames(const LLF::XmlElement& e) {
  std::wstring out;
  for (int i = 0; i < e.GetAttributesCount(); ++i) out += (i ? L"," : L"") + e.GetAttribute(i)->GetName();
  return out;
}

TEST(XmlElementTest, PathAddressing) {
  LLF::XmlDoc doc;
  LLF::XmlElement* config = doc.GetRoot()->AddChild(L"config");
  LLF::XmlElement* audio = config->AddChild(L"audio");
  LLF::XmlElement* sound = audio->AddChild(L"sound");
  LLF::XmlElement* video = config->AddChild(L"video");
  LLF::XmlElement* second = config->AddChild(L"audio");
  LLF::XmlElement* unnamed = config->AddChild(L"");

  struct Case {
    const wchar_t* path;
    LLF::XmlElement* expected;
  } cases[] = {
      {L"config", config},
      {L"config/audio/sound", sound},
      {L"config\\audio\\sound", sound},
      {L"config\\audio/sound", sound},  // separators mix freely
      {L"config/video", video},
      {L"config/audio", audio},  // the first of two with the name
      {L"config/audio/", audio},
      {L"", nullptr},
      {L"config/missing", nullptr},
      {L"missing/audio", nullptr},  // the failed step is not skipped
      {L"config/audio/sound/deeper", nullptr},
      {L"config//audio", nullptr},  // an empty segment fails...
      {L"config//", nullptr},       // ...even where a child has an empty name
      {L"/config", nullptr},
      {L"config/", config},
      {L"Config", nullptr},  // names are case-sensitive
  };
  for (const auto& c : cases) {
    EXPECT_EQ(doc.GetRoot()->GetChildByPath(c.path), c.expected) << LLF::WideToAnsi(c.path);
  }
  EXPECT_NE(second, audio);
  EXPECT_EQ(unnamed->GetName(), L"");
  EXPECT_EQ(audio->GetChildByPath(L"sound"), sound);  // relative to any element
  EXPECT_EQ(doc.GetRoot()->FindElement(L"config/video"), video);
  EXPECT_EQ(doc.GetRoot()->GetElementByPath(L"config\\video"), video);

  audio->AddAttribute(L"volume", 80);
  EXPECT_EQ(doc.GetRoot()->GetAttribute(L"config/audio", L"volume", 5).GetInt(), 80);
  EXPECT_EQ(doc.GetRoot()->GetAttribute(L"config/nothing", L"volume", 5).GetInt(), 5);
  EXPECT_EQ(doc.GetRoot()->GetAttribute(L"config/audio", L"pan", 5).GetInt(), 5);
  // A C-string default in a path lookup stays text (it must not pick the bool form).
  EXPECT_EQ(doc.GetRoot()->GetPathAttribute(L"config/video", L"full", L"false").GetValue(), L"false");
  EXPECT_TRUE(doc.GetRoot()->GetPathAttribute(L"config/video", L"full", true).GetBool());
}

// Each typed default is formatted as text; a present attribute wins.
TEST(XmlElementTest, TypedGettersWithDefaults) {
  LLF::XmlElement e(L"item");
  e.AddAttribute(L"present", L"7");
  struct Case {
    const char* what;
    LLF::XmlAttribute got;
    const wchar_t* value;
  } cases[] = {
      {"int", e.GetAttribute(L"n", 5), L"5"},
      {"negative int", e.GetAttribute(L"n", -12), L"-12"},
      {"unsigned", e.GetAttribute(L"n", 4000000000u), L"4000000000"},
      {"bool true", e.GetAttribute(L"n", true), L"true"},
      {"bool false", e.GetAttribute(L"n", false), L"false"},
      {"float", e.GetAttribute(L"n", 1.5f), L"1.5"},
      {"float, large", e.GetAttribute(L"n", 1e6f), L"1e+006"},
      {"double", e.GetAttribute(L"n", 3.14159265), L"3.14159"},
      {"int pair", e.GetAttribute(L"n", LLF::Point(10, 20)), L"10,20"},
      {"float pair", e.GetAttribute(L"n", LLF::Vector2(0.5f, -1.0f)), L"0.5,-1"},
      {"colour", e.GetAttribute(L"n", LLF::Color(1, 2, 3, 4)), L"1,2,3,4"},
      {"four ints", e.GetAttribute(L"n", LLF::Rect(1, -2, 30, 40)), L"1,-2,30,40"},
      {"four floats", e.GetAttribute(L"n", LLF::RectF(0.5f, 1, 2, 3)), L"0.5,1,2,3"},
      {"C string", e.GetAttribute(L"n", L"text"), L"text"},
      {"wide string", e.GetAttribute(L"n", std::wstring(L"wide")), L"wide"},
      {"alias", e.GetAttributeOr(L"n", L"other"), L"other"},
      {"present int", e.GetAttribute(L"present", 5), L"7"},
      {"present bool", e.GetAttribute(L"present", true), L"7"},
      {"present pair", e.GetAttribute(L"present", LLF::Point(1, 2)), L"7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.got.GetValue(), c.value) << c.what;
    EXPECT_EQ(c.got.GetName(), c.what[0] == 'p' ? L"present" : L"n") << c.what;
  }
  EXPECT_EQ(e.GetAttributesCount(), 1);  // the getters never add
  EXPECT_EQ(e.GetAttribute(L"n", 5).GetInt(), 5);
  EXPECT_TRUE(e.GetAttribute(L"n", true).GetBool());
  EXPECT_EQ(e.GetAttribute(L"n", LLF::Point(10, 20)).GetIntPair(), LLF::Point(10, 20));
  EXPECT_DOUBLE_EQ(e.GetAttribute(L"n", 3.14159265).GetDouble(), 3.14159);

  // The adders store the same text forms.
  LLF::XmlElement f(L"f");
  EXPECT_EQ(f.AddAttribute(L"a", 1.5f)->GetValue(), L"1.5");
  EXPECT_EQ(f.AddAttribute(L"b", LLF::Point(10, 20))->GetValue(), L"10,20");
  EXPECT_EQ(f.AddAttribute(L"c", 3.14159265)->GetValue(), L"3.14159");
  EXPECT_EQ(f.AddAttribute(L"d", false)->GetValue(), L"false");
  EXPECT_EQ(f.AddAttribute(L"e", 7u)->GetValue(), L"7");
  EXPECT_EQ(f.AddAttribute(L"g", LLF::Color(255, 0, 16, 128))->GetValue(), L"255,0,16,128");

  // The attribute's own setters.
  LLF::XmlAttribute a(L"x", 3);
  EXPECT_EQ(a.GetValue(), L"3");
  a.SetFloat(0.0001f);
  EXPECT_EQ(a.GetValueRef(), L"0.0001");
  a.SetBool(true);
  EXPECT_TRUE(a.AsBool());
  a.SetValue(L"True");
  EXPECT_FALSE(a.GetBool());  // only the exact "true"
  a.SetInt4(LLF::Rect(1, 2, 3, 4));
  EXPECT_EQ(a.GetValue(), L"1,2,3,4");
  a.SetFloatPair(LLF::Vector2(2.5f, 0));
  EXPECT_EQ(a.GetValue(), L"2.5,0");
  EXPECT_EQ(LLF::XmlAttribute(L"p", LLF::Point(-1, 2)).GetValue(), L"-1,2");
  // Numbers with long runs of leading zeros read whole.
  const std::wstring zeros(150, L'0');
  EXPECT_EQ(LLF::XmlAttribute(L"i", zeros + L"42").GetInt(), 42);
  EXPECT_FLOAT_EQ(LLF::XmlAttribute(L"f", zeros + L"1.5").GetFloat(), 1.5f);
}

// The comma forms read back by every typed getter.
TEST(XmlElementTest, CommaForms) {
  struct Case {
    const wchar_t* value;
    LLF::Point intPair;
    LLF::Vector2 floatPair;
    LLF::Color color;
    LLF::Rect int4;
    LLF::RectF float4;
  } cases[] = {
      {L"7", {0, 0}, {0, 0}, {0, 0, 0, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {L"10,20", {10, 20}, {10, 20}, {0, 0, 0, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {L"10,20,30", {10, 20}, {10, 20}, {10, 20, 30, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {L"10,20,30,", {10, 20}, {10, 20}, {10, 20, 30, 255}, {10, 20, 30, 0}, {10, 20, 30, 0}},
      {L"1,2,3,4", {1, 2}, {1, 2}, {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {L"1,2,3,4,5", {1, 2}, {1, 2}, {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {L"300,-1,256,511", {300, -1}, {300, -1}, {44, 255, 0, 255}, {300, -1, 256, 511}, {300, -1, 256, 511}},
      {L" 3 , -4", {3, -4}, {3, -4}, {0, 0, 0, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {L"0.5,1.25,2e1,-3", {0, 1}, {0.5f, 1.25f}, {0, 1, 2, 253}, {0, 1, 2, -3}, {0.5f, 1.25f, 20, -3}},
      {L"a,b,c", {0, 0}, {0, 0}, {0, 0, 0, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {L"", {0, 0}, {0, 0}, {0, 0, 0, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const LLF::XmlAttribute a(L"v", c.value);
    const std::string v = LLF::WideToAnsi(c.value);
    EXPECT_EQ(a.GetIntPair(), c.intPair) << v;
    EXPECT_EQ(a.GetFloatPair(), c.floatPair) << v;
    EXPECT_EQ(a.GetColor(), c.color) << v;
    EXPECT_EQ(a.GetInt4(), c.int4) << v;
    const LLF::RectF r = a.GetFloat4();
    EXPECT_TRUE(r.x == c.float4.x && r.y == c.float4.y && r.width == c.float4.width &&
                r.height == c.float4.height)
        << v;
  }
}

TEST(XmlElementTest, InsertionRemovalAndRangeChecks) {
  LLF::XmlElement e(L"e");
  e.AddChild(L"a");
  e.AddChild(L"b", 0);  // the name form always appends
  LLF::XmlElement x(L"x");
  e.AddChild(&x, 0);
  e.AddChild(&x, 5);
  e.AddChild(x, 1);  // the reference form appends too
  e.AddChild(&x, -7);
  EXPECT_EQ(ChildNames(e), L"x,a,b,x,x,x");
  EXPECT_EQ(e.AddChild(static_cast<const LLF::XmlElement*>(nullptr)), nullptr);

  e.AddAttribute(L"p", L"1");
  e.AddAttribute(L"q", L"2", 0);
  e.AddAttribute(L"r", L"3", 1);
  e.AddAttribute(L"s", L"4", 9);
  e.AddAttribute(LLF::XmlAttribute(L"t", L"5"), 0);  // copies append
  EXPECT_EQ(AttributeNames(e), L"q,r,p,s,t");
  EXPECT_EQ(e.AddAttribute(static_cast<const LLF::XmlAttribute*>(nullptr)), nullptr);

  EXPECT_EQ(e.GetChild(-1), nullptr);
  EXPECT_EQ(e.GetChild(6), nullptr);
  EXPECT_EQ(e.GetAttribute(5), nullptr);
  EXPECT_EQ(e.GetAttribute(-1), nullptr);
  EXPECT_FALSE(e.RemoveChild(6));
  EXPECT_FALSE(e.RemoveChild(-1));
  EXPECT_FALSE(e.RemoveAttribute(5));
  EXPECT_TRUE(e.RemoveChild(L"missing"));  // true, and nothing changes
  EXPECT_TRUE(e.RemoveAttribute(L"missing"));
  EXPECT_EQ(ChildNames(e), L"x,a,b,x,x,x");

  EXPECT_TRUE(e.RemoveChild(L"x"));  // the first match only
  EXPECT_TRUE(e.RemoveFirstChildNamed(L"b"));
  EXPECT_TRUE(e.RemoveChild(3));
  EXPECT_EQ(ChildNames(e), L"a,x,x");
  EXPECT_TRUE(e.RemoveAttribute(L"r"));
  EXPECT_TRUE(e.RemoveAttribute(0));
  EXPECT_EQ(AttributeNames(e), L"p,s,t");
  EXPECT_EQ(e.FindChild(L"x"), e.GetChild(1));
  EXPECT_EQ(e.FindChild(L"X"), nullptr);
  EXPECT_EQ(e.Dump(), L"XmlElement: Attributes: 3 Childs: 3");

  e.SetText(L"text");
  e.Clear();  // name and text stay
  EXPECT_EQ(e.Dump(), L"XmlElement: Attributes: 0 Childs: 0");
  EXPECT_EQ(e.GetName(), L"e");
  EXPECT_EQ(e.GetText(), L"text");
  EXPECT_EQ(LLF::XmlElement().GetName(), L"NoName");
}

// Nested first/next walks over one element share its cursor, so the inner
// walk ends the outer one; walks over different elements do not interfere.
TEST(XmlElementTest, WalksShareTheElementsCursor) {
  LLF::XmlElement e(L"e");
  for (const wchar_t* n : {L"a", L"b", L"c"}) e.AddChild(n)->AddChild(L"inner");
  std::wstring seen;
  for (LLF::XmlElement* c = e.FirstChild(); c; c = e.NextChild()) {
    seen += c->GetName();
    for (LLF::XmlElement* d = e.GetFirstChild(); d; d = e.GetNextChild()) seen += L'.';
  }
  EXPECT_EQ(seen, L"a...");
  EXPECT_EQ(e.GetNextChild(), nullptr);  // stays at the end

  seen.clear();
  for (LLF::XmlElement* c = e.GetFirstChild(); c; c = e.GetNextChild()) {
    seen += c->GetName();
    for (LLF::XmlElement* d = c->GetFirstChild(); d; d = c->GetNextChild()) seen += L'.';
  }
  EXPECT_EQ(seen, L"a.b.c.");

  e.AddAttribute(L"p", 1);
  e.AddAttribute(L"q", 2);
  seen.clear();
  for (LLF::XmlAttribute* a = e.GetFirstAttribute(); a; a = e.GetNextAttribute()) seen += a->GetName();
  EXPECT_EQ(seen, L"pq");
  EXPECT_EQ(LLF::XmlElement().GetFirstChild(), nullptr);
  EXPECT_EQ(LLF::XmlElement().GetNextAttribute(), nullptr);
}

// Copies are deep and keep comments comments.
TEST(XmlElementTest, CopiesAreDeep) {
  LLF::XmlElement e(L"e", L"text");
  e.AddAttribute(L"a", 1);
  e.AddChild(L"c")->AddChild(L"")->SetComment(L" note ");
  LLF::XmlElement copy(e);
  e.GetChild(0)->SetName(L"changed");
  e.GetAttribute(L"a")->SetInt(2);
  EXPECT_EQ(copy.GetChild(0)->GetName(), L"c");
  EXPECT_EQ(copy.GetAttribute(L"a")->GetInt(), 1);
  EXPECT_EQ(copy.GetText(), L"text");
  const LLF::XmlElement* comment = copy.GetChild(0)->GetChild(0);
  ASSERT_NE(comment, nullptr);
  EXPECT_TRUE(comment->IsComment());
  EXPECT_EQ(comment->GetName(), L"COMMENT");
  EXPECT_EQ(comment->GetText(), L" note ");

  LLF::XmlElement assigned;
  assigned = copy;
  EXPECT_EQ(assigned.Serialize(L""), copy.Serialize(L""));
  // Assigning a child of an element to that element keeps the child intact.
  assigned = *assigned.GetChild(0);
  EXPECT_EQ(assigned.GetName(), L"c");
  EXPECT_TRUE(assigned.GetChild(0)->IsComment());

  LLF::XmlAttribute attr(L"v", L"a&\"b\"");
  EXPECT_EQ(attr.Dump(), L"v=\"a&amp;&quot;b&quot;\"");
  EXPECT_TRUE(attr.IsKindOf("XmlAttribute") && e.IsKindOf("XmlElement") && e.IsKindOf("Object"));
}

// A reference to an element's own name or to its text follows later
// changes of them, whether they come one by one or with a whole element.
TEST(XmlElementTest, NameAndTextReferencesFollowTheElement) {
  LLF::XmlElement e(L"first", L"one");
  const std::wstring& name = e.GetName();
  const std::wstring& text = e.GetText();
  e.SetName(L"second");
  e.SetText(L"two");
  EXPECT_EQ(name, L"second");
  EXPECT_EQ(text, L"two");
  e = LLF::XmlElement(L"third", L"three");
  EXPECT_EQ(name, L"third");
  EXPECT_EQ(text, L"three");
  e = LLF::XmlElement(L"fourth");
  EXPECT_EQ(text, L"");
  EXPECT_EQ(e.GetName(), L"fourth");
  e.SetText(L"five");
  EXPECT_EQ(text, L"five");
  // From an element whose name is shared with the reader's other elements.
  LLF::XmlDoc doc;
  ASSERT_TRUE(doc.Parse(L"<read>six</read><read />"));
  e = *doc.GetRoot()->GetChild(0);
  EXPECT_EQ(name, L"read");
  EXPECT_EQ(text, L"six");
  EXPECT_EQ(doc.GetRoot()->GetChild(1)->GetName(), L"read");
  LLF::XmlElement none;
  EXPECT_EQ(none.GetName(), L"NoName");
  EXPECT_EQ(none.GetText(), L"");
}

// Moving a descendant into its own ancestor keeps what it holds, as the
// copy does: a child with text, attributes and children, then a comment.
TEST(XmlElementTest, MoveAssignFromOwnDescendant) {
  LLF::XmlDoc doc;
  ASSERT_TRUE(doc.Parse(L"<r a=\"1\"><c b=\"2\">text<!-- note --><g d=\"3\" /></c></r>"));
  LLF::XmlElement t = *doc.GetRoot()->GetChild(0);
  const std::wstring child = t.GetChild(0)->Serialize(L"");
  ASSERT_NE(child.find(L"<g d="), std::wstring::npos);
  t = std::move(*t.GetChild(0));
  EXPECT_EQ(t.Serialize(L""), child);
  EXPECT_EQ(t.GetName(), L"c");
  ASSERT_EQ(t.GetChildsCount(), 2);
  t = std::move(*t.GetChild(0));
  EXPECT_TRUE(t.IsComment());
  EXPECT_EQ(t.GetText(), L" note ");
  EXPECT_EQ(t.GetChildsCount(), 0);
}

// Attributes the reader made (kept in one block, names shared between
// elements) behave as any other: pointers stay valid through insertions and
// removals of others, copies are deep, a name reference follows a rename.
TEST(XmlElementTest, ReadAttributesBehaveAsAnyOther) {
  for (const bool utf8 : {false, true}) {
    LLF::XmlDoc doc;
    const std::wstring text = L"<r><e a=\"1\" b=\"2\" c=\"3\"/><f a=\"4\" b=\"5\"/></r>";
    ASSERT_TRUE(utf8 ? doc.ParseUtf8(LLF::WideToAnsi(text)) : doc.Parse(text));
    LLF::XmlElement* e = doc.GetRoot()->GetChildByPath(L"r/e");
    LLF::XmlElement* f = doc.GetRoot()->GetChildByPath(L"r/f");
    ASSERT_TRUE(e && f);
    LLF::XmlAttribute* a = e->GetAttribute(L"a");
    LLF::XmlAttribute* c = e->GetAttribute(L"c");
    ASSERT_TRUE(a && c);

    const std::wstring& name = a->GetName();
    a->SetName(L"z");
    EXPECT_EQ(name, L"z");
    EXPECT_EQ(f->GetAttribute(0)->GetName(), L"a");  // the other element keeps its name
    EXPECT_EQ(f->GetAttribute(L"a")->GetValue(), L"4");

    e->AddAttribute(L"x", L"9", 1);
    EXPECT_TRUE(e->RemoveAttribute(L"b"));
    e->AddAttribute(L"y", L"8");
    EXPECT_EQ(AttributeNames(*e), L"z,x,c,y");
    EXPECT_EQ(a->GetValue(), L"1");
    EXPECT_EQ(c->GetValue(), L"3");
    EXPECT_EQ(e->GetAttribute(2), c);
    EXPECT_TRUE(e->RemoveAttribute(0));
    EXPECT_EQ(e->Serialize(L""), L"<e x=\"9\" c=\"3\" y=\"8\" />\r\n");

    LLF::XmlElement copy(*f);
    f->GetAttribute(0)->SetName(L"renamed");
    EXPECT_EQ(AttributeNames(copy), L"a,b");
    LLF::XmlAttribute held = *copy.GetAttribute(1);
    copy.Clear();
    EXPECT_EQ(held.GetName(), L"b");
    EXPECT_EQ(held.Dump(), L"b=\"5\"");

    // A moved element takes its attributes along; pointers to them hold.
    LLF::XmlAttribute* fb = f->GetAttribute(L"b");
    LLF::XmlElement moved(std::move(*f));
    EXPECT_EQ(moved.GetAttribute(1), fb);
    EXPECT_EQ(f->GetAttributesCount(), 0);
    std::vector<LLF::XmlAttribute> more;
    moved.AdoptAttributes(more);  // nothing to add
    more.emplace_back(L"m", L"7");
    moved.AdoptAttributes(more);
    EXPECT_EQ(AttributeNames(moved), L"renamed,b,m");
  }
}

// Copies of read elements, by value or whole, keep their names and values
// after the document is gone; a value reference follows a new value; values
// read by value and written are those of the attributes.
TEST(XmlElementTest, ReadElementsOutliveTheirDocument) {
  for (const bool utf8 : {false, true}) {
    auto doc = std::make_unique<LLF::XmlDoc>();
    const std::wstring text = L"<r><e a=\"1\" b=\"x &amp; \u00e9\" c=\"\"/><!-- c --></r>";
    ASSERT_TRUE(utf8 ? doc->ParseUtf8(LLF::Utf8Encode(text)) : doc->Parse(text));
    LLF::XmlElement* e = doc->GetRoot()->GetChildByPath(L"r/e");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetAttributesCount(), 3);
    EXPECT_EQ(e->GetAttribute(L"b", L"none").GetValue(), L"x & \u00e9");
    EXPECT_EQ(e->GetAttribute(L"z", L"none").GetValue(), L"none");
    const std::wstring written = e->Serialize(L"");
    EXPECT_EQ(written, L"<e a=\"1\" b=\"x &amp; \u00e9\" c=\"\" />\r\n");
    const std::wstring& name = e->GetName();
    LLF::XmlElement copy(*doc->GetRoot()->GetChild(0));
    LLF::XmlAttribute byValue = e->GetAttribute(L"a", 0);
    doc.reset();
    EXPECT_EQ(name, L"e");  // names stay in the pool
    EXPECT_EQ(byValue.GetInt(), 1);
    LLF::XmlElement* c = copy.GetChild(0);
    EXPECT_EQ(c->Serialize(L""), written);
    LLF::XmlAttribute* a = c->GetAttribute(0);
    const std::wstring& value = a->GetValue();
    a->SetValue(L"2");
    EXPECT_EQ(value, L"2");
    EXPECT_EQ(c->GetAttribute(L"a", 0).GetInt(), 2);
    EXPECT_TRUE(copy.GetChild(1)->IsComment());
  }
}

// A read element's children wait as records until they are asked for;
// copies, moves and changes made meanwhile behave as on any element, and
// outlive the document. A parent that already lies in one reading can take
// children from another.
TEST(XmlElementTest, ChildrenReadLaterBehaveAsAnyOther) {
  const std::wstring text = L"<r><a x=\"1\"><b>t &amp; u</b></a><!-- c --><d/></r>";
  const std::wstring written =
      L"<r >\r\n\t<a x=\"1\" >\r\n\t\t<b >t &amp; u</b>\r\n\t</a>\r\n\t<!-- c -->\r\n\t<d />\r\n</r>\r\n";
  for (const bool utf8 : {false, true}) {
    auto doc = std::make_unique<LLF::XmlDoc>();
    ASSERT_TRUE(utf8 ? doc->ParseUtf8(LLF::Utf8Encode(text)) : doc->Parse(text));
    const LLF::XmlElement& root = *static_cast<const LLF::XmlDoc&>(*doc).GetRoot();
    EXPECT_EQ(root.GetChildsCount(), 1);
    LLF::XmlElement copy(*root.GetChild(0));  // r's children still records
    LLF::XmlElement moved(LLF::XmlElement(*root.GetChild(0)));
    LLF::XmlElement assigned;
    assigned = copy;
    EXPECT_EQ(copy.GetChildsCount(), 3);
    LLF::XmlElement* r = doc->GetRoot()->GetChild(0);
    r->GetChild(0)->AddChild(L"n");
    r->RemoveChild(2);
    doc.reset();
    for (const LLF::XmlElement* e : {&copy, &moved, &assigned}) {
      EXPECT_EQ(e->Serialize(L""), written);
      EXPECT_EQ(ChildNames(*e), L"a,COMMENT,d");
      EXPECT_TRUE(e->GetChild(1)->IsComment());
      EXPECT_EQ(e->GetChild(0)->GetChild(0)->GetText(), L"t & u");
    }
    EXPECT_EQ(assigned.GetChildByPath(L"a/b")->GetAttributesCount(), 0);
  }

  LLF::XmlDoc first;
  ASSERT_TRUE(first.Parse(L"<p k=\"v\"/>"));
  LLF::XmlElement* p = first.GetRoot()->GetChild(0);
  {
    LLF::XmlDoc second;
    LLF::Lexer lexer;
    const std::wstring more = L"<q z=\"1\"><w/></q>";
    lexer.BorrowText(more);
    ASSERT_TRUE(second.ParseElement(lexer, p));
  }
  LLF::XmlElement taken(std::move(*p));
  first.Clear();
  EXPECT_EQ(taken.Serialize(L""), L"<p k=\"v\" >\r\n\t<q z=\"1\" >\r\n\t\t<w />\r\n\t</q>\r\n</p>\r\n");
}

// Past the pool's limit of names the reader gives names of their own; such
// documents read and write as any other. (In a child process: the pool
// lasts as long as the process.)
TEST(XmlElementTest, NamesPastThePoolsLimit) {
  EXPECT_EXIT(
      {
        std::string filler = "<f";
        for (size_t i = 0; i <= LLF::XmlNameTable::kMaxNames; ++i)
          filler += " n" + std::to_string(i) + "=\"\"";
        LLF::XmlDoc doc;
        bool ok = doc.ParseUtf8(filler + "/>");
        const std::wstring text = L"<unpooled_e unpooled_a=\"1\" unpooled_b=\"&lt;\"><f/></unpooled_e>";
        for (const bool utf8 : {false, true}) {
          ok = ok && (utf8 ? doc.ParseUtf8(LLF::Utf8Encode(text)) : doc.Parse(text));
          const LLF::XmlElement* e = doc.GetRoot()->GetChild(0);
          ok = ok && e->GetName() == L"unpooled_e" &&
               e->GetAttribute(L"unpooled_b", L"").GetValue() == L"<" &&
               LLF::XmlElement(*e).Serialize(L"") ==
                   L"<unpooled_e unpooled_a=\"1\" unpooled_b=\"&lt;\" >\r\n\t<f />\r\n</unpooled_e>\r\n" &&
               doc.GetRoot()->GetChild(0)->GetAttribute(1)->GetName() == L"unpooled_b";
        }
        std::exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// A name longer than the pool takes is the element's own, kept whole
// however long it is.
TEST(XmlElementTest, NameLongerThanThePoolTakes) {
  const std::string name(LLF::XmlNameTable::kMaxChars + 1, 'n');
  const std::string text = "<" + name + " " + name + "=\"v\"/>";
  for (const bool utf8 : {false, true}) {
    LLF::XmlDoc doc;
    ASSERT_TRUE(utf8 ? doc.ParseUtf8(text) : doc.Parse(LLF::Utf8Decode(text)));
    const LLF::XmlElement* e = doc.GetRoot()->GetChild(0);
    EXPECT_EQ(e->GetName().size(), name.size());
    ASSERT_EQ(e->GetAttributesCount(), 1);
    EXPECT_EQ(e->GetAttribute(0)->GetNameView().size(), name.size());
    EXPECT_EQ(e->GetAttribute(0)->GetName(), LLF::Utf8Decode(name));
    EXPECT_EQ(e->GetAttribute(LLF::Utf8Decode(name), L"").GetValue(), L"v");
  }
}

// Readers of one const document on several threads may ask for the same
// shared names at once.
TEST(XmlElementTest, ConcurrentReadersOfSharedNames) {
  LLF::XmlDoc doc;
  std::wstring text = L"<r>";
  for (int i = 0; i < 200; ++i) text += L"<e name=\"n\" value=\"v\"/>";
  ASSERT_TRUE(doc.Parse(text + L"</r>"));
  const LLF::XmlElement& root = *static_cast<const LLF::XmlDoc&>(doc).GetRoot()->GetChild(0);
  auto read = [&] {
    size_t length = 0;
    for (int i = 0; i < root.GetChildsCount(); ++i) {
      for (int k = 0; k < 2; ++k) length += root.GetChild(i)->GetAttribute(k)->GetName().size();
    }
    return length;
  };
  size_t first = 0, second = 0;
  std::thread other([&] { first = read(); });
  second = read();
  other.join();
  EXPECT_EQ(first, 200u * 9);
  EXPECT_EQ(second, 200u * 9);
}

}  // namespace
