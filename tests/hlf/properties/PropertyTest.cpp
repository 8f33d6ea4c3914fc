#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImageAssets.h"
#include "LogRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "SoundFixture.h"
#include "SoundTestDoubles.h"
#include "image/Image.h"
#include "model/Control.h"
#include "model/XmlDocEx.h"
#include "properties/ImageProperty.h"
#include "properties/SoundProperty.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace {

using QmTest::DrawCall;
using QmTest::RecordingRenderSystem;

// A control with an image, as the image controls mix it in.
class ImageBox : public HLF::Control, public HLF::ImageProperty {
 public:
  ImageBox() { ImageProperty::SetOwner(this); }
  LLF_KIND_OF2(ImageBox, Control, ImageProperty)

  void SetMouse(bool over, bool pressed) {
    _mouseOver = over;
    _pressed = pressed;
  }
};

// A control with sound slots.
class SoundBox : public HLF::Control, public HLF::SoundProperty {
 public:
  SoundBox() { SoundProperty::SetOwner(this); }
  LLF_KIND_OF2(SoundBox, Control, SoundProperty)
};

LLF::Transform Context(uint8_t alpha) {
  return LLF::Transform(LLF::Matrix4::Identity(), alpha);
}

using Parsed = QmTest::ParsedElement;

