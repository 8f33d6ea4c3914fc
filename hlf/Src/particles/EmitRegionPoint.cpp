#include "particles/EmitRegionPoint.h"

#include "core/StringUtils.h"

namespace HLF {

bool EmitRegionPoint::SetData(const std::wstring& data) {
  return LLF::FromString(data, _point);
}

std::wstring EmitRegionPoint::GetData() const {
  return LLF::ToString(_point);
}

}  // namespace HLF
