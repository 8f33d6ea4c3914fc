#pragma once
// Images held by the images manager under ids, as the game's asset loader
// leaves them: each is written as a PNG file into a fresh folder and loaded
// back under its id (not uploaded), then given its cell grid. The PNG codec
// is registered for the scope's life; at its end every image is freed and
// the codec unregistered again.
#include <functional>
#include <string>

#include "math/Color.h"

namespace LLF {
class Image;
}

namespace QmTest {

class ImageAssets {
 public:
  ImageAssets();
  ~ImageAssets();
  ImageAssets(const ImageAssets&) = delete;
  ImageAssets& operator=(const ImageAssets&) = delete;

  // A width x height image (format 1, with alpha) whose pixel (x, y), y
  // from the top, is pixel(x, y), cut into cells x loops; the manager's
  // image.
  LLF::Image* Add(const std::wstring& id, unsigned width, unsigned height, unsigned cells, unsigned loops,
                  const std::function<LLF::Color(int x, int y)>& pixel);
  // One colour everywhere.
  LLF::Image* Add(const std::wstring& id, unsigned width, unsigned height, unsigned cells = 1,
                  unsigned loops = 1, const LLF::Color& color = LLF::Color(255, 255, 255, 255));

 private:
  std::string _folder;
};

}  // namespace QmTest
