// The contract of libbass.so's functions as the BASS driver binds them: the
// exports, start-up failures, handle and argument errors, attributes, channel
// allocation, the file formats, hostile files and calls from two threads.
// These run on SDL's dummy audio driver, which consumes the output unheard.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BassTestSupport.h"
#include "TestEnv.h"

namespace {

using namespace BassTest;

class BassApiTest : public Fixture {
 protected:
  void SetUp() override {
    Fixture::SetUp();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void Init() { ASSERT_EQ(_bass->Init(kBassDefaultDevice, 44100, 0, nullptr), 1) << _bass->ErrorGetCode(); }
  BassHandle LoadSample(const std::vector<unsigned char>& bytes, uint32_t max = 65535) {
    return _bass->SampleLoad(1, bytes.data(), 0, static_cast<uint32_t>(bytes.size()), max, 0);
  }
  // The error code of the call just made, after checking it failed.
  int32_t Failed(int64_t result) {
    EXPECT_EQ(result, 0);
    return _bass->ErrorGetCode();
  }
};

TEST_F(BassApiTest, ExportsTheBoundNamesAndHidesTheRest) {
  void* module = dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  EXPECT_EQ(std::size(kBassFunctionNames), 25u);
  for (const char* name : kBassFunctionNames) {
    EXPECT_NE(dlsym(module, name), nullptr) << name;
  }
  // Internal classes stay hidden, so nothing else can bind to them.
  EXPECT_EQ(dlsym(module, "_ZN7LibBass10BassEngine8InstanceEv"), nullptr);
  dlclose(module);
}

TEST_F(BassApiTest, InitFailsWithoutAnOutputAndOnBadArguments) {
  setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
  EXPECT_EQ(Failed(_bass->Init(kBassDefaultDevice, 44100, 0, nullptr)), kBassErrorNoDevice);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_EQ(Failed(_bass->Init(0, 44100, 0, nullptr)), kBassErrorDevice);
  EXPECT_EQ(Failed(_bass->Init(1000, 44100, 0, nullptr)), kBassErrorDevice);
  EXPECT_EQ(Failed(_bass->Init(kBassDefaultDevice, 10, 0, nullptr)), kBassErrorParam);

  // Nothing works before a successful start, and a second start is refused.
  EXPECT_EQ(Failed(_bass->Free()), kBassErrorInit);
  EXPECT_EQ(Failed(_bass->Start()), kBassErrorInit);
  EXPECT_EQ(Failed(_bass->ChannelPlay(1, 1)), kBassErrorInit);
  const auto wav = MakeSound(kWav16, 44100, 1, {{440, 0.1, 0.5}});
  EXPECT_EQ(Failed(LoadSample(wav)), kBassErrorInit);
  EXPECT_EQ(_bass->Init(1, 44100, 0, nullptr), 1) << "the dummy driver lists one device";
  EXPECT_EQ(Failed(_bass->Init(kBassDefaultDevice, 44100, 0, nullptr)), kBassErrorAlready);
  EXPECT_EQ(_bass->Free(), 1);
  EXPECT_EQ(_bass->ErrorGetCode(), kBassOk);
}

TEST_F(BassApiTest, HandlesOfTheWrongKindOrFreedAreRefused) {
  Init();
  const auto wav = MakeSound(kWav16, 44100, 1, {{440, 0.2, 0.5}});
  const BassHandle sample = LoadSample(wav);
  const BassHandle channel = _bass->SampleGetChannel(sample, 0);
  const BassHandle stream = _bass->StreamCreateFile(1, wav.data(), 0, wav.size(), 0);
  ASSERT_NE(sample, 0u);
  ASSERT_NE(channel, 0u);
  ASSERT_NE(stream, 0u);
  EXPECT_NE(sample, channel);
  EXPECT_NE(channel, stream);

  BassSampleInfo info{};
  EXPECT_EQ(Failed(_bass->ChannelPlay(0, 1)), kBassErrorHandle);
  EXPECT_EQ(Failed(_bass->ChannelPlay(sample, 1)), kBassErrorHandle);
  EXPECT_EQ(Failed(_bass->SampleGetInfo(channel, &info)), kBassErrorHandle);
  EXPECT_EQ(Failed(_bass->StreamFree(channel)), kBassErrorHandle);
  EXPECT_EQ(Failed(_bass->SampleFree(stream)), kBassErrorHandle);
  EXPECT_EQ(Failed(_bass->MusicFree(stream)), kBassErrorHandle);
  EXPECT_EQ(Failed(_bass->MusicSetAttribute(stream, 0, 0)), kBassErrorHandle);
  EXPECT_EQ(_bass->MusicGetAttribute(stream, 0), 0xFFFFFFFFu);
  EXPECT_EQ(_bass->ErrorGetCode(), kBassErrorHandle);

  // Freeing a sample takes its channels with it; a handle is never given out again.
  ASSERT_EQ(_bass->ChannelPlay(channel, 1), 1);
  ASSERT_EQ(_bass->SampleFree(sample), 1);
  EXPECT_EQ(Failed(_bass->ChannelStop(channel)), kBassErrorHandle);
  EXPECT_EQ(Failed(_bass->SampleFree(sample)), kBassErrorHandle);
  ASSERT_EQ(_bass->StreamFree(stream), 1);
  EXPECT_EQ(Failed(_bass->ChannelPlay(stream, 1)), kBassErrorHandle);
  const BassHandle again = LoadSample(wav);
  EXPECT_GT(again, stream);

  // After BASS_Free everything is gone, and stays gone after a new start.
  ASSERT_EQ(_bass->Free(), 1);
  EXPECT_EQ(Failed(_bass->SampleGetChannel(again, 0)), kBassErrorInit);
  Init();
  EXPECT_EQ(Failed(_bass->SampleGetChannel(again, 0)), kBassErrorHandle);
}

TEST_F(BassApiTest, AttributesAndSampleDefaultsAreCheckedAndClamped) {
  Init();
  const auto wav = MakeSound(kWav16, 22050, 1, {{440, 0.2, 0.5}});
  const BassHandle sample = LoadSample(wav, 3);
  ASSERT_NE(sample, 0u);
  BassSampleInfo info{};
  ASSERT_EQ(_bass->SampleGetInfo(sample, &info), 1);
  EXPECT_EQ(info.freq, 22050u);
  EXPECT_EQ(info.volume, 100u);
  EXPECT_EQ(info.pan, 0);
  EXPECT_EQ(info.flags, 0u);
  EXPECT_EQ(info.length, 4410u);
  EXPECT_EQ(info.max, 3u);
  EXPECT_EQ(info.chans, 1u);

  // The driver's effective volume may pass 100 (an unclamped factor): clamp it.
  info.volume = 150;
  info.pan = -300;
  info.flags = kBassSampleLoop | 0x100;
  ASSERT_EQ(_bass->SampleSetInfo(sample, &info), 1);
  BassSampleInfo stored{};
  ASSERT_EQ(_bass->SampleGetInfo(sample, &stored), 1);
  EXPECT_EQ(stored.volume, 100u);
  EXPECT_EQ(stored.pan, -100);
  EXPECT_EQ(stored.flags, kBassSampleLoop);
  for (auto bad : {BassSampleInfo{10, 50, 0, 0, 0, 3, 1}, BassSampleInfo{22050, 50, 0, 0, 0, 0, 1}}) {
    EXPECT_EQ(Failed(_bass->SampleSetInfo(sample, &bad)), kBassErrorParam);
  }
  EXPECT_EQ(Failed(_bass->SampleSetInfo(sample, nullptr)), kBassErrorParam);

  // A channel starts with the defaults of its time.
  const BassHandle channel = _bass->SampleGetChannel(sample, 0);
  uint32_t freq = 0, volume = 0;
  int32_t pan = 0;
  ASSERT_EQ(_bass->ChannelGetAttributes(channel, &freq, &volume, &pan), 1);
  EXPECT_EQ(freq, 22050u);
  EXPECT_EQ(volume, 100u);
  EXPECT_EQ(pan, -100);

  struct Case {
    int32_t freq, volume, pan;
    bool ok;
    uint32_t wantFreq, wantVolume;
    int32_t wantPan;
  };
  const Case cases[] = {
      {kBassKeep, 40, kBassKeep, true, 22050, 40, -100},   // only the volume
      {kBassKeep, 150, 30, true, 22050, 100, 30},          // volume clamped
      {kBassKeep, -7, 300, true, 22050, 0, 100},           // both clamped
      {30000, kBassKeep, kBassKeep, true, 30000, 0, 100},  // rate
      {0, kBassKeep, kBassKeep, true, 22050, 0, 100},      // the file's own rate
      {50, 80, 0, false, 22050, 0, 100},                   // a bad rate changes nothing
      {kBassKeep, kBassKeep, kBassKeep, true, 22050, 0, 100},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(_bass->ChannelSetAttributes(channel, c.freq, c.volume, c.pan), c.ok ? 1 : 0);
    EXPECT_EQ(_bass->ErrorGetCode(), c.ok ? kBassOk : kBassErrorParam);
    ASSERT_EQ(_bass->ChannelGetAttributes(channel, &freq, &volume, nullptr), 1);
    ASSERT_EQ(_bass->ChannelGetAttributes(channel, nullptr, nullptr, &pan), 1);
    EXPECT_EQ(freq, c.wantFreq);
    EXPECT_EQ(volume, c.wantVolume);
    EXPECT_EQ(pan, c.wantPan);
  }
}

TEST_F(BassApiTest, ChannelsOfASampleUpToItsMaximum) {
  Init();
  const auto wav = MakeSound(kWav16, 44100, 1, {{440, 2.0, 0.5}});
  const BassHandle sample = LoadSample(wav, 2);
  const BassHandle first = _bass->SampleGetChannel(sample, 0);
  const BassHandle second = _bass->SampleGetChannel(sample, 1);
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(Failed(_bass->SampleGetChannel(sample, 1)), kBassErrorNoChannel);
  // At the maximum a stopped channel is handed out again, reset to the defaults.
  ASSERT_EQ(_bass->ChannelSetAttributes(first, kBassKeep, 10, kBassKeep), 1);
  ASSERT_EQ(_bass->ChannelPlay(second, 1), 1);
  EXPECT_EQ(_bass->SampleGetChannel(sample, 0), first);
  uint32_t volume = 0;
  ASSERT_EQ(_bass->ChannelGetAttributes(first, nullptr, &volume, nullptr), 1);
  EXPECT_EQ(volume, 100u);
  ASSERT_EQ(_bass->ChannelPlay(first, 1), 1);
  EXPECT_EQ(Failed(_bass->SampleGetChannel(sample, 0)), kBassErrorNoChannel);

  // Pause and stop report the channel's state.
  EXPECT_EQ(_bass->ChannelPause(first), 1);
  EXPECT_EQ(Failed(_bass->ChannelPause(first)), kBassErrorAlready);
  EXPECT_EQ(_bass->ChannelStop(first), 1);
  EXPECT_EQ(_bass->ChannelStop(first), 1);
  EXPECT_EQ(Failed(_bass->ChannelPause(first)), kBassErrorNotPlaying);
  // BASS_Stop stops every channel; the output runs again with the next play.
  ASSERT_EQ(_bass->Stop(), 1);
  EXPECT_EQ(Failed(_bass->ChannelPause(second)), kBassErrorNotPlaying);
  EXPECT_EQ(_bass->ChannelPlay(second, 0), 1);
  EXPECT_EQ(_bass->ChannelPause(second), 1);
}

TEST_F(BassApiTest, ConfigurationOptions) {
  struct Case {
    uint32_t option, value;
    int32_t error;
  };
  const Case cases[] = {
      {kBassConfigStreamBuffer, 50, kBassOk},          {kBassConfigStreamBuffer, 5000, kBassOk},
      {kBassConfigStreamBuffer, 49, kBassErrorParam},  {kBassConfigStreamBuffer, 5001, kBassErrorParam},
      {kBassConfigSampleVolume, 0, kBassOk},           {kBassConfigStreamVolume, 100, kBassOk},
      {kBassConfigSampleVolume, 101, kBassErrorParam}, {77, 1, kBassErrorOption},
      {kBassConfigStreamBuffer, 500, kBassOk},         {kBassConfigSampleVolume, 100, kBassOk},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(_bass->SetConfig(c.option, c.value), c.error == kBassOk ? 1 : 0) << c.option << " " << c.value;
    EXPECT_EQ(_bass->ErrorGetCode(), c.error);
  }
  // Update needs a started library, like the channel functions.
  EXPECT_EQ(Failed(_bass->Update()), kBassErrorInit);
  Init();
  EXPECT_EQ(_bass->Update(), 1);
}

// Every format the game may ship, from memory as a sample and from its file
// path as a stream.
TEST_F(BassApiTest, LoadsWavOggFlacAndMp3) {
  Init();
  struct Case {
    const char* name;
    int format, rate, channels;
  };
  const Case cases[] = {
      {"wav", kWav16, 44100, 2}, {"ogg", kOgg, 22050, 1}, {"flac", kFlac, 48000, 1}, {"mp3", kMp3, 44100, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bytes = MakeSound(c.format, c.rate, c.channels, {{440, 1.0, 0.5}});
    ASSERT_FALSE(bytes.empty());
    const BassHandle sample = LoadSample(bytes);
    ASSERT_NE(sample, 0u) << _bass->ErrorGetCode();
    BassSampleInfo info{};
    ASSERT_EQ(_bass->SampleGetInfo(sample, &info), 1);
    EXPECT_EQ(info.freq, static_cast<uint32_t>(c.rate));
    EXPECT_EQ(info.chans, static_cast<uint32_t>(c.channels));
    EXPECT_NEAR(static_cast<double>(info.length), c.rate, c.rate * 0.05);

    const std::string path = WriteTemp(bytes, std::string("sound.") + c.name);
    const BassHandle stream = _bass->StreamCreateFile(0, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u) << _bass->ErrorGetCode();
    uint32_t freq = 0;
    ASSERT_EQ(_bass->ChannelGetAttributes(stream, &freq, nullptr, nullptr), 1);
    EXPECT_EQ(freq, static_cast<uint32_t>(c.rate));
    EXPECT_EQ(_bass->ChannelPlay(stream, 1), 1);
    EXPECT_EQ(_bass->StreamFree(stream), 1);
    // Modules are not supported, so a music load falls through to a stream.
    EXPECT_EQ(Failed(_bass->MusicLoad(1, bytes.data(), 0, static_cast<uint32_t>(bytes.size()), 0, 44100)),
              kBassErrorFileFormat);
  }
}

// Missing, empty, truncated and corrupt input gives a zero handle and an error
// code, never a crash (this suite also runs under AddressSanitizer). A sample
// is decoded whole; a stream decodes its start and looks for the end its
// header declares, so a file cut short is refused by both.
TEST_F(BassApiTest, BadFilesFailCleanly) {
  Init();
  const auto wav = MakeSound(kWav16, 44100, 2, {{440, 1.0, 0.5}});
  const auto ogg = MakeSound(kOgg, 22050, 1, {{440, 1.0, 0.5}});
  const auto flac = MakeSound(kFlac, 44100, 1, {{440, 1.0, 0.5}});
  const auto mp3 = MakeSound(kMp3, 44100, 1, {{440, 1.0, 0.5}});
  const auto silentOgg = MakeSound(kOgg, 22050, 1, {});
  auto cut = [](const std::vector<unsigned char>& v, size_t n) {
    return std::vector<unsigned char>(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n));
  };
  std::vector<unsigned char> garbage(5000);
  uint32_t x = 12345;
  for (auto& b : garbage) b = static_cast<unsigned char>((x = x * 1103515245u + 12345u) >> 16);
  auto noChannels = wav;
  noChannels[22] = noChannels[23] = 0;  // the fmt chunk's channel count
  auto hugeRate = wav;
  hugeRate[24] = hugeRate[25] = hugeRate[26] = 0xFF;  // a sample rate of 16 million
  hugeRate[27] = 0;
  // Scrambled bytes in the middle of the audio, the length intact.
  auto damagedOgg = ogg;
  for (size_t i = damagedOgg.size() / 2; i < damagedOgg.size() / 2 + 400; ++i) damagedOgg[i] ^= 0x5A;

  struct Case {
    const char* name;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {
      {"garbage", garbage},
      {"zeros", std::vector<unsigned char>(5000, 0)},
      {"wav header cut", cut(wav, 30)},
      {"wav without frames", cut(wav, 44)},
      {"wav cut in the data", cut(wav, wav.size() / 2)},
      {"wav with no channels", noChannels},
      {"wav with a huge rate", hugeRate},
      {"ogg cut in half", cut(ogg, ogg.size() / 2)},
      {"ogg without audio", silentOgg},
      {"flac cut in half", cut(flac, flac.size() / 2)},
      {"mp3 cut in half", cut(mp3, mp3.size() / 2)},
      {"ogg damaged in the middle", damagedOgg},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.bytes.empty());
    const auto size = static_cast<uint32_t>(c.bytes.size());
    EXPECT_EQ(Failed(_bass->SampleLoad(1, c.bytes.data(), 0, size, 65535, 0)), kBassErrorFileFormat);
    const BassHandle stream = _bass->StreamCreateFile(1, c.bytes.data(), 0, size, 0);
    EXPECT_EQ(stream, 0u);
    EXPECT_EQ(_bass->ErrorGetCode(), kBassErrorFileFormat);
    // The same bytes from a file.
    const std::string path = WriteTemp(c.bytes, "bad.wav");
    EXPECT_EQ(Failed(_bass->SampleLoad(0, path.c_str(), 0, 0, 65535, 0)), kBassErrorFileFormat);
  }

  // Arguments and files that are not there.
  const std::string folder = QmTest::NewTempFolder("bad");
  const std::string empty = WriteTemp({}, "empty.ogg");
  const std::string missing = folder + "/missing.ogg";
  EXPECT_EQ(Failed(_bass->SampleLoad(1, nullptr, 0, 100, 65535, 0)), kBassErrorParam);
  EXPECT_EQ(Failed(_bass->SampleLoad(1, wav.data(), 0, 0, 65535, 0)), kBassErrorParam);
  EXPECT_EQ(Failed(LoadSample(wav, 0)), kBassErrorParam);
  EXPECT_EQ(Failed(_bass->SampleLoad(0, missing.c_str(), 0, 0, 65535, 0)), kBassErrorFileOpen);
  EXPECT_EQ(Failed(_bass->SampleLoad(0, folder.c_str(), 0, 0, 65535, 0)), kBassErrorFileOpen);
  EXPECT_EQ(Failed(_bass->SampleLoad(0, empty.c_str(), 0, 0, 65535, 0)), kBassErrorFileFormat);
  EXPECT_EQ(Failed(_bass->StreamCreateFile(0, missing.c_str(), 0, 0, 0)), kBassErrorFileOpen);
  EXPECT_EQ(Failed(_bass->StreamCreateFile(1, nullptr, 0, 10, 0)), kBassErrorParam);
  EXPECT_EQ(Failed(_bass->MusicLoad(0, missing.c_str(), 0, 0, 0, 44100)), kBassErrorFileOpen);
  EXPECT_EQ(Failed(_bass->MusicLoad(1, nullptr, 0, 0, 0, 44100)), kBassErrorParam);
}

// The asset loader loads and frees on its own thread while the main thread
// plays, pauses and changes volumes and the audio thread mixes: every call
// keeps working (and the sanitizer builds see no fault).
TEST_F(BassApiTest, LoaderAndMainThreadsAtOnce) {
  Init();
  const auto wav = MakeSound(kWav16, 44100, 2, {{440, 0.3, 0.5}});
  const auto ogg = MakeSound(kOgg, 22050, 1, {{660, 0.3, 0.5}});
  std::atomic<bool> done{false};
  std::atomic<int> loaderFailures{0};
  std::atomic<int> loads{0};
  // The loader starts once the main thread is in its loop and the main
  // thread loops until the loader is done, so the two run at once however
  // the threads are scheduled.
  std::atomic<bool> mainRunning{false};
  std::thread loader([&] {
    while (!mainRunning) std::this_thread::yield();
    for (int i = 0; i < 40; ++i) {
      const BassHandle sample = LoadSample(wav);
      const BassHandle stream = _bass->StreamCreateFile(1, ogg.data(), 0, ogg.size(), kBassSampleLoop);
      const BassHandle channel = _bass->SampleGetChannel(sample, 0);
      const bool ok = sample && stream && channel && _bass->ChannelPlay(stream, 1) == 1 &&
                      _bass->ChannelPlay(channel, 1) == 1 && _bass->StreamFree(stream) == 1 &&
                      _bass->SampleFree(sample) == 1;
      loaderFailures += ok ? 0 : 1;
      ++loads;
    }
    done = true;
  });
  const BassHandle stream = _bass->StreamCreateFile(1, ogg.data(), 0, ogg.size(), kBassSampleLoop);
  const BassHandle sample = LoadSample(wav);
  const BassHandle channel = _bass->SampleGetChannel(sample, 0);
  int mainFailures = 0;
  int rounds = 0;
  while (!done) {
    const auto volume = static_cast<int32_t>(rounds % 101);
    const bool ok = _bass->ChannelPlay(stream, rounds % 7 == 0) == 1 &&
                    _bass->ChannelSetAttributes(stream, kBassKeep, volume, kBassKeep) == 1 &&
                    _bass->ChannelSetFlags(stream, rounds % 3 ? kBassSampleLoop : 0) == 1 &&
                    _bass->ChannelPlay(channel, 1) == 1 && (rounds % 5 || _bass->ChannelStop(stream) == 1) &&
                    _bass->Update() == 1;
    mainFailures += ok ? 0 : 1;
    ++rounds;
    mainRunning = true;
  }
  loader.join();
  EXPECT_EQ(loads, 40);
  EXPECT_EQ(loaderFailures, 0);
  EXPECT_EQ(mainFailures, 0);
}

}  // namespace
