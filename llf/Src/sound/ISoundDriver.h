#pragma once
// The interface every sound driver implements: start and stop the output,
// play, pause, resume and stop single sounds and pieces of music, apply
// their loop flag and volume, and free the driver's data behind them. The
// master volumes and the effective-volume rule are shared by all drivers.
//
// Every per-object operation expects an object its own codec made; an object
// of another driver, or one without a record, is refused like one without a
// channel. A null object is logged and refused.
#include <atomic>

#include "core/Object.h"
#include "sound/AudioObject.h"
#include "sound/SoundSettings.h"

namespace LLF {

class Music;
class Sound;

class ISoundDriver : public virtual Object {
 public:
  ISoundDriver();
  ISoundDriver(const ISoundDriver&) = delete;
  ISoundDriver& operator=(const ISoundDriver&) = delete;

  LLF_KIND_OF(ISoundDriver, Object)
  ~ISoundDriver() override;

  // True for a driver that makes sound, false for the silent one.
  virtual bool IsReal() const = 0;
  // Copies the settings and starts the output.
  virtual bool Init(const SoundSettings& settings) = 0;
  // Stops the output and gives the library's device back.
  virtual void Destroy() = 0;
  // Once per main-loop pass.
  virtual void Update() = 0;
  virtual bool StartAll() = 0;
  virtual bool PauseAll() = 0;
  virtual bool StopAll() = 0;
  // Apply the object's loop flag and volume, then play it from the start.
  virtual bool PlaySound(Sound* sound) = 0;
  virtual bool PlayMusic(Music* music) = 0;
  virtual void FreeSoundData(Sound* sound) = 0;
  virtual void FreeMusicData(Music* music) = 0;
  virtual bool PauseSound(Sound* sound) = 0;
  virtual bool ResumeSound(Sound* sound) = 0;
  virtual bool StopSound(Sound* sound) = 0;
  virtual bool PauseMusic(Music* music) = 0;
  virtual bool ResumeMusic(Music* music) = 0;
  virtual bool StopMusic(Music* music) = 0;
  // Apply the object's loop flag and effective volume to what plays.
  virtual void UpdateMusic(Music* music) = 0;
  virtual void UpdateSound(Sound* sound) = 0;
  // Store a master volume (0 to 100); nothing is clamped or re-applied.
  virtual void SetMusicMasterVolume(float volume);
  virtual void SetSoundMasterVolume(float volume);
  // volume x factor x master / 10000, in double precision.
  virtual float GetEffectiveMusicVolume(float volume, float volumeKoeff);
  virtual float GetEffectiveSoundVolume(float volume, float volumeKoeff);

  float GetMusicMasterVolume() const { return _musicMasterVolume; }
  float GetSoundMasterVolume() const { return _soundMasterVolume; }
  const SoundSettings& GetSettings() const { return _settings; }

  // Whether a driver object exists (constructed and not yet destroyed), so
  // that an object outliving its driver does not call into it.
  static bool IsAlive(const ISoundDriver* driver);

 protected:
  // The warnings for null objects, logged before anything else is done.
  static constexpr const wchar_t* kPlayNullSound = L"Warning: Trying to play a NULL pointer Sound!";
  static constexpr const wchar_t* kPlayNullMusic = L"Warning: Trying to play a NULL pointer Music!";
  static constexpr const wchar_t* kPauseNullSound = L"Warning: Trying to pause a NULL pointer Sound!";
  static constexpr const wchar_t* kPauseNullMusic = L"Warning: Trying to pause a NULL pointer Music!";
  static constexpr const wchar_t* kResumeNullSound = L"Warning: Trying to resume a NULL pointer Sound!";
  static constexpr const wchar_t* kStopNullSound = L"Warning: Trying to stop a NULL pointer Sound!";
  static constexpr const wchar_t* kUpdateNull =
      L"Warning: Trying to update music status that have a NULL pointer!";

  // The output rate a driver opens for a requested one: 8000, 11025 and
  // 22100 stay, anything else gives 44100.
  static unsigned OutputRate(unsigned requested);
  // This driver's record of type R behind the object, or null (no object,
  // no record, or one of another driver).
  template <class R>
  R* RecordOf(const AudioObject* object) const {
    auto* record = object ? dynamic_cast<R*>(object->GetHandle()) : nullptr;
    return record && record->GetDriver() == this ? record : nullptr;
  }

  // Master volumes are read by loads on the asset loader's thread.
  std::atomic<float> _musicMasterVolume{100.0f};
  std::atomic<float> _soundMasterVolume{100.0f};
  SoundSettings _settings;
};

}  // namespace LLF
