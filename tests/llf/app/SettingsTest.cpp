#include <gtest/gtest.h>

#include <cstring>

#include "app/AppSettings.h"
#include "render/RenderSettings.h"
#include "sound/SoundSettings.h"

namespace {

TEST(SettingsTest, AppSettingsDefaultsAndIndependentCopies) {
  LLF::AppSettings a;
  EXPECT_EQ(a.title, L"No title");
  EXPECT_TRUE(a.iconFile.empty());
  EXPECT_EQ(a.width, 800u);
  EXPECT_EQ(a.height, 600u);
  EXPECT_EQ(a.styleFlags, 2u);
  EXPECT_TRUE(a.createWindow);
  EXPECT_EQ(a.fifthValue, 0u);
  EXPECT_EQ(a.doubleClickInterval, 250u);

  a.title = L"Quillmarsh";
  a.iconFile = L"images/game.ico";
  a.width = 1024;
  a.styleFlags = 3;
  a.createWindow = false;
  a.fifthValue = 9;
  a.doubleClickInterval = 400;

  LLF::AppSettings assigned;
  assigned = a;
  const LLF::AppSettings copied(a);
  a.title[0] = L'X';  // changes the source's buffer in place
  a.iconFile.clear();
  for (const LLF::AppSettings* s : std::initializer_list<const LLF::AppSettings*>{&assigned, &copied}) {
    EXPECT_EQ(s->title, L"Quillmarsh");
    EXPECT_EQ(s->iconFile, L"images/game.ico");
    EXPECT_EQ(s->width, 1024u);
    EXPECT_EQ(s->height, 600u);
    EXPECT_EQ(s->styleFlags, 3u);
    EXPECT_FALSE(s->createWindow);
    EXPECT_EQ(s->fifthValue, 9u);
    EXPECT_EQ(s->doubleClickInterval, 400u);
  }
}

TEST(SettingsTest, RenderAndSoundDefaults) {
  const LLF::RenderSettings r;
  EXPECT_TRUE(r.windowed);
  EXPECT_TRUE(r.modeFallbackAllowed);
  EXPECT_TRUE(r.verticalSync);
  EXPECT_FALSE(r.depthBuffer);
  EXPECT_TRUE(r.textureFiltering);
  EXPECT_TRUE(r.preferHardware);
  EXPECT_EQ(r.nearDepth, 0.0f);
  EXPECT_EQ(r.farDepth, 10000.0f);

  // Callers read the windowed flag as the record's first byte.
  LLF::RenderSettings fullScreen;
  fullScreen.windowed = false;
  unsigned char first = 1;
  std::memcpy(&first, &fullScreen, 1);
  EXPECT_EQ(first, 0);

  const LLF::SoundSettings s;
  EXPECT_TRUE(s.preferRealDriver);
  EXPECT_TRUE(s.sixteenBit);
  EXPECT_EQ(s.sampleRate, 44100u);
  EXPECT_EQ(s.channels, 32u);
}

}  // namespace
