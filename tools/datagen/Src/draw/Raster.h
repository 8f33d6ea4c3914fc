#pragma once
// The picture the generator paints on: premultiplied float colour per pixel,
// rows top-down. Shapes come as coverage functions evaluated at pixel
// centres (see Shape), colours as shaders of the pixel position, and every
// paint is composited "over" what is there.
#include <functional>
#include <memory>
#include <vector>

#include "draw/Mask.h"
#include "draw/Rgba.h"

namespace LLF {
class Image;
}

namespace Datagen {

class Raster {
 public:
  using Coverage = std::function<float(float, float)>;
  using Shader = std::function<Rgba(float, float)>;

  Raster(int width, int height);

  int Width() const { return _width; }
  int Height() const { return _height; }

  // Straight colour of a pixel; transparent outside.
  Rgba At(int x, int y) const;
  // Composites colour over the pixel, its alpha scaled by coverage.
  void Blend(int x, int y, const Rgba& colour, float coverage = 1.0f);
  // Paints shade(x, y) wherever coverage is above 0.
  void Paint(const Coverage& coverage, const Shader& shade);
  void Paint(const Coverage& coverage, const Rgba& colour);
  // The same, looking only at the pixels of the box (left, top inclusive;
  // right, bottom exclusive), for small shapes on a large picture.
  void PaintIn(int left, int top, int right, int bottom, const Coverage& coverage, const Shader& shade);
  void PaintIn(int left, int top, int right, int bottom, const Coverage& coverage, const Rgba& colour);
  // Paints through a mask placed with its corner at (left, top).
  void Paint(const Mask& mask, int left, int top, const Shader& shade);
  void Paint(const Mask& mask, int left, int top, const Rgba& colour);
  // Multiplies the alpha (and the premultiplied colour) by keep(x, y):
  // cuts soft holes or fades edges out.
  void MultiplyAlpha(const Coverage& keep);
  // Box-filtered reduction by a whole factor (used to draw small pictures
  // at a larger size first).
  Raster Reduced(int factor) const;

  // An image with straight 8-bit channels, rounded: RGBA (format 1), or
  // with opaque RGB (format 0) for a picture without transparency.
  std::unique_ptr<LLF::Image> ToImage(bool opaque = false) const;
  // Straight 8-bit RGBA bytes, rows top-down.
  std::vector<unsigned char> ToRgbaBytes() const;

 private:
  struct Pixel {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
  };
  Pixel& PixelAt(int x, int y) { return _pixels[size_t(y) * _width + x]; }
  const Pixel& PixelAt(int x, int y) const { return _pixels[size_t(y) * _width + x]; }

  int _width = 0;
  int _height = 0;
  std::vector<Pixel> _pixels;
};

}  // namespace Datagen
