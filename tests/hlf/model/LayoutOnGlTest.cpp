// A layout of our own (styles, variables with an include, static images,
// nested controls and start effects) loaded through the control factory and
// drawn frame by frame on the OpenGL render system (SDL's offscreen video on
// Mesa); the back buffer is read back and checked at chosen pixels while a
// fader, a cycler, a blinker and a property modifier run. Then the alpha
// test of a static image under clicks, and a save, reload and save that
// writes the same file twice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FrameworkFactories.h"
#include "GlScreen.h"
#include "ImageAssets.h"
#include "MessageRecorder.h"
#include "TempFolders.h"
#include "TestShell.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "widgets/StaticImage.h"
#include "xml/XmlDoc.h"

namespace {

const LLF::Color kBlack(0, 0, 0, 255);
const LLF::Color kRed(255, 0, 0, 255);
const LLF::Color kGreen(0, 255, 0, 255);
const LLF::Color kBlue(0, 0, 255, 255);
const LLF::Color kPanel(40, 40, 200, 255);
const LLF::Color kBar(255, 200, 0, 255);
const LLF::Color kMagenta(255, 0, 255, 255);

const char* const kStyles =
    "<game><styles>"
    "<style styleName=\"Panel\" size=\"300,200\" defCtrlColor=\"40,40,200\" />"
    "<style styleName=\"Icon\" doAlphaPixelCheck=\"true\" pos=\"1,1\" />"
    "</styles></game>";

const char* const kSharedVars =
    "<shared>\n"
    "\t<vars>\n"
    "\t\t<var name=\"top\" value=\"120\" />\n"
    "\t\t<var name=\"left\" value=\"999\" />\n"
    "\t</vars>\n"
    "</shared>\n";

const char* const kEffects =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<effects>\n"
    "\t<vars><var name=\"fade\" value=\"0.5\" /></vars>\n"
    "\t<effect name=\"PanelShow\"><fader type=\"FADEOUT\" duration=\"#fade;\" /></effect>\n"
    "\t<effect name=\"Cycle\"><cycler fps=\"4\" duration=\"10\" /></effect>\n"
    "\t<effect name=\"Blink\"><blinker type=\"VISIBILITY\" blinksCount=\"4\" duration=\"2\" /></effect>\n"
    "\t<effect name=\"Props\"><modprops startDelay=\"1.5\" pos=\"600,200\" defCtrlColor=\"255,0,255\" "
    "/></effect>\n"
    "</effects>\n";

// Absolute positions: the panel at (40, 120), the icon in it at (50, 130),
// 40 x 40 whatever its "size" says; the bar at (50, 180); the cycling strip
// at (400, 40); the blinking box at (400, 200); the box that moves at
// (500, 200).
const char* const kLayout =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<layouts>\n"
    "\t<vars>\n"
    "\t\t<var name=\"left\" value=\"40\" />\n"
    "\t\t<include file=\"scripts/shared_vars.xml\" path=\"shared/vars\" />\n"
    "\t</vars>\n"
    "\t<control name=\"root\" renderable=\"false\" size=\"800,600\">\n"
    "\t\t<control name=\"panel\" style=\"Panel\" pos=\"#left;,#top;\" "
    "startEffectFile=\"scripts/effects.xml\" "
    "startEffectName=\"PanelShow\">\n"
    "\t\t\t<staticimage name=\"icon\" style=\"Icon\" imageName=\"cornered\" pos=\"10,10\" size=\"300,300\" "
    "/>\n"
    "\t\t\t<!-- a comment and an unknown element are no controls -->\n"
    "\t\t\t<gadget name=\"nothing\" />\n"
    "\t\t\t<control name=\"bar\" pos=\"10,60\" size=\"280,8\" defCtrlColor=\"255,200,0\" />\n"
    "\t\t</control>\n"
    "\t\t<staticimage name=\"strip\" imageName=\"strip\" pos=\"400,40\" "
    "startEffectFile=\"scripts/effects.xml\" "
    "startEffectName=\"Cycle\" />\n"
    "\t\t<control name=\"blink\" pos=\"400,200\" size=\"40,40\" defCtrlColor=\"0,0,255\" "
    "startEffectFile=\"scripts/effects.xml\" startEffectName=\"Blink\" />\n"
    "\t\t<control name=\"props\" pos=\"500,200\" size=\"40,40\" defCtrlColor=\"0,255,0\" "
    "startEffectFile=\"scripts/effects.xml\" startEffectName=\"Props\" />\n"
    "\t</control>\n"
    "</layouts>\n";

// Transparent in the top-left quarter, red elsewhere.
LLF::Color Cornered(int x, int y) {
  return x < 20 && y < 20 ? LLF::Color(0, 0, 0, 0) : kRed;
}

// Three cells of 20 x 20: red, green, blue.
LLF::Color Strip(int x, int) {
  return x < 20 ? kRed : (x < 40 ? kGreen : kBlue);
}

bool Near(const LLF::Color& a, const LLF::Color& b) {
  return std::abs(a.r - b.r) <= 2 && std::abs(a.g - b.g) <= 2 && std::abs(a.b - b.b) <= 2;
}

// A name for the colour among those the layout shows, "?" for another.
std::string Name(const LLF::Color& c) {
  const struct {
    LLF::Color color;
    const char* name;
  } known[] = {{kBlack, "black"}, {kRed, "red"}, {kGreen, "green"},    {kBlue, "blue"},
               {kPanel, "panel"}, {kBar, "bar"}, {kMagenta, "magenta"}};
  for (const auto& k : known) {
    if (Near(c, k.color)) {
      return k.name;
    }
  }
  return "?";
}

std::string FileText(const std::wstring& path) {
  std::ifstream in(LLF::ToOsPath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class LayoutOnGlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = std::make_unique<QmTest::GlScreen>();
    ASSERT_TRUE(screen->IsReady());
    assets = std::make_unique<QmTest::ImageAssets>();
    assets->Add(L"cornered", 40, 40, 1, 1, &Cornered);
    assets->Add(L"strip", 60, 20, 3, 1, &Strip);
    folders.WriteProgramFile("scripts/shared_vars.xml", kSharedVars);
    folders.WriteProgramFile("scripts/effects.xml", kEffects);
    folders.WriteProgramFile("scripts/layout.xml", kLayout);
    ASSERT_TRUE(shell.styles.Parse(LLF::AnsiToWide(kStyles)));
  }
  void TearDown() override {
    shell.SetRoot(nullptr);
    root.reset();
    assets.reset();  // the images' textures go while the system still runs
    screen.reset();
  }

  HLF::Control* Load(const std::wstring& file, const std::wstring& path) {
    return HLF::ControlFactory::GetInstance().LoadObjectFromXml(file, path);
  }

  // One frame of ms: updates, then a drawing over black read back.
  std::unique_ptr<LLF::Image> Frame(unsigned ms) {
    if (ms) {
      root->PreUpdate();
      root->Update(ms);
      HLF::GameServices::DeleteDeferred();
    }
    std::unique_ptr<LLF::Image> shot =
        screen->Frame([this](LLF::IRenderSystem* rs) { root->Render(rs, nullptr); });
    EXPECT_NE(shot, nullptr);
    return shot;
  }

  static std::string At(LLF::Image& shot, int x, int y) {
    LLF::Color c;
    shot.GetPixel(&c, x, y);
    return Name(c);
  }

  QmTest::TempFolders folders;
  QmTest::FrameworkFactories factories;
  QmTest::TestShell shell;
  std::unique_ptr<QmTest::GlScreen> screen;
  std::unique_ptr<QmTest::ImageAssets> assets;
  std::unique_ptr<HLF::Control> root;
};

TEST_F(LayoutOnGlTest, LoadsDrawsAndAnimates) {
  root.reset(Load(L"scripts/layout.xml", L"layouts/control"));
  ASSERT_NE(root, nullptr);
  shell.SetRoot(root.get());
  HLF::Control* panel = root->FindChild(L"panel");
  HLF::Control* icon = root->FindChild(L"icon");
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(root->GetChildsCount(), 4);
  EXPECT_EQ(panel->GetChildsCount(), 2);  // the comment and the unknown element made nothing
  // The variable of the including file wins; "top" comes from the include.
  EXPECT_EQ(panel->GetPosition(), LLF::Vector2(40, 120));
  EXPECT_EQ(panel->GetSize(), LLF::Point(300, 200));
  // The element's own "pos" wins over the style's; the image's size over "size".
  EXPECT_EQ(icon->GetPosition(), LLF::Vector2(10, 10));
  EXPECT_EQ(icon->GetSize(), LLF::Point(40, 40));
  EXPECT_TRUE(dynamic_cast<HLF::StaticImage*>(icon)->GetDoAlphaPixelCheck());

  // Frame 0: the panel starts its fade at alpha 0, so neither it nor its
  // children show.
  std::unique_ptr<LLF::Image> shot = Frame(0);
  EXPECT_EQ(At(*shot, 190, 270), "black");
  EXPECT_EQ(At(*shot, 80, 160), "black");
  EXPECT_EQ(At(*shot, 410, 50), "red");    // the strip's first cell
  EXPECT_EQ(At(*shot, 420, 220), "blue");  // the blinking box, on
  EXPECT_EQ(At(*shot, 520, 220), "green");

  // Halfway through the fade the panel is about half its colour.
  shot = Frame(250);
  LLF::Color half;
  shot->GetPixel(&half, 190, 270);
  EXPECT_GT(half.b, 60);
  EXPECT_LT(half.b, 140);

  // The rest over frames of 125 ms up to 2000 ms: the strip's cell and the
  // blinking box are sampled on every frame.
  std::vector<std::string> cells = {At(*shot, 410, 50)};
  std::vector<std::string> blinks = {At(*shot, 420, 220)};
  auto note = [](std::vector<std::string>& seen, const std::string& now) {
    if (seen.back() != now) {
      seen.push_back(now);
    }
  };
  for (unsigned t = 375; t <= 2000; t += 125) {
    shot = Frame(125);
    note(cells, At(*shot, 410, 50));
    note(blinks, At(*shot, 420, 220));
    if (t == 500) {
      // Faded in: the panel, the bar, the icon's red and, through the
      // icon's transparent quarter, the panel.
      EXPECT_EQ(At(*shot, 190, 270), "panel");
      EXPECT_EQ(At(*shot, 100, 184), "bar");
      EXPECT_EQ(At(*shot, 80, 160), "red");
      EXPECT_EQ(At(*shot, 55, 135), "panel");
    }
    if (t == 1375) {
      EXPECT_EQ(At(*shot, 520, 220), "green");
      EXPECT_EQ(At(*shot, 620, 220), "black");
    }
    if (t == 1500) {
      // The property modifier's attributes, at its time.
      EXPECT_EQ(At(*shot, 520, 220), "black");
      EXPECT_EQ(At(*shot, 620, 220), "magenta");
    }
  }
  // A cell every 0.25 s once an interval has run out after the one it
  // started in: at 375, 750, 1125, 1500 and 1875 ms.
  EXPECT_EQ(cells, (std::vector<std::string>{"red", "green", "blue", "red", "green"}));
  // Four phases of 500 ms, then left visible.
  EXPECT_EQ(blinks, (std::vector<std::string>{"blue", "black", "blue", "black", "blue"}));

  // Clicks on the icon's transparent quarter go to the panel below.
  QmTest::MessageRecorder clicks;
  clicks.Listen(icon);
  clicks.Listen(panel);
  for (const auto& [x, y] : {std::pair{75, 155}, std::pair{55, 135}, std::pair{89, 131}}) {
    shell.MouseDown(x, y);
    shell.MouseUp(x, y);
  }
  EXPECT_EQ(clicks.Codes({HLF::CTRL_MSG_CLICK}), (std::vector<std::string>{"icon:7", "panel:7", "icon:7"}));
}

TEST_F(LayoutOnGlTest, SaveReloadSaveWritesTheSameFile) {
  root.reset(Load(L"scripts/layout.xml", L"layouts/control"));
  ASSERT_NE(root, nullptr);
  const std::wstring first = LLF::FromOsPath(folders.Program()) + L"/first.xml";
  const std::wstring second = LLF::FromOsPath(folders.Program()) + L"/second.xml";
  auto save = [](HLF::Control& control, const std::wstring& path) {
    std::unique_ptr<LLF::XmlElement> element(control.SaveToXml());
    LLF::XmlDoc doc;
    doc.GetRoot()->AddChild(*element);
    return doc.SaveToFile(path);
  };
  ASSERT_TRUE(save(*root, first));
  std::unique_ptr<HLF::Control> reloaded(Load(first, L"control"));
  ASSERT_NE(reloaded, nullptr);
  ASSERT_TRUE(save(*reloaded, second));
  const std::string text = FileText(first);
  EXPECT_EQ(text, FileText(second));
  for (const char* kept : {"doAlphaPixelCheck=\"true\"", "imageName=\"strip\"", "startEffectName=\"Cycle\"",
                           "defCtrlColor=\"40,40,200,255\"", "pos=\"40,120\""}) {
    EXPECT_NE(text.find(kept), std::string::npos) << kept << " in\n" << text;
  }
}

}  // namespace
