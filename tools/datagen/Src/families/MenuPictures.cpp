#include "families/MenuPictures.h"

#include <algorithm>
#include <cmath>

#include "Report.h"
#include "Staging.h"
#include "core/Random.h"
#include "draw/Lettering.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"
#include "families/FontFiles.h"
#include "families/ShowcaseBackdrop.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x5B1A54;
const Rgba kGold = Rgba::Bytes(236, 192, 104);
const Rgba kGoldDeep = Rgba::Bytes(176, 122, 48);
const Rgba kInk = Rgba::Bytes(6, 10, 26);

// Centred text with a dark outline, a soft shadow and a vertical gradient.
void PaintText(Raster& picture, const Lettering& face, const std::wstring& text, int size, int spacing,
               int baseline, const Rgba& upper, const Rgba& lower, int outline) {
  const int margin = 12;
  const Lettering::Line line = face.Set(text, size, spacing, margin);
  const int left = (MenuPictures::kWidth - line.mask.Width()) / 2;
  const int top = baseline - line.baseline;
  Mask shade = line.mask;
  shade.Dilate(outline + 1);
  shade = shade.Shifted(2, 3);
  shade.Blur(3);
  picture.Paint(shade, left, top, Rgba::Bytes(0, 0, 0, 140));
  if (outline > 0) {
    Mask edge = line.mask;
    edge.Dilate(outline);
    picture.Paint(edge, left, top, kInk);
  }
  const float textTop = float(top);
  const float textHeight = float(std::max(1, line.mask.Height()));
  picture.Paint(line.mask, left, top, [&](float, float y) {
    const float t = std::clamp((y - textTop) / textHeight, 0.0f, 1.0f);
    return upper.Mix(lower, t);
  });
}

void Veil(Raster& picture, float strength) {
  picture.Paint([](float, float) { return 1.0f; },
                [strength](float x, float y) {
                  const float dx = (x - 400.0f) / 400.0f;
                  const float dy = (y - 300.0f) / 300.0f;
                  const float edge = std::min(1.0f, dx * dx + dy * dy);
                  return Rgba::Bytes(4, 6, 20).WithAlpha(strength + (1.0f - strength) * edge * 0.5f);
                });
}

// A heron in silhouette, standing on its right leg, facing left.
void PaintHeron(Raster& picture, float cx, float feet, const Rgba& colour) {
  const float body = feet - 150.0f;
  picture.Paint(Shape::Ellipse(cx + 8.0f, body, 46.0f, 24.0f), colour);
  // The tail feathers and the folded wing's lower edge.
  picture.Paint(Shape::Polygon(
                    {{cx + 40, body - 10}, {cx + 86, body + 22}, {cx + 70, body + 26}, {cx + 30, body + 18}}),
                colour);
  // The neck in an S, then the head and the long beak.
  const Point2 n0{cx - 26, body - 8};
  const Point2 n1{cx - 44, body - 52};
  const Point2 n2{cx - 22, body - 84};
  const Point2 head{cx - 34, body - 104};
  picture.Paint(Shape::Tapered(n0, n1, 11, 7), colour);
  picture.Paint(Shape::Tapered(n1, n2, 7, 6), colour);
  picture.Paint(Shape::Tapered(n2, head, 6, 8), colour);
  picture.Paint(Shape::Circle(head.x, head.y, 9), colour);
  picture.Paint(Shape::Tapered({head.x - 4, head.y + 1}, {head.x - 52, head.y + 10}, 3.2f, 0.5f), colour);
  // The crest.
  picture.Paint(Shape::Tapered({head.x + 4, head.y - 4}, {head.x + 30, head.y - 2}, 1.6f, 0.3f), colour);
  // The legs: one straight, one drawn up.
  picture.Paint(Shape::Tapered({cx + 4, body + 18}, {cx + 2, feet}, 2.6f, 2.0f), colour);
  picture.Paint(Shape::Tapered({cx + 14, body + 18}, {cx + 26, body + 62}, 2.4f, 2.0f), colour);
  picture.Paint(Shape::Tapered({cx + 26, body + 62}, {cx + 6, body + 78}, 2.0f, 1.6f), colour);
}

void PaintReeds(Raster& picture, float ground, const Rgba& colour, int count) {
  for (int i = 0; i < count; ++i) {
    const float x = LLF::RandomRange(0.0f, float(MenuPictures::kWidth));
    const float height = 60.0f + LLF::Random(150.0f);
    const float lean = LLF::RandomRange(-26.0f, 26.0f);
    picture.Paint(Shape::Tapered({x, ground + LLF::Random(30.0f)}, {x + lean, ground - height}, 2.6f, 0.4f),
                  colour);
    if (LLF::RandomInt() % 4 == 0) {
      const float t = 0.8f;
      const Point2 at{x + lean * t, ground - height * t};
      picture.Paint(Shape::Tapered({at.x - lean * 0.06f, at.y + 14}, {at.x, at.y - 12}, 3.4f, 3.0f), colour);
    }
  }
}

