#include "gl/GlFunctions.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

namespace LLF {

namespace {

template <class F>
bool Find(F& target, const char* name, const char* suffix) {
  target = reinterpret_cast<F>(SDL_GL_GetProcAddress((std::string("gl") + name + suffix).c_str()));
  return target != nullptr;
}

}  // namespace

bool GlFunctions::Load() {
  bool ok = true;
#define LLF_GL_FIND(result, name, params) ok = Find(name, #name, "") && ok;
  LLF_GL_FUNCTIONS(LLF_GL_FIND)
  if (!ok) {
    return false;
  }
  // Some loaders hand out an address for any name, so the version and the
  // extension list decide which names to take.
  const char* version = reinterpret_cast<const char*>(GetString(GL_VERSION));
  const bool core =
      (version && std::atoi(version) >= 3) || SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object");
  const bool ext = SDL_GL_ExtensionSupported("GL_EXT_framebuffer_object") &&
                   SDL_GL_ExtensionSupported("GL_EXT_framebuffer_blit");
  if (!core && !ext) {
    return false;
  }
  const char* suffix = core ? "" : "EXT";
#undef LLF_GL_FIND
#define LLF_GL_FIND(result, name, params) ok = Find(name, #name, suffix) && ok;
  LLF_GL_FRAMEBUFFER_FUNCTIONS(LLF_GL_FIND)
#undef LLF_GL_FIND
  return ok;
}

}  // namespace LLF
