// The BASS driver over our own libbass.so: start-up at the mapped rates, the
// fall-back to the silent driver without an output, what is really heard
// (recorded through SDL's disk audio driver and measured by level), bad
// files, and the warnings for objects it cannot play.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "LogCapture.h"
#include "SoundFixture.h"
#include "SoundTestDoubles.h"
#include "SoundTestSupport.h"
#include "app/DriverChoice.h"
#include "core/StringUtils.h"
#include "sound/SoundCodecAudiere.h"
#include "sound/SoundCodecBASS.h"
#include "sound/SoundCodecSilent.h"
#include "sound/SoundCodecSquall.h"
#include "sound/SoundDriverAudiere.h"
#include "sound/SoundDriverBASS.h"
#include "sound/SoundDriverSilent.h"
#include "sound/SoundDriverSquall.h"
#include "sound/SoundSystem.h"

namespace {

using namespace SoundTest;
using LLF::Music;
using LLF::Sound;

class SoundDriverBASSTest : public QmTest::SoundFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(driver.IsLibraryLoaded()); }
  // The BASS driver alone, started and current.
  void Start() {
    Register(&LLF::SoundCodecBASS::GetInstance(), &driver);
    ASSERT_TRUE(driver.Init(LLF::SoundSettings()));
    ASSERT_TRUE(system.SetCurrentDriver(0));
  }
  // Frees everything and stops the output, so a recording is complete.
  void Stop() {
    system.CleanupEverything(true);
    system.ReleaseCurrentDriver();
  }
  static std::wstring File(const std::vector<unsigned char>& bytes, const std::string& name) {
    return LLF::FromOsPath(WriteTemp(bytes, name));
  }

  LLF::SoundDriverBASS& driver = LLF::SoundDriverBASS::GetInstance();
};

// Rates other than 8000, 11025 and 22100 open the output at 44100.
TEST_F(SoundDriverBASSTest, StartsAtTheMappedRate) {
  EXPECT_EQ(driver.Dump(), L"SoundDriverBASS. Sound API: BASS.DLL");
  EXPECT_TRUE(driver.IsReal());
  const std::pair<unsigned, unsigned> rates[] = {{8000, 8000},   {11025, 11025}, {22100, 22100},
                                                 {22050, 44100}, {44100, 44100}, {48000, 44100},
                                                 {0, 44100}};
  for (const auto& [asked, opened] : rates) {
    for (const bool sixteenBit : {true, false}) {
      LLF::SoundSettings settings;
      settings.sampleRate = asked;
      settings.sixteenBit = sixteenBit;
      QmTest::LogCapture log;
      ASSERT_TRUE(driver.Init(settings)) << asked;
      EXPECT_EQ(driver.GetSettings().sampleRate, asked);
      EXPECT_TRUE(driver.PauseAll() && driver.StartAll() && driver.StopAll());
      driver.Destroy();
      EXPECT_FALSE(driver.StartAll()) << "nothing to start once destroyed";
      EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{L"Initializing SoundDriverBASS( frequency: " +
                                                            LLF::ToString(opened) + L", 16bit: " +
                                                            (sixteenBit ? L"yes" : L"no") + L" )...",
                                                        L"SoundDriverBASS initialized successfully.",
                                                        L"SoundDriverBASS destroyed successfully."}));
    }
  }
}

