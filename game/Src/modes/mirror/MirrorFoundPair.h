#pragma once
// A found difference and its two highlights: one where it is drawn, one at
// its mirror place on the other half. The highlights belong to the mode's
// overlay layer.
namespace HLF {
class Dialog;
}

struct MirrorDifference;

struct MirrorFoundPair {
  HLF::Dialog* firstOverlay = nullptr;
  HLF::Dialog* secondOverlay = nullptr;
  MirrorDifference* difference = nullptr;
};
