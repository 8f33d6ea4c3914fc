// The animated layers of a level scene, built from XML over a board in the
// real shell on the generated data: the back layer first in the board's
// parent with the sky, the front layer last in the board with the emitters
// and the moving objects, the parts that are skipped, and their removal.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "core/StringUtils.h"
#include "flow/ZentaMainMenu.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/Control.h"
#include "model/GameServices.h"
#include "modes/GameModeAnimation.h"
#include "particles/Emitter.h"
#include "widgets/StaticImage.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace QmTest {
namespace {

void SavePicture(const std::string& file, unsigned w, unsigned h, unsigned clearRows) {
  LLF::Image image(w, h, LLF::IMGFORMAT_R8G8B8A8);
  for (unsigned y = 0; y < h; ++y) {
    for (unsigned x = 0; x < w; ++x) {
      const uint8_t v = y < clearRows ? 0 : 255;
      const LLF::Color c(v, v, v, v);
      image.SetPixel(int(x), int(y), &c);
    }
  }
  ASSERT_TRUE(LLF::ImagesManager::GetInstance().SaveImage(&image, LLF::FromOsPath(file)));
}

const wchar_t kEmitter[] =
    L"<emitter name=\"%s\" imageName=\"particle\" size=\"32,32\" lifeTime=\"100\" emitRate=\"5\" "
    L"actionsInvisible=\"true\"><emitRegion shape=\"point\" data=\"0,0\" /><particle life=\"1\" /></emitter>";

std::wstring Emitter(const std::wstring& name) {
  std::wstring text = kEmitter;
  return text.replace(text.find(L"%s"), 2, name);
}

const wchar_t kBird[] =
    L"<objtransform><staticimage name=\"objtransform\" pos=\"10,10\" size=\"8,8\" />"
    L"<effect name=\"transformeffect\" infiniteLoop=\"true\"><mover startPosition=\"10,10\" "
    L"endPosition=\"90,10\" duration=\"2\" /></effect></objtransform>";

class GameModeAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyGeneratedData(folders.Program());
    game = std::make_unique<HeadlessVoyage>(folders.Program());
    ASSERT_TRUE(game->Start(true));
    ASSERT_TRUE(game->SkipToMenu());
    game->GetScript().GetMainMenu()->SetVisible(false);
    const std::string dir = folders.Program() + "/anim/";
    std::filesystem::create_directories(dir);
    SavePicture(dir + "scene.png", 100, 80, 0);
    SavePicture(dir + "alpha.png", 100, 80, 20);
    SavePicture(dir + "alpha_small.png", 50, 40, 20);
    SavePicture(dir + "clouds.png", 64, 16, 0);
    SavePicture(dir + "clouds_grey.png", 32, 16, 0);
    scene = LLF::ImagesManager::GetInstance().LoadImage(L"anim/scene.png", L"anim_scene", false, true);
    ASSERT_NE(scene, nullptr);

    holder = new HLF::Control(L"holder");
    holder->AddChild(new HLF::Control(L"earlier"));
    board = new HLF::StaticImage(L"board");
    board->SetImageObject(scene);
    board->AddChild(new HLF::Control(L"piece"));
    holder->AddChild(board);
    game->GetGameLayer()->AddChild(holder);
  }

  void TearDown() override {
    animation.Unload();
    game->GetGameLayer()->RemoveChild(holder, true);
    HLF::GameServices::DeleteDeferred();
    LLF::ImagesManager::GetInstance().FreeImage(scene);
    game->Stop();
  }

  bool Load(const std::wstring& children, int variant = 0) {
    LLF::XmlDoc doc;
    EXPECT_TRUE(doc.Parse(L"<level>" + children + L"</level>"));
    return animation.Load(*doc.GetRoot()->FindChild(L"level"), board, variant);
  }

  static std::wstring Sky(const std::wstring& alpha, const std::wstring& texture,
                          const std::wstring& effect) {
    return L"<sky" + alpha + texture + effect + L" />";
  }

  TempFolders folders;
  std::unique_ptr<HeadlessVoyage> game;
  LLF::Image* scene = nullptr;
  HLF::Control* holder = nullptr;
  HLF::StaticImage* board = nullptr;
  GameModeAnimation animation;
};

