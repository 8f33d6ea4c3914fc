#pragma once
// How a cell of an image is cut into textures whose sides are powers of two,
// within the device's largest texture size and aspect ratio: the widths of
// the tile columns from the left and the heights of the tile rows from the
// bottom of the cell. Every tile of one column has its width, every tile of
// one row its height.
//
// The aspect-ratio limit may make a tile larger than what is left of the
// cell. Such a tile keeps its texture size but covers only the rest of the
// cell: its extent is smaller than its size, the texels beyond stay empty
// and are never drawn.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace LLF {

class TextureTileGrid {
 public:
  struct Span {
    uint32_t size;    // texture side, a power of two
    uint32_t extent;  // cell pixels it covers, at most size
  };

  // An empty grid (no tiles) for an empty cell.
  TextureTileGrid() = default;
  // maxWidth and maxHeight at least 1, maxAspect at least 1.
  TextureTileGrid(uint32_t cellWidth, uint32_t cellHeight, uint32_t maxWidth, uint32_t maxHeight,
                  uint32_t maxAspect);

  const std::vector<Span>& GetColumns() const { return _columns; }
  // From the bottom of the cell up.
  const std::vector<Span>& GetRows() const { return _rows; }
  size_t GetTileCount() const { return _columns.size() * _rows.size(); }

  // The largest power of two not above v; 0 for 0.
  static uint32_t FloorPowerOfTwo(uint32_t v);
  static bool IsPowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

 private:
  std::vector<Span> _columns;
  std::vector<Span> _rows;
};

}  // namespace LLF
