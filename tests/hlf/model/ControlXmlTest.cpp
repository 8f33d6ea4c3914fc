#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestEditor.h"
#include "TestShell.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "model/XmlDocEx.h"
#include "modifiers/Effect.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace {

using HLF::Control;
using LLF::Color;
using LLF::Point;
using LLF::Vector2;

// The element written by Control's writer, as the XML writer puts it.
std::wstring SavedText(Control& control) {
  std::unique_ptr<LLF::XmlElement> element(control.SaveToXml());
  return element->Serialize(L"");
}

std::unique_ptr<Control> Load(const std::wstring& text) {
  return std::unique_ptr<Control>(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(text));
}

// A class of the test's own whose default object is hidden and not
// renderable, so its writer must compare with its own defaults.
class Panel : public Control {
 public:
  Panel() {
    _tag = L"panel";
    _visible = false;
    _renderable = false;
  }
  Control* CreateInstance() const override { return new Panel(); }
};

class ControlXmlTest : public ::testing::Test {
 public:
  QmTest::FrameworkFactories factories;
  QmTest::TempFolders folders;
  QmTest::TestShell shell;
};

TEST_F(ControlXmlTest, AnEmptyElementGivesTheDefaults) {
  std::unique_ptr<Control> c = Load(L"<control />");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->GetSize(), Point(100, 100));
  EXPECT_EQ(c->GetPosition(), Vector2(0, 0));
  EXPECT_TRUE(c->IsVisible());
  EXPECT_TRUE(c->IsEnabled());
  EXPECT_TRUE(c->IsRenderable());
  EXPECT_EQ(c->GetAlpha(), 255);
  EXPECT_EQ(c->GetDefCtrlColor(), Color(164, 164, 164, 255));
  EXPECT_EQ(c->GetEffectsCount(), 0);
}

TEST_F(ControlXmlTest, EachAttributeReachesItsField) {
  std::unique_ptr<Control> c = Load(
      L"<control name=\"n\" size=\"30,40\" pos=\"1.5,2\" scale=\"2,3\" draggable=\"true\""
      L" renderable=\"false\" visible=\"false\" enabled=\"false\" useClipping=\"true\""
      L" passDragToParent=\"true\" transformCenter=\"7,8\" origin=\"4,5\" alpha=\"99\""
      L" defCtrlColor=\"1,2,3\" rotation=\"45\" actionsInvisible=\"true\" sidesOffset=\"1,2,3,4\" />");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->GetName(), L"n");
  EXPECT_EQ(c->GetSize(), Point(30, 40));
  EXPECT_EQ(c->GetPosition(), Vector2(1.5f, 2));
  EXPECT_EQ(c->GetScale(), Vector2(2, 3));
  EXPECT_TRUE(c->IsDraggable());
  EXPECT_FALSE(c->IsRenderable());
  EXPECT_FALSE(c->IsVisible());
  EXPECT_FALSE(c->IsEnabled());
  EXPECT_TRUE(c->IsClipping());
  EXPECT_TRUE(c->IsPassDragToParent());
  EXPECT_EQ(c->GetTransformCenter(), Vector2(7, 8));
  EXPECT_EQ(c->GetOrigin(), Vector2(4, 5));
  EXPECT_EQ(c->GetAlpha(), 99);
  EXPECT_EQ(c->GetDefCtrlColor(), Color(1, 2, 3, 255));
  EXPECT_EQ(c->GetRotation(), 45.0f);
  EXPECT_TRUE(c->IsActionsInvisible());
  EXPECT_EQ(c->GetSidesOffset(), LLF::Rect(1, 2, 3, 4));
}

TEST_F(ControlXmlTest, RelativeCentreUsesTheLoadedSizeAndWins) {
  for (const wchar_t* text : {
           L"<control transformCenterRelative=\"0.5,0.5\" size=\"200,100\" />",
           L"<control size=\"200,100\" transformCenterRelative=\"0.5,0.5\" />",
           L"<control transformCenterRelative=\"0.5,0.5\" transformCenter=\"3,3\" size=\"200,100\" />",
       }) {
    SCOPED_TRACE(std::string(text, text + std::wcslen(text)));
    std::unique_ptr<Control> c = Load(text);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->GetTransformCenter(), Vector2(100, 50));
  }
}

TEST_F(ControlXmlTest, AlphaIsClampedAndReachesOnlyTheParentWhileLoading) {
  struct Case {
    const wchar_t* value;
    int alpha;
  };
  for (const Case& k : {Case{L"128", 128}, Case{L"300", 255}, Case{L"-5", 0}, Case{L"255", 255}}) {
    std::unique_ptr<Control> c = Load(std::wstring(L"<control alpha=\"") + k.value + L"\" />");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->GetAlpha(), k.alpha) << "alpha=" << k.value;
  }
  std::unique_ptr<Control> parent =
      Load(L"<control alpha=\"128\"><control /><control alpha=\"10\" /></control>");
  ASSERT_TRUE(parent);
  ASSERT_EQ(parent->GetChildsCount(), 2);
  EXPECT_EQ(parent->GetAlpha(), 128);
  EXPECT_EQ(parent->GetChild(0)->GetAlpha(), 255);
  EXPECT_EQ(parent->GetChild(1)->GetAlpha(), 10);
}