TEST(GameModeAnimationTexture, GreyGoesBeforeTheExtension) {
  const struct {
    const wchar_t* texture;
    int variant;
    const wchar_t* file;
  } cases[] = {
      {L"levels/x/clouds.png", 1, L"levels/x/clouds_grey.png"},
      {L"levels/x/clouds.png", 0, L"levels/x/clouds.png"},
      {L"levels/x/clouds.png", 2, L"levels/x/clouds.png"},
      {L"sky.jpeg", 1, L"sky_grey.jpeg"},
      {L"a.b", 1, L"a_grey.b"},
      {L"levels/v1.0/sky", 1, L"levels/v1.0/sky_grey"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GameModeAnimation::TextureName(c.texture, c.variant), c.file) << c.texture << " " << c.variant;
  }
}

TEST_F(GameModeAnimationTest, TheLayersHoldTheSkyTheEmittersAndTheMovingObjectsInFileOrder) {
  const std::wstring sky = Sky(L" backgroundAlpha=\"anim/alpha.png\"", L" skyTexture=\"anim/clouds.png\"",
                               L" skyEffect=\"SeekSkyScroll\"");
  ASSERT_TRUE(Load(L"<animations>" + Emitter(L"first") + sky + L"<clouds />" + Emitter(L"second") + kBird +
                       L"</animations>",
                   1));
  HLF::Control* back = animation.GetBackAnimation();
  HLF::Control* front = animation.GetFrontAnimation();
  ASSERT_NE(back, nullptr);
  ASSERT_NE(front, nullptr);
  EXPECT_EQ(holder->GetChild(0), back) << "behind everything of the scene";
  EXPECT_EQ(board->GetChild(board->GetChildsCount() - 1), front) << "over the board";
  EXPECT_TRUE(back->IsActionsInvisible());
  EXPECT_TRUE(front->IsActionsInvisible());

  ASSERT_EQ(front->GetChildsCount(), 3) << "two emitters and the object; the unknown child is ignored";
  EXPECT_EQ(front->GetChild(0)->GetName(), L"first");
  EXPECT_EQ(front->GetChild(1)->GetName(), L"second");
  EXPECT_NE(dynamic_cast<HLF::Emitter*>(front->GetChild(1)), nullptr);
  HLF::Control* bird = front->GetChild(2);
  EXPECT_EQ(bird->GetName(), L"objtransform");
  EXPECT_EQ(bird->GetEffectsCount(), 1);

  HLF::StaticImage* cloud = animation.GetSky();
  ASSERT_NE(cloud, nullptr);
  EXPECT_EQ(cloud->GetParent(), back);
  ASSERT_NE(cloud->GetImage(), nullptr);
  EXPECT_EQ(cloud->GetImage()->GetWidth(), 32u) << "variant 1 shows clouds_grey.png";
  EXPECT_EQ(animation.GetSkyEffect(), L"SeekSkyScroll");
  EXPECT_EQ(cloud->GetEffectsCount(), 1);
  game->Frame(16);
  EXPECT_FLOAT_EQ(cloud->GetPosition().y, 0.0f);
  EXPECT_LT(cloud->GetPosition().x, -1000.0f) << "from -1024 towards 0";
  for (int i = 0; i < 15; ++i) game->Frame(100);
  EXPECT_GT(cloud->GetPosition().x, -1024.0f) << "scrolling";
  EXPECT_GT(bird->GetPosition().x, 10.0f) << "crossing";

  LLF::Color pixel;
  scene->GetPixel(&pixel, 50, 10);
  EXPECT_EQ(pixel.a, 0) << "the sky band is clear";
  scene->GetPixel(&pixel, 50, 40);
  EXPECT_EQ(pixel.a, 255);

  animation.Unload();
  EXPECT_EQ(holder->GetChildsCount(), 2);
  EXPECT_EQ(holder->GetChild(0)->GetName(), L"earlier");
  EXPECT_EQ(board->GetChildsCount(), 1);
  EXPECT_EQ(animation.GetSky(), nullptr);
  animation.Unload();  // nothing left to remove
  EXPECT_EQ(holder->GetChildsCount(), 2);
}

TEST_F(GameModeAnimationTest, TheOtherVariantShowsThePlainTexture) {
  ASSERT_TRUE(Load(L"<animations>" +
                   Sky(L" backgroundAlpha=\"anim/alpha.png\"", L" skyTexture=\"anim/clouds.png\"",
                       L" skyEffect=\"SeekSkyScroll\"") +
                   L"</animations>"));
  ASSERT_NE(animation.GetSky(), nullptr);
  ASSERT_NE(animation.GetSky()->GetImage(), nullptr);
  EXPECT_EQ(animation.GetSky()->GetImage()->GetWidth(), 64u);
}

