// The silent driver, and the Audiere and Squall drivers where their
// libraries are absent (as they are here): they exist, refuse to start
// without a word of their own, refuse every operation, and still report
// null objects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogCapture.h"
#include "SoundFixture.h"
#include "SoundTestDoubles.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "sound/SoundCodecAudiere.h"
#include "sound/SoundCodecBASS.h"
#include "sound/SoundCodecSilent.h"
#include "sound/SoundCodecSquall.h"
#include "sound/SoundDriverAudiere.h"
#include "sound/SoundDriverSilent.h"
#include "sound/SoundDriverSquall.h"
#include "sound/SoundSystem.h"

namespace {

using LLF::Music;
using LLF::Sound;

using SoundDriversTest = QmTest::SoundFixture;

TEST_F(SoundDriversTest, SilentDriverLoadsAndPlaysAnyFile) {
  LLF::SoundDriverSilent& silent = LLF::SoundDriverSilent::GetInstance();
  Register(&LLF::SoundCodecSilent::GetInstance(), &silent);
  EXPECT_FALSE(silent.IsReal());
  EXPECT_TRUE(silent.IsKindOf("SoundDriverSilent"));
  EXPECT_TRUE(silent.IsKindOf("ISoundDriver"));
  EXPECT_EQ(silent.Dump(), L"SoundDriverSilent. Sound API: DUMMY");
  QmTest::LogCapture log;
  LLF::SoundSettings settings;
  settings.channels = 7;
  ASSERT_TRUE(silent.Init(settings));
  EXPECT_EQ(silent.GetSettings().channels, 7u);
  ASSERT_TRUE(system.SetCurrentDriver(0));

  const std::wstring files[] = {WriteFile("notes.txt", "not a sound"), WriteFile("empty.ogg", ""),
                                WriteFile("noextension", "x")};
  for (const std::wstring& file : files) {
    Sound* sound = system.LoadSound(file, 0, 100.0f, 100.0f, L"", false);
    Music* music = system.LoadMusic(file, 1, 100.0f, 100.0f, L"m" + file, false);
    ASSERT_NE(sound, nullptr) << LLF::WideToAnsi(file);
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(silent.PlaySound(sound));
    EXPECT_TRUE(silent.PlayMusic(music));
    EXPECT_TRUE(silent.PauseMusic(music) && silent.ResumeMusic(music) && silent.StopMusic(music));
    EXPECT_TRUE(silent.PauseSound(sound) && silent.ResumeSound(sound) && silent.StopSound(sound));
  }
  EXPECT_TRUE(silent.PauseAll() && silent.StartAll() && silent.StopAll());
  system.CleanupEverything(true);
  system.ReleaseCurrentDriver();
  EXPECT_EQ(log.Lines().front(),
            L"SoundDriverSilent initialized successfully. Application sound output is disabled.");
  EXPECT_EQ(log.Lines().back(), L"SoundDriverSilent destroyed successfully.");
}

// Without their libraries the Audiere and Squall drivers cannot start, their
// codecs make nothing even while their driver is current, and their
// operations fail; a null object is still reported.
TEST_F(SoundDriversTest, DriversWithoutTheirLibrariesFailCleanly) {
  LLF::SoundDriverAudiere& audiere = LLF::SoundDriverAudiere::GetInstance();
  LLF::SoundDriverSquall& squall = LLF::SoundDriverSquall::GetInstance();
  Register(&LLF::SoundCodecAudiere::GetInstance(), &audiere);
  Register(&LLF::SoundCodecSquall::GetInstance(), &squall);
  EXPECT_EQ(audiere.Dump(), L"SoundDriverAudiere. Sound API: AUDIERE.DLL");
  EXPECT_EQ(squall.Dump(), L"SoundDriverSquall. Sound API: Squall.dll");
  EXPECT_FALSE(audiere.IsLibraryLoaded());
  EXPECT_FALSE(squall.IsLibraryLoaded());
  EXPECT_TRUE(audiere.IsReal() && squall.IsReal());
  const std::wstring wav = WriteFile("a.wav", "RIFF");

  QmTest::LogCapture log;
  EXPECT_FALSE(audiere.Init(LLF::SoundSettings()));
  EXPECT_FALSE(squall.Init(LLF::SoundSettings()));
  audiere.Destroy();
  squall.Destroy();
  audiere.Update();
  EXPECT_TRUE(log.Lines().empty());
  for (unsigned i = 0; i < 2; ++i) {
    ASSERT_TRUE(system.SetCurrentDriver(i));
    EXPECT_EQ(system.LoadSound(wav, 0, 100.0f, 100.0f, L"", false), nullptr);
    EXPECT_EQ(system.LoadMusic(wav, 0, 100.0f, 100.0f, L"", false), nullptr);
  }
  EXPECT_EQ(log.Count(L"Corresponding codec was not found"), 4);

  Sound sound;
  Music music;
  EXPECT_FALSE(audiere.StartAll() || audiere.PauseAll() || audiere.StopAll());
  EXPECT_FALSE(audiere.PlaySound(&sound) || audiere.PauseSound(&sound) || audiere.ResumeSound(&sound) ||
               audiere.StopSound(&sound));
  EXPECT_FALSE(audiere.PlayMusic(&music) || audiere.PauseMusic(&music) || audiere.ResumeMusic(&music) ||
               audiere.StopMusic(&music));
  EXPECT_FALSE(squall.PlaySound(&sound) || squall.PlayMusic(&music));

  const auto nullAudiere = SoundTestDoubles::CallWithNullObjects(audiere);
  EXPECT_FALSE(nullAudiere.anyTrue);
  EXPECT_EQ(nullAudiere.lines, SoundTestDoubles::kNullObjectWarnings);
  const auto nullSquall = SoundTestDoubles::CallWithNullObjects(squall);
  EXPECT_EQ(nullSquall.lines, (std::vector<std::wstring>{L"Warning: Trying to play a NULL pointer Sound!",
                                                         L"Warning: Trying to play a NULL pointer Music!"}));
}

TEST_F(SoundDriversTest, CodecsDescribeThemselves) {
  struct Case {
    LLF::SoundCodec* codec;
    const wchar_t* author;
    const wchar_t* name;
    const wchar_t* takes;
    const wchar_t* refuses;
  };
  const Case cases[] = {
      {&LLF::SoundCodecSilent::GetInstance(), L"Brenvik, 2007", L"Silent sound codecs", L"x.anything",
       L"noext"},
      {&LLF::SoundCodecAudiere::GetInstance(), L"Brenvik, 2008", L"Audiere sound codecs", L"a.FLAC",
       L"a.umx"},
      {&LLF::SoundCodecSquall::GetInstance(), L"Brenvik, 2007", L"Squall sound codecs", L"a.umx", L"a.flac"},
      {&LLF::SoundCodecBASS::GetInstance(), L"Brenvik, 2007", L"BASS sound codecs", L"a.Ogg", L"a.flac"},
  };
  const std::wstring missing = LLF::FromOsPath(QmTest::NewTempFolder("missing") + "/missing.wav");
  for (const Case& c : cases) {
    EXPECT_EQ(c.codec->GetAuthor(), c.author);
    EXPECT_EQ(c.codec->GetVersion(), L"1.0");
    EXPECT_EQ(c.codec->GetShortDescription(), c.name);
    EXPECT_TRUE(c.codec->IsKindOf("SoundCodec"));
    EXPECT_TRUE(c.codec->IsKindOf("ICodec"));
    EXPECT_TRUE(c.codec->IsExtensionSupported(c.takes)) << LLF::WideToAnsi(c.takes);
    if (c.codec == &LLF::SoundCodecSilent::GetInstance()) continue;
    EXPECT_FALSE(c.codec->IsExtensionSupported(c.refuses)) << LLF::WideToAnsi(c.refuses);
    // Loading by name opens the file first.
    QmTest::LogCapture log;
    EXPECT_EQ(c.codec->LoadSound(missing), nullptr);
    EXPECT_EQ(c.codec->LoadMusic(missing), nullptr);
    EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{L"Can't open sound file " + missing,
                                                      L"Can't open music file " + missing}));
  }
  EXPECT_TRUE(LLF::SoundCodecSilent::GetInstance().IsExtensionSupported(L"noext"));
}

}  // namespace
