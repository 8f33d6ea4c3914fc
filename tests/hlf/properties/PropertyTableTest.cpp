#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ParsedElement.h"
#include "properties/PropertyTable.h"
#include "xml/XmlElement.h"

namespace {

using QmTest::AttributeTexts;
using Parsed = QmTest::ParsedElement;

// A class of the test's own with one field of each sort a table declares.
struct Gadget {
  int speed = 1;
  LLF::Vector2 offset;
  int mode = 0;
  bool shadow = false;
  LLF::Color shadowColor = LLF::Color(0, 0, 0, 255);
  float depth = 0.5f;
  std::wstring innerName;
  float frames = 3.0f;
  std::wstring asset;
  std::vector<std::string> setterCalls;  // which setters ran, in order

  void SetOffset(const LLF::Vector2& value) {
    offset = value;
    setterCalls.push_back("offset");
  }
  void SetSpeed(int value) {
    speed = value;
    setterCalls.push_back("speed");
  }

  static const HLF::PropertyTable<Gadget>& Properties() {
    using P = HLF::PropertyTable<Gadget>;
    static const P table(
        L"Gadget properties",
        {
            P::Typed(L"offset", &Gadget::offset, &Gadget::SetOffset).Row(L"Offset").PageAt(1),
            P::Typed(L"speed", &Gadget::speed, &Gadget::SetSpeed).Row(L"Speed").SaveAt(0).PageAt(0),
            P::Words(L"mode", &Gadget::mode, {L"SLOW", L"FAST"}).Row(L"Mode"),
            P::Member(L"shadow", &Gadget::shadow).Group(1).Row(L"Shadow"),
            P::Member(L"shadowColor", &Gadget::shadowColor).Group(1),
            P::Member(L"depth", &Gadget::depth).In(L"inner"),
            P::Member(L"name", &Gadget::innerName).In(L"inner").Always(),
            // An asset id that must resolve: "missing" fails the read.
            P::Custom(
                L"asset", [](const Gadget& g) { return g.asset; },
                [](Gadget& g, const LLF::XmlAttribute& a) {
                  g.asset = a.GetValue();
                  return g.asset != L"missing";
                })
                .Row(L"Asset"),
            P::Member(L"frames", &Gadget::frames).WhenAbsent(L"0"),
        });
    return table;
  }
};

TEST(PropertyTableTest, ReadsInTableOrderOnlyWhatIsThere) {
  struct Case {
    const char* what;
    const wchar_t* xml;
    std::vector<std::string> calls;
    bool shadow;
    LLF::Color shadowColor;
    float depth, frames;
  } cases[] = {
      {"file order does not matter",
       L"<g speed=\"4\" offset=\"1,2\" frames=\"7\" />",
       {"offset", "speed"},
       false,
       LLF::Color(0, 0, 0, 255),
       0.5f,
       7.0f},
      // The group is read only whole; a missing "frames" reads as 0.
      {"half a group", L"<g shadow=\"true\" />", {}, false, LLF::Color(0, 0, 0, 255), 0.5f, 0.0f},
      {"whole group",
       L"<g shadowColor=\"1,2,3\" shadow=\"true\" />",
       {},
       true,
       LLF::Color(1, 2, 3, 255),
       0.5f,
       0.0f},
      {"child element",
       L"<g frames=\"2\"><inner depth=\"9\" /></g>",
       {},
       false,
       LLF::Color(0, 0, 0, 255),
       9.0f,
       2.0f},
      {"attribute of the child on the element itself",
       L"<g depth=\"9\" frames=\"2\" />",
       {},
       false,
       LLF::Color(0, 0, 0, 255),
       0.5f,
       2.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Parsed parsed(c.xml);
    ASSERT_NE(parsed.element, nullptr);
    Gadget g;
    EXPECT_TRUE(Gadget::Properties().Load(g, *parsed.element));
    EXPECT_EQ(g.setterCalls, c.calls);
    EXPECT_EQ(g.shadow, c.shadow);
    EXPECT_EQ(g.shadowColor, c.shadowColor);
    EXPECT_EQ(g.depth, c.depth);
    EXPECT_EQ(g.frames, c.frames);
  }

  // Words: only an exact word changes the value.
  Gadget g;
  for (const auto& [text, mode] : {std::pair{L"FAST", 1}, std::pair{L"fast", 1}, std::pair{L"SLOW", 0}}) {
    Parsed parsed(std::wstring(L"<g mode=\"") + text + L"\" />");
    Gadget::Properties().Load(g, *parsed.element);
    EXPECT_EQ(g.mode, mode) << std::wstring(text).size();
  }

  // A failing read stops there: what came before it is set, what follows
  // it is not.
  Parsed failing(L"<g speed=\"5\" asset=\"missing\" frames=\"8\" />");
  Gadget partial;
  EXPECT_FALSE(Gadget::Properties().Load(partial, *failing.element));
  EXPECT_EQ(partial.speed, 5);
  EXPECT_EQ(partial.frames, 3.0f);
}

TEST(PropertyTableTest, WritesWhatDiffersInItsOrderAndReadsItBack) {
  const Gadget reference;
  LLF::XmlElement plain(L"g");
  Gadget::Properties().Save(reference, reference, plain);
  // The field written always, in its child element, and "frames", which
  // would read back as 0 if left out.
  EXPECT_EQ(AttributeTexts(plain), std::vector<std::wstring>({L"frames=3"}));
  ASSERT_EQ(plain.GetChildsCount(), 1);
  EXPECT_EQ(AttributeTexts(*plain.GetChild(0)), std::vector<std::wstring>({L"name="}));

  Gadget g;
  g.speed = 9;
  g.offset = LLF::Vector2(1.5f, -2);
  g.mode = 1;
  g.shadowColor = LLF::Color(4, 5, 6, 7);  // one of the group differs: both are written
  g.depth = 2.0f;
  g.innerName = L"core";
  g.asset = L"box";
  LLF::XmlElement saved(L"g");
  Gadget::Properties().Save(g, reference, saved);
  EXPECT_EQ(AttributeTexts(saved),
            (std::vector<std::wstring>{L"speed=9", L"offset=1.5,-2", L"mode=FAST", L"shadow=false",
                                       L"shadowColor=4,5,6,7", L"asset=box", L"frames=3"}));
  ASSERT_EQ(saved.GetChildsCount(), 1);
  EXPECT_EQ(saved.GetChild(0)->GetName(), L"inner");
  EXPECT_EQ(AttributeTexts(*saved.GetChild(0)), (std::vector<std::wstring>{L"depth=2", L"name=core"}));

  Gadget again;
  ASSERT_TRUE(Gadget::Properties().Load(again, saved));
  LLF::XmlElement savedAgain(L"g");
  Gadget::Properties().Save(again, reference, savedAgain);
  EXPECT_EQ(savedAgain.Serialize(L""), saved.Serialize(L""));
}

TEST(PropertyTableTest, EditorPageAndEdits) {
  Gadget g;
  g.asset = L"box";
  const HLF::PropertyGroup page = Gadget::Properties().Page(g);
  EXPECT_EQ(page.title, L"Gadget properties");
  std::vector<std::wstring> rows;
  for (const HLF::PropertyEntry& entry : page.entries) rows.push_back(entry.label + L"=" + entry.value);
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"Speed=1", L"Offset=0,0", L"Mode=SLOW", L"Shadow=false",
                                             L"Asset=box"}));

  // An edit parses as the attribute of the row does, through the setter.
  EXPECT_TRUE(Gadget::Properties().Edit(g, L"Offset", L"3,4"));
  EXPECT_TRUE(Gadget::Properties().Edit(g, L"Mode", L"FAST"));
  EXPECT_TRUE(Gadget::Properties().Edit(g, L"Shadow", L"true"));  // a group is edited row by row
  EXPECT_EQ(g.offset, LLF::Vector2(3, 4));
  EXPECT_EQ(g.setterCalls, std::vector<std::string>({"offset"}));
  EXPECT_EQ(g.mode, 1);
  EXPECT_TRUE(g.shadow);
  EXPECT_FALSE(Gadget::Properties().Edit(g, L"offset", L"0,0"));  // a label, not the attribute
  EXPECT_FALSE(Gadget::Properties().Edit(g, L"", L"0,0"));        // fields without a row
  EXPECT_EQ(g.offset, LLF::Vector2(3, 4));
}

}  // namespace
