#pragma once
// Particles are born in a ring around a centre, evenly by radius (not by
// area). Data: "centreX,centreY,innerRadius,outerRadius".
#include "math/RectF.h"
#include "particles/EmitRegion.h"

namespace HLF {

class EmitRegionCircle : public EmitRegion {
 public:
  LLF_KIND_OF(EmitRegionCircle, EmitRegion)
  // The radius is drawn before the angle (whole degrees' worth of 0..360).
  LLF::Vector2 GetRandomPoint() override;
  bool SetData(const std::wstring& data) override;
  std::wstring GetShape() const override { return L"circle"; }
  std::wstring GetData() const override;

 private:
  // x, y: the centre; width, height: the inner and outer radius.
  LLF::RectF _ring = LLF::RectF(0.0f, 0.0f, 0.0f, 100.0f);
};

}  // namespace HLF
