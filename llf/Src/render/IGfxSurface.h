#pragma once
// A surface of the graphics device layer: the back buffer or an image
// surface in system memory that the back buffer is copied into. Destroying
// it releases it.
#include "core/Object.h"
#include "render/GfxTypes.h"

namespace LLF {

class IGfxSurface : public virtual Object {
 public:
  LLF_KIND_OF(IGfxSurface, Object)
  ~IGfxSurface() override = default;

  virtual void GetDesc(GfxSurfaceDesc& desc) const = 0;
  // Rows top down, 4 bytes per pixel in the order blue, green, red, then
  // alpha or an unused byte. Only image surfaces can be locked.
  virtual bool LockRect(GfxLockedRect& locked, bool readOnly) = 0;
  virtual bool UnlockRect() = 0;
};

}  // namespace LLF
