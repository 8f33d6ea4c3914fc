// What the generator writes, read back through the engine: the pictures by
// its codecs and icon reader, the sound by libsndfile, every XML file by the
// XML reader, the registries' files present, and the first screen's layout
// built by the control factory without a complaint in the log.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "DatagenRun.h"
#include "FontAssets.h"
#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "SoundFixture.h"
#include "TempFolders.h"
#include "TestEnv.h"
#include "TestShell.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "font/Font.h"
#include "font/FontCodecTTF.h"
#include "image/CodecPng.h"
#include "image/IconDecoder.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "io/File.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "model/XmlDocEx.h"
#include "modifiers/Effect.h"
#include "particles/EmitRegion.h"
#include "particles/Emitter.h"
#include "shell/AssetsLoader.h"
#include "widgets/Button.h"
#include "widgets/Checkbox.h"
#include "widgets/Edit.h"
#include "widgets/HyperLabel.h"
#include "widgets/Listbox.h"
#include "widgets/Progress.h"
#include "widgets/Scroll.h"
#include "widgets/Slider.h"
#include "widgets/StaticImage.h"
#include "xml/XmlDoc.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

// One generated folder for the suite's read-only checks.
const std::string& Generated() {
  static const std::string folder = [] {
    const std::string out = NewTempFolder("generated");
    const DatagenRun run = RunDatagen(out, SourceDataFolder());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return out;
  }();
  return folder;
}

std::unique_ptr<LLF::Image> LoadPng(const std::string& relative) {
  return std::unique_ptr<LLF::Image>(
      LLF::CodecPng::GetInstance().LoadFromFile(LLF::FromOsPath(Generated() + "/" + relative)));
}

LLF::Color Pixel(const LLF::Image& image, int x, int y) {
  LLF::Color c;
  image.GetPixel(&c, x, y);
  return c;
}

TEST(GeneratedDataTest, PicturesLoadThroughTheEngineCodecs) {
  const std::unique_ptr<LLF::Image> title = LoadPng("images/title.png");
  ASSERT_TRUE(title);
  EXPECT_EQ(title->GetWidth(), 640u);
  EXPECT_EQ(title->GetHeight(), 240u);
  EXPECT_EQ(title->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_EQ(Pixel(*title, 0, 0).a, 0);
  EXPECT_EQ(Pixel(*title, 320, 120).a, 255);  // on the band

  const std::unique_ptr<LLF::Image> dot = LoadPng("images/particle.png");
  ASSERT_TRUE(dot);
  EXPECT_EQ(dot->GetWidth(), 32u);
  EXPECT_EQ(dot->GetHeight(), 32u);
  EXPECT_EQ(Pixel(*dot, 0, 0).a, 0);
  EXPECT_GT(Pixel(*dot, 16, 16).a, 230);
  EXPECT_GT(Pixel(*dot, 16, 16).a, Pixel(*dot, 16, 8).a);
  EXPECT_EQ(Pixel(*dot, 16, 8).r, 255) << "white, so the colour tracks tint it";

  const std::unique_ptr<LLF::Image> backdrop = LoadPng("images/showcase_bg.png");
  ASSERT_TRUE(backdrop);
  EXPECT_EQ(backdrop->GetWidth(), 800u);
  EXPECT_EQ(backdrop->GetHeight(), 600u);
  EXPECT_EQ(backdrop->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));

  // The tutorial's picture: a gold moon in a night-blue sky over teal water.
  const std::unique_ptr<LLF::Image> marsh = LoadPng("images/tutorial_marsh.png");
  ASSERT_TRUE(marsh);
  EXPECT_EQ(marsh->GetWidth(), 240u);
  EXPECT_EQ(marsh->GetHeight(), 140u);
  EXPECT_EQ(marsh->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
  const LLF::Color moon = Pixel(*marsh, 170, 38);
  const LLF::Color sky = Pixel(*marsh, 80, 20);
  const LLF::Color water = Pixel(*marsh, 100, 110);
  EXPECT_GT(moon.r, 200);
  EXPECT_GT(moon.r, moon.b);
  EXPECT_GT(sky.b, sky.r);
  EXPECT_LT(sky.b, 120);
  EXPECT_GT(water.g, water.r);
  EXPECT_GT(water.b, water.r);
}

// The buttons' strips: four cells, each a plate on a clear ground, every
// state a colour of its own where the caption goes, and the pressed plate
// darker than the one under the mouse.
TEST(GeneratedDataTest, ButtonStripsHaveFourDistinctCells) {
  struct Strip {
    const char* file;
    int cellWidth, cellHeight;
  } strips[] = {{"images/gui/button.png", 180, 44}, {"images/gui/button_small.png", 120, 36}};
  for (const Strip& strip : strips) {
    SCOPED_TRACE(strip.file);
    const std::unique_ptr<LLF::Image> image = LoadPng(strip.file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), unsigned(strip.cellWidth * 4));
    EXPECT_EQ(image->GetHeight(), unsigned(strip.cellHeight));
    std::vector<LLF::Color> middles;
    for (int cell = 0; cell < 4; ++cell) {
      const int left = cell * strip.cellWidth;
      EXPECT_EQ(Pixel(*image, left, 0).a, 0) << "cell " << cell;
      EXPECT_EQ(Pixel(*image, left + strip.cellWidth - 1, 0).a, 0) << "cell " << cell;
      const LLF::Color middle = Pixel(*image, left + strip.cellWidth / 2, strip.cellHeight / 2);
      EXPECT_EQ(middle.a, 255) << "cell " << cell;
      for (const LLF::Color& other : middles) EXPECT_NE(middle, other) << "cell " << cell;
      middles.push_back(middle);
    }
    auto sum = [](const LLF::Color& c) { return int(c.r) + c.g + c.b; };
    EXPECT_LT(sum(middles[1]), sum(middles[0])) << "pressed is darker than normal";
    EXPECT_GT(sum(middles[2]), sum(middles[0])) << "over is lighter than normal";
    EXPECT_LT(std::abs(int(middles[3].r) - middles[3].b), 24) << "disabled is grey";
  }
}

