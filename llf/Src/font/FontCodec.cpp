#include "font/FontCodec.h"

#include "font/Font.h"
#include "io/File.h"

namespace LLF {

FontCodec::FontCodec() {
  _description = L"Abstract FontCodec class";
  _shortDescription = L"FontCodec class";
}

Font* FontCodec::LoadFromFile(const std::wstring& fileName, int size, const std::wstring& characters,
                              const Point& margin) {
  File file;
  if (!file.OpenExisting(fileName, FILEOPS_READ)) {
    SetLastError(L"Can't open file " + fileName);
    return nullptr;
  }
  Font* font = Load(file, size, characters, margin);
  file.Close();
  return font;
}

}  // namespace LLF
