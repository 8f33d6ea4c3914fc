#include "families/WallpaperPictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Report.h"
#include "Staging.h"
#include "core/Random.h"
#include "draw/Lettering.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"
#include "families/FontFiles.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x3A11;
constexpr float kW = float(WallpaperPictures::kWideWidth);
constexpr float kH = float(WallpaperPictures::kWideHeight);
constexpr float kPi = 3.14159265f;

using Palette = std::vector<Rgba>;

// Cyclic palette lookup, t in any range.
Rgba Cycle(const Palette& palette, float t) {
  const float n = float(palette.size());
  float u = std::fmod(t, 1.0f);
  if (u < 0.0f) u += 1.0f;
  const float at = u * n;
  const int i = int(at) % int(palette.size());
  const int j = (i + 1) % int(palette.size());
  const float f = at - std::floor(at);
  const float s = f * f * (3.0f - 2.0f * f);
  return palette[size_t(i)].Mix(palette[size_t(j)], s);
}

const Palette& PaletteOf(int variant) {
  static const Palette kPalettes[4] = {
      {Rgba::Bytes(18, 30, 84), Rgba::Bytes(40, 120, 170), Rgba::Bytes(236, 210, 140),
       Rgba::Bytes(190, 70, 90)},
      {Rgba::Bytes(20, 60, 40), Rgba::Bytes(110, 170, 80), Rgba::Bytes(240, 230, 170),
       Rgba::Bytes(40, 110, 120)},
      {Rgba::Bytes(60, 16, 50), Rgba::Bytes(200, 80, 60), Rgba::Bytes(250, 190, 90),
       Rgba::Bytes(120, 40, 120)},
      {Rgba::Bytes(12, 24, 40), Rgba::Bytes(70, 90, 150), Rgba::Bytes(170, 200, 230),
       Rgba::Bytes(90, 60, 140)},
  };
  return kPalettes[variant % 4];
}

Raster Plasma(int variant) {
  const Palette& palette = PaletteOf(variant);
  const float k = 1.0f + 0.35f * float(variant);
  Raster picture(WallpaperPictures::kWideWidth, WallpaperPictures::kWideHeight);
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  const float u = x / kH * k;
                  const float v = y / kH * k;
                  float s = std::sin(u * 5.0f + float(variant));
                  s += std::sin((v * 4.0f + u * 2.0f) * 1.3f);
                  s += std::sin(std::hypot(u - 0.8f * k, v - 0.5f * k) * 9.0f);
                  s += std::sin(std::hypot(u * 0.7f, v * 1.4f - 0.3f) * 6.0f - float(variant));
                  return Cycle(palette, s * 0.125f + 0.5f);
                });
  return picture;
}

Raster Rings(int variant) {
  const Palette& palette = PaletteOf(variant + 1);
  LLF::SeedRandom(kSeed + 100 + unsigned(variant));
  struct Centre {
    float x, y, period;
  };
  std::vector<Centre> centres;
  for (int i = 0; i < 2 + variant % 2; ++i) {
    centres.push_back({LLF::RandomRange(0.1f * kW, 0.9f * kW), LLF::RandomRange(0.1f * kH, 0.9f * kH),
                       LLF::RandomRange(40.0f, 90.0f)});
  }
  Raster picture(WallpaperPictures::kWideWidth, WallpaperPictures::kWideHeight);
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  float wave = 0.0f;
                  for (const Centre& c : centres) {
                    wave += std::cos(std::hypot(x - c.x, y - c.y) / c.period * 2.0f * kPi);
                  }
                  wave /= float(centres.size());
                  const Rgba base = Cycle(palette, 0.5f + 0.45f * wave + y / kH * 0.25f);
                  // Light from the upper left.
                  return base.Shade(0.12f * (1.0f - (x + y) / (kW + kH)) - 0.08f);
                });
  return picture;
}

