#pragma once
// A coloured, textured vertex as the render system and its device take it:
// position in window pixels (z 0), colour packed a << 24 | r << 16 | g << 8 | b,
// texture coordinates. 24 bytes, no padding; callers that build vertex
// arrays of their own (the particle emitter) keep this layout.
#include <cstdint>

namespace LLF {

struct TexturedVertex {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  uint32_t color = 0xFFFFFFFFu;
  float u = 0.0f;
  float v = 0.0f;
};

static_assert(sizeof(TexturedVertex) == 24, "the device reads 24-byte vertices");

// An untextured vertex: 16 bytes.
struct ColoredVertex {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  uint32_t color = 0xFFFFFFFFu;
};

static_assert(sizeof(ColoredVertex) == 16, "the device reads 16-byte vertices");

}  // namespace LLF
