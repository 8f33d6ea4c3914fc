#include "families/WindowIcon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Staging.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "encode/IcoEncoder.h"

namespace Datagen {

namespace {

constexpr int kOversample = 4;

// A feather along the line from tip to base: a leaf outline, fuller toward
// the tip, with its vane notched once.
std::vector<Point2> Feather(Point2 base, Point2 tip, float width) {
  const float dx = tip.x - base.x;
  const float dy = tip.y - base.y;
  const float length = std::hypot(dx, dy);
  const float ux = dx / length;
  const float uy = dy / length;
  const float nx = -uy;
  const float ny = ux;
  auto at = [&](float along, float side) {
    return Point2{base.x + ux * along * length + nx * side * width,
                  base.y + uy * along * length + ny * side * width};
  };
  std::vector<Point2> points;
  const float left[][2] = {{0.18f, 0.0f}, {0.30f, 0.55f}, {0.55f, 0.95f}, {0.80f, 0.80f}, {1.0f, 0.0f}};
  const float right[][2] = {
      {0.95f, -0.45f}, {0.72f, -0.90f}, {0.52f, -0.70f}, {0.47f, -0.95f}, {0.28f, -0.55f}};
  for (const auto& p : left) points.push_back(at(p[0], p[1]));
  for (const auto& p : right) points.push_back(at(p[0], p[1]));
  return points;
}

// A short ripple: one period of a sine, thinning at both ends.
void WavyLine(Raster& art, float left, float y, float length, float amplitude, float width,
              const Rgba& colour) {
  const int steps = 12;
  for (int i = 0; i < steps; ++i) {
    const float t0 = float(i) / steps;
    const float t1 = float(i + 1) / steps;
    const Point2 a{left + t0 * length, y - amplitude * std::sin(t0 * 2.0f * std::numbers::pi_v<float>)};
    const Point2 b{left + t1 * length, y - amplitude * std::sin(t1 * 2.0f * std::numbers::pi_v<float>)};
    const float wa = width * std::sin(std::numbers::pi_v<float> * (0.1f + 0.8f * t0));
    const float wb = width * std::sin(std::numbers::pi_v<float> * (0.1f + 0.8f * t1));
    art.Paint(Shape::Tapered(a, b, wa, wb), colour);
  }
}

}  // namespace

Raster WindowIcon::Draw(int size) {
  const int big = size * kOversample;
  const float s = float(big) / 128.0f;  // the design is on a 128 grid
  Raster art(big, big);

  const Rgba tileTop = Rgba::Bytes(28, 110, 118);
  const Rgba tileBottom = Rgba::Bytes(12, 52, 66);
  art.Paint(Shape::RoundedRect(4 * s, 4 * s, 124 * s, 124 * s, 26 * s),
            [&](float, float y) { return tileTop.Mix(tileBottom, y / float(big)); });
  // Light rim along the top edge of the tile.
  art.Paint(
      [&](float x, float y) {
        const float d = Shape::RoundedRectDistance(x, y, 4 * s, 4 * s, 124 * s, 124 * s, 26 * s);
        return Shape::FromDistance(std::fabs(d + 3 * s) - 2 * s) * std::max(0.0f, 1.0f - y / (70 * s));
      },
      Rgba::Bytes(150, 220, 210, 150));

  // A crescent moon and two ripples of marsh water.
  const Rgba gold = Rgba::Bytes(240, 196, 104);
  art.Paint(
      [&](float x, float y) {
        return std::min(Shape::Circle(34 * s, 34 * s, 15 * s)(x, y),
                        1.0f - Shape::Circle(41 * s, 29 * s, 13 * s)(x, y));
      },
      gold);
  WavyLine(art, 20 * s, 104 * s, 64 * s, 3.0f * s, 2.6f * s, gold);
  WavyLine(art, 60 * s, 114 * s, 48 * s, 2.4f * s, 2.2f * s, gold.WithAlpha(0.75f));

  // The quill: vane, a darker shaft, and the nib.
  const Point2 base{38 * s, 92 * s};
  const Point2 tip{104 * s, 16 * s};
  art.Paint(Shape::Polygon(Feather(base, tip, 20 * s)), [&](float x, float y) {
    const float t = ((x - base.x) * (tip.x - base.x) + (y - base.y) * (tip.y - base.y)) /
                    ((tip.x - base.x) * (tip.x - base.x) + (tip.y - base.y) * (tip.y - base.y));
    return Rgba::Bytes(255, 248, 228).Mix(Rgba::Bytes(240, 214, 160), 1.0f - t);
  });
  art.Paint(Shape::Tapered({44 * s, 85 * s}, {100 * s, 21 * s}, 2.2f * s, 0.8f * s),
            Rgba::Bytes(170, 120, 60));
  art.Paint(Shape::Tapered({30 * s, 101 * s}, {45 * s, 84 * s}, 1.0f * s, 3.0f * s), Rgba::Bytes(58, 40, 30));
  return art.Reduced(kOversample);
}

bool WindowIcon::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  const Raster icon = Draw(kSize);
  const std::string bytes = IcoEncoder::Encode({IcoEncoder::Picture{kSize, icon.ToRgbaBytes()}});
  return staging.Write("images/game.ico", bytes, report);
}

}  // namespace Datagen
