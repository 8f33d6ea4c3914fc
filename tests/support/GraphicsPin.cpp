#include "GraphicsPin.h"

#if defined(__SANITIZE_ADDRESS__)
#include <SDL.h>
#include <dlfcn.h>
#include <link.h>
#endif

namespace QmTest {

void PinGraphicsLibraries() {
#if defined(__SANITIZE_ADDRESS__)
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return;
  }
  if (SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN)) {
    SDL_GLContext context = SDL_GL_CreateContext(window);
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
          if (info->dlpi_name && *info->dlpi_name) {
            dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
          }
          return 0;
        },
        nullptr);
    if (context) {
      SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
#endif
}

}  // namespace QmTest
