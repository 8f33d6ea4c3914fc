#pragma once
// Runs one image codec's load on arbitrary bytes. The bytes are copied into
// a block of exactly their size, so any read past the file is caught; a
// loaded image must hold exactly width x height pixels, all of them read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FuzzFolder.h"
#include "image/Image.h"
#include "image/ImageCodec.h"
#include "io/File.h"

// Keeps the pixel reads from being optimised away.
inline volatile unsigned g_pixelSink;

inline int FuzzImageCodec(LLF::ImageCodec& codec, const uint8_t* data, size_t size) {
  FuzzFolder();
  std::vector<uint8_t> bytes(data, data + size);
  LLF::File file;
  if (!bytes.empty()) file.OpenMemory(bytes.data(), unsigned(bytes.size()), LLF::FILEOPS_READ);
  LLF::Image* image = codec.Load(file);
  if (image) {
    if (image->GetDataSize() != size_t(image->GetWidth()) * image->GetHeight() * 4) std::abort();
    unsigned sum = 0;
    const uint8_t* pixels = image->GetData();
    for (size_t i = 0; i < image->GetDataSize(); ++i) sum += pixels[i];
    g_pixelSink = sum;
    delete image;
  }
  CloseLog();
  return 0;
}
