#include "render/RenderSystemHardware.h"

#include <algorithm>
#include <new>

#include "app/AppWindow.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "font/Font.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "render/PlatformGfxLibrary.h"

namespace LLF {

namespace {

// The smallest back buffer: the game's own drawing size.
constexpr unsigned kMinWidth = 800;
constexpr unsigned kMinHeight = 600;
// Glyphs drawn in one call at most.
constexpr size_t kTextBatchGlyphs = 512;

void LogFramed(const std::wstring& text) {
  Log& log = Log::GetInstance();
  MutexLock lock(log.GetMutex());
  log.WriteStarLine();
  log.Write(text);
  log.WriteStarLine();
}

}  // namespace

IGfxLibrary* RenderSystemHardware::s_library = nullptr;

RenderSystemHardware::RenderSystemHardware() : _platformLibrary(CreatePlatformGfxLibrary()) {
  _textBuffer.reserve(kTextBatchGlyphs * 6);
}

RenderSystemHardware::~RenderSystemHardware() {
  // Without a Destroy before exit: the device goes first; the platform's
  // library unloads itself after it, and a library handed in by tests is theirs.
  _device.device.reset();
  _device.system.reset();
}

void RenderSystemHardware::SetGfxLibrary(IGfxLibrary* library) {
  s_library = library;
}

IGfxLibrary& RenderSystemHardware::Library() {
  return s_library ? *s_library : *_platformLibrary;
}

// ---------------------------------------------------------------------------
// Start and stop

void RenderSystemHardware::FailInit(const std::wstring& text, bool unload) {
  LogFramed(text);
  _device.device.reset();
  _device.system.reset();
  if (unload && _library) {
    _library->Unload();
  }
  _library = nullptr;
}

void RenderSystemHardware::GetWindowSize(unsigned& width, unsigned& height) const {
  const AppSettings* settings = AppWindow::GetInstance().GetSettings();
  width = std::max(settings->width, kMinWidth);
  height = std::max(settings->height, kMinHeight);
}

bool RenderSystemHardware::Init(const RenderSettings& settings) {
  if (_device.device || _device.system) {
    Destroy();
  }
  _settings = settings;
  Log& log = Log::GetInstance();
  log.Write(L"Initializing RenderSystemHardware...");

  _library = &Library();
  if (!_library->IsLoaded() && !_library->Load()) {
    FailInit(L"Can't load D3D8.dll\r\nRender information:\r\n" + Dump(), false);
    return false;
  }
  _device.system = _library->CreateSystem();
  if (!_device.system) {
    FailInit(
        L"Initialization of hardware render system failed - \r\nDirect3DCreate8 failed.\r\nRender "
        L"information:\r\n" +
            Dump(),
        true);
    return false;
  }
  IGfxSystem& system = *_device.system;

  GfxAdapterIdentifier identifier;
  if (system.GetAdapterIdentifier(identifier)) {
    const uint64_t v = identifier.driverVersion;
    log.WriteFormat(L"D3D8 driver: %s", identifier.driver);
    log.WriteFormat(L"Version: %d.%d.%d.%d", int((v >> 48) & 0xFFFF), int((v >> 32) & 0xFFFF),
                    int((v >> 16) & 0xFFFF), int(v & 0xFFFF));
  }

  GfxDisplayMode desktop;
  _device.windowedAvailable = false;
  _device.fullScreenAvailable = false;
  if (!system.GetAdapterDisplayMode(desktop) || desktop.format == GFXFMT_UNKNOWN) {
    log.Write(L"Can't determine desktop video mode.");
    if (_settings.windowed) {
      if (!_settings.modeFallbackAllowed) {
        FailInit(
            L"Initialization of hardware render system failed - \r\nGetAdapterDisplayMode failed or format "
            L"unknown.\r\nRender information:\r\n" +
                Dump(),
            true);
        return false;
      }
      log.Write(L"Warning: windowed mode can't be set, automatically changed to fullscreen.");
      _settings.windowed = false;
    }
  } else {
    _device.windowedAvailable = true;
  }

  unsigned width = 0;
  unsigned height = 0;
  GetWindowSize(width, height);
  void* window = AppWindow::GetInstance().GetHandle();

  GfxPresentParameters& windowed = _device.windowedParams;
  windowed = GfxPresentParameters();
  windowed.backBufferWidth = width;
  windowed.backBufferHeight = height;
  windowed.backBufferFormat = desktop.format;
  windowed.backBufferCount = 1;
  windowed.swapEffect = _settings.verticalSync ? GFXSWAP_COPY_VSYNC : GFXSWAP_COPY;
  windowed.deviceWindow = window;
  windowed.windowed = true;
  if (_settings.depthBuffer) {
    windowed.enableAutoDepthStencil = true;
    windowed.autoDepthStencilFormat = GFXFMT_D16;
  }

  uint32_t fullScreenFormat = GFXFMT_UNKNOWN;
  const uint32_t modes = system.GetAdapterModeCount();
  for (uint32_t i = 0; i < modes; ++i) {
    GfxDisplayMode mode;
    if (system.EnumAdapterModes(i, mode) && mode.width == width && mode.height == height &&
        (mode.format == GFXFMT_A8R8G8B8 || mode.format == GFXFMT_X8R8G8B8)) {
      fullScreenFormat = mode.format;
    }
  }
  if (fullScreenFormat == GFXFMT_UNKNOWN) {
    log.Write(L"Can't find appropriate full screen video mode.");
    if (!_settings.windowed) {
      if (!_settings.modeFallbackAllowed) {
        FailInit(
            L"Initialization of hardware render system failed - \r\nEnumAdapterModes don't have appropriate "
            L"video format.\r\nRender information:\r\n" +
                Dump(),
            true);
        return false;
      }
      log.Write(L"Warning: fullscreen mode can't be set, automatically changed to windowed.");
      _settings.windowed = true;
    }
  } else {
    _device.fullScreenAvailable = true;
  }

  GfxPresentParameters& fullScreen = _device.fullScreenParams;
  fullScreen = GfxPresentParameters();
  fullScreen.backBufferWidth = width;
  fullScreen.backBufferHeight = height;
  fullScreen.backBufferFormat = fullScreenFormat;
  fullScreen.backBufferCount = 1;
  fullScreen.swapEffect = GFXSWAP_FLIP;
  fullScreen.deviceWindow = window;
  fullScreen.windowed = false;
  fullScreen.fullScreenRefreshRate = 0;
  fullScreen.presentationInterval =
      _settings.verticalSync ? GFXPRESENT_INTERVAL_ONE : GFXPRESENT_INTERVAL_IMMEDIATE;
  fullScreen.enableAutoDepthStencil = windowed.enableAutoDepthStencil;
  fullScreen.autoDepthStencilFormat = windowed.autoDepthStencilFormat;

  if (!_device.windowedAvailable && !_device.fullScreenAvailable) {
    FailInit(L"Can't find necessary video mode in both cases - windowed and fullscreen.", true);
    return false;
  }

  _device.currentParams = _settings.windowed ? windowed : fullScreen;
  _device.device =
      system.CreateDevice(window, GFXCREATE_SOFTWARE_VERTEXPROCESSING_MULTITHREADED, _device.currentParams);
  if (!_device.device) {
    FailInit(
        L"Initialization of hardware render system failed - CreateDevice failed.\r\nRender information:\r\n" +
            Dump(),
        true);
    return false;
  }
  log.WriteFormat(L"Video mode: %u x %u x 32. Format: %d", width, height,
                  _device.currentParams.backBufferFormat);

  ClearMatrixStack();
  _clipped = _clipEmpty = false;
  SetUpView(Rect(0, 0, int(width), int(height)));
  ApplyFixedStates();
  PushTransform(Matrix4::Identity());

  GfxCaps caps;
  if (!system.GetDeviceCaps(caps)) {
    log.Write(L"Can't get device caps. GetDeviceCaps() failed.");
    _device.maxTextureWidth = _device.maxTextureHeight = 128;
    _device.maxTextureAspect = 1;
    _device.nonPowerOfTwo = false;
  } else {
    _device.nonPowerOfTwo = (caps.textureCaps & GFXPTEXTURECAPS_NONPOW2CONDITIONAL) != 0;
    _device.maxTextureWidth = caps.maxTextureWidth ? caps.maxTextureWidth : 128;
    _device.maxTextureHeight = caps.maxTextureWidth ? caps.maxTextureHeight : 128;
    _device.maxTextureAspect = caps.maxTextureAspectRatio ? caps.maxTextureAspectRatio : 65536;
  }
  log.WriteFormat(
      L"Render system caps: Max texture size %u x %u. Rect textures supported - %s. Max aspect ratio: %u",
      _device.maxTextureWidth, _device.maxTextureHeight, _device.nonPowerOfTwo ? L"yes" : L"no",
      _device.maxTextureAspect);
  log.Write(L"RenderSystemHardware initialized successfully.");
  return true;
}

void RenderSystemHardware::Destroy() {
  _frameOpen = false;
  _device.currentTexture = nullptr;
  if (_device.device || _device.system) {
    _device.device.reset();
    _device.system.reset();
    if (_library) {
      _library->Unload();
    }
    _library = nullptr;
    Log::GetInstance().Write(L"RenderSystemHardware destroyed successfully.");
  }
  ClearMatrixStack();
  _clipped = _clipEmpty = false;
  _screenshotFile.clear();
}

void RenderSystemHardware::ApplyFixedStates() {
  IGfxDevice& d = *_device.device;
  d.SetRenderState(GFXRS_CULLMODE, GFXCULL_CCW);
  d.SetRenderState(GFXRS_LIGHTING, 0);
  d.SetRenderState(GFXRS_LASTPIXEL, 1);
  d.SetRenderState(GFXRS_ALPHABLENDENABLE, 1);
  d.SetRenderState(GFXRS_SRCBLEND, GFXBLEND_SRCALPHA);
  d.SetRenderState(GFXRS_DESTBLEND, GFXBLEND_INVSRCALPHA);
  d.SetRenderState(GFXRS_ALPHATESTENABLE, 1);
  d.SetRenderState(GFXRS_ALPHAREF, 1);
  d.SetRenderState(GFXRS_ALPHAFUNC, GFXCMP_GREATEREQUAL);
  if (_settings.depthBuffer) {
    d.SetRenderState(GFXRS_ZENABLE, 1);
    d.SetRenderState(GFXRS_ZWRITEENABLE, 1);
    d.SetRenderState(GFXRS_ZFUNC, GFXCMP_LESSEQUAL);
  } else {
    d.SetRenderState(GFXRS_ZENABLE, 0);
    d.SetRenderState(GFXRS_ZWRITEENABLE, 0);
  }
  d.SetTextureStageState(0, GFXTSS_COLOROP, GFXTOP_MODULATE);
  d.SetTextureStageState(0, GFXTSS_COLORARG1, GFXTA_TEXTURE);
  d.SetTextureStageState(0, GFXTSS_COLORARG2, GFXTA_DIFFUSE);
  d.SetTextureStageState(0, GFXTSS_ALPHAOP, GFXTOP_MODULATE);
  d.SetTextureStageState(0, GFXTSS_ALPHAARG1, GFXTA_TEXTURE);
  d.SetTextureStageState(0, GFXTSS_ALPHAARG2, GFXTA_DIFFUSE);
  d.SetTextureStageState(0, GFXTSS_ADDRESSU, GFXTADDRESS_CLAMP);
  d.SetTextureStageState(0, GFXTSS_ADDRESSV, GFXTADDRESS_CLAMP);
  const uint32_t filter = _settings.textureFiltering ? GFXTEXF_LINEAR : GFXTEXF_POINT;
  d.SetTextureStageState(0, GFXTSS_MAGFILTER, filter);
  d.SetTextureStageState(0, GFXTSS_MINFILTER, filter);
}

void RenderSystemHardware::SetUpView(const Rect& rect) {
  _device.viewport = rect;
  GfxViewport viewport;
  viewport.x = uint32_t(rect.x);
  viewport.y = uint32_t(rect.y);
  viewport.width = uint32_t(rect.width);
  viewport.height = uint32_t(rect.height);
  viewport.minZ = _settings.nearDepth;
  viewport.maxZ = _settings.farDepth;
  _device.device->SetViewport(viewport);
  const float w = float(rect.width);
  const float h = float(rect.height);
  _device.projection = Matrix4::Scaling(Vector3(1.0f, -1.0f, 1.0f)) *
                       Matrix4::Translation(Vector3(-0.5f, h + 0.5f, 0.0f)) *
                       Matrix4::OrthoOffCenterLH(0.0f, w, 0.0f, h, 0.0f, 1.0f);
  _device.device->SetTransform(GFXTS_PROJECTION, _device.projection);
  UpdateView();
}

void RenderSystemHardware::UpdateView() {
  if (!_device.device) {
    return;
  }
  Matrix4 top = Matrix4::Identity();
  TopMatrix(top);
  _device.view = _clipped ? top * Matrix4::Translation(Vector3(-float(_clip.x), -float(_clip.y), 0.0f)) : top;
  _device.device->SetTransform(GFXTS_VIEW, _device.view);
}

// ---------------------------------------------------------------------------
// Settings, transforms, modes

void RenderSystemHardware::SetBlendMode(int mode) {
  if (!_device.device) {
    return;
  }
  if (mode == BLEND_NORMAL) {
    _device.device->SetRenderState(GFXRS_DESTBLEND, GFXBLEND_INVSRCALPHA);
  } else if (mode == BLEND_ADDITIVE) {
    _device.device->SetRenderState(GFXRS_DESTBLEND, GFXBLEND_ONE);
  }
}

void RenderSystemHardware::PushTransform(const Matrix4& m) {
  PushMatrix(m);
  UpdateView();
}

void RenderSystemHardware::GetTransform(Matrix4& out) {
  TopMatrix(out);
}

void RenderSystemHardware::PopTransform() {
  if (PopMatrix()) {
    UpdateView();
  }
}

bool RenderSystemHardware::SwitchMode(bool windowed, int) {
  if (!_device.device) {
    return false;
  }
  Log& log = Log::GetInstance();
  AppWindow& window = AppWindow::GetInstance();
  if (!windowed) {
    unsigned width = 0;
    unsigned height = 0;
    GetWindowSize(width, height);
    if (!_settings.windowed && _device.currentParams.backBufferWidth == width &&
        _device.currentParams.backBufferHeight == height) {
      return true;
    }
    if (!_device.fullScreenAvailable) {
      log.Write(L"Warning: Can't switch to fullscreen mode. Fullscreen mode is not available.");
      return false;
    }
    window.SetPopupStyle();
    _device.fullScreenParams.backBufferWidth = width;
    _device.fullScreenParams.backBufferHeight = height;
    if (!_device.device->Reset(_device.fullScreenParams)) {
      if (_settings.windowed) window.SetWindowedStyle();
      log.WriteFormat(L"SwitchMode failed. Was trying switch to %s.", L"fullscreen");
      return false;
    }
    _device.currentParams = _device.fullScreenParams;
    _settings.windowed = false;
    _clipped = _clipEmpty = false;
    SetUpView(Rect(0, 0, int(width), int(height)));
    ApplyFixedStates();
    log.WriteFormat(L"SwitchMode successull. Switched to %s.", L"fullscreen");
    return true;
  }
  if (_settings.windowed) {
    return true;
  }
  if (!_device.windowedAvailable) {
    log.Write(L"Warning: Can't switch to window mode. Windowed mode is not available.");
    return false;
  }
  if (!_device.device->Reset(_device.windowedParams)) {
    log.WriteFormat(L"SwitchMode failed. Was trying switch to %s.", L"windowed");
    return false;
  }
  window.SetWindowedStyle();
  window.Center();
  window.SetPos();
  _device.currentParams = _device.windowedParams;
  _settings.windowed = true;
  _clipped = _clipEmpty = false;
  SetUpView(
      Rect(0, 0, int(_device.windowedParams.backBufferWidth), int(_device.windowedParams.backBufferHeight)));
  ApplyFixedStates();
  const AppSettings* client = window.GetSettings();
  Resize(client->width, client->height);
  log.WriteFormat(L"SwitchMode successull. Switched to %s.", L"windowed");
  return true;
}

void RenderSystemHardware::Resize(unsigned width, unsigned height) {
  // Some window managers report a size of 0 while minimising.
  if (!_device.device || !_settings.windowed || width == 0 || height == 0 ||
      _device.device->TestCooperativeLevel() == GfxDeviceState::LOST) {
    return;
  }
  _device.windowedParams.backBufferWidth = std::max(width, kMinWidth);
  _device.windowedParams.backBufferHeight = std::max(height, kMinHeight);
  _device.currentParams = _device.windowedParams;
  _device.device->Reset(_device.currentParams);
  _clipped = _clipEmpty = false;
  SetUpView(
      Rect(0, 0, int(_device.windowedParams.backBufferWidth), int(_device.windowedParams.backBufferHeight)));
  ApplyFixedStates();
}

void* RenderSystemHardware::Get3DRender() {
  throw Exception(0, L"3D render is not available yet for WinRenderSystemHardware",
                  L"WinRenderSystemHardware", "WinRenderSystemHardware", 1265,
                  "LLF::RenderSystemHardware::Get3DRender");
}

// ---------------------------------------------------------------------------
// Images' render data

bool RenderSystemHardware::UpdateImageData(Image* image, int, int, bool upload) {
  if (!image) {
    return false;
  }
  auto* data = static_cast<stRSH_ImageData*>(image->GetRenderData());
  if (!data) {
    data = new stRSH_ImageData();
    image->SetRenderData(data);
  }
  if (!upload) {
    return true;
  }
  if (!_device.device) {
    return false;
  }
  // The textures may be made anew; the device must not be spared a change.
  _device.currentTexture = nullptr;
  const stRSH_ImageData::Limits limits{_device.maxTextureWidth, _device.maxTextureHeight,
                                       _device.maxTextureAspect};
  return data->UpdateData(*image, *_device.device, limits);
}

bool RenderSystemHardware::ReleaseImageData(Image* image) {
  if (!image) {
    return false;
  }
  if (auto* data = static_cast<stRSH_ImageData*>(image->GetRenderData())) {
    _device.currentTexture = nullptr;
    delete data;
    image->SetRenderData(nullptr);
  }
  return true;
}

// ---------------------------------------------------------------------------
// Frames

bool RenderSystemHardware::BeginFrame() {
  _frameOpen = false;
  if (!_device.device) {
    return false;
  }
  IGfxDevice& d = *_device.device;
  const GfxDeviceState state = d.TestCooperativeLevel();
  if (state == GfxDeviceState::LOST) {
    return false;
  }
  if (state == GfxDeviceState::NOT_RESET) {
    if (!d.Reset(_device.currentParams)) {
      Log::GetInstance().Write(L"RenderSystemHardware device was lost, and Reset failed.");
      return false;
    }
    ApplyFixedStates();
    // A reset device starts with the whole back buffer as viewport.
    const Rect& v = _device.viewport;
    d.SetViewport(GfxViewport{uint32_t(v.x), uint32_t(v.y), uint32_t(v.width), uint32_t(v.height),
                              _settings.nearDepth, _settings.farDepth});
    d.SetTransform(GFXTS_PROJECTION, _device.projection);
    d.SetTransform(GFXTS_VIEW, _device.view);
  }
  d.BeginScene();
  _device.currentTexture = nullptr;
  _frameOpen = true;
  return true;
}

void RenderSystemHardware::EndFrame() {
  // Nothing was begun (no device, or a lost one): nothing to end or show; a
  // requested screenshot waits for a frame that is presented.
  if (!_device.device || !_frameOpen) {
    return;
  }
  if (_screenTint.a != 0) {
    const Rect& v = _device.viewport;
    FillRect(RectF(float(v.x), float(v.y), float(v.width), float(v.height)), _screenTint);
  }
  _device.device->EndScene();
  _frameOpen = false;
  if (!_screenshotFile.empty()) {
    SaveScreenshot();
  }
  _device.device->Present();
}

Image* RenderSystemHardware::ReadBackBuffer() {
  if (!_device.device) {
    return nullptr;
  }
  IGfxDevice& d = *_device.device;
  // The whole back buffer, also while a clip rectangle narrows the viewport.
  const uint32_t width = _device.currentParams.backBufferWidth;
  const uint32_t height = _device.currentParams.backBufferHeight;
  std::unique_ptr<IGfxSurface> surface = d.CreateImageSurface(width, height, GFXFMT_X8R8G8B8);
  if (!surface) {
    LogFramed(L"Failed to create an image surface for screenshot image buffer.");
    return nullptr;
  }
  std::unique_ptr<IGfxSurface> back = d.GetBackBuffer();
  if (!back) {
    LogFramed(L"Failed to get front buffer for screenshot image.");
    return nullptr;
  }
  if (!d.CopyRects(*back, *surface)) {
    LogFramed(L"Can't copy data from back buffer surface.");
    return nullptr;
  }
  GfxLockedRect locked;
  if (!surface->LockRect(locked, true)) {
    LogFramed(L"Failed to lock front buffer surface for screenshot image.");
    return nullptr;
  }
  Image* image = nullptr;
  try {
    image = new Image(width, height, IMGFORMAT_R8G8B8X8);
  } catch (const std::bad_alloc&) {
    image = nullptr;
  }
  if (!image || !image->GetData()) {
    delete image;
    surface->UnlockRect();
    LogFramed(L"Can't allocate memory for Image class for screenshot image.");
    return nullptr;
  }
  // Screen rows run top down, the image's bottom-up; blue comes first on
  // the screen, red in the image.
  uint8_t* pixels = image->GetData();
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* in = static_cast<const uint8_t*>(locked.bits) + size_t(y) * size_t(locked.pitch);
    uint8_t* out = pixels + size_t(height - 1 - y) * width * 4;
    for (uint32_t x = 0; x < width; ++x, in += 4, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = 255;
    }
  }
  surface->UnlockRect();
  return image;
}

