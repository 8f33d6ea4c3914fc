#include "gl/GlLibrary.h"

#include <SDL.h>

#include "gl/GlSystem.h"
#include "render/PlatformGfxLibrary.h"

namespace LLF {

GlLibrary::~GlLibrary() {
  Unload();
}

bool GlLibrary::Load() {
  if (_loaded) {
    return true;
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return false;
  }
  if (SDL_GL_LoadLibrary(nullptr) != 0) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  _loaded = true;
  return true;
}

void GlLibrary::Unload() {
  if (!_loaded) {
    return;
  }
  SDL_GL_UnloadLibrary();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  _loaded = false;
}

std::unique_ptr<IGfxLibrary> CreatePlatformGfxLibrary() {
  return std::make_unique<GlLibrary>();
}

std::unique_ptr<IGfxSystem> GlLibrary::CreateSystem() {
  if (!_loaded) {
    return nullptr;
  }
  return GlSystem::Create();
}

}  // namespace LLF