// The dialog frame stretches: each side cell is the same all along its
// length and the middle cell is one colour.
TEST(GeneratedDataTest, TheDialogFrameStretchesCleanly) {
  const std::unique_ptr<LLF::Image> frame = LoadPng("images/gui/dialog_frame.png");
  ASSERT_TRUE(frame);
  ASSERT_EQ(frame->GetWidth(), 72u);
  ASSERT_EQ(frame->GetHeight(), 72u);
  EXPECT_EQ(Pixel(*frame, 0, 0).a, 0);
  EXPECT_EQ(Pixel(*frame, 36, 36).a, 255);
  for (int across = 0; across < 24; ++across) {
    for (int along = 24; along < 48; ++along) {
      EXPECT_EQ(Pixel(*frame, along, across), Pixel(*frame, 24, across)) << "top side";
      EXPECT_EQ(Pixel(*frame, along, 71 - across), Pixel(*frame, 24, 71 - across)) << "bottom side";
      EXPECT_EQ(Pixel(*frame, across, along), Pixel(*frame, across, 24)) << "left side";
      EXPECT_EQ(Pixel(*frame, 71 - across, along), Pixel(*frame, 71 - across, 24)) << "right side";
      EXPECT_EQ(Pixel(*frame, along, across + 24), Pixel(*frame, 36, 36)) << "middle";
    }
  }
}

