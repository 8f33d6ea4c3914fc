#include "image/CodecMng.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include <libmng.h>

#include "core/Log.h"
#include "core/Timer.h"
#include "image/Image.h"
#include "io/File.h"

namespace LLF {

namespace {

// The most the library may take in one allocation: a hostile header must
// not make it ask for gigabytes.
constexpr size_t kMaxAllocation = size_t(Canvas::kMaxPixels) * 4 + (1u << 20);

// The decoding context the library hands to every callback.
struct MngContext {
  File* file;
  Image* image;   // the canvas the first frame is composed into
  bool tooLarge;  // the header asked for a picture we refuse, of this size:
  mng_uint32 width;
  mng_uint32 height;
};

MngContext* ContextOf(mng_handle handle) {
  return static_cast<MngContext*>(mng_get_userdata(handle));
}

mng_ptr MNG_DECL Allocate(mng_size_t length) {
  // The library expects zero-filled memory.
  return length <= kMaxAllocation ? std::calloc(1, length) : nullptr;
}

void MNG_DECL Free(mng_ptr pointer, mng_size_t) {
  std::free(pointer);
}

#ifndef MNG_NO_OPEN_CLOSE_STREAM
mng_bool MNG_DECL OpenStream(mng_handle) {
  return MNG_TRUE;
}
mng_bool MNG_DECL CloseStream(mng_handle) {
  return MNG_TRUE;
}
#endif

mng_bool MNG_DECL ReadData(mng_handle handle, mng_ptr buffer, mng_uint32 length, mng_uint32p read) {
  *read = ContextOf(handle)->file->Read(buffer, length);
  return MNG_TRUE;
}

mng_bool MNG_DECL ProcessHeader(mng_handle handle, mng_uint32 width, mng_uint32 height) {
  MngContext* context = ContextOf(handle);
  if (context->image || !ImageCodec::SizeFits(width, height)) {
    context->tooLarge = !context->image;
    context->width = width;
    context->height = height;
    return MNG_FALSE;
  }
  context->image = new (std::nothrow) Image(width, height, IMGFORMAT_R8G8B8A8);
  if (!context->image || context->image->GetWidth() != width || context->image->GetHeight() != height) {
    return MNG_FALSE;
  }
  return mng_set_canvasstyle(handle, MNG_CANVAS_RGBA8) == MNG_NOERROR ? MNG_TRUE : MNG_FALSE;
}

mng_ptr MNG_DECL GetCanvasLine(mng_handle handle, mng_uint32 line) {
  // Line n of the picture is stored row height - 1 - n.
  Image* image = ContextOf(handle)->image;
  return image ? image->GetRow(line) : nullptr;
}

mng_bool MNG_DECL Refresh(mng_handle, mng_uint32, mng_uint32, mng_uint32, mng_uint32) {
  return MNG_TRUE;
}

mng_uint32 MNG_DECL GetTickCount(mng_handle) {
  return GetTimeMs();
}

// Doing nothing here makes the display stop at the first frame that would
// have to wait.
mng_bool MNG_DECL SetTimer(mng_handle, mng_uint32) {
  return MNG_TRUE;
}

uint32_t BigEndian32(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// What the library would read, checked before it does: the sizes the
// images inside the stream declare (it works out its row buffers in 32 bits,
// so an embedded image far wider than the frame made it write and read past
// them), held to what a picture may cost, for images (IHDR, JHDR, BASI) and
// delta blocks (DHDR); and no magnification (MAGN), whose handling in the
// library reads through null on a short chunk and which our pictures never
// use. False at the first thing refused: a magnification, or an image of
// width x height; a stream that breaks off is left to the library to report.
bool CheckStream(File& file, bool& magnified, uint64_t& width, uint64_t& height) {
  magnified = false;
  if (!file.Seek(0, 8)) {
    return true;
  }
  for (;;) {
    unsigned char head[8];
    if (file.Read(head, sizeof head) != sizeof head) {
      return true;
    }
    const uint32_t length = BigEndian32(head);
    if (length > 0x7fffffffu) {
      return true;
    }
    unsigned char data[12] = {};
    const unsigned wanted = std::min<unsigned>(length, sizeof data);
    if (file.Read(data, wanted) != wanted) {
      return true;
    }
    const auto is = [&](const char* type) { return std::memcmp(head + 4, type, 4) == 0; };
    bool sized = false;
    if ((is("IHDR") || is("JHDR") || is("BASI")) && length >= 8) {
      width = BigEndian32(data);
      height = BigEndian32(data + 4);
      sized = true;
    } else if (is("DHDR") && length >= 12) {
      width = BigEndian32(data + 4);
      height = BigEndian32(data + 8);
      sized = true;
    } else if (is("MAGN")) {
      magnified = true;
      return false;
    }
    if (sized && !ImageCodec::SizeFits(width, height)) {
      return false;
    }
    if (is("MEND") || !file.Seek(1, int(length - wanted) + 4)) {
      return true;
    }
  }
}

}  // namespace

CodecMng::CodecMng() {
  Describe(L"Image codec for MNG image files.", L"MNG image codec", L"mng");
}

Image* CodecMng::Load(File& file) {
  const std::wstring name = FileNameOf(file);
  MngContext context = {&file, nullptr, false, 0, 0};
  mng_handle handle = mng_initialize(&context, Allocate, Free, MNG_NULL);
  if (!handle) {
    Log::GetInstance().Write(L"Error: Can't initialize MNG library.");
    SetLastError(L"Can't initialize MNG library. Filename: " + name);
    return nullptr;
  }
  mng_set_sectionbreaks(handle, MNG_TRUE);
  mng_set_bgcolor(handle, 65535, 65535, 65535);
  mng_set_usebkgd(handle, MNG_TRUE);
  mng_set_storechunks(handle, MNG_FALSE);
  mng_set_cacheplayback(handle, MNG_FALSE);
#ifndef MNG_NO_OPEN_CLOSE_STREAM
  mng_setcb_openstream(handle, OpenStream);
  mng_setcb_closestream(handle, CloseStream);
#endif
  mng_setcb_readdata(handle, ReadData);
  mng_setcb_processheader(handle, ProcessHeader);
  mng_setcb_getcanvasline(handle, GetCanvasLine);
  mng_setcb_refresh(handle, Refresh);
  mng_setcb_gettickcount(handle, GetTickCount);
  mng_setcb_settimer(handle, SetTimer);

  bool magnified = false;
  uint64_t embeddedWidth = 0;
  uint64_t embeddedHeight = 0;
  if (!CheckStream(file, magnified, embeddedWidth, embeddedHeight)) {
    mng_cleanup(&handle);
    if (magnified) {
      SetLastError(L"Unsupported MNG magnification. Filename: " + name);
    } else {
      CheckSize(embeddedWidth, embeddedHeight, name);
    }
    return nullptr;
  }

  // Read and display together: the display composes the first frame and
  // stops at the first wait.
  file.Seek(0, 0);
  const mng_retcode result = mng_readdisplay(handle);
  const bool shown = result == MNG_NOERROR || result == MNG_NEEDTIMERWAIT || result == MNG_NEEDSECTIONWAIT;
  mng_cleanup(&handle);

  if (context.tooLarge) {
    CheckSize(context.width, context.height, name);
  } else if (!shown || !context.image) {
    SetLastError(L"Can't read mng file. Filename: " + name);
  }
  if (!shown || !context.image || context.tooLarge) {
    delete context.image;
    return nullptr;
  }
  return context.image;
}

bool CodecMng::Save(Image*, const std::wstring& fileName) {
  SetLastError(L"MNG saving is not supported. Filename: " + fileName);
  return false;
}

}  // namespace LLF
