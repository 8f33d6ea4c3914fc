#pragma once
// The strips of the plain plate buttons: cells side by side (normal,
// pressed, under the mouse, disabled), each a rounded plate over a hard
// shadow, filled by its family and framed by rings of trim. The families
// give each cell's geometry and colours; the painting is done here once.
#include <functional>
#include <vector>

#include "draw/Raster.h"
#include "draw/Rgba.h"

namespace Datagen {

class PlateStrip {
 public:
  struct Box {
    float left, top, right, bottom;
  };
  // A ring along the plate's edge: its middle lies inset pixels inside the
  // edge, and it reaches halfWidth pixels either side of that.
  struct Ring {
    float inset;
    float halfWidth;
    Rgba colour;
  };
  struct Cell {
    Box plate;
    Box shadow;
    Rgba shadowColour;
    Raster::Shader fill;
    std::vector<Ring> rings;
  };
  using Describe = std::function<Cell(int cell)>;

  // A strip of cells cells of cellWidth x cellHeight; describe gives each
  // cell from its index.
  static Raster Draw(int cellWidth, int cellHeight, int cells, float radius, const Describe& describe);
  // One cell's shadow, plate and rings, in that order.
  static void Paint(Raster& strip, const Cell& cell, float radius);
};

}  // namespace Datagen
