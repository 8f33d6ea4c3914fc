#include "families/ButtonStrips.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "draw/Raster.h"
#include "draw/Shape.h"

namespace Datagen {

namespace {

struct Look {
  Rgba top, bottom;        // the plate's gradient
  Rgba rimLight, rimDark;  // the rim, lit from above
  Rgba ornament;           // the diamonds
  float gloss;             // strength of the light band on the upper half
  float drop;              // how far the plate sits down in its cell
  float shadow;            // the shadow's opacity
};

const Look kLooks[ButtonStrips::kCells] = {
    // Normal.
    {Rgba::Bytes(40, 108, 112), Rgba::Bytes(10, 44, 54), Rgba::Bytes(246, 210, 128),
     Rgba::Bytes(166, 112, 44), Rgba::Bytes(236, 192, 104), 0.22f, 0.0f, 0.55f},
    // Pressed: darker, lit from below, pushed in.
    {Rgba::Bytes(8, 34, 42), Rgba::Bytes(26, 84, 90), Rgba::Bytes(176, 122, 48), Rgba::Bytes(214, 164, 82),
     Rgba::Bytes(214, 164, 82), 0.06f, 1.0f, 0.3f},
    // Under the mouse: lighter, a brighter rim.
    {Rgba::Bytes(62, 144, 146), Rgba::Bytes(18, 66, 76), Rgba::Bytes(255, 236, 170),
     Rgba::Bytes(196, 140, 60), Rgba::Bytes(255, 226, 150), 0.3f, 0.0f, 0.6f},
    // Disabled: grey slate, dull rim.
    {Rgba::Bytes(84, 92, 100), Rgba::Bytes(50, 56, 64), Rgba::Bytes(150, 148, 144), Rgba::Bytes(96, 96, 100),
     Rgba::Bytes(128, 128, 130), 0.1f, 0.0f, 0.35f},
};

void PaintCell(Raster& strip, int cell, int w, int h, const Look& look) {
  const float left = float(cell * w) + 2.0f;
  const float right = float((cell + 1) * w) - 2.0f;
  const float top = 2.0f + look.drop;
  const float bottom = float(h) - 3.0f + look.drop;
  const float radius = std::min(10.0f, (bottom - top) * 0.4f);
  const int boxLeft = cell * w;
  const int boxRight = (cell + 1) * w;
  auto plate = [=](float x, float y, float inset) {
    return Shape::RoundedRectDistance(x, y, left + inset, top + inset, right - inset, bottom - inset,
                                      std::max(1.0f, radius - inset));
  };

  // A soft shadow under the plate, kept inside the cell.
  Mask shadow(strip.Width(), strip.Height());
  shadow.Add([&](float x, float y) {
    return x < boxLeft + 1 || x > boxRight - 1 ? 0.0f : Shape::FromDistance(plate(x, y - 1.5f, 0.5f));
  });
  shadow.Blur(1);
  strip.Paint(shadow, 0, 0, Rgba::Bytes(0, 0, 0).WithAlpha(look.shadow));

  // The rim: its own gradient, lit from above.
  strip.PaintIn(
      boxLeft, 0, boxRight, h, [&](float x, float y) { return Shape::FromDistance(plate(x, y, 0.0f)); },
      [&](float, float y) { return look.rimLight.Mix(look.rimDark, (y - top) / (bottom - top)); });
  // A dark line inside the rim sets the plate off from it.
  strip.PaintIn(
      boxLeft, 0, boxRight, h, [&](float x, float y) { return Shape::FromDistance(plate(x, y, 2.0f)); },
      Rgba::Bytes(6, 22, 28).WithAlpha(0.85f));
  // The plate: a vertical gradient with a light band over its upper half
  // and a faint rounded bevel along its edge.
  strip.PaintIn(
      boxLeft, 0, boxRight, h, [&](float x, float y) { return Shape::FromDistance(plate(x, y, 3.0f)); },
      [&](float x, float y) {
        const float t = std::clamp((y - top - 3.0f) / (bottom - top - 6.0f), 0.0f, 1.0f);
        Rgba c = look.top.Mix(look.bottom, t);
        const float band = t < 0.5f ? look.gloss * (1.0f - t * 2.0f) : 0.0f;
        c = c.Shade(band);
        const float edge = -plate(x, y, 3.0f);
        if (edge < 3.0f) c = c.Shade(-(3.0f - edge) * 0.06f);
        return c;
      });
  // Highlight along the top inside edge.
  strip.PaintIn(
      boxLeft, 0, boxRight, h,
      [&](float x, float y) {
        const float d = std::fabs(plate(x, y, 4.0f)) - 0.5f;
        return y < (top + bottom) * 0.5f ? Shape::FromDistance(d) * 0.5f : 0.0f;
      },
      Rgba::Bytes(255, 255, 255).WithAlpha(look.gloss * 1.4f));

  // Diamonds at both ends; the caption runs between them.
  const float cy = (top + bottom) * 0.5f;
  const float r = std::max(2.5f, (bottom - top) * 0.12f);
  for (const float cx : {left + 12.0f, right - 12.0f}) {
    strip.PaintIn(int(cx - r) - 2, int(cy - r) - 2, int(cx + r) + 3, int(cy + r) + 3,
                  Shape::Polygon({{cx, cy - r}, {cx + r, cy}, {cx, cy + r}, {cx - r, cy}}), look.ornament);
  }
}

}  // namespace

Raster ButtonStrips::Draw(int cellWidth, int cellHeight) {
  Raster strip(cellWidth * kCells, cellHeight);
  for (int cell = 0; cell < kCells; ++cell) {
    PaintCell(strip, cell, cellWidth, cellHeight, kLooks[cell]);
  }
  return strip;
}

bool ButtonStrips::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("images/gui/button.png", Draw(180, 44), report) &&
         staging.SavePng("images/gui/button_small.png", Draw(120, 36), report);
}

}  // namespace Datagen
