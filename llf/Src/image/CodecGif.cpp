#include "image/CodecGif.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include <gif_lib.h>

#include "image/Image.h"
#include "io/File.h"

namespace LLF {

namespace {

int ReadData(GifFileType* gif, GifByteType* buffer, int length) {
  if (length <= 0) return 0;
  return int(static_cast<File*>(gif->UserData)->Read(buffer, unsigned(length)));
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

}  // namespace

CodecGif::CodecGif() {
  Describe(L"Image codec for GIF image files.", L"GIF image codec", L"gif");
}

Image* CodecGif::Load(File& file) {
  const std::wstring name = FileNameOf(file);
  try {
    return Decode(file, name);
  } catch (const std::exception&) {
    SetLastError(L"Exception caught inside of GIFLib. Filename: " + name);
    return nullptr;
  }
}

Image* CodecGif::Decode(File& file, const std::wstring& name) {
  const std::wstring prefix = L"Can't open gif file. ";
  const std::wstring suffix = L"Filename: " + name;
  const auto fail = [&](const wchar_t* what) -> Image* {
    SetLastError(prefix + what + suffix);
    return nullptr;
  };
  int error = 0;
  file.Seek(0, 0);
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&file, ReadData, &error));
  if (!gif) return fail(L"DGifOpen failed. ");
  const unsigned screenWidth = unsigned(gif->SWidth);
  const unsigned screenHeight = unsigned(gif->SHeight);
  if (!CheckSize(screenWidth, screenHeight, name)) return nullptr;
  // The background fill below writes every pixel.
  auto image = std::make_unique<Image>(screenWidth, screenHeight, IMGFORMAT_R8G8B8X8, false);
  if (image->GetWidth() != screenWidth || image->GetHeight() != screenHeight) {
    return fail(L"Not enough memory for the screen. ");
  }

  // The background colour comes from the global map. Without one it comes
  // from the last frame's own map, known only at the end: until then the
  // pixels the frames draw are marked. An index past the map gives black.
  const auto backgroundIn = [&](const ColorMapObject* map) {
    if (!map || !map->Colors || gif->SBackGroundColor < 0 || gif->SBackGroundColor >= map->ColorCount)
      return Color(0, 0, 0, 255);
    const GifColorType& c = map->Colors[gif->SBackGroundColor];
    return Color(c.Red, c.Green, c.Blue, 255);
  };
  const ColorMapObject* global = gif->SColorMap;
  std::vector<uint8_t> drawn;
  if (global) {
    const Color background = backgroundIn(global);
    image->Fill(&background);
  } else {
    drawn.assign(size_t(screenWidth) * screenHeight, 0);
  }
  Color lastMapBackground(0, 0, 0, 255);

  std::vector<GifByteType> line(screenWidth);
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) return fail(L"DGifGetRecordType failed. ");
    if (record == TERMINATE_RECORD_TYPE) break;
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) return fail(L"DGifGetExtension failed. ");
      while (block) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
          return fail(L"DGifGetExtensionNext failed. ");
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) continue;

    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return fail(L"DGifGetImageDesc failed. ");
    const GifImageDesc& desc = gif->Image;
    const int64_t left = desc.Left;
    const int64_t top = desc.Top;
    const int64_t width = desc.Width;
    const int64_t height = desc.Height;
    if (left < 0 || top < 0 || width < 0 || height < 0 || left + width > screenWidth ||
        top + height > screenHeight) {
      return fail(L"Image is not confined to screen dimension, aborted. ");
    }
    // Each frame is drawn with its own map, so earlier frames keep their
    // colours when a later one brings another map.
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : global;
    if (!map || !map->Colors || map->ColorCount <= 0) return fail(L"Image has no colour map. ");
    lastMapBackground = backgroundIn(map);

    // Interlaced frames come in four passes: rows 0, 4, 2 and 1 onwards in
    // steps of 8, 8, 4 and 2.
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
      const int start = desc.Interlace ? kStart[pass] : 0;
      const int step = desc.Interlace ? kStep[pass] : 1;
      for (int64_t row = start; row < height; row += step) {
        if (DGifGetLine(gif.get(), line.data(), int(width)) == GIF_ERROR)
          return fail(L"DGifGetLine failed. ");
        uint8_t* out = image->GetRow(unsigned(top + row)) + left * 4;
        if (!drawn.empty()) {
          std::fill_n(drawn.begin() + int64_t(screenWidth) * (top + row) + left, width, uint8_t(1));
        }
        for (int64_t x = 0; x < width; ++x, out += 4) {
          const GifByteType index = line[size_t(x)];
          if (index >= map->ColorCount) return fail(L"Colour index outside the colour map. ");
          const GifColorType& c = map->Colors[index];
          out[0] = c.Red;
          out[1] = c.Green;
          out[2] = c.Blue;
          out[3] = 255;
        }
      }
    }
  }
  if (!drawn.empty()) {
    for (unsigned y = 0; y < screenHeight; ++y) {
      uint8_t* out = image->GetRow(y);
      const uint8_t* mark = &drawn[size_t(screenWidth) * y];
      for (unsigned x = 0; x < screenWidth; ++x, out += 4) {
        if (!mark[x]) std::memcpy(out, &lastMapBackground, 4);
      }
    }
  }
  return image.release();
}

bool CodecGif::Save(Image*, const std::wstring& fileName) {
  SetLastError(L"GIF saving is not supported. Filename: " + fileName);
  return false;
}

}  // namespace LLF
