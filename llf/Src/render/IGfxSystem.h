#pragma once
// The graphics system object of the device layer: adapter facts, display
// modes, capabilities, and device creation. Devices it creates must be
// destroyed before it.
#include <cstdint>
#include <memory>

#include "core/Object.h"
#include "render/GfxTypes.h"
#include "render/IGfxDevice.h"

namespace LLF {

class IGfxSystem : public virtual Object {
 public:
  LLF_KIND_OF(IGfxSystem, Object)
  ~IGfxSystem() override = default;

  virtual bool GetAdapterIdentifier(GfxAdapterIdentifier& identifier) = 0;
  // The desktop's mode; false when it cannot be told.
  virtual bool GetAdapterDisplayMode(GfxDisplayMode& mode) = 0;
  virtual uint32_t GetAdapterModeCount() = 0;
  virtual bool EnumAdapterModes(uint32_t index, GfxDisplayMode& mode) = 0;
  virtual bool GetDeviceCaps(GfxCaps& caps) = 0;
  // A device presenting into the window (the platform's window handle).
  // Null on failure.
  virtual std::unique_ptr<IGfxDevice> CreateDevice(void* window, uint32_t flags,
                                                   const GfxPresentParameters& params) = 0;
};

}  // namespace LLF
