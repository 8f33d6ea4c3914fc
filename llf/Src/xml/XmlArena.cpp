#include "xml/XmlArena.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace LLF {

namespace {

constexpr size_t kAlign = alignof(std::max_align_t);
constexpr size_t kChunkSize = 64 * 1024;
// Pieces larger than this get memory of their own.
constexpr size_t kLargePiece = kChunkSize / 8;
// While the arena uses a chunk, its count stays above any number of pieces
// given back, so it cannot reach zero before the arena has added the pieces
// it took.
constexpr size_t kInUse = size_t(1) << (sizeof(size_t) * 8 - 2);

size_t Rounded(size_t size) {
  return (size + kAlign - 1) / kAlign * kAlign;
}

}  // namespace

// Each piece is preceded by a header naming its chunk (null for a piece of
// its own).
struct XmlArena::Chunk {
  std::atomic<size_t> pieces{kInUse};
};

namespace {

struct alignas(kAlign) Header {
  void* chunk;
};

// Takes amount away from a chunk's count and frees the chunk when nothing is
// left.
template <class Counted>
void Drop(Counted* counted, std::atomic<size_t>& count, size_t amount) {
  if (count.fetch_sub(amount, std::memory_order_acq_rel) == amount) {
    counted->~Counted();
    std::free(counted);
  }
}

}  // namespace

// The pieces given back during the thread's release runs and not yet
// counted off their chunk.
struct XmlArena::Run {
  Chunk* chunk = nullptr;
  size_t count = 0;
  unsigned depth = 0;

  void Settle() {
    if (chunk) Drop(chunk, chunk->pieces, count);
    chunk = nullptr;
    count = 0;
  }
};

XmlArena::Run& XmlArena::ThreadRun() {
  thread_local Run run;
  return run;
}

XmlArena::ReleaseRun::ReleaseRun() {
  ++ThreadRun().depth;
}

XmlArena::ReleaseRun::~ReleaseRun() {
  Run& run = ThreadRun();
  if (--run.depth == 0) run.Settle();
}

XmlArena::~XmlArena() {
  Retire();
}

void XmlArena::Retire() {
  if (!_chunk) return;
  // The pieces taken replace the mark of use; no piece left: the chunk goes.
  Drop(_chunk, _chunk->pieces, kInUse - _pieces);
  _chunk = nullptr;
  _next = _end = nullptr;
  _pieces = 0;
}

void* XmlArena::Allocate(size_t size) {
  const size_t need = sizeof(Header) + Rounded(size);
  if (need > kLargePiece) return AllocateOwn(size);
  if (static_cast<size_t>(_end - _next) < need) {
    Retire();
    void* memory = std::malloc(kChunkSize);
    if (!memory) throw std::bad_alloc();
    _chunk = new (memory) Chunk;
    _next = static_cast<char*>(memory) + Rounded(sizeof(Chunk));
    _end = static_cast<char*>(memory) + kChunkSize;
  }
  auto* header = reinterpret_cast<Header*>(_next);
  header->chunk = _chunk;
  _next += need;
  ++_pieces;
  return header + 1;
}

void* XmlArena::AllocateOwn(size_t size) {
  void* memory = std::malloc(sizeof(Header) + size);
  if (!memory) throw std::bad_alloc();
  auto* header = static_cast<Header*>(memory);
  header->chunk = nullptr;
  return header + 1;
}

void XmlArena::Release(void* piece) {
  if (!piece) return;
  Header* header = static_cast<Header*>(piece) - 1;
  auto* chunk = static_cast<Chunk*>(header->chunk);
  if (!chunk) {
    std::free(header);
    return;
  }
  Run& run = ThreadRun();
  if (run.depth == 0) {
    Drop(chunk, chunk->pieces, 1);
    return;
  }
  if (run.chunk != chunk) {
    run.Settle();
    run.chunk = chunk;
  }
  ++run.count;
}

}  // namespace LLF
