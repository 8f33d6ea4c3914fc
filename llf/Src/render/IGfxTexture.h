#pragma once
// A texture of the graphics device layer: one level, kept in system memory
// by the layer and handed to the device when it is drawn with, so it can be
// created and filled on any thread and survives a device reset. Destroying
// it releases it.
#include "core/Object.h"
#include "render/GfxTypes.h"

namespace LLF {

class IGfxTexture : public virtual Object {
 public:
  LLF_KIND_OF(IGfxTexture, Object)
  ~IGfxTexture() override = default;

  virtual void GetDesc(GfxSurfaceDesc& desc) const = 0;
  // The whole texture for writing, rows top down, 4 bytes per pixel in the
  // order blue, green, red, alpha. Held until UnlockRect.
  virtual bool LockRect(GfxLockedRect& locked) = 0;
  virtual bool UnlockRect() = 0;
};

}  // namespace LLF
