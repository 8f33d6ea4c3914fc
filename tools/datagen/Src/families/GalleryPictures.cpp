#include "families/GalleryPictures.h"

#include <algorithm>
#include <cmath>

#include "Report.h"
#include "Staging.h"
#include "draw/Lettering.h"
#include "draw/Raster.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"
#include "families/ButtonStrips.h"
#include "families/FontFiles.h"

namespace Datagen {

namespace {

constexpr unsigned kSeed = 0x6A11;
const Rgba kGold = Rgba::Bytes(232, 190, 104);
const Rgba kGoldDeep = Rgba::Bytes(130, 86, 30);
const Rgba kInk = Rgba::Bytes(16, 10, 4);

// A padlock centred on (cx, cy), about 40 pixels high.
void Padlock(Raster& picture, float cx, float cy, const Rgba& colour) {
  picture.PaintIn(
      int(cx - 30), int(cy - 40), int(cx + 30), int(cy + 30),
      [&](float x, float y) {
        return Shape::FromDistance(
            std::fabs(Shape::CircleDistance(x, y < cy - 10 ? y : cy - 10, cx, cy - 10, 11.0f)) - 3.0f);
      },
      colour);
  picture.PaintIn(int(cx - 30), int(cy - 20), int(cx + 30), int(cy + 30),
                  Shape::RoundedRect(cx - 18, cy - 6, cx + 18, cy + 22, 4), colour);
  picture.PaintIn(int(cx - 10), int(cy), int(cx + 10), int(cy + 20), Shape::Circle(cx, cy + 6, 4.0f),
                  Rgba::Bytes(10, 20, 26));
  picture.PaintIn(int(cx - 10), int(cy), int(cx + 10), int(cy + 20),
                  Shape::Tapered({cx, cy + 6}, {cx, cy + 15}, 2.0f, 1.5f), Rgba::Bytes(10, 20, 26));
}

// A gold rule drawn as the outline of a rounded rectangle.
void GoldRule(Raster& picture, float left, float top, float right, float bottom, float radius, float width,
              const Rgba& colour) {
  picture.Paint(
      [=](float x, float y) {
        return Shape::FromDistance(
            std::fabs(Shape::RoundedRectDistance(x, y, left, top, right, bottom, radius)) - width * 0.5f);
      },
      colour);
}

bool Title(const GeneratorSettings& settings, Raster& picture, const std::wstring& text, int size,
           int baseline, Report& report) {
  std::string path;
  std::string reason;
  if (!FontFiles::Locate(settings, "DejaVuSerif-Bold.ttf", path, report)) return false;
  Lettering serif;
  if (!serif.Open(path, reason)) {
    report.Error(reason);
    return false;
  }
  const int margin = 8;
  const Lettering::Line line = serif.Set(text, size, 2, margin);
  const int left = (picture.Width() - line.mask.Width()) / 2;
  const int top = baseline - line.baseline;
  Mask shade = line.mask;
  shade.Dilate(2);
  shade = shade.Shifted(2, 3);
  shade.Blur(2);
  picture.Paint(shade, left, top, Rgba::Bytes(0, 0, 0, 170));
  Mask edge = line.mask;
  edge.Dilate(1);
  picture.Paint(edge, left, top, kInk);
  const float textTop = float(top + margin);
  const float textHeight = float(std::max(1, line.mask.Height() - 2 * margin));
  picture.Paint(line.mask, left, top, [&](float, float y) {
    const float t = std::clamp((y - textTop) / textHeight, 0.0f, 1.0f);
    return Rgba::Bytes(255, 238, 186).Mix(kGold.Mix(kGoldDeep, 0.4f), t);
  });
  return true;
}

Raster Background(const GeneratorSettings& settings, Report& report, bool& ok) {
  const ValueNoise grain(kSeed, 64);
  const float w = float(GalleryPictures::kWidth);
  const float h = float(GalleryPictures::kHeight);
  Raster picture(GalleryPictures::kWidth, GalleryPictures::kHeight);
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  const float d = std::hypot((x - w * 0.5f) / w, (y - h * 0.45f) / h);
                  Rgba c =
                      Rgba::Bytes(24, 70, 78).Mix(Rgba::Bytes(6, 18, 28), std::clamp(d * 1.6f, 0.0f, 1.0f));
                  // Faint damask: a diagonal lattice of soft diamonds.
                  const float u = std::fabs(std::fmod(x + y + 2000.0f, 48.0f) - 24.0f);
                  const float v = std::fabs(std::fmod(x - y + 2000.0f, 48.0f) - 24.0f);
                  c = c.Shade(0.04f * (u + v < 14.0f ? 1.0f : 0.0f));
                  return c.Shade((grain.Fractal(x / 6.0f, y / 6.0f, 3) - 0.5f) * 0.08f);
                });
  GoldRule(picture, 10, 10, w - 10, h - 10, 12, 3, kGold.WithAlpha(0.85f));
  GoldRule(picture, 18, 18, w - 18, h - 18, 8, 1, kGold.WithAlpha(0.5f));
  // The slots: sunken panels with a padlock, under the thumbnails.
  for (const int sy : GalleryPictures::kSlotY) {
    for (const int sx : GalleryPictures::kSlotX) {
      const float left = float(sx);
      const float top = float(sy);
      const float right = left + float(GalleryPictures::kThumbWidth);
      const float bottom = top + float(GalleryPictures::kThumbHeight);
      Mask shadow(GalleryPictures::kWidth, GalleryPictures::kHeight);
      shadow.Add(Shape::RoundedRect(left - 4, top - 2, right + 6, bottom + 8, 8));
      shadow.Blur(6);
      picture.Paint(shadow, 0, 0, Rgba::Bytes(0, 0, 0, 140));
      picture.Paint(Shape::RoundedRect(left, top, right, bottom, 6), [&](float x, float y) {
        const float t = (y - top) / (bottom - top);
        return Rgba::Bytes(4, 14, 20)
            .Mix(Rgba::Bytes(16, 40, 48), t)
            .Shade((grain.At(x / 3.0f, y / 3.0f) - 0.5f) * 0.06f);
      });
      Padlock(picture, (left + right) * 0.5f, (top + bottom) * 0.5f, Rgba::Bytes(150, 128, 84, 220));
    }
  }
  ok = Title(settings, picture, L"Wallpaper Gallery", 28, 56, report);
  return picture;
}

