#include "render/stRSH_ImageData.h"

#include <algorithm>
#include <cstring>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Log.h"
#include "image/Image.h"

namespace LLF {

namespace {

// Where the exceptions of the upload say they come from.
const wchar_t* const kSource = L"WinRenderSystemHardware";

// Keeps the image locked for the upload and unlocks it on every way out.
class ImageLock {
 public:
  explicit ImageLock(Image& image) : _image(image), _locked(image.Lock()) {}
  ~ImageLock() {
    if (_locked) _image.Unlock();
  }
  bool IsLocked() const { return _locked; }

 private:
  Image& _image;
  bool _locked;
};

}  // namespace

std::wstring stRSH_ImageData::Dump() const {
  return Format(L"stRSH_ImageData: %d x %d, %d cells, %d loops, format %u", _width, _height, _cellsCount,
                _loopsCount, _format);
}

void stRSH_ImageData::Release() {
  _loops.clear();
  _width = _height = _cellsCount = _loopsCount = -1;
}

const stRSH_ImageData::Cell* stRSH_ImageData::FindCell(int loop, int cell) const {
  const int loops = static_cast<int>(_loops.size());
  if (loop < 0 || loop >= loops) {
    return nullptr;
  }
  const Loop& record = _loops[static_cast<size_t>(loops - loop - 1)];
  if (cell < 0 || cell >= static_cast<int>(record.size())) {
    return nullptr;
  }
  return &record[static_cast<size_t>(cell)];
}

bool stRSH_ImageData::UpdateData(Image& image, IGfxDevice& device, const Limits& limits) {
  ImageLock lock(image);
  if (!lock.IsLocked()) {
    return false;
  }
  const int32_t width = static_cast<int32_t>(image.GetWidth());
  const int32_t height = static_cast<int32_t>(image.GetHeight());
  const int32_t cellsCount = static_cast<int32_t>(image.GetCellsCount());
  const int32_t loopsCount = static_cast<int32_t>(image.GetLoopsCount());
  const bool newLayout =
      width != _width || height != _height || cellsCount != _cellsCount || loopsCount != _loopsCount;
  if (newLayout) {
    Release();
    _width = width;
    _height = height;
    _cellsCount = cellsCount;
    _loopsCount = loopsCount;
  }

  int32_t cellWidth = cellsCount > 0 ? width / cellsCount : 0;
  int32_t cellHeight = loopsCount > 0 ? height / loopsCount : 0;
  if (cellsCount * cellWidth != width) {
    Log::GetInstance().Write(
        L"Image: " + image.Dump() +
        L" probably has invalid dimension( width ) for this set of loops and cells. Check "
        L"the image size.");
    cellWidth = std::max(cellWidth - 1, 0);
  }
  if (loopsCount * cellHeight != height) {
    Log::GetInstance().Write(
        L"Image: " + image.Dump() +
        L" probably has invalid dimension( height ) for this set of loops and cells. Check "
        L"the image size.");
    cellHeight = std::max(cellHeight - 1, 0);
  }

  const unsigned imageFormat = image.GetFormat();
  if (imageFormat != IMGFORMAT_R8G8B8X8 && imageFormat != IMGFORMAT_R8G8B8A8) {
    Release();
    LLF_THROW(3, L"Image format is not supported. Image src: " + image.Dump(), kSource);
  }
  _format = imageFormat == IMGFORMAT_R8G8B8A8 ? GFXFMT_A8R8G8B8 : GFXFMT_X8R8G8B8;

  const TextureTileGrid grid(static_cast<uint32_t>(cellWidth), static_cast<uint32_t>(cellHeight),
                             limits.maxWidth, limits.maxHeight, limits.maxAspect);
  const uint8_t* pixels = image.GetData();
  if (newLayout) {
    _loops.resize(static_cast<size_t>(std::max(loopsCount, 0)));
    for (Loop& loop : _loops) {
      loop.resize(static_cast<size_t>(std::max(cellsCount, 0)));
    }
  }
  try {
    for (size_t li = 0; li < _loops.size(); ++li) {
      for (size_t ci = 0; ci < _loops[li].size(); ++ci) {
        Cell& cell = _loops[li][ci];
        if (newLayout) {
          cell.width = cellWidth;
          cell.height = cellHeight;
          cell.rows.resize(grid.GetRows().size());
        }
        uint32_t rowOffset = 0;
        for (size_t r = 0; r < grid.GetRows().size(); ++r) {
          const TextureTileGrid::Span& row = grid.GetRows()[r];
          TileRow& tiles = cell.rows[r];
          if (newLayout) tiles.resize(grid.GetColumns().size());
          uint32_t columnOffset = 0;
          for (size_t c = 0; c < grid.GetColumns().size(); ++c) {
            const TextureTileGrid::Span& column = grid.GetColumns()[c];
            Tile& tile = tiles[c];
            if (newLayout) {
              tile.width = column.size;
              tile.height = row.size;
              tile.extentWidth = column.extent;
              tile.extentHeight = row.extent;
              for (int attempt = 0; attempt < 10 && !tile.texture; ++attempt) {
                tile.texture = device.CreateTexture(tile.width, tile.height, _format);
              }
              if (!tile.texture) {
                LLF_THROW(6, L"pD3DDevice->CreateTexture(...) failed. Image src: " + image.Dump(), kSource);
              }
            }
            GfxLockedRect locked;
            if (!tile.texture->LockRect(locked)) {
              LLF_THROW(7, L"pD3DTexture->LockRect(...) failed. Image src: " + image.Dump(), kSource);
            }
            FillTile(pixels, static_cast<uint32_t>(width),
                     static_cast<uint32_t>(li) * static_cast<uint32_t>(cellHeight) + rowOffset,
                     static_cast<uint32_t>(ci) * static_cast<uint32_t>(cellWidth) + columnOffset, tile,
                     locked);
            tile.texture->UnlockRect();
            columnOffset += column.extent;
          }
          rowOffset += row.extent;
        }
      }
    }
  } catch (...) {
    Release();
    throw;
  }
  return true;
}

void stRSH_ImageData::FillTile(const uint8_t* pixels, uint32_t imageWidth, uint32_t firstRow,
                               uint32_t firstColumn, const Tile& tile, const GfxLockedRect& locked) const {
  // Only the tile's part of the cell is read; texels beyond it are cleared.
  for (uint32_t y = 0; y < tile.height; ++y) {
    uint8_t* out =
        static_cast<uint8_t*>(locked.bits) + static_cast<size_t>(y) * static_cast<size_t>(locked.pitch);
    uint32_t copied = 0;
    if (y < tile.extentHeight && pixels) {
      const uint8_t* in = pixels + (static_cast<size_t>(firstRow + y) * imageWidth + firstColumn) * 4;
      for (; copied < tile.extentWidth; ++copied, in += 4, out += 4) {
        // Red and blue change places: the device reads blue first.
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = in[3];
      }
    }
    std::memset(out, 0, static_cast<size_t>(tile.width - copied) * 4);
  }
}

}  // namespace LLF
