#pragma once
// The 2-D render-system interface. Declared so far: what the images and the
// renders manager call (image data upload and release, shutdown); the drawing
// operations join it with the render systems themselves.
//
// Virtual slots: 0 IsKindOf, 1 destructor, 2 Dump, then in order
// Destroy, UpdateImageData, ReleaseImageData.
#include "Object.h"

namespace LLF {

class Image;

class IRenderSystem : public virtual Object {
 public:
  LLF_KIND_OF(IRenderSystem, Object)
  ~IRenderSystem() override = default;

  // Releases the device and everything Init acquired.
  virtual void Destroy() = 0;
  // Creates the image's render data when missing (attached with the image's
  // SetRenderData); with upload, (re)builds it from the pixels.
  virtual bool UpdateImageData(Image* image, int a, int b, bool upload) = 0;
  // Frees the image's render data and sets it to null; true also when it had
  // none.
  virtual bool ReleaseImageData(Image* image) = 0;
};

}  // namespace LLF
