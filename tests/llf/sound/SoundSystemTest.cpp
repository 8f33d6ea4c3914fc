// The sound system: ids and reference counts shared by sounds and music,
// failures, the registries, the leak report, the objects' settings, the
// driver that updates and frees an object, the effective volumes and the
// start-up choice of a driver. The silent driver and test doubles stand in
// for real output.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "SoundFixture.h"
#include "SoundTestDoubles.h"
#include "TestEnv.h"
#include "app/DriverChoice.h"
#include "core/StringUtils.h"
#include "sound/SoundCodecBASS.h"
#include "sound/SoundCodecSilent.h"
#include "sound/SoundDriverSilent.h"
#include "sound/SoundSystem.h"

namespace {

using LLF::Music;
using LLF::Sound;
using LLF::SoundSystem;
using SoundTestDoubles::FakeCodec;
using SoundTestDoubles::FakeDriver;

// The silent driver current, its codec registered, and a file to load.
class SoundSystemTest : public QmTest::SoundFixture {
 protected:
  void SetUp() override {
    Register(&LLF::SoundCodecSilent::GetInstance(), &LLF::SoundDriverSilent::GetInstance());
    ASSERT_TRUE(system.SetCurrentDriver(0));
    wav = WriteFile("a.wav", "RIFF and some bytes");
  }

  std::wstring wav;
};

// A codec of another kind that takes the same names.
class OtherCodec : public LLF::ICodec {
 public:
  OtherCodec() { _extensions = L"wav"; }
  LLF_KIND_OF(OtherCodec, ICodec)
};

TEST_F(SoundSystemTest, SameIdSharesOneObjectUntilTheLastFree) {
  QmTest::LogCapture log;
  Sound* first = system.LoadSound(wav, 1, 40.0f, 60.0f, L"click", false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Sound loaded \"" + wav + L"\""});
  // A second load shares the object and ignores the new settings.
  Sound* second = system.LoadSound(wav, 0, 90.0f, 10.0f, L"click", false);
  EXPECT_EQ(second, first);
  EXPECT_TRUE(first->IsLooped());
  EXPECT_EQ(first->GetVolume(), 40.0f);
  EXPECT_EQ(first->GetVolumeKoeff(), 60.0f);
  EXPECT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(system.GetSound(L"click"), first);
  EXPECT_EQ(system.FindResourceId(first), L"click");
  EXPECT_EQ(
      system.Dump(),
      L"SoundSystem class. Info:\r\nAudio files loaded: 1\r\nCodecs registered: 1\r\nAudio files list(only "
      L"ID's): \r\nclick. References count: 2\r\n--- End of list.\r\n");

  log.Clear();
  EXPECT_TRUE(system.FreeSound(first));
  EXPECT_TRUE(system.FreeSound(first));
  EXPECT_EQ(log.Lines(),
            (std::vector<std::wstring>{L"Sound \"click\" reference removed.", L"Sound \"click\" deleted."}));
  EXPECT_EQ(system.GetSound(L"click"), nullptr);
  log.Clear();
  EXPECT_FALSE(system.FreeSound(first));
  EXPECT_FALSE(system.FreeSound(nullptr));
  EXPECT_FALSE(system.FreeMusic(nullptr));
  EXPECT_TRUE(log.Lines().empty());
}

// Sounds and music share one map: an id held by one kind is never handed
// out as the other, and its count stays as it was.
TEST_F(SoundSystemTest, AnIdHeldByOneKindIsRefusedToTheOther) {
  QmTest::LogCapture log;
  Sound* sound = system.LoadSound(wav, 0, 100.0f, 100.0f, L"", false);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(system.GetSound(wav), sound) << "an empty id is the file name";
  Music* music = system.LoadMusic(wav, 0, 100.0f, 100.0f, L"theme", false);
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(log.Count(L"Music loaded \"" + wav + L"\""), 1);

  log.Clear();
  EXPECT_EQ(system.LoadMusic(wav, 0, 100.0f, 100.0f, L"", false), nullptr);
  EXPECT_EQ(system.LoadSound(wav, 0, 100.0f, 100.0f, L"theme", false), nullptr);
  EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{
                             L"Error: LoadMusic failed. The ID is already used by a sound.\r\nFilename: " +
                                 wav + L"\r\nMusic ID: " + wav,
                             L"Error: LoadSound failed. The ID is already used by a music.\r\nFilename: " +
                                 wav + L"\r\nSound ID: theme"}));
  EXPECT_EQ(system.GetMusic(wav), nullptr);
  EXPECT_EQ(system.GetSound(L"theme"), nullptr);
  EXPECT_EQ(system.GetMusic(L"theme"), music);

  log.Clear();
  EXPECT_TRUE(system.FreeMusic(music));
  EXPECT_TRUE(system.FreeSound(sound));
  EXPECT_EQ(log.Lines(),
            (std::vector<std::wstring>{L"Music \"theme\" deleted.", L"Sound \"" + wav + L"\" deleted."}));
}

