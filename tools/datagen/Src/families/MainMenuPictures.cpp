#include "families/MainMenuPictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Report.h"
#include "Staging.h"
#include "core/Random.h"
#include "draw/Lettering.h"
#include "draw/PlateStrip.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"
#include "families/FontFiles.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x2E47A;
constexpr float kPeriod = float(MainMenuPictures::kBandPeriod);
constexpr float kHorizon = 236.0f;
const Rgba kGold = Rgba::Bytes(240, 198, 110);
const Rgba kGoldDeep = Rgba::Bytes(150, 98, 34);
const Rgba kInk = Rgba::Bytes(30, 14, 6);

float Wrap(float x) {
  const float w = std::fmod(x, kPeriod);
  return w < 0.0f ? w + kPeriod : w;
}

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

// A ridge line that repeats every period: its height above the horizon.
float Ridge(const ValueNoise& noise, float x, float scale, float base, float height) {
  return base + height * noise.Fractal(Wrap(x) / scale, 0.5f, 4);
}

}  // namespace

Raster MainMenuPictures::Band() {
  // Noise lattices sized so each repeats a whole number of times in the
  // period: the picture at x and at x + 1024 is the same.
  const ValueNoise clouds(kSeed, 8);     // 1024 / 128
  const ValueNoise far(kSeed + 1, 16);   // 1024 / 64
  const ValueNoise near(kSeed + 2, 32);  // 1024 / 32
  const ValueNoise ripples(kSeed + 3, 64);
  static const std::vector<std::pair<float, Rgba>> kSky = {
      {0.0f, Rgba::Bytes(34, 46, 96)},    {0.4f, Rgba::Bytes(84, 92, 150)},
      {0.7f, Rgba::Bytes(190, 132, 150)}, {0.88f, Rgba::Bytes(246, 176, 132)},
      {1.0f, Rgba::Bytes(255, 214, 150)},
  };
  Raster band(kBandWidth, kBandHeight);
  band.Paint(
      [](float, float) { return 1.0f; },
      [&](float x, float y) {
        const float u = Wrap(x);
        if (y <= kHorizon) {
          Rgba c = Gradient(kSky, y / kHorizon);
          const float streak = std::exp(-std::pow((y - 150.0f) / 70.0f, 2.0f));
          const float cloud = std::max(0.0f, clouds.Fractal(u / 128.0f, y / 26.0f, 4) - 0.5f) * 2.6f;
          const Rgba lit = Rgba::Bytes(255, 206, 176).Mix(Rgba::Bytes(120, 90, 140), 1.0f - y / kHorizon);
          c = c.Mix(lit, std::min(0.7f, cloud * (0.35f + streak)));
          // Far hills, blue in the haze; nearer ones darker.
          const float farTop = kHorizon - Ridge(far, u, 64.0f, 8.0f, 46.0f);
          if (y >= farTop) c = c.Mix(Rgba::Bytes(96, 90, 138), 0.85f);
          const float nearTop = kHorizon - Ridge(near, u, 32.0f, 0.0f, 26.0f);
          if (y >= nearTop) c = c.Mix(Rgba::Bytes(54, 52, 86), 0.9f);
          return c;
        }
        // Still water mirroring the glow, broken into lines.
        const float depth = (y - kHorizon) / (float(kBandHeight) - kHorizon);
        const Rgba mirror = Gradient(kSky, 1.0f - depth * 0.6f);
        const float ripple = ripples.At(u / 16.0f, y / 1.6f);
        return mirror.Mix(Rgba::Bytes(40, 44, 84), 0.35f + depth * 0.35f).Shade((ripple - 0.5f) * 0.16f);
      });
  // Birds far off, each drawn at x and x + 1024 so the copies match.
  LLF::SeedRandom(kSeed);
  for (int i = 0; i < 9; ++i) {
    const float x = LLF::RandomRange(0.0f, kPeriod);
    const float y = LLF::RandomRange(40.0f, 140.0f);
    const float span = LLF::RandomRange(5.0f, 9.0f);
    for (const float shift : {0.0f, kPeriod, -kPeriod, 2.0f * kPeriod}) {
      const float bx = x + shift;
      if (bx < -20.0f || bx > float(kBandWidth) + 20.0f) continue;
      const Rgba ink = Rgba::Bytes(40, 36, 64, 200);
      band.PaintIn(int(bx - span - 2), int(y - span), int(bx + span + 2), int(y + span),
                   Shape::Tapered({bx - span, y - span * 0.4f}, {bx, y}, 0.9f, 0.6f), ink);
      band.PaintIn(int(bx - span - 2), int(y - span), int(bx + span + 2), int(y + span),
                   Shape::Tapered({bx, y}, {bx + span, y - span * 0.4f}, 0.6f, 0.9f), ink);
    }
  }
  return band;
}