// With all four drivers registered in their order, the choice takes BASS
// when an output opens, and otherwise falls back to the silent driver with
// the warnings; the silent driver then loads and plays anything.
TEST_F(SoundDriverBASSTest, WithoutAnOutputTheSilentDriverTakesOver) {
  Register(&LLF::SoundCodecAudiere::GetInstance(), &LLF::SoundDriverAudiere::GetInstance());
  Register(&LLF::SoundCodecBASS::GetInstance(), &driver);
  Register(&LLF::SoundCodecSquall::GetInstance(), &LLF::SoundDriverSquall::GetInstance());
  Register(&LLF::SoundCodecSilent::GetInstance(), &LLF::SoundDriverSilent::GetInstance());
  const std::wstring wav = File(MakeSound(kWav16, 44100, 1, {{440, 0.1, 0.5}}), "beep.wav");
  {
    QmTest::LogCapture log;
    ASSERT_TRUE(LLF::ChooseSoundDriver(LLF::SoundSettings()));
    EXPECT_EQ(system.GetCurrentDriver(), &driver);
    EXPECT_EQ(log.Lines(),
              (std::vector<std::wstring>{L"Initializing SoundDriverBASS( frequency: 44100, 16bit: yes )...",
                                         L"SoundDriverBASS initialized successfully."}));
    Sound* sound = system.LoadSound(wav, 0, 100.0f, 100.0f, L"beep", false);
    ASSERT_NE(sound, nullptr);
    EXPECT_NE(dynamic_cast<LLF::SoundDriverBASS::Record*>(sound->GetHandle()), nullptr);
    Stop();
  }

  QmTest::ScopedEnv noOutput("SDL_AUDIODRIVER", "no-such-audio-driver");
  QmTest::LogCapture log;
  ASSERT_TRUE(LLF::ChooseSoundDriver(LLF::SoundSettings()));
  EXPECT_EQ(system.GetCurrentDriver(), &LLF::SoundDriverSilent::GetInstance());
  EXPECT_EQ(log.Lines(),
            (std::vector<std::wstring>{
                L"Initializing SoundDriverBASS( frequency: 44100, 16bit: yes )...",
                L"Warning: Can't initialize SoundDriverBass. BASS_Init failed. "
                L"Parameters: Frequency - 44100, 16 bit - yes",
                L"Warning: Preferred sound driver is not found. Looking for other available drivers.",
                L"SoundDriverSilent initialized successfully. Application sound output is disabled."}));
  Sound* sound = system.LoadSound(wav, 0, 100.0f, 100.0f, L"beep", false);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->GetHandle(), nullptr);
  EXPECT_TRUE(system.GetCurrentDriver()->PlaySound(sound));
}

// An Ogg music and a WAV sound play together, each heard at its effective
// volume (sound: 100 x 100 x master 50; music: 80 x 100 x 100, then 40), the
// music mono at 22050 Hz so that rate and channel conversion are in the path.
TEST_F(SoundDriverBASSTest, MusicAndSoundAreHeardTogetherAtTheirVolumes) {
  const auto ogg = File(MakeSound(kOgg, 22050, 1, {{1200, 1.0, 0.5}}), "theme.ogg");
  const auto wav = File(MakeSound(kWav16, 44100, 2, {{500, 1.0, 0.5}}), "hum.wav");
  DiskOutput output;
  Start();
  driver.SetSoundMasterVolume(50.0f);
  Music* music = system.LoadMusic(ogg, 1, 80.0f, 100.0f, L"theme", false);
  Sound* sound = system.LoadSound(wav, 1, 100.0f, 100.0f, L"hum", false);
  ASSERT_NE(music, nullptr);
  ASSERT_NE(sound, nullptr);
  ASSERT_TRUE(driver.PlayMusic(music));
  ASSERT_TRUE(driver.PlaySound(sound));
  Wait(800);
  music->SetVolume(40.0f);
  Wait(800);
  Stop();
  driver.SetSoundMasterVolume(100.0f);
  output.Read(false);

  for (const auto* side : {&output.Left(), &output.Right()}) {
    EXPECT_TRUE(HeardMix(*side, 441, 44100, 0.05));
  }
}

// Pausing and resuming music keeps its place: the recording holds the
// file's 1.6 s of tone exactly once, split by one silence. A resume that
// restarted would add sound, one that skipped would lose some.
TEST_F(SoundDriverBASSTest, PausedMusicResumesWhereItWas) {
  const auto ogg = File(MakeSound(kOgg, 44100, 1, {{1000, 1.6, 0.5}}), "theme.ogg");
  DiskOutput output;
  Start();
  Music* music = system.LoadMusic(ogg, 0, 100.0f, 100.0f, L"", false);
  ASSERT_NE(music, nullptr);
  ASSERT_TRUE(driver.PlayMusic(music));
  Wait(500);
  ASSERT_TRUE(driver.PauseMusic(music));
  Wait(500);
  ASSERT_TRUE(driver.ResumeMusic(music));
  Wait(1500);
  Stop();
  output.Read(false);

  EXPECT_TRUE(HeardOnceWithPauses(output.Left(), 1, 40));
}

