#pragma once
// Memory for the elements the reader makes and their attribute blocks: many
// small pieces, taken one after another from large chunks instead of one
// allocation each. A piece goes back with Release, from any thread; a chunk
// is freed once the arena has moved past it and all its pieces are back.
// Pieces can also be taken singly (AllocateOwn), so that one Release serves
// both kinds.
#include <cstddef>

namespace LLF {

class XmlArena {
 public:
  XmlArena() = default;
  XmlArena(const XmlArena&) = delete;
  XmlArena& operator=(const XmlArena&) = delete;
  // Lets go of the chunk in use; its pieces keep it.
  ~XmlArena();

  // A piece of size bytes, aligned for any object.
  void* Allocate(size_t size);
  // A piece of its own.
  static void* AllocateOwn(size_t size);
  // Gives a piece of either kind back (null is ignored).
  static void Release(void* piece);

 private:
  struct Chunk;

  void Retire();

  Chunk* _chunk = nullptr;
  char* _next = nullptr;
  char* _end = nullptr;
  size_t _pieces = 0;  // taken from the chunk in use
};

}  // namespace LLF