// An unmanaged load gives the caller an object of its own, even under an id
// the map already holds, and the map never sees it.
TEST_F(SoundSystemTest, UnmanagedObjectsBelongToTheCaller) {
  Sound* kept = system.LoadSound(wav, 0, 100.0f, 100.0f, L"click", false);
  std::unique_ptr<Sound> own(system.LoadSound(wav, 1, 30.0f, 100.0f, L"click", true));
  std::unique_ptr<Music> ownMusic(system.LoadMusic(wav, 0, 100.0f, 100.0f, L"other", true));
  ASSERT_NE(own, nullptr);
  ASSERT_NE(ownMusic, nullptr);
  EXPECT_NE(own.get(), kept);
  EXPECT_TRUE(own->IsLooped());
  EXPECT_EQ(own->GetVolume(), 30.0f);
  EXPECT_EQ(system.GetMusic(L"other"), nullptr);
  EXPECT_FALSE(system.FreeSound(own.get()));
  EXPECT_FALSE(system.FreeMusic(ownMusic.get()));
  EXPECT_NE(system.Dump().find(L"click. References count: 1\r\n"), std::wstring::npos);
}

// Each failure gives null and one line naming the operation and the file.
TEST_F(SoundSystemTest, FailuresGiveNullAndOneLine) {
  const std::wstring missing = LLF::FromOsPath(QmTest::NewTempFolder("missing") + "/missing.ogg");
  const std::wstring text = WriteFile("notes.txt", "hello");
  Unregister(&LLF::SoundCodecSilent::GetInstance());
  Register(&LLF::SoundCodecBASS::GetInstance());  // takes sound extensions only
  struct Case {
    bool music;
    std::wstring file;
    std::wstring line;
  };
  const Case cases[] = {
      {false, missing,
       L"Error: LoadSound failed. Can't open sound file. Filename: " + missing + L" Sound ID: id"},
      {true, missing,
       L"Error: LoadMusic failed. Can't open music file. Filename: " + missing + L" Music ID: id"},
      {false, text,
       L"Error: LoadSound failed. Corresponding codec was not found for this file format.\r\nFilename: " +
           text + L"\r\nSound ID: id"},
      {true, text,
       L"Error: LoadMusic failed. Corresponding codec was not found for this file format.\r\nFilename: " +
           text + L"\r\nMusic ID: id"},
      // The BASS codec takes the name but loads only while its driver is current.
      {false, wav,
       L"Error: LoadSound failed. Corresponding codec was not found for this file format.\r\nFilename: " +
           wav + L"\r\nSound ID: id"},
  };
  for (const Case& c : cases) {
    QmTest::LogCapture log;
    const bool loaded = c.music ? system.LoadMusic(c.file, 0, 100.0f, 100.0f, L"id", false) != nullptr
                                : system.LoadSound(c.file, 0, 100.0f, 100.0f, L"id", false) != nullptr;
    EXPECT_FALSE(loaded) << LLF::WideToAnsi(c.file);
    EXPECT_EQ(log.Lines(), std::vector<std::wstring>{c.line});
  }
}

// Codecs are asked in order: one of another kind is skipped with a warning,
// one whose driver is not current gives nothing, the current driver's loads.
TEST_F(SoundSystemTest, OnlyTheCurrentDriversSoundCodecLoads) {
  OtherCodec other;
  Unregister(&LLF::SoundCodecSilent::GetInstance());
  Register(&other);
  Register(&LLF::SoundCodecBASS::GetInstance());
  Register(&LLF::SoundCodecSilent::GetInstance());
  QmTest::LogCapture log;
  Sound* sound = system.LoadSound(wav, 0, 100.0f, 100.0f, L"", false);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->GetHandle(), nullptr) << "made by the silent codec";
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0],
            L"Warning: Not SoundCodec is registered in SoundSystem codecs list.\r\n" + other.Dump());
  system.CleanupEverything(true);
  Unregister(&other);
}

