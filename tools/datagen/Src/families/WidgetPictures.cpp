#include "families/WidgetPictures.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "draw/Raster.h"
#include "draw/Shape.h"

namespace Datagen {

namespace {

// One state of a raised part (thumb, arrow, box), as the buttons have them.
struct Look {
  Rgba top, bottom;        // the plate's gradient
  Rgba rimLight, rimDark;  // the rim, lit from above
  Rgba mark;               // arrows, ticks and grips
  float gloss;             // the light band over the upper half
  float drop;              // how far the plate sits down when pressed
};

const Look kLooks[WidgetPictures::kStates] = {
    // Normal.
    {Rgba::Bytes(40, 108, 112), Rgba::Bytes(10, 44, 54), Rgba::Bytes(246, 210, 128),
     Rgba::Bytes(166, 112, 44), Rgba::Bytes(246, 210, 128), 0.22f, 0.0f},
    // Pressed.
    {Rgba::Bytes(8, 34, 42), Rgba::Bytes(26, 84, 90), Rgba::Bytes(176, 122, 48), Rgba::Bytes(214, 164, 82),
     Rgba::Bytes(214, 164, 82), 0.06f, 1.0f},
    // Under the mouse.
    {Rgba::Bytes(62, 144, 146), Rgba::Bytes(18, 66, 76), Rgba::Bytes(255, 236, 170),
     Rgba::Bytes(196, 140, 60), Rgba::Bytes(255, 236, 170), 0.3f, 0.0f},
    // Disabled.
    {Rgba::Bytes(84, 92, 100), Rgba::Bytes(50, 56, 64), Rgba::Bytes(150, 148, 144), Rgba::Bytes(96, 96, 100),
     Rgba::Bytes(150, 150, 152), 0.1f, 0.0f},
};

const Rgba kSeam = Rgba::Bytes(6, 22, 28);
const Rgba kNight = Rgba::Bytes(18, 24, 56);
const Rgba kNightDeep = Rgba::Bytes(6, 10, 28);
const Rgba kFillTop = Rgba::Bytes(70, 168, 162);
const Rgba kFillBottom = Rgba::Bytes(16, 74, 84);

struct Box {
  float left, top, right, bottom;
};

// Signed distance to a rounded box shrunk by inset.
float BoxDistance(const Box& b, float radius, float x, float y, float inset) {
  return Shape::RoundedRectDistance(x, y, b.left + inset, b.top + inset, b.right - inset, b.bottom - inset,
                                    std::max(0.5f, radius - inset));
}

// A raised plate: a soft shadow, a gold rim, a dark seam and a teal face with
// a light band, drawn inside the pixel box [x0, x1) x [y0, y1).
void PaintPlate(Raster& r, Box b, float radius, const Look& look, int x0, int y0, int x1, int y1) {
  b.top += look.drop;
  b.bottom += look.drop;
  r.PaintIn(
      x0, y0, x1, y1,
      [&](float x, float y) { return Shape::FromDistance(BoxDistance(b, radius, x, y - 1.2f, 0.0f)); },
      Rgba::Bytes(0, 0, 8).WithAlpha(0.45f));
  r.PaintIn(
      x0, y0, x1, y1,
      [&](float x, float y) { return Shape::FromDistance(BoxDistance(b, radius, x, y, 0.0f)); },
      [&](float, float y) { return look.rimLight.Mix(look.rimDark, (y - b.top) / (b.bottom - b.top)); });
  r.PaintIn(
      x0, y0, x1, y1,
      [&](float x, float y) { return Shape::FromDistance(BoxDistance(b, radius, x, y, 1.5f)); },
      kSeam.WithAlpha(0.85f));
  r.PaintIn(
      x0, y0, x1, y1,
      [&](float x, float y) { return Shape::FromDistance(BoxDistance(b, radius, x, y, 2.2f)); },
      [&](float x, float y) {
        const float t = std::clamp((y - b.top - 2.0f) / (b.bottom - b.top - 4.0f), 0.0f, 1.0f);
        Rgba c = look.top.Mix(look.bottom, t);
        c = c.Shade(t < 0.5f ? look.gloss * (1.0f - t * 2.0f) : 0.0f);
        const float edge = -BoxDistance(b, radius, x, y, 2.2f);
        return edge < 2.0f ? c.Shade(-(2.0f - edge) * 0.06f) : c;
      });
}

// A sunken groove: a gold rim around a night-blue well, darker at its top
// edge; filled, the well holds a glossy teal bar instead. The fill is cut
// to the columns [fillLeft, fillRight).
void PaintGroove(Raster& r, const Box& b, float radius, bool filled, float fillLeft, float fillRight) {
  r.Paint(
      [&](float x, float y) { return Shape::FromDistance(BoxDistance(b, radius, x, y, 0.0f)); },
      [&](float, float y) {
        return Rgba::Bytes(176, 122, 48).Mix(Rgba::Bytes(255, 226, 150), (y - b.top) / (b.bottom - b.top));
      });
  r.Paint([&](float x, float y) { return Shape::FromDistance(BoxDistance(b, radius, x, y, 1.2f)); },
          kNightDeep);
  r.Paint([&](float x, float y) { return Shape::FromDistance(BoxDistance(b, radius, x, y, 2.0f)); },
          [&](float, float y) {
            const float t = std::clamp((y - b.top - 2.0f) / 3.0f, 0.0f, 1.0f);
            return kNightDeep.Mix(kNight, t);
          });
  if (!filled) {
    return;
  }
  r.Paint(
      [&](float x, float y) {
        return x < fillLeft || x > fillRight ? 0.0f : Shape::FromDistance(BoxDistance(b, radius, x, y, 2.0f));
      },
      [&](float, float y) {
        const float t = std::clamp((y - b.top - 2.0f) / (b.bottom - b.top - 4.0f), 0.0f, 1.0f);
        Rgba c = kFillTop.Mix(kFillBottom, t);
        return t < 0.45f ? c.Shade(0.25f * (1.0f - t / 0.45f)) : c;
      });
  // A gold glint along the fill's top.
  r.Paint(
      [&](float x, float y) {
        if (x < fillLeft + 1.0f || x > fillRight - 1.0f) return 0.0f;
        return Shape::FromDistance(std::fabs(y - (b.top + 3.5f)) - 0.5f) * 0.55f;
      },
      Rgba::Bytes(255, 236, 170));
}

void PaintGrip(Raster& r, float cx, float cy, bool vertical, const Rgba& colour) {
  for (const float offset : {-3.0f, 0.0f, 3.0f}) {
    const Point2 a = vertical ? Point2{cx + offset, cy - 4.5f} : Point2{cx - 4.5f, cy + offset};
    const Point2 b = vertical ? Point2{cx + offset, cy + 4.5f} : Point2{cx + 4.5f, cy + offset};
    r.Paint(Shape::Tapered(a, b, 0.7f, 0.7f), colour.WithAlpha(0.85f));
  }
}

}  // namespace

Raster WidgetPictures::DrawCheckbox() {
  const int s = kCheckboxCell;
  Raster r(s * kStates, s * 2);
  for (int loop = 0; loop < 2; ++loop) {
    for (int cell = 0; cell < kStates; ++cell) {
      const Look& look = kLooks[cell];
      const float x = float(cell * s);
      const float y = float(loop * s);
      PaintPlate(r, {x + 1.0f, y + 1.0f, x + s - 1.0f, y + s - 2.0f}, 5.0f, look, cell * s, loop * s,
                 (cell + 1) * s, (loop + 1) * s);
      const float drop = look.drop;
      // The well the tick sits in.
      const Box well{x + 5.0f, y + 5.0f + drop, x + s - 5.0f, y + s - 6.0f + drop};
      r.PaintIn(
          cell * s, loop * s, (cell + 1) * s, (loop + 1) * s,
          [&](float px, float py) { return Shape::FromDistance(BoxDistance(well, 2.5f, px, py, 0.0f)); },
          [&](float, float py) {
            return kNightDeep.Mix(kNight, std::clamp((py - well.top) / 6.0f, 0.0f, 1.0f));
          });
      if (loop == 1) {
        const Point2 a{x + 7.0f, y + 11.5f + drop};
        const Point2 m{x + 10.5f, y + 15.5f + drop};
        const Point2 b{x + 17.5f, y + 6.0f + drop};
        r.PaintIn(cell * s, loop * s, (cell + 1) * s, (loop + 1) * s, Shape::Tapered(a, m, 1.3f, 1.7f),
                  look.mark);
        r.PaintIn(cell * s, loop * s, (cell + 1) * s, (loop + 1) * s, Shape::Tapered(m, b, 1.7f, 1.2f),
                  look.mark);
      }
    }
  }
  return r;
}

Raster WidgetPictures::DrawSliderTrack() {
  Raster r(kTrackWidth, kTrackHeight * 2);
  for (int loop = 0; loop < 2; ++loop) {
    const float y = float(loop * kTrackHeight);
    // The fill reaches from the first thumb centre to the last.
    PaintGroove(r, {2.0f, y + 7.0f, kTrackWidth - 2.0f, y + 17.0f}, 4.0f, loop == 1, kThumbWidth / 2.0f,
                kTrackWidth - kThumbWidth / 2.0f);
  }
  return r;
}

Raster WidgetPictures::DrawSliderThumb() {
  const int w = kThumbWidth;
  const int h = kTrackHeight;
  Raster r(w * kStates, h);
  for (int cell = 0; cell < kStates; ++cell) {
    const float x = float(cell * w);
    PaintPlate(r, {x + 1.0f, 1.0f, x + w - 1.0f, h - 2.0f}, 4.0f, kLooks[cell], cell * w, 0, (cell + 1) * w,
               h);
    PaintGrip(r, x + w / 2.0f, h / 2.0f - 0.5f + kLooks[cell].drop, true, kLooks[cell].mark);
  }
  return r;
}

Raster WidgetPictures::DrawProgress() {
  Raster r(kProgressWidth, kProgressHeight * 2);
  for (int loop = 0; loop < 2; ++loop) {
    const float y = float(loop * kProgressHeight);
    PaintGroove(r, {0.5f, y + 0.5f, kProgressWidth - 0.5f, y + kProgressHeight - 0.5f}, 6.0f, loop == 1,
                float(kProgressMargin), float(kProgressWidth - kProgressMargin));
  }
  return r;
}

Raster WidgetPictures::DrawScrollArrow(bool up) {
  const int s = kScrollArrow;
  Raster r(s * kStates, s);
  for (int cell = 0; cell < kStates; ++cell) {
    const Look& look = kLooks[cell];
    const float x = float(cell * s);
    PaintPlate(r, {x + 1.0f, 1.0f, x + s - 1.0f, s - 2.0f}, 4.0f, look, cell * s, 0, (cell + 1) * s, s);
    const float cx = x + s / 2.0f;
    const float cy = s / 2.0f - 0.5f + look.drop;
    const float d = up ? -1.0f : 1.0f;
    r.PaintIn(cell * s, 0, (cell + 1) * s, s,
              Shape::Polygon({{cx, cy + 3.5f * d}, {cx - 5.0f, cy - 2.5f * d}, {cx + 5.0f, cy - 2.5f * d}}),
              look.mark);
  }
  return r;
}

Raster WidgetPictures::DrawScrollThumb() {
  const int w = kScrollWidth;
  const int h = kScrollThumb;
  Raster r(w * kStates, h);
  for (int cell = 0; cell < kStates; ++cell) {
    const float x = float(cell * w);
    PaintPlate(r, {x + 1.0f, 1.0f, x + w - 1.0f, h - 2.0f}, 5.0f, kLooks[cell], cell * w, 0, (cell + 1) * w,
               h);
    PaintGrip(r, x + w / 2.0f, h / 2.0f - 0.5f + kLooks[cell].drop, false, kLooks[cell].mark);
  }
  return r;
}

Raster WidgetPictures::DrawScrollBack() {
  Raster r(kScrollWidth, kScrollTrack);
  PaintGroove(r, {3.0f, 0.5f, kScrollWidth - 3.0f, kScrollTrack - 0.5f}, 6.0f, false, 0.0f, 0.0f);
  return r;
}

bool WidgetPictures::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("images/gui/checkbox.png", DrawCheckbox(), report) &&
         staging.SavePng("images/gui/slider_track.png", DrawSliderTrack(), report) &&
         staging.SavePng("images/gui/slider_thumb.png", DrawSliderThumb(), report) &&
         staging.SavePng("images/gui/progress.png", DrawProgress(), report) &&
         staging.SavePng("images/gui/scroll_up.png", DrawScrollArrow(true), report) &&
         staging.SavePng("images/gui/scroll_down.png", DrawScrollArrow(false), report) &&
         staging.SavePng("images/gui/scroll_thumb.png", DrawScrollThumb(), report) &&
         staging.SavePng("images/gui/scroll_back.png", DrawScrollBack(), report);
}

}  // namespace Datagen