// The widgets' pictures: the sizes the layouts count on; every state cell
// of a raised part distinct; the check box's loops differ where the tick
// is; the filled loops match the empty ones outside their fill area, so an
// empty fill shows nothing, and differ inside it.
TEST(GeneratedDataTest, TheWidgetPicturesHaveTheirCellsAndLoops) {
  struct Strip {
    const char* file;
    int cellWidth, cellHeight, cells, loops;
  } strips[] = {{"images/gui/checkbox.png", 24, 24, 4, 2},     {"images/gui/slider_track.png", 260, 24, 1, 2},
                {"images/gui/slider_thumb.png", 18, 24, 4, 1}, {"images/gui/progress.png", 260, 22, 1, 2},
                {"images/gui/scroll_up.png", 20, 20, 4, 1},    {"images/gui/scroll_down.png", 20, 20, 4, 1},
                {"images/gui/scroll_thumb.png", 20, 40, 4, 1}, {"images/gui/scroll_back.png", 20, 240, 1, 1}};
  for (const Strip& strip : strips) {
    SCOPED_TRACE(strip.file);
    const std::unique_ptr<LLF::Image> image = LoadPng(strip.file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), unsigned(strip.cellWidth * strip.cells));
    EXPECT_EQ(image->GetHeight(), unsigned(strip.cellHeight * strip.loops));
    if (strip.cells != 4) continue;
    // A point on the plate's face, clear of arrows and grips.
    std::vector<LLF::Color> faces;
    for (int cell = 0; cell < 4; ++cell) {
      const LLF::Color face = Pixel(*image, cell * strip.cellWidth + 4, strip.cellHeight - 6);
      EXPECT_EQ(face.a, 255) << "cell " << cell;
      for (const LLF::Color& other : faces) EXPECT_NE(face, other) << "cell " << cell;
      faces.push_back(face);
    }
  }

  const std::unique_ptr<LLF::Image> box = LoadPng("images/gui/checkbox.png");
  ASSERT_TRUE(box);
  for (int cell = 0; cell < 4; ++cell) {
    const LLF::Color empty = Pixel(*box, cell * 24 + 10, 15);
    const LLF::Color ticked = Pixel(*box, cell * 24 + 10, 24 + 15);
    EXPECT_GT(int(ticked.r) + ticked.g, int(empty.r) + empty.g + 150) << "the tick of cell " << cell;
  }

  struct Bar {
    const char* file;
    int width, height, fillLeft, fillRight;
  } bars[] = {{"images/gui/slider_track.png", 260, 24, 9, 251}, {"images/gui/progress.png", 260, 22, 4, 256}};
  for (const Bar& bar : bars) {
    SCOPED_TRACE(bar.file);
    const std::unique_ptr<LLF::Image> image = LoadPng(bar.file);
    ASSERT_TRUE(image);
    const int middle = bar.height / 2;
    for (int x = 0; x < bar.width; ++x) {
      const bool inside = x >= bar.fillLeft && x < bar.fillRight;
      for (int y = 0; y < bar.height; ++y) {
        if (!inside) {
          ASSERT_EQ(Pixel(*image, x, y), Pixel(*image, x, bar.height + y)) << x << "," << y;
        }
      }
      if (inside) {
        EXPECT_NE(Pixel(*image, x, middle), Pixel(*image, x, bar.height + middle)) << "column " << x;
      }
    }
  }
}

// The cursor's tip is its top-left corner, where the game puts the mouse.
TEST(GeneratedDataTest, TheCursorIsAnArrowWithAlpha) {
  const std::unique_ptr<LLF::Image> cursor = LoadPng("images/cursor.png");
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->GetWidth(), 32u);
  EXPECT_EQ(cursor->GetHeight(), 32u);
  EXPECT_EQ(cursor->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8A8));
  EXPECT_GT(Pixel(*cursor, 1, 1).a, 128) << "the tip";
  EXPECT_EQ(Pixel(*cursor, 5, 12).a, 255);
  EXPECT_GT(Pixel(*cursor, 5, 12).r, 200) << "a light fill";
  EXPECT_EQ(Pixel(*cursor, 31, 0).a, 0);
  EXPECT_EQ(Pixel(*cursor, 0, 31).a, 0);
}

TEST(GeneratedDataTest, TheWindowIconReadsThroughTheIconDecoder) {
  const std::string bytes = ReadFile(Generated() + "/images/game.ico");
  std::vector<unsigned char> rgba;
  std::wstring error;
  ASSERT_TRUE(
      LLF::DecodeIcon(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 32, rgba, error))
      << LLF::WideToAnsi(error);
  ASSERT_EQ(rgba.size(), 32u * 32u * 4u);
  auto alpha = [&](int x, int y) { return rgba[(size_t(y) * 32 + x) * 4 + 3]; };
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(31, 31), 0);
  EXPECT_EQ(alpha(16, 16), 255);
  EXPECT_EQ(alpha(4, 16), 255);
}

