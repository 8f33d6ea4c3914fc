// The game shell's video mode, volumes and custom cursor, as "game.xml"
// sets them at start-up and F8 and the options change them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogRecorder.h"
#include "RecordingRenderSystem.h"
#include "SoundTestDoubles.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "app/InputCodes.h"
#include "app/MonitorFormat.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "sound/SoundSystem.h"
#include "xml/XmlElement.h"

namespace {

// Lines the started game's log echoed into the console.
int ConsoleCount(const std::wstring& text) {
  int count = 0;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    count += line.find(text) != std::wstring::npos ? 1 : 0;
  }
  return count;
}

std::vector<int> Switches(const QmTest::RecordingRenderSystem& rs) {
  std::vector<int> modes;
  for (const QmTest::DrawCall& call : rs.Calls(QmTest::DrawCall::kSwitchMode)) modes.push_back(call.value);
  return modes;
}

// On a wide monitor the client size follows the mode: the settings' size in
// a window, config/video/normal's in full screen (never the wide size); on
// any other monitor it is left alone. The render system switches every time.
TEST(VideoModeTest, SetWindowedSizesTheWindowOnlyOnAWideMonitor) {
  const LLF::Point settings(800, 600);
  const LLF::Point normal(640, 480);
  struct Case {
    const char* what;
    int format;
    const char* normalElement;
    std::vector<LLF::Point> fullScreen, windowed;
    bool warned;
  } cases[] = {
      {"4:3", LLF::MONITOR_FORMAT_NORMAL_4_3, "<normal width=\"640\" height=\"480\" />", {}, {}, false},
      {"unknown", LLF::MONITOR_FORMAT_UNKNOWN, "<normal width=\"640\" height=\"480\" />", {}, {}, false},
      {"16:10",
       LLF::MONITOR_FORMAT_WIDE_16_10,
       "<normal width=\"640\" height=\"480\" />",
       {normal},
       {settings},
       false},
      {"16:9",
       LLF::MONITOR_FORMAT_WIDE_16_9,
       "<normal width=\"640\" height=\"480\" />",
       {normal},
       {settings},
       false},
      {"16:9 without a normal height",
       LLF::MONITOR_FORMAT_WIDE_16_9,
       "<normal width=\"640\" />",
       {},
       {settings},
       true},
      {"16:9 with a normal width of 0",
       LLF::MONITOR_FORMAT_WIDE_16_9,
       "<normal width=\"0\" height=\"480\" />",
       {},
       {settings},
       true},
      {"16:9 without normal", LLF::MONITOR_FORMAT_WIDE_16_9, "", {}, {settings}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QmTest::TempFolders folders;
    folders.WriteProgramFile("scripts/game.xml",
                             std::string("<config><video windowed=\"true\" "
                                         "enableWidescreen=\"true\">") +
                                 c.normalElement + "<wide width=\"960\" height=\"600\" /></video></config>");
    QmTest::TestGame game(folders);
    game.SetDesktop(1920, 1080);
    game.SetMonitorFormat(c.format);
    ASSERT_TRUE(game.Start());
    QmTest::RecordingRenderSystem rs(true);
    game.clientSizes.clear();
    QmTest::LogRecorder log;

    game.SetWindowed(false);
    EXPECT_EQ(game.clientSizes, c.fullScreen);
    EXPECT_FALSE(game.GetRenderSettings().windowed);
    game.clientSizes.clear();
    game.SetWindowed(true);
    EXPECT_EQ(game.clientSizes, c.windowed);
    EXPECT_TRUE(game.GetRenderSettings().windowed);
    EXPECT_EQ(Switches(rs), (std::vector<int>{0, 1}));
    EXPECT_EQ(
        log.Count(L"Warning: SetWindowed - config/video/normal holds no valid size; the window keeps its "
                  L"size."),
        c.warned ? 1 : 0);
  }
}

// A window as large as the desktop: the game starts full screen, and
// neither F8 nor a call brings it back to a window.
TEST(VideoModeTest, AWindowThatDoesNotFitKeepsTheGameFullScreen) {
  QmTest::TempFolders folders;
  QmTest::RecordingRenderSystem rs(true);
  QmTest::TestGame game(folders);
  game.SetDesktop(800, 600);
  ASSERT_TRUE(game.Start());
  EXPECT_FALSE(game.GetRenderSettings().windowed) << "windowed=\"true\" in the configuration";
  EXPECT_EQ(Switches(rs), std::vector<int>{0});

  QmTest::LogRecorder log;
  game.KeyUp(LLF::KEY_F8);
  game.SetWindowed(true);
  EXPECT_FALSE(game.GetRenderSettings().windowed);
  EXPECT_EQ(Switches(rs), std::vector<int>{0});
  EXPECT_EQ(log.Count(L"Warning: SetWindowed - the window does not fit on the desktop"), 2);
}

// Volumes read from the configuration, clamped to 0-100; a missing or
// unreadable one is 100. ApplyConfig hands them to the sound driver.
TEST(VideoModeTest, VolumesAreClampedAndMissingOnesAreFull) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  LLF::SoundSystem& sound = LLF::SoundSystem::GetInstance();
  SoundTestDoubles::FakeDriver driver(false, true);
  ASSERT_TRUE(sound.RegisterDriver(&driver));
  ASSERT_TRUE(sound.SetCurrentDriver(sound.GetDriversCount() - 1));
  LLF::XmlElement* audio = game.GetConfigDoc()->GetRoot()->GetChildByPath(L"config/audio");
  ASSERT_NE(audio, nullptr);

  struct Case {
    const wchar_t* music;  // null: no attribute
    const wchar_t* sound;
    float expectedMusic, expectedSound;
  } cases[] = {
      {L"100", L"100", 100, 100},   {L"42.5", L"7", 42.5f, 7}, {L"150", L"-5", 100, 0},
      {nullptr, nullptr, 100, 100}, {L"loud", L"", 100, 100},  {L"0", L"nan", 0, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.music ? LLF::WideToAnsi(c.music) : "none");
    for (auto [name, value] : {std::pair{L"music", c.music}, std::pair{L"sound", c.sound}}) {
      LLF::XmlElement* element = audio->FindChild(name);
      ASSERT_NE(element, nullptr);
      element->RemoveAttribute(L"volume");
      if (value) element->AddAttribute(L"volume", std::wstring(value));
    }
    driver.SetMusicMasterVolume(-1);
    driver.SetSoundMasterVolume(-1);
    EXPECT_TRUE(game.ApplyConfig());
    EXPECT_EQ(game.GetMusicVolume(), c.expectedMusic);
    EXPECT_EQ(game.GetSoundVolume(), c.expectedSound);
    EXPECT_EQ(driver.GetMusicMasterVolume(), c.expectedMusic);
    EXPECT_EQ(driver.GetSoundMasterVolume(), c.expectedSound);
  }
  // Without the audio element at all.
  game.GetConfigDoc()->GetRoot()->FindChild(L"config")->RemoveChild(L"audio");
  EXPECT_EQ(game.GetMusicVolume(), 100);
  EXPECT_EQ(game.GetSoundVolume(), 100);
  sound.ReleaseCurrentDriver();
  sound.UnregisterDriver(&driver);
}

