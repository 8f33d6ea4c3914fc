#pragma once
// The sound driver's start-up record, copied by value into the driver.

namespace LLF {

struct SoundSettings {
  bool preferRealDriver = true;  // try drivers that make sound before the silent one
  bool sixteenBit = true;        // sample width handed to the driver
  unsigned sampleRate = 44100;   // Hz
  unsigned channels = 32;        // simultaneous sound channels asked for
};

}  // namespace LLF
