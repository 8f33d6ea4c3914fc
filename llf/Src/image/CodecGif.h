#pragma once
// GIF through giflib: every frame is drawn, with its own colour map or the
// global one, onto the logical screen filled with the background colour;
// the result is one picture in format 0 with the fourth byte 255. Frames
// without a colour map and colour indexes past the map are refused. Saving
// is not supported.
#include <string>

#include "core/Singleton.h"
#include "image/ImageCodec.h"

namespace LLF {

class CodecGif : public ImageCodec, public Singleton<CodecGif> {
  LLF_SINGLETON(CodecGif)

 public:
  LLF_KIND_OF(CodecGif, ImageCodec)
  ~CodecGif() override = default;

  // Any file is offered to the library.
  bool HasSignature(File&) const override { return true; }
  Image* Load(File& file) override;
  using ImageCodec::Save;
  // Writes nothing and gives false.
  bool Save(Image* image, const std::wstring& fileName) override;

 private:
  CodecGif();
  // The load proper; returns null with the last error set.
  Image* Decode(File& file, const std::wstring& name);
};

}  // namespace LLF