TEST_F(GameModeAnimationTest, IncompletePartsAreSkippedWithALogLine) {
  ASSERT_TRUE(Load(L"<animations>" +
                   Sky(L" backgroundAlpha=\"anim/alpha.png\"", L" skyTexture=\"anim/clouds.png\"", L"") +
                   Sky(L" backgroundAlpha=\"anim/alpha_small.png\"", L" skyTexture=\"anim/clouds.png\"",
                       L" skyEffect=\"SeekSkyScroll\"") +
                   L"<objtransform><staticimage name=\"objtransform\" /></objtransform>" + L"</animations>"));
  EXPECT_EQ(HeadlessVoyage::LogCount(L"a sky needs backgroundAlpha, skyTexture and skyEffect"), 1);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"is not the size of the scene picture"), 1);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"an objtransform needs children named"), 1);
  LLF::Color pixel;
  scene->GetPixel(&pixel, 50, 10);
  EXPECT_EQ(pixel.a, 255) << "the scene keeps its alpha";
  ASSERT_NE(animation.GetBackAnimation(), nullptr);
  EXPECT_EQ(animation.GetBackAnimation()->GetChildsCount(), 1) << "only the complete sky";
  EXPECT_EQ(animation.GetFrontAnimation()->GetChildsCount(), 0);
}

TEST_F(GameModeAnimationTest, EmittersAndEntriesPastTheirBoundsAreSkippedWithOneWarningEach) {
  const std::wstring emitterWarning =
      L"Warning: GameModeAnimation - more than 4 emitters; the rest are skipped.";
  const std::wstring entryWarning =
      L"Warning: GameModeAnimation - more than 16 animations; the rest are skipped.";
  // Emitters past theirs; the moving object after them still comes.
  std::wstring children;
  for (int i = 0; i < GameModeAnimation::kMaxEmitters + 3; ++i) {
    children += Emitter(L"e" + std::to_wstring(i));
  }
  ASSERT_TRUE(Load(L"<animations>" + children + kBird + L"</animations>"));
  ASSERT_NE(animation.GetFrontAnimation(), nullptr);
  HLF::Control* front = animation.GetFrontAnimation();
  ASSERT_EQ(front->GetChildsCount(), GameModeAnimation::kMaxEmitters + 1);
  EXPECT_EQ(front->GetChild(GameModeAnimation::kMaxEmitters - 1)->GetName(), L"e3");
  EXPECT_EQ(front->GetChild(GameModeAnimation::kMaxEmitters)->GetName(), L"objtransform");
  EXPECT_EQ(HeadlessVoyage::LogCount(emitterWarning), 1);
  EXPECT_EQ(HeadlessVoyage::LogCount(entryWarning), 0);

  // Every entry past theirs; unknown children and comments do not count.
  children = L"<clouds /><!-- a note -->" + Emitter(L"first");
  for (int i = 1; i < GameModeAnimation::kMaxEntries + 3; ++i) {
    children += kBird;
  }
  ASSERT_TRUE(Load(L"<animations>" + children + L"</animations>"));
  front = animation.GetFrontAnimation();
  ASSERT_NE(front, nullptr);
  EXPECT_EQ(front->GetChildsCount(), GameModeAnimation::kMaxEntries);
  EXPECT_EQ(front->GetChild(0)->GetName(), L"first");
  EXPECT_EQ(HeadlessVoyage::LogCount(entryWarning), 1);
}

TEST_F(GameModeAnimationTest, WithoutAnimationsNothingIsBuilt) {
  ASSERT_TRUE(Load(L"<background name=\"b\" />"));
  EXPECT_EQ(animation.GetBackAnimation(), nullptr);
  EXPECT_EQ(animation.GetFrontAnimation(), nullptr);
  EXPECT_EQ(holder->GetChildsCount(), 2);
  EXPECT_EQ(board->GetChildsCount(), 1);
  animation.Unload();
  animation.Unload();
  EXPECT_EQ(holder->GetChildsCount(), 2);
}

}  // namespace
}  // namespace QmTest
