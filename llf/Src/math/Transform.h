#pragma once
// A drawing transform: a matrix and an 8-bit alpha (0 transparent, 255 opaque).
#include <cstdint>

#include "math/Matrix4.h"

namespace LLF {

struct Transform {
  Matrix4 matrix;
  uint8_t alpha;

  Transform(const Matrix4& mat, uint8_t a) : matrix(mat), alpha(a) {}

  // A child's transform inside its parent's: the child's matrix first, then
  // the parent's; alpha = child alpha * parent alpha / 255.
  Transform CombinedWith(const Transform& parent) const {
    return Transform(matrix * parent.matrix, static_cast<uint8_t>(alpha * parent.alpha / 255));
  }
};

}  // namespace LLF
