#include "families/ClockPictures.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "draw/Shape.h"

namespace Datagen {

namespace {

constexpr int kRibbonWidth = 220;
constexpr int kRibbonHeight = 56;
constexpr int kSandWidth = 40;
constexpr int kSandHeight = 56;

}  // namespace

Raster ClockPictures::DrawRibbon() {
  Raster ribbon(kRibbonWidth, kRibbonHeight);
  const float w = float(kRibbonWidth);
  const float h = float(kRibbonHeight);
  // A band with a notch cut into each end.
  const std::vector<Point2> outline = {
      {2, 6}, {w - 2, 6}, {w - 16, h * 0.5f}, {w - 2, h - 6}, {2, h - 6}, {16, h * 0.5f},
  };
  ribbon.Paint(Shape::Polygon(outline), [&](float, float y) {
    const float t = std::clamp((y - 6.0f) / (h - 12.0f), 0.0f, 1.0f);
    return Rgba::Bytes(214, 164, 76).Mix(Rgba::Bytes(140, 92, 34), t);
  });
  const std::vector<Point2> inner = {
      {8, 10}, {w - 8, 10}, {w - 20, h * 0.5f}, {w - 8, h - 10}, {8, h - 10}, {20, h * 0.5f},
  };
  ribbon.Paint(Shape::Polygon(inner), [&](float, float y) {
    const float t = std::clamp((y - 10.0f) / (h - 20.0f), 0.0f, 1.0f);
    return Rgba::Bytes(34, 44, 88).Mix(Rgba::Bytes(14, 18, 44), t);
  });
  // A fine gold thread along the top and the bottom of the blue.
  ribbon.Paint(Shape::RoundedRect(22, 13, w - 24, 14.2f, 0.5f), Rgba::Bytes(236, 196, 110).WithAlpha(0.8f));
  ribbon.Paint(Shape::RoundedRect(22, h - 14.2f, w - 24, h - 13, 0.5f),
               Rgba::Bytes(236, 196, 110).WithAlpha(0.8f));
  return ribbon;
}

Raster ClockPictures::DrawSand() {
  Raster strip(kSandWidth * kSandCells, kSandHeight);
  const float cw = float(kSandWidth);
  const float h = float(kSandHeight);
  for (int cell = 0; cell < kSandCells; ++cell) {
    const float left = cw * float(cell);
    const float cx = left + cw * 0.5f;
    // How much of the sand has run down, from none to all.
    const float run = float(cell) / float(kSandCells - 1);
    // The glass: two bulbs meeting at a waist.
    const std::vector<Point2> upper = {{cx - 12, 8}, {cx + 12, 8}, {cx + 2, h * 0.5f}, {cx - 2, h * 0.5f}};
    const std::vector<Point2> lower = {
        {cx - 2, h * 0.5f}, {cx + 2, h * 0.5f}, {cx + 12, h - 8}, {cx - 12, h - 8}};
    for (const auto& bulb : {upper, lower}) {
      strip.Paint(Shape::Polygon(bulb), Rgba::Bytes(200, 224, 240).WithAlpha(0.35f));
    }
    // The sand: the top of the upper heap sinks, the lower heap grows.
    const float upperTop = 10.0f + (h * 0.5f - 12.0f) * run;
    if (run < 1.0f) {
      strip.PaintIn(int(left), 0, int(left + cw), kSandHeight, Shape::Polygon(upper), [&](float, float y) {
        return y >= upperTop ? Rgba::Bytes(240, 200, 110) : Rgba::Bytes(0, 0, 0, 0);
      });
    }
    const float lowerTop = h - 10.0f - (h * 0.5f - 12.0f) * run;
    if (run > 0.0f) {
      strip.PaintIn(int(left), 0, int(left + cw), kSandHeight, Shape::Polygon(lower), [&](float, float y) {
        return y >= lowerTop ? Rgba::Bytes(226, 178, 86) : Rgba::Bytes(0, 0, 0, 0);
      });
    }
    // The wooden caps.
    strip.Paint(Shape::RoundedRect(cx - 16, 3, cx + 16, 9, 2.0f), Rgba::Bytes(120, 72, 30));
    strip.Paint(Shape::RoundedRect(cx - 16, h - 9, cx + 16, h - 3, 2.0f), Rgba::Bytes(120, 72, 30));
  }
  return strip;
}

Raster ClockPictures::DrawGradient() {
  Raster band(512, 600);
  band.Paint([](float, float) { return 1.0f; },
             [](float x, float) {
               // A raised cosine across the width: clear at both sides.
               const float t = (x - 256.0f) / 256.0f;
               const float a = std::abs(t) >= 1.0f ? 0.0f : 0.5f + 0.5f * std::cos(t * 3.14159265f);
               return Rgba::Bytes(255, 248, 220).WithAlpha(a * 0.85f);
             });
  return band;
}

bool ClockPictures::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("images/gui/clock_ribbon.png", DrawRibbon(), report) &&
         staging.SavePng("images/gui/clock_sand.png", DrawSand(), report) &&
         staging.SavePng("images/gui/gradient_fade.png", DrawGradient(), report);
}

}  // namespace Datagen