TEST(GeneratedDataTest, TheClickIsAShortMono16BitWave) {
  SF_INFO info{};
  SNDFILE* file = sf_open((Generated() + "/sounds/button_click.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  std::vector<short> samples(size_t(info.frames));
  EXPECT_EQ(sf_read_short(file, samples.data(), info.frames), info.frames);
  sf_close(file);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_GT(info.frames, 22050 / 20);  // 50 to 300 ms
  EXPECT_LT(info.frames, 22050 * 3 / 10);
  int peak = 0;
  for (const short s : samples) peak = std::max(peak, std::abs(int(s)));
  EXPECT_GT(peak, 16000);
  EXPECT_LT(peak, 32767) << "no clipping";
  EXPECT_EQ(samples.back(), 0) << "ends in silence, without a click";
}

// Every level music loop: mono 16-bit, a few seconds of chords that start
// and end in silence, so the loop has no click at its seam.
TEST(GeneratedDataTest, TheLevelLoopsAreSeamless16BitWaves) {
  for (const char* name : {"music/level_a.wav", "music/level_b.wav", "music/level_c.wav"}) {
    SCOPED_TRACE(name);
    SF_INFO info{};
    SNDFILE* file = sf_open((Generated() + "/" + name).c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<short> samples(size_t(info.frames));
    EXPECT_EQ(sf_read_short(file, samples.data(), info.frames), info.frames);
    sf_close(file);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(info.channels, 1);
    EXPECT_GE(info.frames, 22050 * 4);
    int peak = 0;
    for (const short s : samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 12000);
    EXPECT_LT(peak, 32767) << "no clipping";
    EXPECT_LT(std::abs(int(samples.front())), 64);
    EXPECT_LT(std::abs(int(samples.back())), 64);
  }
  EXPECT_NE(ReadFile(Generated() + "/music/level_a.wav"), ReadFile(Generated() + "/music/level_b.wav"));
}

// Each level of the list has its folder with the two files its mode loads.
TEST(GeneratedDataTest, EveryListedLevelHasItsFolder) {
  LLF::XmlDoc levels;
  ASSERT_TRUE(levels.LoadFromFile(LLF::FromOsPath(Generated() + "/scripts/game/levels.xml")));
  LLF::XmlElement* root = levels.GetRoot()->FindChild(L"gamelevels");
  ASSERT_NE(root, nullptr);
  int folders = 0;
  for (int d = 0; d < root->GetChildsCount(); ++d) {
    LLF::XmlElement* day = root->GetChild(d);
    for (int l = 0; !day->IsComment() && l < day->GetChildsCount(); ++l) {
      if (day->GetChild(l)->IsComment()) continue;
      const std::string folder = LLF::ToOsPath(day->GetChild(l)->GetAttribute(L"folder", L"").GetValue());
      ++folders;
      LLF::XmlDoc level;
      EXPECT_TRUE(level.LoadFromFile(LLF::FromOsPath(Generated() + "/" + folder + "level.xml"))) << folder;
      LLF::XmlDoc assets;
      ASSERT_TRUE(assets.LoadFromFile(LLF::FromOsPath(Generated() + "/" + folder + "asset.xml"))) << folder;
      EXPECT_NE(assets.GetRoot()->GetChildByPath(L"game/assets/LEVOBJECTS"), nullptr) << folder;
    }
  }
  EXPECT_EQ(folders, 11);
}

// A mono 16-bit WAV file's samples; empty when it does not read.
std::vector<short> ReadWave(const std::string& relative, SF_INFO& info) {
  info = SF_INFO{};
  SNDFILE* file = sf_open((Generated() + "/" + relative).c_str(), SFM_READ, &info);
  if (!file) return {};
  std::vector<short> samples(size_t(info.frames));
  samples.resize(size_t(sf_read_short(file, samples.data(), info.frames)));
  sf_close(file);
  return samples;
}

TEST(GeneratedDataTest, TheSplashPicturesAndMenuSounds) {
  for (const char* picture : {"images/splash/brenvik.png", "images/splash/presents.png"}) {
    SCOPED_TRACE(picture);
    const std::unique_ptr<LLF::Image> image = LoadPng(picture);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 800u);
    EXPECT_EQ(image->GetHeight(), 600u);
    EXPECT_EQ(image->GetFormat(), unsigned(LLF::IMGFORMAT_R8G8B8X8));
  }

  for (const char* sound : {"sounds/profile_error.wav", "sounds/options_test.wav"}) {
    SCOPED_TRACE(sound);
    SF_INFO info;
    const std::vector<short> samples = ReadWave(sound, info);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(info.channels, 1);
    EXPECT_LT(info.frames, 22050) << "under a second";
    EXPECT_EQ(samples.back(), 0) << "ends in silence, without a click";
  }
}

TEST(GeneratedDataTest, TheMenuAndMapMusicLoopWithoutAClick) {
  for (const char* file : {"music/menu.wav", "music/map.wav"}) {
    SCOPED_TRACE(file);
    SF_INFO info;
    const std::vector<short> samples = ReadWave(file, info);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(info.channels, 1);
    EXPECT_GE(info.frames, info.samplerate * 8);
    EXPECT_LE(info.frames, info.samplerate * 16);
    int peak = 0;
    int biggestStep = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
      peak = std::max(peak, std::abs(int(samples[i])));
      if (i > 0) biggestStep = std::max(biggestStep, std::abs(int(samples[i]) - int(samples[i - 1])));
    }
    EXPECT_GT(peak, 8000) << "audible";
    EXPECT_LT(peak, 32767) << "no clipping";
    // The jump from the last sample back to the first is no larger than the
    // steps inside the loop, and the loop does not rest on silence there.
    const int seam = std::abs(int(samples.front()) - int(samples.back()));
    EXPECT_LE(seam, biggestStep);
    int nearSeam = 0;
    for (size_t i = 0; i < 200; ++i) nearSeam = std::max(nearSeam, std::abs(int(samples[i])));
    EXPECT_GT(nearSeam, 500) << "notes carry across the loop point";
  }
}

// The main menu's scene: the band joins where its scroll jumps back by
// 1024 pixels, the lower background lets the band show through its top, the
// columns are opaque and the logo stands on transparency.
TEST(GeneratedDataTest, TheMainMenuScene) {
  const std::unique_ptr<LLF::Image> band = LoadPng("images/mainmenu/bg_top.png");
  ASSERT_TRUE(band);
  ASSERT_EQ(band->GetWidth(), 1824u);
  ASSERT_EQ(band->GetHeight(), 300u);
  int differing = 0;
  for (int y = 0; y < 300; y += 3) {
    for (int x = 0; x < 800; x += 2) {
      const LLF::Color a = Pixel(*band, x, y);
      const LLF::Color b = Pixel(*band, x + 1024, y);
      differing += (a.r != b.r || a.g != b.g || a.b != b.b) ? 1 : 0;
    }
  }
  EXPECT_EQ(differing, 0) << "seamless where the scroll jumps back";
  const LLF::Color sky = Pixel(*band, 100, 10);
  const LLF::Color glow = Pixel(*band, 100, 220);
  EXPECT_GT(int(glow.r), int(sky.r) + 60) << "a dusk sky, light at the horizon";

  const std::unique_ptr<LLF::Image> bottom = LoadPng("images/mainmenu/bg_bottom.png");
  ASSERT_TRUE(bottom);
  EXPECT_EQ(bottom->GetWidth(), 800u);
  EXPECT_EQ(bottom->GetHeight(), 512u);
  EXPECT_EQ(Pixel(*bottom, 400, 0).a, 0);
  EXPECT_GT(Pixel(*bottom, 400, 75).a, 40);
  EXPECT_LT(Pixel(*bottom, 400, 75).a, 215);
  EXPECT_EQ(Pixel(*bottom, 400, 220).a, 255) << "opaque below the band (screen row 300 on)";

  struct Size {
    const char* file;
    unsigned w, h;
  } sizes[] = {{"images/mainmenu/column_left.png", 64, 600},
               {"images/mainmenu/column_right.png", 64, 600},
               {"images/mainmenu/scroll.png", 320, 360},
               {"images/mainmenu/logo.png", 480, 120},
               {"images/mainmenu/scroll_button.png", 960, 48}};
  for (const Size& size : sizes) {
    SCOPED_TRACE(size.file);
    const std::unique_ptr<LLF::Image> image = LoadPng(size.file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), size.w);
    EXPECT_EQ(image->GetHeight(), size.h);
  }
  const std::unique_ptr<LLF::Image> logo = LoadPng("images/mainmenu/logo.png");
  EXPECT_EQ(Pixel(*logo, 0, 0).a, 0);
  int lettered = 0;
  for (int x = 0; x < 480; ++x) lettered += Pixel(*logo, x, 50).a == 255 ? 1 : 0;
  EXPECT_GT(lettered, 100) << "the name crosses the logo";
  const std::unique_ptr<LLF::Image> scroll = LoadPng("images/mainmenu/scroll.png");
  EXPECT_EQ(Pixel(*scroll, 0, 180).a, 0);
  EXPECT_EQ(Pixel(*scroll, 160, 180).a, 255);

  SF_INFO info;
  const std::vector<short> stone = ReadWave("sounds/stone_columns.wav", info);
  ASSERT_FALSE(stone.empty());
  EXPECT_EQ(info.channels, 1);
  EXPECT_LE(info.frames, info.samplerate * 2);
  EXPECT_EQ(stone.back(), 0) << "ends in silence";
}

