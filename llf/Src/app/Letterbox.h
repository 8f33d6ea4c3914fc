#pragma once
// Places a back buffer of fixed size in an output area (a window's client
// area, in window units or in pixels): scaled as large as it fits with its
// aspect kept, centred, with bars on two sides. Drawing presents the buffer
// into the viewport; input maps output positions back into the buffer. Both
// go through this one class, so a click lands where the picture is.
#include "math/Point.h"
#include "math/Rect.h"

namespace LLF {

class Letterbox {
 public:
  // An empty box maps every position onto the buffer's origin.
  Letterbox() = default;
  // A buffer size of 0 means "the output's own size" (no scaling).
  Letterbox(int outputWidth, int outputHeight, int bufferWidth, int bufferHeight);

  // The part of the output the buffer is shown in, in output units.
  const Rect& GetViewport() const { return _viewport; }
  int GetBufferWidth() const { return _bufferWidth; }
  int GetBufferHeight() const { return _bufferHeight; }

  // The buffer pixel under output position (x, y): the pixel whose area
  // holds the centre of the output unit, clamped into the buffer, so the bars
  // map onto the nearest edge.
  Point ToBuffer(int x, int y) const;

 private:
  Rect _viewport;
  int _bufferWidth = 0;
  int _bufferHeight = 0;
};

}  // namespace LLF
