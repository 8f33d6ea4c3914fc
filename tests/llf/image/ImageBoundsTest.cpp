// What a hostile picture file may cost: the library reading a PNG may not
// allocate what a chunk's length claims beyond the chunk bound, while
// chunks within it still load.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ImageTestUtil.h"
#include "LogCapture.h"
#include "image/CodecJpg.h"
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

// A JPEG's frame header set to claim width x height: the file holds the
// data of a 16 x 16 picture.
Bytes JpegClaiming(unsigned width, unsigned height) {
  Bytes file = QmTest::MakeJpeg(16, 16, 1, std::vector<uint8_t>(256, 90));
  for (size_t i = 0; i + 8 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      file[i + 5] = uint8_t(height >> 8);
      file[i + 6] = uint8_t(height);
      file[i + 7] = uint8_t(width >> 8);
      file[i + 8] = uint8_t(width);
      break;
    }
  }
  return file;
}

TEST(ImageBoundsTest, JpegPictureMustFitItsData) {
  struct Case {
    const char* what;
    Bytes file;
    bool refused;
  };
  // A flat 2304 x 2048 picture is a real file of that size: it loads. The
  // codec keeps its last failure, so the refused file comes last.
  const Case cases[] = {
      {"16 x 16 claiming 2048 x 2048 (below the bound's size)", JpegClaiming(2048, 2048), false},
      {"a whole flat 2304 x 2048", QmTest::MakeJpeg(2304, 2048, 1, std::vector<uint8_t>(2304 * 2048, 200)),
       false},
      {"16 x 16 claiming 4096 x 4096", JpegClaiming(4096, 4096), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LLF::CodecJpg& codec = LLF::CodecJpg::GetInstance();
    std::unique_ptr<LLF::Image> image(QmTest::LoadBytes(codec, c.file));
    EXPECT_EQ(codec.GetLastError().find(L"its data ends long before its rows") != std::wstring::npos,
              c.refused)
        << std::string(codec.GetLastError().begin(), codec.GetLastError().end());
    EXPECT_EQ(image != nullptr, !c.refused);
  }
}

}  // namespace
