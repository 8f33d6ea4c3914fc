#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "core/StringUtils.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "model/XmlDocEx.h"
#include "modifiers/Modifier.h"
#include "modifiers/ModifierFactory.h"
#include "modifiers/Mover.h"
#include "modifiers/TimeWarp.h"
#include "modifiers/TimeWarpDecelerate.h"
#include "modifiers/TimeWarpFactory.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace {

std::vector<std::string> g_journal;

// A control class of the test's own, "part": reads its name, refuses to load
// with failLoad="true", answers OnCreated false with usable="false", and
// writes each step with the number of children it has at that moment.
class Part : public HLF::Control {
 public:
  Part() { _tag = L"part"; }
  ~Part() override { Note("deleted"); }

  HLF::Control* CreateInstance() const override { return new Part(); }
  bool LoadFromXml(LLF::XmlElement& element) override {
    const LLF::XmlAttribute* name = element.GetAttribute(std::wstring(L"name"));
    SetName(name ? name->GetValue() : L"");
    _usable = !element.GetAttribute(std::wstring(L"usable")) ||
              element.GetAttribute(std::wstring(L"usable"))->GetBool();
    Note("load");
    const LLF::XmlAttribute* fail = element.GetAttribute(std::wstring(L"failLoad"));
    return !(fail && fail->GetBool());
  }
  bool OnCreated() override {
    Note("created");
    return _usable;
  }

 private:
  void Note(const char* what) {
    g_journal.push_back(std::string(what) + " " + LLF::WideToAnsi(GetName()) + " " +
                        std::to_string(GetChildsCount()));
  }

  bool _usable = true;
};

// A second class under the tag "part", registered later.
class LatePart : public Part {
 public:
  HLF::Control* CreateInstance() const override { return new LatePart(); }
};

class FactoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_journal.clear();
    controls.Register(new Part());
  }

  QmTest::FrameworkFactories factories;
  HLF::ControlFactory& controls = HLF::ControlFactory::GetInstance();
};

std::unique_ptr<HLF::Control> Create(const std::wstring& text) {
  return std::unique_ptr<HLF::Control>(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(text));
}

// Children are made depth first in document order, each loaded before its
// children and completed after them; what is no control is passed over at
// every depth, and a control that fails is dropped with its subtree while
// its siblings are still made.
TEST_F(FactoryTest, BuildsNestedTreesAndSkipsWhatIsNoControl) {
  QmTest::LogRecorder log;
  std::unique_ptr<HLF::Control> root = Create(
      L"<part name=\"root\">"
      L"  <!-- a comment -->"
      L"  <vars><var name=\"v\" value=\"1\" /></vars>"
      L"  <part name=\"a\">"
      L"    <control />"
      L"    <unknown><part name=\"lost\" /></unknown>"
      L"    <part name=\"a2\" />"
      L"  </part>"
      L"  <effect name=\"e\"><part name=\"inEffect\" /></effect>"
      L"  <pages><part name=\"page\" /></pages>"
      L"  <part name=\"b\" failLoad=\"true\"><part name=\"b1\" /></part>"
      L"  <part name=\"c\" usable=\"false\"><part name=\"c1\" /><part name=\"c2\" /></part>"
      L"  <part name=\"d\" />"
      L"</part>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(g_journal, (std::vector<std::string>{"load root 0", "load a 0", "load a2 0", "created a2 0",
                                                 "created a 2", "load b 0", "deleted b 0", "load c 0",
                                                 "load c1 0", "created c1 0", "load c2 0", "created c2 0",
                                                 "created c 2", "deleted c 2", "deleted c1 0", "deleted c2 0",
                                                 "load d 0", "created d 0", "created root 2"}));
  ASSERT_EQ(root->GetChildsCount(), 2);
  HLF::Control* a = root->GetChild(0);
  EXPECT_EQ(a->GetName(), L"a");
  EXPECT_EQ(root->GetChild(1)->GetName(), L"d");
  ASSERT_EQ(a->GetChildsCount(), 2);
  EXPECT_EQ(typeid(*a->GetChild(0)), typeid(HLF::Control));
  EXPECT_EQ(a->GetChild(1)->GetName(), L"a2");
  EXPECT_EQ(a->GetChild(1)->GetParent(), a);
  // Unknown names are no failure worth a line.
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(FactoryTest, WhatGivesNoControlAtTheTop) {
  QmTest::LogRecorder log;
  for (const wchar_t* text : {L"<unknown><part /></unknown>", L"<vars />", L"<effect />", L"<pages />",
                              L"<part usable=\"false\" />", L"<part failLoad=\"true\" />"}) {
    SCOPED_TRACE(LLF::WideToAnsi(text));
    EXPECT_EQ(Create(text), nullptr);
  }
  EXPECT_TRUE(log.Lines().empty());
}