Raster VendorSign(const Lettering& bold, const Lettering& regular) {
  LLF::SeedRandom(kSeed);
  const ValueNoise noise(kSeed);
  Raster picture(MenuPictures::kWidth, MenuPictures::kHeight);
  const float moonX = 400.0f;
  const float moonY = 236.0f;
  const float moonR = 132.0f;
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  const Rgba sky = Rgba::Bytes(10, 14, 40).Mix(Rgba::Bytes(34, 40, 86), y / 600.0f);
                  const float d = std::hypot(x - moonX, y - moonY);
                  const float glow = std::exp(-std::max(0.0f, d - moonR) / 70.0f) * 0.45f;
                  return sky.Mix(Rgba::Bytes(250, 226, 190), glow);
                });
  picture.Paint(Shape::Circle(moonX, moonY, moonR), [&](float x, float y) {
    const float spots = noise.Fractal(x / 30.0f, y / 30.0f, 4);
    const float rim = std::hypot(x - moonX, y - moonY) / moonR;
    return Rgba::Bytes(255, 244, 218).Shade(-(spots - 0.4f) * 0.22f - rim * rim * 0.12f);
  });
  // Still water below the moon, with its reflection broken into lines.
  const float water = 372.0f;
  picture.PaintIn(
      0, int(water), MenuPictures::kWidth, MenuPictures::kHeight, [](float, float) { return 1.0f; },
      [&](float x, float y) {
        const float depth = (y - water) / (600.0f - water);
        const Rgba base = Rgba::Bytes(18, 22, 54).Mix(Rgba::Bytes(6, 8, 24), depth);
        const float path = std::exp(-std::pow((x - moonX) / (70.0f + depth * 60.0f), 2.0f));
        const float ripple = std::max(0.0f, noise.At(x / 30.0f, y / 2.2f) - 0.42f) * 2.2f;
        return base.Mix(Rgba::Bytes(250, 226, 190), path * ripple * 0.55f);
      });
  const Rgba silhouette = Rgba::Bytes(6, 8, 20);
  PaintReeds(picture, water + 6.0f, Rgba::Bytes(16, 20, 44), 70);
  PaintHeron(picture, moonX + 10.0f, water + 4.0f, silhouette);
  PaintReeds(picture, water + 20.0f, silhouette, 46);
  picture.PaintIn(
      0, int(water) + 10, MenuPictures::kWidth, int(water) + 60, [](float, float) { return 1.0f; },
      [&](float, float y) {
        return silhouette.WithAlpha(std::clamp((y - water - 10.0f) / 30.0f, 0.0f, 1.0f));
      });
  PaintText(picture, bold, L"BRENVIK", 46, 10, 484, Rgba::Bytes(255, 240, 200), kGold, 3);
  PaintText(picture, regular, L"games from the marsh", 16, 3, 526, Rgba::Bytes(214, 200, 170),
            Rgba::Bytes(180, 160, 120), 0);
  // Rules either side of the small line.
  for (const float side : {-1.0f, 1.0f}) {
    picture.Paint(Shape::Tapered({400 + side * 118, 520}, {400 + side * 210, 520}, 1.2f, 0.3f), kGoldDeep);
  }
  return picture;
}

Raster Presents(const Lettering& bold, const Lettering& regular) {
  Raster picture = ShowcaseBackdrop::Draw();
  Veil(picture, 0.55f);
  PaintText(picture, regular, L"Brenvik presents", 22, 3, 268, Rgba::Bytes(232, 220, 196),
            Rgba::Bytes(196, 176, 140), 0);
  PaintText(picture, bold, L"a voyage through the Quillmarsh", 28, 2, 330, Rgba::Bytes(255, 244, 214), kGold,
            2);
  for (const float side : {-1.0f, 1.0f}) {
    picture.Paint(Shape::Tapered({400 + side * 40, 364}, {400 + side * 180, 364}, 1.4f, 0.3f), kGoldDeep);
  }
  picture.Paint(Shape::Polygon({{400, 358}, {406, 364}, {400, 370}, {394, 364}}), kGold);
  return picture;
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

bool MenuPictures::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  Lettering bold;
  Lettering regular;
  if (!OpenFace(settings, "DejaVuSans-Bold.ttf", bold, report) ||
      !OpenFace(settings, "DejaVuSans.ttf", regular, report)) {
    return false;
  }
  return staging.SavePng("images/splash/brenvik.png", VendorSign(bold, regular), report, true) &&
         staging.SavePng("images/splash/presents.png", Presents(bold, regular), report, true);
}

}  // namespace Datagen
