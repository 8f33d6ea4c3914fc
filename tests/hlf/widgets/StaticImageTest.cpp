#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlProbe.h"
#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "RecordingRenderSystem.h"
#include "TestShell.h"
#include "app/InputCodes.h"
#include "image/Image.h"
#include "model/ControlFactory.h"
#include "widgets/StaticImage.h"

namespace {

using HLF::StaticImage;
using QmTest::DrawCall;
using QmTest::RecordingRenderSystem;

const LLF::Color kOpaque(200, 10, 10, 255);
const LLF::Color kClear(0, 0, 0, 0);
const LLF::Color kFaint(0, 0, 0, 1);

// A 4 x 4 picture with transparent corners and one barely visible pixel at
// (1, 0).
LLF::Color Cornered(int x, int y) {
  if ((x == 0 || x == 3) && (y == 0 || y == 3)) {
    return kClear;
  }
  return x == 1 && y == 0 ? kFaint : kOpaque;
}

TEST(StaticImageTest, Defaults) {
  StaticImage image(L"board");
  EXPECT_EQ(image.GetTypeName(), L"staticimage");
  EXPECT_TRUE(image.IsPassDragToParent());
  EXPECT_FALSE(image.GetDoAlphaPixelCheck());
  EXPECT_EQ(image.ImageProperty::GetOwner(), &image);
  EXPECT_EQ(image.Dump(), L"StaticImage: Name: board");
  for (const char* name : {"StaticImage", "Control", "ImageProperty", "ControlProperty"}) {
    EXPECT_TRUE(image.IsKindOf(name)) << name;
  }
  std::unique_ptr<HLF::Control> made(image.CreateInstance());
  EXPECT_TRUE(made->IsKindOf("StaticImage"));
  EXPECT_EQ(made->GetName(), L"");
}

TEST(StaticImageTest, AlphaHitTest) {
  LLF::Image withAlpha(4, 4, LLF::IMGFORMAT_R8G8B8A8);
  LLF::Image opaqueFormat(4, 4, LLF::IMGFORMAT_R8G8B8X8);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const LLF::Color color = Cornered(x, y);
      withAlpha.SetPixel(x, y, &color);
      opaqueFormat.SetPixel(x, y, &color);
    }
  }
  struct Case {
    const char* what;
    LLF::Image* image;
    bool check;
    LLF::Point point;
    bool hit;
  } cases[] = {
      {"check off: a transparent corner", &withAlpha, false, {0, 0}, true},
      {"check off: outside the image", &withAlpha, false, {9, 9}, true},
      {"opaque pixel", &withAlpha, true, {1, 1}, true},
      {"transparent corner", &withAlpha, true, {3, 3}, false},
      {"alpha 1 counts", &withAlpha, true, {1, 0}, true},
      {"last column", &withAlpha, true, {3, 1}, true},
      {"one past the last column", &withAlpha, true, {4, 1}, false},
      {"one past the last row", &withAlpha, true, {1, 4}, false},
      {"left of the image", &withAlpha, true, {-1, 1}, false},
      {"above the image", &withAlpha, true, {1, -1}, false},
      {"format without alpha: the 'transparent' corner", &opaqueFormat, true, {0, 0}, true},
      {"format without alpha: past the edge", &opaqueFormat, true, {4, 0}, false},
      {"no image: the placeholder takes it", nullptr, true, {50, 50}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StaticImage image;
    image.SetImageObject(c.image);
    image.SetDoAlphaPixelCheck(c.check);
    EXPECT_EQ(image.HitTest(c.point), c.hit);
  }
}

// The pixels tested are those of the frame on screen.
TEST(StaticImageTest, AlphaHitTestUsesTheCurrentFrame) {
  // Two cells in two loops of 2 x 2; only cell 1 of loop 1 is opaque.
  LLF::Image sheet(4, 4, LLF::IMGFORMAT_R8G8B8A8);
  for (int y = 2; y < 4; ++y) {
    for (int x = 2; x < 4; ++x) {
      sheet.SetPixel(x, y, &kOpaque);
    }
  }
  sheet.SetCellsCount(2, true);
  sheet.SetLoopsCount(2, true);
  StaticImage image;
  image.SetImageObject(&sheet);
  image.SetDoAlphaPixelCheck(true);
  EXPECT_EQ(image.GetSize(), LLF::Point(2, 2));
  EXPECT_FALSE(image.HitTest(LLF::Point(0, 0)));
  image.SetCell(1);
  image.SetLoop(1);
  EXPECT_TRUE(image.HitTest(LLF::Point(0, 0)));
  EXPECT_TRUE(image.HitTest(LLF::Point(1, 1)));
  EXPECT_FALSE(image.HitTest(LLF::Point(2, 1)));  // beyond the cell
  image.SetCell(2);                               // no such cell: nothing drawn, nothing hit
  EXPECT_FALSE(image.HitTest(LLF::Point(0, 0)));
}

