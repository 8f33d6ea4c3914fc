#pragma once
// The brass frame laid over a board's window (Jigsaw, Puzzle): a 12-pixel
// bevelled rim around the window, whose inside stays clear to the last
// pixel, on an otherwise transparent 800 x 600 picture.
#include "draw/Raster.h"

namespace Datagen {

class BoardFrame {
 public:
  // The frame of the window from (left, top) to (right, bottom).
  static Raster Paint(float left, float top, float right, float bottom);
};

}  // namespace Datagen