TEST(ImagePropertyTest, PlaceholderFollowsTheMouse) {
  struct Case {
    const char* what;
    bool over, pressed;
    uint8_t alpha;
    LLF::Color fill, line;
  } cases[] = {
      {"idle", false, false, 255, {127, 127, 127, 255}, {255, 255, 255, 255}},
      {"mouse over", true, false, 255, {164, 164, 164, 255}, {255, 255, 255, 255}},
      {"pressed", false, true, 255, {134, 134, 134, 255}, {255, 255, 255, 255}},
      {"pressed wins over mouse over", true, true, 255, {134, 134, 134, 255}, {255, 255, 255, 255}},
      {"both alphas scaled by the context", false, false, 128, {127, 127, 127, 128}, {255, 255, 255, 128}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ImageBox box;
    box.SetSize(40, 20);
    box.SetImageOffset(LLF::Vector2(3, 4));
    box.SetMouse(c.over, c.pressed);
    RecordingRenderSystem rs;
    box.DrawImage(&rs, Context(c.alpha));
    const std::vector<DrawCall> fills = rs.Fills();
    const std::vector<DrawCall> lines = rs.Calls(DrawCall::kPolyline);
    ASSERT_EQ(fills.size(), 1u);
    ASSERT_EQ(lines.size(), 1u);
    const LLF::RectF& r = fills[0].rect;
    EXPECT_EQ(std::vector<float>({r.x, r.y, r.width, r.height}), std::vector<float>({3, 4, 40, 20}));
    EXPECT_EQ(fills[0].color, c.fill);
    EXPECT_EQ(lines[0].color, c.line);
    const std::vector<LLF::Vector2> outline = {{3, 4}, {43, 4}, {43, 24}, {4, 24}, {3, 4}};
    EXPECT_EQ(lines[0].points, outline);
  }

  // Colours whose alpha comes out 0 draw nothing.
  ImageBox box;
  box.SetStateColors(LLF::Color(1, 2, 3, 0), LLF::Color(9, 9, 9, 255), LLF::Color(), LLF::Color());
  RecordingRenderSystem rs;
  box.DrawImage(&rs, Context(255));
  EXPECT_TRUE(rs.Fills().empty());
  EXPECT_EQ(rs.Calls(DrawCall::kPolyline).size(), 1u);
  rs.ClearCalls();
  box.DrawImage(&rs, Context(0));
  EXPECT_TRUE(rs.Calls().empty());
}

TEST(ImagePropertyTest, ImageDrawnAtItsOffsetWithTheContextAlpha) {
  QmTest::ImageAssets assets;
  LLF::Image* sheet = assets.Add(L"sheet", 30, 20, 3, 2);
  ImageBox box;
  ASSERT_TRUE(box.SetImage(L"sheet"));
  box.SetImageOffset(LLF::Vector2(5, 6));
  box.SetCell(2);
  box.SetLoop(1);
  RecordingRenderSystem rs;
  box.DrawImage(&rs, Context(200));
  const std::vector<DrawCall> images = rs.Calls(DrawCall::kImage);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(rs.Calls().size(), 1u);  // no placeholder
  EXPECT_EQ(images[0].image, sheet);
  const HLF::ImageDrawParams& params = images[0].imageParams;
  EXPECT_EQ(params.position, LLF::Vector2(5, 6));
  EXPECT_EQ(params.alpha, 200);
  EXPECT_EQ(params.cell, 2);
  EXPECT_EQ(params.loop, 1);
  EXPECT_EQ(params.transform, 0);

  // Invisible, or a frame the grid does not have: no draw at all.
  struct Case {
    const char* what;
    uint8_t alpha;
    int cell, loop;
  } skipped[] = {
      {"alpha 0", 0, 0, 0},
      {"cell past the last", 255, 3, 0},
      {"loop past the last", 255, 0, 2},
      {"negative cell", 255, -1, 0},
  };
  for (const Case& c : skipped) {
    SCOPED_TRACE(c.what);
    box.SetCell(c.cell);
    box.SetLoop(c.loop);
    rs.ClearCalls();
    box.DrawImage(&rs, Context(c.alpha));
    EXPECT_TRUE(rs.Calls().empty());
  }
}

TEST(ImagePropertyTest, SettingAnImageSizesTheOwnerToOneCell) {
  QmTest::ImageAssets assets;
  assets.Add(L"strip", 90, 40, 3, 2);
  ImageBox box;
  box.SetSize(500, 500);
  EXPECT_TRUE(box.SetImage(L"strip"));
  EXPECT_EQ(box.GetSize(), LLF::Point(30, 20));

  // An unknown id leaves no image (not the one before) and the size alone.
  QmTest::LogRecorder log;
  EXPECT_FALSE(box.SetImage(L"nope"));
  EXPECT_EQ(box.GetImage(), nullptr);
  EXPECT_EQ(box.GetSize(), LLF::Point(30, 20));
  EXPECT_EQ(log.Count(L"Error: Can't set image nope"), 1);

  // Without an owner only the image is stored.
  HLF::ImageProperty loose;
  EXPECT_TRUE(loose.SetImage(L"strip"));
  EXPECT_NE(loose.GetImage(), nullptr);
}

TEST(ImagePropertyTest, AttributesReadAndWrittenWhenTheyDiffer) {
  QmTest::ImageAssets assets;
  assets.Add(L"sheet", 30, 20, 3, 2);
  const std::vector<std::wstring> all = {
      L"imageName=sheet",
      L"imageLoop=1",
      L"imageCell=2",
      L"imagePermanentOffset=1.5,-2",
      L"imageBackColor=1,2,3,4",
      L"imageLineColor=5,6,7,255",
      L"imageMouseOverColor=8,9,10,255",
      L"imageMousePressedColor=11,12,13,14",
  };
  std::wstring text = L"<staticimage";
  for (const std::wstring& attribute : all) {
    const size_t eq = attribute.find(L'=');
    text += L" " + attribute.substr(0, eq) + L"=\"" + attribute.substr(eq + 1) + L"\"";
  }
  Parsed parsed(text + L" />");
  ASSERT_NE(parsed.element, nullptr);
  ImageBox box;
  ASSERT_TRUE(box.LoadImageProps(*parsed.element));
  EXPECT_EQ(box.GetImageName(), L"sheet");
  EXPECT_EQ(box.GetLoop(), 1);
  EXPECT_EQ(box.GetCell(), 2);
  EXPECT_EQ(box.GetImageOffset(), LLF::Vector2(1.5f, -2.0f));
  LLF::Color back, line, over, pressed;
  box.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(back, LLF::Color(1, 2, 3, 4));
  EXPECT_EQ(pressed, LLF::Color(11, 12, 13, 14));

  const ImageBox reference;
  LLF::XmlElement saved(L"staticimage");
  box.SaveImageProps(saved, reference);
  EXPECT_EQ(QmTest::AttributeTexts(saved), all);

  // A default property writes none of them.
  LLF::XmlElement none(L"staticimage");
  reference.SaveImageProps(none, reference);
  EXPECT_EQ(none.GetAttributesCount(), 0);

  // Without an image, the frame is not written.
  ImageBox plain;
  plain.SetCell(1);
  plain.SetLoop(1);
  LLF::XmlElement noFrame(L"staticimage");
  plain.SaveImageProps(noFrame, reference);
  EXPECT_EQ(noFrame.GetAttributesCount(), 0);
}

TEST(ImagePropertyTest, FramesOutsideTheGridAreRefused) {
  QmTest::ImageAssets assets;
  assets.Add(L"sheet", 30, 20, 3, 2);
  struct Case {
    const char* what;
    const wchar_t* text;
    int cell, loop, warnings;
  } cases[] = {
      {"inside", L"<c imageName=\"sheet\" imageCell=\"2\" imageLoop=\"1\" />", 2, 1, 0},
      {"cell equal to the count", L"<c imageName=\"sheet\" imageCell=\"3\" />", 0, 0, 1},
      {"loop equal to the count", L"<c imageName=\"sheet\" imageLoop=\"2\" />", 0, 0, 1},
      {"negative both", L"<c imageName=\"sheet\" imageCell=\"-1\" imageLoop=\"-5\" />", 0, 0, 2},
      // The image may come later (an asset not loaded yet): kept as read,
      // and checked when drawn.
      {"no image to check against", L"<c imageName=\"later\" imageCell=\"7\" />", 7, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Parsed parsed(c.text);
    ImageBox box;
    QmTest::LogRecorder log;
    EXPECT_TRUE(box.LoadImageProps(*parsed.element));
    EXPECT_EQ(box.GetCell(), c.cell);
    EXPECT_EQ(box.GetLoop(), c.loop);
    EXPECT_EQ(log.Count(L"is outside the image"), c.warnings);
  }
}

TEST(ImagePropertyTest, EditorPage) {
  QmTest::ImageAssets assets;
  assets.Add(L"sheet", 30, 20, 3, 2);
  assets.Add(L"other", 8, 8);
  ImageBox box;
  box.SetImage(L"sheet");
  box.SetCell(1);
  const HLF::PropertyGroup page = box.GetPropertyGroup();
  EXPECT_EQ(page.title, L"Image properties");
  std::vector<std::wstring> rows;
  for (const HLF::PropertyEntry& entry : page.entries) {
    EXPECT_EQ(entry.kind, HLF::PROPERTY_ORDINARY);
    rows.push_back(entry.label + L"=" + entry.value);
  }
  const std::vector<std::wstring> expected = {
      L"ID=sheet",
      L"Loop=0",
      L"Cell=1",
      L"Permanent offset=0,0",
      L"Back color=127,127,127,255",
      L"Line color=255,255,255,255",
      L"Color over=164,164,164,255",
      L"Color pressed=134,134,134,255",
  };
  EXPECT_EQ(rows, expected);
  // A second fill does not add rows.
  EXPECT_EQ(box.GetPropertyGroup().entries.size(), expected.size());

  struct Edit {
    const wchar_t* label;
    const wchar_t* value;
    int cell, loop;
  } edits[] = {
      {L"Cell", L"2", 2, 0},                          // the last cell
      {L"Cell", L"3", 2, 0},                          // equal to the count: ignored
      {L"Cell", L"-1", 2, 0},                         // ignored
      {L"Loop", L"1", 2, 1},  {L"Loop", L"2", 2, 1},  // ignored
  };
  for (const Edit& e : edits) {
    EXPECT_TRUE(box.SetPropertyFromPage(e.label, e.value));
    EXPECT_EQ(box.GetCell(), e.cell) << e.label << "=" << e.value;
    EXPECT_EQ(box.GetLoop(), e.loop) << e.label << "=" << e.value;
  }
  EXPECT_TRUE(box.SetPropertyFromPage(L"Permanent offset", L"4,5"));
  EXPECT_TRUE(box.SetPropertyFromPage(L"Color pressed", L"1,2,3"));
  EXPECT_TRUE(box.SetPropertyFromPage(L"Unknown", L"x"));
  EXPECT_EQ(box.GetImageOffset(), LLF::Vector2(4, 5));
  LLF::Color back, line, over, pressed;
  box.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(pressed, LLF::Color(1, 2, 3, 255));
  EXPECT_TRUE(box.SetPropertyFromPage(L"ID", L"other"));
  EXPECT_EQ(box.GetImageName(), L"other");
  EXPECT_EQ(box.GetSize(), LLF::Point(8, 8));

  // Without an image the frame rows change nothing.
  ImageBox empty;
  EXPECT_TRUE(empty.SetPropertyFromPage(L"Cell", L"0"));
  empty.SetCell(5);
  EXPECT_TRUE(empty.SetPropertyFromPage(L"Cell", L"0"));
  EXPECT_EQ(empty.GetCell(), 5);
}

TEST(ImagePropertyTest, TypeTestOfAControlWithAnImage) {
  ImageBox box;
  for (const char* name : {"ImageBox", "Control", "MessageSender", "ImageProperty", "ControlProperty"}) {
    EXPECT_TRUE(box.IsKindOf(name)) << name;
  }
  EXPECT_FALSE(box.IsKindOf("SoundProperty"));
  EXPECT_EQ(box.GetOwner(), &box);
}

class SoundPropertyTest : public QmTest::SoundFixture {
 protected:
  void SetUp() override {
    UseSilentDriver();
    click = AddSilentSound(L"click");
    hover = AddSilentSound(L"hover");
    ASSERT_NE(click, nullptr);
    ASSERT_NE(hover, nullptr);
  }

  LLF::Sound* click = nullptr;
  LLF::Sound* hover = nullptr;
};

TEST_F(SoundPropertyTest, SlotsAreTheAttributesNamedWithSound) {
  // "Sound" with a capital S names no slot, wherever it stands.
  Parsed parsed(
      L"<button soundName=\"click\" over_sound=\"hover\" hoverSound=\"nope\" Sound=\"nope\" "
      L"name=\"soundless\" />");
  SoundBox box;
  EXPECT_TRUE(box.LoadSoundProps(*parsed.element));
  EXPECT_EQ(box.GetSound(L"soundName"), click);
  EXPECT_EQ(box.GetSound(L"over_sound"), hover);
  EXPECT_EQ(box.GetSound(L"hoverSound"), nullptr);
  EXPECT_EQ(box.GetSound(L"Sound"), nullptr);
  EXPECT_EQ(box.GetSound(L"name"), nullptr);

  // Written back in slot order, by asset id.
  LLF::XmlElement saved(L"button");
  box.SaveSoundProps(saved);
  EXPECT_EQ(QmTest::AttributeTexts(saved),
            (std::vector<std::wstring>{L"over_sound=hover", L"soundName=click"}));
}

TEST_F(SoundPropertyTest, AMissingSoundFailsTheRead) {
  Parsed parsed(L"<button soundName=\"click\" sound_down=\"missing\" sound_later=\"hover\" />");
  SoundBox box;
  QmTest::LogRecorder log;
  EXPECT_FALSE(box.LoadSoundProps(*parsed.element));
  EXPECT_EQ(log.Count(L"Error: Can't set sound missing"), 1);
  EXPECT_EQ(box.GetSound(L"soundName"), click);
  EXPECT_EQ(box.GetSound(L"sound_down"), nullptr);
  EXPECT_EQ(box.GetSound(L"sound_later"), nullptr);  // not read any more
  EXPECT_FALSE(box.SetSoundObject(nullptr, L"soundName"));
  EXPECT_EQ(box.GetSound(L"soundName"), click);
}

TEST_F(SoundPropertyTest, PlaysThroughTheCurrentDriver) {
  SoundBox box;
  box.SetSoundObject(click, L"soundName");
  box.SetSoundObject(hover, L"over_sound");
  SoundTestDoubles::FakeDriver driver(false, true);
  ASSERT_TRUE(system.RegisterDriver(&driver));
  ASSERT_TRUE(system.SetCurrentDriver(system.GetDriversCount() - 1));
  box.Play(L"over_sound");
  box.Play(L"unset_sound");
  box.Play(L"soundName");
  EXPECT_EQ(driver.played, (std::vector<const LLF::Sound*>{hover, click}));
  system.ReleaseCurrentDriver();
  system.UnregisterDriver(&driver);
  box.Play(L"soundName");  // no driver: nothing, and no crash
  EXPECT_EQ(driver.played.size(), 2u);
}

TEST_F(SoundPropertyTest, EditorPage) {
  SoundBox box;
  HLF::PropertyGroup page = box.GetPropertyGroup();
  EXPECT_EQ(page.title, L"Sound properties");
  ASSERT_EQ(page.entries.size(), 1u);
  EXPECT_EQ(page.entries[0].label, L"ID");
  EXPECT_EQ(page.entries[0].value, L"");
  EXPECT_TRUE(box.SetPropertyFromPage(L"ID", L"hover"));
  EXPECT_EQ(box.GetSound(L"soundName"), hover);
  page = box.GetPropertyGroup();
  ASSERT_EQ(page.entries.size(), 1u);
  EXPECT_EQ(page.entries[0].value, L"hover");
  EXPECT_TRUE(box.SoundProperty::IsKindOf("SoundProperty"));
}

}  // namespace
