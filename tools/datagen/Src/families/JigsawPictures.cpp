#include "families/JigsawPictures.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Report.h"
#include "Staging.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "draw/BoardFrame.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"
#include "image/CodecJpg.h"
#include "image/Image.h"

namespace Datagen {

namespace {

float Clamp01(float v) {
  return std::min(1.0f, std::max(0.0f, v));
}

// A landscape drawn from a seed: everything above the lake's shore line as
// one function of the position, so the lake can mirror it.
class Landscape {
 public:
  Landscape(int width, int height, unsigned seed)
      : _w(float(width)), _h(float(height)), _noise(seed), _shore(float(height) * 0.64f) {
    LLF::SeedRandom(seed);
    _sunX = _w * LLF::RandomRange(0.55f, 0.8f);
    _sunY = _h * LLF::RandomRange(0.14f, 0.22f);
    for (int k = 0; k < 3; ++k) _offset[k] = LLF::RandomRange(0.0f, 50.0f);
  }

  float Shore() const { return _shore; }

  // The top of hill layer k (0 far, 2 near) at x.
  float Ridge(int k, float x) const {
    const float base[3] = {0.36f, 0.47f, 0.57f};
    const float amplitude[3] = {0.22f, 0.16f, 0.1f};
    const float scale[3] = {90.0f, 70.0f, 55.0f};
    return _h * (base[k] - amplitude[k] * _noise.Fractal(x / scale[k] + _offset[k], 3.0f + 7.0f * k, 5));
  }

  Rgba Above(float x, float y) const {
    // Sky: deep blue above, warm near the horizon, soft clouds and the
    // sun's glow.
    const float t = Clamp01(y / _shore);
    Rgba colour = Rgba::Bytes(58, 104, 176).Mix(Rgba::Bytes(250, 204, 150), t * t);
    const float cloud = _noise.Fractal(x / 60.0f + 11.0f, y / 22.0f, 5);
    colour = colour.Mix(Rgba::Bytes(255, 246, 236), Clamp01((cloud - 0.5f) * 3.0f) * (1.0f - t) * 0.9f);
    const float d = std::hypot(x - _sunX, y - _sunY);
    const float radius = _h * 0.06f;
    colour = colour.Mix(Rgba::Bytes(255, 236, 170), Clamp01(1.0f - (d - radius) / (radius * 3.0f)) * 0.5f);
    colour = colour.Mix(Rgba::Bytes(255, 250, 220), Shape::FromDistance(d - radius));
    const Rgba hills[3][2] = {{Rgba::Bytes(132, 126, 170), Rgba::Bytes(176, 160, 176)},
                              {Rgba::Bytes(70, 110, 92), Rgba::Bytes(122, 144, 110)},
                              {Rgba::Bytes(40, 88, 44), Rgba::Bytes(96, 128, 52)}};
    for (int k = 0; k < 3; ++k) {
      const float top = Ridge(k, x);
      const float cover = Shape::FromDistance(top - y);
      if (cover <= 0.0f) continue;
      const float texture = _noise.Fractal(x / (14.0f - 3.0f * k), y / (10.0f - 2.0f * k) + 40.0f * k, 4);
      Rgba hill = hills[k][0].Mix(hills[k][1], Clamp01((y - top) / (_h * 0.18f)));
      hill = hill.Shade((texture - 0.5f) * (0.35f + 0.15f * k));
      // Haze over the far layers.
      hill = hill.Mix(Rgba::Bytes(236, 208, 180), 0.28f - 0.12f * k);
      colour = colour.Mix(hill, cover);
    }
    return colour.WithAlpha(1.0f);
  }

