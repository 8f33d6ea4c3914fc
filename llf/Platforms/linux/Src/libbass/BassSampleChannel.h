#pragma once
// One channel of a sample: plays the sample's decoded frames from memory.
#include <memory>
#include <vector>

#include "BassVoice.h"

namespace LibBass {

class BassSampleChannel final : public BassVoice {
 public:
  // Takes the sample's frames (shared) and its current defaults.
  BassSampleChannel(BassHandle handle, BassHandle sample, std::shared_ptr<const std::vector<float>> frames,
                    uint32_t nativeRate, const BassSampleInfo& defaults);

  bool IsStream() const override { return false; }
  BassHandle Sample() const { return _sample; }

 protected:
  int Peek(float* dst, int frames) override;
  void Consume(int frames) override;
  bool AtEnd() const override;
  void Rewind() override { _pos = 0; }
  bool AtStart() const override { return _pos == 0; }

 private:
  BassHandle _sample;
  std::shared_ptr<const std::vector<float>> _frames;
  size_t _length;   // in frames, never 0
  size_t _pos = 0;  // next frame to play
};

}  // namespace LibBass
