#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "core/Random.h"
#include "particles/EmitRegion.h"

namespace {

struct RegionCase {
  const wchar_t* shape;
  const wchar_t* data;
  const char* kind;
  // Whether a point lies where this region may put it.
  bool (*inside)(float x, float y);
};

bool InRect(float x, float y, float l, float t, float w, float h) {
  return x >= l && x <= l + w && y >= t && y <= t + h;
}

const RegionCase kRegions[] = {
    {L"point", L"12,-7", "EmitRegionPoint", [](float x, float y) { return x == 12.0f && y == -7.0f; }},
    {L"rectangle", L"10,20,30,5", "EmitRegionRect",
     [](float x, float y) { return InRect(x, y, 10, 20, 30, 5); }},
    // The frame of a 100 x 80 rectangle at (50, 50) around an inner one at
    // (+20, +10), 60 x 40: never strictly inside the inner rectangle.
    {L"nestedrect", L"50,50,100,80;20,10,60,40", "EmitRegionNestedRect",
     [](float x, float y) {
       return InRect(x, y, 50, 50, 100, 80) && !(x > 70 && x < 130 && y > 60 && y < 100);
     }},
    // An inner rectangle reaching past the outer one: the whole outer one.
    {L"nestedrect", L"0,0,50,50;10,10,200,200", "EmitRegionNestedRect",
     [](float x, float y) { return InRect(x, y, 0, 0, 50, 50); }},
    {L"circle", L"5,5,10,20", "EmitRegionCircle",
     [](float x, float y) {
       const float r = std::hypot(x - 5.0f, y - 5.0f);
       return r >= 10.0f - 1e-3f && r <= 20.0f + 1e-3f;
     }},
};

TEST(EmitRegionTest, EveryShapeKeepsItsPointsInside) {
  for (const RegionCase& c : kRegions) {
    SCOPED_TRACE(testing::Message() << c.kind << " " << std::string(c.data, c.data + wcslen(c.data)));
    std::unique_ptr<HLF::EmitRegion> region(HLF::EmitRegion::Create(c.shape));
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(region->IsKindOf(c.kind));
    EXPECT_TRUE(region->IsKindOf("EmitRegion"));
    EXPECT_TRUE(region->SetData(c.data));
    EXPECT_EQ(region->GetShape(), c.shape);
    LLF::SeedRandom(7);
    for (int i = 0; i < 500; ++i) {
      const LLF::Vector2 p = region->GetRandomPoint();
      ASSERT_TRUE(c.inside(p.x, p.y)) << p.x << "," << p.y;
    }
    // The data text reads back as the same geometry.
    std::unique_ptr<HLF::EmitRegion> copy(HLF::EmitRegion::Create(c.shape));
    EXPECT_TRUE(copy->SetData(region->GetData()));
    EXPECT_EQ(copy->GetData(), region->GetData());
  }
  EXPECT_EQ(HLF::EmitRegion::Create(L"triangle"), nullptr);
  EXPECT_EQ(HLF::EmitRegion::Create(L"Point"), nullptr);
}

TEST(EmitRegionTest, NestedRectangleSpreadsByArea) {
  // Outer 100 x 100, inner 60 x 60 at (20, 20): the top band (100 x 20)
  // holds 2000 of the frame's 6400 square units.
  std::unique_ptr<HLF::EmitRegion> region(HLF::EmitRegion::Create(L"nestedrect"));
  ASSERT_TRUE(region->SetData(L"0,0,100,100;20,20,60,60"));
  LLF::SeedRandom(3);
  const int draws = 4000;
  int top = 0;
  for (int i = 0; i < draws; ++i) {
    if (region->GetRandomPoint().y < 20.0f) ++top;
  }
  EXPECT_NEAR(double(top) / draws, 2000.0 / 6400.0, 0.03);
}

TEST(EmitRegionTest, NestedRectangleDataWithoutSeparatorKeepsDefaults) {
  std::unique_ptr<HLF::EmitRegion> region(HLF::EmitRegion::Create(L"nestedrect"));
  EXPECT_FALSE(region->SetData(L"0,0,10,10"));
  EXPECT_EQ(region->GetData(), L"0,0,100,100;10,10,90,90");
}

}  // namespace
