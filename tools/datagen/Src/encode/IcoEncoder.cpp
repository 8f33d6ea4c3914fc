#include "encode/IcoEncoder.h"

#include <cstdint>

namespace Datagen {

namespace {

void Put16(std::string& out, uint32_t value) {
  out.push_back(char(value & 0xFF));
  out.push_back(char((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Header, colour rows and mask rows, both bottom-up, each row padded to
// four bytes; the header's height counts both.
std::string EncodeBitmap(const IcoEncoder::Picture& p) {
  const int n = p.size;
  const size_t maskStride = ((size_t(n) + 31) / 32) * 4;
  std::string out;
  Put32(out, 40);
  Put32(out, uint32_t(n));
  Put32(out, uint32_t(n * 2));
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // no compression
  Put32(out, uint32_t(size_t(n) * n * 4 + maskStride * n));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int row = n - 1; row >= 0; --row) {
    for (int x = 0; x < n; ++x) {
      const unsigned char* px = &p.rgba[(size_t(row) * n + x) * 4];
      out.push_back(char(px[2]));
      out.push_back(char(px[1]));
      out.push_back(char(px[0]));
      out.push_back(char(px[3]));
    }
  }
  for (int row = n - 1; row >= 0; --row) {
    std::string bits(maskStride, '\0');
    for (int x = 0; x < n; ++x) {
      if (p.rgba[(size_t(row) * n + x) * 4 + 3] == 0) bits[size_t(x) / 8] |= char(0x80 >> (x % 8));
    }
    out += bits;
  }
  return out;
}

}  // namespace

std::string IcoEncoder::Encode(const std::vector<Picture>& pictures) {
  if (pictures.empty() || pictures.size() > 0xFFFF) return {};
  std::vector<std::string> images;
  for (const Picture& p : pictures) {
    if (p.size < 1 || p.size > 256 || p.rgba.size() != size_t(p.size) * p.size * 4) return {};
    images.push_back(EncodeBitmap(p));
  }
  std::string out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, uint32_t(pictures.size()));
  uint32_t offset = uint32_t(6 + 16 * pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    const int n = pictures[i].size;
    out.push_back(char(n == 256 ? 0 : n));
    out.push_back(char(n == 256 ? 0 : n));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, uint32_t(images[i].size()));
    Put32(out, offset);
    offset += uint32_t(images[i].size());
  }
  for (const std::string& image : images) out += image;
  return out;
}

}  // namespace Datagen
