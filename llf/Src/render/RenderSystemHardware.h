#pragma once
// The hardware render system: alpha-blended 2-D drawing over the graphics
// device layer (OpenGL through SDL; a recording fake in tests). Images are
// cut into power-of-two textures per cell, sprites are drawn as two-triangle
// fans, text in batches of up to 512 glyphs. It presents into the
// application window, windowed or full screen, and saves screenshots
// through the images manager.
//
// The view transform the device gets is the top of the transform stack
// followed by the clip rectangle's translation, so a transform pushed inside
// a clip rectangle still draws in window coordinates.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "core/Singleton.h"
#include "render/IGfxLibrary.h"
#include "render/IRenderSystem.h"
#include "render/stRSH_ImageData.h"

namespace LLF {

class RenderSystemHardware : public IRenderSystem, public Singleton<RenderSystemHardware> {
  LLF_SINGLETON(RenderSystemHardware)

 public:
  LLF_KIND_OF(RenderSystemHardware, IRenderSystem)
  ~RenderSystemHardware() override;
  std::wstring Dump() const override { return L"RenderSystemHardware. Render API: Direct3D8"; }

  bool IsHardware() const override { return true; }
  bool IsHardwareKind() const override { return true; }
  // 0 normal, 1 additive; any other value changes nothing.
  void SetBlendMode(int mode) override;
  void PushTransform(const Matrix4& m) override;
  void GetTransform(Matrix4& out) override;
  void PopTransform() override;
  bool Init(const RenderSettings& settings) override;
  void Destroy() override;
  bool SwitchMode(bool windowed, int unused) override;
  void Resize(unsigned width, unsigned height) override;
  Image* GetScreenshot() override;
  bool RequestScreenshot(const std::wstring& fileName) override;
  // Throws: there is no 3-D renderer.
  void* Get3DRender() override;
  bool UpdateImageData(Image* image, int a, int b, bool upload) override;
  bool ReleaseImageData(Image* image) override;
  bool BeginFrame() override;
  void EndFrame() override;
  void Clear(const Color& color, bool target, bool depth) override;
  // The rectangle is cut to the back buffer; one outside it stops all
  // drawing until the clip is changed.
  void SetClipRect(const Rect* rect) override;
  void FillRect(const RectF& rect, const Color& color) override;
  void FillRect(const Rect& rect, const Color& color) override;
  void FillQuad(const Vector2& a, const Vector2& b, const Vector2& c, const Vector2& d,
                const Color& color) override;
  void DrawLine(const Vector2& from, const Vector2& to, const Color& color) override;
  void DrawPolyline(const std::vector<Vector2>& points, const Color& color) override;
  void DrawImage(Image* image, const HLF::ImageDrawParams& params) override;
  void DrawImageTiled(Image* image, const HLF::ImageDrawParams& params) override;
  void DrawImagePart(Image* image, const HLF::ImageDrawParams& params) override;
  void DrawImageArray(Image* image, const HLF::ImageDrawParams& params, const TexturedVertex* vertices,
                      unsigned quadCount) override;
  void DrawText(const Font& font, const TextDrawParams& params) override;
  void SetScreenTint(const Color& color) override { _screenTint = color; }
  Color GetScreenTint() override { return _screenTint; }

  // The graphics library Init loads; null restores the platform's (OpenGL).
  // Tests hand in a recording fake. Takes effect at the next Init.
  static void SetGfxLibrary(IGfxLibrary* library);
  // The running device, or null.
  IGfxDevice* GetDevice() { return _device.device.get(); }

 private:
  // What the system keeps of its device.
  struct DeviceState {
    std::unique_ptr<IGfxSystem> system;
    std::unique_ptr<IGfxDevice> device;
    GfxPresentParameters windowedParams;
    GfxPresentParameters fullScreenParams;
    GfxPresentParameters currentParams;
    Matrix4 projection = Matrix4::Identity();
    Matrix4 view = Matrix4::Identity();
    // Texture last set in this frame; any thread may clear it when it frees
    // textures.
    std::atomic<IGfxTexture*> currentTexture{nullptr};
    uint32_t maxTextureWidth = 128;
    uint32_t maxTextureHeight = 128;
    uint32_t maxTextureAspect = 1;
    bool nonPowerOfTwo = false;
    bool windowedAvailable = false;
    bool fullScreenAvailable = false;
    Rect viewport;
    TexturedVertex quad[4];
  };
  // A quad's placement in the cell: where it goes, and the texture part.
  struct QuadPart {
    float x, y, width, height;
    float u0, u1, vTop, vBottom;
  };

  RenderSystemHardware();

  IGfxLibrary& Library();
  void FailInit(const std::wstring& text, bool unload);
  void ApplyFixedStates();
  // Viewport, projection and view for a rectangle of the back buffer.
  void SetUpView(const Rect& rect);
  void UpdateView();
  // The window's client size raised to the smallest back buffer.
  void GetWindowSize(unsigned& width, unsigned& height) const;
  bool CanDraw() const;
  void SetTexture(IGfxTexture* texture);
  void FillCorners(const Vector2& a, const Vector2& b, const Vector2& c, const Vector2& d,
                   const Color& color);
  void DrawUntextured(const ColoredVertex* vertices, GfxPrimitive type, uint32_t primitives);
  // The render data of the image's cell, uploading the image first when it
  // has none; null when nothing can be drawn.
  const stRSH_ImageData::Cell* PrepareCell(Image* image, int loop, int cell,
                                           stRSH_ImageData** data = nullptr);
  // The draw, at (0, 0) under the params' transform or at their position.
  template <class DrawAt>
  void WithPlacement(const Vector2& position, bool transformed, const Vector2& pivot, const Vector2& scale,
                     float rotation, const Vector2& offset, DrawAt draw);
  // The cell (or its top-left w x h part) with its top-left corner at x, y.
  void DrawCell(const stRSH_ImageData::Cell& cell, float x, float y, uint32_t color, float partWidth,
                float partHeight);
  void DrawQuad(IGfxTexture* texture, const QuadPart& part, uint32_t color);
  Image* ReadBackBuffer();
  void SaveScreenshot();

  DeviceState _device;
  Color _screenTint = Color(255, 255, 255, 0);
  std::wstring _screenshotFile;
  Rect _clip;  // the clip rectangle in use; empty size for none
  bool _clipped = false;
  bool _clipEmpty = false;
  bool _frameOpen = false;
  std::vector<TexturedVertex> _textBuffer;

  std::unique_ptr<IGfxLibrary> _platformLibrary;  // the platform's own, made at construction
  IGfxLibrary* _library = nullptr;                // the one Init loaded
  static IGfxLibrary* s_library;
};

}  // namespace LLF