// A sound plays on its one channel, so playing it again restarts it: the
// sound is 0.5 s of 500 Hz then 1.5 s of 1500 Hz, played again during the
// second part. The recording shows that part cut short, then the whole sound
// once, and never both tones together.
TEST_F(SoundDriverBASSTest, SoundPlayedTwiceRestarts) {
  const auto wav = File(MakeSound(kWav16, 44100, 1, {{500, 0.5, 0.5}, {1500, 1.5, 0.5}}), "two.wav");
  DiskOutput output;
  Start();
  Sound* sound = system.LoadSound(wav, 0, 100.0f, 100.0f, L"", false);
  ASSERT_NE(sound, nullptr);
  ASSERT_TRUE(driver.PlaySound(sound));
  Wait(800);
  ASSERT_TRUE(driver.PlaySound(sound));
  Wait(2300);
  Stop();
  output.Read(false);

  EXPECT_TRUE(HeardRestarted(output.Left()));
}

// Truncated, corrupt and empty files load as neither sound nor music: null
// and the one error line of the sound system, nothing else.
TEST_F(SoundDriverBASSTest, BadFilesGiveNullAndOneLine) {
  Start();
  const auto wav = MakeSound(kWav16, 44100, 2, {{440, 1.0, 0.5}});
  const auto ogg = MakeSound(kOgg, 44100, 2, {{440, 2.0, 0.5}});
  const auto mp3 = MakeSound(kMp3, 44100, 2, {{440, 2.0, 0.5}});
  std::vector<unsigned char> noise(4096);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<unsigned char>(i * 37 + (i >> 7) * 11);
  std::vector<unsigned char> oggHeaderOnly(ogg.begin(), ogg.begin() + 200);
  const std::wstring files[] = {
      File({wav.begin(), wav.begin() + static_cast<std::ptrdiff_t>(wav.size() / 2)}, "half.wav"),
      File({wav.begin(), wav.begin() + 30}, "header.wav"),
      File(oggHeaderOnly, "header.ogg"),
      File({ogg.begin(), ogg.begin() + static_cast<std::ptrdiff_t>(ogg.size() / 2)}, "half.ogg"),
      File({mp3.begin(), mp3.begin() + static_cast<std::ptrdiff_t>(mp3.size() / 2)}, "half.mp3"),
      File(noise, "noise.ogg"),
      File(noise, "noise.mp3"),
      File({}, "empty.wav"),
  };
  for (const std::wstring& file : files) {
    QmTest::LogCapture log;
    EXPECT_EQ(system.LoadSound(file, 0, 100.0f, 100.0f, L"s", false), nullptr) << LLF::WideToAnsi(file);
    EXPECT_EQ(system.LoadMusic(file, 0, 100.0f, 100.0f, L"m", false), nullptr) << LLF::WideToAnsi(file);
    const std::wstring noCodec =
        L" failed. Corresponding codec was not found for this file format.\r\nFilename: ";
    EXPECT_EQ(log.Lines(),
              (std::vector<std::wstring>{L"Error: LoadSound" + noCodec + file + L"\r\nSound ID: s",
                                         L"Error: LoadMusic" + noCodec + file + L"\r\nMusic ID: m"}));
  }
}

