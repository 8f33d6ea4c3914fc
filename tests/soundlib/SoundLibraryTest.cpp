// The drivers bound to libraries that stand in for the sound libraries (the
// test program's folder holds a libbass.so lacking one name, and fake
// libaudiere.so and libsquall.so): the BASS driver refuses the incomplete
// library, the Audiere driver runs its streams and its pause-all and
// start-all rules, and the Squall driver reads files through its callbacks.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <vector>

#include "LogCapture.h"
#include "SoundFixture.h"
#include "TestEnv.h"
#include "app/DriverChoice.h"
#include "core/OSUtils.h"
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

using LLF::Music;
using LLF::Sound;

std::string Beside(const char* file) {
  return LLF::ToOsPath(LLF::ExtractFolder(LLF::OS_GetExePath())) + file;
}

// A function of a library the drivers have loaded.
template <class F>
F Extra(const char* library, const char* name) {
  void* module = dlopen(Beside(library).c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!module) return nullptr;
  auto function = reinterpret_cast<F>(dlsym(module, name));
  dlclose(module);
  return function;
}

class SoundLibraryTest : public QmTest::SoundFixture {
 protected:
  void RegisterAll() {
    Register(&LLF::SoundCodecAudiere::GetInstance(), &audiere);
    Register(&LLF::SoundCodecBASS::GetInstance(), &LLF::SoundDriverBASS::GetInstance());
    Register(&LLF::SoundCodecSquall::GetInstance(), &squall);
    Register(&LLF::SoundCodecSilent::GetInstance(), &LLF::SoundDriverSilent::GetInstance());
  }
  // Makes the driver at the index current after starting it.
  void Start(unsigned index) {
    ASSERT_TRUE(system.GetDriver(index)->Init(LLF::SoundSettings()));
    ASSERT_TRUE(system.SetCurrentDriver(index));
  }
  static AudiereApi::OutputStream* StreamOf(const LLF::AudioObject* object) {
    auto* record = dynamic_cast<LLF::SoundDriverAudiere::Record*>(object->GetHandle());
    return record ? record->stream : nullptr;
  }

  LLF::SoundDriverAudiere& audiere = LLF::SoundDriverAudiere::GetInstance();
  LLF::SoundDriverSquall& squall = LLF::SoundDriverSquall::GetInstance();
};

// The libbass.so here has 24 of the 25 names: the driver exists but stays
// unbound, starts nothing and logs nothing of its own.
TEST_F(SoundLibraryTest, BassLibraryLackingOneNameIsNotBound) {
  void* stub = dlopen(Beside("libbass.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(stub, nullptr) << "the library is there";
  EXPECT_NE(dlsym(stub, "BASS_Init"), nullptr);
  EXPECT_EQ(dlsym(stub, "BASS_Pause"), nullptr);
  dlclose(stub);

  LLF::SoundDriverBASS& bass = LLF::SoundDriverBASS::GetInstance();
  EXPECT_FALSE(bass.IsLibraryLoaded());
  QmTest::LogCapture log;
  EXPECT_FALSE(bass.Init(LLF::SoundSettings()));
  EXPECT_FALSE(bass.StartAll());
  bass.Destroy();
  EXPECT_TRUE(log.Lines().empty());
}

// The registered drivers in their order: Audiere, the first real one that
// starts, becomes current; without its device the choice moves on past the
// unbound BASS driver and Squall, which starts.
TEST_F(SoundLibraryTest, ChoiceTakesTheFirstRealDriverThatStarts) {
  RegisterAll();
  {
    QmTest::LogCapture log;
    ASSERT_TRUE(LLF::ChooseSoundDriver(LLF::SoundSettings()));
    EXPECT_EQ(system.GetCurrentDriver(), &audiere);
    EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{L"Initializing SoundDriverAudiere...",
                                                      L"SoundDriverAudiere initialized successfully."}));
    system.ReleaseCurrentDriver();
    EXPECT_EQ(log.Lines().back(), L"SoundDriverAudiere destroyed successfully.");
  }
  QmTest::ScopedEnv noDevice("FAKE_AUDIERE_NO_DEVICE", "1");
  QmTest::LogCapture log;
  ASSERT_TRUE(LLF::ChooseSoundDriver(LLF::SoundSettings()));
  EXPECT_EQ(system.GetCurrentDriver(), &squall);
  EXPECT_EQ(log.Lines(),
            (std::vector<std::wstring>{
                L"Initializing SoundDriverAudiere...",
                L"Warning: Can't initialize SoundDriverAudiere. AdrOpenDevice failed.",
                L"Initializing SoundDriverSquall( frequency: 44100, 16bit: yes, channels: 32 )...",
                L"SoundDriverSquall initialized successfully.",
            }));
}