Raster MainMenuPictures::LowerBackground() {
  const ValueNoise ripples(kSeed + 4, 64);
  const ValueNoise mist(kSeed + 5, 16);
  const float w = float(kBottomWidth);
  const float h = float(kBottomHeight);
  Raster picture(kBottomWidth, kBottomHeight);
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  const float t = y / h;
                  Rgba water = Rgba::Bytes(70, 70, 118).Mix(Rgba::Bytes(12, 16, 36), std::pow(t, 0.8f));
                  const float ripple = ripples.Fractal(x / 40.0f, y / (2.0f + 6.0f * t), 3);
                  water = water.Shade((ripple - 0.5f) * 0.2f);
                  // The glow of the sky on the water, strongest far off.
                  const float glow = std::exp(-std::pow((x - w * 0.5f) / 260.0f, 2.0f)) * (1.0f - t);
                  water = water.Mix(Rgba::Bytes(236, 170, 136), glow * 0.3f);
                  // Mist over the join with the band.
                  const float haze = std::clamp(1.0f - (y - 60.0f) / 140.0f, 0.0f, 1.0f);
                  const float drift = mist.Fractal(x / 50.0f, y / 20.0f, 3);
                  return water.Mix(Rgba::Bytes(214, 186, 196), haze * (0.4f + 0.4f * drift));
                });
  // Lily pads on the water, smaller far off.
  LLF::SeedRandom(kSeed + 9);
  for (int i = 0; i < 26; ++i) {
    const float y = LLF::RandomRange(250.0f, 500.0f);
    const float x = LLF::RandomRange(0.0f, w);
    const float r = 6.0f + (y - 240.0f) / 14.0f;
    picture.PaintIn(int(x - r - 2), int(y - r), int(x + r + 2), int(y + r),
                    Shape::Ellipse(x, y, r, r * 0.32f), Rgba::Bytes(36, 74, 56, 230));
  }
  // Reeds in dark clumps at both sides, taller towards the edges.
  const Rgba reed = Rgba::Bytes(10, 14, 22);
  for (int i = 0; i < 150; ++i) {
    const bool left = i % 2 == 0;
    const float edge = std::pow(LLF::Random(1.0f), 1.6f) * 250.0f;
    const float x = left ? edge : w - edge;
    const float ground = h + 10.0f;
    const float height = 120.0f + (250.0f - edge) * 1.1f + LLF::Random(90.0f);
    const float lean = LLF::RandomRange(-30.0f, 30.0f) + (left ? 10.0f : -10.0f);
    picture.Paint(Shape::Tapered({x, ground}, {x + lean, ground - height}, 3.0f, 0.4f), reed);
    if (LLF::RandomInt() % 3 == 0) {
      const Point2 at{x + lean * 0.78f, ground - height * 0.78f};
      picture.Paint(Shape::Tapered({at.x - lean * 0.05f, at.y + 16}, {at.x, at.y - 14}, 4.0f, 3.4f), reed);
    }
  }
  // Darker towards the bottom, where the welcome line stands.
  picture.Paint(
      [](float, float) { return 1.0f; },
      [&](float, float y) {
        return Rgba::Bytes(0, 0, 8).WithAlpha(std::clamp((y - 360.0f) / 150.0f, 0.0f, 1.0f) * 0.55f);
      });
  // The band shows through the top rows.
  picture.MultiplyAlpha([](float, float y) {
    const float t = std::clamp(y / float(kRampRows), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
  });
  return picture;
}

Raster MainMenuPictures::Column(bool left) {
  const ValueNoise stone(kSeed + 6, 64);
  const float w = float(kColumnWidth);
  const float h = float(kColumnHeight);
  Raster picture(kColumnWidth, kColumnHeight);
  // The shaft: round shading lit from the screen's middle, blocks every
  // 100 pixels, weathered grain.
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  const float across = x / w;
                  const float lightSide = left ? across : 1.0f - across;
                  const float round = std::sin(across * 3.14159f);
                  const float grain = stone.Fractal(x / 7.0f, y / 11.0f, 4);
                  Rgba c = Rgba::Bytes(150, 140, 122).Shade(-0.55f + 0.45f * round + 0.25f * lightSide);
                  c = c.Shade((grain - 0.5f) * 0.35f);
                  const float joint = std::fmod(y + 40.0f, 100.0f);
                  if (joint < 2.0f) c = c.Shade(-0.35f);
                  // Fluting: shallow vertical grooves.
                  const float flute = std::cos(across * 3.14159f * 8.0f);
                  return c.Shade(flute * 0.05f);
                });
  // Capital and base: wider bands with a lit top edge.
  for (const float top : {0.0f, h - 46.0f}) {
    picture.Paint(Shape::RoundedRect(0, top, w, top + 46.0f, 3), [&](float x, float y) {
      const float v = (y - top) / 46.0f;
      const float grain = stone.Fractal(x / 5.0f, y / 5.0f, 3);
      Rgba c = Rgba::Bytes(172, 162, 142).Shade(-0.25f - v * 0.25f + (grain - 0.5f) * 0.3f);
      if (std::fmod(y - top, 15.0f) < 2.0f) c = c.Shade(-0.3f);
      return c;
    });
  }
  // Moss creeping up from the base.
  const ValueNoise moss(kSeed + 8, 32);
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  const float reach = std::clamp((y - (h - 180.0f)) / 180.0f, 0.0f, 1.0f);
                  const float patch = std::max(0.0f, moss.Fractal(x / 9.0f, y / 9.0f, 3) - 0.55f) * 3.0f;
                  return Rgba::Bytes(70, 96, 48).WithAlpha(std::min(0.8f, patch * reach));
                });
  return picture;
}

