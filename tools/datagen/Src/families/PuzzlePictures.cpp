#include "families/PuzzlePictures.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Report.h"
#include "Staging.h"
#include "core/Random.h"
#include "draw/BoardFrame.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"

namespace Datagen {

namespace {

float Clamp01(float v) {
  return std::min(1.0f, std::max(0.0f, v));
}

// Paints a coverage over the box (x0, y0)-(x1, y1) only, padded by a pixel.
void Fill(Raster& picture, float x0, float y0, float x1, float y1, const Shape::Coverage& shape,
          const Rgba& colour) {
  picture.PaintIn(int(std::floor(x0)) - 2, int(std::floor(y0)) - 2, int(std::ceil(x1)) + 2,
                  int(std::ceil(y1)) + 2, shape, colour);
}

void Stroke(Raster& picture, Point2 a, Point2 b, float ra, float rb, const Rgba& colour) {
  const float r = std::max(ra, rb);
  Fill(picture, std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
       std::max(a.y, b.y) + r, Shape::Tapered(a, b, ra, rb), colour);
}

void Disc(Raster& picture, float cx, float cy, float radius, const Rgba& colour) {
  Fill(picture, cx - radius, cy - radius, cx + radius, cy + radius, Shape::Circle(cx, cy, radius), colour);
}

// The scene's fixed parts: the sky, the hills and the meadow as one
// function of the position.
class Scene {
 public:
  Scene(float size, unsigned seed) : _s(size), _noise(seed) {
    LLF::SeedRandom(seed);
    _sunX = _s * LLF::RandomRange(0.72f, 0.84f);
    _sunY = _s * LLF::RandomRange(0.1f, 0.16f);
    _offset = LLF::RandomRange(0.0f, 40.0f);
  }

  float Horizon() const { return _s * 0.56f; }
  // The top of the hills (k = 0 far, 1 near) at x.
  float Ridge(int k, float x) const {
    const float base = k == 0 ? 0.42f : 0.52f;
    const float amplitude = k == 0 ? 0.14f : 0.08f;
    return _s *
           (base - amplitude * _noise.Fractal(x / (k == 0 ? 80.0f : 60.0f) + _offset, 5.0f + 9.0f * k, 5));
  }
  float GroundTop(float x) const { return _s * 0.6f + 6.0f * std::sin(x / 70.0f + _offset); }
  float SunX() const { return _sunX; }
  float SunY() const { return _sunY; }

  Rgba At(float x, float y) const {
    // The sky: deep blue at the top, pale and warm at the horizon.
    const float t = Clamp01(y / Horizon());
    Rgba colour = Rgba::Bytes(40, 86, 168).Mix(Rgba::Bytes(240, 222, 190), t * t);
    // Clouds: puffy on top, cut flat underneath.
    for (int band = 0; band < 2; ++band) {
      const float bottom = _s * (band == 0 ? 0.17f : 0.3f);
      const float height = _s * (band == 0 ? 0.09f : 0.07f);
      if (y > bottom || y < bottom - height * 1.6f) continue;
      const float puff = _noise.Fractal(x / 38.0f + 20.0f * band, y / 30.0f + 7.0f, 4);
      const float rise = (bottom - y) / height;
      const float density = puff - 0.2f - rise * 0.45f;
      const float cover = Clamp01(density * 6.0f) * Clamp01((bottom - y) / 2.0f);
      const Rgba cloud = Rgba::Bytes(255, 255, 255).Mix(Rgba::Bytes(190, 196, 214), Clamp01(1.0f - rise));
      colour = colour.Mix(cloud, cover * 0.95f);
    }
    // The sun and its glow.
    const float d = std::hypot(x - _sunX, y - _sunY);
    const float radius = _s * 0.055f;
    colour = colour.Mix(Rgba::Bytes(255, 236, 170), Clamp01(1.0f - (d - radius) / (radius * 2.5f)) * 0.45f);
    colour = colour.Mix(Rgba::Bytes(255, 246, 200), Shape::FromDistance(d - radius));
    // Two layers of hills, hazy far away.
    const Rgba hills[2][2] = {{Rgba::Bytes(96, 128, 150), Rgba::Bytes(136, 160, 150)},
                              {Rgba::Bytes(70, 120, 80), Rgba::Bytes(96, 140, 84)}};
    for (int k = 0; k < 2; ++k) {
      const float top = Ridge(k, x);
      const float cover = Shape::FromDistance(top - y);
      if (cover <= 0.0f) continue;
      const float texture = _noise.Fractal(x / 12.0f, y / 9.0f + 30.0f * k, 4);
      const Rgba hill = hills[k][0]
                            .Mix(hills[k][1], Clamp01((y - top) / (_s * 0.12f)))
                            .Shade((texture - 0.5f) * (k == 0 ? 0.1f : 0.3f));
      colour = colour.Mix(hill, cover);
    }
    // The meadow: lighter far away, darker and greener in front, with a
    // grain of grass.
    const float ground = GroundTop(x);
    const float cover = Shape::FromDistance(ground - y);
    if (cover > 0.0f) {
      const float depth = Clamp01((y - ground) / (_s - ground));
      const float grass = _noise.Fractal(x / 4.0f, y / 10.0f, 4);
      const Rgba meadow = Rgba::Bytes(150, 184, 80)
                              .Mix(Rgba::Bytes(58, 120, 40), depth)
                              .Shade((grass - 0.5f) * (0.2f + 0.3f * depth));
      colour = colour.Mix(meadow, cover);
    }
    return colour.WithAlpha(1.0f);
  }

