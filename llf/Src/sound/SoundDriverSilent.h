#pragma once
// The driver that makes no sound: everything succeeds and nothing is heard.
// The last choice when no real driver starts.
#include "core/Singleton.h"
#include "sound/ISoundDriver.h"

namespace LLF {

class SoundDriverSilent : public ISoundDriver, public Singleton<SoundDriverSilent> {
  LLF_SINGLETON(SoundDriverSilent)

 public:
  LLF_KIND_OF(SoundDriverSilent, ISoundDriver)
  ~SoundDriverSilent() override = default;
  std::wstring Dump() const override { return L"SoundDriverSilent. Sound API: DUMMY"; }

  bool IsReal() const override { return false; }
  bool Init(const SoundSettings& settings) override;
  void Destroy() override;
  void Update() override {}
  bool StartAll() override { return true; }
  bool PauseAll() override { return true; }
  bool StopAll() override { return true; }
  bool PlaySound(Sound*) override { return true; }
  bool PlayMusic(Music*) override { return true; }
  void FreeSoundData(Sound*) override {}
  void FreeMusicData(Music*) override {}
  bool PauseSound(Sound*) override { return true; }
  bool ResumeSound(Sound*) override { return true; }
  bool StopSound(Sound*) override { return true; }
  bool PauseMusic(Music*) override { return true; }
  bool ResumeMusic(Music*) override { return true; }
  bool StopMusic(Music*) override { return true; }
  void UpdateMusic(Music*) override {}
  void UpdateSound(Sound*) override {}

 private:
  SoundDriverSilent() = default;
};

}  // namespace LLF
