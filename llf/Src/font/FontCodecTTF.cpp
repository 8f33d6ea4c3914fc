#include "font/FontCodecTTF.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "font/GlyphGrid.h"
#include "font/TrueTypeFace.h"
#include "io/File.h"

namespace LLF {

namespace {

enum OpenStep { OPENED, NO_LIBRARY, NO_BYTES, NO_FACE };

// The first three loading steps: FreeType, the whole file in memory, the
// face made from it.
OpenStep OpenFace(File& file, TrueTypeFace& face) {
  if (!face.StartLibrary()) return NO_LIBRARY;
  unsigned char* bytes = nullptr;
  unsigned size = 0;
  if (!file.ReadAll(bytes, size)) return NO_BYTES;
  if (!face.OpenFace(std::unique_ptr<unsigned char[]>(bytes), size)) return NO_FACE;
  return OPENED;
}

std::wstring OpenFailure(OpenStep step, const std::wstring& fileName) {
  switch (step) {
    case NO_LIBRARY:
      return L"Can't initialize freetype library. File: " + fileName;
    case NO_BYTES:
      return L"Can't read the entire font file into the memory. File: " + fileName;
    case NO_FACE:
      return L"Can't create font face from the font file. File: " + fileName;
    case OPENED:
      break;
  }
  return std::wstring();
}

}  // namespace

FontCodecTTF::FontCodecTTF() {
  Describe(L"Font codec for TrueTypeFont files.", L"TTF font codec", L"ttf");
}

bool FontCodecTTF::HasSignature(File& file) const {
  const unsigned position = file.GetPosition();
  TrueTypeFace face;
  const OpenStep step = OpenFace(file, face);
  file.Seek(0, int(position));
  if (step == OPENED) return true;
  // The failure text is the codec's own record, kept whatever constness the
  // check has.
  const_cast<FontCodecTTF*>(this)->SetLastError(OpenFailure(step, file.GetFileName()));
  return false;
}

Font* FontCodecTTF::Load(File& file, int size, const std::wstring& characters, const Point& margin) {
  const std::wstring fileName = file.GetFileName();
  TrueTypeFace face;
  const OpenStep step = OpenFace(file, face);
  if (step != OPENED) {
    SetLastError(OpenFailure(step, fileName));
    return nullptr;
  }
  if (!face.SetCharSize(size)) {
    SetLastError(L"Can't set font char size. File: " + fileName);
    return nullptr;
  }

  std::vector<TrueTypeFace::Glyph> glyphs;
  glyphs.reserve(characters.size());
  int maxWidth = 0;
  int maxHeight = 0;
  for (const wchar_t c : characters) {
    TrueTypeFace::Glyph glyph;
    if (!face.RenderGlyph(c, glyph)) {
      Log::GetInstance().Write(
          face.GlyphTooLarge()
              ? L"WARNING: Char \"" + std::wstring(1, c) + L"\" is more than " +
                    ToString(TrueTypeFace::kMaxGlyphEms) + L" ems wide or high, left out. File: " + fileName
              : L"WARNING: Char \"" + std::wstring(1, c) + L"\" is not found in font file: " + fileName);
      continue;
    }
    maxWidth = std::max(maxWidth, glyph.width);
    maxHeight = std::max(maxHeight, glyph.height);
    glyphs.push_back(std::move(glyph));
  }

  GlyphGrid grid;
  auto font = std::make_unique<Font>();
  if (!GlyphGrid::Fit(maxWidth, maxHeight, margin, glyphs.size(), grid) ||
      !font->ResetImage(grid.width, grid.height)) {
    SetLastError(L"Can't create a glyph image for " + ToString(unsigned(glyphs.size())) +
                 L" glyphs of up to " + ToString(maxWidth) + L" x " + ToString(maxHeight) +
                 L" pixels. File: " + fileName);
    return nullptr;
  }

  Image& image = font->GetImage();
  image.Lock();
  uint8_t* pixels = image.GetData();
  Font::CharsMap& chars = font->GetCharsMap();
  const int side = int(grid.cellSide);
  for (size_t k = 0; k < glyphs.size(); ++k) {
    const TrueTypeFace::Glyph& glyph = glyphs[k];
    const Point cell = grid.CellOf(k);
    Font::Glyph record;
    record.character = glyph.character;
    record.imageOffset = cell;
    record.dims = Point(glyph.width, glyph.height);
    record.renderOffset = Point(glyph.left, glyph.bottom);
    const Rect area = GlyphGrid::GlyphArea(cell, side, margin, record.dims);
    glyph.Draw(pixels, grid.width, grid.height, area.x, area.height - 1);  // left column, lowest row
    // A character listed twice keeps its first glyph; the later one still
    // takes its cell.
    if (!chars.emplace(glyph.character, record).second) {
      Log::GetInstance().Write(L"WARNING: Char \"" + std::wstring(1, glyph.character) +
                               L"\" is already in font chars map.");
    }
  }
  image.Unlock();

  Font::Metrics& metrics = font->GetMetrics();
  metrics.fontHeight = size;
  metrics.spaceWidth = size / 2;
  metrics.charBox = Point(side, side);
  metrics.sidesOffset = margin;
  return font.release();
}

bool FontCodecTTF::Save(Font*, const std::wstring& fileName) {
  Log::GetInstance().Write(L"Can't save font in the TTF file format( " + fileName + L" ) - not implemented.");
  return false;
}

}  // namespace LLF
