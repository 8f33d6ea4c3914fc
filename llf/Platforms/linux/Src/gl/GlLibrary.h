#pragma once
// The OpenGL library, loaded at run time through SDL (which also starts its
// video subsystem for it when nothing else has).
#include "render/IGfxLibrary.h"

namespace LLF {

class GlLibrary : public IGfxLibrary {
 public:
  GlLibrary() = default;
  LLF_KIND_OF(GlLibrary, IGfxLibrary)
  ~GlLibrary() override;
  std::wstring Dump() const override { return L"GlLibrary"; }

  bool Load() override;
  void Unload() override;
  bool IsLoaded() const override { return _loaded; }
  std::unique_ptr<IGfxSystem> CreateSystem() override;

 private:
  bool _loaded = false;
};

}  // namespace LLF