Raster Cells(int variant) {
  const Palette& palette = PaletteOf(variant + 2);
  LLF::SeedRandom(kSeed + 200 + unsigned(variant));
  struct Site {
    float x, y, tone;
  };
  std::vector<Site> sites;
  const int count = 18 + variant * 8;
  for (int i = 0; i < count; ++i) {
    sites.push_back({LLF::Random(kW), LLF::Random(kH), LLF::Random(1.0f)});
  }
  const Rgba line = Rgba::Bytes(16, 12, 20);
  Raster picture(WallpaperPictures::kWideWidth, WallpaperPictures::kWideHeight);
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  float best = 1e9f;
                  float second = 1e9f;
                  const Site* nearest = &sites.front();
                  for (const Site& s : sites) {
                    const float d = std::hypot(x - s.x, y - s.y);
                    if (d < best) {
                      second = best;
                      best = d;
                      nearest = &s;
                    } else if (d < second) {
                      second = d;
                    }
                  }
                  // Lit like a pane of stained glass: brighter at its middle.
                  const Rgba glass =
                      Cycle(palette, nearest->tone).Shade(0.25f - std::min(best / 160.0f, 0.5f));
                  const float edge = std::clamp((second - best) / 5.0f, 0.0f, 1.0f);
                  return line.Mix(glass, edge);
                });
  return picture;
}

Raster Stripes(int variant) {
  const Palette& palette = PaletteOf(variant + 3);
  const ValueNoise noise(kSeed + 300 + unsigned(variant), 16);
  const float angle = 0.35f + 0.3f * float(variant);
  const float ca = std::cos(angle);
  const float sa = std::sin(angle);
  Raster picture(WallpaperPictures::kWideWidth, WallpaperPictures::kWideHeight);
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  const float along = x * ca + y * sa;
                  const float across = -x * sa + y * ca;
                  const float bend = 40.0f * std::sin(along / 180.0f + float(variant)) +
                                     30.0f * noise.Fractal(along / 120.0f, 0.5f, 3);
                  const float band = (across + bend) / 70.0f;
                  const float inBand = band - std::floor(band);
                  const Rgba colour = Cycle(palette, std::floor(band) * 0.29f);
                  // A soft ridge across each band.
                  return colour.Shade(0.18f * std::sin(inBand * kPi) - 0.1f);
                });
  return picture;
}

Raster Landscape(int variant) {
  const ValueNoise ridges(kSeed + 400 + unsigned(variant), 32);
  const ValueNoise clouds(kSeed + 410 + unsigned(variant), 16);
  static const Rgba kSkyTop[4] = {Rgba::Bytes(30, 50, 110), Rgba::Bytes(70, 120, 190),
                                  Rgba::Bytes(50, 30, 80), Rgba::Bytes(14, 18, 40)};
  static const Rgba kSkyLow[4] = {Rgba::Bytes(250, 180, 120), Rgba::Bytes(220, 236, 250),
                                  Rgba::Bytes(250, 120, 90), Rgba::Bytes(60, 80, 130)};
  static const Rgba kLand[4] = {Rgba::Bytes(40, 40, 70), Rgba::Bytes(50, 100, 60), Rgba::Bytes(60, 30, 50),
                                Rgba::Bytes(20, 30, 50)};
  const float horizon = kH * (0.55f + 0.04f * float(variant));
  const float sunX = kW * (0.3f + 0.15f * float(variant));
  const float sunY = horizon - 110.0f + 20.0f * float(variant);
  Raster picture(WallpaperPictures::kWideWidth, WallpaperPictures::kWideHeight);
  picture.Paint(
      [](float, float) { return 1.0f; },
      [&](float x, float y) {
        const auto sky = [&](float sy) {
          Rgba c =
              kSkyTop[variant].Mix(kSkyLow[variant], std::pow(std::clamp(sy / horizon, 0.0f, 1.0f), 1.6f));
          const float glow = std::exp(-std::hypot(x - sunX, sy - sunY) / 60.0f);
          c = c.Mix(Rgba::Bytes(255, 244, 210), std::min(1.0f, glow * 1.4f));
          const float cloud = std::max(0.0f, clouds.Fractal(x / 140.0f, sy / 40.0f, 4) - 0.55f) * 2.5f;
          return c.Mix(Rgba::Bytes(250, 236, 230), std::min(0.6f, cloud * (1.0f - sy / horizon)));
        };
        // Three ranges of hills, nearer ones darker.
        for (int layer = 2; layer >= 0; --layer) {
          const float top =
              horizon - (30.0f + 40.0f * float(layer)) *
                            ridges.Fractal(x / (90.0f + 60.0f * float(layer)), float(layer) * 7.0f, 4);
          if (y >= top && y < horizon) {
            const float haze = 0.25f * float(layer);
            return kLand[variant].Shade(-0.2f + 0.05f * float(2 - layer)).Mix(kSkyLow[variant], haze * 0.5f);
          }
        }
        if (y < horizon) return sky(y);
        // The marsh water mirrors the sky, in ripples.
        const float depth = (y - horizon) / (kH - horizon);
        const float ripple = std::sin(y * 0.9f + 6.0f * ridges.At(x / 30.0f, y / 3.0f)) * 3.0f;
        return sky(std::max(0.0f, 2.0f * horizon - y + ripple)).Shade(-0.15f - 0.35f * depth);
      });
  // Reeds along the near shore.
  LLF::SeedRandom(kSeed + 420 + unsigned(variant));
  const Rgba reed = Rgba::Bytes(10, 14, 18);
  for (int i = 0; i < 60; ++i) {
    const float x = LLF::Random(kW);
    const float height = LLF::RandomRange(40.0f, 140.0f);
    const float lean = LLF::RandomRange(-15.0f, 15.0f);
    picture.PaintIn(int(x - 20), int(kH - height - 10), int(x + 20), int(kH),
                    Shape::Tapered({x, kH + 4.0f}, {x + lean, kH - height}, 2.5f, 0.4f), reed);
  }
  return picture;
}

