#include "draw/BoardFrame.h"

#include <algorithm>
#include <cmath>

#include "draw/Rgba.h"
#include "draw/Shape.h"

namespace Datagen {

Raster BoardFrame::Paint(float left, float top, float right, float bottom) {
  Raster frame(800, 600);
  const float inner[4] = {left - 2.0f, top - 2.0f, right + 2.0f, bottom + 2.0f};
  const float outer[4] = {inner[0] - 12.0f, inner[1] - 12.0f, inner[2] + 12.0f, inner[3] + 12.0f};
  frame.Paint(
      [&](float x, float y) {
        const float out = Shape::RoundedRectDistance(x, y, outer[0], outer[1], outer[2], outer[3], 10);
        const float in = Shape::RoundedRectDistance(x, y, inner[0], inner[1], inner[2], inner[3], 4);
        return Shape::FromDistance(std::max(out, -in));
      },
      [&](float x, float y) {
        // A bevel: light in the middle of the rim, dark at its edges.
        const float in = -Shape::RoundedRectDistance(x, y, inner[0], inner[1], inner[2], inner[3], 4);
        const float t = std::min(1.0f, std::max(0.0f, -in / 12.0f));
        return Rgba::Bytes(120, 82, 28).Mix(Rgba::Bytes(240, 200, 110), std::sin(t * 3.14159f));
      });
  // The board's window stays clear to the last pixel.
  frame.MultiplyAlpha([&](float x, float y) {
    return x >= inner[0] && x < inner[2] && y >= inner[1] && y < inner[3] &&
                   Shape::RoundedRectDistance(x, y, inner[0], inner[1], inner[2], inner[3], 4) < 0.0f
               ? 0.0f
               : 1.0f;
  });
  return frame;
}

}  // namespace Datagen