  Rgba At(float x, float y) const {
    if (y < _shore) return Above(x, y);
    // The lake mirrors what stands above it, darker and bluer, broken by
    // ripples; a meadow runs along the front.
    const float depth = (y - _shore) / (_h - _shore);
    const float ripple = std::sin(y * 0.9f + _noise.At(x / 30.0f, y / 6.0f) * 6.0f) * (1.5f + depth * 3.0f);
    const float mirrored = std::max(0.0f, 2.0f * _shore - y);
    Rgba water = Above(x + ripple, mirrored).Mix(Rgba::Bytes(36, 70, 110), 0.35f + depth * 0.3f);
    water = water.Shade((_noise.Fractal(x / 40.0f, y / 4.0f, 3) - 0.5f) * 0.25f);
    const float meadowTop = _h * (0.86f + 0.05f * _noise.Fractal(x / 80.0f + 5.0f, 1.0f, 4));
    const float cover = Shape::FromDistance(meadowTop - y);
    if (cover > 0.0f) {
      const float grass = _noise.Fractal(x / 3.0f, y / 9.0f, 4);
      const Rgba meadow = Rgba::Bytes(76, 126, 40).Mix(Rgba::Bytes(150, 170, 60), grass).Shade(-depth * 0.2f);
      water = water.Mix(meadow, cover);
    }
    return water.WithAlpha(1.0f);
  }