// The number in its upper left: white, a dark outline and soft shadow.
bool DrawNumber(const Lettering& face, int number, Raster& picture) {
  const int margin = 16;
  const Lettering::Line line =
      face.Set(std::wstring(1, wchar_t(L'0' + number / 10)) + wchar_t(L'0' + number % 10), 120, 4, margin);
  const int left = 48 - margin;
  const int top = 40 - margin;
  Mask shadow = line.mask;
  shadow.Dilate(4);
  shadow = shadow.Shifted(4, 6);
  shadow.Blur(6);
  picture.Paint(shadow, left, top, Rgba::Bytes(0, 0, 0, 150));
  Mask edge = line.mask;
  edge.Dilate(3);
  picture.Paint(edge, left, top, Rgba::Bytes(20, 16, 28, 230));
  picture.Paint(line.mask, left, top, Rgba::Bytes(255, 250, 236, 235));
  return true;
}

}  // namespace

std::string WallpaperPictures::TwoDigits(int number) {
  return (number < 10 ? "0" : "") + std::to_string(number);
}

Raster WallpaperPictures::Picture(int number) {
  const int family = (number - 1) / 4;
  const int variant = (number - 1) % 4;
  switch (family) {
    case 0:
      return Plasma(variant);
    case 1:
      return Rings(variant);
    case 2:
      return Cells(variant);
    case 3:
      return Stripes(variant);
    default:
      return Landscape(variant);
  }
}

bool WallpaperPictures::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  std::string path;
  std::string reason;
  if (!FontFiles::Locate(settings, "DejaVuSans-Bold.ttf", path, report)) return false;
  Lettering face;
  if (!face.Open(path, reason)) {
    report.Error(reason);
    return false;
  }
  for (int number = 1; number <= kCount; ++number) {
    Raster picture = Picture(number);
    DrawNumber(face, number, picture);
    const std::string nn = TwoDigits(number);
    if (!staging.SaveJpg("images/wallpapers/wallpaper_" + nn + "_wide.jpg", picture, report) ||
        !staging.SaveJpg("images/wallpapers/wall_" + nn + "_thumb.jpg", picture.Reduced(kThumbFactor),
                         report) ||
        !staging.SaveJpg("images/wallpapers/thumb_wlp_" + nn + "_wide.jpg", picture.Reduced(kAwardFactor),
                         report)) {
      return false;
    }
  }
  return true;
}

}  // namespace Datagen
