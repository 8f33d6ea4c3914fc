#pragma once
// A decoded sample: its stereo frames, shared with the channels that play
// them, the defaults new channels take, and the handles of its channels.
#include <memory>
#include <vector>

#include "sound/BassApi.h"

namespace LibBass {

class BassSample {
 public:
  BassSample(std::shared_ptr<const std::vector<float>> frames, uint32_t rate, uint32_t fileChannels,
             uint32_t max, uint32_t flags);

  const std::shared_ptr<const std::vector<float>>& Frames() const { return _frames; }
  const BassSampleInfo& Info() const { return _info; }
  BassSampleInfo& Info() { return _info; }
  std::vector<BassHandle>& Channels() { return _channels; }

 private:
  std::shared_ptr<const std::vector<float>> _frames;  // interleaved stereo
  BassSampleInfo _info;
  std::vector<BassHandle> _channels;
};

}  // namespace LibBass
