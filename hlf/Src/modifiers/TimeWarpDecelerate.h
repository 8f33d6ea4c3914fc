#pragma once
// "decelerate": starts fast and ends slowly, sin(90t degrees).
#include "modifiers/TimeWarp.h"

namespace HLF {

class TimeWarpDecelerate : public TimeWarp {
 public:
  TimeWarpDecelerate() { _tag = L"decelerate"; }

  // Exactly 1 at t = 1.
  float Warp(float t) override;
  TimeWarp* CreateInstance() override;
};

}  // namespace HLF
