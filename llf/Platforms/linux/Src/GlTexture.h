#pragma once
// A texture of the OpenGL device: a system-memory copy that any thread may
// create, lock and fill, and an OpenGL texture that the context's thread
// creates and fills from it when the texture is next drawn with. Like a
// managed-pool texture it needs no refill after a device reset.
//
// The pixel copy is freed once the OpenGL texture holds it; a later lock
// gives a fresh, zeroed copy to fill.
#include <GL/gl.h>

#include <memory>
#include <mutex>
#include <vector>

#include "GlReleaseQueue.h"
#include "IGfxTexture.h"

namespace LLF {

struct GlFunctions;

class GlTexture : public IGfxTexture {
 public:
  // What the device shares with the texture; lives while either holds it.
  struct Data {
    Data(uint32_t w, uint32_t h, uint32_t f, std::shared_ptr<GlReleaseQueue> q)
        : width(w), height(h), format(f), queue(std::move(q)) {}
    ~Data();

    const uint32_t width;
    const uint32_t height;
    const uint32_t format;
    const std::shared_ptr<GlReleaseQueue> queue;  // of the device that made it

    std::mutex mutex;  // held from LockRect to UnlockRect and while uploading
    std::vector<uint8_t> pixels;
    bool dirty = false;

    // Context thread only.
    GLuint name = 0;
    bool allocated = false;  // storage of the full size exists
    GLint wrapS = 0;
    GLint wrapT = 0;
    GLint magFilter = 0;
    GLint minFilter = 0;
  };

  GlTexture(uint32_t width, uint32_t height, uint32_t format, std::shared_ptr<GlReleaseQueue> queue);

  LLF_KIND_OF(GlTexture, IGfxTexture)
  ~GlTexture() override;
  std::wstring Dump() const override;

  void GetDesc(GfxSurfaceDesc& desc) const override;
  bool LockRect(GfxLockedRect& locked) override;
  bool UnlockRect() override;

  const std::shared_ptr<Data>& GetData() const { return _data; }

  // Context thread: makes the OpenGL texture current on unit 0, filled from
  // the pixel copy when that changed, with the given sampling state.
  static void Bind(const GlFunctions& gl, Data& data, GLint wrapS, GLint wrapT, GLint magFilter,
                   GLint minFilter);

 private:
  std::shared_ptr<Data> _data;
  bool _locked = false;
};

}  // namespace LLF
