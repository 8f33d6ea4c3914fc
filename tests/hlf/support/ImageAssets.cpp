#include "ImageAssets.h"

#include <gtest/gtest.h>

#include "TestEnv.h"
#include "core/StringUtils.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "image/ImagesManager.h"

namespace QmTest {

ImageAssets::ImageAssets() : _folder(NewTempFolder("images")) {
  LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecPng::GetInstance());
}

ImageAssets::~ImageAssets() {
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  images.CleanupEverything(true);
  images.UnregisterCodec(&LLF::CodecPng::GetInstance());
}

LLF::Image* ImageAssets::Add(const std::wstring& id, unsigned width, unsigned height, unsigned cells,
                             unsigned loops, const std::function<LLF::Color(int x, int y)>& pixel) {
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  LLF::Image picture(width, height, LLF::IMGFORMAT_R8G8B8A8);
  for (int y = 0; y < static_cast<int>(height); ++y) {
    for (int x = 0; x < static_cast<int>(width); ++x) {
      const LLF::Color color = pixel(x, y);
      picture.SetPixel(x, y, &color);
    }
  }
  const std::wstring file = LLF::FromOsPath(_folder + "/") + id + L".png";
  EXPECT_TRUE(images.SaveImage(&picture, file));
  LLF::Image* image = images.LoadImage(file, id, false, true);
  EXPECT_NE(image, nullptr);
  if (image) {
    image->SetCellsCount(cells, true);
    image->SetLoopsCount(loops, true);
  }
  return image;
}

LLF::Image* ImageAssets::Add(const std::wstring& id, unsigned width, unsigned height, unsigned cells,
                             unsigned loops, const LLF::Color& color) {
  return Add(id, width, height, cells, loops, [&color](int, int) { return color; });
}

}  // namespace QmTest
