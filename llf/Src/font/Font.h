#pragma once
// A bitmap font: one glyph image holding every glyph in a grid of equal
// cells, a map from each character to its glyph record, and the metrics.
// The font codecs build a font (any thread may, before it is shared); after
// that it is only read, and the glyph image's pixels are guarded by the
// image's own lock. Text is measured as one line.
#include <map>
#include <string>

#include "core/Object.h"
#include "font/TextDrawParams.h"
#include "image/Image.h"
#include "math/Point.h"

namespace LLF {

class Font : public virtual Object {
 public:
  struct Metrics {
    int fontHeight = 0;
    int spaceWidth = 0;  // advance of the blank, which has no glyph
    Point charBox;       // size of one cell of the glyph image
    Point sidesOffset;   // margin between a cell's edges and its glyph
  };

  struct Glyph {
    wchar_t character = 0;
    Point imageOffset;   // column and row (from the top) of the glyph's cell
    Point dims;          // glyph width and height in pixels
    Point renderOffset;  // x: added to the pen advance after the glyph; y: shift from the base line
  };

  using CharsMap = std::map<wchar_t, Glyph>;

  // Zero metrics, no characters, a 1 x 1 glyph image with alpha.
  Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  LLF_KIND_OF(Font, Object)
  ~Font() override;
  // The glyph image's dump, then ". Font: Characters count: " and the count.
  std::wstring Dump() const override;

  virtual Point GetCharBox() const { return _metrics.charBox; }
  virtual Point GetSidesOffset() const { return _metrics.sidesOffset; }
  virtual int GetSpaceWidth() const { return _metrics.spaceWidth; }
  // The font height, times the scale's y when the scale is not (1, 1).
  virtual int GetTextHeight(const TextDrawParams& params) const;
  // A blank adds the space width, a character of the map its width plus its
  // render offset x, any other character nothing; the sum is multiplied by
  // the scale's x when the scale is not (1, 1).
  virtual int GetTextWidth(const TextDrawParams& params) const;
  virtual void SetSpaceWidth(int width) { _metrics.spaceWidth = width; }
  // No characters, zero metrics, a 1 x 1 glyph image of the same format.
  virtual void Clear();

  // The codecs fill these three.
  Metrics& GetMetrics() { return _metrics; }
  const Metrics& GetMetrics() const { return _metrics; }
  CharsMap& GetCharsMap() { return _chars; }
  const CharsMap& GetCharsMap() const { return _chars; }
  Image& GetImage() { return _image; }
  const Image& GetImage() const { return _image; }
  // Gives the glyph image a new size with every byte 0, under its lock;
  // false when the image cannot take that size.
  bool ResetImage(unsigned width, unsigned height);
  // The character's glyph record, or null when the font has none.
  const Glyph* FindChar(wchar_t character) const;
  unsigned GetCharsCount() const { return unsigned(_chars.size()); }

 private:
  Metrics _metrics;
  CharsMap _chars;
  Image _image;
};

}  // namespace LLF
