#pragma once
// What the hardware render system keeps for one image: for every loop and
// cell of the image's grid, the cell cut into power-of-two textures.
//
// Loop records follow the image's stored rows (bottom-up): the first one
// holds the bottom row of the picture. A cell's tile rows run the same way,
// the first holding the bottom of the cell; the tiles of a row run from the
// left.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Object.h"
#include "render/IGfxDevice.h"
#include "render/TextureTileGrid.h"

namespace LLF {

class Image;

class stRSH_ImageData : public virtual Object {
 public:
  struct Tile {
    std::unique_ptr<IGfxTexture> texture;
    uint32_t width = 0;  // texture size
    uint32_t height = 0;
    uint32_t extentWidth = 0;  // cell pixels it holds, from its left and bottom
    uint32_t extentHeight = 0;
  };
  using TileRow = std::vector<Tile>;
  struct Cell {
    std::vector<TileRow> rows;
    int32_t width = 0;
    int32_t height = 0;
  };
  using Loop = std::vector<Cell>;

  // The limits textures are cut to.
  struct Limits {
    uint32_t maxWidth = 128;
    uint32_t maxHeight = 128;
    uint32_t maxAspect = 1;
  };

  stRSH_ImageData() = default;
  LLF_KIND_OF(stRSH_ImageData, Object)
  ~stRSH_ImageData() override = default;
  std::wstring Dump() const override;

  // Builds the textures from the image's pixels, reusing them when the size
  // and the grid are those of the last upload. False when the image cannot
  // be locked; throws (with the image unlocked, and this record emptied)
  // when the format is unknown (code 3) or a texture cannot be created
  // (code 6) or locked (code 7).
  bool UpdateData(Image& image, IGfxDevice& device, const Limits& limits);
  // Drops every texture and forgets the last upload.
  void Release();

  uint32_t GetFormat() const { return _format; }
  const std::vector<Loop>& GetLoops() const { return _loops; }
  // The cell of a grid position counted from the top loop, or null when the
  // position is outside the grid.
  const Cell* FindCell(int loop, int cell) const;
  // True the first time only: a bad grid position is reported once per
  // image, not on every frame it is drawn.
  bool ReportBadCellOnce() {
    const bool first = !_badCellReported;
    _badCellReported = true;
    return first;
  }

 private:
  void FillTile(const uint8_t* pixels, uint32_t imageWidth, uint32_t firstRow, uint32_t firstColumn,
                const Tile& tile, const GfxLockedRect& locked) const;

  uint32_t _format = GFXFMT_X8R8G8B8;
  std::vector<Loop> _loops;
  int32_t _width = -1;
  int32_t _height = -1;
  int32_t _cellsCount = -1;
  int32_t _loopsCount = -1;
  bool _badCellReported = false;
};

}  // namespace LLF
