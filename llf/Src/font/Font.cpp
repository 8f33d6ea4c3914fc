#include "font/Font.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/StringUtils.h"

namespace LLF {

namespace {

// A measure scaled as the text drawing scales it: taken as an unsigned
// 32-bit number, multiplied, truncated toward zero. The product is brought
// back to 32 bits modulo 2^32 (a negative measure scaled by a whole factor
// stays negative); a NaN or an infinite product gives 0.
template <class Real>
int ScaleMeasure(int measure, Real factor) {
  const Real product = Real(uint32_t(measure)) * factor;
  if (!std::isfinite(product) || std::fabs(product) >= Real(9.2e18)) return 0;
  return int(uint32_t(uint64_t(int64_t(product))));
}

// A NaN component counts as not 1.
bool IsScaled(const Vector2& scale) {
  return scale.x != 1.0f || scale.y != 1.0f;
}

}  // namespace

Font::Font() : _image(1, 1, IMGFORMAT_R8G8B8A8) {}

Font::~Font() = default;

std::wstring Font::Dump() const {
  return _image.Dump() + L". Font: Characters count: " + ToString(GetCharsCount());
}

int Font::GetTextHeight(const TextDrawParams& params) const {
  if (!IsScaled(params.scale)) return _metrics.fontHeight;
  return ScaleMeasure(_metrics.fontHeight, (long double)params.scale.y);
}

int Font::GetTextWidth(const TextDrawParams& params) const {
  // Summed in 32 bits with wrap-around, as the width is kept.
  uint32_t width = 0;
  for (const wchar_t c : params.text) {
    if (c == L' ') {
      width += uint32_t(_metrics.spaceWidth);
      continue;
    }
    if (const Glyph* glyph = FindChar(c)) width += uint32_t(glyph->dims.x) + uint32_t(glyph->renderOffset.x);
  }
  if (!IsScaled(params.scale)) return int(width);
  return ScaleMeasure(int(width), double(params.scale.x));
}

void Font::Clear() {
  _chars.clear();
  _metrics = Metrics();
  _image.Resize(1, 1);
}

bool Font::ResetImage(unsigned width, unsigned height) {
  if (!_image.Lock()) return false;
  const bool resized = _image.Resize(width, height);
  if (resized) std::memset(_image.GetData(), 0, _image.GetDataSize());
  _image.Unlock();
  return resized;
}

const Font::Glyph* Font::FindChar(wchar_t character) const {
  const auto it = _chars.find(character);
  return it == _chars.end() ? nullptr : &it->second;
}

}  // namespace LLF
