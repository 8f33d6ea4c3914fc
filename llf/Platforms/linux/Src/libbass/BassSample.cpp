#include "BassSample.h"

#include <algorithm>
#include <limits>

namespace LibBass {

BassSample::BassSample(std::shared_ptr<const std::vector<float>> frames, uint32_t rate, uint32_t fileChannels,
                       uint32_t max, uint32_t flags)
    : _frames(std::move(frames)) {
  const size_t length = _frames->size() / 2;
  _info.freq = rate;
  _info.volume = 100;
  _info.pan = 0;
  _info.flags = flags & kBassSampleLoop;
  _info.length = static_cast<uint32_t>(std::min<size_t>(length, std::numeric_limits<uint32_t>::max()));
  _info.max = max;
  _info.chans = fileChannels;
}

}  // namespace LibBass