// Clicks on a transparent pixel go to what lies below.
TEST(StaticImageTest, ClicksOnlyOnOpaquePixels) {
  QmTest::ImageAssets assets;
  assets.Add(L"cornered", 4, 4, 1, 1, &Cornered);
  QmTest::Journal journal;
  QmTest::Probe root(&journal, L"root", 0, 0, 100, 100);
  QmTest::Probe* below = QmTest::Probe::Add(&root, &journal, L"below", 10, 10, 4, 4);
  StaticImage* image = new StaticImage(L"image");
  image->SetPosition(10, 10);
  ASSERT_TRUE(image->SetImage(L"cornered"));
  image->SetDoAlphaPixelCheck(true);
  root.AddChild(image);
  QmTest::MessageRecorder clicks;
  clicks.Listen(image);
  clicks.Listen(below);
  QmTest::TestShell shell(&root);
  struct Case {
    int x, y;
    const char* clicked;
  } cases[] = {{11, 11, "image:7"}, {10, 10, "below:7"}, {13, 13, "below:7"}, {11, 10, "image:7"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clicked);
    clicks.Clear();
    shell.MouseDown(c.x, c.y);
    shell.MouseUp(c.x, c.y);
    EXPECT_EQ(clicks.Codes({HLF::CTRL_MSG_CLICK}), std::vector<std::string>{c.clicked});
  }
}

TEST(StaticImageTest, DrawsItsImageInPlaceOfTheFill) {
  QmTest::ImageAssets assets;
  LLF::Image* picture = assets.Add(L"pic", 20, 10);
  StaticImage image;
  image.SetPosition(100, 50);
  image.SetAlpha(128);
  ASSERT_TRUE(image.SetImage(L"pic"));
  image.AddChild(new HLF::Control(L"child"));
  RecordingRenderSystem rs;
  LLF::Transform parent(LLF::Matrix4::Identity(), 255);
  image.Render(&rs, &parent);
  const std::vector<DrawCall> images = rs.Calls(DrawCall::kImage);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].image, picture);
  EXPECT_EQ(images[0].imageParams.alpha, 128);
  const LLF::Vector2 at = images[0].Map(0, 0);
  EXPECT_EQ(at, LLF::Vector2(100, 50));
  // The only fill is the child's; the stack is balanced.
  ASSERT_EQ(rs.Fills().size(), 1u);
  EXPECT_EQ(rs.Calls(DrawCall::kPush).size(), rs.Calls(DrawCall::kPop).size());

  // A pure container draws only its children; a hidden one nothing.
  rs.ClearCalls();
  image.SetRenderable(false);
  image.Render(&rs, &parent);
  EXPECT_TRUE(rs.Calls(DrawCall::kImage).empty());
  EXPECT_EQ(rs.Fills().size(), 1u);
  rs.ClearCalls();
  image.SetVisible(false);
  image.Render(&rs, &parent);
  EXPECT_TRUE(rs.Calls().empty());
}

TEST(StaticImageTest, ADisabledImageKeepsItsMessages) {
  StaticImage image;
  image.SetEnabled(false);
  const LLF::Message key = QmTest::TestShell::WindowMessage(LLF::WMSG_KEY_DOWN, 65, 0, 0);
  EXPECT_TRUE(image.ProcessMessage(key));
}

// The framework's prototypes and an image "sheet" of 3 cells in 2 loops,
// 30 x 20 each.
class StaticImageXmlTest : public ::testing::Test {
 protected:
  StaticImageXmlTest() { assets.Add(L"sheet", 90, 40, 3, 2); }

  QmTest::FrameworkFactories factories;
  QmTest::ImageAssets assets;
  HLF::ControlFactory& controls = HLF::ControlFactory::GetInstance();
};

