// Bitmap fonts (XML metrics beside a glyph picture) through the font codec,
// then measured as the text drawing does. The input is written to a file in
// a private folder of its own in memory, beside a fixed 64 x 64 glyph
// picture named "font.png", since the codec finds the picture by the file's
// folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzFolder.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "font/FontCodecXML.h"
#include "font/TextDrawParams.h"
#include "image/CodecPng.h"
#include "image/Image.h"

namespace {

volatile int g_sink;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LLF::Image picture(64, 64, LLF::IMGFORMAT_R8G8B8A8);
  if (!LLF::CodecPng::GetInstance().Save(&picture, LLF::FromOsPath(FuzzFolder() + "/font.png"))) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzFolder() + "/font.xml";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) std::abort();
  if (size && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
  LLF::Font* font =
      LLF::FontCodecXML::GetInstance().LoadFromFile(LLF::FromOsPath(path), 0, L"", LLF::Point());
  if (font) {
    LLF::TextDrawParams params;
    params.text = L" AaZz09?";
    for (const auto& entry : font->GetCharsMap()) params.text += entry.first;
    int sum = font->GetTextWidth(params) + font->GetTextHeight(params);
    params.scale = LLF::Vector2(2.5f, 0.5f);
    sum += font->GetTextWidth(params) + font->GetTextHeight(params);
    g_sink = sum;
    delete font;
  }
  CloseLog();
  return 0;
}
