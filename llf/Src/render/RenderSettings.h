#pragma once
// The render system's start-up record, copied by value into the render
// system. Callers read the first byte as the windowed flag, so the field
// order is fixed.

namespace LLF {

struct RenderSettings {
  bool windowed = true;             // false: full screen
  bool modeFallbackAllowed = true;  // may start in the other mode, with a warning
  bool verticalSync = true;
  bool depthBuffer = false;
  bool textureFiltering = true;  // linear magnification
  bool preferHardware = true;    // try hardware render systems first
  float nearDepth = 0.0f;
  float farDepth = 10000.0f;
};

}  // namespace LLF