void RenderSystemHardware::SaveScreenshot() {
  const std::wstring file = _screenshotFile;
  _screenshotFile.clear();
  if (Image* image = ReadBackBuffer()) {
    ImagesManager::GetInstance().SaveImage(image, file);
    delete image;
  }
}

Image* RenderSystemHardware::GetScreenshot() {
  return ReadBackBuffer();
}

bool RenderSystemHardware::RequestScreenshot(const std::wstring& fileName) {
  if (!_screenshotFile.empty() || fileName.empty()) {
    return false;
  }
  _screenshotFile = fileName;
  return true;
}

// ---------------------------------------------------------------------------
// Untextured drawing

bool RenderSystemHardware::CanDraw() const {
  return _device.device && _frameOpen && !_clipEmpty;
}

void RenderSystemHardware::Clear(const Color& color, bool target, bool depth) {
  if (!CanDraw()) {
    return;
  }
  const uint32_t argb = color.ToARGB();
  if (!_settings.depthBuffer) {
    if (target) {
      _device.device->Clear(GFXCLEAR_TARGET, argb, 0.0f);
    }
    return;
  }
  const uint32_t flags =
      (target ? uint32_t(GFXCLEAR_TARGET) : 0u) | (depth ? uint32_t(GFXCLEAR_ZBUFFER) : 0u);
  if (flags != 0) {
    _device.device->Clear(flags, argb, _settings.farDepth);
  }
}

