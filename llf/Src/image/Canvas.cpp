#include "image/Canvas.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "core/Exception.h"
#include "core/StringUtils.h"
#include "math/MathTable.h"

namespace LLF {

namespace {

// Holds the canvas lock for a scope and tells whether it was taken.
class ScopedLock {
 public:
  explicit ScopedLock(Mutex& mutex) : _mutex(mutex), _locked(mutex.Lock()) {}
  ~ScopedLock() {
    if (_locked) _mutex.Unlock();
  }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;
  bool Locked() const { return _locked; }

 private:
  Mutex& _mutex;
  bool _locked;
};

using Pixel = uint32_t;

inline Pixel LoadPixel(const uint8_t* p) {
  Pixel v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void StorePixel(uint8_t* p, Pixel v) {
  std::memcpy(p, &v, 4);
}

// (a >> 1) + (b >> 1) for each of the four bytes on its own.
inline Pixel Average(Pixel a, Pixel b) {
  return ((a >> 1) & 0x7F7F7F7Fu) + ((b >> 1) & 0x7F7F7F7Fu);
}

// One line of the two-pass resampler: srcCount pixels, srcStride apart, into
// dstCount pixels, dstStride apart. Shrinking blends the source pixels that a
// destination pixel skips over; enlarging blends toward each new source pixel
// across the gap it leaves. Every line starts afresh, and destination pixels
// after the last one written repeat it, so no line bleeds into the next and
// none ends in empty pixels.
void ResampleLine(const Pixel* src, unsigned srcCount, size_t srcStride, Pixel* dst, unsigned dstCount,
                  size_t dstStride) {
  const auto S = [&](int i) { return src[size_t(i) * srcStride]; };
  const auto D = [&](int i) -> Pixel& { return dst[size_t(i) * dstStride]; };
  const int srcN = int(srcCount);
  const int dstN = int(dstCount);
  const float ratio = float(srcCount) / float(dstCount);
  float acc = 0.0f;
  int xs = 0;
  int xd = 0;
  int gap = 0;
  int last = -1;
  if (ratio > 1.0f) {
    while (xd < dstN && xs < srcN) {
      D(xd) = S(xs);
      if (gap > 1) {
        for (int k = 0; k < gap; ++k) D(xd) = Average(D(xd), S(xs - k));
      }
      last = xd;
      ++xd;
      acc += ratio;
      const int n = int(acc);
      gap = n - xs;
      xs = n;
    }
  } else {
    const float step = float(dstCount) / float(srcCount);
    while (xs < srcN && xd < dstN) {
      D(xd) = S(xs);
      if (gap > 1) {
        for (int p = xd - gap + 1; p <= xd; ++p) D(p) = Average(D(p - 1), S(xs));
      }
      last = xd;
      ++xs;
      acc += step;
      const int n = int(acc);
      gap = n - xd;
      xd = n;
    }
  }
  for (int p = last + 1; p < dstN && last >= 0; ++p) D(p) = D(last);
}

}  // namespace

unsigned Canvas::BytesPerPixel(unsigned format) {
  return (format == IMGFORMAT_R8G8B8X8 || format == IMGFORMAT_R8G8B8A8) ? 4u : 0u;
}

Canvas::Canvas(unsigned width, unsigned height, unsigned format, bool zeroFill) {
  ScopedLock lock(_lock);
  SetBuffer(width, height, format, zeroFill);
}

Canvas::Canvas(const Canvas& source) : Object(source) {
  CreateFrom(source);
}

std::wstring Canvas::Dump() const {
  const wchar_t* name = _format == IMGFORMAT_R8G8B8X8   ? L"IMGFORMAT_R8G8B8X8"
                        : _format == IMGFORMAT_R8G8B8A8 ? L"IMGFORMAT_R8G8B8A8"
                                                        : L"Unknown format";
  return L"Canvas: Width - " + ToString(_width) + L" Height - " + ToString(_height) + L" Format - " + name;
}

bool Canvas::SetBuffer(unsigned width, unsigned height, unsigned format, bool zeroFill) {
  const uint64_t pixels = uint64_t(width) * height;
  if (pixels > kMaxPixels) return false;
  try {
    const size_t kept = _pixels.size();
    _pixels.resize(size_t(pixels) * BytesPerPixel(format));
    if (zeroFill && _pixels.size() > kept) std::memset(_pixels.data() + kept, 0, _pixels.size() - kept);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  _format = format;
  _width = width;
  _height = height;
  return true;
}

bool Canvas::Create(unsigned width, unsigned height, unsigned format) {
  ScopedLock lock(_lock);
  return lock.Locked() && SetBuffer(width, height, format);
}

bool Canvas::CreateFrom(const Canvas& source) {
  if (&source == this) return true;
  ScopedLock lock(_lock);
  if (!lock.Locked()) return false;
  try {
    _pixels.resize(source._pixels.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!_pixels.empty()) g_memoryTable.copy(_pixels.data(), source._pixels.data(), _pixels.size());
  _format = source._format;
  _width = source._width;
  _height = source._height;
  return true;
}

bool Canvas::ChangeFormat(unsigned format) {
  if (format == _format) return true;
  if (IsPixelFormat() && BytesPerPixel(format) == 4) {
    _format = format;
    return true;
  }
  LLF_THROW(0, L"ChangeFormat feature is not implemented yet!", L"");
}

bool Canvas::Resize(unsigned width, unsigned height) {
  ScopedLock lock(_lock);
  return lock.Locked() && SetBuffer(width, height, _format);
}

bool Canvas::Scale(unsigned width, unsigned height) {
  if (width == 0 || height == 0) return false;
  ScopedLock lock(_lock);
  if (!lock.Locked() || !IsPixelFormat() || _width == 0 || _height == 0) return false;
  if (uint64_t(width) * height > kMaxPixels || uint64_t(width) * _height > kMaxPixels) return false;

  std::vector<Pixel> source;
  std::vector<Pixel> across;
  std::vector<Pixel> result;
  try {
    source.resize(size_t(_width) * _height);
    across.assign(size_t(width) * _height, 0);
    result.assign(size_t(width) * height, 0);
    _pixels.reserve(result.size() * 4);
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::memcpy(source.data(), _pixels.data(), _pixels.size());

  // Across each stored row, then down each column of the intermediate.
  for (unsigned row = 0; row < _height; ++row) {
    ResampleLine(&source[size_t(row) * _width], _width, 1, &across[size_t(row) * width], width, 1);
  }
  for (unsigned column = 0; column < width; ++column) {
    ResampleLine(&across[column], _height, width, &result[column], height, width);
  }

  _pixels.resize(result.size() * 4);
  std::memcpy(_pixels.data(), result.data(), _pixels.size());
  _width = width;
  _height = height;
  return true;
}

bool Canvas::CopyAlphaFrom(Canvas& mask) {
  if (mask._width != _width || mask._height != _height) return false;
  ScopedLock lock(_lock);
  if (!lock.Locked()) return false;
  if (!IsPixelFormat()) return false;
  ScopedLock maskLock(mask._lock);
  // A mask of an unknown format has no bytes to read. Checked before the
  // format changes, so a refused mask leaves an opaque canvas opaque.
  if (!maskLock.Locked() || mask._pixels.size() != _pixels.size()) return false;
  if (_format == IMGFORMAT_R8G8B8X8) ChangeFormat(IMGFORMAT_R8G8B8A8);
  // Both canvases share size and row order, so pixel i of one is pixel i of
  // the other.
  for (size_t i = 0; i < _pixels.size(); i += 4) _pixels[i + 3] = mask._pixels[i];
  return true;
}

void Canvas::Blur(int radius) {
  // 2 * radius + 1 < 65, checked without doubling a radius that would overflow.
  if (radius < 0 || radius > 31 || !IsPixelFormat() || _pixels.empty()) return;
  const int w = int(_width);
  const int h = int(_height);
  int weight[64];
  for (int d = -radius; d <= radius; ++d)
    weight[d + radius] = (radius + 1 - std::abs(d)) * (radius + 1 - std::abs(d));

  // Horizontal results per pixel and byte; the source bytes stay in the
  // buffer until the vertical pass writes them.
  std::vector<uint32_t> across;
  try {
    across.resize(_pixels.size());
  } catch (const std::bad_alloc&) {
    return;  // too large to blur here; the canvas stays as it was
  }
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = &_pixels[size_t(y) * w * 4];
    uint32_t* out = &across[size_t(y) * w * 4];
    for (int x = 0; x < w; ++x) {
      uint32_t sum[4] = {0, 0, 0, 0};
      uint32_t total = 0;
      const int from = std::max(-radius, -x);
      const int to = std::min(radius, w - 1 - x);
      for (int d = from; d <= to; ++d) {
        const uint32_t k = uint32_t(weight[d + radius]);
        const uint8_t* p = row + size_t(x + d) * 4;
        for (int b = 0; b < 4; ++b) sum[b] += k * p[b];
        total += k;
      }
      for (int b = 0; b < 4; ++b) out[size_t(x) * 4 + b] = sum[b] / total;
    }
  }
  for (int y = 0; y < h; ++y) {
    const int from = std::max(-radius, -y);
    const int to = std::min(radius, h - 1 - y);
    for (int x = 0; x < w; ++x) {
      uint32_t sum[4] = {0, 0, 0, 0};
      uint32_t total = 0;
      for (int d = from; d <= to; ++d) {
        const uint32_t k = uint32_t(weight[d + radius]);
        const uint32_t* p = &across[(size_t(y + d) * w + x) * 4];
        for (int b = 0; b < 4; ++b) sum[b] += k * p[b];
        total += k;
      }
      uint8_t* q = &_pixels[(size_t(y) * w + x) * 4];
      for (int b = 0; b < 4; ++b) q[b] = uint8_t(sum[b] / total);
    }
  }
}

bool Canvas::FlipHorizontal() {
  ScopedLock lock(_lock);
  if (!lock.Locked()) return false;
  if (!IsPixelFormat()) return true;
  for (unsigned r = 0; r < _height; ++r) {
    uint8_t* row = &_pixels[size_t(r) * _width * 4];
    for (unsigned c = 0; c < _width / 2; ++c) {
      uint8_t* a = row + size_t(c) * 4;
      uint8_t* b = row + size_t(_width - 1 - c) * 4;
      const Pixel t = LoadPixel(a);
      StorePixel(a, LoadPixel(b));
      StorePixel(b, t);
    }
  }
  return true;
}

bool Canvas::FlipVertical() {
  ScopedLock lock(_lock);
  if (!lock.Locked()) return false;
  if (!IsPixelFormat()) return true;
  const size_t rowBytes = size_t(_width) * 4;
  for (unsigned r = 0; r < _height / 2; ++r) {
    std::swap_ranges(&_pixels[r * rowBytes], &_pixels[r * rowBytes] + rowBytes,
                     &_pixels[(_height - 1 - r) * rowBytes]);
  }
  return true;
}

bool Canvas::Grayscale() {
  ScopedLock lock(_lock);
  if (!lock.Locked()) return false;
  // The single-precision weights, summed in double: each product of a byte
  // and a float is exact there, so the truncation matches extended precision.
  const double green = 0.59f;
  const double red = 0.30f;
  const double blue = 0.11f;
  for (size_t i = 0; i + 3 < _pixels.size(); i += 4) {
    uint8_t* p = &_pixels[i];
    const auto g = uint8_t(green * p[1] + red * p[0] + blue * p[2]);
    p[0] = p[1] = p[2] = g;
  }
  return true;
}

bool Canvas::Trim(Rect* out, bool powerOfTwo) {
  const int w = int(_width);
  const int h = int(_height);
  const auto opaque = [&](int x, int y) {
    Color c;
    return GetPixel(&c, x, y)->a != 0;
  };
  const auto columnHas = [&](int x) {
    for (int y = 0; y < h; ++y)
      if (opaque(x, y)) return true;
    return false;
  };
  const auto rowHas = [&](int y) {
    for (int x = 0; x < w; ++x)
      if (opaque(x, y)) return true;
    return false;
  };
  // The first column (row) holding an opaque pixel and the extent to the
  // last one; 0 and the whole size when there is none.
  const auto span = [](int count, const auto& has) {
    int first = 0;
    while (first < count && !has(first)) ++first;
    if (first == count) return std::pair(0, count);
    int last = count - 1;
    while (!has(last)) --last;
    return std::pair(first, last - first + 1);
  };
  const auto [left, width] = span(w, columnHas);
  const auto [top, height] = span(h, rowHas);

  // The smallest power of two strictly greater than v: 64 gives 128.
  const auto nextPowerOfTwo = [](unsigned v) {
    unsigned p = 1;
    while (p <= v) p <<= 1;
    return p;
  };
  const unsigned newWidth = powerOfTwo ? nextPowerOfTwo(unsigned(width)) : unsigned(width);
  const unsigned newHeight = powerOfTwo ? nextPowerOfTwo(unsigned(height)) : unsigned(height);
  Canvas trimmed(newWidth, newHeight, _format);
  if (trimmed._width != newWidth || trimmed._height != newHeight) return false;
  const Rect area(0, 0, width, height);
  const Point from(left, top);
  trimmed.Blit(&area, *this, &from);
  if (out) *out = Rect(left, top, width, height);
  return CreateFrom(trimmed);
}

uint8_t* Canvas::GetData() {
  return _pixels.empty() ? nullptr : _pixels.data();
}

const uint8_t* Canvas::GetData() const {
  return _pixels.empty() ? nullptr : _pixels.data();
}

uint8_t* Canvas::GetRow(unsigned y) {
  return (y < _height && IsPixelFormat()) ? &_pixels[size_t(_height - y - 1) * _width * 4] : nullptr;
}

const uint8_t* Canvas::GetRow(unsigned y) const {
  return (y < _height && IsPixelFormat()) ? &_pixels[size_t(_height - y - 1) * _width * 4] : nullptr;
}

int64_t Canvas::PixelIndex(int x, int y) const {
  if (x < 0 || y < 0 || unsigned(x) >= _width || unsigned(y) >= _height || !IsPixelFormat()) return -1;
  return (int64_t(_height - unsigned(y) - 1) * _width + x) * 4;
}

Color* Canvas::GetPixel(Color* out, int x, int y) const {
  if (!out) return out;
  *out = Color(255, 255, 255, 255);
  const int64_t i = PixelIndex(x, y);
  if (i >= 0) std::memcpy(out, &_pixels[size_t(i)], 4);
  return out;
}

void Canvas::SetPixel(int x, int y, const Color* color) {
  const int64_t i = PixelIndex(x, y);
  if (i >= 0 && color) std::memcpy(&_pixels[size_t(i)], color, 4);
}

bool Canvas::Lock() {
  return _lock.Lock();
}

bool Canvas::Unlock() {
  return _lock.Unlock();
}

bool Canvas::Fill(const Color* color) {
  ScopedLock lock(_lock);
  if (!lock.Locked()) return false;
  if (!color || !IsPixelFormat() || _pixels.empty()) return true;
  const size_t rowBytes = size_t(_width) * 4;
  for (unsigned x = 0; x < _width; ++x) std::memcpy(&_pixels[size_t(x) * 4], color, 4);
  for (unsigned r = 1; r < _height; ++r) g_memoryTable.copy(&_pixels[r * rowBytes], _pixels.data(), rowBytes);
  return true;
}

bool Canvas::FillRect(const Rect* rect, const Color* color) {
  return PaintRect(rect, color, false);
}

bool Canvas::FrameRect(const Rect* rect, const Color* color) {
  return PaintRect(rect, color, true);
}

bool Canvas::PaintRect(const Rect* rect, const Color* color, bool frameOnly) {
  ScopedLock lock(_lock);
  if (!lock.Locked() || !IsPixelFormat()) return false;
  if (!rect || !color) return true;
  // Left, top, right, bottom; the loops run over the part inside the canvas.
  const int64_t left = rect->x;
  const int64_t top = rect->y;
  const int64_t right = rect->width;
  const int64_t bottom = rect->height;
  const int64_t x1 = std::min<int64_t>(right, _width);
  const int64_t y1 = std::min<int64_t>(bottom, _height);
  for (int64_t y = std::max<int64_t>(top, 0); y < y1; ++y) {
    uint8_t* row = GetRow(unsigned(y));
    const bool edgeRow = y == top || y == bottom - 1;
    for (int64_t x = std::max<int64_t>(left, 0); x < x1; ++x) {
      if (!frameOnly || edgeRow || x == left || x == right - 1) std::memcpy(row + size_t(x) * 4, color, 4);
    }
  }
  return true;
}

bool Canvas::Blit(const Rect* destination, const Canvas& source, const Point* origin) {
  ScopedLock lock(_lock);
  if (!lock.Locked() || !IsPixelFormat()) return false;
  if (!destination || !origin) return true;
  // Source pixel of destination (x, y) = origin + (x - left, y - top); the
  // pixels written form one rectangle: the destination clipped to this
  // canvas and to where the source exists.
  const int64_t left = destination->x;
  const int64_t top = destination->y;
  const int64_t dx = int64_t(origin->x) - left;
  const int64_t dy = int64_t(origin->y) - top;
  const int64_t x0 = std::max({left, int64_t(0), -dx});
  const int64_t y0 = std::max({top, int64_t(0), -dy});
  const int64_t x1 = std::min({int64_t(destination->width), int64_t(_width), int64_t(source._width) - dx});
  const int64_t y1 = std::min({int64_t(destination->height), int64_t(_height), int64_t(source._height) - dy});
  if (x0 >= x1 || y0 >= y1) return true;
  const size_t runBytes = size_t(x1 - x0) * 4;
  for (int64_t y = y0; y < y1; ++y) {
    uint8_t* to = GetRow(unsigned(y)) + size_t(x0) * 4;
    const uint8_t* from = source.GetRow(unsigned(y + dy));
    if (from) {
      std::memmove(to, from + size_t(x0 + dx) * 4, runBytes);
    } else {
      // A source of an unknown format has no bytes: its pixels read as the
      // preset white.
      for (int64_t x = x0; x < x1; ++x) std::memset(to + size_t(x - x0) * 4, 255, 4);
    }
  }
  return true;
}

}  // namespace LLF
