#pragma once
// Every particle is born at one point. Data: "x,y".
#include "particles/EmitRegion.h"

namespace HLF {

class EmitRegionPoint : public EmitRegion {
 public:
  LLF_KIND_OF(EmitRegionPoint, EmitRegion)
  LLF::Vector2 GetRandomPoint() override { return _point; }
  bool SetData(const std::wstring& data) override;
  std::wstring GetShape() const override { return L"point"; }
  std::wstring GetData() const override;

 private:
  LLF::Vector2 _point = LLF::Vector2(100.0f, 100.0f);
};

}  // namespace HLF
