#pragma once
// Particles are born in a frame: inside the outer rectangle and outside the
// inner one, evenly by area. Data: "x,y,w,h;ix,iy,iw,ih", the inner corner
// relative to the outer one. An inner rectangle that reaches past the outer
// one leaves no sound frame; points are then drawn from the whole outer
// rectangle.
#include "math/RectF.h"
#include "particles/EmitRegion.h"

namespace HLF {

class EmitRegionNestedRect : public EmitRegion {
 public:
  LLF_KIND_OF(EmitRegionNestedRect, EmitRegion)
  LLF::Vector2 GetRandomPoint() override;
  // Data without ";" keeps the rectangles as they are (false).
  bool SetData(const std::wstring& data) override;
  std::wstring GetShape() const override { return L"nestedrect"; }
  std::wstring GetData() const override;

 private:
  LLF::RectF _outer = LLF::RectF(0.0f, 0.0f, 100.0f, 100.0f);
  LLF::RectF _inner = LLF::RectF(10.0f, 10.0f, 90.0f, 90.0f);
};

}  // namespace HLF
