#include "image/CodecJpg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <jerror.h>
#include <jpeglib.h>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "io/File.h"

namespace LLF {

namespace {

// The writer's buffer. The reader's is larger: libjpeg-turbo decodes with its
// fast Huffman path only while a few kilobytes of input are buffered, so a
// 4096-byte buffer would keep most of a colour picture on the slow path.
constexpr unsigned kBufferSize = 4096;
constexpr unsigned kReadBufferSize = 64 * 1024;
// The decoder's own working memory (progressive files keep every
// coefficient) is bounded, so a hostile header cannot make it allocate
// without limit.
constexpr long kMaxLibraryMemory = 512L << 20;
// A file whose picture is larger than this may not claim more pixels per
// byte of file than this.
constexpr uint64_t kMinPixelsForDataBound = uint64_t(1) << 22;
constexpr uint64_t kMaxPixelsPerByte = 4096;

// libjpeg's error manager, extended with the place to jump back to and what
// went wrong. Its callbacks must not return, and C++ exceptions must not
// cross the library's frames, so they jump.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool writeFailed;
  const char* function;
  const std::wstring* fileName;  // for the warning lines of a load
};

struct SourceManager {
  jpeg_source_mgr base;
  File* file;
  JOCTET* buffer;
  bool started;
};

struct DestinationManager {
  jpeg_destination_mgr base;
  File* file;
  JOCTET buffer[kBufferSize];
};

struct Decoder {
  jpeg_decompress_struct info;
  ErrorManager error;
  SourceManager source;
  Image* image;  // here rather than in a local, which a jump back could leave stale
};

struct Encoder {
  jpeg_compress_struct info;
  ErrorManager error;
  DestinationManager destination;
};

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info) {
  auto* source = reinterpret_cast<SourceManager*>(info->src);
  unsigned count = source->file->Read(source->buffer, kReadBufferSize);
  if (count == 0) {
    if (!source->started) ERREXIT(info, JERR_INPUT_EMPTY);
    // A file that ends early gets its end marker, with a warning: the
    // picture shows what was read (missing scan data decodes flat), as
    // other viewers show it. Only the first warning of a load is logged.
    WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = JOCTET(0xFF);
    source->buffer[1] = JOCTET(JPEG_EOI);
    count = 2;
  }
  source->base.next_input_byte = source->buffer;
  source->base.bytes_in_buffer = count;
  source->started = true;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  auto* source = reinterpret_cast<SourceManager*>(info->src);
  while (count > long(source->base.bytes_in_buffer)) {
    count -= long(source->base.bytes_in_buffer);
    FillInputBuffer(info);
  }
  source->base.next_input_byte += count;
  source->base.bytes_in_buffer -= size_t(count);
}

void TermSource(j_decompress_ptr) {}

void InitDestination(j_compress_ptr info) {
  auto* destination = reinterpret_cast<DestinationManager*>(info->dest);
  destination->base.next_output_byte = destination->buffer;
  destination->base.free_in_buffer = kBufferSize;
}

// Copies count 4-byte pixels from in to out with the fourth byte set to 0,
// sixteen bytes at a time. Where the processor allows, the image's rows are
// written past the cache, as the library writes its own output: a picture
// is larger than the cache, and a store that first reads the line would
// double the traffic to memory.
#if defined(__x86_64__)
// Whole 128-byte pieces of the row at out (32-byte aligned) with 32-byte
// vectors, for processors that have them; returns the pixels done.
__attribute__((target("avx2"))) unsigned CopyClearingWide(const uint8_t* in, uint8_t* out, unsigned count) {
  const __m256i mask = _mm256_set1_epi32(0x00FFFFFF);
  unsigned x = 0;
  for (; x + 32 <= count; x += 32) {
    const auto* from = reinterpret_cast<const __m256i*>(in + size_t(x) * 4);
    auto* to = reinterpret_cast<__m256i*>(out + size_t(x) * 4);
    const __m256i a = _mm256_and_si256(_mm256_loadu_si256(from), mask);
    const __m256i b = _mm256_and_si256(_mm256_loadu_si256(from + 1), mask);
    const __m256i c = _mm256_and_si256(_mm256_loadu_si256(from + 2), mask);
    const __m256i d = _mm256_and_si256(_mm256_loadu_si256(from + 3), mask);
    _mm256_stream_si256(to, a);
    _mm256_stream_si256(to + 1, b);
    _mm256_stream_si256(to + 2, c);
    _mm256_stream_si256(to + 3, d);
  }
  return x;
}

