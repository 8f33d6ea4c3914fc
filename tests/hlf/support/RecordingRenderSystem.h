#pragma once
// A render system that draws nothing and records every call, with the
// transform on top of its stack at that moment and the clip in force, so a
// test can tell where each draw would land on screen. Starts as an
// initialised system does: one identity matrix on the stack, no clip.
// Made current, it stands in the renders manager for its life, as images
// need when they are drawn or uploaded.
#include <string>
#include <vector>

#include "render/IRenderSystem.h"

namespace QmTest {

struct DrawCall {
  enum Kind {
    kPush,
    kPop,
    kClip,  // SetClipRect; hasClip false when the clip was lifted
    kFillRect,
    kFillQuad,
    kLine,
    kPolyline,
    kImage,
    kImageTiled,
    kImagePart,
    kImageArray,
    kText,
    kBlend,
    kTint,
    kClear,
    kBeginFrame,
    kEndFrame,
    kScreenshot,
    kSwitchMode,  // value: the windowed flag
  };

  Kind kind = kPush;
  LLF::Matrix4 transform = LLF::Matrix4::Identity();  // the stack's top (identity when empty)
  bool hasClip = false;                               // the clip in force at a draw, or the clip set by kClip
  LLF::Rect clip;
  LLF::RectF rect;  // fills
  LLF::Color color;
  std::vector<LLF::Vector2> points;  // quads, lines and polylines
  const LLF::Image* image = nullptr;
  HLF::ImageDrawParams imageParams;
  LLF::TextDrawParams textParams;
  int value = 0;  // blend mode, quad count of an image array
  std::wstring fileName;

  // (x, y) under this call's transform.
  LLF::Vector2 Map(float x, float y) const;
};

class RecordingRenderSystem : public LLF::IRenderSystem {
 public:
  explicit RecordingRenderSystem(bool current = false);
  ~RecordingRenderSystem() override;
  RecordingRenderSystem(const RecordingRenderSystem&) = delete;
  RecordingRenderSystem& operator=(const RecordingRenderSystem&) = delete;

  bool IsHardware() const override { return true; }
  bool IsHardwareKind() const override { return true; }
  void SetBlendMode(int mode) override;
  void PushTransform(const LLF::Matrix4& m) override;
  void GetTransform(LLF::Matrix4& out) override;
  void PopTransform() override;
  bool Init(const LLF::RenderSettings& settings) override;
  void Destroy() override;
  bool SwitchMode(bool windowed, int unused) override;
  void Resize(unsigned width, unsigned height) override;
  LLF::Image* GetScreenshot() override { return nullptr; }
  bool RequestScreenshot(const std::wstring& fileName) override;
  void* Get3DRender() override { return nullptr; }
  bool UpdateImageData(LLF::Image* image, int a, int b, bool upload) override;
  bool ReleaseImageData(LLF::Image* image) override;
  bool BeginFrame() override;
  void EndFrame() override;
  void Clear(const LLF::Color& color, bool target, bool depth) override;
  void SetClipRect(const LLF::Rect* rect) override;
  void FillRect(const LLF::RectF& rect, const LLF::Color& color) override;
  void FillRect(const LLF::Rect& rect, const LLF::Color& color) override;
  void FillQuad(const LLF::Vector2& a, const LLF::Vector2& b, const LLF::Vector2& c, const LLF::Vector2& d,
                const LLF::Color& color) override;
  void DrawLine(const LLF::Vector2& from, const LLF::Vector2& to, const LLF::Color& color) override;
  void DrawPolyline(const std::vector<LLF::Vector2>& points, const LLF::Color& color) override;
  void DrawImage(LLF::Image* image, const HLF::ImageDrawParams& params) override;
  void DrawImageTiled(LLF::Image* image, const HLF::ImageDrawParams& params) override;
  void DrawImagePart(LLF::Image* image, const HLF::ImageDrawParams& params) override;
  void DrawImageArray(LLF::Image* image, const HLF::ImageDrawParams& params,
                      const LLF::TexturedVertex* vertices, unsigned quadCount) override;
  void DrawText(const LLF::Font& font, const LLF::TextDrawParams& params) override;
  void SetScreenTint(const LLF::Color& color) override;
  LLF::Color GetScreenTint() override { return _tint; }

  const std::vector<DrawCall>& Calls() const { return _calls; }
  // The calls of one kind, in order.
  std::vector<DrawCall> Calls(DrawCall::Kind kind) const;
  std::vector<DrawCall> Fills() const { return Calls(DrawCall::kFillRect); }
  void ClearCalls() { _calls.clear(); }
  // Screenshot requests are refused (still recorded), as while one waits.
  bool refuseScreenshots = false;
  size_t StackDepth() const { return GetMatrixStackSize(); }

 private:
  DrawCall& Record(DrawCall::Kind kind);
  void RecordImage(DrawCall::Kind kind, LLF::Image* image, const HLF::ImageDrawParams& params);

  std::vector<DrawCall> _calls;
  bool _hasClip = false;
  LLF::Rect _clip;
  LLF::Color _tint = LLF::Color(0, 0, 0, 0);
  bool _current;
};

}  // namespace QmTest
