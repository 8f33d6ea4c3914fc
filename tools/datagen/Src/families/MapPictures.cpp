#include "families/MapPictures.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <string>
#include <vector>

#include "GeneratorSettings.h"
#include "Report.h"
#include "Staging.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "draw/Lettering.h"
#include "draw/PlateStrip.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"
#include "families/FontFiles.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x3A9D12;
const Rgba kInk = Rgba::Bytes(72, 44, 22);
const Rgba kGold = Rgba::Bytes(236, 192, 104);
const Rgba kWater = Rgba::Bytes(92, 142, 140);

struct Faces {
  Lettering bold;
  Lettering regular;
};

// Text centred on (cx, baseline) with an optional dark outline.
void PaintText(Raster& picture, const Lettering& face, const std::wstring& text, int size, float cx,
               int baseline, const Rgba& colour, int outline = 0, const Rgba& edge = Rgba::Bytes(30, 18, 8)) {
  const Lettering::Line line = face.Set(text, size, 1, 6);
  const int left = int(std::lround(cx)) - line.mask.Width() / 2;
  const int top = baseline - line.baseline;
  if (outline > 0) {
    Mask rim = line.mask;
    rim.Dilate(outline);
    picture.Paint(rim, left, top, edge);
  }
  picture.Paint(line.mask, left, top, colour);
}

Rgba Parchment(const ValueNoise& noise, float x, float y, float w, float h) {
  const float stain = noise.Fractal(x / 40.0f, y / 40.0f, 5);
  const float dx = (x - w / 2) / (w / 2);
  const float dy = (y - h / 2) / (h / 2);
  const float edge = std::min(1.0f, 0.5f * (dx * dx + dy * dy));
  return Rgba::Bytes(238, 222, 180).Shade(-(stain - 0.45f) * 0.3f - edge * 0.35f);
}

void Reeds(Raster& picture, float x, float y, int count, const Rgba& colour) {
  for (int i = 0; i < count; ++i) {
    const float fx = x + LLF::RandomRange(-14.0f, 14.0f);
    const float h = 14.0f + LLF::Random(16.0f);
    const float lean = LLF::RandomRange(-5.0f, 5.0f);
    picture.Paint(Shape::Tapered({fx, y}, {fx + lean, y - h}, 1.2f, 0.3f), colour);
  }
}

Raster Page() {
  LLF::SeedRandom(kSeed);
  const ValueNoise noise(kSeed);
  Raster page(800, 600);
  page.Paint([](float, float) { return 1.0f; },
             [&](float x, float y) { return Parchment(noise, x, y, 800, 600); });
  // A river winding from the top left to the bottom right, and pools.
  for (int i = 0; i < 80; ++i) {
    const float t0 = i / 80.0f;
    const float t1 = (i + 1) / 80.0f;
    auto at = [](float t) {
      return Point2{-20.0f + 840.0f * t, 120.0f + 380.0f * t + 60.0f * std::sin(t * 9.0f)};
    };
    page.Paint(Shape::Tapered(at(t0), at(t1), 9.0f + 8.0f * t0, 9.0f + 8.0f * t1), kWater.WithAlpha(0.55f));
  }
  const float pools[][3] = {{150, 470, 46}, {690, 190, 40}, {420, 140, 30}, {600, 430, 34}};
  for (const auto& p : pools) {
    page.Paint(Shape::Ellipse(p[0], p[1], p[2] * 1.5f, p[2]), kWater.WithAlpha(0.45f));
    page.Paint(
        [&](float x, float y) {
          const float d = std::hypot((x - p[0]) / 1.5f, y - p[1]) - p[2];
          return Shape::FromDistance(std::fabs(d) - 0.8f);
        },
        kInk.WithAlpha(0.5f));
    Reeds(page, p[0] - p[2], p[1] + 4, 6, kInk.WithAlpha(0.7f));
    Reeds(page, p[0] + p[2] * 1.2f, p[1] + 6, 5, kInk.WithAlpha(0.7f));
  }
  for (int i = 0; i < 24; ++i) {
    Reeds(page, LLF::RandomRange(40.0f, 760.0f), LLF::RandomRange(110.0f, 500.0f), 3, kInk.WithAlpha(0.45f));
  }
  // A compass in the top right corner.
  const float cx = 726;
  const float cy = 72;
  page.Paint(Shape::Ring(cx, cy, 30, 1.2f), kInk.WithAlpha(0.8f));
  page.Paint(Shape::Polygon(Shape::StarPoints(cx, cy, 4, 40, 8)), kInk.WithAlpha(0.75f));
  page.Paint(Shape::Polygon(Shape::StarPoints(cx, cy, 4, 20, 5)), Rgba::Bytes(176, 62, 40, 220));
  // A double frame.
  for (const float inset : {10.0f, 18.0f}) {
    page.Paint(
        [inset](float x, float y) {
          return Shape::FromDistance(
              std::fabs(Shape::RoundedRectDistance(x, y, inset, inset, 800 - inset, 600 - inset, 6)) -
              (inset < 12 ? 1.6f : 0.7f));
        },
        kInk.WithAlpha(0.85f));
  }
  return page;
}

