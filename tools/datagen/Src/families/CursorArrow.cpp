#include "families/CursorArrow.h"

#include <algorithm>
#include <vector>

#include "Staging.h"
#include "draw/Raster.h"
#include "draw/Shape.h"

namespace Datagen {

Raster CursorArrow::Draw() {
  constexpr int kScale = 4;
  const int size = kSize * kScale;
  Raster big(size, size);
  // The arrow in cursor pixels, tip first, scaled up.
  std::vector<Point2> arrow = {{1.0f, 1.0f},   {1.0f, 22.0f},  {6.0f, 17.5f}, {10.0f, 26.5f},
                               {14.0f, 24.5f}, {10.2f, 16.0f}, {17.0f, 16.0f}};
  for (Point2& p : arrow) {
    p.x *= kScale;
    p.y *= kScale;
  }
  Mask shadow(size, size);
  shadow.Add(Shape::Polygon(arrow));
  shadow.Dilate(kScale * 3 / 2);
  shadow = shadow.Shifted(kScale * 2, kScale * 2);
  shadow.Blur(kScale);
  big.Paint(shadow, 0, 0, Rgba::Bytes(0, 0, 10, 130));
  // Outline, then the fill inset from it, lit from the tip.
  big.Paint([&](float x,
                float y) { return Shape::FromDistance(Shape::PolygonDistance(x, y, arrow) - kScale * 0.6f); },
            Rgba::Bytes(8, 28, 34));
  big.Paint([&](float x,
                float y) { return Shape::FromDistance(Shape::PolygonDistance(x, y, arrow) + kScale * 1.0f); },
            [&](float, float y) {
              return Rgba::Bytes(255, 248, 226)
                  .Mix(Rgba::Bytes(236, 188, 96), std::clamp(y / (26.0f * kScale), 0.0f, 1.0f));
            });
  return big.Reduced(kScale);
}

bool CursorArrow::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("images/cursor.png", Draw(), report);
}

}  // namespace Datagen
