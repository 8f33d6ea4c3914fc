#include "families/PairPictures.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"

namespace Datagen {

namespace {

constexpr unsigned kGroundSeed = 0x2104;

float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

Rgba ColourOf(size_t colour) {
  static const Rgba colours[] = {Rgba::Bytes(214, 48, 48), Rgba::Bytes(44, 96, 214), Rgba::Bytes(40, 156, 64),
                                 Rgba::Bytes(240, 196, 30)};
  return colours[colour % 4];
}

// A soft top-left light over the shape.
Raster::Shader Lit(const Rgba& base, float size) {
  return [base, size](float x, float y) { return base.Shade(0.35f - (x + y) / (2.0f * size) * 0.6f); };
}

}  // namespace

const std::vector<std::string>& PairPictures::Shapes() {
  static const std::vector<std::string> shapes = {"ball", "ring", "frame", "triangle", "star", "diamond"};
  return shapes;
}

const std::vector<std::string>& PairPictures::Colours() {
  static const std::vector<std::string> colours = {"red", "blue", "green", "yellow"};
  return colours;
}

Raster PairPictures::DrawIcon(size_t shape, size_t colour) {
  const float s = float(kIconSize);
  const float c = s * 0.5f;
  const Rgba base = ColourOf(colour);
  const Rgba outline = base.Shade(-0.55f);
  Raster icon(kIconSize, kIconSize);
  switch (shape) {
    case 0:  // ball
      icon.Paint(Shape::Circle(c, c, 28.0f), outline);
      icon.Paint(Shape::Circle(c, c, 25.0f), Lit(base, s));
      icon.Paint(Shape::Circle(c - 9.0f, c - 9.0f, 6.0f), Rgba::Bytes(255, 255, 255, 150));
      break;
    case 1:  // ring, open in the middle
      icon.Paint(Shape::Ring(c, c, 21.0f, 9.0f), outline);
      icon.Paint(Shape::Ring(c, c, 21.0f, 6.5f), Lit(base, s));
      break;
    case 2:  // frame, a square with a square hole
      icon.Paint(Shape::RoundedRect(4, 4, s - 4, s - 4, 6.0f), outline);
      icon.Paint(Shape::RoundedRect(7, 7, s - 7, s - 7, 4.0f), Lit(base, s));
      icon.MultiplyAlpha([](float x, float y) {
        return 1.0f - Shape::FromDistance(Shape::RoundedRectDistance(x, y, 20, 20, 44, 44, 3.0f));
      });
      icon.Paint(
          [](float x, float y) {
            const float d = Shape::RoundedRectDistance(x, y, 20, 20, 44, 44, 3.0f);
            return Shape::FromDistance(std::fabs(d) - 1.5f);
          },
          outline);
      break;
    case 3: {  // triangle
      const std::vector<Point2> outer = {{c, 3}, {s - 3, s - 6}, {3, s - 6}};
      const std::vector<Point2> inner = {{c, 9}, {s - 9, s - 9}, {9, s - 9}};
      icon.Paint(Shape::Polygon(outer), outline);
      icon.Paint(Shape::Polygon(inner), Lit(base, s));
      break;
    }
    case 4: {  // star
      icon.Paint(Shape::Polygon(Shape::StarPoints(c, c + 2, 5, 30.0f, 13.0f)), outline);
      icon.Paint(Shape::Polygon(Shape::StarPoints(c, c + 2, 5, 26.0f, 11.0f)), Lit(base, s));
      break;
    }
    default: {  // diamond
      const std::vector<Point2> outer = {{c, 2}, {s - 8, c}, {c, s - 2}, {8, c}};
      const std::vector<Point2> inner = {{c, 6}, {s - 12, c}, {c, s - 6}, {12, c}};
      icon.Paint(Shape::Polygon(outer), outline);
      icon.Paint(Shape::Polygon(inner), Lit(base, s));
      icon.Paint(Shape::Polygon({{c, 12}, {c + 8, c}, {c, c - 4}, {c - 8, c}}),
                 Rgba::Bytes(255, 255, 255, 90));
      break;
    }
  }
  return icon;
}

Raster PairPictures::DrawBackground() {
  const ValueNoise noise(kGroundSeed, 64);
  Raster ground(800, 600);
  // Wooden ground: planks with grain.
  ground.Paint([](float, float) { return 1.0f; },
               [&](float x, float y) {
                 const float plank = std::floor(y / 60.0f);
                 const float grain = noise.Fractal(x / 40.0f + plank * 7.0f, y / 4.0f, 4) - 0.5f;
                 const float seam = Clamp01(1.0f - std::fabs(std::fmod(y, 60.0f) - 0.5f));
                 return Rgba::Bytes(138, 94, 56).Shade(grain * 0.35f).Shade(-seam * 0.4f);
               });
  // The two panes: parchment with a soft border and a faint shadow.
  for (float left : {10.0f, 410.0f}) {
    const float right = left + 380.0f;
    ground.Paint(Shape::RoundedRect(left + 4, 14, right + 4, 530, 10.0f), Rgba::Bytes(40, 24, 10, 110));
    ground.Paint(Shape::RoundedRect(left, 10, right, 526, 10.0f), Rgba::Bytes(92, 58, 28));
    ground.Paint(Shape::RoundedRect(left + 4, 14, right - 4, 522, 8.0f), [&](float x, float y) {
      const float texture = noise.Fractal(x / 18.0f, y / 18.0f + 30.0f, 3) - 0.5f;
      const float edge = std::min({x - left, right - x, y - 10.0f, 526.0f - y});
      const float vignette = Clamp01(1.0f - edge / 40.0f);
      return Rgba::Bytes(246, 232, 198).Shade(texture * 0.12f).Shade(-vignette * 0.18f);
    });
  }
  // The strip under the frame.
  ground.Paint(Shape::RoundedRect(-10, 536, 810, 610, 0.0f), Rgba::Bytes(70, 44, 22));
  return ground;
}

bool PairPictures::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  bool ok = true;
  for (size_t shape = 0; shape < Shapes().size(); ++shape) {
    for (size_t colour = 0; colour < Colours().size(); ++colour) {
      const std::string file =
          "images/levels/pair/items/" + Shapes()[shape] + "_" + Colours()[colour] + ".png";
      ok = staging.SavePng(file, DrawIcon(shape, colour), report) && ok;
    }
  }
  ok = staging.SavePng("images/levels/pair/background.png", DrawBackground(), report, true) && ok;
  return ok;
}

}  // namespace Datagen
