#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "TreeInput.h"
#include "model/ControlFactory.h"
#include "widgets/Checkbox.h"

namespace {

using HLF::Checkbox;

// A 20 x 20 box at (100, 100) with its caption beside it, in a
// screen-sized root, with a recorder listening to it.
struct BoxOnScreen {
  BoxOnScreen() : input(&root) {
    root.SetSize(800, 600);
    box = new Checkbox();
    box->SetName(L"music");
    box->SetText(L"Music");
    box->SetPosition(100, 100);
    box->SetSize(20, 20);
    root.AddChild(box);
    recorder.Listen(box);
  }

  void Click(int x, int y) {
    input.Down(x, y);
    input.Up(x, y);
  }

  QmTest::MessageRecorder recorder;  // outlives the box
  HLF::Control root;
  Checkbox* box;
  QmTest::TreeInput input;
};

TEST(CheckboxTest, Defaults) {
  Checkbox box;
  box.SetName(L"sound");
  EXPECT_EQ(box.GetTypeName(), L"checkbox");
  EXPECT_EQ(box.GetSize(), LLF::Point(100, 20));
  EXPECT_FALSE(box.IsChecked());
  EXPECT_EQ(box.GetBoxAlignment(), 1);
  EXPECT_EQ(box.GetAlignment(), 17u);
  EXPECT_EQ(box.Dump(), L"Checkbox: Name: sound");
  EXPECT_TRUE(box.IsKindOf("Checkbox"));
  EXPECT_TRUE(box.IsKindOf("Button"));
  std::unique_ptr<HLF::Control> made(box.CreateInstance());
  EXPECT_TRUE(made->IsKindOf("Checkbox"));
}

TEST(CheckboxTest, AClickTurnsItOver) {
  BoxOnScreen s;
  std::vector<bool> seenOnClick;
  s.recorder.action = [&](const LLF::Message& msg) {
    if (msg.GetCode() == HLF::BUTTON_MSG_CLICKED) {
      seenOnClick.push_back(s.box->IsChecked());
    }
  };
  s.box->OnMouseEnter();
  s.Click(110, 110);
  EXPECT_TRUE(s.box->IsChecked());
  EXPECT_EQ(s.box->GetLoop(), 1);
  s.Click(110, 110);
  EXPECT_FALSE(s.box->IsChecked());
  EXPECT_EQ(s.box->GetLoop(), 0);
  // The receiver reads the state already turned over.
  EXPECT_EQ(seenOnClick, (std::vector<bool>{true, false}));
  EXPECT_EQ(s.recorder.Codes(),
            (std::vector<std::string>{"music:5", "music:10", "music:7", "music:11", "music:12", "music:10",
                                      "music:7", "music:11", "music:12"}));

  // The caption lies outside the box: a click on it does nothing.
  s.recorder.Clear();
  s.Click(130, 110);
  EXPECT_FALSE(s.box->IsChecked());
  EXPECT_TRUE(s.recorder.Entries().empty());
}

TEST(CheckboxTest, SetCheckedShowsTheStateAndSendsNothing) {
  BoxOnScreen s;
  s.box->SetChecked(true);
  EXPECT_TRUE(s.box->IsChecked());
  EXPECT_EQ(s.box->GetLoop(), 1);
  s.box->SetChecked(false);
  EXPECT_EQ(s.box->GetLoop(), 0);
  EXPECT_TRUE(s.recorder.Entries().empty());
}

// A disabled box ignores clicks and shows the disabled cell of its state's
// loop.
TEST(CheckboxTest, DisabledBoxShowsItsDisabledCell) {
  QmTest::ImageAssets images;
  QmTest::RecordingRenderSystem rs;
  images.Add(L"box", 80, 40, 4, 2);
  BoxOnScreen s;
  ASSERT_TRUE(s.box->SetImage(L"box"));
  s.box->SetChecked(true);
  s.box->OnMouseEnter();
  s.box->SetEnabled(false);
  s.recorder.Clear();
  s.Click(110, 110);
  EXPECT_TRUE(s.box->IsChecked());
  EXPECT_TRUE(s.recorder.Entries().empty());
  s.root.Render(&rs, nullptr);
  const std::vector<QmTest::DrawCall> drawn = rs.Calls(QmTest::DrawCall::kImage);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].imageParams.cell, 3);
  EXPECT_EQ(drawn[0].imageParams.loop, 1);
}