// Loads make streams over the file's bytes; playing applies the loop flag
// and the volume on the 0..1 scale; pausing keeps the position and stopping
// rewinds; freeing gives every library object back.
TEST_F(SoundLibraryTest, AudiereStreamsPlayPauseAndStop) {
  RegisterAll();
  Start(0);
  auto liveObjects = Extra<int (*)()>("libaudiere.so", "FakeAudiere_LiveObjects");
  ASSERT_NE(liveObjects, nullptr);
  const std::wstring wav = WriteFile("a.wav", "RIFF....WAVE");
  const std::wstring ogg = WriteFile("b.ogg", "OggS....");
  audiere.SetSoundMasterVolume(80.0f);
  Sound* sound = system.LoadSound(wav, 1, 50.0f, 100.0f, L"", false);
  Music* music = system.LoadMusic(ogg, 0, 100.0f, 25.0f, L"", false);
  ASSERT_NE(sound, nullptr);
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(liveObjects(), 6) << "a file, a source and a stream each";
  QmTest::LogCapture log;
  EXPECT_EQ(system.LoadSound(WriteFile("c.wav", "not a sound"), 0, 100.0f, 100.0f, L"", false), nullptr);
  EXPECT_EQ(log.Count(L"Corresponding codec was not found"), 1);
  EXPECT_EQ(liveObjects(), 6) << "the failed load gave back what it made";

  AudiereApi::OutputStream* stream = StreamOf(sound);
  ASSERT_TRUE(audiere.PlaySound(sound));
  EXPECT_TRUE(stream->isPlaying());
  EXPECT_TRUE(stream->getRepeat());
  EXPECT_FLOAT_EQ(stream->getVolume(), 0.4f);
  ASSERT_TRUE(audiere.PlayMusic(music));
  EXPECT_FLOAT_EQ(StreamOf(music)->getVolume(), 0.25f);
  for (int i = 0; i < 3; ++i) audiere.Update();
  EXPECT_EQ(stream->getPosition(), 3);
  EXPECT_TRUE(audiere.PauseSound(sound));
  audiere.Update();
  EXPECT_FALSE(stream->isPlaying());
  EXPECT_EQ(stream->getPosition(), 3);
  EXPECT_TRUE(audiere.ResumeSound(sound));
  audiere.Update();
  EXPECT_EQ(stream->getPosition(), 4);
  EXPECT_TRUE(audiere.StopSound(sound));
  EXPECT_FALSE(stream->isPlaying());
  EXPECT_EQ(stream->getPosition(), 0);
  sound->SetVolume(100.0f);
  EXPECT_FLOAT_EQ(stream->getVolume(), 0.8f);

  EXPECT_TRUE(system.FreeSound(sound));
  EXPECT_TRUE(system.FreeMusic(music));
  EXPECT_EQ(liveObjects(), 0);
  audiere.SetSoundMasterVolume(100.0f);
}

// Pause all, then start all, resumes just what was playing, where it was;
// stop all, then start all, plays those from the start.
TEST_F(SoundLibraryTest, AudiereStartAllRestartsWhatWasPlaying) {
  RegisterAll();
  Start(0);
  const std::wstring wav = WriteFile("a.wav", "RIFF");
  Sound* playing = system.LoadSound(wav, 0, 100.0f, 100.0f, L"playing", false);
  Sound* idle = system.LoadSound(wav, 0, 100.0f, 100.0f, L"idle", false);
  Music* music = system.LoadMusic(wav, 0, 100.0f, 100.0f, L"music", false);
  ASSERT_TRUE(playing && idle && music);
  ASSERT_TRUE(audiere.PlaySound(playing));
  ASSERT_TRUE(audiere.PlayMusic(music));
  audiere.Update();
  audiere.Update();

  ASSERT_TRUE(audiere.PauseAll());
  audiere.Update();
  for (const LLF::AudioObject* object :
       {static_cast<LLF::AudioObject*>(playing), static_cast<LLF::AudioObject*>(idle),
        static_cast<LLF::AudioObject*>(music)}) {
    EXPECT_FALSE(StreamOf(object)->isPlaying());
  }
  ASSERT_TRUE(audiere.StartAll());
  EXPECT_TRUE(StreamOf(playing)->isPlaying());
  EXPECT_TRUE(StreamOf(music)->isPlaying());
  EXPECT_FALSE(StreamOf(idle)->isPlaying());
  EXPECT_EQ(StreamOf(playing)->getPosition(), 2);
  EXPECT_EQ(StreamOf(music)->getPosition(), 2);

  audiere.Update();
  ASSERT_TRUE(audiere.StopAll());
  EXPECT_FALSE(StreamOf(playing)->isPlaying());
  EXPECT_EQ(StreamOf(playing)->getPosition(), 0);
  audiere.Update();
  ASSERT_TRUE(audiere.StartAll());
  audiere.Update();
  EXPECT_TRUE(StreamOf(playing)->isPlaying());
  EXPECT_TRUE(StreamOf(music)->isPlaying());
  EXPECT_FALSE(StreamOf(idle)->isPlaying());
  EXPECT_EQ(StreamOf(playing)->getPosition(), 1) << "from the start";
  EXPECT_EQ(StreamOf(music)->getPosition(), 1);

  // A freed object leaves the lists: the next pause and start skip it.
  EXPECT_TRUE(system.FreeSound(playing));
  EXPECT_TRUE(audiere.PauseAll());
  EXPECT_TRUE(audiere.StartAll());
  EXPECT_TRUE(StreamOf(music)->isPlaying());
}

