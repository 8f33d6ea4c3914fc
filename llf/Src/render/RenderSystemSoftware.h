#pragma once
// The software render system. It is registered beside the hardware one but
// never starts: Init always fails, so none of its drawing operations is
// ever called and all of them do nothing.
#include "core/Singleton.h"
#include "render/IRenderSystem.h"

namespace LLF {

class RenderSystemSoftware : public IRenderSystem, public Singleton<RenderSystemSoftware> {
  LLF_SINGLETON(RenderSystemSoftware)

 public:
  LLF_KIND_OF(RenderSystemSoftware, IRenderSystem)
  ~RenderSystemSoftware() override = default;
  std::wstring Dump() const override { return L"RenderSystemSoftware. Render API: DirectDraw7"; }

  bool IsHardware() const override { return false; }
  bool IsHardwareKind() const override { return false; }
  void SetBlendMode(int) override {}
  // The transform stack is not used: GetTransform leaves out unchanged.
  void PushTransform(const Matrix4&) override {}
  void GetTransform(Matrix4&) override {}
  void PopTransform() override {}
  // Fails at once, logs nothing and keeps the settings as they were; the
  // application's choice of render system logs its own lines.
  bool Init(const RenderSettings&) override { return false; }
  void Destroy() override {}
  bool SwitchMode(bool, int) override { return false; }
  void Resize(unsigned, unsigned) override {}
  Image* GetScreenshot() override { return nullptr; }
  bool RequestScreenshot(const std::wstring&) override { return true; }
  void* Get3DRender() override { return nullptr; }
  bool UpdateImageData(Image*, int, int, bool) override { return false; }
  bool ReleaseImageData(Image*) override { return true; }
  bool BeginFrame() override { return true; }
  void EndFrame() override {}
  void Clear(const Color&, bool, bool) override {}
  void SetClipRect(const Rect*) override {}
  void FillRect(const RectF&, const Color&) override {}
  void FillRect(const Rect&, const Color&) override {}
  void FillQuad(const Vector2&, const Vector2&, const Vector2&, const Vector2&, const Color&) override {}
  void DrawLine(const Vector2&, const Vector2&, const Color&) override {}
  void DrawPolyline(const std::vector<Vector2>&, const Color&) override {}
  void DrawImage(Image*, const HLF::ImageDrawParams&) override {}
  void DrawImageTiled(Image*, const HLF::ImageDrawParams&) override {}
  void DrawImagePart(Image*, const HLF::ImageDrawParams&) override {}
  void DrawImageArray(Image*, const HLF::ImageDrawParams&, const TexturedVertex*, unsigned) override {}
  void DrawText(const Font&, const TextDrawParams&) override {}
  void SetScreenTint(const Color&) override {}
  Color GetScreenTint() override { return Color(255, 255, 255, 255); }

 private:
  RenderSystemSoftware() = default;
};

}  // namespace LLF