void RenderSystemHardware::SetClipRect(const Rect* rect) {
  if (!_device.device) {
    return;
  }
  const int bufferWidth = int(_device.currentParams.backBufferWidth);
  const int bufferHeight = int(_device.currentParams.backBufferHeight);
  if (!rect) {
    _clipped = _clipEmpty = false;
    SetUpView(Rect(0, 0, bufferWidth, bufferHeight));
    return;
  }
  // A viewport must lie inside the back buffer: the rectangle is cut to it.
  const int64_t left = std::max<int64_t>(rect->x, 0);
  const int64_t top = std::max<int64_t>(rect->y, 0);
  const int64_t right = std::min<int64_t>(int64_t(rect->x) + rect->width, bufferWidth);
  const int64_t bottom = std::min<int64_t>(int64_t(rect->y) + rect->height, bufferHeight);
  _clipped = true;
  _clipEmpty = right <= left || bottom <= top;
  if (_clipEmpty) {
    return;
  }
  _clip = Rect(int(left), int(top), int(right - left), int(bottom - top));
  SetUpView(_clip);
}

void RenderSystemHardware::DrawUntextured(const ColoredVertex* vertices, GfxPrimitive type,
                                          uint32_t primitives) {
  IGfxDevice& d = *_device.device;
  _device.currentTexture = nullptr;
  d.SetTexture(0, nullptr);
  d.SetTextureStageState(0, GFXTSS_COLOROP, GFXTOP_DISABLE);
  d.SetVertexShader(GFXFVF_XYZ_DIFFUSE);
  d.DrawPrimitiveUP(type, primitives, vertices, sizeof(ColoredVertex));
  d.SetTextureStageState(0, GFXTSS_COLOROP, GFXTOP_MODULATE);
}

