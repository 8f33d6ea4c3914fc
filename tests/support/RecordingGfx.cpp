#include "RecordingGfx.h"

#include <algorithm>
#include <cstring>

#include "core/Format.h"
#include "core/StringUtils.h"

namespace QmTest {

using namespace LLF;

std::vector<std::string> GfxScript::Calls(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& c : calls) {
    if (c.compare(0, prefix.size(), prefix) == 0) found.push_back(c);
  }
  return found;
}

void GfxScript::ClearRecord() {
  calls.clear();
  draws.clear();
}

namespace {

std::string Str(const std::wstring& w) {
  return WideToAnsi(w);
}

const char* RenderStateName(GfxRenderState s) {
  static const char* const kNames[] = {
      "ZENABLE",          "ZWRITEENABLE", "ZFUNC",     "ALPHATESTENABLE", "ALPHAREF", "ALPHAFUNC",
      "ALPHABLENDENABLE", "SRCBLEND",     "DESTBLEND", "CULLMODE",        "LIGHTING", "LASTPIXEL"};
  return s < GFXRS_COUNT ? kNames[s] : "?";
}

const char* StageStateName(GfxStageState s) {
  static const char* const kNames[] = {"COLOROP",   "COLORARG1", "COLORARG2", "ALPHAOP",   "ALPHAARG1",
                                       "ALPHAARG2", "ADDRESSU",  "ADDRESSV",  "MAGFILTER", "MINFILTER"};
  return s < GFXTSS_COUNT ? kNames[s] : "?";
}

class FakeTexture : public IGfxTexture {
 public:
  FakeTexture(std::shared_ptr<GfxScript> script, uint32_t w, uint32_t h, uint32_t f)
      : _script(std::move(script)),
        _id(++_script->texturesCreated),
        _w(w),
        _h(h),
        _f(f),
        _pixels(size_t(w) * h * 4, 0xCD) {
    ++_script->texturesAlive;
    _script->textureSizes[_id] = {w, h};
  }
  ~FakeTexture() override {
    --_script->texturesAlive;
    _script->calls.push_back("ReleaseTexture tex" + std::to_string(_id));
  }
  std::wstring Dump() const override { return L"FakeTexture"; }
  void GetDesc(GfxSurfaceDesc& d) const override { d = GfxSurfaceDesc{_f, _w, _h}; }
  bool LockRect(GfxLockedRect& locked) override {
    _script->calls.push_back("LockRect tex" + std::to_string(_id));
    if (_script->textureLockFails) return false;
    locked.pitch = int(_w * 4);
    locked.bits = _pixels.data();
    return true;
  }
  bool UnlockRect() override {
    _script->calls.push_back("UnlockRect tex" + std::to_string(_id));
    _script->texturePixels[_id] = _pixels;
    return true;
  }
  int Id() const { return _id; }

 private:
  std::shared_ptr<GfxScript> _script;
  int _id;
  uint32_t _w, _h, _f;
  std::vector<uint8_t> _pixels;
};

class FakeSurface : public IGfxSurface {
 public:
  FakeSurface(uint32_t w, uint32_t h, uint32_t f, bool backBuffer)
      : _w(w), _h(h), _f(f), _backBuffer(backBuffer), _pixels(backBuffer ? 0 : size_t(w) * h * 4, 0) {}
  std::wstring Dump() const override { return L"FakeSurface"; }
  void GetDesc(GfxSurfaceDesc& d) const override { d = GfxSurfaceDesc{_f, _w, _h}; }
  bool LockRect(GfxLockedRect& locked, bool) override {
    if (_backBuffer) return false;
    locked.pitch = int(_w * 4);
    locked.bits = _pixels.data();
    return true;
  }
  bool UnlockRect() override { return true; }
  bool IsBackBuffer() const { return _backBuffer; }
  std::vector<uint8_t>& Pixels() { return _pixels; }
  uint32_t Width() const { return _w; }
  uint32_t Height() const { return _h; }

