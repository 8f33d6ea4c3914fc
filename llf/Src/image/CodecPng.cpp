#include "image/CodecPng.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <png.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <tmmintrin.h>
#define LLF_PNG_SSSE3 1
#endif

#include "core/Log.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "io/File.h"

namespace LLF {

namespace {

// The most memory one allocation of the library may take while it reads
// a chunk other than the pixel data: the length of a text or profile chunk
// is the file's word, and the library allocates it before reading it.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_uint_32 kIdat = 0x49444154;  // "IDAT"

// What a read or write keeps beside libpng: the library's last error
// message, and the image being filled (so a jump back can free it).
struct PngContext {
  char message[256];
  Image* image;
  std::vector<png_bytep> rows;
};

// The library's allocator for reading: refuses what kMaxChunkBytes bounds
// (the library then reports it as out of memory and the load fails). Row
// buffers are made while the pixel data is read, and are bounded by the
// picture size check.
png_voidp AllocateBounded(png_structp png, png_alloc_size_t size) {
  if (size > kMaxChunkBytes && png_get_io_chunk_type(png) != kIdat) {
    Log::GetInstance().Write(L"PNG chunk needs " + ToString(unsigned(std::min<png_alloc_size_t>(size, ~0u))) +
                             L" bytes, more than a chunk may take: refused.");
    return nullptr;
  }
  return std::malloc(size);
}

void FreeBounded(png_structp, png_voidp block) {
  std::free(block);
}

void ReadData(png_structp png, png_bytep data, size_t length) {
  auto* file = static_cast<File*>(png_get_io_ptr(png));
  if (length > UINT32_MAX || file->Read(data, unsigned(length)) != length) png_error(png, "Read Error");
}

void WriteData(png_structp png, png_bytep data, size_t length) {
  auto* file = static_cast<File*>(png_get_io_ptr(png));
  if (length > UINT32_MAX || file->Write(data, unsigned(length)) != length) png_error(png, "Write Error");
}

void FlushData(png_structp) {}

#if defined(LLF_PNG_SSSE3)
bool HasSsse3() {
  static const bool has = __builtin_cpu_supports("ssse3") != 0;
  return has;
}

// One byte shuffle widens four pixels; returns how many pixels were done.
__attribute__((target("ssse3"))) unsigned WidenRgbSsse3(uint8_t* to, const uint8_t* from, unsigned count) {
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -128, 3, 4, 5, -128, 6, 7, 8, -128, 9, 10, 11, -128);
  unsigned x = 0;
  // Each step reads 16 bytes for 12: stops while the row still holds them.
  if (reinterpret_cast<uintptr_t>(to) % 16 == 0) {
    for (; x + 6 <= count; x += 4) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + size_t(x) * 3));
      _mm_stream_si128(reinterpret_cast<__m128i*>(to + size_t(x) * 4), _mm_shuffle_epi8(v, spread));
    }
    _mm_sfence();
  } else {
    for (; x + 6 <= count; x += 4) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + size_t(x) * 3));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + size_t(x) * 4), _mm_shuffle_epi8(v, spread));
    }
  }
  return x;
}
#endif

