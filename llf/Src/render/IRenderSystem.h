#pragma once
// The 2-D drawing interface. Coordinates are window pixels, origin at the
// top-left corner of the client area, y downwards. Colours handed on to a
// device are packed a << 24 | r << 16 | g << 8 | b.
//
// The interface holds the render settings and the model-transform stack;
// the implementations do the rest.
//
// Callers draw a frame as: BeginFrame; Clear; draws (controls push their
// transform, draw and pop it); EndFrame, which also presents.
#include <string>
#include <vector>

#include "core/Object.h"
#include "font/TextDrawParams.h"
#include "math/Color.h"
#include "math/Matrix4.h"
#include "math/Rect.h"
#include "math/RectF.h"
#include "math/Vector2.h"
#include "render/ImageDrawParams.h"
#include "render/RenderSettings.h"
#include "render/TexturedVertex.h"

namespace LLF {

class Font;
class Image;

// Arguments of SetBlendMode; any other value leaves the blending unchanged.
enum BlendMode {
  BLEND_NORMAL = 0,    // source x source alpha + destination x (1 - source alpha)
  BLEND_ADDITIVE = 1,  // source x source alpha + destination
};

class IRenderSystem : public virtual Object {
 public:
  LLF_KIND_OF(IRenderSystem, Object)
  ~IRenderSystem() override = default;

  // True for an accelerated render system; the application's choice
  // compares it with the settings' prefer-hardware flag.
  virtual bool IsHardware() const = 0;
  // Answers as IsHardware; kept as its own slot.
  virtual bool IsHardwareKind() const = 0;
  virtual RenderSettings& GetSettings() { return _settings; }
  virtual void SetBlendMode(int mode) = 0;
  // The new top is m applied before the current top (m x top with row
  // vectors), or m on an empty stack; a child's transform thus works inside
  // its parent's.
  virtual void PushTransform(const Matrix4& m) = 0;
  // out = the top; left unchanged when the stack is empty.
  virtual void GetTransform(Matrix4& out) = 0;
  // Removes the top; the next one becomes current. Nothing on an empty stack.
  virtual void PopTransform() = 0;
  // Copies the settings and starts the device; false when the system cannot
  // run.
  virtual bool Init(const RenderSettings& settings) = 0;
  virtual void Destroy() = 0;
  // Windowed or full-screen presentation; the second argument is unused.
  virtual bool SwitchMode(bool windowed, int unused) = 0;
  virtual void Resize(unsigned width, unsigned height) = 0;
  // A new image (format R8G8B8X8) with the back buffer; the caller owns it.
  // Null on failure.
  virtual Image* GetScreenshot() = 0;
  // Saves the next presented frame to the file; false while a request is
  // pending.
  virtual bool RequestScreenshot(const std::wstring& fileName) = 0;
  virtual void* Get3DRender() = 0;
  // Creates the image's render data when missing; with upload, (re)builds
  // it from the pixels.
  virtual bool UpdateImageData(Image* image, int a, int b, bool upload) = 0;
  // Frees the image's render data and sets it to null; true also when it
  // had none.
  virtual bool ReleaseImageData(Image* image) = 0;
  // False when the device cannot draw now; the frame's draws then do nothing.
  virtual bool BeginFrame() = 0;
  // Draws the screen tint, ends the frame, saves a requested screenshot and
  // presents.
  virtual void EndFrame() = 0;
  virtual void Clear(const Color& color, bool target, bool depth) = 0;
  // Restricts drawing to the rectangle (x, y, width, height) while keeping
  // window coordinates; null lifts it.
  virtual void SetClipRect(const Rect* rect) = 0;
  virtual void FillRect(const RectF& rect, const Color& color) = 0;
  virtual void FillRect(const Rect& rect, const Color& color) = 0;
  virtual void FillQuad(const Vector2& a, const Vector2& b, const Vector2& c, const Vector2& d,
                        const Color& color) = 0;
  virtual void DrawLine(const Vector2& from, const Vector2& to, const Color& color) = 0;
  virtual void DrawPolyline(const std::vector<Vector2>& points, const Color& color) = 0;
  virtual void DrawImage(Image* image, const HLF::ImageDrawParams& params) = 0;
  virtual void DrawImageTiled(Image* image, const HLF::ImageDrawParams& params) = 0;
  virtual void DrawImagePart(Image* image, const HLF::ImageDrawParams& params) = 0;
  // Caller-built quads of six vertices each, textured with the cell's
  // texture, in window coordinates under the current transform.
  virtual void DrawImageArray(Image* image, const HLF::ImageDrawParams& params,
                              const TexturedVertex* vertices, unsigned quadCount) = 0;
  virtual void DrawText(const Font& font, const TextDrawParams& params) = 0;
  // A colour laid over the whole viewport when the frame ends, unless its
  // alpha is 0.
  virtual void SetScreenTint(const Color& color) = 0;
  virtual Color GetScreenTint() = 0;

  // The name some callers use for SetScreenTint.
  void SetFadeColor(const Color& color) { SetScreenTint(color); }

 protected:
  IRenderSystem() = default;

  // The stack operations as the implementations share them.
  void PushMatrix(const Matrix4& m);
  // False on an empty stack.
  bool TopMatrix(Matrix4& out) const;
  // False when nothing was removed or the stack is now empty.
  bool PopMatrix();
  void ClearMatrixStack() { _matrixStack.clear(); }
  size_t GetMatrixStackSize() const { return _matrixStack.size(); }

  RenderSettings _settings;

 private:
  std::vector<Matrix4> _matrixStack;
};

}  // namespace LLF
