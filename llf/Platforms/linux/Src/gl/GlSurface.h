#pragma once
// A surface of the OpenGL device: the back buffer (a handle only; the
// device reads it) or an image surface in system memory, rows top down.
#include <cstdint>
#include <vector>

#include "render/IGfxSurface.h"

namespace LLF {

class GlSurface : public IGfxSurface {
 public:
  // An image surface has memory; the back buffer has none.
  GlSurface(uint32_t width, uint32_t height, uint32_t format, bool imageSurface);

  LLF_KIND_OF(GlSurface, IGfxSurface)
  ~GlSurface() override = default;
  std::wstring Dump() const override;

  void GetDesc(GfxSurfaceDesc& desc) const override;
  bool LockRect(GfxLockedRect& locked, bool readOnly) override;
  bool UnlockRect() override;

  bool IsBackBuffer() const { return !_imageSurface; }
  uint8_t* GetPixels() { return _pixels.data(); }

 private:
  uint32_t _width;
  uint32_t _height;
  uint32_t _format;
  bool _imageSurface;
  bool _locked = false;
  std::vector<uint8_t> _pixels;
};

}  // namespace LLF
