#pragma once
// The graphics system over OpenGL through SDL: the adapter's facts come from
// a short-lived probe context, display modes from SDL, and devices are
// contexts on the program's window.
//
// The window presents full screen on the desktop and scales the back buffer
// into it, so besides SDL's own modes every common size up to the desktop's
// counts as a full-screen mode.
#include <SDL.h>

#include <string>
#include <vector>

#include "render/IGfxSystem.h"

namespace LLF {

class GlSystem : public IGfxSystem {
 public:
  // Null when no OpenGL 2.1 context with framebuffer objects can be made.
  static std::unique_ptr<GlSystem> Create();

  LLF_KIND_OF(GlSystem, IGfxSystem)
  ~GlSystem() override = default;
  std::wstring Dump() const override { return L"GlSystem"; }

  bool GetAdapterIdentifier(GfxAdapterIdentifier& identifier) override;
  bool GetAdapterDisplayMode(GfxDisplayMode& mode) override;
  uint32_t GetAdapterModeCount() override;
  bool EnumAdapterModes(uint32_t index, GfxDisplayMode& mode) override;
  bool GetDeviceCaps(GfxCaps& caps) override;
  // window is the program's SDL_Window.
  std::unique_ptr<IGfxDevice> CreateDevice(void* window, uint32_t flags,
                                           const GfxPresentParameters& params) override;

  // The four parts of the last dotted number in an OpenGL version text
  // ("4.5 (Compatibility Profile) Mesa 22.3.6" gives 22.3.6.0), most
  // significant first.
  static uint64_t ParseDriverVersion(const std::string& version);

 private:
  GlSystem() = default;
  void ListModes();

  GfxAdapterIdentifier _identifier;
  uint32_t _maxTextureSize = 0;
  std::vector<GfxDisplayMode> _modes;
};

}  // namespace LLF
