#include "particles/EmitRegion.h"

#include "particles/EmitRegionCircle.h"
#include "particles/EmitRegionNestedRect.h"
#include "particles/EmitRegionPoint.h"
#include "particles/EmitRegionRect.h"

namespace HLF {

LLF::Vector2 EmitRegion::GetRandomPoint() {
  return LLF::Vector2(100.0f, 100.0f);
}

bool EmitRegion::SetData(const std::wstring& data) {
  (void)data;
  return true;
}

EmitRegion* EmitRegion::Create(const std::wstring& shape) {
  if (shape == L"rectangle") return new EmitRegionRect();
  if (shape == L"nestedrect") return new EmitRegionNestedRect();
  if (shape == L"circle") return new EmitRegionCircle();
  if (shape == L"point") return new EmitRegionPoint();
  return nullptr;
}

}  // namespace HLF
