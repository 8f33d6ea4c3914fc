#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FixedFont.h"
#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "SoundFixture.h"
#include "SoundTestDoubles.h"
#include "TreeInput.h"
#include "image/Image.h"
#include "model/ControlFactory.h"
#include "widgets/Button.h"

namespace {

using HLF::Button;

// A button at (100, 100), 100 x 30, in a screen-sized root, with a
// recorder listening to it.
struct ButtonOnScreen {
  ButtonOnScreen() : input(&root) {
    root.SetSize(800, 600);
    button = new Button(L"ok");
    button->SetPosition(100, 100);
    root.AddChild(button);
    recorder.Listen(button);
  }

  QmTest::MessageRecorder recorder;  // outlives the button
  HLF::Control root;
  Button* button;
  QmTest::TreeInput input;
};

TEST(ButtonTest, Defaults) {
  Button button(L"play");
  EXPECT_EQ(button.GetTypeName(), L"button");
  EXPECT_EQ(button.GetSize(), LLF::Point(100, 30));
  EXPECT_EQ(button.GetAlignment(), 18u);
  EXPECT_EQ(button.GetPressShift(), LLF::Vector2(1.0f, 1.0f));
  EXPECT_FALSE(button.IsMultiline());
  EXPECT_EQ(button.GetInterval(), 2);
  EXPECT_EQ(button.ImageProperty::GetOwner(), &button);
  EXPECT_EQ(button.TextProperty::GetOwner(), &button);
  EXPECT_EQ(button.SoundProperty::GetOwner(), &button);
  for (const char* name : {"Button", "Control", "ImageProperty", "TextProperty", "SoundProperty"}) {
    EXPECT_TRUE(button.IsKindOf(name)) << name;
  }
  EXPECT_FALSE(button.IsKindOf("Label"));
  button.SetText(L"Go");
  EXPECT_EQ(button.Dump(), L"Button: Name: play Text: Go");
  std::unique_ptr<HLF::Control> made(button.CreateInstance());
  EXPECT_TRUE(made->IsKindOf("Button"));
  EXPECT_EQ(made->GetName(), L"");
}

// Each row drives the button through the hooks the game shell calls
// (enter, leave, drag start) and window messages through the tree, then
// checks what the button reported and the cell it shows.
TEST(ButtonTest, MessageTable) {
  using Step = std::function<void(ButtonOnScreen&)>;
  const Step enter = [](ButtonOnScreen& s) { s.button->OnMouseEnter(); };
  const Step leave = [](ButtonOnScreen& s) { s.button->OnMouseLeave(); };
  const Step downOn = [](ButtonOnScreen& s) { s.input.Down(150, 110); };
  const Step upOn = [](ButtonOnScreen& s) { s.input.Up(150, 110); };
  const Step downOff = [](ButtonOnScreen& s) { s.input.Down(500, 500); };
  const Step upOff = [](ButtonOnScreen& s) { s.input.Up(500, 500); };
  const Step drag = [](ButtonOnScreen& s) { s.button->OnDragStart(LLF::Point(150, 110)); };
  const Step disable = [](ButtonOnScreen& s) { s.button->SetEnabled(false); };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<int> codes;
    int cell;
  } cases[] = {
      {"hover", {enter}, {5}, 2},
      {"press", {enter, downOn}, {5, 10}, 1},
      {"press, release, click", {enter, downOn, upOn}, {5, 10, 7, 11, 12}, 2},
      {"two clicks", {enter, downOn, upOn, downOn, upOn}, {5, 10, 7, 11, 12, 10, 7, 11, 12}, 2},
      {"release without press", {enter, upOn}, {5, 7}, 2},
      {"pressed elsewhere, released on it", {downOff, enter, upOn}, {5, 7}, 2},
      // After the cancelled press the button no longer looks pressed.
      {"a drag cancels the click", {enter, downOn, drag, upOn}, {5, 10, 2, 7}, 2},
      {"pressed, left, released elsewhere", {enter, downOn, leave, upOff}, {5, 10, 6}, 0},
      {"pressed, left, back, released", {enter, downOn, leave, enter, upOn}, {5, 10, 6, 5, 7}, 2},
      {"disabled under the mouse", {enter, disable}, {5, 6}, 3},
      {"a disabled button ignores the mouse", {enter, disable, enter, downOn, upOn, leave}, {5, 6}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ButtonOnScreen s;
    for (const Step& step : c.steps) {
      step(s);
    }
    std::vector<int> codes;
    for (const QmTest::MessageRecorder::Entry& entry : s.recorder.Entries()) {
      codes.push_back(entry.code);
      if (entry.code >= 10) {
        EXPECT_EQ(entry.text, L"ok");
        EXPECT_EQ(entry.param, 0);
      }
    }
    EXPECT_EQ(codes, c.codes);
    EXPECT_EQ(s.button->GetCell(), c.cell);
  }
}

TEST(ButtonTest, EnablingShowsTheCellOfTheMouse) {
  ButtonOnScreen s;
  s.button->SetEnabled(false);
  EXPECT_EQ(s.button->GetCell(), 3);
  s.button->SetEnabled(true);
  EXPECT_EQ(s.button->GetCell(), 0);
  EXPECT_TRUE(s.button->IsEnabled());
  s.button->OnMouseEnter();
  s.button->SetEnabled(true);
  EXPECT_EQ(s.button->GetCell(), 2);
}

class ButtonSoundTest : public QmTest::SoundFixture {};

TEST_F(ButtonSoundTest, EnterAndClickSounds) {
  UseSilentDriver();
  LLF::Sound* hover = AddSilentSound(L"hover");
  LLF::Sound* click = AddSilentSound(L"click");
  ASSERT_TRUE(hover && click);
  SoundTestDoubles::FakeDriver driver(false, true);
  ASSERT_TRUE(system.RegisterDriver(&driver));
  ASSERT_TRUE(system.SetCurrentDriver(system.GetDriversCount() - 1));
  {
    ButtonOnScreen s;
    QmTest::ParsedElement parsed(L"<button soundMouseEnter=\"hover\" soundName=\"click\" />");
    ASSERT_TRUE(s.button->LoadSoundProps(*parsed.element));
    s.button->OnMouseEnter();
    s.input.Up(150, 110);  // no press: no click
    s.input.Down(150, 110);
    s.input.Up(150, 110);
    EXPECT_EQ(driver.played, (std::vector<const LLF::Sound*>{hover, click}));
  }
  system.ReleaseCurrentDriver();
  system.UnregisterDriver(&driver);
}

TEST(ButtonTest, XmlReadAndWrite) {
  QmTest::FixedFont font;
  QmTest::FrameworkFactories factories;
  QmTest::ImageAssets images;
  images.Add(L"strip", 120, 20, 4, 1);
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<button name=\"go\" size=\"300,300\" pos=\"5,6\" imageName=\"strip\" font=\"fixed\" "
      L"text=\"aa bb\" multiline=\"true\" interval=\"5\" />"));
  Button* button = dynamic_cast<Button*>(made.get());
  ASSERT_NE(button, nullptr);
  // The image is read after the size: one cell.
  EXPECT_EQ(button->GetSize(), LLF::Point(30, 20));
  EXPECT_TRUE(button->IsMultiline());
  EXPECT_EQ(button->GetInterval(), 5);
  // Laid out for the image's width, with the font read after the text.
  EXPECT_EQ(button->GetLines(), (std::vector<std::wstring>{L"aa", L"bb"}));

  // The button sets its cell itself: a strip of four cells in one loop
  // writes none.
  button->OnMouseEnter();
  ASSERT_EQ(button->GetCell(), 2);
  std::unique_ptr<LLF::XmlElement> saved(button->SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*saved),
            (std::vector<std::wstring>{L"name=go", L"size=30,20", L"pos=5,6", L"multiline=true",
                                       L"interval=5", L"text=aa bb", L"font=fixed", L"imageName=strip"}));

  // A strip of another shape keeps its frame; an unchanged default button
  // writes only what is always written.
  images.Add(L"grid", 80, 40, 2, 2);
  button->SetImage(L"grid");
  button->SetLoop(1);
  saved.reset(button->SaveToXml());
  EXPECT_EQ(saved->GetAttribute(std::wstring(L"imageLoop"), L"").GetValue(), L"1");
  Button fresh;
  saved.reset(fresh.SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*saved), (std::vector<std::wstring>{L"size=100,30", L"pos=0,0"}));
}

