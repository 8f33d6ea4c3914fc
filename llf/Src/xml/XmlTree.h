#pragma once
// The memory of one reading: the records of the elements read, their
// attribute blocks and their characters, taken one after another from
// chunks that all go together when the last holder lets go. The document's
// root holds it while the records wait, and so does every element made from
// them whose attributes or children still lie in it; a document read and
// dropped untouched costs one free per chunk.
#include <atomic>
#include <cstddef>

namespace LLF {

class XmlTree {
 public:
  // A tree with one holder; sizeHint: about how many bytes it will take.
  static XmlTree* Create(size_t sizeHint);

  XmlTree(const XmlTree&) = delete;
  XmlTree& operator=(const XmlTree&) = delete;

  // bytes bytes aligned for pointers (never null, also for 0 bytes); throws
  // std::bad_alloc when memory runs out. Not for two threads at once.
  void* Allocate(size_t bytes);

  void Hold() { _holders.fetch_add(1, std::memory_order_relaxed); }
  // Frees the tree after its last holder.
  void Release();

 private:
  struct Chunk;

  explicit XmlTree(size_t chunkSize) : _chunkSize(chunkSize) {}
  ~XmlTree();
  void* AllocateChunk(size_t bytes);

  std::atomic<size_t> _holders{1};
  Chunk* _chunks = nullptr;
  char* _next = nullptr;
  char* _end = nullptr;
  size_t _chunkSize;
};

}  // namespace LLF
