#pragma once
// PNG through libpng: every colour type and depth loads as 8-bit RGB
// (format 0, fourth byte 0) or RGBA (format 1); saves RGB or RGBA.
#include <string>

#include "core/Singleton.h"
#include "image/ImageCodec.h"

namespace LLF {

class CodecPng : public ImageCodec, public Singleton<CodecPng> {
  LLF_SINGLETON(CodecPng)

 public:
  LLF_KIND_OF(CodecPng, ImageCodec)
  ~CodecPng() override = default;

  // The eight-byte PNG signature.
  bool HasSignature(File& file) const override;
  Image* Load(File& file) override;
  using ImageCodec::Save;
  bool Save(Image* image, const std::wstring& fileName) override;

 private:
  CodecPng();
};

}  // namespace LLF
