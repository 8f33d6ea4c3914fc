#include "gl/GlTexture.h"

#include "core/Format.h"
#include "gl/GlFunctions.h"

namespace LLF {

GlTexture::Data::~Data() {
  if (name != 0) {
    queue->Push(name);
  }
  if (atlasPage) {
    queue->Push(GlReleaseQueue::Cell{atlasPage.get(), atlasX, atlasY, width, height});
  }
}

GlTexture::GlTexture(uint32_t width, uint32_t height, uint32_t format, std::shared_ptr<GlReleaseQueue> queue)
    : _data(std::make_shared<Data>(width, height, format, std::move(queue),
                                   width <= kKeepSide && height <= kKeepSide)) {}

GlTexture::~GlTexture() {
  if (_locked) {
    UnlockRect();
  }
}

std::wstring GlTexture::Dump() const {
  return Format(L"GlTexture %u x %u, format %u", _data->width, _data->height, _data->format);
}

void GlTexture::GetDesc(GfxSurfaceDesc& desc) const {
  desc.format = _data->format;
  desc.width = _data->width;
  desc.height = _data->height;
}

bool GlTexture::LockRect(GfxLockedRect& locked) {
  if (_locked) {
    return false;
  }
  _data->mutex.lock();
  const size_t size = size_t(_data->width) * _data->height * 4;
  if (_data->pixels.size() != size) {
    try {
      _data->pixels.assign(size, 0);
    } catch (const std::bad_alloc&) {
      _data->mutex.unlock();
      return false;
    }
  }
  _locked = true;
  locked.pitch = static_cast<int>(_data->width * 4);
  locked.bits = _data->pixels.data();
  return true;
}

bool GlTexture::UnlockRect() {
  if (!_locked) {
    return false;
  }
  _locked = false;
  ++_data->version;
  _data->mutex.unlock();
  return true;
}

bool GlTexture::NeedsUpload(Data& data) {
  std::lock_guard<std::mutex> lock(data.mutex);
  return !data.allocated || data.uploadedVersion != data.version;
}

void GlTexture::Upload(const GlFunctions& gl, Data& data) {
  if (data.name == 0) {
    gl.GenTextures(1, &data.name);
  }
  gl.BindTexture(GL_TEXTURE_2D, data.name);
  std::lock_guard<std::mutex> lock(data.mutex);
  if (data.allocated && data.uploadedVersion == data.version) {
    return;
  }
  // Never filled: transparent black rather than undefined texels.
  std::vector<uint8_t> zeros;
  const std::vector<uint8_t>* pixels = &data.pixels;
  if (data.pixels.empty()) {
    zeros.assign(size_t(data.width) * data.height * 4, 0);
    pixels = &zeros;
  }
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  const GLsizei w = static_cast<GLsizei>(data.width);
  const GLsizei h = static_cast<GLsizei>(data.height);
  if (data.allocated) {
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, pixels->data());
  } else {
    // Without alpha the fourth byte is ignored: such pictures (JPEG among
    // them) may carry 0 there and must still show.
    const GLint internal = data.format == GFXFMT_A8R8G8B8 ? GL_RGBA8 : GL_RGB8;
    gl.TexImage2D(GL_TEXTURE_2D, 0, internal, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels->data());
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    data.allocated = true;
  }
  data.uploadedVersion = data.version;
  if (!data.keepPixels) {
    data.pixels.clear();
    data.pixels.shrink_to_fit();
  }
}

void GlTexture::Bind(const GlFunctions& gl, Data& data, GLint wrapS, GLint wrapT, GLint magFilter,
                     GLint minFilter) {
  gl.BindTexture(GL_TEXTURE_2D, data.name);
  if (data.wrapS != wrapS) gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, data.wrapS = wrapS);
  if (data.wrapT != wrapT) gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, data.wrapT = wrapT);
  if (data.magFilter != magFilter) {
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, data.magFilter = magFilter);
  }
  if (data.minFilter != minFilter) {
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, data.minFilter = minFilter);
  }
}

}  // namespace LLF
