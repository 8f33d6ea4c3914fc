#include "BassSampleChannel.h"

#include <algorithm>
#include <cstring>

namespace LibBass {

BassSampleChannel::BassSampleChannel(BassHandle handle, BassHandle sample,
                                     std::shared_ptr<const std::vector<float>> frames, uint32_t nativeRate,
                                     const BassSampleInfo& defaults)
    : BassVoice(handle, nativeRate, defaults.freq, defaults.volume, defaults.pan,
                (defaults.flags & kBassSampleLoop) != 0),
      _sample(sample),
      _frames(std::move(frames)),
      _length(_frames->size() / 2) {}

int BassSampleChannel::Peek(float* dst, int frames) {
  const float* data = _frames->data();
  int done = 0;
  size_t pos = _pos;
  while (done < frames) {
    if (pos >= _length) {
      if (!Looped()) {
        // Hold the last frame so that it can be interpolated.
        std::memcpy(dst + 2 * done, data + 2 * (_length - 1), 2 * sizeof(float));
        return done + 1;
      }
      pos = 0;
    }
    const int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(frames - done), _length - pos));
    std::memcpy(dst + 2 * done, data + 2 * pos, 2 * sizeof(float) * static_cast<size_t>(n));
    done += n;
    pos += static_cast<size_t>(n);
  }
  return done;
}

void BassSampleChannel::Consume(int frames) {
  const size_t n = static_cast<size_t>(frames);
  if (Looped()) {
    _pos = (_pos + n) % _length;
  } else {
    _pos = std::min(_pos + n, _length);
  }
}

bool BassSampleChannel::AtEnd() const {
  return !Looped() && _pos >= _length;
}

}  // namespace LibBass
