#pragma once
// A colour with straight (not premultiplied) channels from 0 to 1.
#include <algorithm>

namespace Datagen {

struct Rgba {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 0.0f;

  static constexpr Rgba Bytes(int red, int green, int blue, int alpha = 255) {
    return Rgba{red / 255.0f, green / 255.0f, blue / 255.0f, alpha / 255.0f};
  }
  constexpr Rgba WithAlpha(float alpha) const { return Rgba{r, g, b, alpha}; }
  // Straight interpolation from this colour to other.
  constexpr Rgba Mix(const Rgba& other, float t) const {
    return Rgba{r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t, a + (other.a - a) * t};
  }
  // Lighter (amount > 0) toward white or darker (amount < 0) toward black.
  Rgba Shade(float amount) const {
    const Rgba target = amount >= 0.0f ? Rgba{1, 1, 1, a} : Rgba{0, 0, 0, a};
    return Mix(target, std::min(1.0f, amount >= 0.0f ? amount : -amount));
  }
};

}  // namespace Datagen