Raster DayNumbers(const Faces& faces) {
  Raster strip(240 * 3, 64);
  for (int cell = 0; cell < 3; ++cell) {
    const float left = cell * 240.0f;
    std::vector<Point2> ribbon = {{left + 4, 14},   {left + 30, 8},   {left + 210, 8},  {left + 236, 14},
                                  {left + 222, 32}, {left + 236, 50}, {left + 210, 56}, {left + 30, 56},
                                  {left + 4, 50},   {left + 18, 32}};
    strip.Paint(Shape::Polygon(ribbon), [&](float, float y) {
      return Rgba::Bytes(150, 48, 36).Mix(Rgba::Bytes(96, 26, 20), (y - 8) / 48.0f);
    });
    PaintText(strip, faces.bold, L"Day " + LLF::ToString(cell + 1), 24, left + 120, 42, kGold, 1);
  }
  return strip;
}

Raster MapButton() {
  const int w = 160;
  const int h = 48;
  const ValueNoise noise(kSeed + 3);
  const Rgba tops[4] = {Rgba::Bytes(128, 84, 44), Rgba::Bytes(84, 52, 26), Rgba::Bytes(164, 112, 60),
                        Rgba::Bytes(110, 106, 100)};
  return PlateStrip::Draw(w, h, 4, 10.0f, [&](int cell) {
    const float left = cell * w + 3.0f;
    const float right = (cell + 1) * w - 3.0f;
    const float shift = cell == 1 ? 1.0f : 0.0f;
    const Rgba top = tops[cell];
    return PlateStrip::Cell{{left, 3 + shift, right, h - 4.0f + shift},
                            {left, 5 + shift, right, h - 1.0f},
                            Rgba::Bytes(0, 0, 0, 100),
                            [&noise, top, h](float x, float y) {
                              const float grain = noise.Fractal(x / 30.0f, y / 2.0f, 3) - 0.5f;
                              return top.Shade(grain * 0.25f - (y / h) * 0.2f);
                            },
                            {{1.5f, 1.0f, cell == 3 ? Rgba::Bytes(160, 156, 150) : kGold}}};
  });
}

Raster AnimationTitle(const Faces& faces) {
  Raster title(640, 130);
  PaintText(title, faces.bold, L"The Quillmarsh", 44, 320, 64, kGold, 3);
  PaintText(title, faces.regular, L"Zenta's voyage begins", 20, 320, 112, Rgba::Bytes(250, 236, 204), 2);
  return title;
}

Raster Heron() {
  Raster heron(220, 260);
  const Rgba c = kInk;
  const float cx = 120;
  const float body = 130;
  heron.Paint(Shape::Ellipse(cx, body, 44, 22), c);
  heron.Paint(
      Shape::Polygon({{cx + 30, body - 8}, {cx + 84, body + 20}, {cx + 66, body + 24}, {cx + 24, body + 16}}),
      c);
  heron.Paint(Shape::Tapered({cx - 30, body - 8}, {cx - 44, body - 54}, 10, 7), c);
  heron.Paint(Shape::Tapered({cx - 44, body - 54}, {cx - 26, body - 86}, 7, 6), c);
  heron.Paint(Shape::Circle(cx - 32, body - 96, 9), c);
  heron.Paint(Shape::Tapered({cx - 36, body - 95}, {cx - 92, body - 86}, 3.2f, 0.5f), c);
  heron.Paint(Shape::Tapered({cx, body + 16}, {cx - 2, 250}, 2.6f, 2.0f), c);
  heron.Paint(Shape::Tapered({cx + 10, body + 16}, {cx + 24, body + 62}, 2.4f, 2.0f), c);
  heron.Paint(Shape::Tapered({cx + 24, body + 62}, {cx + 4, body + 80}, 2.0f, 1.6f), c);
  return heron;
}