// Writes count 3-byte pixels as 4-byte ones with the fourth byte 0. from
// may be the front of the row to itself; otherwise nothing past its pixels
// is read.
void WidenRgbRow(uint8_t* to, const uint8_t* from, unsigned count) {
  unsigned x = 0;
#if defined(LLF_PNG_SSSE3)
  if (to != from && HasSsse3()) x = WidenRgbSsse3(to, from, count);
#endif
  if constexpr (std::endian::native == std::endian::little) {
    // Bytes r0 g0 b0 r1 g1 b1 .. of a word become r0 g0 b0 0 r1 g1 b1 0.
    const auto pair = [](const uint8_t* p) {
      uint64_t v;
      std::memcpy(&v, p, 8);
      return (v & 0xFFFFFFu) | ((v >> 24) & 0xFFFFFFu) << 32;
    };
#if defined(__SSE2__)
    // A separate row is written four pixels at a time and streamed past the
    // cache: the decoders do not read it again.
    if (to != from && reinterpret_cast<uintptr_t>(to) % 16 == 0) {
      for (; x + 6 <= count; x += 4) {
        const uint8_t* p = from + size_t(x) * 3;
        _mm_stream_si128(
            reinterpret_cast<__m128i*>(to + size_t(x) * 4),
            _mm_set_epi64x(static_cast<long long>(pair(p + 6)), static_cast<long long>(pair(p))));
      }
      _mm_sfence();
    }
#endif
    if (to != from) {
      for (; x + 3 <= count; x += 2) {
        const uint64_t v = pair(from + size_t(x) * 3);
        std::memcpy(to + size_t(x) * 4, &v, 8);
      }
    } else {
      // In place the pixels go from the last to the first, so none is
      // overwritten before it is read.
      unsigned end = count;
      if (end % 2) {
        --end;
        std::memmove(to + size_t(end) * 4, from + size_t(end) * 3, 3);
        to[size_t(end) * 4 + 3] = 0;
      }
      while (end >= 2) {
        end -= 2;
        const uint64_t v = pair(from + size_t(end) * 3);
        std::memcpy(to + size_t(end) * 4, &v, 8);
      }
      return;
    }
  }
  for (unsigned i = count; i-- > x;) {
    std::memmove(to + size_t(i) * 4, from + size_t(i) * 3, 3);
    to[size_t(i) * 4 + 3] = 0;
  }
}

// Run by libpng on each finished row of an RGB picture without
// interlacing, in its own row buffer: the row goes straight into the image,
// and the library is asked for no copy of its own.
void WidenIntoImage(png_structp png, png_row_infop row, png_bytep data) {
  auto* context = static_cast<PngContext*>(png_get_user_transform_ptr(png));
  Image* image = context->image;
  const png_uint_32 y = png_get_current_row_number(png);
  if (!image || y >= image->GetHeight() || row->width != image->GetWidth() || row->channels != 3 ||
      row->bit_depth != 8) {
    png_error(png, "Unexpected row");
  }
  WidenRgbRow(image->GetRow(y), data, row->width);
}

void LogLibraryLine(png_const_charp message) {
  Log::GetInstance().Write(L"PNGLIB warning: " + AnsiToWide(message ? message : ""));
}

}  // namespace

void llf_png_warning(png_structp, png_const_charp message) {
  LogLibraryLine(message);
}

// The library's error callback: logs the line, keeps the message and jumps
// back to the codec (it must not return, and no C++ exception may cross the
// library), where the failure is recorded as a framework exception.
[[noreturn]] void llf_png_error(png_structp png, png_const_charp message) {
  LogLibraryLine(message);
  auto* context = static_cast<PngContext*>(png_get_error_ptr(png));
  std::snprintf(context->message, sizeof(context->message), "%s", message ? message : "");
  png_longjmp(png, 1);
}

CodecPng::CodecPng() {
  Describe(L"Image codec for PNG image files.", L"PNG image codec", L"png");
}

bool CodecPng::HasSignature(File& file) const {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return StartsWith(file, kSignature, 8);
}