// The prototypes are asked from the last registered to the first.
TEST_F(FactoryTest, ALaterPrototypeOfATagWins) {
  std::unique_ptr<HLF::Control> before = Create(L"<part />");
  controls.Register(new LatePart());
  std::unique_ptr<HLF::Control> after = Create(L"<part />");
  ASSERT_NE(before, nullptr);
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(typeid(*before), typeid(Part));
  EXPECT_EQ(typeid(*after), typeid(LatePart));
}

TEST_F(FactoryTest, LoadersReadFilesWithVariables) {
  QmTest::TempFolders folders;
  folders.WriteProgramFile("scripts/layout.xml",
                           "<!-- parts -->\n"
                           "<layouts>\n"
                           "  <vars><var name=\"prefix\" value=\"panel_\" /></vars>\n"
                           "  <part name=\"#prefix;a\"><part name=\"#prefix;child\" /></part>\n"
                           "  <part name=\"#prefix;b\" />\n"
                           "</layouts>\n");
  std::unique_ptr<HLF::Control> first(controls.LoadObjectFromXml(L"scripts/layout.xml", L"layouts/part"));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetName(), L"panel_a");
  ASSERT_EQ(first->GetChildsCount(), 1);
  EXPECT_EQ(first->GetChild(0)->GetName(), L"panel_child");

  std::unique_ptr<HLF::Control> named(
      controls.LoadNamedObjectFromXml(L"scripts/layout.xml", L"layouts", L"panel_b"));
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(named->GetName(), L"panel_b");

  EXPECT_EQ(controls.LoadNamedObjectFromXml(L"scripts/layout.xml", L"layouts", L"nobody"), nullptr);
  EXPECT_EQ(controls.LoadObjectFromXml(L"scripts/layout.xml", L"layouts/nothing"), nullptr);
  EXPECT_EQ(controls.LoadObjectFromXml(L"scripts/missing.xml", L"layouts/part"), nullptr);
  EXPECT_EQ(controls.LoadObjectFromXmlText(L"<layouts"), nullptr);
}

TEST_F(FactoryTest, FrameworkPrototypesInRegistrationOrder) {
  std::vector<std::wstring> tags;
  for (int i = 0; i < controls.GetPrototypesCount(); ++i) {
    tags.push_back(controls.GetPrototype(i)->GetTypeName());
  }
  // SetUp added the test's own "part" after the framework's.
  EXPECT_EQ(tags, (std::vector<std::wstring>{
                      L"control",    L"dialog",      L"button",        L"edit",         L"label",
                      L"listbox",    L"scroll",      L"slider",        L"popupmenu",    L"staticimage",
                      L"progress",   L"checkbox",    L"enternamedlg",  L"messagedlg",   L"filedlg",
                      L"optionsdlg", L"profilesdlg", L"profilenewdlg", L"imagefiledlg", L"audiofiledlg",
                      L"emitter",    L"tutorialdlg", L"hyperlabel",    L"part"}));

  tags.clear();
  HLF::ModifierFactory& modifiers = HLF::ModifierFactory::GetInstance();
  for (int i = 0; i < modifiers.GetPrototypesCount(); ++i) {
    tags.push_back(modifiers.GetPrototype(i)->GetTag());
  }
  EXPECT_EQ(tags, (std::vector<std::wstring>{L"modifier", L"blinker", L"fader", L"audiofader", L"mover",
                                             L"moverto", L"scaler", L"rotator", L"modprops", L"cycler"}));

  tags.clear();
  HLF::TimeWarpFactory& curves = HLF::TimeWarpFactory::GetInstance();
  for (int i = 0; i < curves.GetPrototypesCount(); ++i) {
    tags.push_back(curves.GetPrototype(i)->GetTag());
  }
  EXPECT_EQ(tags, (std::vector<std::wstring>{L"linear", L"accelerate", L"decelerate", L"accdecelerate",
                                             L"decaccelerate"}));
  EXPECT_EQ(curves.GetPrototype(5), nullptr);
  EXPECT_EQ(curves.GetPrototype(-1), nullptr);
}