Raster Boat() {
  Raster boat(260, 140);
  boat.Paint(Shape::Polygon({{10, 96}, {250, 96}, {214, 128}, {44, 128}}), Rgba::Bytes(110, 64, 30));
  boat.Paint(Shape::Tapered({130, 96}, {130, 8}, 2.5f, 1.5f), kInk);
  boat.Paint(Shape::Polygon({{136, 12}, {214, 86}, {136, 86}}), Rgba::Bytes(236, 226, 196));
  boat.Paint(Shape::Polygon({{124, 24}, {124, 86}, {64, 86}}), Rgba::Bytes(214, 196, 160));
  for (int i = 0; i < 3; ++i) {
    const float y = 132.0f - i * 0.0f;
    boat.Paint(Shape::Tapered({30.0f + i * 70, y}, {80.0f + i * 70, y}, 1.6f, 0.4f), kWater);
  }
  return boat;
}

// The mode's sign, inside a 60 x 44 box centred at (cx, cy).
void ModeSign(Raster& card, const std::wstring& type, float cx, float cy, const Rgba& c) {
  if (type == L"jigsaw") {
    card.Paint(Shape::RoundedRect(cx - 18, cy - 14, cx + 14, cy + 18, 3), c);
    card.Paint(Shape::Circle(cx + 19, cy + 2, 7), c);
    card.Paint(Shape::Circle(cx - 2, cy - 19, 7), c);
  } else if (type == L"puzzle") {
    for (int i = 0; i < 4; ++i) {
      const float x = cx - 20 + (i % 2) * 21;
      const float y = cy - 20 + (i / 2) * 21;
      card.Paint(Shape::RoundedRect(x, y, x + 18, y + 18, 3), c.Shade(i == 1 ? 0.3f : 0.0f));
    }
  } else if (type == L"mirror") {
    card.Paint(Shape::Polygon({{cx - 4, cy - 20}, {cx - 4, cy + 20}, {cx - 28, cy + 20}}), c);
    card.Paint(Shape::Polygon({{cx + 4, cy - 20}, {cx + 4, cy + 20}, {cx + 28, cy + 20}}), c.Shade(0.35f));
  } else if (type == L"pair") {
    card.Paint(Shape::Circle(cx - 13, cy, 13), c);
    card.Paint(Shape::Circle(cx + 13, cy, 13), c.Shade(0.35f));
  } else {
    card.Paint(Shape::Ring(cx - 5, cy - 5, 14, 3.5f), c);
    card.Paint(Shape::Tapered({cx + 6, cy + 6}, {cx + 20, cy + 20}, 4, 3), c);
  }
}

std::wstring ModeName(const std::wstring& type) {
  if (type.empty()) return L"Level";
  std::wstring name = type;
  name[0] = static_cast<wchar_t>(std::towupper(name[0]));
  return name;
}

Raster Card(const Faces& faces, const std::wstring& type) {
  const int w = MapPictures::kCardWidth;
  const int h = MapPictures::kCardHeight;
  Raster strip(w * 4, h);
  const ValueNoise noise(kSeed + 9);
  for (int cell = 0; cell < 4; ++cell) {
    const float left = cell * w + 4.0f;
    const float right = (cell + 1) * w - 4.0f;
    const float shift = cell == 1 ? 2.0f : 0.0f;
    const bool disabled = cell == 3;
    const Rgba face = disabled ? Rgba::Bytes(178, 174, 166) : Rgba::Bytes(246, 234, 202);
    const float light = cell == 2 ? 0.12f : (cell == 1 ? -0.1f : 0.0f);
    const Rgba trim = disabled ? Rgba::Bytes(120, 118, 112) : (cell == 2 ? Rgba::Bytes(214, 150, 40) : kInk);
    PlateStrip::Paint(strip,
                      {{left, 4 + shift, right, h - 6.0f + shift},
                       {left + 2, 8, right + 2, h - 1.0f},
                       Rgba::Bytes(0, 0, 0, 90),
                       [&](float x, float y) {
                         return face.Shade(light + (noise.Fractal(x / 12.0f, y / 12.0f, 3) - 0.5f) * 0.12f);
                       },
                       {{2.0f, 1.2f, trim}}},
                      10.0f);
    const float cx = (left + right) / 2;
    const Rgba ink = disabled ? Rgba::Bytes(126, 124, 120) : kInk;
    PaintText(strip, faces.bold, ModeName(type), 15, cx, 26 + int(shift), ink);
    ModeSign(strip, type, cx, 52 + shift, disabled ? Rgba::Bytes(140, 138, 132) : Rgba::Bytes(52, 112, 116));
    // The badge the button writes the level's number on.
    strip.Paint(Shape::Circle(cx, 88 + shift, 12),
                disabled ? Rgba::Bytes(150, 148, 142) : Rgba::Bytes(150, 48, 36));
    if (disabled) {
      strip.Paint(Shape::Tapered({cx - 26, 56}, {cx - 8, 76}, 5, 4), Rgba::Bytes(70, 130, 60));
      strip.Paint(Shape::Tapered({cx - 8, 76}, {cx + 30, 30}, 4, 5), Rgba::Bytes(70, 130, 60));
    }
  }
  return strip;
}

