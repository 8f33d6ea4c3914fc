#include "families/TutorialPicture.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "draw/Raster.h"
#include "draw/Shape.h"

namespace Datagen {

namespace {

constexpr float kHorizon = 84.0f;
constexpr float kMoonX = 170.0f;
constexpr float kMoonY = 38.0f;
constexpr float kMoonR = 14.0f;

// One reed: a tapered stalk leaning a little, with a seed head on top.
void Reed(Raster& picture, float x, float height, float lean, const Rgba& colour) {
  const Point2 foot{x, float(TutorialPicture::kHeight)};
  const Point2 top{x + lean, float(TutorialPicture::kHeight) - height};
  picture.Paint(Shape::Tapered(foot, top, 1.6f, 0.6f), colour);
  picture.Paint(Shape::Ellipse(top.x, top.y + 4.0f, 2.2f, 6.0f), colour);
}

}  // namespace

Raster TutorialPicture::Draw() {
  Raster picture(kWidth, kHeight);
  const float w = float(kWidth);
  const float h = float(kHeight);
  // Sky: night blue, a little lighter toward the horizon, with the moon's
  // glow.
  picture.Paint([](float, float) { return 1.0f; },
                [](float x, float y) {
                  Rgba c =
                      Rgba::Bytes(14, 18, 48).Mix(Rgba::Bytes(40, 52, 104), std::min(1.0f, y / kHorizon));
                  const float d = std::hypot(x - kMoonX, y - kMoonY);
                  const float glow = std::max(0.0f, 1.0f - d / 60.0f);
                  return c.Mix(Rgba::Bytes(236, 192, 104), glow * glow * 0.35f);
                });
  // Water: deep teal, darker toward the viewer, with soft bands.
  picture.Paint([](float, float y) { return std::clamp(y - kHorizon + 0.5f, 0.0f, 1.0f); },
                [&](float, float y) {
                  const float t = (y - kHorizon) / (h - kHorizon);
                  const float band = 0.06f * std::sin(y * 1.3f);
                  return Rgba::Bytes(26, 96, 104).Mix(Rgba::Bytes(8, 40, 52), t).Shade(band);
                });
  // The moon and its path of gold streaks on the water.
  picture.Paint(Shape::Circle(kMoonX, kMoonY, kMoonR), Rgba::Bytes(255, 226, 150));
  picture.Paint(Shape::Circle(kMoonX - 4.0f, kMoonY - 3.0f, 4.0f),
                Rgba::Bytes(246, 210, 128).WithAlpha(0.6f));
  for (int i = 0; i < 9; ++i) {
    const float y = kHorizon + 4.0f + float(i) * 5.5f;
    const float half = 16.0f - float(i) * 1.2f + float(i % 3) * 2.0f;
    picture.Paint(Shape::RoundedRect(kMoonX - half, y - 0.9f, kMoonX + half, y + 0.9f, 0.9f),
                  Rgba::Bytes(246, 210, 128).WithAlpha(0.75f - float(i) * 0.06f));
  }
  // Reeds at both edges.
  const Rgba reed = Rgba::Bytes(6, 16, 24);
  const float left[][3] = {{10, 70, -3}, {18, 86, 2}, {27, 60, 4}, {36, 48, -2}};
  const float right[][3] = {{206, 52, 3}, {216, 78, -2}, {226, 66, -4}, {233, 90, 1}};
  for (const auto& r : left) Reed(picture, r[0], r[1], r[2], reed);
  for (const auto& r : right) Reed(picture, r[0], r[1], r[2], reed);
  // A thin gold frame.
  picture.Paint(
      [&](float x, float y) {
        return Shape::FromDistance(
            std::fabs(Shape::RoundedRectDistance(x, y, 1.5f, 1.5f, w - 1.5f, h - 1.5f, 0.0f)) - 0.8f);
      },
      Rgba::Bytes(236, 192, 104));
  return picture;
}

bool TutorialPicture::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("images/tutorial_marsh.png", Draw(), report, true);
}

}  // namespace Datagen
