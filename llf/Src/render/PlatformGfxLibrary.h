#pragma once
// The graphics library the platform layer supplies (OpenGL through SDL2 on
// Linux, gl/GlLibrary.cpp): the hardware render system loads it, and through
// it gets its system and device, unless a test hands in another.
#include <memory>

#include "render/IGfxLibrary.h"

namespace LLF {

// A new instance of the platform's graphics library, not yet loaded.
std::unique_ptr<IGfxLibrary> CreatePlatformGfxLibrary();

}  // namespace LLF
