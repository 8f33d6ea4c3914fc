#pragma once
// Texture names to delete, handed over from any thread to the thread that
// owns the OpenGL context. Shared between a device and its textures: a
// texture that outlives its device finds the queue closed and drops its
// name, which died with the context.
#include <GL/gl.h>

#include <mutex>
#include <vector>

namespace LLF {

class GlReleaseQueue {
 public:
  void Push(GLuint name) {
    std::lock_guard<std::mutex> lock(_mutex);
    if (_open) _names.push_back(name);
  }
  std::vector<GLuint> Take() {
    std::lock_guard<std::mutex> lock(_mutex);
    std::vector<GLuint> names;
    names.swap(_names);
    return names;
  }
  void Close() {
    std::lock_guard<std::mutex> lock(_mutex);
    _open = false;
    _names.clear();
  }

 private:
  std::mutex _mutex;
  std::vector<GLuint> _names;
  bool _open = true;
};

}  // namespace LLF
