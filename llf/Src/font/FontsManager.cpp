#include "font/FontsManager.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "core/Log.h"
#include "font/FontCodec.h"
#include "font/GlyphGrid.h"
#include "io/File.h"
#include "math/Rect.h"

namespace LLF {

namespace {

const CodecsManager<Font>::Texts kTexts = {
    "FontCodec",
    L"Warning: Not FontCodec is registered in FontsManager codecs list.\r\n",
    L"Font loaded \"",
    L"Error: LoadFont failed. Corresponding codec was not found for this file format.\r\nFilename: ",
    L"\r\nFont ID: ",
    L"Font \"",
    L"WARNING: Some fonts are not freed. Leaked fonts list follows:",
    L"FontsManager class. Info:",
    L"Fonts loaded: ",
    L"Fonts list(only ID's): ",
    nullptr,
    L"Error: SaveFont failed. Codec was not able to save font.\r\nFilename: ",
    L" Codec: ",
    L"Font saved \"",
    L"Error: SaveFont failed. Corresponding codec is not founded for this file format.\r\nFilename: ",
};

// The height a font reports for an empty text at scale 1.
int TextHeight(const Font& font) {
  return font.GetTextHeight(TextDrawParams());
}

}  // namespace

FontsManager::FontsManager() : CodecsManager<Font>(kTexts) {}

std::wstring FontsManager::Dump() const {
  return DumpResources();
}

bool FontsManager::SaveFont(Font* font, const std::wstring& fileName) {
  return SaveResource(fileName, font ? font->Dump() : std::wstring(), [&](ICodec* codec) {
    auto* fontCodec = dynamic_cast<FontCodec*>(codec);
    return fontCodec && fontCodec->Save(font, fileName);
  });
}

Font* FontsManager::LoadFont(File& file, const std::wstring& fileName, int height,
                             const std::wstring& characters, const std::wstring& id, bool doNotKeep,
                             bool doNotUpload, const Point& spacing) {
  return LoadResource(
      fileName, id, doNotKeep, doNotUpload,
      [&](ICodec* codec) -> Font* {
        auto* fontCodec = dynamic_cast<FontCodec*>(codec);
        return fontCodec ? fontCodec->Load(file, height, characters, spacing) : nullptr;
      },
      [](Font* font) { font->GetImage().Update(0, 0, true); });
}

Font* FontsManager::LoadFont(const std::wstring& fileName, int height, const std::wstring& characters,
                             const std::wstring& id, bool doNotKeep, bool doNotUpload, const Point& spacing) {
  return LoadNamedFile(
      fileName, L"Error: LoadFont failed. Can't open font file. Filename: " + fileName + L" Font ID: " + id,
      [&](File& file) {
        return LoadFont(file, fileName, height, characters, id, doNotKeep, doNotUpload, spacing);
      });
}

bool FontsManager::FreeFont(Font* font) {
  return ReleaseResource(font);
}

Font* FontsManager::AppendFonts(const Font* a, const Font* b, const Point& spacing) {
  if (!a || !b) {
    Log::GetInstance().Write(L"Error: Fonts you are trying to append are missing.");
    return nullptr;
  }
  if (TextHeight(*a) != TextHeight(*b)) {
    Log::GetInstance().Write(L"Error: Fonts you are trying to append have different sizes.");
    return nullptr;
  }
  // The glyphs of a, then those of b that a lacks, each with its source.
  struct Source {
    const Font* font;
    const Font::Glyph* glyph;
  };
  std::vector<Source> sources;
  for (const auto& [c, glyph] : a->GetCharsMap()) sources.push_back({a, &glyph});
  for (const auto& [c, glyph] : b->GetCharsMap())
    if (!a->FindChar(c)) sources.push_back({b, &glyph});
  int maxWidth = 0;
  int maxHeight = 0;
  for (const Source& source : sources) {
    maxWidth = std::max(maxWidth, source.glyph->dims.x);
    maxHeight = std::max(maxHeight, source.glyph->dims.y);
  }

  GlyphGrid grid;
  auto font = std::make_unique<Font>();
  if (!GlyphGrid::Fit(maxWidth, maxHeight, spacing, sources.size(), grid) ||
      !font->ResetImage(grid.width, grid.height)) {
    Log::GetInstance().Write(L"Error: AppendFonts failed. Can't create a glyph image for " +
                             ToString(unsigned(sources.size())) + L" glyphs.");
    return nullptr;
  }
  Image& image = font->GetImage();
  const int side = int(grid.cellSide);
  Font::CharsMap& chars = font->GetCharsMap();
  for (size_t k = 0; k < sources.size(); ++k) {
    const Font& from = *sources[k].font;
    Font::Glyph glyph = *sources[k].glyph;
    // The glyph's bitmap sits in its cell as the codecs place it; the cell is
    // the source's character box, found as text drawing finds it.
    const Rect source =
        GlyphGrid::GlyphArea(glyph.imageOffset, from.GetCharBox(), from.GetSidesOffset(), glyph.dims);
    glyph.imageOffset = grid.CellOf(k);
    const Rect target = GlyphGrid::GlyphArea(glyph.imageOffset, side, spacing, glyph.dims);
    const Point origin(source.x, source.y);
    image.Blit(&target, from.GetImage(), &origin);
    chars.emplace(glyph.character, glyph);
  }

  Font::Metrics& metrics = font->GetMetrics();
  metrics.fontHeight = TextHeight(*a);
  metrics.spaceWidth = metrics.fontHeight >> 1;
  metrics.charBox = Point(side, side);
  metrics.sidesOffset = spacing;
  return font.release();
}

void FontsManager::CleanupEverything(bool quiet) {
  CleanupResources(quiet);
}

}  // namespace LLF
