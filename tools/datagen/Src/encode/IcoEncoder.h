#pragma once
// Desktop icon files (.ico) holding bitmap-coded images: 32 bits per pixel
// with alpha, and the one-bit mask set where a pixel is fully transparent
// (for readers that use the mask alone).
#include <string>
#include <vector>

namespace Datagen {

class IcoEncoder {
 public:
  struct Picture {
    int size = 0;                     // square: size x size, 1 to 256
    std::vector<unsigned char> rgba;  // straight RGBA, rows top-down
  };
  // The file's bytes; empty when a picture's size or pixel count is wrong.
  static std::string Encode(const std::vector<Picture>& pictures);
};

}  // namespace Datagen