Raster Button() {
  return ButtonStrips::Draw(GalleryPictures::kButtonWidth, GalleryPictures::kButtonHeight);
}

}  // namespace

Raster GalleryPictures::Frame(bool over) {
  const float w = float(kThumbWidth);
  const float h = float(kThumbHeight);
  Raster frame(kThumbWidth, kThumbHeight);
  const Rgba light = over ? Rgba::Bytes(255, 240, 180) : kGold;
  const Rgba dark = over ? Rgba::Bytes(220, 170, 80) : kGoldDeep;
  // An inner shade, a dark line, and the gold moulding around the edge.
  frame.Paint(
      [&](float x, float y) {
        const float inside = -Shape::RoundedRectDistance(x, y, 0, 0, w, h, 6);
        return std::clamp(1.0f - (inside - 6.0f) / 10.0f, 0.0f, 1.0f) * (inside > 0.0f ? 1.0f : 0.0f);
      },
      Rgba::Bytes(0, 0, 0, over ? 40 : 90));
  frame.Paint(
      [&](float x, float y) {
        const float d = -Shape::RoundedRectDistance(x, y, 0, 0, w, h, 6);
        return Shape::FromDistance(d - 7.0f) * (d > 0.0f ? 1.0f : 0.0f);
      },
      [&](float x, float y) {
        const float d = -Shape::RoundedRectDistance(x, y, 0, 0, w, h, 6);
        const float across = std::clamp(d / 7.0f, 0.0f, 1.0f);
        const float ridge = std::sin(across * 3.14159f);
        const float lit = 1.0f - (x / w + y / h) * 0.5f;
        return dark.Mix(light, ridge * 0.7f + lit * 0.3f);
      });
  if (over) {
    // A glow just inside the frame.
    frame.Paint(
        [&](float x, float y) {
          const float d = -Shape::RoundedRectDistance(x, y, 0, 0, w, h, 6);
          return d > 7.0f ? std::clamp(1.0f - (d - 7.0f) / 8.0f, 0.0f, 1.0f) * 0.6f : 0.0f;
        },
        Rgba::Bytes(255, 236, 170));
  }
  return frame;
}

