#include "families/ShowcaseBackdrop.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "core/Random.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0xB0665;
constexpr float kHorizon = 392.0f;
constexpr float kMoonX = 604.0f;
constexpr float kMoonY = 128.0f;
constexpr float kMoonR = 30.0f;

Rgba Gradient(const std::vector<std::pair<float, Rgba>>& stops, float t) {
  if (t <= stops.front().first) return stops.front().second;
  for (size_t i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].first) {
      const float span = stops[i].first - stops[i - 1].first;
      return stops[i - 1].second.Mix(stops[i].second, (t - stops[i - 1].first) / span);
    }
  }
  return stops.back().second;
}

Rgba Sky(float x, float y) {
  static const std::vector<std::pair<float, Rgba>> kStops = {
      {0.0f, Rgba::Bytes(16, 20, 52)},    {0.35f, Rgba::Bytes(44, 50, 104)},
      {0.62f, Rgba::Bytes(118, 86, 140)}, {0.84f, Rgba::Bytes(222, 132, 128)},
      {1.0f, Rgba::Bytes(250, 196, 132)},
  };
  Rgba c = Gradient(kStops, y / kHorizon);
  // The moon's glow.
  const float d = std::hypot(x - kMoonX, y - kMoonY);
  const float glow = std::exp(-d / 90.0f) * 0.35f;
  return c.Mix(Rgba::Bytes(255, 240, 214), glow);
}

void PaintSky(Raster& art, const ValueNoise& noise) {
  art.PaintIn(
      0, 0, ShowcaseBackdrop::kWidth, int(kHorizon) + 1, [](float, float) { return 1.0f; },
      [&](float x, float y) {
        Rgba c = Sky(x, y);
        // Thin streaks of cloud lit from below near the horizon.
        const float band = std::exp(-std::pow((y - 300.0f) / 55.0f, 2.0f));
        const float cloud = std::max(0.0f, noise.Fractal(x / 160.0f, y / 18.0f, 4) - 0.52f) * 2.4f;
        return c.Mix(Rgba::Bytes(255, 190, 160), std::min(0.55f, cloud * band));
      });
  // Stars in the dark upper sky, fewer toward the horizon.
  for (int i = 0; i < 90; ++i) {
    const float x = LLF::RandomRange(0.0f, float(ShowcaseBackdrop::kWidth));
    const float y = LLF::Random(1.0f);
    const float sy = y * y * 230.0f;
    const float r = 0.6f + LLF::Random(0.9f);
    const float a = (0.35f + LLF::Random(0.6f)) * (1.0f - sy / 260.0f);
    if (std::hypot(x - kMoonX, sy - kMoonY) < kMoonR * 2.2f) continue;
    art.PaintIn(int(x) - 3, int(sy) - 3, int(x) + 4, int(sy) + 4, Shape::Circle(x, sy, r),
                Rgba::Bytes(255, 250, 235).WithAlpha(a));
  }
  // The moon, with faint shading.
  art.PaintIn(int(kMoonX - kMoonR) - 2, int(kMoonY - kMoonR) - 2, int(kMoonX + kMoonR) + 3,
              int(kMoonY + kMoonR) + 3, Shape::Circle(kMoonX, kMoonY, kMoonR), [&](float x, float y) {
                const float spots = noise.Fractal(x / 9.0f, y / 9.0f, 3);
                return Rgba::Bytes(255, 246, 222).Shade(-(spots - 0.4f) * 0.25f);
              });
}

float Ridge(const ValueNoise& noise, float x, float base, float height, float scale, float offset) {
  return base - noise.Fractal(x / scale + offset, offset, 5) * height;
}

void PaintHills(Raster& art, const ValueNoise& noise) {
  const int w = ShowcaseBackdrop::kWidth;
  // Far hills in haze, then nearer and darker ones.
  art.PaintIn(
      0, 250, w, int(kHorizon) + 1,
      [&](float x, float y) { return Shape::FromDistance(Ridge(noise, x, 392, 120, 230, 3.1f) - y); },
      [&](float, float y) {
        return Rgba::Bytes(92, 74, 124).Mix(Rgba::Bytes(150, 102, 128), (y - 290.0f) / 100.0f);
      });
  art.PaintIn(
      0, 300, w, int(kHorizon) + 1,
      [&](float x, float y) { return Shape::FromDistance(Ridge(noise, x, 398, 70, 140, 7.7f) - y); },
      [&](float, float y) {
        return Rgba::Bytes(44, 40, 82).Mix(Rgba::Bytes(70, 56, 96), (y - 330.0f) / 60.0f);
      });
}

