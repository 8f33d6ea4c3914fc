// The plate buttons' painter: each cell gets its own plate, in its own
// place, over its shadow and under its rings.
#include <gtest/gtest.h>

#include <vector>

#include "draw/PlateStrip.h"
#include "draw/Raster.h"

namespace QmTest {
namespace {

using Datagen::PlateStrip;
using Datagen::Rgba;

const Rgba kShadow = Rgba::Bytes(0, 0, 0);
const Rgba kRing = Rgba::Bytes(255, 0, 0);
const Rgba kFills[2] = {Rgba::Bytes(0, 0, 255), Rgba::Bytes(0, 255, 0)};

// Channels as bytes, for exact comparisons.
struct Bytes {
  int r, g, b, a;
  bool operator==(const Bytes&) const = default;
};

Bytes At(const Datagen::Raster& raster, int x, int y) {
  const Rgba c = raster.At(x, y);
  return {int(c.r * 255.0f + 0.5f), int(c.g * 255.0f + 0.5f), int(c.b * 255.0f + 0.5f),
          int(c.a * 255.0f + 0.5f)};
}

Bytes Of(const Rgba& c) {
  return {int(c.r * 255.0f + 0.5f), int(c.g * 255.0f + 0.5f), int(c.b * 255.0f + 0.5f),
          int(c.a * 255.0f + 0.5f)};
}

// Two cells of 60 x 40: the plate 4 pixels in from the cell's sides, from
// y 4 to 30; its shadow 6 pixels lower; a ring 2.5 to 4.5 pixels inside its edge.
TEST(PlateStripTest, EachCellHasItsPlateShadowAndRing) {
  std::vector<int> asked;
  const Datagen::Raster strip = PlateStrip::Draw(60, 40, 2, 4.0f, [&](int cell) {
    asked.push_back(cell);
    const float left = float(cell * 60) + 4.0f;
    const float right = float((cell + 1) * 60) - 4.0f;
    const Rgba fill = kFills[cell];
    return PlateStrip::Cell{{left, 4.0f, right, 30.0f},
                            {left, 10.0f, right, 36.0f},
                            kShadow,
                            [fill](float, float) { return fill; },
                            {{3.5f, 1.0f, kRing}}};
  });
  EXPECT_EQ(asked, (std::vector<int>{0, 1}));
  ASSERT_EQ(strip.Width(), 120);
  ASSERT_EQ(strip.Height(), 40);
  for (int cell = 0; cell < 2; ++cell) {
    SCOPED_TRACE(cell);
    const int x0 = cell * 60;
    EXPECT_EQ(At(strip, x0 + 1, 1).a, 0) << "outside the plate and its shadow";
    EXPECT_EQ(At(strip, x0 + 30, 17), Of(kFills[cell])) << "the plate's middle";
    EXPECT_EQ(At(strip, x0 + 30, 33), Of(kShadow)) << "the shadow below the plate";
    EXPECT_EQ(At(strip, x0 + 30, 7), Of(kRing)) << "the ring over the plate, inside its top";
    EXPECT_EQ(At(strip, x0 + 30, 5), Of(kFills[cell])) << "the plate between its edge and the ring";
  }
}

}  // namespace
}  // namespace QmTest