// The caption keeps its line breaks through a save even when its last line
// is empty, which the text drawn last would not.
TEST(ButtonTest, MultilineCaptionSurvivesASave) {
  QmTest::FixedFont font;
  QmTest::RecordingRenderSystem rs;
  for (const std::wstring& caption : {std::wstring(L"a\nb"), std::wstring(L"a b\n\n")}) {
    Button button;
    button.SetFontObject(font.Get());
    button.SetMultiline(true);
    button.SetText(caption);
    button.Render(&rs, nullptr);
    std::unique_ptr<LLF::XmlElement> saved(button.SaveToXml());
    EXPECT_EQ(saved->GetAttribute(std::wstring(L"text"), L"").GetValue(), caption);
    Button loaded;
    ASSERT_TRUE(loaded.LoadFromXml(*saved));
    EXPECT_EQ(loaded.GetFullText(), caption);
  }
}

TEST(ButtonTest, AnUnloadedSoundFailsTheLoad) {
  QmTest::FrameworkFactories factories;
  QmTest::LogRecorder log;
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<button name=\"go\" imageName=\"nowhere\" soundName=\"nosuch\" />"));
  EXPECT_EQ(made, nullptr);
  EXPECT_EQ(log.Count(L"Error: Can't set image nowhere"), 1);
  EXPECT_EQ(log.Count(L"Error: Can't set sound nosuch"), 1);
  // A missing image alone is no failure: the placeholder box stands in.
  made.reset(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(L"<button imageName=\"nowhere\" />"));
  EXPECT_NE(made, nullptr);
}

