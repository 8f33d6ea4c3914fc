#pragma once
// One text draw call, also the record a font measures text with. Built by
// its callers; the render system and the fonts only read it.
#include <cstdint>
#include <string>

#include "math/Color.h"
#include "math/Vector2.h"

namespace LLF {

struct TextDrawParams {
  Color color;
  Vector2 position;
  std::wstring text;      // one line: no line break is recognised
  float rotation = 0.0f;  // degrees
  Vector2 scale = Vector2(1.0f, 1.0f);
  // A non-zero low byte applies pivot, scale, rotation and offset.
  int32_t transform = 0;
  Vector2 pivot;
  Vector2 offset;

  TextDrawParams() = default;
  TextDrawParams(const std::wstring& textValue, const Vector2& pos, const Color& colour,
                 float rotationDegrees, const Vector2& scaleFactors, int32_t transformFlag,
                 const Vector2& pivotPoint, const Vector2& offsetValue)
      : color(colour),
        position(pos),
        text(textValue),
        rotation(rotationDegrees),
        scale(scaleFactors),
        transform(transformFlag),
        pivot(pivotPoint),
        offset(offsetValue) {}

  bool IsTransformed() const { return (transform & 0xFF) != 0; }
};

}  // namespace LLF
