#include "image/Image.h"

#include <exception>

#include "core/Exception.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "render/RendersManager.h"

namespace LLF {

Image::Image(unsigned width, unsigned height, unsigned format, bool zeroFill)
    : Canvas(width, height, format, zeroFill), _cellWidth(GetWidth()), _cellHeight(GetHeight()) {}

Image::Image(const Image& source)
    : Object(source),
      Canvas(source),
      _cellsCount(source._cellsCount),
      _loopsCount(source._loopsCount),
      _cellWidth(source._cellWidth),
      _cellHeight(source._cellHeight) {}

Image::~Image() {
  IRenderSystem* render = RendersManager::GetInstance().GetCurrentRender();
  if (!render) return;
  try {
    render->ReleaseImageData(this);
  } catch (const std::exception&) {
    // A failed release must not escape a destructor; the render system has
    // logged its reason.
  }
}

std::wstring Image::Dump() const {
  return Canvas::Dump() + L". Cells: " + ToString(_cellsCount) + L" Loops count: " + ToString(_loopsCount);
}

void Image::UpdateCellSize() {
  _cellWidth = GetWidth() / _cellsCount;
  _cellHeight = GetHeight() / _loopsCount;
}

bool Image::Resize(unsigned width, unsigned height) {
  if (!Canvas::Resize(width, height)) return false;
  UpdateCellSize();
  return true;
}

bool Image::Scale(unsigned width, unsigned height) {
  if (!Canvas::Scale(width, height)) return false;
  UpdateCellSize();
  return true;
}

unsigned Image::CheckedCount(unsigned count, const wchar_t* operation) const {
  if (count != 0) return count;
  Log::GetInstance().Write(std::wstring(L"Warning: Image::") + operation + L" called with 0, 1 is used. " +
                           Dump());
  return 1;
}

void Image::SetCellsCount(unsigned count, bool noUpdate) {
  _cellsCount = CheckedCount(count, L"SetCellsCount");
  _cellWidth = GetWidth() / _cellsCount;
  if (!noUpdate) Update(0, 0, true);
}

void Image::SetLoopsCount(unsigned count, bool noUpdate) {
  _loopsCount = CheckedCount(count, L"SetLoopsCount");
  _cellHeight = GetHeight() / _loopsCount;
  if (!noUpdate) Update(0, 0, true);
}

void Image::Update(int a, int b, bool upload) {
  IRenderSystem* render = RendersManager::GetInstance().GetCurrentRender();
  if (!render) LLF_THROW(7, L"Can't update image. CurrentRenderSystem is NULL.", L"");
  render->UpdateImageData(this, a, b, upload);
}

}  // namespace LLF