const bool kWideVectors = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
#endif

void CopyClearingFourthBytes(const uint8_t* in, uint8_t* out, unsigned count) {
  unsigned x = 0;
#if defined(__SSE2__)
  if (reinterpret_cast<uintptr_t>(out) % 16 == 0) {
    const __m128i mask = _mm_set1_epi32(0x00FFFFFF);
#if defined(__x86_64__)
    if (kWideVectors && count >= 64) {
      // Four pixels on their own first where the row is not on a 32-byte
      // boundary.
      if (reinterpret_cast<uintptr_t>(out) % 32 != 0) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(out),
                         _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), mask));
        x = 4;
      }
      x += CopyClearingWide(in + size_t(x) * 4, out + size_t(x) * 4, count - x);
    }
#endif
    // Whole 64-byte lines first, so that each line leaves in one piece.
    for (; x + 16 <= count; x += 16) {
      const auto* from = reinterpret_cast<const __m128i*>(in + size_t(x) * 4);
      auto* to = reinterpret_cast<__m128i*>(out + size_t(x) * 4);
      const __m128i a = _mm_and_si128(_mm_loadu_si128(from), mask);
      const __m128i b = _mm_and_si128(_mm_loadu_si128(from + 1), mask);
      const __m128i c = _mm_and_si128(_mm_loadu_si128(from + 2), mask);
      const __m128i d = _mm_and_si128(_mm_loadu_si128(from + 3), mask);
      _mm_stream_si128(to, a);
      _mm_stream_si128(to + 1, b);
      _mm_stream_si128(to + 2, c);
      _mm_stream_si128(to + 3, d);
    }
    for (; x + 4 <= count; x += 4) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + size_t(x) * 4));
      _mm_stream_si128(reinterpret_cast<__m128i*>(out + size_t(x) * 4), _mm_and_si128(block, mask));
    }
  }
#endif
  typedef uint8_t Block __attribute__((vector_size(16)));
  const Block mask = {0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0};
  for (; x + 4 <= count; x += 4) {
    Block block;
    std::memcpy(&block, in + size_t(x) * 4, 16);
    block &= mask;
    std::memcpy(out + size_t(x) * 4, &block, 16);
  }
  for (; x < count; ++x) {
    std::memcpy(out + size_t(x) * 4, in + size_t(x) * 4, 3);
    out[size_t(x) * 4 + 3] = 0;
  }
}

[[noreturn]] void WriteFailed(j_compress_ptr info, const char* function) {
  auto* error = reinterpret_cast<ErrorManager*>(info->err);
  error->writeFailed = true;
  error->function = function;
  std::longjmp(error->jump, 1);
}

}  // namespace

// The library's error exit: keeps the library's message and jumps back to
// the codec, which records it as a framework exception.
[[noreturn]] void llf_JPEGErrorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, error->message);
  error->function = "LLF::llf_JPEGErrorExit";
  std::longjmp(error->jump, 1);
}

boolean llf_JPEGFillOutputBuffer(j_compress_ptr info) {
  auto* destination = reinterpret_cast<DestinationManager*>(info->dest);
  if (destination->file->Write(destination->buffer, kBufferSize) != kBufferSize) {
    WriteFailed(info, "LLF::llf_JPEGFillOutputBuffer");
  }
  destination->base.next_output_byte = destination->buffer;
  destination->base.free_in_buffer = kBufferSize;
  return TRUE;
}

void llf_JPEGTermDest(j_compress_ptr info) {
  auto* destination = reinterpret_cast<DestinationManager*>(info->dest);
  const unsigned count = unsigned(kBufferSize - destination->base.free_in_buffer);
  if (count > 0 && destination->file->Write(destination->buffer, count) != count) {
    WriteFailed(info, "LLF::llf_JPEGTermDest");
  }
}

