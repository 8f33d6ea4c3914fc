#include "gl/GlSystem.h"

#include <algorithm>
#include <cctype>

#include "gl/GlDevice.h"
#include "gl/GlFunctions.h"

namespace LLF {

namespace {

// Asks for an OpenGL 2.1 context; compatibility profile, as fixed-function
// drawing needs.
void SetContextAttributes() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

uint32_t FormatOf(uint32_t sdlFormat) {
  switch (SDL_BITSPERPIXEL(sdlFormat)) {
    case 32:
      return SDL_ISPIXELFORMAT_ALPHA(sdlFormat) ? GFXFMT_A8R8G8B8 : GFXFMT_X8R8G8B8;
    case 24:
      return GFXFMT_X8R8G8B8;
    case 16:
      return GFXFMT_R5G6B5;
    default:
      return GFXFMT_UNKNOWN;
  }
}

std::string Text(const GlFunctions& gl, GLenum name) {
  const auto* text = reinterpret_cast<const char*>(gl.GetString(name));
  return text ? text : "";
}

}  // namespace

uint64_t GlSystem::ParseDriverVersion(const std::string& version) {
  uint64_t result = 0;
  size_t i = 0;
  while (i < version.size()) {
    if (!std::isdigit(static_cast<unsigned char>(version[i]))) {
      ++i;
      continue;
    }
    // A run of numbers joined by dots.
    uint64_t parts[4] = {0, 0, 0, 0};
    int count = 0;
    bool dotted = false;
    while (i < version.size()) {
      uint64_t n = 0;
      while (i < version.size() && std::isdigit(static_cast<unsigned char>(version[i]))) {
        n = std::min<uint64_t>(n * 10 + uint64_t(version[i] - '0'), 0xFFFF);
        ++i;
      }
      if (count < 4) parts[count] = n;
      ++count;
      if (i + 1 < version.size() && version[i] == '.' &&
          std::isdigit(static_cast<unsigned char>(version[i + 1]))) {
        dotted = true;
        ++i;
      } else {
        break;
      }
    }
    if (dotted) {
      result = parts[0] << 48 | parts[1] << 32 | parts[2] << 16 | parts[3];
    }
  }
  return result;
}

std::unique_ptr<GlSystem> GlSystem::Create() {
  SetContextAttributes();
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previousContext = SDL_GL_GetCurrentContext();

  std::unique_ptr<GlSystem> system;
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  SDL_GLContext context = probe ? SDL_GL_CreateContext(probe) : nullptr;
  GlFunctions gl;
  if (context && SDL_GL_MakeCurrent(probe, context) == 0 && gl.Load()) {
    system.reset(new GlSystem());
    system->_identifier.driver = Text(gl, GL_RENDERER);
    system->_identifier.description = Text(gl, GL_VENDOR);
    system->_identifier.driverVersion = ParseDriverVersion(Text(gl, GL_VERSION));
    GLint size = 0;
    gl.GetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    system->_maxTextureSize = static_cast<uint32_t>(std::max(size, 0));
    system->ListModes();
  }
  if (context) SDL_GL_DeleteContext(context);
  if (probe) SDL_DestroyWindow(probe);
  if (previousContext) SDL_GL_MakeCurrent(previousWindow, previousContext);
  return system;
}

void GlSystem::ListModes() {
  _modes.clear();
  auto add = [this](const GfxDisplayMode& mode) {
    for (const GfxDisplayMode& m : _modes) {
      if (m.width == mode.width && m.height == mode.height && m.format == mode.format) return;
    }
    _modes.push_back(mode);
  };
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) == 0 && m.w > 0 && m.h > 0) {
      add(GfxDisplayMode{uint32_t(m.w), uint32_t(m.h), uint32_t(std::max(m.refresh_rate, 0)),
                         FormatOf(m.format)});
    }
  }
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    return;
  }
  static const uint32_t kSizes[][2] = {{640, 480},  {800, 600},   {1024, 768},  {1280, 720},
                                       {1280, 800}, {1280, 960},  {1366, 768},  {1440, 900},
                                       {1600, 900}, {1680, 1050}, {1920, 1080}, {1920, 1200}};
  for (const auto& size : kSizes) {
    if (size[0] <= uint32_t(desktop.w) && size[1] <= uint32_t(desktop.h)) {
      add(GfxDisplayMode{size[0], size[1], 0, GFXFMT_X8R8G8B8});
    }
  }
}

bool GlSystem::GetAdapterIdentifier(GfxAdapterIdentifier& identifier) {
  identifier = _identifier;
  return true;
}

bool GlSystem::GetAdapterDisplayMode(GfxDisplayMode& mode) {
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    return false;
  }
  mode = GfxDisplayMode{uint32_t(std::max(desktop.w, 0)), uint32_t(std::max(desktop.h, 0)),
                        uint32_t(std::max(desktop.refresh_rate, 0)), FormatOf(desktop.format)};
  // The back buffer is the device's own, so any desktop depth can show it.
  if (mode.format != GFXFMT_UNKNOWN) mode.format = GFXFMT_X8R8G8B8;
  return true;
}

uint32_t GlSystem::GetAdapterModeCount() {
  return static_cast<uint32_t>(_modes.size());
}

bool GlSystem::EnumAdapterModes(uint32_t index, GfxDisplayMode& mode) {
  if (index >= _modes.size()) {
    return false;
  }
  mode = _modes[index];
  return true;
}

bool GlSystem::GetDeviceCaps(GfxCaps& caps) {
  caps.textureCaps = GFXPTEXTURECAPS_NONPOW2CONDITIONAL;
  caps.maxTextureWidth = _maxTextureSize;
  caps.maxTextureHeight = _maxTextureSize;
  caps.maxTextureAspectRatio = 0;  // no limit
  return true;
}

std::unique_ptr<IGfxDevice> GlSystem::CreateDevice(void* window, uint32_t,
                                                   const GfxPresentParameters& params) {
  SetContextAttributes();
  return GlDevice::Create(static_cast<SDL_Window*>(window), params);
}

}  // namespace LLF
