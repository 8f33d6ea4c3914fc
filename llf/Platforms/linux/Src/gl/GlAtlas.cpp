#include "gl/GlAtlas.h"

#include <algorithm>
#include <cstring>

#include "gl/GlFunctions.h"

namespace LLF {

bool GlAtlas::NewPage() {
  if (_pages.size() >= kMaxPages) {
    return false;
  }
  auto page = std::make_shared<GlTexture::Data>(kPageSize, kPageSize, GFXFMT_A8R8G8B8, _queue, false);
  _gl.GenTextures(1, &page->name);
  _gl.BindTexture(GL_TEXTURE_2D, page->name);
  const std::vector<uint8_t> zeros(size_t(kPageSize) * kPageSize * 4, 0);
  _gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  _gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  _gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kPageSize, kPageSize, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 zeros.data());
  _gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  page->allocated = true;
  _pages.push_back(std::move(page));
  _pageFilled.push_back(0);
  return true;
}

bool GlAtlas::Place(GlTexture::Data& texture) {
  if (texture.atlasPage) {
    return true;
  }
  if (texture.atlasRefused || texture.width > kMaxSide || texture.height > kMaxSide) {
    return false;
  }
  const Size size(texture.width, texture.height);
  Spot spot{0, 0, 0};
  bool found = false;
  auto freeSpots = _free.find(size);
  if (freeSpots != _free.end() && !freeSpots->second.empty()) {
    spot = freeSpots->second.back();
    freeSpots->second.pop_back();
    found = true;
  }
  // The cell holds the texture and its border.
  const uint32_t cellWidth = texture.width + 2;
  const uint32_t cellHeight = texture.height + 2;
  for (size_t i = 0; !found && i < _shelves.size(); ++i) {
    Shelf& shelf = _shelves[i];
    if (shelf.width == texture.width && shelf.height == texture.height &&
        shelf.nextX + cellWidth <= kPageSize) {
      spot = Spot{shelf.page, shelf.nextX + 1, shelf.y + 1};
      shelf.nextX += cellWidth;
      found = true;
    }
  }
  for (size_t page = 0; !found; ++page) {
    if (page == _pages.size() && !NewPage()) {
      texture.atlasRefused = true;
      return false;
    }
    if (_pageFilled[page] + cellHeight <= kPageSize) {
      _shelves.push_back(Shelf{page, _pageFilled[page], texture.width, texture.height, cellWidth});
      _pageFilled[page] += cellHeight;
      spot = Spot{page, 1, _shelves.back().y + 1};
      found = true;
    }
  }
  texture.atlasPage = _pages[spot.page];
  texture.atlasX = spot.x;
  texture.atlasY = spot.y;
  texture.atlasFilled = false;
  return true;
}

bool GlAtlas::NeedsFill(GlTexture::Data& texture) {
  std::lock_guard<std::mutex> lock(texture.mutex);
  return !texture.atlasFilled || texture.atlasVersion != texture.version;
}

void GlAtlas::Fill(GlTexture::Data& texture) {
  std::lock_guard<std::mutex> lock(texture.mutex);
  if (!texture.atlasPage || (texture.atlasFilled && texture.atlasVersion == texture.version)) {
    return;
  }
  const uint32_t w = texture.width;
  const uint32_t h = texture.height;
  const uint32_t cellWidth = w + 2;
  std::vector<uint8_t> cell(size_t(cellWidth) * (h + 2) * 4, 0);
  const bool opaque = texture.format != GFXFMT_A8R8G8B8;
  for (uint32_t row = 0; row < h + 2; ++row) {
    // The border rows and columns repeat the nearest edge texel.
    const uint32_t from = std::min(row == 0 ? 0 : row - 1, h - 1);
    uint8_t* out = &cell[size_t(row) * cellWidth * 4];
    if (!texture.pixels.empty()) {
      const uint8_t* in = &texture.pixels[size_t(from) * w * 4];
      std::memcpy(out + 4, in, size_t(w) * 4);
      std::memcpy(out, in, 4);
      std::memcpy(out + size_t(w + 1) * 4, in + size_t(w - 1) * 4, 4);
    }
    if (opaque) {
      // A texture without alpha reads alpha 1 wherever its fourth byte.
      for (uint32_t x = 0; x < cellWidth; ++x) out[x * 4 + 3] = 255;
    }
  }
  _gl.BindTexture(GL_TEXTURE_2D, texture.atlasPage->name);
  _gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  _gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  _gl.TexSubImage2D(GL_TEXTURE_2D, 0, GLint(texture.atlasX - 1), GLint(texture.atlasY - 1),
                    GLsizei(cellWidth), GLsizei(h + 2), GL_BGRA, GL_UNSIGNED_BYTE, cell.data());
  texture.atlasFilled = true;
  texture.atlasVersion = texture.version;
}

void GlAtlas::Free(const GlReleaseQueue::Cell& cell) {
  for (size_t page = 0; page < _pages.size(); ++page) {
    if (_pages[page].get() == cell.page) {
      _free[Size(cell.width, cell.height)].push_back(Spot{page, cell.x, cell.y});
      return;
    }
  }
}

}  // namespace LLF
