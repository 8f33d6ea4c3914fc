#pragma once
// Pages of small textures shared in one OpenGL texture each, so that draws
// with different small textures can go to OpenGL as one. Each texture gets
// a cell of its exact size with a border of one texel that repeats its
// edge: sampled with coordinates between 0 and 1 and clamped addressing, a
// cell gives the texels the texture of its own would, nearest or linear.
// Cells of one size share shelves; a released texture's cell serves the
// next texture of that size. Context thread only.
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "gl/GlReleaseQueue.h"
#include "gl/GlTexture.h"

namespace LLF {

struct GlFunctions;

class GlAtlas {
 public:
  static constexpr uint32_t kPageSize = 1024;
  static constexpr uint32_t kMaxSide = GlTexture::kKeepSide;
  static constexpr size_t kMaxPages = 16;

  GlAtlas(const GlFunctions& gl, std::shared_ptr<GlReleaseQueue> queue) : _gl(gl), _queue(std::move(queue)) {}
  GlAtlas(const GlAtlas&) = delete;
  GlAtlas& operator=(const GlAtlas&) = delete;

  // Gives the texture a cell unless it has one; false when it is too large
  // or no room is left (it is then not offered again).
  bool Place(GlTexture::Data& texture);
  // Copies the pixels into the cell when the cell is older than them.
  // Leaves the page bound on the active unit when it copied.
  void Fill(GlTexture::Data& texture);
  static bool NeedsFill(GlTexture::Data& texture);
  // A released texture's cell.
  void Free(const GlReleaseQueue::Cell& cell);
  size_t GetPageCount() const { return _pages.size(); }

 private:
  struct Shelf {
    size_t page;
    uint32_t y;
    uint32_t width;  // of the textures it holds
    uint32_t height;
    uint32_t nextX;
  };
  using Size = std::pair<uint32_t, uint32_t>;
  struct Spot {
    size_t page;
    uint32_t x;
    uint32_t y;
  };

  bool NewPage();

  const GlFunctions& _gl;
  std::shared_ptr<GlReleaseQueue> _queue;
  std::vector<std::shared_ptr<GlTexture::Data>> _pages;
  std::vector<uint32_t> _pageFilled;  // height of the shelves on each page
  std::vector<Shelf> _shelves;
  std::map<Size, std::vector<Spot>> _free;
};

}  // namespace LLF
