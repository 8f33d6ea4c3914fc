// Decoding speed of the PNG and JPEG codecs against libpng and libjpeg
// called directly, on the same 1024 x 768 files (a photograph-like picture
// and flat art), in one run. Prints megapixels per second and the codecs'
// speed as a share of the direct calls'.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "core/Random.h"
#include "image/CodecJpg.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "io/File.h"

namespace {

constexpr unsigned kWidth = 1024;
constexpr unsigned kHeight = 768;

using Bytes = std::vector<unsigned char>;

// RGB samples. The photograph: smooth light over the frame with fine grain
// and soft shapes. Flat art: a few colours in large areas with hard edges.
std::vector<unsigned char> Picture(bool photo) {
  std::vector<unsigned char> s(size_t(kWidth) * kHeight * 3);
  LLF::SeedRandom(7);
  for (unsigned y = 0; y < kHeight; ++y) {
    for (unsigned x = 0; x < kWidth; ++x) {
      unsigned char* p = &s[(size_t(y) * kWidth + x) * 3];
      if (photo) {
        const int grain = LLF::RandomInt() % 17 - 8;
        const int dx = int(x) - 600;
        const int dy = int(y) - 300;
        const int glow = (dx * dx + dy * dy) < 160 * 160 ? 40 : 0;
        p[0] = static_cast<unsigned char>(std::clamp(int(x * 200 / kWidth) + glow + grain, 0, 255));
        p[1] = static_cast<unsigned char>(std::clamp(int(y * 180 / kHeight) + 30 + grain, 0, 255));
        p[2] = static_cast<unsigned char>(
            std::clamp(int((x + y) * 120 / (kWidth + kHeight)) + 60 + grain, 0, 255));
      } else {
        const unsigned band = (x / 128 + y / 96) % 4;
        const bool disc = (int(x) - 512) * (int(x) - 512) + (int(y) - 384) * (int(y) - 384) < 200 * 200;
        static const unsigned char colours[5][3] = {
            {250, 240, 220}, {60, 120, 200}, {230, 80, 60}, {40, 160, 90}, {20, 20, 30}};
        const unsigned char* c = colours[disc ? 4 : band];
        p[0] = c[0];
        p[1] = c[1];
        p[2] = c[2];
      }
    }
  }
  return s;
}

void AppendPng(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

Bytes EncodePng(const std::vector<unsigned char>& rgb) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_write_fn(png, &out, AppendPng, nullptr);
  png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (unsigned y = 0; y < kHeight; ++y) png_write_row(png, &rgb[size_t(y) * kWidth * 3]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes EncodeJpeg(const std::vector<unsigned char>& rgb) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < kHeight) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(info.next_scanline) * kWidth * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

struct Files {
  Bytes png[2];
  Bytes jpeg[2];
};

const Files& TheFiles() {
  static const Files files = [] {
    Files f;
    for (int photo = 0; photo < 2; ++photo) {
      const auto rgb = Picture(photo == 1);
      f.png[photo] = EncodePng(rgb);
      f.jpeg[photo] = EncodeJpeg(rgb);
    }
    return f;
  }();
  return files;
}

// The codecs read through a memory file, as they read any file.
void Ours(benchmark::State& state, LLF::ImageCodec& codec, const Bytes& bytes) {
  Bytes data = bytes;
  for (auto _ : state) {
    LLF::File file;
    file.OpenMemory(data.data(), unsigned(data.size()), LLF::FILEOPS_READ);
    LLF::Image* image = codec.Load(file);
    if (!image) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(image->GetData());
    delete image;
  }
  state.counters["MP/s"] =
      benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

struct PngSource {
  const Bytes* bytes;
  size_t at;
};

void ReadPng(png_structp png, png_bytep data, size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (source->at + length > source->bytes->size()) png_error(png, "short");
  std::memcpy(data, source->bytes->data() + source->at, length);
  source->at += length;
}

// libpng alone: 8-bit RGB rows into one buffer.
void DirectPng(benchmark::State& state, const Bytes& bytes) {
  for (auto _ : state) {
    PngSource source{&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) std::abort();
    png_set_read_fn(png, &source, ReadPng);
    png_read_info(png, info);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<unsigned char> pixels(rowBytes * kHeight);
    std::vector<png_bytep> rows(kHeight);
    for (unsigned y = 0; y < kHeight; ++y) rows[y] = &pixels[y * rowBytes];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["MP/s"] =
      benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// libjpeg alone: scanlines into one buffer, four bytes a pixel as the
// codec's images hold them (red, green, blue and a fourth byte, which the
// library sets to 255 and the codec clears), so both give the same output.
void DirectJpeg(benchmark::State& state, const Bytes& bytes) {
  for (auto _ : state) {
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBX;
    jpeg_start_decompress(&info);
    // Left unset, as the codec leaves its image before decoding into it;
    // several rows a call, as the codec asks for them.
    const size_t stride = size_t(info.output_width) * info.output_components;
    std::unique_ptr<unsigned char[]> pixels(new unsigned char[stride * info.output_height]);
    while (info.output_scanline < info.output_height) {
      JSAMPROW rows[4];
      const unsigned asked = std::min(4u, info.output_height - info.output_scanline);
      for (unsigned i = 0; i < asked; ++i) rows[i] = &pixels[(info.output_scanline + i) * stride];
      jpeg_read_scanlines(&info, rows, asked);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.get());
  }
  state.counters["MP/s"] =
      benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// Keeps each run's processor time per picture (steadier than wall time on
// a busy machine) to print the comparison at the end.
class Collector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median counts, else the single run.
    for (const Run& run : runs) {
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        seconds[name] = run.GetAdjustedCPUTime() / 1e9;
        medians.insert(name);
      } else if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !medians.count(name)) {
        seconds[name] = run.GetAdjustedCPUTime() / 1e9;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;  // per picture
  std::set<std::string> medians;
};

}  // namespace

int main(int argc, char** argv) {
  const Files& files = TheFiles();
  const char* kinds[2] = {"flat", "photo"};
  for (int photo = 0; photo < 2; ++photo) {
    const std::string kind = kinds[photo];
    benchmark::RegisterBenchmark(("png/" + kind + "/ours").c_str(), Ours,
                                 std::ref(LLF::CodecPng::GetInstance()), std::cref(files.png[photo]));
    benchmark::RegisterBenchmark(("png/" + kind + "/libpng").c_str(), DirectPng, std::cref(files.png[photo]));
    benchmark::RegisterBenchmark(("jpeg/" + kind + "/ours").c_str(), Ours,
                                 std::ref(LLF::CodecJpg::GetInstance()), std::cref(files.jpeg[photo]));
    benchmark::RegisterBenchmark(("jpeg/" + kind + "/libjpeg").c_str(), DirectJpeg,
                                 std::cref(files.jpeg[photo]));
  }
  benchmark::Initialize(&argc, argv);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);

  std::printf("\n%-12s %10s %12s %12s %8s\n", "file", "size KB", "ours MP/s", "direct MP/s", "ratio");
  const double megapixels = double(kWidth) * kHeight / 1e6;
  for (const char* format : {"png", "jpeg"}) {
    for (int photo = 0; photo < 2; ++photo) {
      const std::string base = std::string(format) + "/" + kinds[photo] + "/";
      const auto ours = collector.seconds.find(base + "ours");
      const auto direct = collector.seconds.find(base + (format[0] == 'p' ? "libpng" : "libjpeg"));
      if (ours == collector.seconds.end() || direct == collector.seconds.end()) continue;
      const size_t size = (format[0] == 'p' ? files.png[photo] : files.jpeg[photo]).size();
      std::printf("%-12s %10zu %12.1f %12.1f %8.3f\n", (base.substr(0, base.size() - 1)).c_str(), size / 1024,
                  megapixels / ours->second, megapixels / direct->second, direct->second / ours->second);
    }
  }
  benchmark::Shutdown();
  return 0;
}