// Styles: the first style of the name wins, attributes on the element win
// over the style's, and a style inside a style is not followed.
const wchar_t* const kStyles =
    L"<!-- shared looks -->\n"
    L"<game><styles>\n"
    L"  <style size=\"1,1\" />\n"
    L"  <!-- a comment among the styles -->\n"
    L"  <style styleName=\"Box\" pos=\"10,10\" size=\"50,50\" style=\"Hidden\" alpha=\"200\" />\n"
    L"  <style styleName=\"Box\" size=\"7,7\" />\n"
    L"  <style styleName=\"Hidden\" visible=\"false\" />\n"
    L"  <style styleName=\"box\" size=\"9,9\" />\n"
    L"</styles></game>\n";

TEST_F(ControlXmlTest, StyleFillsInWhatTheElementLacksOnce) {
  ASSERT_TRUE(shell.styles.Parse(kStyles));
  QmTest::LogRecorder log;
  LLF::XmlElement element(L"control");
  element.AddAttribute(std::wstring(L"style"), std::wstring(L"Box"));
  element.AddAttribute(std::wstring(L"pos"), std::wstring(L"0,0"));

  Control c;
  ASSERT_TRUE(c.LoadFromXml(element));
  EXPECT_EQ(c.GetPosition(), Vector2(0, 0));
  EXPECT_EQ(c.GetSize(), Point(50, 50));
  EXPECT_EQ(c.GetAlpha(), 200);
  EXPECT_TRUE(c.IsVisible());
  ASSERT_NE(element.GetAttribute(std::wstring(L"style")), nullptr);
  EXPECT_EQ(element.GetAttribute(std::wstring(L"style"))->GetValue(), L"NoStyleNameDefined");
  EXPECT_EQ(element.GetAttributesCount(), 4);  // style, pos, size, alpha

  // Loaded again, the element is not styled twice: a changed style does not
  // reach it.
  ASSERT_TRUE(
      shell.styles.Parse(L"<game><styles><style styleName=\"Box\" rotation=\"9\" /></styles></game>"));
  Control again;
  ASSERT_TRUE(again.LoadFromXml(element));
  EXPECT_EQ(again.GetRotation(), 0.0f);
  EXPECT_EQ(again.GetSize(), Point(50, 50));
  EXPECT_EQ(log.Count(L"Warning: Style"), 0);
}

TEST_F(ControlXmlTest, UnknownStyleWarnsOnceAndKeepsTheElement) {
  ASSERT_TRUE(shell.styles.Parse(kStyles));
  QmTest::LogRecorder log;
  std::unique_ptr<Control> c = Load(L"<control style=\"BOX\" size=\"30,30\" />");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->GetSize(), Point(30, 30));
  EXPECT_EQ(c->GetPosition(), Vector2(0, 0));
  EXPECT_EQ(log.Count(L"Warning: Style \"BOX\" not found."), 1);
  EXPECT_EQ(log.Count(L"Warning: "), 1);

  LLF::XmlElement element(L"control");
  element.AddAttribute(std::wstring(L"style"), std::wstring(L"Missing"));
  Control plain;
  plain.ApplyStyle(element);
  EXPECT_EQ(element.GetAttribute(std::wstring(L"style"))->GetValue(), L"Missing");
  EXPECT_EQ(element.GetAttributesCount(), 1);
  EXPECT_EQ(log.Count(L"Warning: Style \"Missing\" not found."), 1);
}

TEST_F(ControlXmlTest, WriterComparesWithTheClassDefaults) {
  Control plain;
  EXPECT_EQ(SavedText(plain), L"<control size=\"100,100\" pos=\"0,0\" />\r\n");
  Panel panel;
  EXPECT_EQ(SavedText(panel), L"<panel size=\"100,100\" pos=\"0,0\" />\r\n");
  panel.SetVisible(true);
  EXPECT_EQ(SavedText(panel), L"<panel size=\"100,100\" pos=\"0,0\" visible=\"true\" />\r\n");
}

