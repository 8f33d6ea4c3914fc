#pragma once
// What textures give back, handed over from any thread to the thread that
// owns the OpenGL context: texture names to delete and atlas cells to reuse.
// Shared between a device and its textures: a texture that outlives its
// device finds the queue closed and drops what it gives back, which died
// with the context.
#include <GL/gl.h>

#include <cstdint>
#include <mutex>
#include <vector>

namespace LLF {

class GlReleaseQueue {
 public:
  // A cell of an atlas page: where the texture's texels start, and its size.
  struct Cell {
    const void* page;
    uint32_t x;
    uint32_t y;
    uint32_t width;
    uint32_t height;
  };

  void Push(GLuint name) {
    std::lock_guard<std::mutex> lock(_mutex);
    if (_open) _names.push_back(name);
  }
  void Push(const Cell& cell) {
    std::lock_guard<std::mutex> lock(_mutex);
    if (_open) _cells.push_back(cell);
  }
  void Take(std::vector<GLuint>& names, std::vector<Cell>& cells) {
    std::lock_guard<std::mutex> lock(_mutex);
    names.swap(_names);
    cells.swap(_cells);
    _names.clear();
    _cells.clear();
  }
  void Close() {
    std::lock_guard<std::mutex> lock(_mutex);
    _open = false;
    _names.clear();
    _cells.clear();
  }

 private:
  std::mutex _mutex;
  std::vector<GLuint> _names;
  std::vector<Cell> _cells;
  bool _open = true;
};

}  // namespace LLF
