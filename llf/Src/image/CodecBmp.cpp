#include "image/CodecBmp.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "image/Image.h"
#include "io/File.h"

namespace LLF {

namespace {

constexpr unsigned kFileHeaderSize = 14;

uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Get16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

}  // namespace

CodecBmp::CodecBmp() {
  Describe(L"Image codec for Windows BMP image files.", L"BMP image codec", L"bmp");
}

bool CodecBmp::HasSignature(File& file) const {
  static const uint8_t kMagic[2] = {'B', 'M'};
  return StartsWith(file, kMagic, 2);
}

Image* CodecBmp::Load(File& file) {
  const std::wstring name = FileNameOf(file);
  if (!HasSignature(file)) {
    SetLastError(L"Not a valid bmp file. Filename: " + name);
    return nullptr;
  }
  const std::wstring truncated =
      L"Bmp file is truncated or its pixel data lies outside it. Filename: " + name;
  uint8_t header[kFileHeaderSize + 124];
  if (!file.Seek(0, 0) || file.Read(header, kFileHeaderSize + 4) != kFileHeaderSize + 4) {
    SetLastError(truncated);
    return nullptr;
  }
  const uint32_t infoSize = Get32(header + kFileHeaderSize);
  if (infoSize != 40 && infoSize != 108 && infoSize != 124) {
    SetLastError(L"Unknown bitmap file format. Filename: " + name);
    return nullptr;
  }
  if (file.Read(header + kFileHeaderSize + 4, infoSize - 4) != infoSize - 4) {
    SetLastError(truncated);
    return nullptr;
  }
  const uint8_t* info = header + kFileHeaderSize;
  const int32_t width = int32_t(Get32(info + 4));
  const int32_t height = int32_t(Get32(info + 8));
  const unsigned bitCount = Get16(info + 14);
  if (Get32(info + 16) != 0) {
    SetLastError(L"Compressed BMP files are not supported. Filename: " + name);
    return nullptr;
  }
  if (bitCount != 24 && bitCount != 32) {
    SetLastError(L"Only 24 and 32 bit bmp files supported. Filename: " + name);
    return nullptr;
  }
  // A negative height stores the rows top-down.
  const bool topDown = height < 0;
  const uint64_t rows = topDown ? uint64_t(-int64_t(height)) : uint64_t(height);
  if (width <= 0 || height == 0) {
    SetLastError(L"Invalid bmp image size. Filename: " + name);
    return nullptr;
  }
  if (!CheckSize(uint64_t(width), rows, name)) return nullptr;

  // The rows start at the header's pixel-data offset when that lies past the
  // headers (a colour table or profile may sit between), else right after
  // the information header.
  const unsigned bytesPerPixel = bitCount / 8;
  const uint64_t rowBytes = uint64_t(width) * bytesPerPixel;
  const uint64_t stride = (rowBytes + 3) & ~uint64_t(3);
  const uint64_t headersEnd = kFileHeaderSize + infoSize;
  const uint64_t offset = Get32(header + 10) >= headersEnd ? Get32(header + 10) : headersEnd;
  const uint64_t fileSize = file.GetSize();
  if (offset > fileSize || offset > INT32_MAX || fileSize - offset < stride * (rows - 1) + rowBytes ||
      !file.Seek(0, int(offset))) {
    SetLastError(truncated);
    return nullptr;
  }

  std::unique_ptr<Image> image;
  std::vector<uint8_t> row;
  try {
    // Every pixel is written below, so the bytes need no zeroing first.
    image = std::make_unique<Image>(unsigned(width), unsigned(rows),
                                    bitCount == 32 ? IMGFORMAT_R8G8B8A8 : IMGFORMAT_R8G8B8X8, false);
    row.resize(size_t(stride));
  } catch (const std::bad_alloc&) {
  }
  if (!image || image->GetWidth() != unsigned(width) || image->GetHeight() != rows) {
    SetLastError(L"Not enough memory for the bmp image. Filename: " + name);
    return nullptr;
  }
  uint8_t* pixels = image->GetData();
  for (uint64_t r = 0; r < rows; ++r) {
    const unsigned want = unsigned(r + 1 < rows ? stride : rowBytes);
    if (file.Read(row.data(), want) != want) {
      SetLastError(truncated);
      return nullptr;
    }
    // File rows are bottom-up like the canvas rows, unless stored top-down.
    uint8_t* out = pixels + (topDown ? rows - 1 - r : r) * uint64_t(width) * 4;
    const uint8_t* in = row.data();
    for (int32_t x = 0; x < width; ++x, in += bytesPerPixel, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = bytesPerPixel == 4 ? in[3] : 255;
    }
  }
  return image.release();
}

bool CodecBmp::Save(Image* image, const std::wstring& fileName) {
  File file;
  if (!OpenForSaving(image, fileName, file)) return false;
  image->Lock();
  const unsigned width = image->GetWidth();
  const unsigned height = image->GetHeight();
  const uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
  const uint64_t dataSize = stride * height;
  std::vector<uint8_t> bytes;
  try {
    bytes.assign(size_t(54 + dataSize), 0);
  } catch (const std::bad_alloc&) {
    image->Unlock();
    SetLastError(L"Not enough memory to save the bmp image. Filename: " + fileName);
    return false;
  }
  uint8_t* p = bytes.data();
  Put16(p, 19778);  // "BM"
  Put32(p + 2, uint32_t(54 + dataSize));
  Put32(p + 10, 54);
  Put32(p + 14, 40);
  Put32(p + 18, width);
  Put32(p + 22, height);
  Put16(p + 26, 1);
  Put16(p + 28, 24);
  Put32(p + 38, 72);
  Put32(p + 42, 72);
  const uint8_t* pixels = image->GetData();
  for (unsigned r = 0; r < height; ++r) {
    const uint8_t* in = pixels + uint64_t(r) * width * 4;
    uint8_t* out = p + 54 + r * stride;
    for (unsigned x = 0; x < width; ++x, in += 4, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  image->Unlock();
  const bool written = file.Write(bytes.data(), unsigned(bytes.size())) == bytes.size();
  file.Close();
  if (!written) SetLastError(L"Can't write data to file " + fileName);
  return written;
}

}  // namespace LLF
