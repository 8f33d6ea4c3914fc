#include "app/Letterbox.h"

#include <algorithm>
#include <cstdint>

namespace LLF {

namespace {

// a * b / c rounded to the nearest integer, for non-negative operands.
int MulDivRound(int64_t a, int64_t b, int64_t c) {
  return static_cast<int>((a * b + c / 2) / c);
}

// floor(a / b) for b > 0.
int64_t FloorDiv(int64_t a, int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Buffer pixel of output position p along one axis: centre of the output
// unit (p + 0.5) scaled into the buffer, computed in halves to stay exact.
int MapAxis(int p, int viewStart, int viewSize, int bufferSize) {
  if (viewSize <= 0 || bufferSize <= 0) {
    return 0;
  }
  const int64_t scaled =
      FloorDiv((2 * static_cast<int64_t>(p - viewStart) + 1) * bufferSize, 2 * int64_t{viewSize});
  return static_cast<int>(std::clamp<int64_t>(scaled, 0, bufferSize - 1));
}

}  // namespace

Letterbox::Letterbox(int outputWidth, int outputHeight, int bufferWidth, int bufferHeight) {
  outputWidth = std::max(outputWidth, 0);
  outputHeight = std::max(outputHeight, 0);
  _bufferWidth = bufferWidth > 0 ? bufferWidth : outputWidth;
  _bufferHeight = bufferHeight > 0 ? bufferHeight : outputHeight;
  if (_bufferWidth == 0 || _bufferHeight == 0) {
    return;
  }
  int width = outputWidth;
  int height = outputHeight;
  // Compare the aspects without division: the output is relatively taller
  // than the buffer when outW / outH <= bufW / bufH.
  if (int64_t{outputWidth} * _bufferHeight <= int64_t{outputHeight} * _bufferWidth) {
    height = MulDivRound(outputWidth, _bufferHeight, _bufferWidth);
  } else {
    width = MulDivRound(outputHeight, _bufferWidth, _bufferHeight);
  }
  _viewport = Rect((outputWidth - width) / 2, (outputHeight - height) / 2, width, height);
}

Point Letterbox::ToBuffer(int x, int y) const {
  return Point(MapAxis(x, _viewport.x, _viewport.width, _bufferWidth),
               MapAxis(y, _viewport.y, _viewport.height, _bufferHeight));
}

}  // namespace LLF
