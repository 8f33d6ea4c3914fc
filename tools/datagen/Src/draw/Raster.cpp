#include "draw/Raster.h"

#include <algorithm>
#include <cmath>

#include "image/Canvas.h"
#include "image/Image.h"

namespace Datagen {

namespace {

unsigned char ToByte(float value) {
  return static_cast<unsigned char>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Raster::Raster(int width, int height)
    : _width(std::max(1, width)), _height(std::max(1, height)), _pixels(size_t(_width) * _height) {}

Rgba Raster::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= _width || y >= _height) return Rgba{};
  const Pixel& p = PixelAt(x, y);
  if (p.a <= 0.0f) return Rgba{};
  return Rgba{p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Raster::Blend(int x, int y, const Rgba& colour, float coverage) {
  if (x < 0 || y < 0 || x >= _width || y >= _height) return;
  const float alpha = std::clamp(colour.a * coverage, 0.0f, 1.0f);
  if (alpha <= 0.0f) return;
  Pixel& p = PixelAt(x, y);
  const float keep = 1.0f - alpha;
  p.r = colour.r * alpha + p.r * keep;
  p.g = colour.g * alpha + p.g * keep;
  p.b = colour.b * alpha + p.b * keep;
  p.a = alpha + p.a * keep;
}

void Raster::Paint(const Coverage& coverage, const Shader& shade) {
  PaintIn(0, 0, _width, _height, coverage, shade);
}

void Raster::PaintIn(int left, int top, int right, int bottom, const Coverage& coverage,
                     const Shader& shade) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, _width);
  bottom = std::min(bottom, _height);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const float cx = x + 0.5f;
      const float cy = y + 0.5f;
      const float c = coverage(cx, cy);
      if (c > 0.0f) Blend(x, y, shade(cx, cy), std::min(c, 1.0f));
    }
  }
}

void Raster::Paint(const Coverage& coverage, const Rgba& colour) {
  Paint(coverage, [&colour](float, float) { return colour; });
}

void Raster::PaintIn(int left, int top, int right, int bottom, const Coverage& coverage, const Rgba& colour) {
  PaintIn(left, top, right, bottom, coverage, [&colour](float, float) { return colour; });
}

void Raster::Paint(const Mask& mask, int left, int top, const Shader& shade) {
  for (int my = 0; my < mask.Height(); ++my) {
    for (int mx = 0; mx < mask.Width(); ++mx) {
      const float c = mask.At(mx, my);
      if (c <= 0.0f) continue;
      const int x = left + mx;
      const int y = top + my;
      Blend(x, y, shade(x + 0.5f, y + 0.5f), c);
    }
  }
}

void Raster::Paint(const Mask& mask, int left, int top, const Rgba& colour) {
  Paint(mask, left, top, [&colour](float, float) { return colour; });
}

void Raster::MultiplyAlpha(const Coverage& keep) {
  for (int y = 0; y < _height; ++y) {
    for (int x = 0; x < _width; ++x) {
      const float k = std::clamp(keep(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
      Pixel& p = PixelAt(x, y);
      p.r *= k;
      p.g *= k;
      p.b *= k;
      p.a *= k;
    }
  }
}

Raster Raster::Reduced(int factor) const {
  factor = std::max(1, factor);
  Raster small(_width / factor, _height / factor);
  const float scale = 1.0f / float(factor * factor);
  for (int y = 0; y < small._height; ++y) {
    for (int x = 0; x < small._width; ++x) {
      Pixel sum;
      for (int dy = 0; dy < factor; ++dy) {
        for (int dx = 0; dx < factor; ++dx) {
          const Pixel& p = PixelAt(x * factor + dx, y * factor + dy);
          sum.r += p.r;
          sum.g += p.g;
          sum.b += p.b;
          sum.a += p.a;
        }
      }
      small.PixelAt(x, y) = Pixel{sum.r * scale, sum.g * scale, sum.b * scale, sum.a * scale};
    }
  }
  return small;
}

std::vector<unsigned char> Raster::ToRgbaBytes() const {
  std::vector<unsigned char> bytes(size_t(_width) * _height * 4);
  for (int y = 0; y < _height; ++y) {
    for (int x = 0; x < _width; ++x) {
      const Rgba c = At(x, y);
      unsigned char* out = &bytes[(size_t(y) * _width + x) * 4];
      out[0] = ToByte(c.r);
      out[1] = ToByte(c.g);
      out[2] = ToByte(c.b);
      out[3] = ToByte(c.a);
    }
  }
  return bytes;
}

std::unique_ptr<LLF::Image> Raster::ToImage(bool opaque) const {
  auto image = std::make_unique<LLF::Image>(unsigned(_width), unsigned(_height),
                                            opaque ? LLF::IMGFORMAT_R8G8B8X8 : LLF::IMGFORMAT_R8G8B8A8);
  const std::vector<unsigned char> bytes = ToRgbaBytes();
  for (int y = 0; y < _height; ++y) {
    std::copy_n(&bytes[size_t(y) * _width * 4], size_t(_width) * 4, image->GetRow(unsigned(y)));
  }
  return image;
}

}  // namespace Datagen