TEST_F(SoundSystemTest, SoundAndMusicSettings) {
  Sound sound;
  EXPECT_EQ(sound.Dump().rfind(L"Sound: Looped - no Volume - 100 Handle - ", 0), 0u)
      << LLF::WideToAnsi(sound.Dump());
  EXPECT_TRUE(sound.IsKindOf("Sound"));
  EXPECT_TRUE(sound.IsKindOf("Object"));
  EXPECT_FALSE(sound.IsKindOf("Music"));
  const std::pair<float, float> volumes[] = {{150.0f, 100.0f}, {-5.0f, 0.0f}, {37.5f, 37.5f}};
  for (const auto& [given, kept] : volumes) {
    sound.SetVolume(given);
    EXPECT_EQ(sound.GetVolume(), kept) << given;
  }
  sound.SetVolumeKoeff(150.0f);
  EXPECT_EQ(sound.GetVolumeKoeff(), 150.0f);
  Music music;
  music.SetLooped(true);
  EXPECT_EQ(music.Dump().rfind(L"Music: Looped - yes Volume - 100 Handle - ", 0), 0u);
  EXPECT_TRUE(music.IsKindOf("Music"));
  EXPECT_FALSE(music.IsKindOf("Sound"));
}

TEST_F(SoundSystemTest, DriverRegistry) {
  LLF::ISoundDriver& silent = LLF::SoundDriverSilent::GetInstance();
  FakeDriver fake(true, true);
  EXPECT_TRUE(system.IsKindOf("SoundSystem") && system.IsKindOf("CodecsManager") &&
              system.IsKindOf("Object"));
  QmTest::LogCapture log;
  EXPECT_FALSE(system.RegisterDriver(&silent));
  EXPECT_FALSE(system.UnregisterDriver(&fake));
  EXPECT_EQ(
      log.Lines(),
      (std::vector<std::wstring>{
          L"Warning: trying to register the same sound driver twice.\r\nSoundDriverSilent. Sound API: DUMMY",
          L"Warning: trying to unregister not registered sound driver.\r\nFakeDriver real"}));
  EXPECT_TRUE(system.RegisterDriver(&fake));
  EXPECT_EQ(system.GetDriversCount(), 2u);
  EXPECT_EQ(system.GetDriver(1), &fake);
  EXPECT_EQ(system.GetDriver(2), nullptr);
  EXPECT_FALSE(system.SetCurrentDriver(2));
  EXPECT_EQ(system.GetCurrentDriver(), &silent);
  EXPECT_TRUE(system.SetCurrentDriver(1));
  // Unregistering leaves the current driver as it is.
  EXPECT_TRUE(system.UnregisterDriver(&fake));
  EXPECT_EQ(system.GetCurrentDriver(), &fake);
  system.ReleaseCurrentDriver();
  EXPECT_EQ(fake.destroys, 1);
  EXPECT_EQ(system.GetCurrentDriver(), nullptr);
  system.ReleaseCurrentDriver();
  EXPECT_EQ(fake.destroys, 1);
}

TEST_F(SoundSystemTest, CleanupReportsWhatWasNotFreed) {
  ASSERT_NE(system.LoadSound(wav, 0, 100.0f, 100.0f, L"b", false), nullptr);
  ASSERT_NE(system.LoadMusic(wav, 0, 100.0f, 100.0f, L"a", false), nullptr);
  QmTest::LogCapture log;
  system.CleanupEverything(false);
  EXPECT_EQ(
      log.Lines(),
      (std::vector<std::wstring>{
          L"WARNING: Some audio files are not freed. Leaked files list follows:",
          L"SoundSystem class. Info:\r\nAudio files loaded: 2\r\nCodecs registered: 1\r\nAudio files "
          L"list(only ID's): \r\na. References count: 1\r\nb. References count: 1\r\n--- End of list.\r\n"}));
  EXPECT_EQ(system.GetSound(L"b"), nullptr);
  log.Clear();
  system.CleanupEverything(false);
  ASSERT_NE(system.LoadSound(wav, 0, 100.0f, 100.0f, L"c", false), nullptr);
  system.CleanupEverything(true);
  EXPECT_TRUE(log.Lines().size() == 1 && log.Lines()[0].rfind(L"Sound loaded", 0) == 0);
}

