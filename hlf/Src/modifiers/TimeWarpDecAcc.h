#pragma once
// "decaccelerate": slow at both ends and fast in the middle, the usual
// ease-in-out (about 0.0004 at 0).
#include "modifiers/TimeWarp.h"

namespace HLF {

class TimeWarpDecAcc : public TimeWarp {
 public:
  TimeWarpDecAcc() { _tag = L"decaccelerate"; }

  // Exactly 1 at t = 1.
  float Warp(float t) override;
  TimeWarp* CreateInstance() override;
};

}  // namespace HLF
