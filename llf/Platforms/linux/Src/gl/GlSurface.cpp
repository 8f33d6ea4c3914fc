#include "gl/GlSurface.h"

#include "core/Format.h"

namespace LLF {

GlSurface::GlSurface(uint32_t width, uint32_t height, uint32_t format, bool imageSurface)
    : _width(width), _height(height), _format(format), _imageSurface(imageSurface) {
  if (imageSurface) {
    _pixels.assign(size_t(width) * height * 4, 0);
  }
}

std::wstring GlSurface::Dump() const {
  return Format(L"GlSurface %u x %u, format %u%s", _width, _height, _format,
                _imageSurface ? L"" : L", back buffer");
}

void GlSurface::GetDesc(GfxSurfaceDesc& desc) const {
  desc.format = _format;
  desc.width = _width;
  desc.height = _height;
}

bool GlSurface::LockRect(GfxLockedRect& locked, bool) {
  if (!_imageSurface || _locked) {
    return false;
  }
  _locked = true;
  locked.pitch = static_cast<int>(_width * 4);
  locked.bits = _pixels.data();
  return true;
}

bool GlSurface::UnlockRect() {
  if (!_locked) {
    return false;
  }
  _locked = false;
  return true;
}

}  // namespace LLF