TEST_F(ControlXmlTest, WorkspaceMarkerIsLeftOutOfTheSavedName) {
  struct Case {
    const wchar_t* name;
    const wchar_t* saved;
  };
  QmTest::TestEditor editor;
  editor.open = true;
  for (const Case& k : {Case{L"WSELEMENT_panel", L"panel"}, Case{L"panel", L"panel"},
                        Case{L"my_WSELEMENT_panel", L"my_WSELEMENT_panel"}}) {
    Control c(k.name);
    c.SetVisible(false);
    std::unique_ptr<LLF::XmlElement> element(c.SaveToXml());
    ASSERT_NE(element->GetAttribute(std::wstring(L"name")), nullptr);
    EXPECT_EQ(element->GetAttribute(std::wstring(L"name"))->GetValue(), k.saved);
    // The field is written, not what the editor's getter answers.
    ASSERT_NE(element->GetAttribute(std::wstring(L"visible")), nullptr);
    EXPECT_EQ(element->GetAttribute(std::wstring(L"visible"))->GetValue(), L"false");
  }
}

// A nested layout with variables, a style, a comment and elements that are
// not controls; its first save is given in full. The start effect changes
// nothing that is saved.
const wchar_t* const kLayout =
    L"<control name=\"root\" renderable=\"false\" size=\"800,600\">\n"
    L"  <vars><var name=\"left\" value=\"40\" /></vars>\n"
    L"    <!-- the panel -->\n"
    L"    <control name=\"panel\" style=\"Box\" transformCenterRelative=\"0.5,0.25\" pos=\"#left;,20\""
    L" rotation=\"12.5\" defCtrlColor=\"30,30,60\" startEffectFile=\"scripts/fx.xml\""
    L" startEffectName=\"Show\">\n"
    L"      <control name=\"WSELEMENT_handle\" draggable=\"true\" sidesOffset=\"-2,-2,-2,-2\" />\n"
    L"      <pages><page /></pages>\n"
    L"      <control name=\"hint\" visible=\"false\" scale=\"0.5,0.5\" origin=\"1,2\" alpha=\"300\""
    L" passDragToParent=\"true\" actionsInvisible=\"true\" useClipping=\"true\" enabled=\"false\""
    L" transformCenter=\"3,4\" />\n"
    L"    </control>\n"
    L"    <unknown />\n"
    L"    <control name=\"only_file\" startEffectFile=\"scripts/fx.xml\" />\n"
    L"</control>\n";

const wchar_t* const kSaved =
    L"<control name=\"root\" size=\"800,600\" pos=\"0,0\" renderable=\"false\" >\r\n"
    L"\t<control name=\"panel\" size=\"50,50\" pos=\"40,20\" transformCenterRelative=\"0.5,0.25\""
    L" alpha=\"200\" defCtrlColor=\"30,30,60,255\" rotation=\"12.5\" startEffectFile=\"scripts/fx.xml\""
    L" startEffectName=\"Show\" >\r\n"
    L"\t\t<control name=\"handle\" size=\"100,100\" pos=\"0,0\" draggable=\"true\""
    L" sidesOffset=\"-2,-2,-2,-2\" />\r\n"
    L"\t\t<control name=\"hint\" size=\"100,100\" pos=\"0,0\" scale=\"0.5,0.5\" actionsInvisible=\"true\""
    L" passDragToParent=\"true\" visible=\"false\" enabled=\"false\" useClipping=\"true\""
    L" transformCenter=\"3,4\" origin=\"1,2\" />\r\n"
    L"\t</control>\r\n"
    L"\t<control name=\"only_file\" size=\"100,100\" pos=\"0,0\" startEffectFile=\"scripts/fx.xml\" />\r\n"
    L"</control>\r\n";

const char* const kEffects =
    "<effects>\n"
    "  <effect name=\"Show\"><modifier duration=\"1\" /></effect>\n"
    "</effects>\n";

TEST_F(ControlXmlTest, LoadSaveReloadSaveGivesTheSameText) {
  ASSERT_TRUE(shell.styles.Parse(kStyles));
  folders.WriteProgramFile("scripts/fx.xml", kEffects);
  std::unique_ptr<Control> first = Load(kLayout);
  ASSERT_TRUE(first);
  const std::wstring saved = SavedText(*first);
  EXPECT_EQ(saved, kSaved);

  std::unique_ptr<Control> second = Load(saved);
  ASSERT_TRUE(second);
  EXPECT_EQ(SavedText(*second), saved);
  // The reloaded panel shows what the first one showed.
  Control* panel = second->FindChild(L"panel");
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->GetTransformCenter(), Vector2(25, 12.5f));
  EXPECT_EQ(panel->GetChildsCount(), 2);
}

