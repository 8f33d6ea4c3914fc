#include "draw/PlateStrip.h"

#include <cmath>

#include "draw/Shape.h"

namespace Datagen {

Raster PlateStrip::Draw(int cellWidth, int cellHeight, int cells, float radius, const Describe& describe) {
  Raster strip(cellWidth * cells, cellHeight);
  for (int cell = 0; cell < cells; ++cell) Paint(strip, describe(cell), radius);
  return strip;
}

void PlateStrip::Paint(Raster& strip, const Cell& cell, float radius) {
  const Box& s = cell.shadow;
  strip.Paint(Shape::RoundedRect(s.left, s.top, s.right, s.bottom, radius), cell.shadowColour);
  const Box p = cell.plate;
  strip.Paint(Shape::RoundedRect(p.left, p.top, p.right, p.bottom, radius), cell.fill);
  for (const Ring& ring : cell.rings) {
    strip.Paint(
        [&](float x, float y) {
          return Shape::FromDistance(
              std::fabs(Shape::RoundedRectDistance(x, y, p.left, p.top, p.right, p.bottom, radius) +
                        ring.inset) -
              ring.halfWidth);
        },
        ring.colour);
  }
}

}  // namespace Datagen