TEST(GeneratedDataTest, EveryXmlFileParsesAndTheRegistriesNameWrittenFiles) {
  int xmlFiles = 0;
  for (const auto& [relative, bytes] : ReadTree(Generated())) {
    if (fs::path(relative).extension() != ".xml") continue;
    ++xmlFiles;
    LLF::XmlDoc doc;
    EXPECT_TRUE(doc.LoadFromFile(LLF::FromOsPath(Generated() + "/" + relative))) << relative;
  }
  EXPECT_GE(xmlFiles, 12);

  int items = 0;
  for (const char* registry : {"images", "sounds", "musics", "fonts"}) {
    LLF::XmlDoc doc;
    ASSERT_TRUE(doc.LoadFromFile(LLF::FromOsPath(Generated() + "/scripts/" + registry + ".xml")));
    LLF::XmlElement* assets = doc.GetRoot()->GetChildByPath(L"game/assets");
    ASSERT_NE(assets, nullptr) << registry;
    for (int l = 0; l < assets->GetChildsCount(); ++l) {
      LLF::XmlElement* list = assets->GetChild(l);
      for (int i = 0; i < list->GetChildsCount(); ++i) {
        const LLF::XmlAttribute* src = list->GetChild(i)->GetAttribute(std::wstring(L"src"));
        ASSERT_NE(src, nullptr) << registry;
        ++items;
        EXPECT_TRUE(fs::is_regular_file(Generated() + "/" + LLF::ToOsPath(src->GetValue())))
            << registry << ": " << LLF::ToOsPath(src->GetValue());
      }
    }
  }
  EXPECT_GE(items, 7);
}

