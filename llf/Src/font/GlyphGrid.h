#pragma once
// The layout of a font's glyph image: equal square cells whose side is a
// power of two, filled row by row from the top-left cell. The image starts
// as one cell and doubles (its width while it is square, else its height)
// until every glyph has a cell, so it stays square or twice as wide as high.
#include <cstddef>
#include <cstdint>

#include "math/Point.h"
#include "math/Rect.h"

namespace LLF {

struct GlyphGrid {
  // No side of a glyph image grows beyond this.
  static constexpr unsigned kMaxSide = 1u << 16;

  unsigned cellSide = 2;
  unsigned width = 2;
  unsigned height = 2;

  // The smallest of 2, 4, 8, ... not below n.
  static uint64_t PowerOfTwoFrom2(int64_t n);
  // The grid for count glyphs of at most maxWidth x maxHeight pixels, each
  // with margin free pixels on both sides of it (x left and right, y top and
  // bottom). False when a side would pass kMaxSide.
  static bool Fit(int maxWidth, int maxHeight, const Point& margin, size_t count, GlyphGrid& out);

  unsigned Columns() const { return width / cellSide; }
  unsigned Rows() const { return height / cellSide; }
  // Where a glyph of dims pixels lies in the cell at column and row cell of
  // cells of side cellSide: margin pixels right of the cell's left edge and
  // above its lower edge. Left, top, right, bottom (both exclusive).
  static Rect GlyphArea(const Point& cell, int cellSide, const Point& margin, const Point& dims) {
    return GlyphArea(cell, Point(cellSide, cellSide), margin, dims);
  }
  // The same in cells of cellSize pixels, which need not be square (bitmap
  // fonts may have any character box).
  static Rect GlyphArea(const Point& cell, const Point& cellSize, const Point& margin, const Point& dims) {
    const int left = cell.x * cellSize.x + margin.x;
    const int bottom = (cell.y + 1) * cellSize.y - margin.y;
    return Rect(left, bottom - dims.y, left + dims.x, bottom);
  }

  // Column and row (from the top) of the cell of the index-th glyph.
  Point CellOf(size_t index) const { return Point(int(index % Columns()), int(index / Columns())); }
};

}  // namespace LLF
