#include "families/TitlePicture.h"

#include <cmath>

#include "Report.h"
#include "Staging.h"
#include "draw/Lettering.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"
#include "families/FontFiles.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x7171E;

const Rgba kGold = Rgba::Bytes(236, 192, 104);
const Rgba kGoldDeep = Rgba::Bytes(176, 122, 48);
const Rgba kInk = Rgba::Bytes(8, 28, 34);

// The band and its forked ends, as one coverage.
struct Ribbon {
  float left = 44, top = 46, right = TitlePicture::kWidth - 44, bottom = 194;

  float Band(float x, float y) const { return Shape::FromDistance(Distance(x, y)); }
  float Distance(float x, float y) const {
    return Shape::RoundedRectDistance(x, y, left, top, right, bottom, 18);
  }
  std::vector<Point2> Tail(bool leftSide) const {
    const float inner = leftSide ? left + 30 : right - 30;
    const float outer = leftSide ? 6.0f : float(TitlePicture::kWidth) - 6.0f;
    const float notch = leftSide ? outer + 26 : outer - 26;
    return {{inner, top + 26},
            {outer, top + 40},
            {notch, (top + bottom) * 0.5f + 6},
            {outer, bottom - 10},
            {inner, bottom + 6}};
  }
};

void PaintRibbon(Raster& picture, const Ribbon& ribbon) {
  // Shadow under everything.
  Mask shadow(picture.Width(), picture.Height());
  const Shape::Coverage leftTail = Shape::Polygon(ribbon.Tail(true));
  const Shape::Coverage rightTail = Shape::Polygon(ribbon.Tail(false));
  shadow.Add([&](float x, float y) {
    return std::max({ribbon.Band(x, y), leftTail(x, y), rightTail(x, y)});
  });
  shadow = shadow.Shifted(0, 7);
  shadow.Blur(5);
  picture.Paint(shadow, 0, 0, Rgba::Bytes(0, 0, 0, 120));

  // Forked ends behind the band, darker, with a gold edge.
  for (const bool side : {true, false}) {
    const std::vector<Point2> tail = ribbon.Tail(side);
    picture.Paint(
        [&](float x, float y) { return Shape::FromDistance(Shape::PolygonDistance(x, y, tail) - 2.0f); },
        kGoldDeep);
    picture.Paint(Shape::Polygon(tail), [&](float, float y) {
      return Rgba::Bytes(14, 58, 62)
          .Mix(Rgba::Bytes(6, 30, 38), (y - ribbon.top) / (ribbon.bottom - ribbon.top));
    });
  }

  // The band: deep teal, lighter in the middle like a curved cloth, with a
  // faint woven texture.
  const ValueNoise noise(kSeed);
  picture.Paint([&](float x, float y) { return ribbon.Band(x, y); },
                [&](float x, float y) {
                  const float v = (y - ribbon.top) / (ribbon.bottom - ribbon.top);
                  const float light = 1.0f - std::fabs(v - 0.42f) * 1.6f;
                  const Rgba base =
                      Rgba::Bytes(10, 46, 54).Mix(Rgba::Bytes(30, 96, 98), std::max(0.0f, light));
                  const float grain = noise.Fractal(x / 7.0f, y / 2.0f, 3) - 0.5f;
                  return base.Shade(grain * 0.12f);
                });
  // Gold trim: an outer edge and an inner line.
  picture.Paint(
      [&](float x, float y) { return Shape::FromDistance(std::fabs(ribbon.Distance(x, y) + 1.5f) - 1.5f); },
      kGold);
  picture.Paint(
      [&](float x, float y) { return Shape::FromDistance(std::fabs(ribbon.Distance(x, y) + 9.0f) - 0.9f); },
      kGold.WithAlpha(0.75f));
}

void PaintDiamond(Raster& picture, float cx, float cy, float r) {
  picture.Paint(Shape::Polygon({{cx, cy - r}, {cx + r, cy}, {cx, cy + r}, {cx - r, cy}}), kGold);
}

// Text with a dark outline, a drop shadow and a vertical gradient fill.
void PaintLettering(Raster& picture, const Lettering::Line& line, int left, int top, const Rgba& upper,
                    const Rgba& lower, int outline) {
  Mask shade = line.mask;
  shade.Dilate(outline + 1);
  shade = shade.Shifted(2, 4);
  shade.Blur(3);
  picture.Paint(shade, left, top, Rgba::Bytes(0, 0, 0, 150));

  Mask edge = line.mask;
  edge.Dilate(outline);
  picture.Paint(edge, left, top, kInk);

  const float textTop = float(top);
  const float textHeight = float(line.mask.Height());
  picture.Paint(line.mask, left, top, [&](float, float y) {
    const float t = std::clamp((y - textTop) / textHeight, 0.0f, 1.0f);
    // A bright band across the upper half, as on embossed metal.
    const float glint = std::exp(-std::pow((t - 0.38f) * 7.0f, 2.0f)) * 0.35f;
    return upper.Mix(lower, t).Shade(glint);
  });
}

}  // namespace

bool TitlePicture::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  std::string fontPath;
  if (!FontFiles::Locate(settings, "DejaVuSans-Bold.ttf", fontPath, report)) return false;
  Lettering bold;
  std::string reason;
  if (!bold.Open(fontPath, reason)) {
    report.Error(reason);
    return false;
  }

  Raster picture(kWidth, kHeight);
  const Ribbon ribbon;
  PaintRibbon(picture, ribbon);

  const int margin = 10;
  const Lettering::Line title = bold.Set(L"The Quillmarsh", 38, 2, margin);
  const Lettering::Line subtitle = bold.Set(L"Zenta", 24, 4, margin);
  if (title.mask.Width() == 0 || subtitle.mask.Width() == 0) {
    report.Error("the title font gives no glyphs: " + fontPath);
    return false;
  }
  const int titleLeft = (kWidth - title.mask.Width()) / 2;
  const int titleTop = 118 - title.baseline;
  PaintLettering(picture, title, titleLeft, titleTop, Rgba::Bytes(255, 246, 222), Rgba::Bytes(232, 180, 92),
                 3);

  const int subLeft = (kWidth - subtitle.mask.Width()) / 2;
  const int subBaseline = 168;
  PaintLettering(picture, subtitle, subLeft, subBaseline - subtitle.baseline, Rgba::Bytes(250, 216, 140),
                 Rgba::Bytes(214, 150, 64), 2);

  // Rules with diamonds either side of "Zenta".
  const float ruleY = float(subBaseline) - 10.0f;
  const float gap = 16.0f;
  const float inner = float(subLeft + margin) - gap;
  const float innerRight = float(subLeft + subtitle.mask.Width() - margin) + gap;
  picture.Paint(Shape::Tapered({inner - 110, ruleY}, {inner - 8, ruleY}, 0.4f, 1.6f), kGold);
  picture.Paint(Shape::Tapered({innerRight + 8, ruleY}, {innerRight + 110, ruleY}, 1.6f, 0.4f), kGold);
  PaintDiamond(picture, inner, ruleY, 5);
  PaintDiamond(picture, innerRight, ruleY, 5);
  PaintDiamond(picture, inner - 118, ruleY, 3);
  PaintDiamond(picture, innerRight + 118, ruleY, 3);

  return staging.SavePng("images/title.png", picture, report);
}

}  // namespace Datagen
