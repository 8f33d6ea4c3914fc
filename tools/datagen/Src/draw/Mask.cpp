#include "draw/Mask.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

Mask::Mask(int width, int height)
    : _width(std::max(0, width)), _height(std::max(0, height)), _values(size_t(_width) * _height, 0.0f) {}

float Mask::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= _width || y >= _height) return 0.0f;
  return _values[size_t(y) * _width + x];
}

void Mask::Set(int x, int y, float value) {
  if (x < 0 || y < 0 || x >= _width || y >= _height) return;
  _values[size_t(y) * _width + x] = std::clamp(value, 0.0f, 1.0f);
}

void Mask::Add(const std::function<float(float, float)>& coverage) {
  for (int y = 0; y < _height; ++y) {
    for (int x = 0; x < _width; ++x) {
      float& v = _values[size_t(y) * _width + x];
      v = std::max(v, std::clamp(coverage(x + 0.5f, y + 0.5f), 0.0f, 1.0f));
    }
  }
}

void Mask::BoxBlurRows(int radius) {
  std::vector<float> row(static_cast<size_t>(_width));
  const float scale = 1.0f / float(2 * radius + 1);
  for (int y = 0; y < _height; ++y) {
    float* line = &_values[size_t(y) * _width];
    std::copy(line, line + _width, row.begin());
    float sum = 0.0f;
    for (int x = -radius; x <= radius; ++x) sum += (x >= 0 && x < _width) ? row[size_t(x)] : 0.0f;
    for (int x = 0; x < _width; ++x) {
      line[x] = sum * scale;
      const int out = x - radius;
      const int in = x + radius + 1;
      if (out >= 0) sum -= row[size_t(out)];
      if (in < _width) sum += row[size_t(in)];
    }
  }
}

void Mask::Transpose() {
  std::vector<float> turned(_values.size());
  for (int y = 0; y < _height; ++y) {
    for (int x = 0; x < _width; ++x) turned[size_t(x) * _height + y] = _values[size_t(y) * _width + x];
  }
  _values.swap(turned);
  std::swap(_width, _height);
}

void Mask::Blur(int radius) {
  if (radius <= 0 || _values.empty()) return;
  for (int pass = 0; pass < 3; ++pass) BoxBlurRows(radius);
  Transpose();
  for (int pass = 0; pass < 3; ++pass) BoxBlurRows(radius);
  Transpose();
}

void Mask::Dilate(int radius) {
  if (radius <= 0 || _values.empty()) return;
  const std::vector<float> source = _values;
  for (int y = 0; y < _height; ++y) {
    for (int x = 0; x < _width; ++x) {
      float best = 0.0f;
      for (int dy = -radius; dy <= radius; ++dy) {
        const int sy = y + dy;
        if (sy < 0 || sy >= _height) continue;
        for (int dx = -radius; dx <= radius; ++dx) {
          const int sx = x + dx;
          if (sx < 0 || sx >= _width) continue;
          // A soft rim: pixels just outside the disc count partly.
          const float reach = float(radius) + 0.5f - std::sqrt(float(dx * dx + dy * dy));
          if (reach <= 0.0f) continue;
          best = std::max(best, source[size_t(sy) * _width + sx] * std::min(1.0f, reach));
        }
      }
      _values[size_t(y) * _width + x] = best;
    }
  }
}

Mask Mask::Shifted(int dx, int dy) const {
  Mask moved(_width, _height);
  for (int y = 0; y < _height; ++y) {
    for (int x = 0; x < _width; ++x) moved._values[size_t(y) * _width + x] = At(x - dx, y - dy);
  }
  return moved;
}

void Mask::Scale(float factor) {
  for (float& v : _values) v = std::clamp(v * factor, 0.0f, 1.0f);
}

}  // namespace Datagen