// Squall gets its start-up record field by field and reads files through the
// driver's callbacks, which hand it the framework's open file; it can load
// but not play.
TEST_F(SoundLibraryTest, SquallReadsFilesThroughTheCallbacks) {
  RegisterAll();
  auto lastInit = Extra<void (*)(SquallInitParameters*)>("libsquall.so", "FakeSquall_LastInit");
  auto lastSize = Extra<int32_t (*)()>("libsquall.so", "FakeSquall_LastFileSize");
  ASSERT_TRUE(lastInit && lastSize);
  LLF::SoundSettings settings;
  settings.sampleRate = 22050;
  settings.sixteenBit = false;
  settings.channels = 12;
  QmTest::LogCapture log;
  ASSERT_TRUE(squall.Init(settings));
  ASSERT_TRUE(system.SetCurrentDriver(2));
  SquallInitParameters parameters{};
  lastInit(&parameters);
  EXPECT_EQ(parameters.device, 0);
  EXPECT_EQ(parameters.sampleRate, 44100);
  EXPECT_EQ(parameters.bitsPerSample, 8);
  EXPECT_EQ(parameters.channels, 12);
  EXPECT_EQ(std::vector<int32_t>({parameters.field6, parameters.field7, parameters.field8, parameters.field9,
                                  parameters.field10}),
            std::vector<int32_t>({1, 1, 0, 500, 0}));
  EXPECT_EQ(parameters.factor11 + parameters.factor12 + parameters.factor13, 3.0f);
  EXPECT_EQ(log.Lines(),
            (std::vector<std::wstring>{
                L"Initializing SoundDriverSquall( frequency: 44100, 16bit: no, channels: 12 )...",
                L"SoundDriverSquall initialized successfully."}));

  const std::wstring wav = WriteFile("a.wav", "RIFF and 18 bytes.");
  Sound* sound = system.LoadSound(wav, 0, 100.0f, 100.0f, L"", false);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(lastSize(), 18);
  auto* record = dynamic_cast<LLF::SoundDriverSquall::Record*>(sound->GetHandle());
  ASSERT_NE(record, nullptr);
  EXPECT_GE(record->sample, 0);
  EXPECT_EQ(record->channel, -1);
  Music* music = system.LoadMusic(wav, 0, 100.0f, 100.0f, L"m", false);
  ASSERT_NE(music, nullptr);
  EXPECT_NE(dynamic_cast<LLF::SoundDriverSquall::Record*>(music->GetHandle())->sample, record->sample);
  EXPECT_EQ(system.LoadSound(WriteFile("b.wav", "WAVE"), 0, 100.0f, 100.0f, L"", false), nullptr);
  EXPECT_FALSE(squall.PlaySound(sound)) << "nothing can play it";
  EXPECT_FALSE(squall.PlayMusic(music));

  for (const char* step : {"init", "callbacks"}) {
    QmTest::ScopedEnv fail("FAKE_SQUALL_FAIL", step);
    log.Clear();
    EXPECT_FALSE(squall.Init(settings));
    EXPECT_EQ(log.Lines().back(), std::wstring(L"Warning: Can't initialize SoundDriverSquall. ") +
                                      (step[0] == 'i' ? L"SQUALL_Init" : L"SQUALL_SetFileCallbacks") +
                                      L" failed. Parameters: Frequency - 44100, 16 bit - no, channels - 12");
  }
}

}  // namespace