// Each control prototype makes a new object of its own class under its tag.
TEST_F(FactoryTest, EachControlTagMakesItsClass) {
  const std::vector<std::pair<std::wstring, const char*>> kinds{
      {L"control", "Control"},
      {L"dialog", "Dialog"},
      {L"button", "Button"},
      {L"edit", "Edit"},
      {L"label", "Label"},
      {L"listbox", "Listbox"},
      {L"scroll", "Scroll"},
      {L"slider", "Slider"},
      {L"popupmenu", "PopupMenu"},
      {L"staticimage", "StaticImage"},
      {L"progress", "Progress"},
      {L"checkbox", "Checkbox"},
      {L"enternamedlg", "EnterNameDialog"},
      {L"messagedlg", "MessageDialog"},
      {L"filedlg", "FileDialog"},
      {L"optionsdlg", "OptionsDialog"},
      {L"profilesdlg", "ProfilesDialog"},
      {L"profilenewdlg", "ProfileNewDialog"},
      {L"imagefiledlg", "ImageFileDialog"},
      {L"audiofiledlg", "AudioFileDialog"},
      {L"emitter", "Emitter"},
      {L"tutorialdlg", "TutorialDialog"},
      {L"hyperlabel", "HyperLabel"},
  };
  // The registered ones come in the table's order; SetUp's "part" is last.
  size_t next = 0;
  for (int i = 0; i + 1 < controls.GetPrototypesCount(); ++i) {
    const HLF::Control* prototype = controls.GetPrototype(i);
    while (next < kinds.size() && kinds[next].first != prototype->GetTypeName()) {
      ++next;
    }
    ASSERT_LT(next, kinds.size()) << LLF::WideToAnsi(prototype->GetTypeName()) << " out of order";
    SCOPED_TRACE(kinds[next].second);
    std::unique_ptr<HLF::Control> made(prototype->CreateInstance());
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made.get(), prototype);
    EXPECT_TRUE(made->IsKindOf(kinds[next].second));
    EXPECT_EQ(typeid(*made), typeid(*prototype));
    EXPECT_EQ(made->GetTypeName(), kinds[next].first);
  }
}

// Each modifier tag makes its class; the curve comes from the element's
// "timeWarp"; "vars" makes nothing in either factory.
TEST_F(FactoryTest, ModifiersAndTheirCurvesByName) {
  HLF::ModifierFactory& modifiers = HLF::ModifierFactory::GetInstance();
  struct Case {
    const wchar_t* text;
    const char* kind;      // null: nothing made
    const wchar_t* curve;  // the curve's tag, empty for none
  } cases[] = {
      {L"<modifier duration=\"2\" />", "Modifier", L""},
      {L"<fader timeWarp=\"decelerate\" />", "Fader", L"decelerate"},
      {L"<audiofader timeWarp=\"linear\" />", "MusicFader", L"linear"},
      {L"<mover timeWarp=\"Linear\" />", "Mover", L""},
      {L"<moverto />", "MoverTo", L""},
      {L"<scaler timeWarp=\"accdecelerate\" />", "Scaler", L"accdecelerate"},
      {L"<rotator />", "Rotator", L""},
      {L"<blinker timeWarp=\"accelerate\" />", "Blinker", L"accelerate"},
      {L"<cycler timeWarp=\"decaccelerate\" />", "Cycler", L"decaccelerate"},
      {L"<modprops />", "ModProps", L""},
      {L"<vars timeWarp=\"linear\" />", nullptr, nullptr},
      {L"<fadr />", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.text));
    HLF::XmlDocEx doc;
    ASSERT_TRUE(doc.Parse(c.text));
    std::unique_ptr<HLF::Modifier> modifier(modifiers.CreateFrom(*doc.GetDocumentElement()));
    std::unique_ptr<HLF::TimeWarp> curve(
        HLF::TimeWarpFactory::GetInstance().CreateFrom(*doc.GetDocumentElement()));
    if (!c.kind) {
      EXPECT_EQ(modifier, nullptr);
      EXPECT_EQ(curve, nullptr);
      continue;
    }
    ASSERT_NE(modifier, nullptr);
    EXPECT_TRUE(modifier->IsKindOf(c.kind));
    EXPECT_TRUE(modifier->IsKindOf("Modifier"));
    EXPECT_EQ(modifier->GetTimeWarp() ? modifier->GetTimeWarp()->GetTag() : L"", c.curve);
    EXPECT_EQ(curve ? curve->GetTag() : L"", c.curve);
  }
}

}  // namespace
