#pragma once
// Turns a TrueType file into a bitmap font: the listed characters are
// rendered once, at load time, with FreeType and packed into one glyph
// image of equal square cells whose side is a power of two. Glyph pixels
// are white with the coverage as alpha; everything else is transparent
// black. Saving in this format is not supported.
#include <string>

#include "core/Singleton.h"
#include "font/FontCodec.h"

namespace LLF {

class FontCodecTTF : public FontCodec, public Singleton<FontCodecTTF> {
  LLF_SINGLETON(FontCodecTTF)

 public:
  LLF_KIND_OF(FontCodecTTF, FontCodec)
  ~FontCodecTTF() override = default;

  // Whether FreeType makes a face of the file; the position is kept.
  bool HasSignature(File& file) const override;
  // size: character size in points at 96 dpi; characters: one glyph per
  // character, in the order wanted in the image; margin: free pixels kept on
  // each side of a glyph inside its cell (x left and right, y top and
  // bottom). A character without a glyph, or with an empty one as the blank
  // has, is logged and left out; the blank advances by the space width.
  Font* Load(File& file, int size, const std::wstring& characters, const Point& margin) override;
  using FontCodec::Save;
  // Logs that the format cannot be written and gives false.
  bool Save(Font* font, const std::wstring& fileName) override;

 private:
  FontCodecTTF();
};

}  // namespace LLF
