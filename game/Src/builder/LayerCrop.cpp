#include "builder/LayerCrop.h"

#include <cstring>

#include "builder/BuildOutputs.h"
#include "core/Log.h"
#include "image/ImagesManager.h"

unsigned LayerCrop::NextPowerOfTwo(unsigned value) {
  unsigned power = 1;
  while (power != 0 && power <= value) power <<= 1;
  return power;
}

LLF::Rect LayerCrop::VisibleBounds(const LLF::Image& image) {
  const int width = int(image.GetWidth());
  const int height = int(image.GetHeight());
  const LLF::Rect whole(0, 0, width, height);
  if (image.GetFormat() != LLF::IMGFORMAT_R8G8B8A8) return whole;
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = image.GetRow(unsigned(y));
    if (!row) return whole;
    for (int x = 0; x < width; ++x) {
      if (row[x * 4 + 3] == 0) continue;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      bottom = y;
    }
  }
  if (right < 0) return whole;
  return LLF::Rect(left, top, right - left + 1, bottom - top + 1);
}

std::unique_ptr<LLF::Image> LayerCrop::Cut(const LLF::Image& source, const LLF::Rect& rect, bool powerOfTwo) {
  if (rect.width <= 0 || rect.height <= 0 || rect.x < 0 || rect.y < 0 ||
      rect.x + rect.width > int(source.GetWidth()) || rect.y + rect.height > int(source.GetHeight())) {
    return nullptr;
  }
  const unsigned width = powerOfTwo ? NextPowerOfTwo(unsigned(rect.width)) : unsigned(rect.width);
  const unsigned height = powerOfTwo ? NextPowerOfTwo(unsigned(rect.height)) : unsigned(rect.height);
  if (width == 0 || height == 0) return nullptr;
  auto cut = std::make_unique<LLF::Image>(width, height, LLF::IMGFORMAT_R8G8B8A8);
  if (cut->GetWidth() != width || cut->GetHeight() != height) return nullptr;
  const bool opaque = source.GetFormat() != LLF::IMGFORMAT_R8G8B8A8;
  for (int dy = 0; dy < rect.height; ++dy) {
    const uint8_t* from = source.GetRow(unsigned(rect.y + dy));
    uint8_t* to = cut->GetRow(unsigned(dy));
    if (!from || !to) return nullptr;
    std::memcpy(to, from + size_t(rect.x) * 4, size_t(rect.width) * 4);
    if (opaque) {
      for (int dx = 0; dx < rect.width; ++dx) to[dx * 4 + 3] = 255;
    }
  }
  return cut;
}

std::unique_ptr<LLF::Image> LayerCrop::LoadLayer(const std::wstring& path) {
  std::unique_ptr<LLF::Image> image(LLF::ImagesManager::GetInstance().LoadImage(path, L"", true, true));
  if (!image) {
    if (path.find(L".xml") == std::wstring::npos) {
      LLF::Log::GetInstance().Write(L"Error: Can't open image file \"" + path + L"\"");
    }
    return nullptr;
  }
  if (image->GetFormat() != LLF::IMGFORMAT_R8G8B8A8) {
    LLF::Log::GetInstance().Write(L"Warning: Layer \"" + path + L"\" has no alpha; it is kept whole.");
  }
  return image;
}

bool LayerCrop::CropLayerImage(const std::wstring& source, const std::wstring& destination, LLF::Rect& out,
                               bool powerOfTwo) {
  std::unique_ptr<LLF::Image> layer = LoadLayer(source);
  if (!layer) return false;
  const LLF::Rect rect = VisibleBounds(*layer);
  std::unique_ptr<LLF::Image> cut = Cut(*layer, rect, powerOfTwo);
  layer.reset();
  if (!cut || !BuildOutputs::SaveImage(*cut, destination)) {
    if (!cut) LLF::Log::GetInstance().Write(L"Error: Can't save image file \"" + destination);
    return false;
  }
  out = rect;
  return true;
}
