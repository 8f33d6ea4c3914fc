#pragma once
// A texture of the OpenGL device: a system-memory copy that any thread may
// create, lock and fill, and its copies on the OpenGL side that the
// context's thread fills from it when the texture is next drawn with: an
// OpenGL texture of its own, and for small textures a cell in an atlas page
// (GlAtlas). Like a managed-pool texture it needs no refill after a device
// reset.
//
// Each unlock makes a new version of the pixels; a copy on the OpenGL side
// is refilled when its version is older. The pixel copy of a large texture
// is freed once its own OpenGL texture holds it (a later lock gives a
// fresh, zeroed copy to fill); small textures keep theirs, since an atlas
// cell or the texture of their own may still have to be made from it.
#include <GL/gl.h>

#include <memory>
#include <mutex>
#include <vector>

#include "gl/GlReleaseQueue.h"
#include "render/IGfxTexture.h"

namespace LLF {

struct GlFunctions;

class GlTexture : public IGfxTexture {
 public:
  // What the device shares with the texture; lives while either holds it.
  struct Data {
    Data(uint32_t w, uint32_t h, uint32_t f, std::shared_ptr<GlReleaseQueue> q, bool keep)
        : width(w), height(h), format(f), queue(std::move(q)), keepPixels(keep) {}
    ~Data();

    const uint32_t width;
    const uint32_t height;
    const uint32_t format;
    const std::shared_ptr<GlReleaseQueue> queue;  // of the device that made it
    const bool keepPixels;

    std::mutex mutex;  // held from LockRect to UnlockRect and while copying
    std::vector<uint8_t> pixels;
    uint64_t version = 0;  // counts unlocks

    // Context thread only.
    GLuint name = 0;
    bool allocated = false;  // the OpenGL texture has its full size
    uint64_t uploadedVersion = 0;
    GLint wrapS = 0;
    GLint wrapT = 0;
    GLint magFilter = 0;
    GLint minFilter = 0;
    // The atlas cell, when the texture has one: its page and where its
    // texels start.
    std::shared_ptr<Data> atlasPage;
    uint32_t atlasX = 0;
    uint32_t atlasY = 0;
    bool atlasFilled = false;
    uint64_t atlasVersion = 0;
    bool atlasRefused = false;  // no room was left
  };

  // Textures up to this size keep their pixel copy.
  static constexpr uint32_t kKeepSide = 256;

  GlTexture(uint32_t width, uint32_t height, uint32_t format, std::shared_ptr<GlReleaseQueue> queue);

  LLF_KIND_OF(GlTexture, IGfxTexture)
  ~GlTexture() override;
  std::wstring Dump() const override;

  void GetDesc(GfxSurfaceDesc& desc) const override;
  bool LockRect(GfxLockedRect& locked) override;
  bool UnlockRect() override;

  const std::shared_ptr<Data>& GetData() const { return _data; }

  // Context thread: true when the OpenGL texture of its own is older than
  // the pixels (or missing).
  static bool NeedsUpload(Data& data);
  // Context thread: brings the OpenGL texture of its own up to the pixels'
  // version. Leaves it bound on the active unit.
  static void Upload(const GlFunctions& gl, Data& data);
  // Context thread: binds the OpenGL texture on the active unit with the
  // given sampling state.
  static void Bind(const GlFunctions& gl, Data& data, GLint wrapS, GLint wrapT, GLint magFilter,
                   GLint minFilter);

 private:
  std::shared_ptr<Data> _data;
  bool _locked = false;
};

}  // namespace LLF
