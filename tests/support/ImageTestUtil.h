#pragma once
// Fixture makers and helpers shared by the image tests: files of every
// format built in memory (BMP, GIF and MNG byte by byte, PNG and JPEG through
// their libraries) and a render-system test double.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "image/Image.h"
#include "image/ImageCodec.h"
#include "math/Color.h"
#include "render/IRenderSystem.h"

namespace QmTest {

using Bytes = std::vector<uint8_t>;

// A picture given top row first, one colour per pixel.
struct Picture {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<LLF::Color> pixels;
  LLF::Color At(unsigned x, unsigned y) const { return pixels[size_t(y) * width + x]; }
};

// A deterministic test picture: every pixel different.
Picture Pattern(unsigned width, unsigned height, bool alpha);
// Compares an image with a picture; the fourth byte only when checkFourth.
::testing::AssertionResult SamePixels(const LLF::Image& image, const Picture& picture, bool checkFourth);

// BMP: bitCount 24 or 32; the rows are written as the options say.
struct BmpOptions {
  unsigned bitCount = 24;
  uint32_t infoSize = 40;
  uint32_t compression = 0;
  bool topDown = false;                  // negative height
  uint32_t gap = 0;                      // bytes between headers and pixels
  bool offsetPointsAtGap = false;        // pixel-data offset set to the headers' end, not past the gap
  std::optional<int32_t> widthField{};   // written instead of the width
  std::optional<int32_t> heightField{};  // written instead of the (signed) height
  int64_t offsetOverride = -1;           // not negative: written as the pixel-data offset
};
Bytes MakeBmp(const Picture& picture, const BmpOptions& options = {});

// GIF with explicit colour maps and index rows.
struct GifFrame {
  unsigned left = 0, top = 0, width = 0, height = 0;
  bool interlace = false;
  std::vector<LLF::Color> localMap{};  // empty: none
  std::vector<uint8_t> indexes{};      // width * height, top row first
};
struct GifFile {
  unsigned width = 0, height = 0;
  std::vector<LLF::Color> globalMap{};  // empty: none
  uint8_t background = 0;
  std::vector<GifFrame> frames{};
  bool withExtension = true;  // a graphic-control extension before each frame
};
Bytes MakeGif(const GifFile& gif);

// PNG through libpng. colorType and bitDepth as libpng's; samples are the
// raw sample values, row by row (channels per pixel as the colour type
// says); for a palette image they are indexes.
struct PngOptions {
  int colorType = 2;  // PNG_COLOR_TYPE_RGB
  int bitDepth = 8;
  bool interlace = false;
  std::vector<LLF::Color> palette{};
  std::vector<uint8_t> paletteAlpha{};  // tRNS for a palette image
};
Bytes MakePng(unsigned width, unsigned height, const std::vector<uint16_t>& samples,
              const PngOptions& options);

// JPEG through libjpeg: components 1 (grey), 3 (RGB) or 4 (CMYK); samples
// as bytes, row by row.
Bytes MakeJpeg(unsigned width, unsigned height, int components, const std::vector<uint8_t>& samples,
               int quality = 95);

// MNG built chunk by chunk: each frame is a full RGBA picture of the
// given size, a delay between frames.
Bytes MakeMng(const std::vector<Picture>& frames);

// A raw PNG chunk with its length and CRC.
Bytes Chunk(const char* type, const Bytes& data);

// Loads bytes through a codec from a memory file.
LLF::Image* LoadBytes(LLF::ImageCodec& codec, Bytes bytes);

// The pixels of the rectangle (x, y, width, height) of shot that kind
// accepts.
int CountPixels(const LLF::Image& shot, int x, int y, int width, int height, bool (*kind)(const LLF::Color&));

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

// A render system that records image uploads and releases; it draws
// nothing.
class FakeRenderSystem : public LLF::IRenderSystem {
 public:
  void Destroy() override { ++destroyed; }
  bool UpdateImageData(LLF::Image* image, int, int, bool upload) override;
  bool ReleaseImageData(LLF::Image* image) override;

  std::wstring Dump() const override { return L"FakeRenderSystem"; }
  bool IsHardware() const override { return false; }
  bool IsHardwareKind() const override { return false; }
  void SetBlendMode(int) override {}
  void PushTransform(const LLF::Matrix4&) override {}
  void GetTransform(LLF::Matrix4&) override {}
  void PopTransform() override {}
  bool Init(const LLF::RenderSettings&) override { return true; }
  bool SwitchMode(bool, int) override { return false; }
  void Resize(unsigned, unsigned) override {}
  LLF::Image* GetScreenshot() override { return nullptr; }
  bool RequestScreenshot(const std::wstring&) override { return false; }
  void* Get3DRender() override { return nullptr; }
  bool BeginFrame() override { return true; }
  void EndFrame() override {}
  void Clear(const LLF::Color&, bool, bool) override {}
  void SetClipRect(const LLF::Rect*) override {}
  void FillRect(const LLF::RectF&, const LLF::Color&) override {}
  void FillRect(const LLF::Rect&, const LLF::Color&) override {}
  void FillQuad(const LLF::Vector2&, const LLF::Vector2&, const LLF::Vector2&, const LLF::Vector2&,
                const LLF::Color&) override {}
  void DrawLine(const LLF::Vector2&, const LLF::Vector2&, const LLF::Color&) override {}
  void DrawPolyline(const std::vector<LLF::Vector2>&, const LLF::Color&) override {}
  void DrawImage(LLF::Image*, const HLF::ImageDrawParams&) override {}
  void DrawImageTiled(LLF::Image*, const HLF::ImageDrawParams&) override {}
  void DrawImagePart(LLF::Image*, const HLF::ImageDrawParams&) override {}
  void DrawImageArray(LLF::Image*, const HLF::ImageDrawParams&, const LLF::TexturedVertex*,
                      unsigned) override {}
  void DrawText(const LLF::Font&, const LLF::TextDrawParams&) override {}
  void SetScreenTint(const LLF::Color&) override {}
  LLF::Color GetScreenTint() override { return LLF::Color(255, 255, 255, 0); }

  int destroyed = 0;
  int updates = 0;
  int uploads = 0;
  int releases = 0;
  int liveData = 0;  // render records created and not yet released
};

// Makes a fake render system current for its lifetime (the renders manager
// is a process-wide singleton).
class CurrentRender {
 public:
  explicit CurrentRender(LLF::IRenderSystem* render);
  ~CurrentRender();

 private:
  LLF::IRenderSystem* _render;
};

}  // namespace QmTest