// The cursor's asset list beside the program: "cursors.xml", list "CURSORS",
// an 8 x 8 arrow.
void WriteCursorFiles(const QmTest::TempFolders& folders) {
  folders.WriteProgramFile(
      "cursors.xml",
      "<game><assets><CURSORS><image name=\"cursor_default\" src=\"arrow.png\" /></CURSORS></assets></game>");
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  images.RegisterCodec(&LLF::CodecPng::GetInstance());
  LLF::Image arrow(8, 8, LLF::IMGFORMAT_R8G8B8A8);
  const LLF::Color white(255, 255, 255, 255);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) arrow.SetPixel(x, y, &white);
  }
  EXPECT_TRUE(images.SaveImage(&arrow, LLF::FromOsPath(folders.Program() + "/arrow.png")));
  images.UnregisterCodec(&LLF::CodecPng::GetInstance());
}

void WriteCursorConfig(const QmTest::TempFolders& folders, const std::string& cursorAttributes) {
  folders.WriteProgramFile("scripts/game.xml",
                           "<config><game><cursor " + cursorAttributes + " /></game></config>");
}

LLF::Image* Arrow() {
  return LLF::ImagesManager::GetInstance().FindResource(L"cursor_default");
}

TEST(CustomCursorTest, StartUpAppliesTheConfiguredCursor) {
  struct Case {
    const char* what;
    const char* attributes;
    bool files;
    bool loaded;
    std::vector<bool> systemCursor;  // what the shell did to the system cursor
    int warnings;
  } cases[] = {
      {"on", "useCustom=\"true\" assetFile=\"cursors.xml\" assetName=\"CURSORS\"", true, true, {false}, 0},
      {"off, the image loaded all the same",
       "useCustom=\"false\" assetFile=\"cursors.xml\" assetName=\"CURSORS\"",
       true,
       true,
       {},
       0},
      {"on, the list missing",
       "useCustom=\"true\" assetFile=\"cursors.xml\" assetName=\"CURSORS\"",
       false,
       false,
       {true},
       2},
      {"on, the list not named: the file \"true\"", "useCustom=\"true\"", true, false, {true}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QmTest::TempFolders folders;
    if (c.files) WriteCursorFiles(folders);
    WriteCursorConfig(folders, c.attributes);
    QmTest::TestGame game(folders);
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(game.GetCursorName(), L"cursor_default");
    EXPECT_EQ(Arrow() != nullptr, c.loaded);
    EXPECT_EQ(game.systemCursorShown, c.systemCursor);
    EXPECT_EQ(ConsoleCount(L"Warning: LoadCursorConfig") + ConsoleCount(L"Warning: SetCustomCursor"),
              c.warnings);
    QmTest::RecordingRenderSystem rs(true);
    game.MouseMove(30, 40);
    game.Frame(10);
    EXPECT_EQ(rs.Calls(QmTest::DrawCall::kImage).size(),
              c.systemCursor == std::vector<bool>{false} ? 1u : 0u);
  }
}

TEST(CustomCursorTest, DrawnAtTheMouseLastAndOnlyOnceTheMouseIsKnown) {
  QmTest::TempFolders folders;
  WriteCursorFiles(folders);
  WriteCursorConfig(folders, "useCustom=\"true\" assetFile=\"cursors.xml\" assetName=\"CURSORS\"");
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  ASSERT_NE(Arrow(), nullptr);
  QmTest::RecordingRenderSystem rs(true);
  auto cursorDraws = [&] {
    rs.ClearCalls();
    game.Frame(10);
    return rs.Calls(QmTest::DrawCall::kImage);
  };

  EXPECT_TRUE(cursorDraws().empty()) << "no mouse message yet";
  game.MouseMove(30, 40);
  const auto draws = cursorDraws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].image, Arrow());
  EXPECT_EQ(draws[0].imageParams.position, LLF::Vector2(30, 40));
  EXPECT_EQ(draws[0].imageParams.alpha, 255);
  EXPECT_EQ(draws[0].imageParams.size, LLF::Point(-1, -1));
  EXPECT_EQ(draws[0].imageParams.scale, LLF::Vector2(1, 1));
  const auto& calls = rs.Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2].kind, QmTest::DrawCall::kImage) << "over everything else";
  EXPECT_EQ(calls.back().kind, QmTest::DrawCall::kEndFrame);

  game.MouseMove(-1, -1);  // the pointer went onto the window's frame
  EXPECT_TRUE(cursorDraws().empty());

  game.SetCustomCursor(true);  // already on
  EXPECT_EQ(game.systemCursorShown, std::vector<bool>{false});
  game.MouseMove(30, 40);
  game.SetCustomCursor(false);
  EXPECT_EQ(game.systemCursorShown, (std::vector<bool>{false, true}));
  EXPECT_TRUE(cursorDraws().empty());
  game.SetCustomCursor(true);
  EXPECT_EQ(game.systemCursorShown, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(cursorDraws().size(), 1u);
}

}  // namespace
