#include "RecordingRenderSystem.h"

#include "render/RendersManager.h"

namespace QmTest {

LLF::Vector2 DrawCall::Map(float x, float y) const {
  LLF::Vector2 out;
  transform.TransformPoint(x, y, out.x, out.y);
  return out;
}

RecordingRenderSystem::RecordingRenderSystem(bool current) : _current(current) {
  PushMatrix(LLF::Matrix4::Identity());
  if (_current) {
    LLF::RendersManager& manager = LLF::RendersManager::GetInstance();
    manager.RegisterRender(this);
    manager.SetCurrentRender(manager.GetRendersCount() - 1);
  }
}

RecordingRenderSystem::~RecordingRenderSystem() {
  if (_current) {
    LLF::RendersManager& manager = LLF::RendersManager::GetInstance();
    if (manager.GetCurrentRender() == this) {
      manager.ReleaseCurrentRender();
    }
    manager.UnregisterRender(this);
  }
}

DrawCall& RecordingRenderSystem::Record(DrawCall::Kind kind) {
  DrawCall call;
  call.kind = kind;
  TopMatrix(call.transform);
  call.hasClip = _hasClip;
  call.clip = _clip;
  _calls.push_back(call);
  return _calls.back();
}

void RecordingRenderSystem::RecordImage(DrawCall::Kind kind, LLF::Image* image,
                                        const HLF::ImageDrawParams& params) {
  DrawCall& call = Record(kind);
  call.image = image;
  call.imageParams = params;
}

void RecordingRenderSystem::SetBlendMode(int mode) {
  Record(DrawCall::kBlend).value = mode;
}

void RecordingRenderSystem::PushTransform(const LLF::Matrix4& m) {
  PushMatrix(m);
  Record(DrawCall::kPush);
}

void RecordingRenderSystem::GetTransform(LLF::Matrix4& out) {
  TopMatrix(out);
}

void RecordingRenderSystem::PopTransform() {
  PopMatrix();
  Record(DrawCall::kPop);
}

bool RecordingRenderSystem::Init(const LLF::RenderSettings& settings) {
  _settings = settings;
  ClearMatrixStack();
  PushMatrix(LLF::Matrix4::Identity());
  return true;
}

void RecordingRenderSystem::Destroy() {
  ClearMatrixStack();
}

bool RecordingRenderSystem::SwitchMode(bool windowed, int unused) {
  (void)unused;
  Record(DrawCall::kSwitchMode).value = windowed ? 1 : 0;
  return true;
}

void RecordingRenderSystem::Resize(unsigned width, unsigned height) {
  (void)width;
  (void)height;
}

bool RecordingRenderSystem::RequestScreenshot(const std::wstring& fileName) {
  Record(DrawCall::kScreenshot).fileName = fileName;
  return !refuseScreenshots;
}

bool RecordingRenderSystem::UpdateImageData(LLF::Image* image, int a, int b, bool upload) {
  (void)image;
  (void)a;
  (void)b;
  (void)upload;
  return true;
}

bool RecordingRenderSystem::ReleaseImageData(LLF::Image* image) {
  (void)image;
  return true;
}

bool RecordingRenderSystem::BeginFrame() {
  Record(DrawCall::kBeginFrame);
  return true;
}

void RecordingRenderSystem::EndFrame() {
  Record(DrawCall::kEndFrame);
}

void RecordingRenderSystem::Clear(const LLF::Color& color, bool target, bool depth) {
  (void)target;
  (void)depth;
  Record(DrawCall::kClear).color = color;
}

void RecordingRenderSystem::SetClipRect(const LLF::Rect* rect) {
  _hasClip = rect != nullptr;
  _clip = rect ? *rect : LLF::Rect();
  Record(DrawCall::kClip);
}

void RecordingRenderSystem::FillRect(const LLF::RectF& rect, const LLF::Color& color) {
  DrawCall& call = Record(DrawCall::kFillRect);
  call.rect = rect;
  call.color = color;
}

void RecordingRenderSystem::FillRect(const LLF::Rect& rect, const LLF::Color& color) {
  FillRect(LLF::RectF(static_cast<float>(rect.x), static_cast<float>(rect.y), static_cast<float>(rect.width),
                      static_cast<float>(rect.height)),
           color);
}

void RecordingRenderSystem::FillQuad(const LLF::Vector2& a, const LLF::Vector2& b, const LLF::Vector2& c,
                                     const LLF::Vector2& d, const LLF::Color& color) {
  DrawCall& call = Record(DrawCall::kFillQuad);
  call.points = {a, b, c, d};
  call.color = color;
}

void RecordingRenderSystem::DrawLine(const LLF::Vector2& from, const LLF::Vector2& to,
                                     const LLF::Color& color) {
  DrawCall& call = Record(DrawCall::kLine);
  call.points = {from, to};
  call.color = color;
}

void RecordingRenderSystem::DrawPolyline(const std::vector<LLF::Vector2>& points, const LLF::Color& color) {
  DrawCall& call = Record(DrawCall::kPolyline);
  call.points = points;
  call.color = color;
}

void RecordingRenderSystem::DrawImage(LLF::Image* image, const HLF::ImageDrawParams& params) {
  RecordImage(DrawCall::kImage, image, params);
}

void RecordingRenderSystem::DrawImageTiled(LLF::Image* image, const HLF::ImageDrawParams& params) {
  RecordImage(DrawCall::kImageTiled, image, params);
}

void RecordingRenderSystem::DrawImagePart(LLF::Image* image, const HLF::ImageDrawParams& params) {
  RecordImage(DrawCall::kImagePart, image, params);
}

void RecordingRenderSystem::DrawImageArray(LLF::Image* image, const HLF::ImageDrawParams& params,
                                           const LLF::TexturedVertex* vertices, unsigned quadCount) {
  (void)vertices;
  RecordImage(DrawCall::kImageArray, image, params);
  _calls.back().value = static_cast<int>(quadCount);
}

void RecordingRenderSystem::DrawText(const LLF::Font& font, const LLF::TextDrawParams& params) {
  (void)font;
  Record(DrawCall::kText).textParams = params;
}

void RecordingRenderSystem::SetScreenTint(const LLF::Color& color) {
  _tint = color;
  Record(DrawCall::kTint).color = color;
}

std::vector<DrawCall> RecordingRenderSystem::Calls(DrawCall::Kind kind) const {
  std::vector<DrawCall> result;
  for (const DrawCall& call : _calls) {
    if (call.kind == kind) {
      result.push_back(call);
    }
  }
  return result;
}

}  // namespace QmTest
