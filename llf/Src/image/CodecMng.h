#pragma once
// MNG through libmng: the first composed frame, on a white background, in
// format 1. Saving is refused and leaves any existing file untouched.
#include <string>

#include "core/Singleton.h"
#include "image/ImageCodec.h"

namespace LLF {

class CodecMng : public ImageCodec, public Singleton<CodecMng> {
  LLF_SINGLETON(CodecMng)

 public:
  LLF_KIND_OF(CodecMng, ImageCodec)
  ~CodecMng() override = default;

  // Any file is offered to the library.
  bool HasSignature(File&) const override { return true; }
  Image* Load(File& file) override;
  using ImageCodec::Save;
  bool Save(Image* image, const std::wstring& fileName) override;

 private:
  CodecMng();
};

}  // namespace LLF