TEST(ButtonTest, EditorPages) {
  Button button;
  button.SetMultiline(true);
  button.SetText(L"one\ntwo");
  std::vector<HLF::PropertyGroup> pages;
  button.FillPropertyGrid(pages);
  std::vector<std::wstring> titles;
  for (const HLF::PropertyGroup& page : pages) {
    titles.push_back(page.title);
  }
  EXPECT_EQ(titles,
            (std::vector<std::wstring>{L"Control properties", L"Button properties", L"Text properties",
                                       L"Image properties", L"Sound properties"}));
  ASSERT_EQ(pages[1].entries.size(), 2u);
  EXPECT_EQ(pages[1].entries[0].label, L"Multiline");
  EXPECT_EQ(pages[1].entries[0].value, L"true");
  EXPECT_EQ(pages[1].entries[1].label, L"Interval");
  EXPECT_EQ(pages[1].entries[1].value, L"2");
  bool textShown = false;
  for (const HLF::PropertyEntry& entry : pages[2].entries) {
    if (entry.label == L"Text") {
      EXPECT_EQ(entry.value, L"one\ntwo");
      textShown = true;
    }
  }
  EXPECT_TRUE(textShown);

  EXPECT_TRUE(button.SetPropertyFromEditor(L"Button properties", L"Interval", L"7"));
  EXPECT_TRUE(button.SetPropertyFromEditor(L"Button properties", L"Multiline", L"false"));
  EXPECT_TRUE(button.SetPropertyFromEditor(L"Text properties", L"Text", L"three"));
  EXPECT_TRUE(button.SetPropertyFromEditor(L"Control properties", L"Name", L"named"));
  EXPECT_EQ(button.GetInterval(), 7);
  EXPECT_FALSE(button.IsMultiline());
  EXPECT_EQ(button.GetFullText(), L"three");
  EXPECT_EQ(button.GetText(), L"three");
  EXPECT_EQ(button.GetName(), L"named");
}

}  // namespace
