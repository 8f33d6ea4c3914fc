#pragma once
// Process-wide tables of math and memory routines that hot paths call
// instead of the runtime. Both are constant-initialised, so they are valid
// before main and from any static constructor; they never change afterwards.
#include <cstddef>

namespace LLF {

struct MathTable {
  float (*sin)(float);
  float (*cos)(float);
  float (*tan)(float);
  float (*asin)(float);
  float (*acos)(float);
  float (*atan)(float);
  float (*sqrt)(float);
};

struct MemoryTable {
  // Copies count bytes between areas that do not overlap.
  void (*copy)(void* destination, const void* source, size_t count);
  // True when the first count bytes of a and b are equal.
  bool (*compare)(const void* a, const void* b, size_t count);
};

extern const MathTable g_mathTable;
extern const MemoryTable g_memoryTable;

}  // namespace LLF
