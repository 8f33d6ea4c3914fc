#pragma once
// A colour of four bytes: red, green, blue, alpha. Trivially copyable so that
// pixel rows and colour arrays can be moved as plain memory.
#include <cstdint>

namespace LLF {

struct Color {
  uint8_t r = 255;
  uint8_t g = 255;
  uint8_t b = 255;
  uint8_t a = 255;

  constexpr Color() = default;
  constexpr Color(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
      : r(red), g(green), b(blue), a(alpha) {}

  // The faders' default fade colour.
  Color& SetOpaqueBlack() {
    r = g = b = 0;
    a = 255;
    return *this;
  }

  constexpr bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  constexpr bool operator!=(const Color& o) const { return !(*this == o); }

  // Packed as the device takes it: a << 24 | r << 16 | g << 8 | b.
  constexpr uint32_t ToARGB() const {
    return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
  }
};

}  // namespace LLF