void PaintWater(Raster& art, const ValueNoise& noise) {
  const int w = ShowcaseBackdrop::kWidth;
  const int h = ShowcaseBackdrop::kHeight;
  art.PaintIn(
      0, int(kHorizon), w, h, [](float, float) { return 1.0f; },
      [&](float x, float y) {
        // The sky mirrored and darkened, with ripples that shift the mirror.
        const float depth = (y - kHorizon) / float(h - kHorizon);
        const float ripple = (noise.At(x / 60.0f, y / 3.0f) - 0.5f) * 18.0f * (0.3f + depth);
        const float mirrored = std::max(0.0f, kHorizon - (y - kHorizon) * 1.4f + ripple);
        Rgba c = Sky(x, mirrored).Mix(Rgba::Bytes(14, 18, 44), 0.25f + depth * 0.55f);
        // The moon's path on the water.
        const float path = std::exp(-std::pow((x - kMoonX) / (14.0f + depth * 60.0f), 2.0f));
        const float glitter = std::max(0.0f, noise.At(x / 7.0f, y / 1.6f) - 0.45f) * 2.0f;
        return c.Mix(Rgba::Bytes(255, 236, 200), path * glitter * 0.8f);
      });
  // Long flat ripple lines catching the light.
  for (int i = 0; i < 38; ++i) {
    const float y = kHorizon + 6.0f + std::pow(LLF::Random(1.0f), 1.6f) * float(h - kHorizon - 10);
    const float depth = (y - kHorizon) / float(h - kHorizon);
    const float x = LLF::RandomRange(-40.0f, float(w));
    const float length = 30.0f + LLF::Random(120.0f) * (0.4f + depth);
    const float thick = 0.5f + depth * 1.2f;
    art.PaintIn(int(x) - 2, int(y) - 3, int(x + length) + 3, int(y) + 4,
                Shape::Tapered({x, y}, {x + length, y}, thick * 0.3f, thick),
                Rgba::Bytes(255, 214, 190).WithAlpha(0.18f + 0.2f * (1.0f - depth)));
  }
  // A soft line of mist on the horizon.
  art.PaintIn(
      0, int(kHorizon) - 14, w, int(kHorizon) + 14, [](float, float) { return 1.0f; },
      [&](float x, float y) {
        const float mist = std::exp(-std::pow((y - kHorizon) / 6.0f, 2.0f));
        return Rgba::Bytes(250, 200, 170).WithAlpha(mist * (0.25f + 0.2f * noise.At(x / 40.0f, 0.5f)));
      });
}

// One reed: a slightly bent blade from its foot up, and on some a cattail.
void PaintReed(Raster& art, float footX, float footY, float height, float lean, bool cattail,
               const Rgba& colour) {
  const int segments = 6;
  Point2 previous{footX, footY};
  float width = 2.4f + height / 110.0f;
  for (int i = 1; i <= segments; ++i) {
    const float t = float(i) / segments;
    const Point2 next{footX + lean * t * t * height, footY - t * height};
    const float nextWidth = width * (1.0f - 0.13f * float(i));
    art.PaintIn(int(std::min(previous.x, next.x)) - 5, int(next.y) - 5, int(std::max(previous.x, next.x)) + 6,
                int(previous.y) + 6, Shape::Tapered(previous, next, width, std::max(0.4f, nextWidth)),
                colour);
    previous = next;
    width = std::max(0.4f, nextWidth);
  }
  if (cattail) {
    const float t = 0.78f;
    const float cx = footX + lean * t * t * height;
    const float cy = footY - t * height;
    art.PaintIn(int(cx) - 8, int(cy) - 20, int(cx) + 9, int(cy) + 21,
                Shape::Tapered({cx - lean * 0.04f * height, cy + 13.0f}, {cx, cy - 13.0f}, 3.6f, 3.2f),
                Rgba::Bytes(40, 22, 20));
  }
}

void PaintBanks(Raster& art, const ValueNoise& noise) {
  const int w = ShowcaseBackdrop::kWidth;
  const int h = ShowcaseBackdrop::kHeight;
  const Rgba bank = Rgba::Bytes(10, 14, 30);
  // Muddy banks rising at both sides.
  art.PaintIn(
      0, 430, w, h,
      [&](float x, float y) {
        const float left = 520.0f - 140.0f * std::pow(std::max(0.0f, 1.0f - x / 300.0f), 1.5f);
        const float right = 540.0f - 110.0f * std::pow(std::max(0.0f, (x - 560.0f) / 240.0f), 1.4f);
        const float top = std::min(left, right) + (noise.At(x / 25.0f, 9.0f) - 0.5f) * 10.0f;
        return Shape::FromDistance(top - y);
      },
      bank);
  // Reeds in two layers: a dim one behind, a dark one in front.
  for (int layer = 0; layer < 2; ++layer) {
    const Rgba colour = layer == 0 ? Rgba::Bytes(30, 32, 58) : bank;
    const int count = layer == 0 ? 70 : 60;
    for (int i = 0; i < count; ++i) {
      // Clumps at the sides, a few in the middle.
      float u = LLF::Random(1.0f);
      u = u < 0.5f ? std::pow(u * 2.0f, 1.8f) * 0.42f : 1.0f - std::pow((u - 0.5f) * 2.0f, 1.8f) * 0.36f;
      const float x = u * float(w);
      const float side = std::min(u / 0.42f, (1.0f - u) / 0.36f);
      const float footY = float(h) - LLF::Random(70.0f) - (layer == 0 ? 40.0f : 0.0f);
      const float height =
          (layer == 0 ? 120.0f : 150.0f) + LLF::Random(140.0f) * (1.2f - std::min(1.0f, side));
      const float lean = LLF::RandomRange(-0.18f, 0.18f);
      PaintReed(art, x, footY, height, lean, LLF::RandomInt() % 5 == 0, colour);
    }
  }
}

}  // namespace

Raster ShowcaseBackdrop::Draw() {
  LLF::SeedRandom(kSeed);
  const ValueNoise noise(kSeed);
  LLF::SeedRandom(kSeed + 1);
  Raster art(kWidth, kHeight);
  PaintSky(art, noise);
  PaintHills(art, noise);
  PaintWater(art, noise);
  PaintBanks(art, noise);
  // A gentle vignette keeps the eye in the middle.
  art.Paint(
      [](float, float) { return 1.0f; },
      [](float x, float y) {
        const float dx = (x - kWidth * 0.5f) / (kWidth * 0.5f);
        const float dy = (y - kHeight * 0.45f) / (kHeight * 0.55f);
        return Rgba::Bytes(4, 4, 16).WithAlpha(std::clamp((dx * dx + dy * dy - 0.5f) * 0.45f, 0.0f, 0.4f));
      });
  return art;
}

bool ShowcaseBackdrop::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("images/showcase_bg.png", Draw(), report, true);
}

}  // namespace Datagen
