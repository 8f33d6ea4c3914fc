#pragma once
// Reads and writes a bitmap font as two files: an XML file with the metrics
// and one "character" element per glyph, and beside it a PNG picture with
// the glyph image (the XML file's name with ".png" appended). Load failures
// are logged, not kept as the last error (opening the file aside).
#include <string>

#include "core/Singleton.h"
#include "font/FontCodec.h"

namespace LLF {

class FontCodecXML : public FontCodec, public Singleton<FontCodecXML> {
  LLF_SINGLETON(FontCodecXML)

 public:
  LLF_KIND_OF(FontCodecXML, FontCodec)
  ~FontCodecXML() override = default;

  bool HasSignature(File&) const override { return true; }
  // The size, characters and margin are not used: the file holds the font.
  Font* Load(File& file, int size, const std::wstring& characters, const Point& margin) override;
  using FontCodec::Save;
  // The glyph image first; no XML is written when it cannot be saved.
  bool Save(Font* font, const std::wstring& fileName) override;

 private:
  FontCodecXML();
};

}  // namespace LLF