 private:
  float _s;
  ValueNoise _noise;
  float _sunX = 0.0f;
  float _sunY = 0.0f;
  float _offset = 0.0f;
};

void Bird(Raster& picture, float x, float y, float span) {
  const Rgba ink = Rgba::Bytes(40, 40, 56);
  // Two wings rising from the body: the tips are above it.
  Stroke(picture, {x, y}, {x - span, y - span * 0.55f}, 1.3f, 0.5f, ink);
  Stroke(picture, {x, y}, {x + span, y - span * 0.55f}, 1.3f, 0.5f, ink);
}

void Balloon(Raster& picture, float cx, float cy, float radius) {
  // Striped envelope, narrower at the bottom; ropes down to the basket.
  const Rgba stripes[2] = {Rgba::Bytes(220, 60, 50), Rgba::Bytes(250, 210, 80)};
  const float bottom = cy + radius * 1.15f;
  picture.PaintIn(
      int(cx - radius) - 2, int(cy - radius) - 2, int(cx + radius) + 2, int(bottom) + 2,
      [=](float x, float y) {
        const float u = (x - cx) / radius;
        const float v = (y - cy) / radius;
        // A circle above the middle, a cone below it.
        const float d =
            v < 0.0f ? std::hypot(u, v) - 1.0f
                     : std::fabs(u) - (1.0f - v / 1.15f) * std::sqrt(std::max(0.0f, 1.0f - v * v * 0.2f));
        return Shape::FromDistance(d * radius);
      },
      [=](float x, float y) {
        const float u = (x - cx) / radius;
        const int band = int(std::floor((u + 1.0f) * 3.0f));
        const float shade = -0.25f * Clamp01((x - cx) / radius) + 0.15f * Clamp01((cy - y) / radius);
        return stripes[band & 1].Shade(shade);
      });
  const float basketTop = bottom + radius * 0.35f;
  const float basket = radius * 0.32f;
  const Rgba rope = Rgba::Bytes(90, 70, 50);
  Stroke(picture, {cx - radius * 0.3f, bottom - 2.0f}, {cx - basket * 0.5f, basketTop}, 0.7f, 0.7f, rope);
  Stroke(picture, {cx + radius * 0.3f, bottom - 2.0f}, {cx + basket * 0.5f, basketTop}, 0.7f, 0.7f, rope);
  Fill(picture, cx - basket * 0.5f, basketTop, cx + basket * 0.5f, basketTop + basket * 0.8f,
       Shape::RoundedRect(cx - basket * 0.5f, basketTop, cx + basket * 0.5f, basketTop + basket * 0.8f, 1.5f),
       Rgba::Bytes(150, 100, 50));
}

void Pine(Raster& picture, float x, float base, float height) {
  Fill(picture, x - 2, base - height * 0.2f, x + 2, base,
       Shape::RoundedRect(x - 1.8f, base - height * 0.2f, x + 1.8f, base, 0.5f), Rgba::Bytes(80, 52, 30));
  for (int tier = 0; tier < 3; ++tier) {
    const float bottom = base - height * (0.14f + 0.25f * tier);
    const float top = bottom - height * 0.45f;
    const float half = height * 0.32f * (1.0f - 0.22f * tier);
    Fill(picture, x - half, top, x + half, bottom,
         Shape::Polygon({{x, top}, {x + half, bottom}, {x - half, bottom}}),
         Rgba::Bytes(28, 82, 44).Shade(0.07f * tier));
  }
}

void RoundTree(Raster& picture, float x, float base, float height, const ValueNoise& noise) {
  Stroke(picture, {x, base}, {x, base - height * 0.55f}, height * 0.06f, height * 0.035f,
         Rgba::Bytes(96, 62, 34));
  const float r = height * 0.3f;
  const float cy = base - height * 0.68f;
  picture.PaintIn(
      int(x - r * 1.3f) - 2, int(cy - r * 1.3f) - 2, int(x + r * 1.3f) + 2, int(cy + r) + 2,
      [=, &noise](float px, float py) {
        const float wobble = (noise.At(px / 7.0f, py / 7.0f) - 0.5f) * r * 0.35f;
        return Shape::FromDistance(std::hypot((px - x) / 1.2f, py - cy) - r - wobble);
      },
      [=, &noise](float px, float py) {
        // Lit from the sun above: lighter at the top.
        const float light = Clamp01((cy - py) / r * 0.5f + 0.5f);
        return Rgba::Bytes(40, 100, 40)
            .Mix(Rgba::Bytes(120, 170, 60), light)
            .Shade((noise.Fractal(px / 3.0f, py / 3.0f, 3) - 0.5f) * 0.4f);
      });
}

void House(Raster& picture, float x, float base, float width) {
  const float h = width * 0.62f;
  const float roofTop = base - h - width * 0.5f;
  // The chimney first, the roof over its foot; smoke rising from it.
  const float cx = x + width * 0.72f;
  Fill(picture, cx, roofTop + width * 0.1f, cx + width * 0.1f, base - h,
       Shape::RoundedRect(cx, roofTop + width * 0.08f, cx + width * 0.1f, base - h, 1.0f),
       Rgba::Bytes(120, 60, 48));
  for (int i = 0; i < 4; ++i) {
    const float r = width * (0.04f + 0.025f * i);
    Disc(picture, cx + width * 0.05f + i * width * 0.05f, roofTop + width * 0.02f - i * width * 0.11f, r,
         Rgba::Bytes(236, 236, 240, 200 - 35 * i));
  }
  Fill(picture, x, base - h, x + width, base, Shape::RoundedRect(x, base - h, x + width, base, 1.0f),
       Rgba::Bytes(236, 220, 188));
  Fill(picture, x - 8, roofTop, x + width + 8, base - h + 2,
       Shape::Polygon({{x - 7, base - h + 2}, {x + width * 0.5f, roofTop}, {x + width + 7, base - h + 2}}),
       Rgba::Bytes(176, 58, 40));
  // A door on the ground with its step, two windows with crosses.
  const float door = width * 0.2f;
  Fill(picture, x + width * 0.4f, base - h * 0.62f, x + width * 0.4f + door, base,
       Shape::RoundedRect(x + width * 0.4f, base - h * 0.62f, x + width * 0.4f + door, base, 3.0f),
       Rgba::Bytes(110, 62, 30));
  Disc(picture, x + width * 0.4f + door * 0.78f, base - h * 0.3f, 1.6f, Rgba::Bytes(240, 200, 90));
  Fill(picture, x + width * 0.34f, base - 3, x + width * 0.66f, base + 3,
       Shape::RoundedRect(x + width * 0.36f, base - 1, x + width * 0.64f, base + 3, 1.0f),
       Rgba::Bytes(150, 150, 150));
  for (const float wx : {x + width * 0.1f, x + width * 0.7f}) {
    const float s = width * 0.2f;
    const float wy = base - h * 0.75f;
    Fill(picture, wx, wy, wx + s, wy + s, Shape::RoundedRect(wx, wy, wx + s, wy + s, 1.0f),
         Rgba::Bytes(250, 220, 120));
    Stroke(picture, {wx + s * 0.5f, wy}, {wx + s * 0.5f, wy + s}, 0.8f, 0.8f, Rgba::Bytes(110, 62, 30));
    Stroke(picture, {wx, wy + s * 0.5f}, {wx + s, wy + s * 0.5f}, 0.8f, 0.8f, Rgba::Bytes(110, 62, 30));
    // Window boxes hang below the sill.
    Fill(picture, wx - 2, wy + s, wx + s + 2, wy + s + 5,
         Shape::RoundedRect(wx - 2, wy + s, wx + s + 2, wy + s + 5, 1.0f), Rgba::Bytes(200, 60, 90));
  }
}

void Flower(Raster& picture, float x, float base, float height, const Rgba& petals) {
  // The stem goes up from the ground, a leaf on it, the head on top.
  Stroke(picture, {x, base}, {x, base - height}, 1.4f, 0.9f, Rgba::Bytes(40, 110, 40));
  Stroke(picture, {x, base - height * 0.35f}, {x + height * 0.3f, base - height * 0.55f}, 1.8f, 0.4f,
         Rgba::Bytes(60, 140, 50));
  const float r = std::max(2.5f, height * 0.16f);
  for (int k = 0; k < 5; ++k) {
    const float a = 6.2832f * k / 5.0f - 1.5708f;
    Disc(picture, x + std::cos(a) * r, base - height + std::sin(a) * r, r * 0.7f, petals);
  }
  Disc(picture, x, base - height, r * 0.55f, Rgba::Bytes(250, 200, 50));
}

void Blade(Raster& picture, float x, float base, float height, float lean) {
  Stroke(picture, {x, base}, {x + lean, base - height}, 1.2f, 0.2f, Rgba::Bytes(50, 120, 36));
}

Raster LevelPicture(int size, unsigned seed) {
  const float s = float(size);
  const Scene scene(s, seed);
  const ValueNoise noise(seed + 77);
  Raster picture(size, size);
  picture.Paint([](float, float) { return 1.0f; }, [&](float x, float y) { return scene.At(x, y); });

  // The sky: a balloon and birds spread over its width.
  Balloon(picture, s * LLF::RandomRange(0.18f, 0.3f), s * 0.12f, s * 0.065f);
  for (int i = 0; i < 7; ++i) {
    const float x = s * (0.06f + 0.13f * i) + LLF::RandomRange(-8.0f, 8.0f);
    const float y = s * LLF::RandomRange(0.06f, 0.36f);
    if (std::hypot(x - scene.SunX(), y - scene.SunY()) < s * 0.09f) continue;
    Bird(picture, x, y, LLF::RandomRange(5.0f, 8.0f));
  }
  // Pines on the near hills, round trees and the house on the meadow.
  for (int i = 0; i < 12; ++i) {
    const float x = s * (0.03f + 0.085f * i) + LLF::RandomRange(-6.0f, 6.0f);
    Pine(picture, x, scene.Ridge(1, x) + LLF::RandomRange(10.0f, 22.0f), s * LLF::RandomRange(0.05f, 0.08f));
  }
  const float houseX = s * LLF::RandomRange(0.36f, 0.44f);
  const float houseBase = s * 0.74f;
  const float houseWidth = s * 0.22f;
  RoundTree(picture, s * 0.12f, s * 0.76f, s * 0.24f, noise);
  RoundTree(picture, s * 0.85f, s * 0.72f, s * 0.2f, noise);
  House(picture, houseX, houseBase, houseWidth);
  // A fence in front of the yard: posts standing on the ground, two rails.
  const Rgba wood = Rgba::Bytes(150, 110, 70);
  const float fenceBase = s * 0.8f;
  for (float x = s * 0.02f; x < s; x += s * 0.045f) {
    if (x > houseX + houseWidth * 0.3f && x < houseX + houseWidth * 0.7f) continue;  // the gate
    Fill(picture, x - 3, fenceBase - s * 0.07f - 3, x + 3, fenceBase,
         Shape::Polygon({{x - 2.5f, fenceBase},
                         {x - 2.5f, fenceBase - s * 0.065f},
                         {x, fenceBase - s * 0.075f},
                         {x + 2.5f, fenceBase - s * 0.065f},
                         {x + 2.5f, fenceBase}}),
         wood);
  }
  for (const float rail : {0.045f, 0.02f}) {
    const float y = fenceBase - s * rail;
    Stroke(picture, {0, y}, {houseX + houseWidth * 0.3f, y}, 1.4f, 1.4f, wood.Shade(-0.15f));
    Stroke(picture, {houseX + houseWidth * 0.7f, y}, {s, y}, 1.4f, 1.4f, wood.Shade(-0.15f));
  }
  // The path from the door down to the front, wider nearer.
  const float doorX = houseX + houseWidth * 0.5f;
  picture.PaintIn(
      0, int(houseBase), size, size,
      [=](float x, float y) {
        const float t = (y - houseBase) / (s - houseBase);
        const float centre = doorX + std::sin(t * 2.4f) * s * 0.08f;
        const float half = houseWidth * 0.14f + t * s * 0.09f;
        return Shape::FromDistance(std::fabs(x - centre) - half);
      },
      [&](float x, float y) {
        return Rgba::Bytes(200, 176, 130).Shade((noise.Fractal(x / 5.0f, y / 5.0f, 3) - 0.5f) * 0.35f);
      });
  // Stones beside the path, grass blades and flowers across the front.
  for (int i = 0; i < 10; ++i) {
    const float x = LLF::RandomRange(8.0f, s - 8.0f);
    const float y = s * LLF::RandomRange(0.84f, 0.97f);
    const float r = LLF::RandomRange(4.0f, 8.0f);
    Fill(picture, x - r * 1.4f, y - r, x + r * 1.4f, y + r * 0.5f,
         Shape::Ellipse(x, y - r * 0.2f, r * 1.3f, r * 0.7f),
         Rgba::Bytes(140, 140, 136).Shade(LLF::RandomRange(-0.2f, 0.2f)));
  }
  for (int i = 0; i < 260; ++i) {
    const float x = LLF::RandomRange(0.0f, s);
    const float base = LLF::RandomRange(s * 0.63f, s + 4.0f);
    const float depth = (base - s * 0.6f) / (s * 0.4f);
    // None on the house's wall.
    if (x > houseX - 4.0f && x < houseX + houseWidth + 4.0f && base < houseBase + 2.0f) continue;
    Blade(picture, x, base, 4.0f + depth * 12.0f, LLF::RandomRange(-3.0f, 3.0f));
  }
  const Rgba petals[4] = {Rgba::Bytes(240, 70, 90), Rgba::Bytes(250, 250, 250), Rgba::Bytes(150, 90, 220),
                          Rgba::Bytes(255, 150, 40)};
  for (int i = 0; i < 34; ++i) {
    const float x = s * (0.015f + 0.029f * i) + LLF::RandomRange(-5.0f, 5.0f);
    const float base = s * LLF::RandomRange(0.86f, 1.0f);
    Flower(picture, x, base, s * LLF::RandomRange(0.04f, 0.07f), petals[i % 4]);
  }
  return picture;
}

Raster Background(unsigned seed) {
  const ValueNoise noise(seed);
  Raster table(800, 600);
  table.Paint([](float, float) { return 1.0f; },
              [&](float x, float y) {
                // Slate with a soft cloudy grain.
                const float grain = noise.Fractal(x / 70.0f, y / 40.0f, 5);
                return Rgba::Bytes(52, 70, 80).Mix(Rgba::Bytes(84, 106, 114), grain);
              });
  table.Paint(
      Shape::RoundedRect(PuzzlePictures::kWindowLeft - 4.0f, PuzzlePictures::kWindowTop - 4.0f,
                         PuzzlePictures::kWindowRight + 4.0f, PuzzlePictures::kWindowBottom + 4.0f, 8),
      Rgba::Bytes(22, 26, 30));
  // The counters' panel, a pale card with a thin rim.
  table.Paint(Shape::RoundedRect(590, 96, 762, 420, 12), [&](float x, float y) {
    return Rgba::Bytes(222, 230, 226).Shade((noise.Fractal(x / 25.0f + 9.0f, y / 25.0f, 4) - 0.5f) * 0.2f);
  });
  table.Paint(
      [](float x, float y) {
        return Shape::FromDistance(std::fabs(Shape::RoundedRectDistance(x, y, 590, 96, 762, 420, 12)) - 1.2f);
      },
      Rgba::Bytes(196, 160, 90));
  table.Paint(Shape::RoundedRect(24, 548, 560, 596, 10), Rgba::Bytes(20, 30, 36, 150));
  return table;
}

}  // namespace

bool PuzzlePictures::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("levels/d1_puzzle/picture.png", LevelPicture(kPictureSize, 0x3C0D11), report,
                         true) &&
         staging.SavePng("levels/d3_puzzle/picture.png", LevelPicture(kPictureSize, 0x3C0D33), report,
                         true) &&
         staging.SavePng("images/puzzle/background.png", Background(0x51A7E), report, true) &&
         staging.SavePng("images/puzzle/frame.png",
                         BoardFrame::Paint(kWindowLeft, kWindowTop, kWindowRight, kWindowBottom), report);
}

}  // namespace Datagen