void RenderSystemHardware::FillRect(const RectF& r, const Color& color) {
  FillCorners(Vector2(r.x, r.y), Vector2(r.x + r.width, r.y), Vector2(r.x + r.width, r.y + r.height),
              Vector2(r.x, r.y + r.height), color);
}

void RenderSystemHardware::FillRect(const Rect& r, const Color& color) {
  FillRect(RectF(float(r.x), float(r.y), float(r.width), float(r.height)), color);
}

void RenderSystemHardware::FillQuad(const Vector2& a, const Vector2& b, const Vector2& c, const Vector2& d,
                                    const Color& color) {
  FillCorners(a, b, c, d, color);
}

void RenderSystemHardware::FillCorners(const Vector2& a, const Vector2& b, const Vector2& c, const Vector2& d,
                                       const Color& color) {
  if (!CanDraw()) {
    return;
  }
  const uint32_t argb = color.ToARGB();
  const ColoredVertex quad[4] = {
      {a.x, a.y, 0.0f, argb}, {b.x, b.y, 0.0f, argb}, {c.x, c.y, 0.0f, argb}, {d.x, d.y, 0.0f, argb}};
  DrawUntextured(quad, GFXPT_TRIANGLEFAN, 2);
}

void RenderSystemHardware::DrawLine(const Vector2& from, const Vector2& to, const Color& color) {
  if (!CanDraw()) {
    return;
  }
  const uint32_t argb = color.ToARGB();
  const ColoredVertex line[2] = {{from.x, from.y + 1.0f, 0.0f, argb}, {to.x, to.y + 1.0f, 0.0f, argb}};
  DrawUntextured(line, GFXPT_LINELIST, 1);
}

