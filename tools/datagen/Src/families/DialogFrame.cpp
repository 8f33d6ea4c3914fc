#include "families/DialogFrame.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "draw/Raster.h"
#include "draw/Shape.h"

namespace Datagen {

namespace {

constexpr float kShadow = 4.0f;  // the panel's distance from the picture's edge
constexpr float kRadius = 12.0f;

}  // namespace

Raster DialogFrame::Draw() {
  const int size = kCell * 3;
  Raster frame(size, size);
  const float s = float(size);
  // Distance to the panel's edge, negative inside. The corners' curve ends
  // well inside the corner cells.
  auto panel = [=](float x, float y, float inset) {
    return Shape::RoundedRectDistance(x, y, kShadow + inset, kShadow + inset, s - kShadow - inset,
                                      s - kShadow - inset, std::max(1.0f, kRadius - inset));
  };

  // The shadow: a ramp outside the panel, darker below than above would
  // not survive the stretching, so it is even all round.
  frame.Paint([](float, float) { return 1.0f; },
              [&](float x, float y) {
                const float d = panel(x, y, 0.0f);
                const float a = d <= 0.0f ? 0.0f : std::pow(std::max(0.0f, 1.0f - d / kShadow), 2.0f) * 0.45f;
                return Rgba::Bytes(0, 0, 8).WithAlpha(a);
              });
  // Gold rim, lighter on its outer edge.
  frame.Paint([&](float x, float y) { return Shape::FromDistance(panel(x, y, 0.0f)); },
              [&](float x, float y) {
                const float t = std::clamp(-panel(x, y, 0.0f) / 3.0f, 0.0f, 1.0f);
                return Rgba::Bytes(255, 226, 150).Mix(Rgba::Bytes(176, 122, 48), t);
              });
  // The panel: night blue, a touch lighter just inside the rim.
  frame.Paint([&](float x, float y) { return Shape::FromDistance(panel(x, y, 3.0f)); },
              [&](float x, float y) {
                const float d = -panel(x, y, 3.0f);
                const Rgba inner = Rgba::Bytes(18, 24, 56);
                return d < 6.0f ? Rgba::Bytes(40, 52, 96).Mix(inner, d / 6.0f) : inner;
              });
  // A dark seam between rim and panel, and a fine gold line further in.
  frame.Paint([&](float x, float y) { return Shape::FromDistance(std::fabs(panel(x, y, 3.0f)) - 0.6f); },
              Rgba::Bytes(4, 8, 20).WithAlpha(0.9f));
  frame.Paint([&](float x, float y) { return Shape::FromDistance(std::fabs(panel(x, y, 9.0f)) - 0.5f); },
              Rgba::Bytes(236, 192, 104).WithAlpha(0.7f));
  return frame;
}

bool DialogFrame::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("images/gui/dialog_frame.png", Draw(), report);
}

}  // namespace Datagen
