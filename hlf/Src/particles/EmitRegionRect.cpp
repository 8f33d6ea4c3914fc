#include "particles/EmitRegionRect.h"

#include "core/Random.h"
#include "core/StringUtils.h"

namespace HLF {

LLF::Vector2 EmitRegionRect::GetRandomPoint() {
  const float y = LLF::RandomRange(_rect.y, _rect.y + _rect.height);
  const float x = LLF::RandomRange(_rect.x, _rect.x + _rect.width);
  return LLF::Vector2(x, y);
}

bool EmitRegionRect::SetData(const std::wstring& data) {
  return LLF::FromString(data, _rect);
}

std::wstring EmitRegionRect::GetData() const {
  return LLF::ToString(_rect);
}

}  // namespace HLF