 private:
  uint32_t _w, _h, _f;
  bool _backBuffer;
  std::vector<uint8_t> _pixels;
};

class FakeDevice : public IGfxDevice {
 public:
  explicit FakeDevice(std::shared_ptr<GfxScript> script) : _script(std::move(script)) {}
  ~FakeDevice() override { Log("ReleaseDevice"); }
  std::wstring Dump() const override { return L"FakeDevice"; }

  GfxDeviceState TestCooperativeLevel() override {
    Log("TestCooperativeLevel");
    if (_script->cooperative.empty()) return GfxDeviceState::OK;
    GfxDeviceState s = _script->cooperative.front();
    _script->cooperative.pop_front();
    return s;
  }
  bool Reset(const GfxPresentParameters& p) override {
    Log(Str(Format(L"Reset %ux%u windowed=%d", p.backBufferWidth, p.backBufferHeight, p.windowed ? 1 : 0)));
    if (_script->resetFails) return false;
    _script->deviceParams = p;
    return true;
  }
  bool Present() override { return Log("Present"); }
  bool BeginScene() override { return Log("BeginScene"); }
  bool EndScene() override { return Log("EndScene"); }
  bool Clear(uint32_t flags, uint32_t color, float z) override {
    return Log(Str(Format(L"Clear %u 0x%08X %g", flags, color, z)));
  }
  bool SetViewport(const GfxViewport& v) override {
    return Log(Str(Format(L"SetViewport %u %u %u %u %g %g", v.x, v.y, v.width, v.height, v.minZ, v.maxZ)));
  }
  bool SetTransform(GfxTransformKind kind, const Matrix4& m) override {
    (kind == GFXTS_VIEW ? _script->view : _script->projection) = m;
    return Log(kind == GFXTS_VIEW ? "SetTransform view" : "SetTransform projection");
  }
  bool SetRenderState(GfxRenderState s, uint32_t v) override {
    return Log(std::string("SetRenderState ") + RenderStateName(s) + " " + std::to_string(v));
  }
  bool SetTextureStageState(uint32_t stage, GfxStageState s, uint32_t v) override {
    return Log("SetTextureStageState " + std::to_string(stage) + " " + StageStateName(s) + " " +
               std::to_string(v));
  }
  bool SetTexture(uint32_t stage, IGfxTexture* t) override {
    auto* fake = dynamic_cast<FakeTexture*>(t);
    _script->currentTexture = fake ? fake->Id() : 0;
    return Log("SetTexture " + std::to_string(stage) + " " +
               (fake ? "tex" + std::to_string(fake->Id()) : "none"));
  }
  bool SetVertexShader(uint32_t fvf) override {
    _script->vertexFormat = fvf;
    return Log(Str(Format(L"SetVertexShader 0x%X", fvf)));
  }
  bool DrawPrimitiveUP(GfxPrimitive type, uint32_t count, const void* data, uint32_t stride) override {
    uint32_t vertices = type == GFXPT_TRIANGLEFAN    ? count + 2
                        : type == GFXPT_TRIANGLELIST ? count * 3
                        : type == GFXPT_LINELIST     ? count * 2
                                                     : count + 1;
    const auto* bytes = static_cast<const uint8_t*>(data);
    _script->draws.push_back({type, count, _script->vertexFormat, _script->currentTexture,
                              std::vector<uint8_t>(bytes, bytes + size_t(vertices) * stride)});
    return Log(Str(Format(L"DrawPrimitiveUP %u %u %u", uint32_t(type), count, stride)));
  }
  std::unique_ptr<IGfxTexture> CreateTexture(uint32_t w, uint32_t h, uint32_t f) override {
    Log(Str(Format(L"CreateTexture %ux%u %u", w, h, f)));
    if (_script->textureFailures > 0) {
      --_script->textureFailures;
      return nullptr;
    }
    return std::make_unique<FakeTexture>(_script, w, h, f);
  }
  std::unique_ptr<IGfxSurface> CreateImageSurface(uint32_t w, uint32_t h, uint32_t f) override {
    Log(Str(Format(L"CreateImageSurface %ux%u %u", w, h, f)));
    if (_script->surfaceFails) return nullptr;
    return std::make_unique<FakeSurface>(w, h, f, false);
  }
  std::unique_ptr<IGfxSurface> GetBackBuffer() override {
    Log("GetBackBuffer");
    return std::make_unique<FakeSurface>(_script->backBufferWidth, _script->backBufferHeight, GFXFMT_X8R8G8B8,
                                         true);
  }
  bool CopyRects(IGfxSurface& from, IGfxSurface& to) override {
    Log("CopyRects");
    auto* dst = dynamic_cast<FakeSurface*>(&to);
    auto* src = dynamic_cast<FakeSurface*>(&from);
    if (!dst || !src || !src->IsBackBuffer()) return false;
    const uint32_t w = std::min(dst->Width(), _script->backBufferWidth);
    const uint32_t h = std::min(dst->Height(), _script->backBufferHeight);
    for (uint32_t y = 0; y < h; ++y) {
      std::memcpy(dst->Pixels().data() + size_t(y) * dst->Width() * 4,
                  _script->backBuffer.data() + size_t(y) * _script->backBufferWidth * 4, size_t(w) * 4);
    }
    return true;
  }

