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

  // While one lives on a thread, the pieces the thread gives back are
  // counted off their chunks a run at a time (one atomic step for each run
  // of pieces of one chunk instead of one for each piece); the last one to
  // end settles the count. They nest.
  class ReleaseRun {
   public:
    ReleaseRun();
    ~ReleaseRun();
    ReleaseRun(const ReleaseRun&) = delete;
    ReleaseRun& operator=(const ReleaseRun&) = delete;
  };

 private:
  struct Chunk;
  struct Run;

  static Run& ThreadRun();
  void Retire();

  Chunk* _chunk = nullptr;
  char* _next = nullptr;
  char* _end = nullptr;
  size_t _pieces = 0;  // taken from the chunk in use
};

}  // namespace LLF
