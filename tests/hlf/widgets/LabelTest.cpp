#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FixedFont.h"
#include "FrameworkFactories.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "TreeInput.h"
#include "core/OSUtils.h"
#include "model/ControlFactory.h"
#include "widgets/HyperLabel.h"
#include "widgets/Label.h"

namespace {

using HLF::HyperLabel;
using HLF::Label;

// A label at (100, 100), 100 x 20, in a screen-sized root, with a
// recorder listening to it.
template <class Widget>
struct OnScreen {
  OnScreen() : input(&root) {
    root.SetSize(800, 600);
    widget = new Widget();
    widget->SetName(L"link");
    widget->SetPosition(100, 100);
    widget->SetSize(100, 20);
    root.AddChild(widget);
    recorder.Listen(widget);
  }

  QmTest::MessageRecorder recorder;  // outlives the widget
  HLF::Control root;
  Widget* widget;
  QmTest::TreeInput input;
};

std::vector<int> CodesOf(const QmTest::MessageRecorder& recorder) {
  std::vector<int> codes;
  for (const QmTest::MessageRecorder::Entry& entry : recorder.Entries()) {
    codes.push_back(entry.code);
  }
  return codes;
}

TEST(LabelTest, Defaults) {
  Label label(L"title", L"Hello");
  EXPECT_EQ(label.GetTypeName(), L"label");
  EXPECT_TRUE(label.IsPassDragToParent());
  EXPECT_FALSE(label.IsMultiline());
  EXPECT_EQ(label.GetInterval(), 2);
  // The caption is laid out at once: single-line, it is the text.
  EXPECT_EQ(label.GetText(), L"Hello");
  EXPECT_EQ(label.GetFullText(), L"Hello");
  EXPECT_EQ(label.Dump(), L"Label: Name: title Text: Hello");
  for (const char* name : {"Label", "Control", "TextProperty", "SoundProperty"}) {
    EXPECT_TRUE(label.IsKindOf(name)) << name;
  }
  EXPECT_FALSE(label.IsKindOf("ImageProperty"));
  EXPECT_EQ(label.TextProperty::GetOwner(), &label);
  EXPECT_EQ(label.SoundProperty::GetOwner(), &label);
}

TEST(LabelTest, ClickTable) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> downUp;  // x of the press, x of the release
    std::vector<int> codes;
  } cases[] = {
      {"pressed and released on it", {{150, 150}}, {10, 7}},
      {"pressed on it, released elsewhere", {{150, 500}}, {}},
      {"pressed elsewhere, released on it", {{500, 150}}, {7}},
      {"twice", {{150, 150}, {150, 150}}, {10, 7, 10, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OnScreen<Label> s;
    for (const auto& [down, up] : c.downUp) {
      s.input.Down(down, 110);
      s.input.Up(up, 110);
    }
    EXPECT_EQ(CodesOf(s.recorder), c.codes);
    for (const QmTest::MessageRecorder::Entry& entry : s.recorder.Entries()) {
      if (entry.code == 10) {
        EXPECT_EQ(entry.text, L"link");
      }
    }
  }
}

// A label that cannot take messages keeps them: neither its children nor
// the controls beneath get them, and it reports nothing.
TEST(LabelTest, ADisabledOrHiddenLabelSwallowsMessages) {
  for (bool hide : {false, true}) {
    SCOPED_TRACE(hide ? "hidden" : "disabled");
    OnScreen<Label> s;
    HLF::Control* inner = new HLF::Control(L"inner");
    inner->SetSize(100, 20);
    QmTest::MessageRecorder innerRecorder;
    innerRecorder.Listen(inner);
    s.widget->AddChild(inner);
    if (hide) {
      s.widget->SetVisible(false);
    } else {
      s.widget->SetEnabled(false);
    }
    EXPECT_TRUE(
        s.widget->ProcessMessage(QmTest::TreeInput::WindowMessage(LLF::WMSG_BUTTON_DOWN, 1, 150, 110)));
    EXPECT_TRUE(s.widget->ProcessMessage(QmTest::TreeInput::WindowMessage(LLF::WMSG_BUTTON_UP, 1, 150, 110)));
    EXPECT_TRUE(s.recorder.Entries().empty());
    EXPECT_TRUE(innerRecorder.Entries().empty());
    s.widget->RemoveChild(inner, true);
  }
}

TEST(LabelTest, XmlReadAndWrite) {
  QmTest::FixedFont font;
  QmTest::FrameworkFactories factories;
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<label name=\"story\" size=\"55,40\" font=\"fixed\" text=\"aa bb cc\" multiline=\"true\" "
      L"interval=\"0\" />"));
  Label* label = dynamic_cast<Label*>(made.get());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetLines(), (std::vector<std::wstring>{L"aa bb", L"cc"}));
  std::unique_ptr<LLF::XmlElement> saved(label->SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*saved),
            (std::vector<std::wstring>{L"name=story", L"size=55,40", L"pos=0,0", L"multiline=true",
                                       L"interval=0", L"text=aa bb cc", L"font=fixed"}));

  std::vector<HLF::PropertyGroup> pages;
  label->FillPropertyGrid(pages);
  std::vector<std::wstring> titles;
  for (const HLF::PropertyGroup& page : pages) {
    titles.push_back(page.title);
  }
  EXPECT_EQ(titles, (std::vector<std::wstring>{L"Control properties", L"Label properties", L"Text properties",
                                               L"Sound properties"}));
  EXPECT_TRUE(label->SetPropertyFromEditor(L"Label properties", L"Multiline", L"false"));
  EXPECT_FALSE(label->IsMultiline());
  EXPECT_EQ(label->GetText(), L"aa bb cc");
}

class HyperLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LLF::OS_SetCommandRunner([this](const std::vector<std::string>& args, bool, std::string*) {
      commands.push_back(args);
      return 0;
    });
  }
  void TearDown() override { LLF::OS_SetCommandRunner(nullptr); }

  std::vector<std::vector<std::string>> commands;
};

TEST_F(HyperLabelTest, AClickOpensTheUrlAndKeepsThePressedColour) {
  OnScreen<HyperLabel> s;
  EXPECT_EQ(s.widget->GetTypeName(), L"hyperlabel");
  EXPECT_TRUE(s.widget->IsKindOf("HyperLabel"));
  EXPECT_TRUE(s.widget->IsKindOf("Label"));
  ASSERT_TRUE(s.widget->SetUrl(L"https://example.org/a b?x=1&y=\"2\""));
  const LLF::Color pressed(155, 0, 255, 255);
  const LLF::Color disabled(175, 175, 175, 255);
  LLF::Color colors[4];
  s.widget->GetColors(colors[0], colors[1], colors[2], colors[3]);
  EXPECT_EQ(colors[0], LLF::Color(0, 0, 255, 255));
  EXPECT_EQ(colors[1], LLF::Color(0, 170, 255, 255));
  EXPECT_EQ(colors[2], pressed);
  EXPECT_EQ(colors[3], disabled);

  s.input.Down(150, 500);  // a press elsewhere opens nothing
  s.input.Up(150, 110);
  EXPECT_TRUE(commands.empty());
  s.input.Down(150, 110);
  s.input.Up(150, 110);
  // The url is one argument, never read by a shell.
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], (std::vector<std::string>{"xdg-open", "https://example.org/a b?x=1&y=\"2\""}));
  EXPECT_EQ(CodesOf(s.recorder), (std::vector<int>{7, 10, 7}));
  s.widget->GetColors(colors[0], colors[1], colors[2], colors[3]);
  EXPECT_EQ(colors[0], pressed);
  EXPECT_EQ(colors[1], pressed);
  EXPECT_EQ(colors[2], pressed);
  EXPECT_EQ(colors[3], disabled);
}

TEST_F(HyperLabelTest, XmlReadAndWrite) {
  QmTest::FrameworkFactories factories;
  struct Case {
    const wchar_t* xml;
    const wchar_t* url;
    const wchar_t* warning;
  } cases[] = {
      {L"<hyperlabel text=\"site\" url=\"https://example.org\" />", L"https://example.org", nullptr},
      {L"<hyperlabel text=\"site\" />", L"", L"Warning: The 'url' attribute is not set."},
      {L"<hyperlabel text=\"site\" url=\"\" />", L"", L"Warning: Can't set url attribute."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.xml)));
    QmTest::LogRecorder log;
    std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(c.xml));
    HyperLabel* link = dynamic_cast<HyperLabel*>(made.get());
    ASSERT_NE(link, nullptr);  // a missing url does not stop the load
    EXPECT_EQ(link->GetUrl(), c.url);
    EXPECT_EQ(link->GetText(), L"site");
    EXPECT_EQ(log.Count(L"Warning:"), c.warning ? 1 : 0);
    if (c.warning) {
      EXPECT_EQ(log.Count(c.warning), 1);
    }
    std::unique_ptr<LLF::XmlElement> saved(link->SaveToXml());
    EXPECT_EQ(saved->GetAttribute(std::wstring(L"url")) != nullptr, *c.url != L'\0');
    // Colours equal to a fresh link's are not written.
    EXPECT_EQ(saved->GetAttribute(std::wstring(L"textColor")), nullptr);
  }

  HyperLabel link;
  std::vector<HLF::PropertyGroup> pages;
  link.FillPropertyGrid(pages);
  ASSERT_EQ(pages.back().title, L"HyperLabel properties");
  ASSERT_EQ(pages.back().entries.size(), 1u);
  EXPECT_EQ(pages.back().entries[0].label, L"URL");
  EXPECT_TRUE(link.SetPropertyFromEditor(L"HyperLabel properties", L"URL", L"mailto:someone@example.org"));
  EXPECT_EQ(link.GetUrl(), L"mailto:someone@example.org");
  EXPECT_FALSE(link.SetUrl(L""));
  EXPECT_EQ(link.GetUrl(), L"mailto:someone@example.org");
}

}  // namespace