namespace {

// The library's warnings go to the log instead of the standard error. No
// exception may leave here into the library's frames.
void LogWarning(j_common_ptr info) noexcept {
  auto* error = reinterpret_cast<ErrorManager*>(info->err);
  char message[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, message);
  try {
    Log::GetInstance().Write(L"JPEGLIB warning: " + AnsiToWide(message) + L". Filename: " +
                             (error->fileName ? *error->fileName : std::wstring()));
  } catch (...) {
    // Out of memory for the line: the warning is dropped, the load goes on.
  }
}

void SetUpErrors(ErrorManager& error, jpeg_error_mgr*& slot, const std::wstring* fileName = nullptr) {
  slot = jpeg_std_error(&error.base);
  error.base.error_exit = llf_JPEGErrorExit;
  error.base.output_message = LogWarning;
  error.fileName = fileName;
}

}  // namespace

CodecJpg::CodecJpg() {
  Describe(L"Image codec for JPEG image files.", L"JPEG image codec", L"jpg jpeg jfif");
}

Image* CodecJpg::Load(File& file) {
  const std::wstring name = FileNameOf(file);
  std::unique_ptr<Decoder> decoder(new (std::nothrow) Decoder());
  if (!decoder) {
    SetLastError(L"Not enough memory for the jpeg decoder. Filename: " + name);
    return nullptr;
  }
  file.Seek(0, 0);
  jpeg_decompress_struct& info = decoder->info;
  SetUpErrors(decoder->error, info.err, &name);

  // Everything below until the library is destroyed may jump back here; the
  // objects alive across the jump are plain data or belong to this frame.
  if (setjmp(decoder->error.jump)) {
    jpeg_destroy_decompress(&info);
    delete decoder->image;
    RecordLibraryError(AnsiToWide(decoder->error.message), L"llf_JPEGErrorExit callback.", __FILE__, __LINE__,
                       decoder->error.function);
    SetLastError(L"Exception caught inside of JPGLib. Filename: " + name);
    return nullptr;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxLibraryMemory;
  SourceManager& source = decoder->source;
  source.base.init_source = InitSource;
  source.base.fill_input_buffer = FillInputBuffer;
  source.base.skip_input_data = SkipInputData;
  source.base.resync_to_restart = jpeg_resync_to_restart;
  source.base.term_source = TermSource;
  source.file = &file;
  source.buffer = static_cast<JOCTET*>(
      (*info.mem->alloc_small)(reinterpret_cast<j_common_ptr>(&info), JPOOL_PERMANENT, kReadBufferSize));
  info.src = &source.base;

  jpeg_read_header(&info, TRUE);
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
    jpeg_destroy_decompress(&info);
    SetLastError(L"CMYK and YCCK JPEG files are not supported. Filename: " + name);
    return nullptr;
  }
  if (!CheckSize(info.image_width, info.image_height, name)) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  // Every 8 x 8 block of a scan takes a few bits at the least, so a large
  // picture thousands of times its file's size in pixels comes from a file
  // that ends long before its rows, and would decode flat at full cost.
  const uint64_t pixels = uint64_t(info.image_width) * info.image_height;
  const uint64_t bytes = file.GetSize();
  if (pixels > kMinPixelsForDataBound && pixels / kMaxPixelsPerByte > bytes) {
    jpeg_destroy_decompress(&info);
    SetLastError(L"JPEG picture of " + std::to_wstring(info.image_width) + L" x " +
                 std::to_wstring(info.image_height) + L" pixels from " + std::to_wstring(bytes) +
                 L" bytes: its data ends long before its rows. Filename: " + name);
    return nullptr;
  }
  // Grey and colour files alike decode as red, green, blue and a fourth
  // byte, which the library sets to 255 and the image wants 0.
  info.out_color_space = JCS_EXT_RGBX;
  jpeg_start_decompress(&info);
  const unsigned width = info.output_width;
  const unsigned height = info.output_height;
  // Every row is written below, so the bytes need no zeroing first.
  Image* image = decoder->image = new (std::nothrow) Image(width, height, IMGFORMAT_R8G8B8X8, false);
  if (!image || image->GetWidth() != width || image->GetHeight() != height) {
    jpeg_destroy_decompress(&info);
    delete image;
    SetLastError(L"Not enough memory for the jpeg image. Filename: " + name);
    return nullptr;
  }
  // The library writes rows that start on a 32-byte boundary past the
  // cache, so clearing the fourth byte in the image's own rows would read
  // every row back from memory. It writes a few rows at a time into rows
  // of its pool set off that boundary instead, which stay in the cache, and
  // they are copied into the image with the byte cleared. The pool goes
  // with the library's object on every path.
  constexpr unsigned kRows = 4;  // at most the rows one call gives
  constexpr size_t kOffset = 4;  // off the boundary the library looks for
  const size_t stride = (size_t(width) * 4 + 63) / 64 * 64 + 64;
  auto* scratch = static_cast<uint8_t*>(
      (*info.mem->alloc_large)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, kRows * stride + 64));
  uint8_t* const first = scratch + (64 - reinterpret_cast<uintptr_t>(scratch) % 64) % 64 + kOffset;
  JSAMPROW rows[kRows];
  for (unsigned i = 0; i < kRows; ++i) rows[i] = first + i * stride;
  while (info.output_scanline < height) {
    // Decoded row i is the picture's row i from the top. The library gives
    // up to a few rows a call (two where it upsamples colour two rows at a
    // time); the source never suspends, so each call yields at least one.
    const unsigned y = info.output_scanline;
    const unsigned read = jpeg_read_scanlines(&info, rows, std::min(kRows, height - y));
    if (read == 0) {
      info.err->msg_parm.i[0] = info.global_state;
      ERREXIT(&info, JERR_BAD_STATE);
    }
    for (unsigned i = 0; i < read; ++i) CopyClearingFourthBytes(rows[i], image->GetRow(y + i), width);
  }
