#pragma once
// One particle's quad: two triangles of coloured, textured vertices as the
// render system draws them, the texture's top edge at v = 1 (image rows are
// kept bottom-up). Quads lie one after another in memory, so an array of
// them is the vertex array of one draw.
#include "math/Vector2.h"
#include "render/TexturedVertex.h"

namespace HLF {

using ParticleVertex = LLF::TexturedVertex;

struct ParticleQuad {
  ParticleVertex vertices[6];

  ParticleQuad();
  // Places the quad around centre, half the size each way, in one colour
  // (packed a << 24 | r << 16 | g << 8 | b); texture coordinates stay.
  void Fill(const LLF::Vector2& centre, const LLF::Vector2& halfSize, uint32_t color);
};

static_assert(sizeof(ParticleQuad) == 6 * sizeof(ParticleVertex), "quads form one vertex array");

}  // namespace HLF