void RenderSystemHardware::DrawPolyline(const std::vector<Vector2>& points, const Color& color) {
  if (!CanDraw() || points.size() < 2) {
    return;
  }
  const uint32_t argb = color.ToARGB();
  std::vector<ColoredVertex> strip;
  strip.reserve(points.size());
  for (const Vector2& p : points) {
    strip.push_back({p.x, p.y + 1.0f, 0.0f, argb});
  }
  DrawUntextured(strip.data(), GFXPT_LINESTRIP, uint32_t(strip.size() - 1));
}

// ---------------------------------------------------------------------------
// Images

void RenderSystemHardware::SetTexture(IGfxTexture* texture) {
  if (_device.currentTexture.load() != texture) {
    _device.currentTexture = texture;
    _device.device->SetTexture(0, texture);
  }
}

const stRSH_ImageData::Cell* RenderSystemHardware::PrepareCell(Image* image, int loop, int cell,
                                                               stRSH_ImageData** dataOut) {
  if (!image || !CanDraw()) {
    return nullptr;
  }
  auto* data = static_cast<stRSH_ImageData*>(image->GetRenderData());
  try {
    if (!data) {
      image->Update(0, 0, true);
      data = static_cast<stRSH_ImageData*>(image->GetRenderData());
      if (!data) {
        return nullptr;
      }
    }
    if (data->GetLoops().empty()) {
      image->Update(0, 0, true);
      if (data->GetLoops().empty()) {
        return nullptr;
      }
    }
  } catch (const Exception&) {
    // Already in the log; a picture that cannot be uploaded is not drawn.
    return nullptr;
  }
  const stRSH_ImageData::Cell* found = data->FindCell(loop, cell);
  if (!found) {
    if (data->ReportBadCellOnce()) {
      Log::GetInstance().WriteFormat(L"Warning: cell %d of loop %d is outside the image's grid. Image: %s",
                                     cell, loop, image->Dump());
    }
    return nullptr;
  }
  if (dataOut) {
    *dataOut = data;
  }
  return found;
}

