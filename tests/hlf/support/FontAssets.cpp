#include "FontAssets.h"

#include <gtest/gtest.h>

#include "FontTestUtil.h"
#include "core/StringUtils.h"
#include "font/FontCodecTTF.h"
#include "font/FontsManager.h"
#include "math/Point.h"

namespace QmTest {

FontAssets::FontAssets() {
  LLF::FontsManager::GetInstance().RegisterCodec(&LLF::FontCodecTTF::GetInstance());
}

FontAssets::~FontAssets() {
  LLF::FontsManager& fonts = LLF::FontsManager::GetInstance();
  fonts.CleanupEverything(true);
  fonts.UnregisterCodec(&LLF::FontCodecTTF::GetInstance());
}

LLF::Font* FontAssets::Add(const std::wstring& id, int size, const std::wstring& characters) {
  LLF::Font* font = LLF::FontsManager::GetInstance().LoadFont(LLF::AnsiToWide(kDejaVuSans), size, characters,
                                                              id, false, true, LLF::Point(0, 0));
  EXPECT_NE(font, nullptr) << kDejaVuSans;
  return font;
}

}  // namespace QmTest