// What the driver reports for objects it cannot play: null ones, and ones
// without a channel of this driver (made by another driver, or freed).
TEST_F(SoundDriverBASSTest, WarnsAboutObjectsItCannotPlay) {
  Start();
  Sound none;
  Music noMusic;
  const auto nullObjects = SoundTestDoubles::CallWithNullObjects(driver);
  EXPECT_FALSE(nullObjects.anyTrue);
  EXPECT_EQ(nullObjects.lines, SoundTestDoubles::kNullObjectWarnings);
  QmTest::LogCapture log;
  EXPECT_FALSE(driver.PlaySound(&none));
  EXPECT_FALSE(driver.PauseSound(&none));
  EXPECT_FALSE(driver.ResumeSound(&none));
  EXPECT_FALSE(driver.StopSound(&none));
  EXPECT_FALSE(driver.PlayMusic(&noMusic));
  EXPECT_FALSE(driver.PauseMusic(&noMusic));
  EXPECT_FALSE(driver.ResumeMusic(&noMusic));
  EXPECT_FALSE(driver.StopMusic(&noMusic));
  driver.FreeSoundData(&none);
  driver.FreeMusicData(nullptr);
  const std::wstring playMusic = L"Warning: Trying to play a Music that doesn't have valid channel.";
  EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{
                             L"Warning: Trying to play a Sound that doesn't have valid channel.",
                             L"Warning: Trying to pause a Sound that doesn't have valid channel.",
                             L"Warning: Trying to resume a Sound that doesn't have valid channel.",
                             L"Warning: Trying to stop a Sound that doesn't have valid channel.",
                             playMusic,
                             L"Warning: Trying to pause a Music that doesn't have valid channel.",
                             playMusic,
                             playMusic,
                         }));

  // A music whose data was freed has no channel any more.
  const auto ogg = File(MakeSound(kOgg, 44100, 1, {{440, 0.5, 0.5}}), "a.ogg");
  Music* music = system.LoadMusic(ogg, 0, 100.0f, 100.0f, L"", false);
  ASSERT_NE(music, nullptr);
  EXPECT_TRUE(driver.PlayMusic(music));
  driver.FreeMusicData(music);
  log.Clear();
  EXPECT_FALSE(driver.StopMusic(music));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{playMusic});
}

// The asset loader loads sounds and music, some under ids already loaded,
// while the main thread finds them, plays them and changes volumes: every
// load succeeds, each counts one reference, and the sanitizer builds see no
// race.
TEST_F(SoundDriverBASSTest, LoaderAndMainThreadsShareTheSoundSystem) {
  Start();
  const auto wav = File(MakeSound(kWav16, 22050, 1, {{440, 0.05, 0.5}}), "tick.wav");
  const auto ogg = File(MakeSound(kOgg, 22050, 1, {{660, 0.2, 0.5}}), "theme.ogg");
  std::atomic<bool> done{false};
  std::atomic<int> failures{0};
  std::thread loader([&] {
    for (int i = 0; i < 30; ++i) {
      failures += system.LoadSound(wav, 0, 80.0f, 100.0f, L"s" + LLF::ToString(i % 5), false) ? 0 : 1;
      failures += system.LoadMusic(ogg, 1, 80.0f, 100.0f, L"m" + LLF::ToString(i % 3), false) ? 0 : 1;
    }
    done = true;
  });
  int rounds = 0;
  while (!done) {
    for (int i = 0; i < 5; ++i) {
      if (Sound* sound = system.GetSound(L"s" + LLF::ToString(i))) {
        failures += driver.PlaySound(sound) ? 0 : 1;
        sound->SetVolume(static_cast<float>(rounds % 100));
      }
    }
    driver.SetMusicMasterVolume(static_cast<float>(rounds % 100));
    ++rounds;
  }
  loader.join();
  EXPECT_EQ(failures, 0);
  for (int i = 0; i < 5; ++i) {
    Sound* sound = system.GetSound(L"s" + LLF::ToString(i));
    for (int k = 0; k < 6; ++k) EXPECT_TRUE(system.FreeSound(sound)) << i << " " << k;
  }
  for (int i = 0; i < 3; ++i) {
    Music* music = system.GetMusic(L"m" + LLF::ToString(i));
    for (int k = 0; k < 10; ++k) EXPECT_TRUE(system.FreeMusic(music)) << i << " " << k;
  }
  EXPECT_EQ(system.Dump().find(L"References"), std::wstring::npos) << "every reference was counted once";
  driver.SetMusicMasterVolume(100.0f);
}

}  // namespace
