#pragma once
// JPEG through libjpeg: loads three-component and grey files (grey becomes
// RGB) into format 0 with the fourth byte 0, saves RGB at quality 80. CMYK
// and YCCK files are refused.
#include <string>

#include "core/Singleton.h"
#include "image/ImageCodec.h"

namespace LLF {

class CodecJpg : public ImageCodec, public Singleton<CodecJpg> {
  LLF_SINGLETON(CodecJpg)

 public:
  LLF_KIND_OF(CodecJpg, ImageCodec)
  ~CodecJpg() override = default;

  // JPEG files are recognised by their extension only.
  bool HasSignature(File&) const override { return false; }
  Image* Load(File& file) override;
  using ImageCodec::Save;
  bool Save(Image* image, const std::wstring& fileName) override;

 private:
  CodecJpg();
};

}  // namespace LLF