template <class DrawAt>
void RenderSystemHardware::WithPlacement(const Vector2& position, bool transformed, const Vector2& pivot,
                                         const Vector2& scale, float rotation, const Vector2& offset,
                                         DrawAt draw) {
  if (!transformed) {
    draw(position.x, position.y);
    return;
  }
  const float radians = rotation * 3.14159265358979323846f / 180.0f;
  const Matrix4 m = Matrix4::Translation(Vector3(-pivot.x, -pivot.y, 0.0f)) *
                    Matrix4::Scaling(Vector3(scale.x, scale.y, 1.0f)) * Matrix4::RotationZ(radians) *
                    Matrix4::Translation(Vector3(pivot.x, pivot.y, 0.0f)) *
                    Matrix4::Translation(Vector3(-offset.x, -offset.y, 0.0f)) *
                    Matrix4::Translation(Vector3(position.x, position.y, 0.0f));
  PushTransform(m);
  draw(0.0f, 0.0f);
  PopTransform();
}

void RenderSystemHardware::DrawQuad(IGfxTexture* texture, const QuadPart& q, uint32_t color) {
  SetTexture(texture);
  TexturedVertex* v = _device.quad;
  v[0] = {q.x, q.y, 0.0f, color, q.u0, q.vTop};
  v[1] = {q.x + q.width, q.y, 0.0f, color, q.u1, q.vTop};
  v[2] = {q.x + q.width, q.y + q.height, 0.0f, color, q.u1, q.vBottom};
  v[3] = {q.x, q.y + q.height, 0.0f, color, q.u0, q.vBottom};
  _device.device->DrawPrimitiveUP(GFXPT_TRIANGLEFAN, 2, v, sizeof(TexturedVertex));
}

