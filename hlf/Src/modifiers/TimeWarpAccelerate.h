#pragma once
// "accelerate": starts slowly and ends fast, 1 - cos(90t degrees).
#include "modifiers/TimeWarp.h"

namespace HLF {

class TimeWarpAccelerate : public TimeWarp {
 public:
  TimeWarpAccelerate() { _tag = L"accelerate"; }

  // Exactly 1 at t = 1.
  float Warp(float t) override;
  TimeWarp* CreateInstance() override;
};

}  // namespace HLF
