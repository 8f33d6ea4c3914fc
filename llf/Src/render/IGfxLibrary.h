#pragma once
// The graphics library, loaded at run time: load it, create its system
// object, unload it.
#include <memory>

#include "core/Object.h"
#include "render/IGfxSystem.h"

namespace LLF {

class IGfxLibrary : public virtual Object {
 public:
  LLF_KIND_OF(IGfxLibrary, Object)
  ~IGfxLibrary() override = default;

  // Loads the library and finds its entry points; false, with nothing left
  // loaded, when either is missing.
  virtual bool Load() = 0;
  virtual void Unload() = 0;
  virtual bool IsLoaded() const = 0;
  // Null when the library cannot give a working system.
  virtual std::unique_ptr<IGfxSystem> CreateSystem() = 0;
};

}  // namespace LLF