void RenderSystemHardware::DrawCell(const stRSH_ImageData::Cell& cell, float x, float y, uint32_t color,
                                    float partWidth, float partHeight) {
  _device.device->SetVertexShader(GFXFVF_XYZ_DIFFUSE_TEX1);
  float tileY = 0.0f;
  // Tile rows run from the bottom of the cell; drawing goes from the top.
  for (auto row = cell.rows.rbegin(); row != cell.rows.rend(); ++row) {
    if (row->empty()) continue;
    if (partHeight >= 0.0f && tileY >= partHeight) break;
    float tileX = 0.0f;
    for (const stRSH_ImageData::Tile& tile : *row) {
      if (partWidth >= 0.0f && tileX >= partWidth) break;
      const float tw = float(tile.width);
      const float th = float(tile.height);
      QuadPart q{x + tileX,
                 y + tileY,
                 float(tile.extentWidth),
                 float(tile.extentHeight),
                 0.0f,
                 float(tile.extentWidth) / tw,
                 float(tile.extentHeight) / th,
                 0.0f};
      if (partWidth >= 0.0f && tileX + q.width > partWidth) {
        q.width = partWidth - tileX;
        q.u1 = q.width / tw;
      }
      if (partHeight >= 0.0f && tileY + q.height > partHeight) {
        q.height = partHeight - tileY;
        q.vBottom = q.vTop - q.height / th;
      }
      DrawQuad(tile.texture.get(), q, color);
      tileX += float(tile.extentWidth);
    }
    tileY += float(row->front().extentHeight);
  }
}

void RenderSystemHardware::DrawImage(Image* image, const HLF::ImageDrawParams& params) {
  const stRSH_ImageData::Cell* cell = PrepareCell(image, params.loop, params.cell);
  if (!cell) {
    return;
  }
  const uint32_t color = uint32_t(params.alpha) << 24 | 0xFFFFFFu;
  WithPlacement(params.position, params.transform != 0, params.pivot, params.scale, params.rotation,
                params.offset, [&](float x, float y) { DrawCell(*cell, x, y, color, -1.0f, -1.0f); });
}

void RenderSystemHardware::DrawImagePart(Image* image, const HLF::ImageDrawParams& params) {
  const stRSH_ImageData::Cell* cell = PrepareCell(image, params.loop, params.cell);
  if (!cell) {
    return;
  }
  const uint32_t color = uint32_t(params.alpha) << 24 | 0xFFFFFFu;
  // A negative side means the whole cell.
  const float w = float(params.size.x < 0 ? cell->width : params.size.x);
  const float h = float(params.size.y < 0 ? cell->height : params.size.y);
  WithPlacement(params.position, params.transform != 0, params.pivot, params.scale, params.rotation,
                params.offset, [&](float x, float y) { DrawCell(*cell, x, y, color, w, h); });
}

void RenderSystemHardware::DrawImageTiled(Image* image, const HLF::ImageDrawParams& params) {
  const stRSH_ImageData::Cell* cell = PrepareCell(image, params.loop, params.cell);
  if (!cell || cell->width <= 0 || cell->height <= 0) {
    return;
  }
  const uint32_t color = uint32_t(params.alpha) << 24 | 0xFFFFFFu;
  const int cellWidth = cell->width;
  const int cellHeight = cell->height;
  const int w = std::max(params.size.x, cellWidth);
  const int h = std::max(params.size.y, cellHeight);
  const stRSH_ImageData::Tile* single = nullptr;
  if (cell->rows.size() == 1 && cell->rows[0].size() == 1) {
    const stRSH_ImageData::Tile& tile = cell->rows[0][0];
    // A tile that holds less than its texture would repeat its empty texels.
    if (tile.extentWidth == tile.width && tile.extentHeight == tile.height) {
      single = &tile;
    }
  }
  WithPlacement(params.position, params.transform != 0, params.pivot, params.scale, params.rotation,
                params.offset, [&](float x, float y) {
                  if (single) {
                    IGfxDevice& d = *_device.device;
                    d.SetVertexShader(GFXFVF_XYZ_DIFFUSE_TEX1);
                    if (w != cellWidth) d.SetTextureStageState(0, GFXTSS_ADDRESSU, GFXTADDRESS_WRAP);
                    if (h != cellHeight) d.SetTextureStageState(0, GFXTSS_ADDRESSV, GFXTADDRESS_WRAP);
                    const float tw = float(single->width);
                    const float th = float(single->height);
                    const bool fullHeight = h == cellHeight;
                    DrawQuad(single->texture.get(),
                             QuadPart{x, y, float(w), float(h), 0.0f, float(w) / tw, fullHeight ? 1.0f : 0.0f,
                                      fullHeight ? 0.0f : -float(h) / th},
                             color);
                    d.SetTextureStageState(0, GFXTSS_ADDRESSU, GFXTADDRESS_CLAMP);
                    d.SetTextureStageState(0, GFXTSS_ADDRESSV, GFXTADDRESS_CLAMP);
                    return;
                  }
                  for (int ty = 0; ty < h; ty += cellHeight) {
                    for (int tx = 0; tx < w; tx += cellWidth) {
                      const int pw = std::min(cellWidth, w - tx);
                      const int ph = std::min(cellHeight, h - ty);
                      DrawCell(*cell, x + float(tx), y + float(ty), color,
                               pw == cellWidth ? -1.0f : float(pw), ph == cellHeight ? -1.0f : float(ph));
                    }
                  }
                });
}

