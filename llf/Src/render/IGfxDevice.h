#pragma once
// The drawing device of the graphics device layer: exactly the operations
// the hardware render system performs on its device. Coordinates follow the
// device convention the render system was written for: the projection it
// sets maps integer pixel positions onto pixel edges after its half-pixel
// shift, front faces are clockwise on screen, colours are packed
// a << 24 | r << 16 | g << 8 | b. Every operation but the texture and
// surface creation runs on the thread that created the device.
#include <cstdint>
#include <memory>

#include "core/Object.h"
#include "math/Matrix4.h"
#include "render/GfxTypes.h"
#include "render/IGfxSurface.h"
#include "render/IGfxTexture.h"

namespace LLF {

class IGfxDevice : public virtual Object {
 public:
  LLF_KIND_OF(IGfxDevice, Object)
  ~IGfxDevice() override = default;

  virtual GfxDeviceState TestCooperativeLevel() = 0;
  // Starts over with new presentation parameters (size, windowed or full
  // screen); render states must be set again afterwards. Textures survive.
  virtual bool Reset(const GfxPresentParameters& params) = 0;
  virtual bool Present() = 0;
  virtual bool BeginScene() = 0;
  virtual bool EndScene() = 0;
  // Clears the viewport: flags of GfxClearFlags, colour packed ARGB.
  virtual bool Clear(uint32_t flags, uint32_t color, float z) = 0;
  virtual bool SetViewport(const GfxViewport& viewport) = 0;
  virtual bool SetTransform(GfxTransformKind kind, const Matrix4& matrix) = 0;
  virtual bool SetRenderState(GfxRenderState state, uint32_t value) = 0;
  virtual bool SetTextureStageState(uint32_t stage, GfxStageState state, uint32_t value) = 0;
  // Null sets no texture. The device does not own it; the caller keeps it
  // alive while it is set.
  virtual bool SetTexture(uint32_t stage, IGfxTexture* texture) = 0;
  // The vertex layout of the following draws (GfxVertexFormat).
  virtual bool SetVertexShader(uint32_t vertexFormat) = 0;
  // Draws primitiveCount primitives from the caller's vertices.
  virtual bool DrawPrimitiveUP(GfxPrimitive type, uint32_t primitiveCount, const void* vertices,
                               uint32_t stride) = 0;
  // Any thread. Null on failure.
  virtual std::unique_ptr<IGfxTexture> CreateTexture(uint32_t width, uint32_t height, uint32_t format) = 0;
  virtual std::unique_ptr<IGfxSurface> CreateImageSurface(uint32_t width, uint32_t height,
                                                          uint32_t format) = 0;
  virtual std::unique_ptr<IGfxSurface> GetBackBuffer() = 0;
  // Copies the source surface into the destination from their top-left
  // corners, as far as both reach.
  virtual bool CopyRects(IGfxSurface& source, IGfxSurface& destination) = 0;
};

}  // namespace LLF
