#pragma once
// "accdecelerate": fast at both ends and slow in the middle. It dips to
// about -0.0016 at 0 and overshoots to about 1.0016 just below 1. Layouts
// wanting the usual ease-in-out name "decaccelerate".
#include "modifiers/TimeWarp.h"

namespace HLF {

class TimeWarpAccDec : public TimeWarp {
 public:
  TimeWarpAccDec() { _tag = L"accdecelerate"; }

  // Exactly 1 at t = 1.
  float Warp(float t) override;
  TimeWarp* CreateInstance() override;
};

}  // namespace HLF
