// What a hostile picture file may cost: the library reading a PNG may not
// allocate what a chunk's length claims beyond the chunk bound, while
// chunks within it still load.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ImageTestUtil.h"
#include "LogCapture.h"
#include "image/CodecPng.h"
#include "image/Image.h"

namespace {

using QmTest::Bytes;

// A 2 x 2 RGB picture with a text chunk of the given claimed length placed
// after the header; the chunk holds min(claimed, 64 KB) bytes.
Bytes PngWithText(uint32_t claimed) {
  const Bytes plain = QmTest::MakePng(2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, QmTest::PngOptions{});
  const size_t afterHeader = 8 + 25;  // signature, IHDR
  Bytes text(std::min<uint32_t>(claimed, 1u << 16), 'a');
  text[0] = 'k';
  text[1] = 0;  // keyword "k", then the text
  Bytes chunk = QmTest::Chunk("tEXt", text);
  chunk[0] = uint8_t(claimed >> 24);
  chunk[1] = uint8_t(claimed >> 16);
  chunk[2] = uint8_t(claimed >> 8);
  chunk[3] = uint8_t(claimed);
  Bytes file = plain;
  file.insert(file.begin() + afterHeader, chunk.begin(), chunk.end());
  return file;
}

TEST(ImageBoundsTest, PngChunkLengthIsBounded) {
  struct Case {
    uint32_t claimed;
    bool refused;  // the bound's line is written and no picture comes
  };
  const Case cases[] = {{16, false}, {1u << 16, false}, {(8u << 20) + 1, true}, {1u << 30, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.claimed);
    QmTest::LogCapture log;
    std::unique_ptr<LLF::Image> image(
        QmTest::LoadBytes(LLF::CodecPng::GetInstance(), PngWithText(c.claimed)));
    EXPECT_EQ(log.Count(L"more than a chunk may take: refused."), c.refused ? 1 : 0);
    EXPECT_EQ(image != nullptr, !c.refused);
    if (image) {
      EXPECT_EQ(image->GetWidth(), 2u);
    }
  }
}

}  // namespace