 private:
  float _w;
  float _h;
  ValueNoise _noise;
  float _shore;
  float _sunX = 0.0f;
  float _sunY = 0.0f;
  float _offset[3] = {};
};

void Pine(Raster& picture, float x, float base, float height) {
  const float w = height * 0.36f;
  picture.PaintIn(int(x - 3), int(base - height * 0.2f), int(x + 4), int(base + 1),
                  Shape::RoundedRect(x - 1.5f, base - height * 0.2f, x + 1.5f, base, 0.5f),
                  Rgba::Bytes(70, 44, 24));
  for (int tier = 0; tier < 3; ++tier) {
    const float bottom = base - height * (0.12f + 0.26f * tier);
    const float top = bottom - height * 0.5f;
    const float half = w * (1.0f - 0.25f * tier);
    const Rgba green = Rgba::Bytes(26, 74, 40).Shade(0.08f * tier);
    picture.PaintIn(int(x - half - 2), int(top - 2), int(x + half + 2), int(bottom + 2),
                    Shape::Polygon({{x, top}, {x + half, bottom}, {x - half, bottom}}), green);
  }
}

void House(Raster& picture, float x, float base, float size, const Rgba& wall, const Rgba& roof) {
  const float w = size;
  const float h = size * 0.7f;
  picture.PaintIn(int(x - 2), int(base - h - 2), int(x + w + 2), int(base + 2),
                  Shape::RoundedRect(x, base - h, x + w, base, 0.5f), wall);
  picture.PaintIn(
      int(x - 6), int(base - h - size * 0.6f - 2), int(x + w + 6), int(base - h + 2),
      Shape::Polygon({{x - 4, base - h}, {x + w * 0.5f, base - h - size * 0.6f}, {x + w + 4, base - h}}),
      roof);
  const float door = size * 0.22f;
  picture.PaintIn(int(x), int(base - h), int(x + w), int(base + 1),
                  Shape::RoundedRect(x + w * 0.2f, base - h * 0.55f, x + w * 0.2f + door, base, 0.5f),
                  Rgba::Bytes(80, 48, 26));
  picture.PaintIn(int(x), int(base - h), int(x + w), int(base),
                  Shape::RoundedRect(x + w * 0.6f, base - h * 0.7f, x + w * 0.82f, base - h * 0.42f, 0.5f),
                  Rgba::Bytes(250, 220, 120));
}

Raster LevelPicture(int width, int height, unsigned seed) {
  const Landscape land(width, height, seed);
  Raster picture(width, height);
  picture.Paint([](float, float) { return 1.0f; }, [&](float x, float y) { return land.At(x, y); });
  // Trees along the near hills, houses between them, more trees on the
  // meadow in front of the lake.
  const int trees = width / 26;
  for (int i = 0; i < trees; ++i) {
    const float x = LLF::RandomRange(8.0f, float(width) - 8.0f);
    const float base = land.Ridge(2, x) + LLF::RandomRange(6.0f, 26.0f);
    if (base >= land.Shore()) continue;
    Pine(picture, x, base, LLF::RandomRange(height * 0.05f, height * 0.09f));
  }
  const Rgba walls[3] = {Rgba::Bytes(236, 222, 196), Rgba::Bytes(214, 176, 130), Rgba::Bytes(200, 206, 214)};
  const Rgba roofs[3] = {Rgba::Bytes(170, 60, 40), Rgba::Bytes(96, 70, 60), Rgba::Bytes(60, 80, 120)};
  for (int i = 0; i < 4; ++i) {
    const float x = float(width) * (0.1f + 0.22f * i) + LLF::RandomRange(-20.0f, 20.0f);
    const float base = std::min(land.Ridge(2, x + 10) + 24.0f, land.Shore() - 4.0f);
    House(picture, x, base, height * 0.05f, walls[i % 3], roofs[(i + 1) % 3]);
  }
  for (int i = 0; i < trees / 2; ++i) {
    const float x = LLF::RandomRange(8.0f, float(width) - 8.0f);
    Pine(picture, x, float(height) - LLF::RandomRange(2.0f, height * 0.06f),
         LLF::RandomRange(height * 0.1f, height * 0.15f));
  }
  House(picture, float(width) * LLF::RandomRange(0.3f, 0.6f), float(height) - 6.0f, height * 0.08f, walls[0],
        roofs[0]);
  return picture;
}

Raster Background(unsigned seed) {
  const ValueNoise noise(seed);
  Raster table(800, 600);
  table.Paint([](float, float) { return 1.0f; },
              [&](float x, float y) {
                // Planks with a grain along them.
                const float grain = noise.Fractal(x / 90.0f, y / 5.0f, 5);
                const float seam = std::fabs(std::fmod(y, 75.0f) - 37.5f) > 36.5f ? 0.25f : 0.0f;
                return Rgba::Bytes(116, 72, 40).Mix(Rgba::Bytes(150, 98, 56), grain).Shade(-seam);
              });
  // The board's tray, the counters' panel and the buttons' strip.
  table.Paint(
      Shape::RoundedRect(JigsawPictures::kWindowLeft - 4.0f, JigsawPictures::kWindowTop - 4.0f,
                         JigsawPictures::kWindowRight + 4.0f, JigsawPictures::kWindowBottom + 4.0f, 8),
      [&](float x, float y) {
        return Rgba::Bytes(30, 26, 30).Shade((noise.Fractal(x / 20.0f, y / 20.0f, 3) - 0.5f) * 0.2f);
      });
  table.Paint(Shape::RoundedRect(706, 96, 794, 420, 10), [&](float x, float y) {
    return Rgba::Bytes(232, 214, 172).Shade((noise.Fractal(x / 25.0f + 9.0f, y / 25.0f, 4) - 0.5f) * 0.3f);
  });
  table.Paint(
      [](float x, float y) {
        return Shape::FromDistance(std::fabs(Shape::RoundedRectDistance(x, y, 706, 96, 794, 420, 10)) - 1.2f);
      },
      Rgba::Bytes(150, 110, 50));
  table.Paint(Shape::RoundedRect(24, 548, 560, 596, 10), Rgba::Bytes(60, 38, 22, 150));
  return table;
}

bool SaveJpeg(Staging& staging, const std::string& relative, const Raster& picture, Report& report) {
  // Claimed empty first, then written by the codec in place.
  if (!staging.Write(relative, std::string(), report)) return false;
  const std::unique_ptr<LLF::Image> image = picture.ToImage(true);
  LLF::CodecJpg& codec = LLF::CodecJpg::GetInstance();
  if (!codec.Save(image.get(), LLF::FromOsPath(staging.PathOf(relative).string()))) {
    report.Error("cannot save " + relative + ": " + LLF::WideToAnsi(codec.GetLastError()));
    return false;
  }
  return true;
}

}  // namespace

bool JigsawPictures::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return SaveJpeg(staging, "levels/d1_jigsaw/picture.jpg", LevelPicture(600, 450, 0x1A5C01), report) &&
         SaveJpeg(staging, "levels/d2_jigsaw/picture.jpg", LevelPicture(640, 480, 0x2B7E02), report) &&
         staging.SavePng("images/jigsaw/background.png", Background(0x7AB1E), report, true) &&
         staging.SavePng("images/jigsaw/frame.png",
                         BoardFrame::Paint(kWindowLeft, kWindowTop, kWindowRight, kWindowBottom), report);
}

}  // namespace Datagen