// Setting the loop flag or the volume goes to the driver that made the
// object, even when another is current; an object without a record goes to
// the current one. Deleting the object frees its data through its maker, or
// not at all once the maker is gone.
TEST_F(SoundSystemTest, ObjectsAreUpdatedAndFreedByTheDriverThatMadeThem) {
  FakeDriver current(true, true);
  ASSERT_TRUE(system.RegisterDriver(&current));
  ASSERT_TRUE(system.SetCurrentDriver(1));
  auto maker = std::make_unique<FakeDriver>(true, true);
  FakeCodec codec(maker.get());
  Register(&codec);
  const std::wstring file = WriteFile("x.fake", "x");

  Sound* sound = system.LoadSound(file, 1, 50.0f, 100.0f, L"s", false);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(maker->updated.size(), 2u) << "loop flag and volume";
  EXPECT_TRUE(current.updated.empty());
  Sound plain;
  plain.SetLooped(true);
  EXPECT_EQ(current.updated, std::vector<const LLF::AudioObject*>{&plain});

  EXPECT_TRUE(system.FreeSound(sound));
  EXPECT_EQ(maker->freed, std::vector<const LLF::AudioObject*>{sound});
  EXPECT_TRUE(current.freed.empty());

  Music* music = system.LoadMusic(file, 0, 100.0f, 100.0f, L"m", false);
  ASSERT_NE(music, nullptr);
  maker.reset();
  music->SetVolume(10.0f);  // its maker is gone: nothing is called
  EXPECT_TRUE(system.FreeMusic(music));
  EXPECT_EQ(current.updated.size(), 1u);
  EXPECT_TRUE(current.freed.empty());
  system.ReleaseCurrentDriver();
  Unregister(&codec);
}

TEST(SoundDriverVolumes, EffectiveVolumeIsTheProductOfThreeFactors) {
  FakeDriver driver(true, true);
  EXPECT_EQ(driver.GetMusicMasterVolume(), 100.0f);
  EXPECT_EQ(driver.GetSoundMasterVolume(), 100.0f);
  struct Case {
    float volume, factor, master, effective;
  };
  const Case cases[] = {
      {100, 100, 100, 100}, {50, 100, 100, 50}, {50, 100, 0, 0},
      {50, 50, 50, 12.5f},  {30, 30, 30, 2.7f}, {80, 150, 100, 120},  // factors are not clamped
  };
  for (const Case& c : cases) {
    driver.SetMusicMasterVolume(c.master);
    driver.SetSoundMasterVolume(100.0f - c.master);
    EXPECT_EQ(driver.GetMusicMasterVolume(), c.master);
    EXPECT_FLOAT_EQ(driver.GetEffectiveMusicVolume(c.volume, c.factor), c.effective);
    EXPECT_FLOAT_EQ(driver.GetEffectiveSoundVolume(c.volume, c.factor),
                    static_cast<float>(double{c.volume} * c.factor * (100.0f - c.master) / 10000.0));
  }
}

// The start-up choice over drivers of both kinds, by a table: which start,
// what the settings prefer, which becomes current and what is logged.
TEST_F(SoundSystemTest, ChoiceTriesThePreferredKindFirst) {
  system.ReleaseCurrentDriver();
  while (system.GetDriversCount() > 0) system.UnregisterDriver(system.GetDriver(0));
  const std::wstring warning =
      L"Warning: Preferred sound driver is not found. Looking for other available drivers.";
  const std::wstring error = L"Error: Can't find appropriate sound driver, or it can't be initialized.";
  const std::wstring stars(62, L'*');
  struct Case {
    bool realOneStarts, realTwoStarts, silentStarts, preferReal;
    int chosen;  // index of the current driver, -1 for none
    std::vector<int> tries;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {true, true, true, true, 0, {1, 0, 0}, {}},
      {false, true, true, true, 1, {1, 1, 0}, {}},
      {false, false, true, true, 2, {1, 1, 1}, {warning}},
      {true, true, true, false, 2, {0, 0, 1}, {}},
      {true, false, false, false, 0, {1, 0, 1}, {warning}},
      {false, false, false, true, -1, {1, 1, 1}, {warning, stars, error, stars}},
  };
  for (const Case& c : cases) {
    FakeDriver realOne(true, c.realOneStarts), realTwo(true, c.realTwoStarts), silent(false, c.silentStarts);
    FakeDriver* drivers[] = {&realOne, &realTwo, &silent};
    for (FakeDriver* driver : drivers) ASSERT_TRUE(system.RegisterDriver(driver));
    LLF::SoundSettings settings;
    settings.preferRealDriver = c.preferReal;
    settings.sampleRate = 22100;
    QmTest::LogCapture log;
    EXPECT_EQ(LLF::ChooseSoundDriver(settings), c.chosen >= 0);
    EXPECT_EQ(system.GetCurrentDriver(), c.chosen >= 0 ? drivers[c.chosen] : nullptr);
    EXPECT_EQ(log.Lines(), c.lines);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(drivers[i]->inits, c.tries[i]) << i;
    }
    if (c.chosen >= 0) {
      EXPECT_EQ(drivers[c.chosen]->GetSettings().sampleRate, 22100u);
    }
    system.ReleaseCurrentDriver();
    for (FakeDriver* driver : drivers) system.UnregisterDriver(driver);
  }
}

}  // namespace
