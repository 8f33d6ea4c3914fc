#include <gtest/gtest.h>

#include "ImageTestUtil.h"
#include "core/Exception.h"
#include "image/Image.h"
#include "render/RendersManager.h"

namespace {

using LLF::Image;

TEST(ImageTest, CellsAndLoopsCutTheGrid) {
  Image image(96, 32, LLF::IMGFORMAT_R8G8B8A8);
  EXPECT_EQ(image.GetCellsCount(), 1u);
  EXPECT_EQ(image.GetCellWidth(), 96u);
  EXPECT_EQ(image.GetCellHeight(), 32u);
  image.SetCellsCount(3, true);
  EXPECT_EQ(image.GetCellWidth(), 32u);
  EXPECT_EQ(image.GetCellHeight(), 32u);
  ASSERT_TRUE(image.Resize(60, 32));
  EXPECT_EQ(image.GetCellWidth(), 20u);
  image.SetLoopsCount(4, true);
  EXPECT_EQ(image.GetCellHeight(), 8u);
  ASSERT_TRUE(image.Scale(30, 12));
  EXPECT_EQ(image.GetCellWidth(), 10u);
  EXPECT_EQ(image.GetCellHeight(), 3u);

  // A width the count does not divide leaves the rightmost columns outside
  // every cell: 100 / 3 gives cells 33 wide.
  Image odd(100, 10, LLF::IMGFORMAT_R8G8B8A8);
  odd.SetCellsCount(3, true);
  EXPECT_EQ(odd.GetCellWidth(), 33u);

  // Create and Trim, which the image does not override, keep the old cells.
  ASSERT_TRUE(odd.Create(200, 10, LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_EQ(odd.GetCellWidth(), 33u);
  EXPECT_EQ(odd.Dump(),
            L"Canvas: Width - 200 Height - 10 Format - IMGFORMAT_R8G8B8A8. Cells: 3 Loops count: 1");
  EXPECT_TRUE(odd.IsKindOf("Image") && odd.IsKindOf("Canvas") && odd.IsKindOf("Object"));
}

TEST(ImageTest, ZeroCountIsOneWithAWarning) {
  QmTest::LogCapture log;
  Image image(10, 10, LLF::IMGFORMAT_R8G8B8A8);
  image.SetCellsCount(0, true);
  image.SetLoopsCount(0, true);
  EXPECT_EQ(image.GetCellsCount(), 1u);
  EXPECT_EQ(image.GetLoopsCount(), 1u);
  EXPECT_EQ(image.GetCellWidth(), 10u);
  EXPECT_EQ(log.Count(L"Warning: Image::SetCellsCount called with 0"), 1);
  EXPECT_EQ(log.Count(L"Warning: Image::SetLoopsCount called with 0"), 1);
}

TEST(ImageTest, UpdateWithoutRenderSystemThrows) {
  ASSERT_EQ(LLF::RendersManager::GetInstance().GetCurrentRender(), nullptr);
  Image image(4, 4, LLF::IMGFORMAT_R8G8B8A8);
  try {
    image.Update(0, 0, true);
    FAIL() << "no exception";
  } catch (const LLF::Exception& e) {
    EXPECT_EQ(e.GetCode(), 7);
    EXPECT_NE(e.Dump().find(L"Can't update image. CurrentRenderSystem is NULL."), std::wstring::npos);
  }
  // Setting the grid asks for an update too, unless told not to.
  EXPECT_THROW(image.SetCellsCount(2, false), LLF::Exception);
  EXPECT_NO_THROW(image.SetCellsCount(2, true));
}

// The render data belongs to one image: a copy starts without it, so each
// image releases only its own.
TEST(ImageTest, CopyStartsWithoutRenderData) {
  QmTest::FakeRenderSystem render;
  {
    QmTest::CurrentRender current(&render);
    auto* original = new Image(8, 4, LLF::IMGFORMAT_R8G8B8A8);
    original->SetCellsCount(2, false);
    EXPECT_EQ(render.uploads, 1);
    ASSERT_NE(original->GetRenderData(), nullptr);

    auto* copy = new Image(*original);
    EXPECT_EQ(copy->GetRenderData(), nullptr);
    EXPECT_EQ(copy->GetCellsCount(), 2u);
    EXPECT_EQ(copy->GetCellWidth(), 4u);
    copy->Update(0, 0, true);
    EXPECT_NE(copy->GetRenderData(), original->GetRenderData());
    EXPECT_EQ(render.liveData, 2);

    delete original;
    delete copy;
    EXPECT_EQ(render.liveData, 0);
    EXPECT_EQ(render.releases, 2);
  }
  // No render system: the destructor leaves the data alone.
  Image orphan(1, 1, LLF::IMGFORMAT_R8G8B8A8);
  orphan.SetRenderData(&render);
  EXPECT_EQ(render.releases, 2);
  orphan.SetRenderData(nullptr);
}

}  // namespace
