#include "xml/XmlTree.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

namespace LLF {

namespace {

constexpr size_t kAlign = alignof(void*);
constexpr size_t kMinChunk = 1024;
// Chunks grow by doubling up to kMaxChunk; the first is as large as the
// reading is expected to need (up to kMaxFirst), so that a large document
// takes one block of the allocator instead of many.
constexpr size_t kMaxChunk = 1024 * 1024;
constexpr size_t kMaxFirst = 64 * 1024 * 1024;

size_t Rounded(size_t size) {
  return (size + kAlign - 1) & ~(kAlign - 1);
}

}  // namespace

struct XmlTree::Chunk {
  Chunk* next;
};

XmlTree* XmlTree::Create(size_t sizeHint) {
  auto* tree = new XmlTree(sizeHint < kMinChunk ? kMinChunk : sizeHint > kMaxFirst ? kMaxFirst : sizeHint);
  try {
    tree->AllocateChunk(0);  // the first chunk: no piece is ever null
  } catch (...) {
    delete tree;
    throw;
  }
  return tree;
}

XmlTree::~XmlTree() {
  while (_chunks) std::free(std::exchange(_chunks, _chunks->next));
}

void XmlTree::Release() {
  if (_holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

void* XmlTree::Allocate(size_t bytes) {
  const size_t need = Rounded(bytes);
  if (static_cast<size_t>(_end - _next) >= need) {
    void* piece = _next;
    _next += need;
    return piece;
  }
  return AllocateChunk(need);
}

void* XmlTree::AllocateChunk(size_t need) {
  if (need > SIZE_MAX / 2) throw std::bad_alloc();
  const size_t head = Rounded(sizeof(Chunk));
  // A large piece gets a chunk of its own behind the one in use; otherwise
  // chunks grow up to kMaxChunk.
  const bool alone = need > _chunkSize / 4;
  const size_t size = head + (alone ? need : _chunkSize);
  auto* chunk = static_cast<Chunk*>(std::malloc(size));
  if (!chunk) throw std::bad_alloc();
  char* const at = reinterpret_cast<char*>(chunk) + head;
  if (alone && _chunks) {
    chunk->next = _chunks->next;
    _chunks->next = chunk;
    return at;
  }
  chunk->next = _chunks;
  _chunks = chunk;
  _next = at + need;
  _end = reinterpret_cast<char*>(chunk) + size;
  if (!alone && _chunkSize < kMaxChunk) _chunkSize *= 2;
  return at;
}

}  // namespace LLF