 private:
  bool Log(const std::string& line) {
    _script->calls.push_back(line);
    return true;
  }
  std::shared_ptr<GfxScript> _script;
};

class FakeSystem : public IGfxSystem {
 public:
  explicit FakeSystem(std::shared_ptr<GfxScript> script) : _script(std::move(script)) {}
  ~FakeSystem() override { _script->calls.push_back("ReleaseSystem"); }
  std::wstring Dump() const override { return L"FakeSystem"; }

  bool GetAdapterIdentifier(GfxAdapterIdentifier& id) override {
    _script->calls.push_back("GetAdapterIdentifier");
    id.driver = "fake driver";
    id.description = "fake";
    id.driverVersion = (uint64_t(1) << 48) | (uint64_t(2) << 32) | (uint64_t(3) << 16) | 4;
    return true;
  }
  bool GetAdapterDisplayMode(GfxDisplayMode& mode) override {
    _script->calls.push_back("GetAdapterDisplayMode");
    if (_script->displayModeFails) return false;
    mode = _script->desktop;
    return true;
  }
  uint32_t GetAdapterModeCount() override { return uint32_t(_script->modes.size()); }
  bool EnumAdapterModes(uint32_t i, GfxDisplayMode& mode) override {
    if (i >= _script->modes.size()) return false;
    mode = _script->modes[i];
    return true;
  }
  bool GetDeviceCaps(GfxCaps& caps) override {
    _script->calls.push_back("GetDeviceCaps");
    if (_script->capsFail) return false;
    caps = _script->caps;
    return true;
  }
  std::unique_ptr<IGfxDevice> CreateDevice(void*, uint32_t flags, const GfxPresentParameters& p) override {
    _script->calls.push_back(
        Str(Format(L"CreateDevice %ux%u format=%u windowed=%d swap=%u interval=0x%X depth=%d flags=0x%X",
                   p.backBufferWidth, p.backBufferHeight, p.backBufferFormat, p.windowed ? 1 : 0,
                   p.swapEffect, p.presentationInterval, p.enableAutoDepthStencil ? 1 : 0, flags)));
    if (_script->createDeviceFails) return nullptr;
    _script->deviceParams = p;
    return std::make_unique<FakeDevice>(_script);
  }

 private:
  std::shared_ptr<GfxScript> _script;
};

}  // namespace

bool RecordingGfx::Load() {
  _script->calls.push_back("Load");
  _loaded = !_script->loadFails;
  return _loaded;
}

void RecordingGfx::Unload() {
  if (_loaded) _script->calls.push_back("Unload");
  _loaded = false;
}

std::unique_ptr<IGfxSystem> RecordingGfx::CreateSystem() {
  _script->calls.push_back("CreateSystem");
  if (!_loaded || _script->createSystemFails) return nullptr;
  return std::make_unique<FakeSystem>(_script);
}

}  // namespace QmTest
