#pragma once
// A single-channel coverage picture (0 to 1 per pixel, rows top-down): the
// shape of a glyph run, a shadow or a glow before it is painted.
#include <functional>
#include <vector>

namespace Datagen {

class Mask {
 public:
  Mask() = default;
  Mask(int width, int height);

  int Width() const { return _width; }
  int Height() const { return _height; }
  // 0 outside the mask.
  float At(int x, int y) const;
  void Set(int x, int y, float value);
  // Raises every pixel to at least coverage(x + 0.5, y + 0.5).
  void Add(const std::function<float(float, float)>& coverage);
  // Three box blurs of the given radius, close to a Gaussian; coverage
  // spreads past the edges and is lost there.
  void Blur(int radius);
  // Each pixel takes the largest value within radius (a disc): thickens
  // the shape for an outline.
  void Dilate(int radius);
  // This mask moved by (dx, dy), the same size.
  Mask Shifted(int dx, int dy) const;
  // Multiplies every value by factor, clamped to 1.
  void Scale(float factor);

 private:
  void BoxBlurRows(int radius);
  void Transpose();

  int _width = 0;
  int _height = 0;
  std::vector<float> _values;
};

}  // namespace Datagen