Raster GalleryPictures::Ribbon(bool wide) {
  const ValueNoise grain(kSeed + 1, 64);
  const float w = float(kWidth);
  const float h = float(kRibbonHeight);
  Raster ribbon(kWidth, kRibbonHeight);
  ribbon.Paint([](float, float) { return 1.0f; },
               [&](float x, float y) {
                 const float t = y / h;
                 Rgba c = Rgba::Bytes(14, 44, 52).Mix(Rgba::Bytes(4, 16, 22), t);
                 c = c.Shade((grain.Fractal(x / 8.0f, y / 4.0f, 3) - 0.5f) * 0.1f);
                 return c.WithAlpha(wide ? 0.78f : 1.0f);
               });
  for (const float y : {2.0f, h - 3.0f}) {
    ribbon.Paint(Shape::Tapered({0, y}, {w, y}, 1.2f, 1.2f), kGold.WithAlpha(0.9f));
  }
  return ribbon;
}

Raster GalleryPictures::AwardBackground() {
  const float w = float(kWidth);
  const float h = float(kHeight);
  Raster picture(kWidth, kHeight);
  // A veil over the level, the panel in the middle.
  picture.Paint([](float, float) { return 1.0f; }, Rgba::Bytes(0, 6, 10, 170));
  const float left = 190.0f;
  const float top = 90.0f;
  const float right = w - 190.0f;
  const float bottom = h - 110.0f;
  Mask shadow(kWidth, kHeight);
  shadow.Add(Shape::RoundedRect(left - 4, top, right + 8, bottom + 10, 14));
  shadow.Blur(8);
  picture.Paint(shadow, 0, 0, Rgba::Bytes(0, 0, 0, 200));
  const ValueNoise grain(kSeed + 2, 64);
  picture.Paint(Shape::RoundedRect(left, top, right, bottom, 12), [&](float x, float y) {
    const float t = (y - top) / (bottom - top);
    return Rgba::Bytes(26, 76, 84)
        .Mix(Rgba::Bytes(8, 26, 34), t)
        .Shade((grain.Fractal(x / 6.0f, y / 6.0f, 3) - 0.5f) * 0.08f);
  });
  GoldRule(picture, left + 6, top + 6, right - 6, bottom - 6, 9, 2.5f, kGold);
  // The thumbnail's sunken slot with a gold edge.
  const float sl = float(kAwardSlotX);
  const float st = float(kAwardSlotY);
  picture.Paint(Shape::RoundedRect(sl - 8, st - 8, sl + 248, st + 158, 6), kGoldDeep);
  picture.Paint(Shape::RoundedRect(sl - 5, st - 5, sl + 245, st + 155, 5), kGold);
  picture.Paint(Shape::RoundedRect(sl - 2, st - 2, sl + 242, st + 152, 3), Rgba::Bytes(4, 10, 14));
  // A star over the slot.
  const float cx = w * 0.5f;
  const float cy = st - 48.0f;
  picture.PaintIn(
      int(cx - 30), int(cy - 30), int(cx + 30), int(cy + 30),
      Shape::Polygon(Shape::StarPoints(cx, cy, 5, 22.0f, 9.0f)), [&](float, float y) {
        return Rgba::Bytes(255, 240, 180).Mix(kGoldDeep, std::clamp((y - cy + 22.0f) / 44.0f, 0.0f, 1.0f));
      });
  return picture;
}

bool GalleryPictures::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  bool titled = false;
  const Raster background = Background(settings, report, titled);
  return titled && staging.SavePng("images/gallery/background.png", background, report, true) &&
         staging.SavePng("images/gallery/thumb_frame.png", Frame(false), report) &&
         staging.SavePng("images/gallery/thumb_frame_over.png", Frame(true), report) &&
         staging.SavePng("images/gallery/ribbon.png", Ribbon(false), report, true) &&
         staging.SavePng("images/gallery/ribbon_wide.png", Ribbon(true), report) &&
         staging.SavePng("images/gallery/button.png", Button(), report) &&
         staging.SavePng("images/awards/award_bg.png", AwardBackground(), report);
}

}  // namespace Datagen