#if defined(__SSE2__)
  _mm_sfence();  // the rows written past the cache are seen by every reader from here on
#endif
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  decoder->image = nullptr;
  return image;
}

bool CodecJpg::Save(Image* image, const std::wstring& fileName) {
  File file;
  if (!OpenForSaving(image, fileName, file)) return false;
  std::unique_ptr<Encoder> encoder(new (std::nothrow) Encoder());
  std::vector<JSAMPLE> row;
  try {
    row.resize(size_t(image->GetWidth()) * 3);
  } catch (const std::bad_alloc&) {
    encoder.reset();
  }
  if (!encoder) {
    SetLastError(L"Not enough memory to save the jpeg image. Filename: " + fileName);
    return false;
  }
  jpeg_compress_struct& info = encoder->info;
  SetUpErrors(encoder->error, info.err);
  image->Lock();

  if (setjmp(encoder->error.jump)) {
    jpeg_destroy_compress(&info);
    image->Unlock();
    file.Close();
    if (encoder->error.writeFailed) {
      RecordLibraryError(L"Can't write data to file " + fileName, L"llf_JPEGFillOutputBuffer callback.",
                         __FILE__, __LINE__, encoder->error.function);
    } else {
      RecordLibraryError(AnsiToWide(encoder->error.message), L"llf_JPEGErrorExit callback.", __FILE__,
                         __LINE__, encoder->error.function);
    }
    SetLastError(L"Exception caught inside of JPGLib. Filename: " + fileName);
    return false;
  }
  jpeg_create_compress(&info);
  DestinationManager& destination = encoder->destination;
  destination.base.init_destination = InitDestination;
  destination.base.empty_output_buffer = llf_JPEGFillOutputBuffer;
  destination.base.term_destination = llf_JPEGTermDest;
  destination.file = &file;
  info.dest = &destination.base;

  info.image_width = image->GetWidth();
  info.image_height = image->GetHeight();
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 80, TRUE);
  jpeg_start_compress(&info, TRUE);
  const unsigned width = image->GetWidth();
  while (info.next_scanline < info.image_height) {
    const uint8_t* in = image->GetRow(info.next_scanline);
    for (unsigned x = 0; x < width; ++x) std::memcpy(&row[size_t(x) * 3], in + size_t(x) * 4, 3);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  image->Unlock();
  file.Close();
  return true;
}

}  // namespace LLF
