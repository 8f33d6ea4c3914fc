#pragma once
// A TrueType face read from memory through FreeType 2, with the FreeType
// library it runs on, and glyphs rendered from it as 8-bit coverage. The
// face keeps the file bytes it was made from; the destructor releases face,
// library and bytes whichever step was reached.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Object.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace LLF {

class TrueTypeFace : public virtual Object {
 public:
  // One rendered glyph: its bitmap's size, where the bitmap sits relative to
  // the pen on the base line, and one coverage byte per pixel.
  struct Glyph {
    wchar_t character = 0;
    int width = 0;
    int height = 0;
    int left = 0;                   // the bitmap's left edge right of the pen
    int bottom = 0;                 // the lowest row's height above the base line (negative below it)
    std::vector<uint8_t> coverage;  // width * height bytes, the lowest row first

    // Writes the glyph into a picture of 4-byte pixels stored bottom-up, as
    // white with the coverage as alpha: its lowest row on picture row
    // lowestRow (counted from the top), its leftmost column on column left.
    // Pixels falling outside the picture are not written.
    void Draw(uint8_t* pixels, unsigned width, unsigned height, int left, int lowestRow) const;
  };

  TrueTypeFace();
  TrueTypeFace(const TrueTypeFace&) = delete;
  TrueTypeFace& operator=(const TrueTypeFace&) = delete;

  LLF_KIND_OF(TrueTypeFace, Object)
  ~TrueTypeFace() override;

  // Starts the FreeType library; false when it cannot be started.
  bool StartLibrary();
  // Makes the face (index 0) from a whole font file, taking the bytes over.
  // False when the library is not started or FreeType does not take them.
  bool OpenFace(std::unique_ptr<unsigned char[]> bytes, unsigned size);
  // Largest character size taken: bigger glyphs would not fit any glyph
  // image a canvas can hold.
  static constexpr int kMaxCharSize = 4096;

  // Character size of size points at 96 x 96 dots per inch (size x 64 in
  // 26.6 units, both directions); false outside 1..kMaxCharSize or when
  // FreeType refuses it.
  bool SetCharSize(int size);
  // A glyph may be this many ems wide or high, and no more: a few bytes of
  // outline may claim tens of thousands of pixels, which the glyph image
  // would then hold for every character.
  static constexpr int kMaxGlyphEms = 8;
  // Renders one character as 8-bit grey coverage; a character the face
  // lacks takes the face's missing-glyph box. False when the glyph cannot be
  // loaded or rendered, its bitmap is empty (as a blank's is), or it is
  // larger than kMaxGlyphEms allows (then GlyphTooLarge is true until the
  // next call).
  bool RenderGlyph(wchar_t character, Glyph& out);
  bool GlyphTooLarge() const { return _tooLarge; }

  bool HasFace() const { return _face != nullptr; }

 private:
  void Release();

  FT_LibraryRec_* _library = nullptr;
  FT_FaceRec_* _face = nullptr;
  std::unique_ptr<unsigned char[]> _bytes;
  bool _tooLarge = false;
};

}  // namespace LLF