void RenderSystemHardware::DrawImageArray(Image* image, const HLF::ImageDrawParams& params,
                                          const TexturedVertex* vertices, unsigned quadCount) {
  const stRSH_ImageData::Cell* cell = PrepareCell(image, params.loop, params.cell);
  if (!cell) {
    return;
  }
  if (!TextureTileGrid::IsPowerOfTwo(uint32_t(std::max(cell->width, 0))) ||
      !TextureTileGrid::IsPowerOfTwo(uint32_t(std::max(cell->height, 0)))) {
    Log::GetInstance().Write(L"Error: Can't draw array of images. Image has not power of 2 dimensions.");
    return;
  }
  if (!vertices || quadCount == 0 || cell->rows.empty() || cell->rows[0].empty()) {
    return;
  }
  SetTexture(cell->rows[0][0].texture.get());
  _device.device->SetVertexShader(GFXFVF_XYZ_DIFFUSE_TEX1);
  _device.device->DrawPrimitiveUP(GFXPT_TRIANGLELIST, quadCount * 2, vertices, sizeof(TexturedVertex));
}

// ---------------------------------------------------------------------------
// Text

void RenderSystemHardware::DrawText(const Font& font, const TextDrawParams& params) {
  // Drawing uploads the glyph image when it has no textures yet, as for any
  // image; the font itself stays unchanged.
  Image& glyphs = const_cast<Image&>(font.GetImage());
  const stRSH_ImageData::Cell* cell = PrepareCell(&glyphs, 0, 0);
  if (!cell || cell->rows.empty()) {
    return;
  }
  const Font::Metrics& metrics = font.GetMetrics();
  const uint32_t color = params.color.ToARGB();
  const float boxWidth = float(metrics.charBox.x);
  const float boxHeight = float(metrics.charBox.y);
  // The base line lies one font height below the top of the line; a glyph's
  // lowest row sits the sides offset above its cell's lower edge.
  const float cellTopAboveBase = boxHeight - float(metrics.sidesOffset.y);

  IGfxTexture* batchTexture = nullptr;
  auto flush = [&]() {
    if (_textBuffer.empty()) return;
    SetTexture(batchTexture);
    _device.device->DrawPrimitiveUP(GFXPT_TRIANGLELIST, uint32_t(_textBuffer.size() / 3), _textBuffer.data(),
                                    sizeof(TexturedVertex));
    _textBuffer.clear();
  };

  WithPlacement(params.position, params.IsTransformed(), params.pivot, params.scale, params.rotation,
                params.offset, [&](float x, float y) {
                  _device.device->SetVertexShader(GFXFVF_XYZ_DIFFUSE_TEX1);
                  const float baseLine = y + float(metrics.fontHeight);
                  float pen = x;
                  _textBuffer.clear();
                  for (wchar_t ch : params.text) {
                    if (ch == L' ') {
                      pen += float(metrics.spaceWidth);
                      continue;
                    }
                    const Font::Glyph* glyph = font.FindChar(ch);
                    if (!glyph) continue;
                    // The glyph's cell in the picture, from its top-left corner,
                    // and in stored (bottom-up) rows.
                    const float gx = float(glyph->imageOffset.x) * boxWidth;
                    const float gy = float(glyph->imageOffset.y) * boxHeight;
                    const float storedBottom = float(cell->height) - gy - boxHeight;
                    // The tile that holds the cell's lower-left corner.
                    const stRSH_ImageData::Tile* tile = nullptr;
                    float rowStart = 0.0f;
                    float columnStart = 0.0f;
                    for (const stRSH_ImageData::TileRow& row : cell->rows) {
                      if (row.empty()) continue;
                      const float rowHeight = float(row.front().extentHeight);
                      if (storedBottom < rowStart + rowHeight || &row == &cell->rows.back()) {
                        for (const stRSH_ImageData::Tile& t : row) {
                          if (gx < columnStart + float(t.extentWidth) || &t == &row.back()) {
                            tile = &t;
                            break;
                          }
                          columnStart += float(t.extentWidth);
                        }
                        break;
                      }
                      rowStart += rowHeight;
                    }
                    if (!tile) continue;
                    if (tile->texture.get() != batchTexture || _textBuffer.size() >= kTextBatchGlyphs * 6) {
                      flush();
                      batchTexture = tile->texture.get();
                    }
                    const float tw = float(tile->width);
                    const float th = float(tile->height);
                    const float u0 = (gx - columnStart) / tw;
                    const float u1 = (gx + boxWidth - columnStart) / tw;
                    const float vBottom = (storedBottom - rowStart) / th;
                    const float vTop = (storedBottom + boxHeight - rowStart) / th;
                    const float left = pen;
                    const float top = baseLine - cellTopAboveBase - float(glyph->renderOffset.y);
                    const float right = left + boxWidth;
                    const float bottom = top + boxHeight;
                    const TexturedVertex tl{left, top, 0.0f, color, u0, vTop};
                    const TexturedVertex tr{right, top, 0.0f, color, u1, vTop};
                    const TexturedVertex bl{left, bottom, 0.0f, color, u0, vBottom};
                    const TexturedVertex br{right, bottom, 0.0f, color, u1, vBottom};
                    _textBuffer.insert(_textBuffer.end(), {tl, tr, bl, bl, tr, br});
                    pen += float(glyph->dims.x + glyph->renderOffset.x);
                  }
                  flush();
                });
}

}  // namespace LLF
