#include "render/IRenderSystem.h"

namespace LLF {

void IRenderSystem::PushMatrix(const Matrix4& m) {
  _matrixStack.push_back(_matrixStack.empty() ? m : m * _matrixStack.back());
}

bool IRenderSystem::TopMatrix(Matrix4& out) const {
  if (_matrixStack.empty()) {
    return false;
  }
  out = _matrixStack.back();
  return true;
}

bool IRenderSystem::PopMatrix() {
  if (_matrixStack.empty()) {
    return false;
  }
  _matrixStack.pop_back();
  return !_matrixStack.empty();
}

}  // namespace LLF