TEST(GeneratedDataTest, TheRegistryFontsHaveAGlyphForEveryListedCharacter) {
  // Read as the asset loader reads it, so the charset variable applies.
  HLF::XmlDocEx doc;
  ASSERT_TRUE(doc.LoadFromFile(LLF::FromOsPath(Generated() + "/scripts/fonts.xml")));
  LLF::XmlElement* gui = doc.GetRoot()->GetChildByPath(L"game/assets/GUI");
  ASSERT_NE(gui, nullptr);
  ASSERT_GE(gui->GetChildsCount(), 2);
  LogRecorder log;
  for (int i = 0; i < gui->GetChildsCount(); ++i) {
    const LLF::XmlElement* font = gui->GetChild(i);
    const std::wstring charset = font->GetAttribute(L"charset", L"").GetValue();
    for (const wchar_t c : std::wstring(L"Az09'\"#&")) {
      EXPECT_EQ(std::count(charset.begin(), charset.end(), c), 1) << char(c);
    }
    LLF::File file;
    ASSERT_TRUE(file.Open(LLF::FromOsPath(Generated() + "/") + font->GetAttribute(L"src", L"").GetValue(),
                          LLF::FILEOPS_READ, LLF::FILEOPEN_OPENEXISTING));
    std::unique_ptr<LLF::Font> loaded(LLF::FontCodecTTF::GetInstance().Load(
        file, font->GetAttribute(L"height", 14).GetInt(), charset, LLF::Point(2, 2)));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->GetCharsMap().size(), charset.size());
  }
  EXPECT_EQ(log.Lines().size(), 0u);
}