TEST(CheckboxTest, BoxAndCaptionPlaces) {
  QmTest::ImageAssets images;
  images.Add(L"box", 64, 32, 4, 2);  // 16 x 16 cells
  BoxOnScreen s;
  // Box at the left: the caption starts 2 pixels past the box.
  EXPECT_EQ(s.box->GetTextOffset(), LLF::Vector2(22, 0));
  EXPECT_EQ(s.box->GetImageOffset(), LLF::Vector2(0, 0));
  // At the right without an image, nothing moves.
  s.box->SetBoxAlignment(HLF::CHECKBOX_BOX_RIGHT);
  EXPECT_EQ(s.box->GetTextOffset(), LLF::Vector2(22, 0));
  EXPECT_EQ(s.box->GetImageOffset(), LLF::Vector2(0, 0));
  // A larger image keeps the size, and the box stands at the right edge.
  s.box->SetSize(100, 20);
  ASSERT_TRUE(s.box->SetImage(L"box"));
  EXPECT_EQ(s.box->GetSize(), LLF::Point(100, 20));
  EXPECT_EQ(s.box->GetImageOffset(), LLF::Vector2(84, 0));
  EXPECT_EQ(s.box->GetTextOffset(), LLF::Vector2(0, 0));
  // Back at the left.
  s.box->SetBoxAlignment(1);
  EXPECT_EQ(s.box->GetImageOffset(), LLF::Vector2(0, 0));
  EXPECT_EQ(s.box->GetTextOffset(), LLF::Vector2(102, 0));
}

TEST(CheckboxTest, XmlRoundTrip) {
  QmTest::FrameworkFactories factories;
  QmTest::ImageAssets images;
  images.Add(L"box", 64, 32, 4, 2);
  HLF::ControlFactory& controls = HLF::ControlFactory::GetInstance();
  std::unique_ptr<HLF::Control> made(controls.LoadObjectFromXmlText(
      L"<checkbox name=\"fs\" size=\"20,20\" imageName=\"box\" text=\"Full screen\" />"));
  Checkbox* box = dynamic_cast<Checkbox*>(made.get());
  ASSERT_NE(box, nullptr);
  // The image did not size the box; the caption is placed for its size.
  EXPECT_EQ(box->GetSize(), LLF::Point(20, 20));
  EXPECT_EQ(box->GetTextOffset(), LLF::Vector2(22, 0));

  // The state, and the loop and cell it and the mouse chose, are not
  // written: a box saved checked under the mouse loads unchecked at rest.
  box->SetChecked(true);
  box->OnMouseEnter();
  std::unique_ptr<LLF::XmlElement> saved(box->SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*saved),
            (std::vector<std::wstring>{L"name=fs", L"size=20,20", L"pos=0,0", L"text=Full screen",
                                       L"textPermanentOffset=22,0", L"imageName=box"}));
  const std::wstring first = saved->Serialize(L"");
  std::unique_ptr<HLF::Control> again(controls.LoadObjectFromXmlText(first));
  Checkbox* loaded = dynamic_cast<Checkbox*>(again.get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_FALSE(loaded->IsChecked());
  EXPECT_EQ(loaded->GetLoop(), 0);
  EXPECT_EQ(loaded->GetCell(), 0);
  saved.reset(loaded->SaveToXml());
  EXPECT_EQ(saved->Serialize(L""), first);

  // The box at the right is written and read back.
  made.reset(
      controls.LoadObjectFromXmlText(L"<checkbox size=\"100,20\" imageName=\"box\" boxAlignment=\"4\" />"));
  box = dynamic_cast<Checkbox*>(made.get());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetImageOffset(), LLF::Vector2(84, 0));
  saved.reset(box->SaveToXml());
  EXPECT_EQ(saved->GetAttribute(std::wstring(L"boxAlignment"), L"").GetValue(), L"4");
}

TEST(CheckboxTest, EditorPages) {
  Checkbox box;
  std::vector<HLF::PropertyGroup> pages;
  box.FillPropertyGrid(pages);
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(pages[1].title, L"Button properties");
  EXPECT_EQ(pages.back().title, L"Checkbox properties");
  ASSERT_EQ(pages.back().entries.size(), 1u);
  EXPECT_EQ(pages.back().entries[0].label, L"Box alignment");
  EXPECT_EQ(pages.back().entries[0].value, L"1");
  EXPECT_TRUE(box.SetPropertyFromEditor(L"Checkbox properties", L"Box alignment", L"5"));
  EXPECT_EQ(box.GetBoxAlignment(), 5);
  EXPECT_TRUE(box.SetPropertyFromEditor(L"Button properties", L"Interval", L"9"));
  EXPECT_EQ(box.GetInterval(), 9);
}

}  // namespace
