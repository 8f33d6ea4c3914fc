#include "BassStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace LibBass {

BassStream::BassStream(BassHandle handle, std::unique_ptr<BassDecoder> decoder, int64_t readAheadFrames,
                       bool loop)
    : BassVoice(handle, decoder->Rate(), decoder->Rate(), 100, 0, loop),
      _decoder(std::move(decoder)),
      _fillBuffer(static_cast<size_t>(kFillChunk) * 2),
      _ring(static_cast<size_t>(readAheadFrames) * 2),
      _capacity(readAheadFrames) {}

void BassStream::Close() {
  std::lock_guard<std::mutex> decoding(_decodeLock);
  _decoder.reset();
}

void BassStream::Fill(std::mutex& engineLock) {
  std::lock_guard<std::mutex> decoding(_decodeLock);
  if (!_decoder) {
    return;
  }
  for (;;) {
    bool rewind = false;
    bool wrap = false;
    int64_t room = 0;
    {
      std::lock_guard<std::mutex> lock(engineLock);
      if (_freed) {
        return;
      }
      rewind = _rewindPending;
      wrap = !rewind && _atEnd && !RealEnd();
      if (!rewind && !wrap && _atEnd) {
        return;  // the file is over and the stream does not loop
      }
      room = _capacity - static_cast<int64_t>(_written - _read);
      if (_markCount == kMaxMarks) {
        room = 0;
      }
    }
    if (rewind || wrap) {
      const bool ok = _decoder->Rewind();
      _sinceStart = 0;
      std::lock_guard<std::mutex> lock(engineLock);
      if (rewind) {
        _written = _read = _played = 0;
        _markHead = _markCount = 0;
        _rewindPending = false;
        _dead = false;
      }
      _atEnd = !ok;
      if (!ok) {
        // A file that cannot seek back ends here; after a wrap the ring
        // already holds the mark of this end.
        _dead = true;
        if (rewind) {
          _marks[(_markHead + _markCount++) % kMaxMarks] = _written;
        }
        return;
      }
      continue;
    }
    if (room <= 0) {
      return;
    }
    const int64_t want = std::min(room, kFillChunk);
    const int64_t got = std::max<int64_t>(_decoder->Read(_fillBuffer.data(), want), 0);
    _sinceStart += got;
    std::lock_guard<std::mutex> lock(engineLock);
    if (_freed) {
      return;
    }
    if (_rewindPending) {
      continue;  // a rewind came while decoding: these frames are stale
    }
    Append(_fillBuffer.data(), got);
    if (got < want) {
      // The end of the file, or damage that ends the data early.
      _marks[(_markHead + _markCount++) % kMaxMarks] = _written;
      _atEnd = true;
      _dead = _dead || _sinceStart == 0;
    }
  }
}

void BassStream::Append(const float* frames, int64_t count) {
  for (int64_t done = 0; done < count;) {
    const auto slot = static_cast<int64_t>(_written % static_cast<uint64_t>(_capacity));
    const int64_t n = std::min(count - done, _capacity - slot);
    std::memcpy(_ring.data() + 2 * slot, frames + 2 * done, static_cast<size_t>(n) * 2 * sizeof(float));
    done += n;
    _written += static_cast<uint64_t>(n);
  }
}

uint64_t BassStream::MarkAt(int index) const {
  return index < _markCount ? _marks[(_markHead + index) % kMaxMarks] : std::numeric_limits<uint64_t>::max();
}

int BassStream::Peek(float* dst, int frames) {
  if (_rewindPending) {
    return 0;
  }
  uint64_t pos = _read;
  int mark = 0;
  int done = 0;
  while (done < frames) {
    const uint64_t end = MarkAt(mark);
    if (pos == end) {
      if (RealEnd()) {
        if (done == 0) {
          return 0;
        }
        // Hold the last frame so that it can be interpolated.
        std::memcpy(dst + 2 * done, dst + 2 * (done - 1), 2 * sizeof(float));
        return done + 1;
      }
      ++mark;  // looping: what follows the mark is the file's start again
      continue;
    }
    const uint64_t available = std::min(_written, end) - pos;
    if (available == 0) {
      break;  // not decoded yet
    }
    const auto slot = static_cast<int64_t>(pos % static_cast<uint64_t>(_capacity));
    const int64_t n = std::min<int64_t>({frames - done, static_cast<int64_t>(available), _capacity - slot});
    std::memcpy(dst + 2 * done, _ring.data() + 2 * slot, static_cast<size_t>(n) * 2 * sizeof(float));
    done += static_cast<int>(n);
    pos += static_cast<uint64_t>(n);
  }
  return done;
}

void BassStream::Consume(int frames) {
  auto left = static_cast<uint64_t>(frames);
  while (left > 0) {
    const uint64_t end = MarkAt(0);
    if (_read == end) {
      if (RealEnd()) {
        return;
      }
      _markHead = (_markHead + 1) % kMaxMarks;
      --_markCount;
      continue;
    }
    const uint64_t n = std::min(left, std::min(_written, end) - _read);
    if (n == 0) {
      return;
    }
    _read += n;
    _played += n;
    left -= n;
  }
}

bool BassStream::AtEnd() const {
  return !_rewindPending && _markCount > 0 && _read == MarkAt(0) && RealEnd();
}

}  // namespace LibBass
