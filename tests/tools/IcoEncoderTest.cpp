// Icons written by the generator read back through the engine's icon
// reader pixel for pixel: channel order, row order, alpha and the mask.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/StringUtils.h"
#include "encode/IcoEncoder.h"
#include "image/IconDecoder.h"

namespace QmTest {
namespace {

std::vector<unsigned char> Decode(const std::string& bytes, int size) {
  std::vector<unsigned char> rgba;
  std::wstring error;
  EXPECT_TRUE(
      LLF::DecodeIcon(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), size, rgba, error))
      << LLF::WideToAnsi(error);
  return rgba;
}

TEST(IcoEncoderTest, PixelsReadBackAsWritten) {
  // 5 x 5 (rows of the mask padded to four bytes), every pixel distinct,
  // one fully transparent and one half transparent.
  Datagen::IcoEncoder::Picture picture{5, {}};
  for (int i = 0; i < 25; ++i) {
    picture.rgba.insert(picture.rgba.end(),
                        {static_cast<unsigned char>(10 * i), static_cast<unsigned char>(i),
                         static_cast<unsigned char>(255 - i), 255});
  }
  picture.rgba[3 + 4 * 7] = 0;
  picture.rgba[3 + 4 * 18] = 128;
  EXPECT_EQ(Decode(Datagen::IcoEncoder::Encode({picture}), 5), picture.rgba);

  // A reader picks the size it wants from several pictures.
  Datagen::IcoEncoder::Picture small{2, std::vector<unsigned char>(16, 200)};
  EXPECT_EQ(Decode(Datagen::IcoEncoder::Encode({small, picture}), 5), picture.rgba);
  EXPECT_EQ(Decode(Datagen::IcoEncoder::Encode({small, picture}), 2), small.rgba);
}

TEST(IcoEncoderTest, WrongPicturesGiveNoBytes) {
  EXPECT_EQ(Datagen::IcoEncoder::Encode({}), "");
  EXPECT_EQ(Datagen::IcoEncoder::Encode({{4, std::vector<unsigned char>(15)}}), "");
  EXPECT_EQ(Datagen::IcoEncoder::Encode({{300, std::vector<unsigned char>(300 * 300 * 4)}}), "");
}

}  // namespace
}  // namespace QmTest
