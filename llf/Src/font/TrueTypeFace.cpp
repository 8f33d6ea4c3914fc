#include "font/TrueTypeFace.h"

#include <algorithm>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_BITMAP_H

namespace LLF {

namespace {

// Owns a glyph copy until it goes out of scope.
struct GlyphHolder {
  FT_Glyph glyph = nullptr;
  ~GlyphHolder() {
    if (glyph) FT_Done_Glyph(glyph);
  }
};

// Owns a bitmap made by FT_Bitmap_Convert.
struct BitmapHolder {
  FT_Library library;
  FT_Bitmap bitmap;
  explicit BitmapHolder(FT_Library lib) : library(lib) { FT_Bitmap_Init(&bitmap); }
  ~BitmapHolder() { FT_Bitmap_Done(library, &bitmap); }
};

}  // namespace

void TrueTypeFace::Glyph::Draw(uint8_t* pixels, unsigned imageWidth, unsigned imageHeight, int x0,
                               int lowestRow) const {
  for (int gy = 0; gy < height; ++gy) {
    const int64_t pictureRow = int64_t(lowestRow) - gy;
    if (pictureRow < 0 || pictureRow >= int64_t(imageHeight)) continue;
    uint8_t* row = pixels + (uint64_t(imageHeight) - 1 - uint64_t(pictureRow)) * imageWidth * 4;
    const uint8_t* source = coverage.data() + size_t(gy) * size_t(width);
    for (int gx = 0; gx < width; ++gx) {
      const int64_t column = int64_t(x0) + gx;
      if (column < 0 || column >= int64_t(imageWidth)) continue;
      uint8_t* pixel = row + column * 4;
      pixel[0] = pixel[1] = pixel[2] = 255;
      pixel[3] = source[gx];
    }
  }
}

TrueTypeFace::TrueTypeFace() = default;

TrueTypeFace::~TrueTypeFace() {
  Release();
}

void TrueTypeFace::Release() {
  if (_face) FT_Done_Face(_face);
  _face = nullptr;
  if (_library) FT_Done_FreeType(_library);
  _library = nullptr;
  _bytes.reset();
}

bool TrueTypeFace::StartLibrary() {
  Release();
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return false;
  _library = library;
  return true;
}

bool TrueTypeFace::OpenFace(std::unique_ptr<unsigned char[]> bytes, unsigned size) {
  if (!_library || _face || !bytes) return false;
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(_library, bytes.get(), FT_Long(size), 0, &face) != 0) return false;
  _face = face;
  _bytes = std::move(bytes);
  return true;
}

bool TrueTypeFace::SetCharSize(int size) {
  if (!_face || size < 1 || size > kMaxCharSize) return false;
  const FT_F26Dot6 units = FT_F26Dot6(size) * 64;
  return FT_Set_Char_Size(_face, units, units, 96, 96) == 0;
}

bool TrueTypeFace::RenderGlyph(wchar_t character, Glyph& out) {
  _tooLarge = false;
  if (!_face) return false;
  // A character the face lacks gets index 0, the face's missing-glyph box,
  // so it shows as that box rather than vanishing from the text.
  const FT_UInt index = FT_Get_Char_Index(_face, FT_ULong(uint32_t(character)));
  if (FT_Load_Glyph(_face, index, FT_LOAD_DEFAULT) != 0) return false;
  GlyphHolder copy;
  if (FT_Get_Glyph(_face->glyph, &copy.glyph) != 0) return false;
  // The bound is checked on the outline's box, before anything that size is
  // rendered or allocated.
  FT_BBox box;
  FT_Glyph_Get_CBox(copy.glyph, FT_GLYPH_BBOX_PIXELS, &box);
  const int64_t em = std::max<int64_t>({_face->size->metrics.x_ppem, _face->size->metrics.y_ppem, 1});
  const int64_t maxSide = em * kMaxGlyphEms;
  if (int64_t(box.xMax) - box.xMin > maxSide || int64_t(box.yMax) - box.yMin > maxSide) {
    _tooLarge = true;
    return false;
  }
  // On success the copy is replaced by its bitmap (the outline is freed);
  // on failure it is left as it was, and the holder frees either.
  if (FT_Glyph_To_Bitmap(&copy.glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) != 0) return false;
  const FT_BitmapGlyph bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(copy.glyph);
  const FT_Bitmap* bitmap = &bitmapGlyph->bitmap;
  if (bitmap->width < 1 || bitmap->rows == 0) return false;

  // Fonts with embedded bitmaps may give 1-, 2- or 4-bit or colour pixels;
  // those are brought to one byte per pixel with 0..num_grays-1 levels.
  BitmapHolder converted(_library);
  unsigned levels = 256;
  if (bitmap->pixel_mode != FT_PIXEL_MODE_GRAY) {
    if (FT_Bitmap_Convert(_library, bitmap, &converted.bitmap, 1) != 0) return false;
    bitmap = &converted.bitmap;
    levels = bitmap->num_grays;
  } else if (bitmap->num_grays > 1) {
    levels = bitmap->num_grays;
  }
  if (levels < 2) levels = 2;

  const int width = int(bitmap->width);
  const int height = int(bitmap->rows);
  const int pitch = bitmap->pitch;
  // The top row's address: with an upward flow (negative pitch) the buffer
  // starts at the lowest row.
  const uint8_t* top = bitmap->buffer + (pitch < 0 ? int64_t(-pitch) * (height - 1) : 0);
  out.character = character;
  out.width = width;
  out.height = height;
  out.left = bitmapGlyph->left;
  out.bottom = bitmapGlyph->top - height;
  out.coverage.assign(size_t(width) * size_t(height), 0);
  for (int y = 0; y < height; ++y) {
    // Stored bottom-up: the bitmap's last row first.
    const uint8_t* source = top + int64_t(pitch) * (height - 1 - y);
    uint8_t* target = out.coverage.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x)
      target[x] = levels == 256 ? source[x]
                                : uint8_t(std::min(unsigned(source[x]), levels - 1) * 255u / (levels - 1));
  }
  return true;
}

}  // namespace LLF
