#pragma once
// Base of the font codecs: load a new font from a file, save one to a named
// file. Load takes the three values the fonts manager passes on: the
// character size, the characters to render and the free margin around each
// glyph in its cell (a codec that does not render ignores them).
#include <string>

#include "core/ICodec.h"
#include "math/Point.h"

namespace LLF {

class File;
class Font;

class FontCodec : public ICodec {
 public:
  FontCodec();
  LLF_KIND_OF(FontCodec, ICodec)
  ~FontCodec() override = default;

  // Opens the named file and loads it; "Can't open file " + name when it
  // cannot be opened.
  virtual Font* LoadFromFile(const std::wstring& fileName, int size, const std::wstring& characters,
                             const Point& margin);
  // A new font owned by the caller, or null. The file is open for reading.
  virtual Font* Load(File& file, int size, const std::wstring& characters, const Point& margin) = 0;
  virtual bool Save(Font* font, const wchar_t* fileName) { return Save(font, std::wstring(fileName)); }
  virtual bool Save(Font* font, const std::wstring& fileName) = 0;
};

}  // namespace LLF
