#include "FixedFont.h"

#include <gtest/gtest.h>

#include "TestEnv.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "font/FontCodecXML.h"
#include "font/FontsManager.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "io/TextFile.h"
#include "math/Point.h"

namespace QmTest {

namespace {

const wchar_t kCharacters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

}  // namespace

FixedFont::FixedFont(const std::wstring& id) : _id(id) {
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  LLF::FontsManager& fonts = LLF::FontsManager::GetInstance();
  // Another fixture of the test may hold the codecs already (a second
  // registration is refused): those stay.
  const bool ownPng = images.RegisterCodec(&LLF::CodecPng::GetInstance());
  const bool ownXml = fonts.RegisterCodec(&LLF::FontCodecXML::GetInstance());

  const std::wstring folder = LLF::FromOsPath(NewTempFolder("fixedfont") + "/");
  // Every glyph shows the same white square.
  LLF::Image picture(kWidth, kWidth, LLF::IMGFORMAT_R8G8B8A8);
  const LLF::Color white(255, 255, 255, 255);
  for (int y = 0; y < kWidth; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      picture.SetPixel(x, y, &white);
    }
  }
  EXPECT_TRUE(images.SaveImage(&picture, folder + L"fixed.png"));
  const std::wstring size = LLF::ToString(kWidth);
  std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<font imgFile=\"fixed.png\" imgDims=\"" +
                     size + L"," + size + L"\" charBox=\"" + size + L"," + size +
                     L"\" sidesOffset=\"0,0\" spaceWidth=\"" + size + L"\" fontHeight=\"" + size + L"\">\r\n";
  for (const wchar_t c : std::wstring(kCharacters)) {
    xml += L"\t<character id=\"" + std::wstring(1, c) + L"\" imgOffset=\"0,0\" dims=\"" + size + L"," + size +
           L"\" renderOffset=\"0,0\"/>\r\n";
  }
  xml += L"</font>\r\n";
  LLF::TextFile file;
  EXPECT_TRUE(file.WriteAll(folder + L"fixed.xml", xml, LLF::TextFile::ENCODING_UTF8));
  _font = fonts.LoadFont(folder + L"fixed.xml", kWidth, L"", id, false, true, LLF::Point(0, 0));
  EXPECT_NE(_font, nullptr);

  if (ownXml) {
    fonts.UnregisterCodec(&LLF::FontCodecXML::GetInstance());
  }
  if (ownPng) {
    images.UnregisterCodec(&LLF::CodecPng::GetInstance());
  }
}

FixedFont::~FixedFont() {
  if (_font) {
    LLF::FontsManager::GetInstance().FreeFont(_font);
  }
}

}  // namespace QmTest
