#pragma once
// Particles are born anywhere in a rectangle. Data: "x,y,width,height".
#include "math/RectF.h"
#include "particles/EmitRegion.h"

namespace HLF {

class EmitRegionRect : public EmitRegion {
 public:
  LLF_KIND_OF(EmitRegionRect, EmitRegion)
  // y is drawn before x.
  LLF::Vector2 GetRandomPoint() override;
  bool SetData(const std::wstring& data) override;
  std::wstring GetShape() const override { return L"rectangle"; }
  std::wstring GetData() const override;

 private:
  LLF::RectF _rect = LLF::RectF(0.0f, 0.0f, 100.0f, 100.0f);
};

}  // namespace HLF
