#include <gtest/gtest.h>

#include "app/Letterbox.h"

namespace {

TEST(LetterboxTest, ViewportKeepsAspectAndCentres) {
  struct Row {
    int outW, outH, bufW, bufH;
    LLF::Rect viewport;
  };
  const Row rows[] = {
      {800, 600, 800, 600, {0, 0, 800, 600}},        // same size
      {800, 600, 0, 0, {0, 0, 800, 600}},            // no buffer size: the output's own
      {1024, 768, 800, 600, {0, 0, 1024, 768}},      // same aspect, scaled up
      {1920, 1080, 800, 600, {240, 0, 1440, 1080}},  // bars left and right
      {1024, 768, 960, 600, {0, 64, 1024, 640}},     // bars above and below
      {640, 480, 800, 600, {0, 0, 640, 480}},        // scaled down
      {801, 600, 800, 600, {0, 0, 800, 600}},        // odd bar split rounds down on the left
      {1366, 768, 800, 600, {171, 0, 1024, 768}},   {0, 0, 800, 600, {0, 0, 0, 0}},  // minimised
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.outW << "x" << row.outH << " <- " << row.bufW << "x" << row.bufH);
    const LLF::Letterbox box(row.outW, row.outH, row.bufW, row.bufH);
    EXPECT_EQ(box.GetViewport(), row.viewport);
  }
}

TEST(LetterboxTest, OutputPositionsMapIntoTheBuffer) {
  struct Row {
    int outW, outH, bufW, bufH;
    int x, y;
    LLF::Point expected;
  };
  const Row rows[] = {
      {800, 600, 800, 600, 0, 0, {0, 0}},  // identity
      {800, 600, 800, 600, 799, 599, {799, 599}},
      {800, 600, 800, 600, 1000, -5, {799, 0}},  // outside the window: clamped
      {1024, 768, 960, 600, 0, 64, {0, 0}},      // first pixel under the picture
      {1024, 768, 960, 600, 1023, 703, {959, 599}},
      {1024, 768, 960, 600, 512, 384, {480, 300}},
      {1024, 768, 960, 600, 10, 10, {9, 0}},         // top bar: onto the top edge
      {1024, 768, 960, 600, 1000, 760, {937, 599}},  // bottom bar
      {1920, 1080, 800, 600, 240, 0, {0, 0}},
      {1920, 1080, 800, 600, 100, 540, {0, 300}},  // left bar
      {1920, 1080, 800, 600, 1679, 1079, {799, 599}},
      {1920, 1080, 800, 600, 960, 540, {400, 300}},
      {640, 480, 800, 600, 320, 240, {400, 300}},  // window smaller than the buffer
      {640, 480, 800, 600, 639, 479, {799, 599}},
      {0, 0, 800, 600, 5, 5, {0, 0}},  // nothing shown
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.outW << "x" << row.outH << " <- " << row.bufW << "x" << row.bufH
                                    << " at " << row.x << "," << row.y);
    const LLF::Letterbox box(row.outW, row.outH, row.bufW, row.bufH);
    EXPECT_EQ(box.ToBuffer(row.x, row.y), row.expected);
  }
}

}  // namespace
