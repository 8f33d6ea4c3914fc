#include "image/IconDecoder.h"

#include <cstdint>
#include <cstdlib>

namespace LLF {

namespace {

uint32_t ReadU16(const unsigned char* p) {
  return p[0] | (p[1] << 8);
}
uint32_t ReadU32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct Entry {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  uint32_t offset = 0;
  uint32_t length = 0;
};

constexpr size_t kDirHeader = 6;
constexpr size_t kDirEntry = 16;
constexpr size_t kInfoHeader = 40;

bool IsPng(const unsigned char* data, size_t length, const Entry& e) {
  static const unsigned char kSignature[4] = {0x89, 'P', 'N', 'G'};
  if (e.length < 4 || e.offset > length || length - e.offset < 4) {
    return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (data[e.offset + i] != kSignature[i]) {
      return false;
    }
  }
  return true;
}

// Better for a square of the wanted size: the exact size first, then the
// smallest larger one, then the largest smaller one; more colours break ties.
bool Better(const Entry& a, const Entry& b, int size) {
  const int da = a.width - size;
  const int db = b.width - size;
  if (da != db) {
    if (da == 0 || db == 0) {
      return da == 0;
    }
    if ((da > 0) != (db > 0)) {
      return da > 0;
    }
    return std::abs(da) < std::abs(db);
  }
  return a.bitCount > b.bitCount;
}

// Decodes one bitmap image (header, palette, colour rows, mask rows, each row
// padded to four bytes, bottom-up) into width x height RGBA, top-down.
bool DecodeBitmap(const unsigned char* p, size_t length, std::vector<unsigned char>& pixels, int& width,
                  int& height, std::wstring& error) {
  if (length < kInfoHeader || ReadU32(p) < kInfoHeader) {
    error = L"Truncated icon image header.";
    return false;
  }
  const uint32_t headerSize = ReadU32(p);
  width = static_cast<int32_t>(ReadU32(p + 4));
  height = static_cast<int32_t>(ReadU32(p + 8)) / 2;  // colour rows and mask rows
  const int bitCount = static_cast<int>(ReadU16(p + 14));
  const uint32_t compression = ReadU32(p + 16);
  uint32_t colorsUsed = ReadU32(p + 32);
  if (width <= 0 || height <= 0 || width > 1024 || height > 1024 || compression != 0) {
    error = L"Unsupported icon image size or compression.";
    return false;
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
    error = L"Unsupported icon colour depth.";
    return false;
  }
  if (bitCount <= 8 && (colorsUsed == 0 || colorsUsed > (1u << bitCount))) {
    colorsUsed = 1u << bitCount;
  }
  if (bitCount > 8) {
    colorsUsed = 0;
  }
  const size_t paletteOffset = headerSize;
  const size_t colorOffset = paletteOffset + size_t{colorsUsed} * 4;
  const size_t colorStride = ((size_t(width) * bitCount + 31) / 32) * 4;
  const size_t maskOffset = colorOffset + colorStride * height;
  const size_t maskStride = ((size_t(width) + 31) / 32) * 4;
  if (headerSize > length || maskOffset + maskStride * height > length) {
    error = L"Truncated icon image data.";
    return false;
  }

  pixels.assign(size_t(width) * height * 4, 0);
  bool anyAlpha = false;
  for (int row = 0; row < height; ++row) {
    const unsigned char* src = p + colorOffset + colorStride * (height - 1 - row);
    const unsigned char* mask = p + maskOffset + maskStride * (height - 1 - row);
    for (int x = 0; x < width; ++x) {
      unsigned char* out = &pixels[(size_t(row) * width + x) * 4];
      const unsigned char* bgr = nullptr;
      if (bitCount == 32) {
        bgr = src + x * 4;
        out[3] = bgr[3];
        anyAlpha = anyAlpha || bgr[3] != 0;
      } else if (bitCount == 24) {
        bgr = src + x * 3;
      } else {
        const int perByte = 8 / bitCount;
        const int shift = (perByte - 1 - x % perByte) * bitCount;
        const unsigned index = (src[x / perByte] >> shift) & ((1u << bitCount) - 1);
        bgr = p + paletteOffset + size_t{index % colorsUsed} * 4;
      }
      out[0] = bgr[2];
      out[1] = bgr[1];
      out[2] = bgr[0];
      if (bitCount != 32) {
        const bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1;
        out[3] = transparent ? 0 : 255;
      }
    }
  }
  // A 32-bit image whose alpha is all zero was drawn for the mask alone.
  if (bitCount == 32 && !anyAlpha) {
    for (int row = 0; row < height; ++row) {
      const unsigned char* mask = p + maskOffset + maskStride * (height - 1 - row);
      for (int x = 0; x < width; ++x) {
        pixels[(size_t(row) * width + x) * 4 + 3] = ((mask[x / 8] >> (7 - x % 8)) & 1) ? 0 : 255;
      }
    }
  }
  return true;
}

}  // namespace

bool DecodeIcon(const unsigned char* data, size_t length, int size, std::vector<unsigned char>& rgba,
                std::wstring& error) {
  if (size <= 0 || !data || length < kDirHeader || ReadU16(data) != 0 || ReadU16(data + 2) != 1) {
    error = L"Not an icon file.";
    return false;
  }
  const size_t count = ReadU16(data + 4);
  if (count == 0 || length < kDirHeader + count * kDirEntry) {
    error = L"Truncated icon directory.";
    return false;
  }
  bool found = false;
  bool sawPng = false;
  Entry best;
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* d = data + kDirHeader + i * kDirEntry;
    Entry e;
    e.width = d[0] ? d[0] : 256;
    e.height = d[1] ? d[1] : 256;
    e.bitCount = static_cast<int>(ReadU16(d + 6));
    e.length = ReadU32(d + 8);
    e.offset = ReadU32(d + 12);
    if (e.offset >= length || e.length > length - e.offset) {
      continue;
    }
    if (IsPng(data, length, e)) {
      sawPng = true;
      continue;
    }
    if (!found || Better(e, best, size)) {
      best = e;
      found = true;
    }
  }
  if (!found) {
    error = sawPng ? L"Icon images stored as PNG are not supported." : L"No readable image in the icon file.";
    return false;
  }

  std::vector<unsigned char> pixels;
  int width = 0;
  int height = 0;
  if (!DecodeBitmap(data + best.offset, best.length, pixels, width, height, error)) {
    return false;
  }
  // Nearest-neighbour to the wanted size (a no-op for the exact size).
  rgba.assign(size_t(size) * size * 4, 0);
  for (int y = 0; y < size; ++y) {
    const int sy = static_cast<int>(int64_t{y} * height / size);
    for (int x = 0; x < size; ++x) {
      const int sx = static_cast<int>(int64_t{x} * width / size);
      const unsigned char* src = &pixels[(size_t(sy) * width + sx) * 4];
      unsigned char* dst = &rgba[(size_t(y) * size + x) * 4];
      for (int c = 0; c < 4; ++c) {
        dst[c] = src[c];
      }
    }
  }
  return true;
}

}  // namespace LLF
