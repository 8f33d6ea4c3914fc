#include "math/MathTable.h"

#include <cmath>
#include <cstring>

namespace LLF {

namespace {

// Each routine computes in double precision and returns a float.
float Sin(float x) {
  return static_cast<float>(std::sin(static_cast<double>(x)));
}
float Cos(float x) {
  return static_cast<float>(std::cos(static_cast<double>(x)));
}
float Tan(float x) {
  const double d = x;
  return static_cast<float>(std::sin(d) / std::cos(d));
}
// Arc sine and arc cosine through the arc tangent; at |x| = 1 the quotient is
// an infinity whose arc tangent gives the exact end values.
float Asin(float x) {
  const double d = x;
  return static_cast<float>(std::atan(d / std::sqrt(1.0 - d * d)));
}
float Acos(float x) {
  const double d = x;
  return static_cast<float>(std::atan(d / -std::sqrt(1.0 - d * d)) + 1.5707964);
}
float Atan(float x) {
  return static_cast<float>(std::atan(static_cast<double>(x)));
}
float Sqrt(float x) {
  return static_cast<float>(std::sqrt(static_cast<double>(x)));
}

// glibc's memcpy already picks the best copy for the processor at load time,
// so it serves every processor here.
void Copy(void* destination, const void* source, size_t count) {
  if (count != 0) {
    std::memcpy(destination, source, count);
  }
}
bool Compare(const void* a, const void* b, size_t count) {
  return count == 0 || std::memcmp(a, b, count) == 0;
}

}  // namespace

constinit const MathTable g_mathTable = {Sin, Cos, Tan, Asin, Acos, Atan, Sqrt};
constinit const MemoryTable g_memoryTable = {Copy, Compare};

}  // namespace LLF
