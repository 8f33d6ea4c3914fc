#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "image/CodecMng.h"
#include "image/Image.h"

namespace {

using LLF::CodecMng;
using QmTest::Bytes;

std::unique_ptr<LLF::Image> Load(const Bytes& bytes) {
  return std::unique_ptr<LLF::Image>(QmTest::LoadBytes(CodecMng::GetInstance(), bytes));
}

std::wstring LastError() {
  return CodecMng::GetInstance().GetLastError();
}

QmTest::Picture Flat(unsigned w, unsigned h, LLF::Color c) {
  QmTest::Picture p;
  p.width = w;
  p.height = h;
  p.pixels.assign(size_t(w) * h, c);
  return p;
}

TEST(CodecMngTest, LoadsTheFirstFrame) {
  const QmTest::Picture first = QmTest::Pattern(6, 4, false);
  const QmTest::Picture second = Flat(6, 4, LLF::Color(1, 2, 3, 255));
  const auto image = Load(QmTest::MakeMng({first, second}));
  ASSERT_TRUE(image) << LLF::WideToAnsi(LastError());
  EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_TRUE(QmTest::SamePixels(*image, first, true));

  // Transparent parts are composed onto the white background.
  QmTest::Picture half = Flat(2, 2, LLF::Color(0, 0, 0, 0));
  half.pixels[0] = LLF::Color(10, 20, 30, 255);
  const auto composed = Load(QmTest::MakeMng({half}));
  ASSERT_TRUE(composed) << LLF::WideToAnsi(LastError());
  LLF::Color c;
  EXPECT_EQ(*composed->GetPixel(&c, 0, 0), LLF::Color(10, 20, 30, 255));
  composed->GetPixel(&c, 1, 1);
  EXPECT_EQ(c.r, 255);
  EXPECT_EQ(c.g, 255);
  EXPECT_EQ(c.b, 255);
}

TEST(CodecMngTest, RefusesBadFiles) {
  const Bytes good = QmTest::MakeMng({QmTest::Pattern(16, 16, true), QmTest::Pattern(16, 16, false)});
  ASSERT_TRUE(Load(good));
  const auto cut = [](Bytes b, size_t n) {
    b.resize(n);
    return b;
  };
  const auto flip = [](Bytes b, size_t at) {
    b[at] ^= 0x5A;
    return b;
  };
  // MHDR's data starts at 16: frame width, then height.
  const auto frame = [&](uint32_t w, uint32_t h) {
    Bytes mhdr(good.begin() + 16, good.begin() + 16 + 28);
    for (int i = 0; i < 4; ++i) {
      mhdr[i] = uint8_t(w >> (24 - 8 * i));
      mhdr[4 + i] = uint8_t(h >> (24 - 8 * i));
    }
    Bytes b(good.begin(), good.begin() + 8);
    const Bytes chunk = QmTest::Chunk("MHDR", mhdr);
    b.insert(b.end(), chunk.begin(), chunk.end());
    b.insert(b.end(), good.begin() + 8 + 40, good.end());
    return b;
  };
  // An image inside the stream declared w x h (the library sizes its rows
  // in 32 bits: 0x40000005 wide made it read past them).
  const auto embedded = [&](uint32_t w, uint32_t h) {
    Bytes b = good;
    const size_t at = std::search(b.begin(), b.end(), "IHDR", "IHDR" + 4) - b.begin();
    const size_t length =
        size_t(b[at - 4]) << 24 | size_t(b[at - 3]) << 16 | size_t(b[at - 2]) << 8 | b[at - 1];
    Bytes data(b.begin() + at + 4, b.begin() + at + 4 + length);
    for (int i = 0; i < 4; ++i) {
      data[i] = uint8_t(w >> (24 - 8 * i));
      data[4 + i] = uint8_t(h >> (24 - 8 * i));
    }
    const Bytes chunk = QmTest::Chunk("IHDR", data);
    b.erase(b.begin() + at - 4, b.begin() + at + 4 + length + 4);
    b.insert(b.begin() + at - 4, chunk.begin(), chunk.end());
    return b;
  };
  // A magnification right after the header (a one-byte one made the library
  // read through null).
  const auto magnified = [&](const Bytes& data) {
    Bytes b = good;
    const Bytes chunk = QmTest::Chunk("MAGN", data);
    b.insert(b.begin() + 8 + 40, chunk.begin(), chunk.end());
    return b;
  };
  const std::wstring unreadable = L"Can't read mng file. Filename: ";
  struct Case {
    const char* what;
    Bytes bytes;
    std::wstring error;
  } cases[] = {
      {"empty", {}, unreadable},
      {"not an mng", QmTest::MakeBmp(QmTest::Pattern(2, 2, false)), unreadable},
      {"signature only", cut(good, 8), unreadable},
      {"cut in the header", cut(good, 30), unreadable},
      {"cut in the first frame", cut(good, 100), unreadable},
      {"damaged header size", flip(good, 20), L"Unsupported image size 16 x "},
      {"damaged first frame", flip(good, 120), unreadable},
      {"huge frame", frame(100000, 100000), L"Unsupported image size 100000 x 100000"},
      {"zero frame", frame(0, 16), L"Unsupported image size 0 x 16"},
      {"embedded image far wider than the frame", embedded(0x40000005, 16),
       L"Unsupported image size 1073741829 x 16"},
      {"embedded image of no height", embedded(16, 0), L"Unsupported image size 16 x 0"},
      {"magnified", magnified({0, 0, 0, 0, 1, 0, 2}), L"Unsupported MNG magnification. Filename: "},
      {"short magnification", magnified({0x73}), L"Unsupported MNG magnification. Filename: "},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Load(c.bytes)) << c.what;
    EXPECT_EQ(LastError().find(c.error), 0u) << c.what << ": " << LLF::WideToAnsi(LastError());
  }
}

// Saving MNG is not supported: false, and an existing file is left as it was.
TEST(CodecMngTest, SavingIsRefusedAndLeavesTheFile) {
  const std::string folder = QmTest::NewTempFolder();
  const std::string path = folder + "/anim.mng";
  const Bytes original = QmTest::MakeMng({QmTest::Pattern(3, 3, false)});
  QmTest::WriteFileBytes(path, original);
  LLF::Image image(2, 2, LLF::IMGFORMAT_R8G8B8A8);
  EXPECT_FALSE(CodecMng::GetInstance().Save(&image, LLF::FromOsPath(path)));
  EXPECT_EQ(LastError(), L"MNG saving is not supported. Filename: " + LLF::FromOsPath(path));
  EXPECT_EQ(QmTest::ReadFileBytes(path), original);
}

}  // namespace
