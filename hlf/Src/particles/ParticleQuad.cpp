#include "particles/ParticleQuad.h"

namespace HLF {

ParticleQuad::ParticleQuad() {
  static constexpr float kUV[6][2] = {{0, 1}, {1, 1}, {0, 0}, {0, 0}, {1, 1}, {1, 0}};
  for (int i = 0; i < 6; ++i) {
    vertices[i].u = kUV[i][0];
    vertices[i].v = kUV[i][1];
  }
}

void ParticleQuad::Fill(const LLF::Vector2& centre, const LLF::Vector2& halfSize, uint32_t color) {
  const float left = centre.x - halfSize.x;
  const float right = centre.x + halfSize.x;
  const float top = centre.y - halfSize.y;
  const float bottom = centre.y + halfSize.y;
  const float corners[6][2] = {{left, top},    {right, top}, {left, bottom},
                               {left, bottom}, {right, top}, {right, bottom}};
  for (int i = 0; i < 6; ++i) {
    vertices[i].x = corners[i][0];
    vertices[i].y = corners[i][1];
    vertices[i].color = color;
  }
}

}  // namespace HLF
