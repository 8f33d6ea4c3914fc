// TrueType files through the font codec: the game's character list rendered
// at one of the sizes the game uses. A loaded font's glyph records must lie
// inside its glyph picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "font/Font.h"
#include "font/FontCodecTTF.h"
#include "image/Image.h"
#include "io/File.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FuzzFolder();
  std::vector<uint8_t> bytes(data, data + size);
  LLF::File file;
  file.OpenMemory(bytes.data(), unsigned(bytes.size()), LLF::FILEOPS_READ);
  static const std::wstring kCharacters =
      L" !\"#$%&'()*+,-./0123456789:;<=>?@ABCZabcz{|}~\u00e9\u00df\u20ac\uffff";
  LLF::Font* font = LLF::FontCodecTTF::GetInstance().Load(file, 20, kCharacters, LLF::Point(1, 1));
  if (font) {
    const LLF::Image& image = font->GetImage();
    const LLF::Point box = font->GetCharBox();
    for (const auto& [character, glyph] : font->GetCharsMap()) {
      const int64_t right = int64_t(glyph.imageOffset.x + 1) * box.x;
      const int64_t bottom = int64_t(glyph.imageOffset.y + 1) * box.y;
      if (glyph.imageOffset.x < 0 || glyph.imageOffset.y < 0 || right > image.GetWidth() ||
          bottom > image.GetHeight() || glyph.dims.x > box.x || glyph.dims.y > box.y)
        std::abort();
    }
    delete font;
  }
  CloseLog();
  return 0;
}
