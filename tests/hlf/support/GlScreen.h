#pragma once
// The hardware render system on a real OpenGL context: an 800 x 600 window
// of SDL's offscreen video (Mesa), the render system started on it and made
// current for the scope's life. Frames are drawn over black and read back
// for their pixels. Textures made meanwhile (images, fonts) must be
// released before the scope ends.
#include <functional>
#include <memory>

namespace LLF {
class IRenderSystem;
class Image;
class RenderSystemHardware;
}  // namespace LLF

namespace QmTest {

class GlScreen {
 public:
  GlScreen();
  ~GlScreen();
  GlScreen(const GlScreen&) = delete;
  GlScreen& operator=(const GlScreen&) = delete;

  // Whether the window and the render system started.
  bool IsReady() const { return _ready; }
  LLF::RenderSystemHardware& Render();
  // One frame: cleared to black, draw, presented; the back buffer as a new
  // image, or null when the frame could not be drawn or read.
  std::unique_ptr<LLF::Image> Frame(const std::function<void(LLF::IRenderSystem*)>& draw);

 private:
  bool _ready = false;
};

}  // namespace QmTest
