#include <gtest/gtest.h>

#include "font/GlyphGrid.h"

namespace {

using LLF::GlyphGrid;
using LLF::Point;

TEST(GlyphGridTest, CellSideAndImageSize) {
  struct Case {
    int maxWidth, maxHeight;
    Point margin;
    size_t count;
    unsigned side, width, height;
  };
  const Case cases[] = {
      {0, 0, {0, 0}, 0, 2, 2, 2},       // nothing to place: one cell of side 2
      {1, 1, {0, 0}, 1, 2, 2, 2},       // the side never goes below 2
      {13, 15, {1, 1}, 1, 32, 32, 32},  // the height decides: 15 + 2 -> 32
      {13, 15, {1, 1}, 2, 32, 64, 32},  // square: the width doubles first
      {13, 15, {1, 1}, 3, 32, 64, 64},  // then the height
      {13, 15, {1, 1}, 4, 32, 64, 64}, {13, 15, {1, 1}, 5, 32, 128, 64},
      {30, 10, {1, 0}, 1, 32, 32, 32},  // 32 is not below 32
      {31, 10, {1, 0}, 1, 64, 64, 64}, {16, 3, {0, 0}, 8, 16, 64, 32},
      {16, 3, {0, 0}, 9, 16, 64, 64},
  };
  for (const Case& c : cases) {
    GlyphGrid grid;
    ASSERT_TRUE(GlyphGrid::Fit(c.maxWidth, c.maxHeight, c.margin, c.count, grid)) << c.count;
    EXPECT_EQ(grid.cellSide, c.side) << c.maxWidth << "x" << c.maxHeight << " count " << c.count;
    EXPECT_EQ(grid.width, c.width) << c.maxWidth << "x" << c.maxHeight << " count " << c.count;
    EXPECT_EQ(grid.height, c.height) << c.maxWidth << "x" << c.maxHeight << " count " << c.count;
    EXPECT_GE(size_t(grid.Columns()) * grid.Rows(), c.count);
  }
}

TEST(GlyphGridTest, CellsFillRowsFromTheTopLeft) {
  GlyphGrid grid;
  ASSERT_TRUE(GlyphGrid::Fit(20, 20, Point(0, 0), 7, grid));  // 32-pixel cells, 128 x 64
  ASSERT_EQ(grid.Columns(), 4u);
  EXPECT_EQ(grid.CellOf(0), Point(0, 0));
  EXPECT_EQ(grid.CellOf(3), Point(3, 0));
  EXPECT_EQ(grid.CellOf(4), Point(0, 1));
  EXPECT_EQ(grid.CellOf(6), Point(2, 1));
}

TEST(GlyphGridTest, RefusesSidesBeyondTheLimit) {
  GlyphGrid grid;
  EXPECT_FALSE(GlyphGrid::Fit(int(GlyphGrid::kMaxSide) + 1, 1, Point(0, 0), 1, grid));
  EXPECT_FALSE(GlyphGrid::Fit(1, 1, Point(0, 0), size_t(1) << 40, grid));
  EXPECT_FALSE(GlyphGrid::Fit(0x7fffffff, 0x7fffffff, Point(0x7fffffff, 0x7fffffff), 1, grid));
  EXPECT_TRUE(GlyphGrid::Fit(int(GlyphGrid::kMaxSide), 1, Point(0, 0), 1, grid));
  EXPECT_EQ(grid.cellSide, GlyphGrid::kMaxSide);
}

}  // namespace
