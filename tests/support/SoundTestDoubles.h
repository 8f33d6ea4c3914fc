#pragma once
// Test doubles of the sound tests: a driver that records what it is asked
// to do, and a codec that makes objects carrying that driver's record.
#include <string>
#include <utility>
#include <vector>

#include "LogCapture.h"
#include "io/File.h"
#include "sound/ISoundDriver.h"
#include "sound/Music.h"
#include "sound/Sound.h"
#include "sound/SoundCodec.h"
#include "sound/SoundHandle.h"

namespace SoundTestDoubles {

class FakeDriver : public LLF::ISoundDriver {
 public:
  FakeDriver(bool real, bool starts) : _real(real), _starts(starts) {}
  LLF_KIND_OF(FakeDriver, ISoundDriver)
  std::wstring Dump() const override { return _real ? L"FakeDriver real" : L"FakeDriver silent"; }

  bool IsReal() const override { return _real; }
  bool Init(const LLF::SoundSettings& settings) override {
    _settings = settings;
    ++inits;
    return _starts;
  }
  void Destroy() override { ++destroys; }
  void Update() override {}
  bool StartAll() override { return true; }
  bool PauseAll() override { return true; }
  bool StopAll() override { return true; }
  bool PlaySound(LLF::Sound* sound) override {
    played.push_back(sound);
    calls.push_back({"play", sound});
    return true;
  }
  bool PlayMusic(LLF::Music*) override { return true; }
  void FreeSoundData(LLF::Sound* sound) override {
    freed.push_back(sound);
    calls.push_back({"free", sound});
  }
  void FreeMusicData(LLF::Music* music) override { freed.push_back(music); }
  bool PauseSound(LLF::Sound*) override { return true; }
  bool ResumeSound(LLF::Sound*) override { return true; }
  bool StopSound(LLF::Sound* sound) override {
    calls.push_back({"stop", sound});
    return true;
  }
  bool PauseMusic(LLF::Music*) override { return true; }
  bool ResumeMusic(LLF::Music*) override { return true; }
  bool StopMusic(LLF::Music*) override { return true; }
  void UpdateMusic(LLF::Music* music) override { updated.push_back(music); }
  void UpdateSound(LLF::Sound* sound) override { updated.push_back(sound); }

  int inits = 0;
  int destroys = 0;
  std::vector<const LLF::AudioObject*> updated;
  std::vector<const LLF::AudioObject*> freed;
  std::vector<const LLF::Sound*> played;
  // Plays, stops and frees of sounds, in order.
  std::vector<std::pair<std::string, const LLF::Sound*>> calls;

 private:
  bool _real;
  bool _starts;
};

struct FakeRecord : public LLF::SoundHandle {
  using SoundHandle::SoundHandle;
  LLF_KIND_OF(FakeRecord, SoundHandle)
};

// Loads "*.fake" files, whichever driver is current, into objects made by
// the driver given.
class FakeCodec : public LLF::SoundCodec {
 public:
  explicit FakeCodec(LLF::ISoundDriver* maker) : _maker(maker) { _extensions = L"fake"; }
  LLF_KIND_OF(FakeCodec, SoundCodec)
  LLF::Sound* LoadSound(LLF::File&) override { return Made<LLF::Sound>(); }
  LLF::Sound* LoadSound(const std::wstring& fileName) override { return OpenAndLoadSound(fileName); }
  LLF::Music* LoadMusic(LLF::File&) override { return Made<LLF::Music>(); }
  LLF::Music* LoadMusic(const std::wstring& fileName) override { return OpenAndLoadMusic(fileName); }

 private:
  template <class Kind>
  Kind* Made() {
    auto* object = new Kind;
    object->SetHandle(new FakeRecord(_maker));
    return object;
  }
  LLF::ISoundDriver* _maker;
};

// Hands a null object to each per-object operation of the driver (play,
// pause, resume, stop of a sound, then of a music, then both updates) and
// gives what was logged and whether any operation gave true.
struct NullObjectResult {
  std::vector<std::wstring> lines;
  bool anyTrue = false;
};
inline NullObjectResult CallWithNullObjects(LLF::ISoundDriver& driver) {
  QmTest::LogCapture log;
  NullObjectResult result;
  result.anyTrue = driver.PlaySound(nullptr) || driver.PauseSound(nullptr) || driver.ResumeSound(nullptr) ||
                   driver.StopSound(nullptr);
  result.anyTrue = driver.PlayMusic(nullptr) || driver.PauseMusic(nullptr) || driver.ResumeMusic(nullptr) ||
                   driver.StopMusic(nullptr) || result.anyTrue;
  driver.UpdateSound(nullptr);
  driver.UpdateMusic(nullptr);
  result.lines = log.Lines();
  return result;
}

// What the BASS and Audiere drivers log for that, in that order.
inline const std::vector<std::wstring> kNullObjectWarnings = {
    L"Warning: Trying to play a NULL pointer Sound!",
    L"Warning: Trying to pause a NULL pointer Sound!",
    L"Warning: Trying to resume a NULL pointer Sound!",
    L"Warning: Trying to stop a NULL pointer Sound!",
    L"Warning: Trying to play a NULL pointer Music!",
    L"Warning: Trying to pause a NULL pointer Music!",
    L"Warning: Trying to play a NULL pointer Music!",
    L"Warning: Trying to play a NULL pointer Music!",
    L"Warning: Trying to update music status that have a NULL pointer!",
    L"Warning: Trying to update music status that have a NULL pointer!",
};

}  // namespace SoundTestDoubles