TEST_F(ControlXmlTest, StartEffectRunsAndItsNamesSurviveASave) {
  folders.WriteProgramFile("scripts/fx.xml", kEffects);
  std::unique_ptr<Control> c =
      Load(L"<control startEffectFile=\"scripts/fx.xml\" startEffectName=\"Show\" />");
  ASSERT_TRUE(c);
  ASSERT_EQ(c->GetEffectsCount(), 1);
  EXPECT_EQ(c->GetEffect(0)->GetName(), L"Show");
  EXPECT_TRUE(c->GetEffect(0)->IsRunning());
  std::wstring file, name;
  c->GetStartEffect(file, name);
  EXPECT_EQ(file, L"scripts/fx.xml");
  EXPECT_EQ(name, L"Show");

  std::unique_ptr<Control> reloaded = Load(SavedText(*c));
  ASSERT_TRUE(reloaded);
  EXPECT_EQ(reloaded->GetEffectsCount(), 1);

  // Half a pair starts nothing but is kept.
  std::unique_ptr<Control> half = Load(L"<control startEffectName=\"Show\" />");
  ASSERT_TRUE(half);
  EXPECT_EQ(half->GetEffectsCount(), 0);
  EXPECT_NE(SavedText(*half).find(L"startEffectName=\"Show\""), std::wstring::npos);
}

TEST_F(ControlXmlTest, CentreInPixelsIsSavedWhenTheRelativeOneNoLongerGivesIt) {
  // The size changed after the relative centre was set: the centre stays
  // where it was, and that is what must come back.
  Control c;
  c.SetTransformCenterRelative(Vector2(0.5f, 0.5f));
  c.SetSize(200, 200);
  std::unique_ptr<Control> reloaded = Load(SavedText(c));
  ASSERT_TRUE(reloaded);
  EXPECT_EQ(reloaded->GetTransformCenter(), Vector2(50, 50));
  EXPECT_EQ(SavedText(c), L"<control size=\"200,200\" pos=\"0,0\" transformCenter=\"50,50\" />\r\n");
}

TEST_F(ControlXmlTest, EditorPageListsTheRowsAndAppliesThem) {
  Control c(L"box");
  std::vector<HLF::PropertyGroup> groups(1);
  c.FillPropertyGrid(groups);
  ASSERT_EQ(groups.size(), 2u);
  const HLF::PropertyGroup& page = groups[1];
  EXPECT_EQ(page.title, L"Control properties");
  const std::vector<std::wstring> labels = {L"Name",
                                            L"Size",
                                            L"Position",
                                            L"Scale",
                                            L"Clipping",
                                            L"Renderable",
                                            L"Enabled",
                                            L"Transform center",
                                            L"Transform center rel",
                                            L"Origin",
                                            L"Alpha",
                                            L"Default color",
                                            L"Rotation",
                                            L"Sides offset",
                                            L"Start effect file",
                                            L"Start effect name",
                                            L"Draggable",
                                            L"Actions invisible",
                                            L"Drag transparent",
                                            L"Visible"};
  ASSERT_EQ(page.entries.size(), labels.size());
  for (size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(page.entries[i].label, labels[i]);
    EXPECT_EQ(page.entries[i].kind, HLF::PROPERTY_ORDINARY);
  }
  EXPECT_EQ(page.entries[0].value, L"box");
  EXPECT_EQ(page.entries[1].value, L"100,100");
  EXPECT_EQ(page.entries[10].value, L"255");
  EXPECT_EQ(page.entries[11].value, L"164,164,164,255");
  EXPECT_EQ(page.entries[19].value, L"true");

  const std::wstring kPage = L"Control properties";
  EXPECT_TRUE(c.SetPropertyFromEditor(kPage, L"Alpha", L"300"));
  EXPECT_EQ(c.GetAlpha(), 255);
  EXPECT_TRUE(c.SetPropertyFromEditor(kPage, L"Drag transparent", L"true"));
  EXPECT_TRUE(c.IsPassDragToParent());
  EXPECT_TRUE(c.SetPropertyFromEditor(kPage, L"Default color", L"1,2,3"));
  EXPECT_EQ(c.GetDefCtrlColor(), Color(1, 2, 3, 255));
  EXPECT_TRUE(c.SetPropertyFromEditor(kPage, L"Size", L"200,100"));
  EXPECT_TRUE(c.SetPropertyFromEditor(kPage, L"Transform center rel", L"0.5,0.5"));
  EXPECT_EQ(c.GetTransformCenter(), Vector2(100, 50));
  EXPECT_TRUE(c.SetPropertyFromEditor(kPage, L"Start effect file", L"scripts/fx.xml"));
  EXPECT_TRUE(c.SetPropertyFromEditor(kPage, L"Start effect name", L"Show"));
  std::wstring file, name;
  c.GetStartEffect(file, name);
  EXPECT_EQ(file, L"scripts/fx.xml");
  EXPECT_EQ(name, L"Show");
  EXPECT_EQ(c.GetEffectsCount(), 0);

  EXPECT_FALSE(c.SetPropertyFromEditor(L"Image properties", L"Name", L"other"));
  EXPECT_FALSE(c.SetPropertyFromEditor(kPage, L"Colour", L"0,0,0"));
  EXPECT_EQ(c.GetName(), L"box");
}

}  // namespace