Image* CodecPng::Load(File& file) {
  const std::wstring name = FileNameOf(file);
  png_byte signature[8];
  if (!file.Seek(0, 0) || file.Read(signature, 8) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
    SetLastError(L"Not a valid png file. Filename: " + name);
    return nullptr;
  }
  std::unique_ptr<PngContext> context(new (std::nothrow) PngContext());
  png_structp png = context ? png_create_read_struct_2(PNG_LIBPNG_VER_STRING, context.get(), llf_png_error,
                                                       llf_png_warning, nullptr, AllocateBounded, FreeBounded)
                            : nullptr;
  if (!png) {
    SetLastError(L"Can't create read struct png_structp. Filename: " + name);
    return nullptr;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    SetLastError(L"Can't create structure with file information png_infop. Filename: " + name);
    return nullptr;
  }

  // Until the structures are destroyed the library may jump back here. The
  // locals png and info are not changed after this point.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    delete context->image;
    RecordLibraryError(AnsiToWide(context->message), L"llf_png_error callback.", __FILE__, __LINE__,
                       "LLF::llf_png_error");
    SetLastError(L"Exception caught inside of PNGLib. Filename: " + name);
    return nullptr;
  }
  png_set_read_fn(png, &file, ReadData);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  // Every chunk's CRC already covers the compressed bytes; the second
  // checksum zlib would take over the whole decompressed picture is skipped.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);

  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
  if (!CheckSize(width, height, name)) {
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (bitDepth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE && bitDepth <= 8) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (transparency) png_set_tRNS_to_alpha(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  // The file's gamma is not applied: pictures keep the values they store.
  const int passes = png_set_interlace_handling(png);
  const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
  const bool widen = passes == 1 && !alpha;
  if (widen) {
    png_set_read_user_transform_fn(png, WidenIntoImage);
    png_set_user_transform_info(png, context.get(), 0, 0);
  }
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * (alpha ? 4 : 3)) png_error(png, "Unexpected row size");

  Image* image = context->image =
      new (std::nothrow) Image(width, height, alpha ? IMGFORMAT_R8G8B8A8 : IMGFORMAT_R8G8B8X8, false);
  if (!image || image->GetWidth() != width || image->GetHeight() != height) png_error(png, "Out of memory");
  const auto grow = [png](auto& list, size_t size) {
    bool grown = true;
    try {
      list.resize(size);
    } catch (const std::bad_alloc&) {
      grown = false;
    }
    if (!grown) png_error(png, "Out of memory");
  };
  if (widen) {
    // Plain RGB rows are widened into the image from the library's own row
    // (WidenIntoImage), while it is still in the cache.
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, nullptr, nullptr);
  } else if (passes == 1) {
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, image->GetRow(y), nullptr);
  } else {
    // Interlaced rows are decoded straight into the image, RGB ones into
    // the front of their image row, then widened there.
    grow(context->rows, height);
    for (png_uint_32 y = 0; y < height; ++y) context->rows[y] = image->GetRow(y);
    png_read_image(png, context->rows.data());
    for (png_uint_32 y = 0; y < height && !alpha; ++y) WidenRgbRow(image->GetRow(y), image->GetRow(y), width);
  }
  png_read_end(png, info);
  png_destroy_read_struct(&png, &info, nullptr);
  context->image = nullptr;
  return image;
}

bool CodecPng::Save(Image* image, const std::wstring& fileName) {
  File file;
  if (!OpenForSaving(image, fileName, file)) return false;
  std::unique_ptr<PngContext> context(new (std::nothrow) PngContext());
  png_structp png =
      context ? png_create_write_struct(PNG_LIBPNG_VER_STRING, context.get(), llf_png_error, llf_png_warning)
              : nullptr;
  if (!png) {
    SetLastError(L"Can't create write struct png_structp. Filename: " + fileName);
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    SetLastError(L"Can't create structure with file information png_infop. Filename: " + fileName);
    return false;
  }
  image->Lock();
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    image->Unlock();
    file.Close();
    RecordLibraryError(AnsiToWide(context->message), L"llf_png_error callback.", __FILE__, __LINE__,
                       "LLF::llf_png_error");
    SetLastError(L"Exception caught inside of PNGLib. Filename: " + fileName);
    return false;
  }
  png_set_write_fn(png, &file, WriteData, FlushData);
  const bool alpha = image->GetFormat() == IMGFORMAT_R8G8B8A8;
  const unsigned height = image->GetHeight();
  png_set_IHDR(png, info, image->GetWidth(), height, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // Format-0 rows are written as red, green, blue: the library drops the
  // fourth byte.
  if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (unsigned y = 0; y < height; ++y) png_write_row(png, image->GetRow(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  image->Unlock();
  file.Close();
  return true;
}

}  // namespace LLF
