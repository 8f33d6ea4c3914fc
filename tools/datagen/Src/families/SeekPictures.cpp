#include "families/SeekPictures.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "core/Random.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"

namespace Datagen {

namespace {

enum ShapeKind { STAR, BALL, RING, DIAMOND, TRIANGLE, BOX, HEART, CROSS, HEXAGON, MOON };

constexpr unsigned kSeed = 0x5EE4;

float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

// The coverage of a shape filling a w x h box, with inset pixels of margin.
Shape::Coverage ShapeCoverage(int kind, float w, float h) {
  const float m = 2.0f;
  const float cx = w * 0.5f;
  const float cy = h * 0.5f;
  const float rx = w * 0.5f - m;
  const float ry = h * 0.5f - m;
  const float r = std::min(rx, ry);
  switch (kind) {
    case STAR:
      return Shape::Polygon(Shape::StarPoints(cx, cy + r * 0.06f, 5, r, r * 0.45f));
    case BALL:
      return Shape::Circle(cx, cy, r);
    case RING:
      return Shape::Ring(cx, cy, r * 0.74f, r * 0.26f);
    case DIAMOND:
      return Shape::Polygon({{cx, m}, {w - m, cy}, {cx, h - m}, {m, cy}});
    case TRIANGLE:
      return Shape::Polygon({{cx, m}, {w - m, h - m}, {m, h - m}});
    case BOX:
      return Shape::RoundedRect(m, m, w - m, h - m, r * 0.25f);
    case HEART: {
      const float lobe = rx * 0.52f;
      const auto left = Shape::Circle(cx - rx * 0.47f, m + lobe, lobe);
      const auto right = Shape::Circle(cx + rx * 0.47f, m + lobe, lobe);
      const auto tip = Shape::Polygon(
          {{m + rx * 0.04f, m + lobe * 1.3f}, {w - m - rx * 0.04f, m + lobe * 1.3f}, {cx, h - m}});
      return [=](float x, float y) { return std::max({left(x, y), right(x, y), tip(x, y)}); };
    }
    case CROSS: {
      const auto across = Shape::RoundedRect(m, cy - ry * 0.3f, w - m, cy + ry * 0.3f, 2.0f);
      const auto down = Shape::RoundedRect(cx - rx * 0.3f, m, cx + rx * 0.3f, h - m, 2.0f);
      return [=](float x, float y) { return std::max(across(x, y), down(x, y)); };
    }
    case HEXAGON: {
      std::vector<Point2> points;
      for (int i = 0; i < 6; ++i) {
        const float a = float(i) * 3.14159265f / 3.0f;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
      }
      return Shape::Polygon(points);
    }
    default: {  // MOON
      const auto full = Shape::Circle(cx, cy, r);
      const auto bite = Shape::Circle(cx + r * 0.45f, cy - r * 0.2f, r * 0.8f);
      return [=](float x, float y) { return std::min(full(x, y), 1.0f - bite(x, y)); };
    }
  }
}

void SaveGreyCopy(const Raster& source, Raster& grey) {
  for (int y = 0; y < source.Height(); ++y) {
    for (int x = 0; x < source.Width(); ++x) {
      const Rgba c = source.At(x, y);
      const float v = c.r * 0.3f + c.g * 0.59f + c.b * 0.11f;
      grey.Blend(x, y, Rgba{v, v, v, c.a});
    }
  }
}

Raster DrawSky() {
  Raster sky(1824, 160);
  const ValueNoise noise(kSeed + 7, 16);
  // One noise cell is 64 px and the noise repeats every 16 cells, so the
  // texture repeats every 1024 px: its loop from -1024 to 0 has no seam.
  sky.Paint([](float, float) { return 1.0f; },
            [&](float x, float y) {
              const float t = y / 160.0f;
              const Rgba blue = Rgba::Bytes(92, 150, 214).Mix(Rgba::Bytes(196, 222, 240), t);
              const float n = noise.Fractal(x / 64.0f, y / 64.0f + 3.0f, 4);
              const float cloud = Clamp01((n - 0.48f) * 3.2f) * (0.35f + 0.65f * std::sin(t * 3.14159f));
              return blue.Mix(Rgba::Bytes(252, 252, 255), cloud);
            });
  return sky;
}

Raster DrawBird() {
  Raster bird(48, 24);
  const Rgba ink = Rgba::Bytes(36, 30, 40);
  bird.Paint(Shape::Tapered({4, 6}, {24, 15}, 1.2f, 2.6f), ink);
  bird.Paint(Shape::Tapered({44, 6}, {24, 15}, 1.2f, 2.6f), ink);
  bird.Paint(Shape::Ellipse(24, 15, 4.0f, 3.0f), ink);
  return bird;
}

Raster DrawAlpha() {
  Raster alpha(630, 600);
  // Red carries the alpha too, for readers that take the mask's red byte.
  alpha.Paint([](float, float) { return 1.0f; },
              [](float, float y) {
                const float v = Clamp01((y - 120.0f) / 36.0f);
                return Rgba{v, v, v, v};
              });
  return alpha;
}

Raster DrawLight() {
  Raster light(512, 512);
  light.Paint([](float, float) { return 1.0f; },
              [](float x, float y) {
                const float r = std::hypot(x - 256.0f, y - 256.0f);
                const float t = Clamp01((r - 30.0f) / 40.0f);
                return Rgba{0.02f, 0.02f, 0.05f, 0.9f * t * t * (3.0f - 2.0f * t)};
              });
  return light;
}

Raster DrawPanel() {
  Raster panel(170, 600);
  const ValueNoise noise(kSeed + 11, 64);
  panel.Paint([](float, float) { return 1.0f; },
              [&](float x, float y) {
                const float n = noise.Fractal(x / 24.0f, y / 24.0f, 4);
                const float edge = std::min({x, 169.0f - x}) / 14.0f;
                const Rgba paper = Rgba::Bytes(232, 214, 172).Shade((n - 0.5f) * 0.25f);
                return paper.Shade(-0.35f * (1.0f - Clamp01(edge)));
              });
  panel.Paint(Shape::RoundedRect(6, 6, 164, 594, 8.0f), Rgba::Bytes(96, 64, 30, 70));
  panel.Paint(Shape::RoundedRect(10, 10, 160, 590, 6.0f), Rgba::Bytes(238, 222, 184, 255));
  panel.Paint(Shape::RoundedRect(12, 60, 158, 62, 1.0f), Rgba::Bytes(120, 84, 44, 200));
  return panel;
}

Raster DrawFrame() {
  Raster frame(630, 600);
  const Rgba wood = Rgba::Bytes(92, 60, 32);
  frame.Paint(
      [](float x, float y) {
        const float inside = std::min({x, 629.0f - x, y, 599.0f - y});
        return inside < 7.0f ? 1.0f : 0.0f;
      },
      [&](float x, float y) {
        const float inside = std::min({x, 629.0f - x, y, 599.0f - y});
        return wood.Shade(inside < 2.0f ? -0.4f : (inside > 5.0f ? 0.25f : 0.0f));
      });
  return frame;
}

}  // namespace

const std::vector<SeekPictures::ObjectArt>& SeekPictures::Objects() {
  static const std::vector<ObjectArt> objects = {
      {"red_star", STAR, 214, 40, 40, 56, 56},           {"blue_ball", BALL, 50, 90, 220, 64, 64},
      {"yellow_heart", HEART, 242, 208, 40, 60, 56},     {"green_diamond", DIAMOND, 40, 170, 70, 48, 64},
      {"orange_box", BOX, 240, 140, 30, 80, 48},         {"purple_ring", RING, 150, 60, 190, 72, 72},
      {"white_cross", CROSS, 245, 245, 245, 48, 48},     {"pink_hexagon", HEXAGON, 240, 120, 180, 52, 52},
      {"blue_triangle", TRIANGLE, 60, 120, 240, 44, 56}, {"green_moon", MOON, 90, 200, 90, 46, 46},
      {"yellow_star", STAR, 230, 220, 60, 44, 44},       {"brown_ball", BALL, 118, 100, 72, 30, 30},
      {"grey_diamond", DIAMOND, 128, 132, 120, 28, 36},  {"olive_heart", HEART, 112, 122, 72, 32, 30},
      {"teal_ring", RING, 40, 150, 150, 40, 40},         {"red_cross", CROSS, 200, 50, 50, 36, 36},
      {"stone_box", BOX, 112, 110, 104, 96, 60},         {"dark_hexagon", HEXAGON, 62, 62, 74, 70, 70},
      {"black_moon", MOON, 30, 30, 36, 64, 64},
  };
  return objects;
}

Raster SeekPictures::DrawObject(const ObjectArt& art) {
  const float w = float(art.width);
  const float h = float(art.height);
  Raster picture(art.width, art.height);
  const Rgba base = Rgba::Bytes(art.red, art.green, art.blue);
  const Shape::Coverage coverage = ShapeCoverage(art.shape, w, h);
  // A dark rim, then the body lit from the top left.
  picture.Paint(coverage, base.Shade(-0.55f));
  const Shape::Coverage body = [&](float x, float y) {
    const float inner = std::min(
        {coverage(x - 1.5f, y), coverage(x + 1.5f, y), coverage(x, y - 1.5f), coverage(x, y + 1.5f)});
    return inner;
  };
  picture.Paint(body, [&](float x, float y) {
    const float light = 1.0f - (x / w * 0.5f + y / h * 0.5f);
    return base.Shade((light - 0.5f) * 0.5f);
  });
  return picture;
}

Raster SeekPictures::DrawScene(unsigned seed, bool skyBand) {
  const int width = 630;
  const int height = 600;
  Raster scene(width, height);
  const ValueNoise noise(seed, 64);
  const float horizon = skyBand ? 230.0f : 170.0f;
  scene.Paint([](float, float) { return 1.0f; },
              [&](float x, float y) {
                if (y < horizon) {
                  const float t = y / horizon;
                  return Rgba::Bytes(120, 170, 222).Mix(Rgba::Bytes(224, 234, 236), t);
                }
                const float n = noise.Fractal(x / 40.0f, y / 40.0f, 5);
                const float t = (y - horizon) / (float(height) - horizon);
                const Rgba grass = Rgba::Bytes(126, 160, 78).Mix(Rgba::Bytes(78, 116, 50), t);
                return grass.Shade((n - 0.5f) * 0.45f);
              });
  // Two ranges of hills along the horizon.
  for (int range = 0; range < 2; ++range) {
    const float top = horizon - (range == 0 ? 70.0f : 36.0f);
    const Rgba colour = range == 0 ? Rgba::Bytes(128, 150, 170) : Rgba::Bytes(98, 132, 84);
    scene.Paint(
        [&, range](float x, float y) {
          const float ridge = top + 46.0f * noise.Fractal(x / 90.0f + float(range) * 7.0f, 2.0f, 3);
          return y >= ridge && y < horizon + 8.0f ? 1.0f : 0.0f;
        },
        [&](float, float y) { return colour.Shade((y - top) / 200.0f * -0.3f); });
  }
  // A pond.
  scene.Paint(Shape::Ellipse(420.0f, horizon + 150.0f, 150.0f, 46.0f), [&](float x, float y) {
    const float n = noise.At(x / 12.0f, y / 4.0f);
    return Rgba::Bytes(84, 130, 150).Shade((n - 0.5f) * 0.3f);
  });
  LLF::SeedRandom(seed);
  // Trees along the hills.
  for (int i = 0; i < 7; ++i) {
    const float x = LLF::RandomRange(20.0f, 610.0f);
    const float y = horizon + LLF::RandomRange(-10.0f, 40.0f);
    const float size = LLF::RandomRange(22.0f, 40.0f);
    scene.Paint(Shape::Tapered({x, y + size}, {x, y}, 3.0f, 2.0f), Rgba::Bytes(84, 58, 36));
    scene.Paint(Shape::Circle(x, y - size * 0.2f, size * 0.6f), Rgba::Bytes(52, 96, 44));
    scene.Paint(Shape::Circle(x - size * 0.2f, y - size * 0.4f, size * 0.35f), Rgba::Bytes(76, 124, 58));
  }
  // The clutter the objects hide among: stones, reeds and flowers.
  for (int i = 0; i < 150; ++i) {
    const float x = LLF::RandomRange(0.0f, float(width));
    const float y = LLF::RandomRange(horizon + 10.0f, float(height));
    const int kind = LLF::RandomInt() % 3;
    if (kind == 0) {
      const float rx = LLF::RandomRange(5.0f, 16.0f);
      const Rgba stone = Rgba::Bytes(130, 124, 112).Shade(LLF::RandomRange(-0.3f, 0.2f));
      scene.PaintIn(int(x - rx - 2), int(y - rx - 2), int(x + rx + 3), int(y + rx + 3),
                    Shape::Ellipse(x, y, rx, rx * 0.6f), stone);
    } else if (kind == 1) {
      const float tall = LLF::RandomRange(14.0f, 34.0f);
      const float lean = LLF::RandomRange(-6.0f, 6.0f);
      scene.PaintIn(int(x - 10), int(y - tall - 2), int(x + 10), int(y + 2),
                    Shape::Tapered({x, y}, {x + lean, y - tall}, 1.6f, 0.4f), Rgba::Bytes(66, 92, 40));
    } else {
      const Rgba petals[] = {Rgba::Bytes(236, 226, 120), Rgba::Bytes(232, 150, 170),
                             Rgba::Bytes(240, 240, 236), Rgba::Bytes(170, 140, 210)};
      const Rgba petal = petals[LLF::RandomInt() % 4];
      scene.PaintIn(int(x - 6), int(y - 6), int(x + 7), int(y + 7), Shape::Circle(x, y, 4.0f), petal);
      scene.PaintIn(int(x - 2), int(y - 2), int(x + 3), int(y + 3), Shape::Circle(x, y, 1.5f),
                    Rgba::Bytes(200, 150, 40));
    }
  }
  return scene;
}

bool SeekPictures::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  bool ok = true;
  for (const ObjectArt& art : Objects()) {
    ok =
        ok && staging.SavePng(std::string("images/seek/objects/") + art.id + ".png", DrawObject(art), report);
  }
  ok = ok && staging.SavePng("levels/d2_seek/scene.png", DrawScene(kSeed + 1, false), report, true);
  ok = ok && staging.SavePng("levels/d3_seek_grey/scene.png", DrawScene(kSeed + 2, true), report, true);
  ok = ok && staging.SavePng("levels/d3_seek_dark/scene.png", DrawScene(kSeed + 3, false), report, true);
  const Raster sky = DrawSky();
  Raster skyGrey(sky.Width(), sky.Height());
  SaveGreyCopy(sky, skyGrey);
  ok = ok && staging.SavePng("levels/d3_seek_grey/sky.png", sky, report, true);
  ok = ok && staging.SavePng("levels/d3_seek_grey/sky_grey.png", skyGrey, report, true);
  ok = ok && staging.SavePng("levels/d3_seek_grey/alpha.png", DrawAlpha(), report);
  ok = ok && staging.SavePng("levels/d3_seek_grey/bird.png", DrawBird(), report);
  ok = ok && staging.SavePng("images/seek/light.png", DrawLight(), report);
  ok = ok && staging.SavePng("images/seek/list_panel.png", DrawPanel(), report, true);
  ok = ok && staging.SavePng("images/seek/frame.png", DrawFrame(), report);
  return ok;
}

}  // namespace Datagen