class ShowcaseLayoutTest : public SoundFixture {};

TEST_F(ShowcaseLayoutTest, TheFileDialogsTutorialAndEffectsBuildWithoutALogLine) {
  TempFolders folders;  // the program folder is the working directory
  const DatagenRun run = RunDatagen(folders.Program(), SourceDataFolder());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  FrameworkFactories factories;
  TestShell shell;
  ASSERT_TRUE(shell.styles.LoadFromFile(L"scripts/styles.xml"));
  // The codecs the lists need, registered for the test's life.
  ImageAssets images;
  FontAssets fonts;
  UseSilentDriver();
  // The lists the showcase loads before it builds, as its loader does.
  HLF::AssetsLoader loader;
  ASSERT_TRUE(loader.SetListFromFile(L"scripts/fonts.xml", L"GUI"));
  ASSERT_TRUE(loader.AddListFromFile(L"scripts/images.xml", L"GUI"));
  ASSERT_TRUE(loader.AddListFromFile(L"scripts/sounds.xml", L"MAIN"));
  ASSERT_TRUE(loader.Start(0));
  loader.Wait();
  ASSERT_NE(LLF::ImagesManager::GetInstance().FindResource(L"button"), nullptr);

  LogRecorder log;
  struct Layout {
    const wchar_t* file;
    const wchar_t* section;
    const char* kind;
  } layouts[] = {
      {L"scripts/dialogs/dlg_file.xml", L"filedlg", "FileDialog"},
      {L"scripts/dialogs/dlg_imagefile.xml", L"imagefiledlg", "ImageFileDialog"},
      {L"scripts/dialogs/dlg_audiofile.xml", L"audiofiledlg", "AudioFileDialog"},
      {L"scripts/dialogs/dlg_tutorial.xml", L"tutorialdlg", "TutorialDialog"},
  };
  for (const Layout& layout : layouts) {
    std::unique_ptr<HLF::Control> made(
        HLF::ControlFactory::GetInstance().LoadObjectFromXml(layout.file, layout.section));
    ASSERT_NE(made, nullptr) << LLF::WideToAnsi(layout.file);
    EXPECT_TRUE(made->IsKindOf(layout.kind)) << LLF::WideToAnsi(layout.file);
  }

  // What the program asks for by name.
  for (const wchar_t* name : {L"BackdropShow", L"TitleShow", L"DialogShow", L"ColumnLeftShow",
                              L"ColumnRightShow", L"ColumnLeftHide", L"ColumnRightHide", L"BackgroundShow",
                              L"ScrollShow", L"MenuScrollShow", L"LogoShow"}) {
    HLF::Effect effect;
    EXPECT_TRUE(effect.LoadFromFile(L"scripts/effects.xml", name)) << LLF::WideToAnsi(name);
    EXPECT_GT(effect.GetModifiersCount(), 0) << LLF::WideToAnsi(name);
  }
  std::unique_ptr<HLF::Control> burst(HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(
      L"scripts/psystems.xml", L"particlesystems", L"SparkleBurst"));
  EXPECT_NE(dynamic_cast<HLF::Emitter*>(burst.get()), nullptr);

  EXPECT_EQ(log.Count(L"Error"), 0);
  EXPECT_EQ(log.Count(L"Warning"), 0);
  EXPECT_EQ(log.Count(L"WARNING"), 0);
  loader.UnloadAssets();
}

}  // namespace
}  // namespace QmTest
