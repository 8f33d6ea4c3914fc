// Entry of every test binary: each run gets private user-data and temp
// folders, removed afterwards, so no test writes into a real home.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "TestEnv.h"

#if defined(__SANITIZE_ADDRESS__)
#include <SDL.h>
#include <dlfcn.h>
#include <link.h>
#endif

namespace {

#if defined(__SANITIZE_ADDRESS__)
// Mesa keeps a few allocations until its libraries are unloaded, and SDL
// unloads them when the last OpenGL window closes; the leak checker then
// reports memory of code that is gone, with no names to tell it by. Every
// library an OpenGL window and context bring in is pinned here, so it stays
// for the run and its memory stays reachable.
void PinGraphicsLibraries() {
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
}
#endif

std::string MakeRunFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/qm-test-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    return {};
  }
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Headless by default: no window on a desktop, no sound on a card. A
  // driver named in the environment still wins.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
#if defined(__SANITIZE_ADDRESS__)
  PinGraphicsLibraries();
#endif

  const std::string root = MakeRunFolder();
  if (root.empty()) {
    return 2;
  }
  std::filesystem::create_directories(root + "/data");
  std::filesystem::create_directories(root + "/tmp");
  setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  setenv("TMPDIR", (root + "/tmp").c_str(), 1);
  QmTest::SetRunFolder(root);

  const int result = RUN_ALL_TESTS();

  if (!std::getenv("QM_KEEP_TEST_FILES")) {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  return result;
}
