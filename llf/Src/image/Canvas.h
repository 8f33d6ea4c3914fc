#pragma once
// An in-memory picture of 4-byte pixels (red, green, blue, then alpha or an
// unused byte) with its own lock. Rows are stored bottom-up: pixel (x, y),
// y counted from the top, lies at ((height - y - 1) * width + x) * 4.
//
//
// Every pixel access is clipped to the canvas: reads outside give the preset
// white, writes outside are dropped, and rectangle operations clip at all
// four sides.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/Mutex.h"
#include "core/Object.h"
#include "math/Color.h"
#include "math/Point.h"
#include "math/Rect.h"

namespace LLF {

enum ImageFormat : unsigned {
  IMGFORMAT_R8G8B8X8 = 0,  // fourth byte kept but not treated as alpha
  IMGFORMAT_R8G8B8A8 = 1,  // fourth byte is alpha, 0 transparent
};

class Canvas : public virtual Object {
 public:
  // 4 for the two known formats, 0 for anything else (so an unknown format
  // has an empty buffer).
  static unsigned BytesPerPixel(unsigned format);
  // Largest number of pixels a canvas takes (256 MB of pixel bytes); a
  // bigger size is refused rather than allocated.
  static constexpr uint64_t kMaxPixels = uint64_t(1) << 26;

  // With zeroFill false the pixel bytes are left undefined, for decoders
  // that write every pixel anyway.
  Canvas(unsigned width, unsigned height, unsigned format, bool zeroFill = true);
  Canvas(const Canvas& source);
  Canvas& operator=(const Canvas&) = delete;

  LLF_KIND_OF(Canvas, Object)
  ~Canvas() override = default;
  std::wstring Dump() const override;

  virtual unsigned GetFormat() const { return _format; }
  virtual unsigned GetWidth() const { return _width; }
  virtual unsigned GetHeight() const { return _height; }
  virtual Point GetSize() const { return Point(int(_width), int(_height)); }
  // Sets size and format; bytes already present are kept, added ones are 0.
  // False when the lock cannot be taken or the buffer cannot be allocated
  // (the canvas is then unchanged).
  virtual bool Create(unsigned width, unsigned height, unsigned format);
  virtual bool CreateFrom(const Canvas& source);
  // Between the two known formats only the number changes; any other pair
  // throws code 0.
  virtual bool ChangeFormat(unsigned format);
  // New size without resampling: leading bytes kept, new ones 0.
  virtual bool Resize(unsigned width, unsigned height);
  // Resamples to the new size (both at least 1).
  virtual bool Scale(unsigned width, unsigned height);
  // Alpha of every pixel from the mask's red byte; the mask must have the
  // same size. A format-0 canvas becomes format 1.
  virtual bool CopyAlphaFrom(Canvas& mask);
  // Separable weighted blur over all four bytes; radius 0 to 31, any other
  // radius leaves the canvas unchanged. Takes no lock.
  virtual void Blur(int radius);
  // A hook with no use of its own, kept for subclasses.
  virtual void OnHook() {}
  virtual bool FlipHorizontal();
  virtual bool FlipVertical();
  // Grey from the single-precision weights 0.59 green, 0.30 red, 0.11 blue;
  // white becomes 254. The fourth byte is kept.
  virtual bool Grayscale();
  // Crops to the bounding box of pixels with non-zero alpha; out receives
  // that box. With powerOfTwo the canvas gets the next power of two strictly
  // greater than each side (64 gives 128), the picture at its top left.
  virtual bool Trim(Rect* out, bool powerOfTwo);
  // First stored byte; null for an empty canvas.
  virtual uint8_t* GetData();
  // Sets out to opaque white, then copies the pixel over it when (x, y) is
  // inside. Returns out.
  virtual Color* GetPixel(Color* out, int x, int y) const;
  virtual void SetPixel(int x, int y, const Color* color);
  virtual bool Lock();
  virtual bool Unlock();
  virtual bool Fill(const Color* color);
  // The rectangle's four numbers are left, top, right, bottom (exclusive).
  virtual bool FillRect(const Rect* rect, const Color* color);
  virtual bool FrameRect(const Rect* rect, const Color* color);
  // Copies source pixels into the destination rectangle (left, top, right,
  // bottom), source pixel = origin + (x - left, y - top). Destination pixels
  // outside this canvas or whose source lies outside the source are skipped.
  virtual bool Blit(const Rect* destination, const Canvas& source, const Point* origin);

  const uint8_t* GetData() const;
  // Bytes in the buffer.
  size_t GetDataSize() const { return _pixels.size(); }
  // First byte of the picture row y counted from the top (stored row
  // height - y - 1); null when y is outside or the format is unknown.
  uint8_t* GetRow(unsigned y);
  const uint8_t* GetRow(unsigned y) const;

 private:
  // Byte index of pixel (x, y) or -1 when it is outside the buffer.
  int64_t PixelIndex(int x, int y) const;
  bool IsPixelFormat() const { return BytesPerPixel(_format) == 4; }
  // FillRect, or with frameOnly FrameRect.
  bool PaintRect(const Rect* rect, const Color* color, bool frameOnly);
  // Resizes the buffer for the given numbers, added bytes 0 when zeroFill;
  // false when it cannot be allocated. The caller holds the lock.
  bool SetBuffer(unsigned width, unsigned height, unsigned format, bool zeroFill = true);

  // Grows without writing the new bytes; SetBuffer zeroes them itself
  // unless told not to.
  template <class T>
  struct NoInitAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
      using other = NoInitAllocator<U>;
    };
    NoInitAllocator() = default;
    template <class U>
    NoInitAllocator(const NoInitAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };

  Mutex _lock;
  unsigned _format = IMGFORMAT_R8G8B8X8;
  std::vector<uint8_t, NoInitAllocator<uint8_t>> _pixels;
  unsigned _width = 0;
  unsigned _height = 0;
};

}  // namespace LLF
