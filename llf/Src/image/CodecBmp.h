#pragma once
// Windows BMP: loads uncompressed 24- and 32-bit files, saves 24-bit ones.
// Offsets and sizes in the headers are checked against the file before any
// pixel is read; a negative height means rows stored top-down.
#include <string>

#include "core/Singleton.h"
#include "image/ImageCodec.h"

namespace LLF {

class CodecBmp : public ImageCodec, public Singleton<CodecBmp> {
  LLF_SINGLETON(CodecBmp)

 public:
  LLF_KIND_OF(CodecBmp, ImageCodec)
  ~CodecBmp() override = default;

  // The file starts with "BM".
  bool HasSignature(File& file) const override;
  Image* Load(File& file) override;
  using ImageCodec::Save;
  // 24-bit, bottom-up rows, 72 x 72 resolution; the fourth byte is dropped.
  bool Save(Image* image, const std::wstring& fileName) override;

 private:
  CodecBmp();
};

}  // namespace LLF
