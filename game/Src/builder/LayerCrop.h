#pragma once
// Cutting the visible part out of a layer image: a layer is a picture on a
// transparent canvas of the scene's size, and its visible part (alpha not 0)
// is what a level shows.
#include <memory>
#include <string>

#include "image/Image.h"
#include "math/Rect.h"

class LayerCrop {
 public:
  // 1 for 0, else the smallest power of two strictly greater than value
  // (64 gives 128); 0 when none fits in 32 bits.
  static unsigned NextPowerOfTwo(unsigned value);
  // {left, top, width, height} of the pixels whose alpha is not 0; the whole
  // image when none is (or the image has no alpha).
  static LLF::Rect VisibleBounds(const LLF::Image& image);
  // A new RGBA image with the rectangle's pixels at its top left, enlarged
  // to power-of-two sides when asked (the rest zero). A source without alpha
  // comes out opaque rather than invisible. Null when it cannot be made.
  static std::unique_ptr<LLF::Image> Cut(const LLF::Image& source, const LLF::Rect& rect, bool powerOfTwo);
  // The layer at path, owned by the caller; null when it cannot be loaded
  // (logged unless the path names an XML file). A layer without alpha is
  // kept whole, which the log warns of.
  static std::unique_ptr<LLF::Image> LoadLayer(const std::wstring& path);
  // Loads source, saves its visible part at destination and sets out. The
  // source file stays: the caller deletes it once every output of its run
  // is written. The loaded image is freed on every path.
  static bool CropLayerImage(const std::wstring& source, const std::wstring& destination, LLF::Rect& out,
                             bool powerOfTwo);
};