TEST_F(StaticImageXmlTest, LoadedThroughTheFactory) {
  std::unique_ptr<HLF::Control> made(controls.LoadObjectFromXmlText(
      L"<staticimage name=\"icon\" size=\"300,300\" imageName=\"sheet\" imageCell=\"1\" "
      L"doAlphaPixelCheck=\"true\" />"));
  ASSERT_NE(made, nullptr);
  StaticImage* image = dynamic_cast<StaticImage*>(made.get());
  ASSERT_NE(image, nullptr);
  // The image is read after "size": one cell.
  EXPECT_EQ(image->GetSize(), LLF::Point(30, 20));
  EXPECT_EQ(image->GetCell(), 1);
  EXPECT_TRUE(image->GetDoAlphaPixelCheck());

  // A style reaches the check and the image's attributes; the element's
  // own attributes win.
  QmTest::TestShell shell;
  ASSERT_TRUE(shell.styles.Parse(
      L"<game><styles><style styleName=\"Icon\" doAlphaPixelCheck=\"true\" imageCell=\"2\" "
      L"imageBackColor=\"200,0,0,255\" /></styles></game>"));
  made.reset(
      controls.LoadObjectFromXmlText(L"<staticimage style=\"Icon\" imageName=\"sheet\" imageCell=\"1\" />"));
  image = dynamic_cast<StaticImage*>(made.get());
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->GetDoAlphaPixelCheck());
  EXPECT_EQ(image->GetCell(), 1);
  LLF::Color back, line, over, pressed;
  image->GetStateColors(back, line, over, pressed);
  EXPECT_EQ(back, LLF::Color(200, 0, 0, 255));

  // A missing image is logged and the control still loads.
  QmTest::LogRecorder log;
  made.reset(controls.LoadObjectFromXmlText(L"<staticimage imageName=\"gone\" />"));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(log.Count(L"Error: Can't set image gone"), 1);
}

std::wstring Saved(HLF::Control& control) {
  std::unique_ptr<LLF::XmlElement> element(control.SaveToXml());
  return element->Serialize(L"");
}

// What a static image saves loads back to the same static image.
TEST_F(StaticImageXmlTest, SavedAsLoaded) {
  std::unique_ptr<HLF::Control> first(controls.LoadObjectFromXmlText(
      L"<staticimage name=\"icon\" pos=\"5,6\" imageName=\"sheet\" imageCell=\"2\" imageLoop=\"1\" "
      L"imagePermanentOffset=\"1,1\" doAlphaPixelCheck=\"true\" passDragToParent=\"false\">"
      L"<staticimage name=\"inner\" imageLineColor=\"1,2,3,4\" /></staticimage>"));
  ASSERT_NE(first, nullptr);
  const std::wstring saved = Saved(*first);
  EXPECT_NE(saved.find(L"doAlphaPixelCheck=\"true\""), std::wstring::npos) << saved;
  EXPECT_NE(saved.find(L"passDragToParent=\"false\""), std::wstring::npos) << saved;
  EXPECT_NE(saved.find(L"imageLineColor=\"1,2,3,4\""), std::wstring::npos) << saved;
  std::unique_ptr<HLF::Control> second(controls.LoadObjectFromXmlText(saved));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Saved(*second), saved);
  StaticImage* image = dynamic_cast<StaticImage*>(second.get());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetCell(), 2);
  EXPECT_EQ(image->GetLoop(), 1);
  EXPECT_TRUE(image->GetDoAlphaPixelCheck());
  EXPECT_FALSE(image->IsPassDragToParent());

  // A default static image writes only its size and position.
  StaticImage plain;
  std::unique_ptr<LLF::XmlElement> element(plain.SaveToXml());
  EXPECT_EQ(element->GetName(), L"staticimage");
  EXPECT_EQ(element->GetAttributesCount(), 2);
}

TEST_F(StaticImageXmlTest, EditorPages) {
  StaticImage image;
  image.SetImage(L"sheet");
  std::vector<HLF::PropertyGroup> pages;
  image.FillPropertyGrid(pages);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].title, L"Control properties");
  EXPECT_EQ(pages[1].title, L"Image properties");
  EXPECT_EQ(pages[1].entries.size(), 8u);
  EXPECT_TRUE(image.SetPropertyFromEditor(L"Image properties", L"Cell", L"2"));
  EXPECT_EQ(image.GetCell(), 2);
  EXPECT_TRUE(image.SetPropertyFromEditor(L"Control properties", L"Alpha", L"10"));
  EXPECT_EQ(image.GetAlpha(), 10);
  // The image page's labels mean nothing on Control's page.
  EXPECT_FALSE(image.SetPropertyFromEditor(L"Control properties", L"Cell", L"0"));
  EXPECT_EQ(image.GetCell(), 2);
}

}  // namespace
