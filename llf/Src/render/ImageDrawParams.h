#pragma once
// One image draw call as the render system takes it. Built by the callers
// (image controls, the particle emitter, the game shell's cursor) and only
// read by the render system.
#include <cstdint>

#include "math/Point.h"
#include "math/Vector2.h"

namespace HLF {

struct ImageDrawParams {
  uint8_t alpha = 255;  // the vertex colour is white with this alpha
  int32_t cell = 0;     // column of the image grid, 0 at the left
  int32_t loop = 0;     // row of the image grid, 0 at the top of the picture
  LLF::Vector2 position;
  // Area filled by DrawImageTiled and shown by DrawImagePart; (-1, -1) when
  // unused.
  LLF::Point size = LLF::Point(-1, -1);
  float rotation = 0.0f;  // degrees, from the x axis towards the y axis
  LLF::Vector2 scale = LLF::Vector2(1.0f, 1.0f);
  // 0: pivot, scale, rotation and offset are ignored and the cell is drawn
  // unscaled at position.
  uint8_t transform = 1;
  LLF::Vector2 pivot;   // centre of scaling and rotation, from the cell's top-left corner
  LLF::Vector2 offset;  // subtracted from the position after scaling and rotation

  ImageDrawParams() = default;
  ImageDrawParams(const LLF::Vector2& pos, int32_t cellIndex, int32_t loopIndex, uint8_t alphaValue,
                  float rotationDegrees, const LLF::Vector2& scaleFactors, const LLF::Point& partSize,
                  bool transformed, const LLF::Vector2& centre, const LLF::Vector2& shift)
      : alpha(alphaValue),
        cell(cellIndex),
        loop(loopIndex),
        position(pos),
        size(partSize),
        rotation(rotationDegrees),
        scale(scaleFactors),
        transform(transformed ? 1 : 0),
        pivot(centre),
        offset(shift) {}
};

}  // namespace HLF