Raster StoryParchment() {
  const ValueNoise noise(kSeed + 21);
  Raster sheet(800, 600);
  sheet.Paint([](float, float) { return 1.0f; },
              [](float x, float y) {
                const float d = std::hypot(x - 400, y - 300) / 500.0f;
                return Rgba::Bytes(30, 22, 16).Mix(Rgba::Bytes(8, 6, 4), std::min(1.0f, d));
              });
  const float l = 110;
  const float t = 70;
  const float r = 690;
  const float b = 530;
  Mask shadow(800, 600);
  shadow.Add(Shape::RoundedRect(l, t, r, b, 8));
  shadow = shadow.Shifted(6, 10);
  shadow.Blur(10);
  sheet.Paint(shadow, 0, 0, Rgba::Bytes(0, 0, 0, 200));
  sheet.Paint(Shape::RoundedRect(l, t, r, b, 8),
              [&](float x, float y) { return Parchment(noise, x - l, y - t, r - l, b - t); });
  // The rolls at the top and the bottom.
  for (const float y : {t, b}) {
    sheet.Paint(Shape::RoundedRect(l - 18, y - 14, r + 18, y + 14, 14), [&](float, float py) {
      const float v = (py - (y - 14)) / 28.0f;
      return Rgba::Bytes(196, 160, 104).Shade(0.25f - std::fabs(v - 0.35f) * 0.8f);
    });
  }
  sheet.Paint(
      [&](float x, float y) {
        return Shape::FromDistance(
            std::fabs(Shape::RoundedRectDistance(x, y, l + 24, t + 30, r - 24, b - 30, 4)) - 0.8f);
      },
      kInk.WithAlpha(0.6f));
  return sheet;
}

bool OpenFace(const GeneratorSettings& settings, const char* name, Lettering& face, Report& report) {
  std::string path;
  std::string reason;
  if (!FontFiles::Locate(settings, name, path, report)) return false;
  if (!face.Open(path, reason)) {
    report.Error(reason);
    return false;
  }
  return true;
}

}  // namespace

bool MapPictures::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  Faces faces;
  if (!OpenFace(settings, "DejaVuSans-Bold.ttf", faces.bold, report) ||
      !OpenFace(settings, "DejaVuSans.ttf", faces.regular, report)) {
    return false;
  }
  if (!staging.SavePng("images/levelsmap/page.png", Page(), report, true) ||
      !staging.SavePng("images/levelsmap/daynum.png", DayNumbers(faces), report) ||
      !staging.SavePng("images/levelsmap/button.png", MapButton(), report) ||
      !staging.SavePng("images/levelsmap/anim_title.png", AnimationTitle(faces), report) ||
      !staging.SavePng("images/levelsmap/anim_heron.png", Heron(), report) ||
      !staging.SavePng("images/levelsmap/anim_boat.png", Boat(), report) ||
      !staging.SavePng("images/story/parchment.png", StoryParchment(), report, true)) {
    return false;
  }
  // One card per level of the list, showing its mode.
  const std::filesystem::path levelsFile = settings.dataFolder / "scripts/game/levels.xml";
  LLF::XmlDoc levels;
  if (!levels.LoadFromFile(LLF::FromOsPath(levelsFile.string()))) {
    report.Error("cannot read " + levelsFile.string() + " for the map's thumbnails");
    return false;
  }
  LLF::XmlElement* root = levels.GetRoot()->FindChild(L"gamelevels");
  int day = 0;
  for (int d = 0; root && d < root->GetChildsCount(); ++d) {
    LLF::XmlElement* dayElement = root->GetChild(d);
    if (dayElement->IsComment()) continue;
    ++day;
    int level = 0;
    for (int l = 0; l < dayElement->GetChildsCount(); ++l) {
      LLF::XmlElement* levelElement = dayElement->GetChild(l);
      if (levelElement->IsComment()) continue;
      ++level;
      const std::wstring type = levelElement->GetAttribute(L"type", std::wstring()).GetValue();
      const std::string file =
          "images/levelsmap/d" + std::to_string(day) + "_l" + std::to_string(level) + ".png";
      if (!staging.SavePng(file, Card(faces, type), report)) return false;
    }
  }
  return true;
}

}  // namespace Datagen