Raster MainMenuPictures::Scroll() {
  const ValueNoise fibre(kSeed + 10, 64);
  const float w = float(kScrollWidth);
  const float h = float(kScrollHeight);
  const float roller = 26.0f;
  Raster picture(kScrollWidth, kScrollHeight);
  // The shadow the sheet casts.
  Mask shadow(kScrollWidth, kScrollHeight);
  shadow.Add(Shape::RoundedRect(18, roller * 0.5f + 4, w - 12, h - roller * 0.5f + 2, 6));
  shadow.Blur(5);
  picture.Paint(shadow, 0, 0, Rgba::Bytes(0, 0, 0, 120));
  // The parchment, darker and browner at its edges.
  const float left = 14.0f;
  const float right = w - 14.0f;
  picture.Paint(Shape::RoundedRect(left, roller * 0.5f, right, h - roller * 0.5f, 4), [&](float x, float y) {
    const float dx = std::min(x - left, right - x) / 40.0f;
    const float edge = 1.0f - std::clamp(dx, 0.0f, 1.0f);
    const float grain = fibre.Fractal(x / 12.0f, y / 5.0f, 4);
    const float blotch = fibre.Fractal(x / 60.0f + 9.0f, y / 60.0f, 3);
    Rgba c = Rgba::Bytes(240, 222, 178).Mix(Rgba::Bytes(188, 142, 84), edge * 0.8f);
    c = c.Shade((grain - 0.5f) * 0.14f - std::max(0.0f, blotch - 0.6f) * 0.4f);
    return c;
  });
  // A thin red-brown rule inside the sheet.
  picture.Paint(
      [&](float x, float y) {
        return Shape::FromDistance(std::fabs(Shape::RoundedRectDistance(x, y, left + 12, roller + 8,
                                                                        right - 12, h - roller - 8, 3)) -
                                   0.8f);
      },
      Rgba::Bytes(140, 60, 36, 200));
  // The rollers: wooden cylinders with gold knobs at their ends.
  for (const float cy : {roller * 0.5f + 2.0f, h - roller * 0.5f - 2.0f}) {
    picture.Paint(Shape::RoundedRect(6, cy - roller * 0.5f, w - 6, cy + roller * 0.5f, roller * 0.5f),
                  [&](float x, float y) {
                    const float v = (y - (cy - roller * 0.5f)) / roller;
                    const float round = std::sin(v * 3.14159f);
                    const float grain = fibre.At(x / 3.0f, y * 2.0f);
                    return Rgba::Bytes(120, 70, 34).Shade(-0.6f + 0.7f * round + (grain - 0.5f) * 0.2f);
                  });
    for (const float cx : {8.0f, w - 8.0f}) {
      picture.Paint(Shape::Circle(cx, cy, 9.0f), [&](float x, float y) {
        const float d = std::hypot(x - cx + 3.0f, y - cy + 3.0f) / 12.0f;
        return kGold.Mix(kGoldDeep, std::clamp(d, 0.0f, 1.0f));
      });
    }
  }
  return picture;
}

