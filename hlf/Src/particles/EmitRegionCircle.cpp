#include "particles/EmitRegionCircle.h"

#include "core/Random.h"
#include "core/StringUtils.h"
#include "math/MathTable.h"

namespace HLF {

LLF::Vector2 EmitRegionCircle::GetRandomPoint() {
  const float radius = LLF::RandomRange(_ring.width, _ring.height);
  const float angle = LLF::Random(360.0f) * 0.017453292f;
  return LLF::Vector2(_ring.x + radius * LLF::g_mathTable.cos(angle),
                      _ring.y + radius * LLF::g_mathTable.sin(angle));
}

bool EmitRegionCircle::SetData(const std::wstring& data) {
  return LLF::FromString(data, _ring);
}

std::wstring EmitRegionCircle::GetData() const {
  return LLF::ToString(_ring);
}

}  // namespace HLF
