#include "ImageTestUtil.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include "core/Log.h"
#include "io/File.h"
#include "render/RendersManager.h"

namespace QmTest {

namespace {

void Put16(Bytes& b, unsigned v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

void PutBig32(Bytes& b, uint32_t v) {
  for (int i = 3; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}

// Colour-map size bits: 2^bits entries hold the map.
unsigned MapBits(size_t entries) {
  unsigned bits = 1;
  while ((size_t(1) << bits) < entries) ++bits;
  return bits;
}

void PutMap(Bytes& b, const std::vector<LLF::Color>& map) {
  const size_t size = size_t(1) << MapBits(map.size());
  for (size_t i = 0; i < size; ++i) {
    const LLF::Color c = i < map.size() ? map[i] : LLF::Color(0, 0, 0, 255);
    b.push_back(c.r);
    b.push_back(c.g);
    b.push_back(c.b);
  }
}

// GIF image data with code size 8 and only literal codes: a clear code
// every 254 literals keeps every code 9 bits wide, so any index 0..255 can
// be written whatever the colour map holds.
void PutIndexes(Bytes& b, const std::vector<uint8_t>& indexes) {
  std::vector<uint8_t> packed;
  uint32_t bits = 0;
  int count = 0;
  const auto put = [&](unsigned code) {
    bits |= uint32_t(code) << count;
    count += 9;
    while (count >= 8) {
      packed.push_back(uint8_t(bits));
      bits >>= 8;
      count -= 8;
    }
  };
  put(256);
  for (size_t i = 0; i < indexes.size(); ++i) {
    if (i > 0 && i % 254 == 0) put(256);
    put(indexes[i]);
  }
  put(257);
  if (count > 0) packed.push_back(uint8_t(bits));
  b.push_back(8);
  for (size_t i = 0; i < packed.size(); i += 255) {
    const size_t n = std::min<size_t>(255, packed.size() - i);
    b.push_back(uint8_t(n));
    b.insert(b.end(), packed.begin() + long(i), packed.begin() + long(i + n));
  }
  b.push_back(0);
}

void PngWrite(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void PngFlush(png_structp) {}

}  // namespace

Picture Pattern(unsigned width, unsigned height, bool alpha) {
  Picture p;
  p.width = width;
  p.height = height;
  for (unsigned y = 0; y < height; ++y) {
    for (unsigned x = 0; x < width; ++x) {
      p.pixels.emplace_back(uint8_t(x * 37 + y * 11), uint8_t(y * 53 + 7), uint8_t((x ^ y) * 29 + 3),
                            alpha ? uint8_t(x * 13 + y * 71 + 1) : 255);
    }
  }
  return p;
}

::testing::AssertionResult SamePixels(const LLF::Image& image, const Picture& picture, bool checkFourth) {
  if (image.GetWidth() != picture.width || image.GetHeight() != picture.height) {
    return ::testing::AssertionFailure() << "size " << image.GetWidth() << "x" << image.GetHeight()
                                         << ", expected " << picture.width << "x" << picture.height;
  }
  for (unsigned y = 0; y < picture.height; ++y) {
    for (unsigned x = 0; x < picture.width; ++x) {
      LLF::Color got;
      image.GetPixel(&got, int(x), int(y));
      const LLF::Color want = picture.At(x, y);
      if (got.r != want.r || got.g != want.g || got.b != want.b || (checkFourth && got.a != want.a)) {
        return ::testing::AssertionFailure()
               << "pixel (" << x << "," << y << ") is " << int(got.r) << "," << int(got.g) << ","
               << int(got.b) << "," << int(got.a) << ", expected " << int(want.r) << "," << int(want.g) << ","
               << int(want.b) << "," << int(want.a);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

Bytes MakeBmp(const Picture& picture, const BmpOptions& o) {
  const unsigned bpp = o.bitCount / 8;
  const uint32_t stride = (picture.width * bpp + 3) & ~3u;
  const uint32_t headers = 14 + o.infoSize;
  const uint32_t dataOffset =
      o.offsetOverride >= 0 ? uint32_t(o.offsetOverride) : headers + (o.offsetPointsAtGap ? 0 : o.gap);
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, headers + o.gap + stride * picture.height);
  Put32(b, 0);
  Put32(b, dataOffset);
  Put32(b, o.infoSize);
  Put32(b, uint32_t(o.widthField.value_or(int32_t(picture.width))));
  const int32_t height =
      o.heightField.value_or(o.topDown ? -int32_t(picture.height) : int32_t(picture.height));
  Put32(b, uint32_t(height));
  Put16(b, 1);
  Put16(b, o.bitCount);
  Put32(b, o.compression);
  Put32(b, 0);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  b.resize(headers, 0);  // the larger header variants: their extra fields stay 0
  b.resize(headers + o.gap, 0xEE);
  for (unsigned r = 0; r < picture.height; ++r) {
    // File rows run bottom-up unless top-down.
    const unsigned y = o.topDown ? r : picture.height - 1 - r;
    Bytes row;
    for (unsigned x = 0; x < picture.width; ++x) {
      const LLF::Color c = picture.At(x, y);
      row.push_back(c.b);
      row.push_back(c.g);
      row.push_back(c.r);
      if (bpp == 4) row.push_back(c.a);
      if (bpp == 2) row.resize(row.size() - 1);
    }
    row.resize(stride, 0);
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

Bytes MakeGif(const GifFile& gif) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(b, gif.width);
  Put16(b, gif.height);
  b.push_back(gif.globalMap.empty() ? 0x70 : uint8_t(0xF0 | (MapBits(gif.globalMap.size()) - 1)));
  b.push_back(gif.background);
  b.push_back(0);
  if (!gif.globalMap.empty()) PutMap(b, gif.globalMap);
  for (const GifFrame& f : gif.frames) {
    if (gif.withExtension) {
      const uint8_t control[] = {0x21, 0xF9, 4, 0, 10, 0, 0, 0};
      b.insert(b.end(), std::begin(control), std::end(control));
    }
    b.push_back(0x2C);
    Put16(b, f.left);
    Put16(b, f.top);
    Put16(b, f.width);
    Put16(b, f.height);
    b.push_back(uint8_t((f.localMap.empty() ? 0 : 0x80 | (MapBits(f.localMap.size()) - 1)) |
                        (f.interlace ? 0x40 : 0)));
    if (!f.localMap.empty()) PutMap(b, f.localMap);
    std::vector<uint8_t> order;
    if (f.interlace) {
      const unsigned start[4] = {0, 4, 2, 1};
      const unsigned step[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass) {
        for (unsigned y = start[pass]; y < f.height; y += step[pass]) {
          order.insert(order.end(), f.indexes.begin() + long(y * f.width),
                       f.indexes.begin() + long((y + 1) * f.width));
        }
      }
    } else {
      order = f.indexes;
    }
    PutIndexes(b, order);
  }
  b.push_back(0x3B);
  return b;
}

Bytes MakePng(unsigned width, unsigned height, const std::vector<uint16_t>& samples, const PngOptions& o) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng failed to write a fixture";
    return {};
  }
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  png_set_IHDR(png, info, width, height, o.bitDepth, o.colorType,
               o.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (const auto& c : o.palette) palette.push_back(png_color{c.r, c.g, c.b});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
  if (!o.paletteAlpha.empty()) {
    png_set_tRNS(png, info, o.paletteAlpha.data(), int(o.paletteAlpha.size()), nullptr);
  }
  png_write_info(png, info);
  if (o.bitDepth < 8) png_set_packing(png);
  const int channels = o.colorType == PNG_COLOR_TYPE_RGB          ? 3
                       : o.colorType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                       : o.colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                  : 1;
  const size_t perRow = size_t(width) * channels;
  const size_t bytesPerSample = o.bitDepth == 16 ? 2 : 1;
  std::vector<Bytes> rows(height);
  std::vector<png_bytep> pointers(height);
  for (unsigned y = 0; y < height; ++y) {
    for (size_t i = 0; i < perRow; ++i) {
      const uint16_t v = samples[y * perRow + i];
      if (bytesPerSample == 2) rows[y].push_back(uint8_t(v >> 8));
      rows[y].push_back(uint8_t(v));
    }
    pointers[y] = rows[y].data();
  }
  png_set_interlace_handling(png);
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes MakeJpeg(unsigned width, unsigned height, int components, const std::vector<uint8_t>& samples,
               int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  // Full-resolution colour, so flat test areas keep their exact colours.
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  const size_t stride = size_t(width) * components;
  while (info.next_scanline < height) {
    JSAMPROW row = const_cast<JSAMPROW>(&samples[info.next_scanline * stride]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

Bytes Chunk(const char* type, const Bytes& data) {
  Bytes b;
  PutBig32(b, uint32_t(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  b.insert(b.end(), body.begin(), body.end());
  PutBig32(b, uint32_t(crc32(0, body.data(), uInt(body.size()))));
  return b;
}

Bytes MakeMng(const std::vector<Picture>& frames) {
  Bytes b = {0x8A, 'M', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const Picture& first = frames.front();
  Bytes mhdr;
  PutBig32(mhdr, first.width);
  PutBig32(mhdr, first.height);
  PutBig32(mhdr, 1);  // one tick per second: a long wait after each frame
  PutBig32(mhdr, 0);
  PutBig32(mhdr, uint32_t(frames.size()));
  PutBig32(mhdr, 0);
  PutBig32(mhdr, 1);  // simplicity profile: valid, nothing else declared
  const auto append = [&b](const Bytes& chunk) { b.insert(b.end(), chunk.begin(), chunk.end()); };
  append(Chunk("MHDR", mhdr));
  for (const Picture& p : frames) {
    Bytes ihdr;
    PutBig32(ihdr, p.width);
    PutBig32(ihdr, p.height);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    append(Chunk("IHDR", ihdr));
    Bytes raw;
    for (unsigned y = 0; y < p.height; ++y) {
      raw.push_back(0);  // filter type none
      for (unsigned x = 0; x < p.width; ++x) {
        const LLF::Color c = p.At(x, y);
        raw.insert(raw.end(), {c.r, c.g, c.b, c.a});
      }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    append(Chunk("IDAT", packed));
    append(Chunk("IEND", {}));
  }
  append(Chunk("MEND", {}));
  return b;
}

LLF::Image* LoadBytes(LLF::ImageCodec& codec, Bytes bytes) {
  LLF::File file;
  file.OpenMemory(bytes.data(), unsigned(bytes.size()), LLF::FILEOPS_READ);
  return codec.Load(file);
}

int CountPixels(const LLF::Image& shot, int x, int y, int width, int height,
                bool (*kind)(const LLF::Color&)) {
  int count = 0;
  for (int py = y; py < y + height; ++py) {
    for (int px = x; px < x + width; ++px) {
      LLF::Color c;
      shot.GetPixel(&c, px, py);
      count += kind(c) ? 1 : 0;
    }
  }
  return count;
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool FakeRenderSystem::UpdateImageData(LLF::Image* image, int, int, bool upload) {
  ++updates;
  if (!image->GetRenderData()) {
    image->SetRenderData(new int(0));
    ++liveData;
  }
  if (upload) ++uploads;
  return true;
}

bool FakeRenderSystem::ReleaseImageData(LLF::Image* image) {
  ++releases;
  if (auto* data = static_cast<int*>(image->GetRenderData())) {
    delete data;
    image->SetRenderData(nullptr);
    --liveData;
  }
  return true;
}

CurrentRender::CurrentRender(LLF::IRenderSystem* render) : _render(render) {
  auto& manager = LLF::RendersManager::GetInstance();
  manager.RegisterRender(render);
  manager.SetCurrentRender(manager.GetRendersCount() - 1);
}

CurrentRender::~CurrentRender() {
  auto& manager = LLF::RendersManager::GetInstance();
  manager.ReleaseCurrentRender();
  manager.UnregisterRender(_render);
}

}  // namespace QmTest