Raster MainMenuPictures::ScrollButton() {
  const int w = kButtonWidth;
  const int h = kButtonHeight;
  const ValueNoise noise(kSeed + 11);
  struct Look {
    Rgba top, bottom, trim;
    float shift;
  };
  const Look looks[4] = {
      {Rgba::Bytes(150, 40, 36), Rgba::Bytes(84, 16, 18), kGold, 0.0f},
      {Rgba::Bytes(84, 18, 18), Rgba::Bytes(120, 30, 28), kGoldDeep, 1.0f},
      {Rgba::Bytes(190, 62, 50), Rgba::Bytes(110, 26, 24), Rgba::Bytes(255, 230, 160), 0.0f},
      {Rgba::Bytes(132, 118, 104), Rgba::Bytes(98, 88, 78), Rgba::Bytes(170, 156, 130), 0.0f},
  };
  return PlateStrip::Draw(w, h, 4, 10.0f, [&](int cell) {
    const Look& look = looks[cell];
    const float left = float(cell * w) + 3.0f;
    const float right = float((cell + 1) * w) - 3.0f;
    const float top = 3.0f + look.shift;
    const float bottom = float(h) - 4.0f + look.shift;
    return PlateStrip::Cell{{left, top, right, bottom},
                            {left + 1, top + 2, right + 1, bottom + 2},
                            Rgba::Bytes(60, 30, 10, 110),
                            [&noise, look, top, bottom](float x, float y) {
                              const float v = (y - top) / (bottom - top);
                              const float light = std::exp(-std::pow((v - 0.25f) * 3.4f, 2.0f)) * 0.2f;
                              return look.top.Mix(look.bottom, v)
                                  .Shade(light + (noise.Fractal(x / 6.0f, y / 2.0f, 2) - 0.5f) * 0.06f);
                            },
                            {{1.2f, 1.2f, look.trim}, {5.0f, 0.5f, look.trim.WithAlpha(0.55f)}}};
  });
}

namespace {

// The game's name, as large as fits, gold over a dark outline and a soft
// shadow; "Zenta" beneath between two rules.
bool Logo(const GeneratorSettings& settings, Raster& picture, Report& report) {
  std::string path;
  std::string reason;
  if (!FontFiles::Locate(settings, "DejaVuSerif-Bold.ttf", path, report)) return false;
  Lettering serif;
  if (!serif.Open(path, reason)) {
    report.Error(reason);
    return false;
  }
  const int margin = 10;
  const auto place = [&](const std::wstring& text, int size, int spacing, int baseline, int maxWidth,
                         const Rgba& upper, const Rgba& lower) {
    Lettering::Line line = serif.Set(text, size, spacing, margin);
    while (line.mask.Width() - 2 * margin > maxWidth && size > 8) {
      --size;
      line = serif.Set(text, size, spacing, margin);
    }
    const int left = (MainMenuPictures::kLogoWidth - line.mask.Width()) / 2;
    const int top = baseline - line.baseline;
    Mask shade = line.mask;
    shade.Dilate(3);
    shade = shade.Shifted(2, 3);
    shade.Blur(3);
    picture.Paint(shade, left, top, Rgba::Bytes(0, 0, 0, 170));
    Mask edge = line.mask;
    edge.Dilate(2);
    picture.Paint(edge, left, top, kInk);
    const float textTop = float(top + margin);
    const float textHeight = float(std::max(1, line.mask.Height() - 2 * margin));
    picture.Paint(line.mask, left, top, [&](float, float y) {
      const float t = std::clamp((y - textTop) / textHeight, 0.0f, 1.0f);
      // A bright band across the upper third, as polished metal.
      const float shine = std::exp(-std::pow((t - 0.3f) * 5.0f, 2.0f)) * 0.35f;
      return upper.Mix(lower, t).Shade(shine);
    });
    return line.mask.Width() - 2 * margin;
  };
  place(L"The Quillmarsh", 40, 1, 62, 456, Rgba::Bytes(255, 236, 178), kGold.Mix(kGoldDeep, 0.5f));
  const int zentaWidth = place(L"Zenta", 24, 4, 104, 200, Rgba::Bytes(255, 246, 220), kGold);
  for (const float side : {-1.0f, 1.0f}) {
    const float inner = 240.0f + side * (float(zentaWidth) * 0.5f + 14.0f);
    const float outer = 240.0f + side * (float(zentaWidth) * 0.5f + 96.0f);
    picture.Paint(Shape::Tapered({inner, 95}, {outer, 95}, 2.2f, 0.4f), kInk);
    picture.Paint(Shape::Tapered({inner, 95}, {outer, 95}, 1.3f, 0.2f), kGold);
  }
  return true;
}

}  // namespace

bool MainMenuPictures::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  Raster logo(kLogoWidth, kLogoHeight);
  if (!Logo(settings, logo, report)) return false;
  return staging.SavePng("images/mainmenu/bg_top.png", Band(), report, true) &&
         staging.SavePng("images/mainmenu/bg_bottom.png", LowerBackground(), report) &&
         staging.SavePng("images/mainmenu/column_left.png", Column(true), report, true) &&
         staging.SavePng("images/mainmenu/column_right.png", Column(false), report, true) &&
         staging.SavePng("images/mainmenu/scroll.png", Scroll(), report) &&
         staging.SavePng("images/mainmenu/logo.png", logo, report) &&
         staging.SavePng("images/mainmenu/scroll_button.png", ScrollButton(), report);
}

}  // namespace Datagen
