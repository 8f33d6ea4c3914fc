#pragma once
// The driver over the Audiere sound library ("audiere.dll", here
// libaudiere.so), bound by name when the driver is made, all or nothing.
// Every operation but Init and Destroy gives false, or does nothing, while
// the library is not bound; a null object is reported first.
//
// Each sound or piece of music is an output stream on the opened device
// (music streams decode while they play). The driver lists every object its
// codec made, so that pausing or stopping everything can later restart just
// what was playing. The lists and their flags outlive Destroy; one lock
// guards them, as the asset loader adds to them from its thread.
#include <cstdint>
#include <vector>

#include "core/LibraryBinding.h"
#include "core/Mutex.h"
#include "core/Singleton.h"
#include "sound/AudiereApi.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundHandle.h"

namespace LLF {

class AudioObject;

class SoundDriverAudiere : public ISoundDriver, public Singleton<SoundDriverAudiere> {
  LLF_SINGLETON(SoundDriverAudiere)
  friend class SoundCodecAudiere;

 public:
  // What the driver keeps behind each of its sounds and pieces of music.
  struct Record : public SoundHandle {
    Record(ISoundDriver* driver, AudiereApi::OutputStream* outputStream, std::vector<unsigned char> bytes)
        : SoundHandle(driver), stream(outputStream), buffer(std::move(bytes)) {}
    LLF_KIND_OF(Record, SoundHandle)

    AudiereApi::OutputStream* stream;   // one reference, given back when the data is freed
    uint32_t reserved = 0;              // always 0
    std::vector<unsigned char> buffer;  // the file's bytes, read by the stream
  };

  LLF_KIND_OF(SoundDriverAudiere, ISoundDriver)
  // Gives back the device and releases the library.
  ~SoundDriverAudiere() override;
  std::wstring Dump() const override { return L"SoundDriverAudiere. Sound API: AUDIERE.DLL"; }

  bool IsReal() const override { return true; }
  bool Init(const SoundSettings& settings) override;
  void Destroy() override;
  void Update() override;
  // Resumes (after PauseAll) or plays from the start (after StopAll) what
  // was playing then.
  bool StartAll() override;
  bool PauseAll() override;
  bool StopAll() override;
  bool PlaySound(Sound* sound) override;
  bool PlayMusic(Music* music) override;
  void FreeSoundData(Sound* sound) override;
  void FreeMusicData(Music* music) override;
  bool PauseSound(Sound* sound) override;
  bool ResumeSound(Sound* sound) override;
  bool StopSound(Sound* sound) override;
  bool PauseMusic(Music* music) override;
  bool ResumeMusic(Music* music) override;
  bool StopMusic(Music* music) override;
  void UpdateMusic(Music* music) override;
  void UpdateSound(Sound* sound) override;

  bool IsLibraryLoaded() const { return _library.IsLoaded(); }

 private:
  struct Api {
    AdrOtherFunc CreateLoopPointSource;
    AdrCreateMemoryFileFunc CreateMemoryFile;
    AdrOtherFunc CreatePinkNoise;
    AdrOtherFunc CreateSampleBuffer;
    AdrOtherFunc CreateSampleBufferFromSource;
    AdrOtherFunc CreateSquareWave;
    AdrOtherFunc CreateTone;
    AdrOtherFunc CreateWhiteNoise;
    AdrOtherFunc EnumerateCDDevices;
    AdrOtherFunc GetSampleSize;
    AdrOtherFunc GetSupportedAudioDevices;
    AdrOtherFunc GetSupportedFileFormats;
    AdrOtherFunc GetVersion;
    AdrOtherFunc OpenCDDevice;
    AdrOpenDeviceFunc OpenDevice;
    AdrOtherFunc OpenFile;
    AdrOtherFunc OpenMIDIDevice;
    AdrOtherFunc OpenSampleSource;
    AdrOpenSampleSourceFromFileFunc OpenSampleSourceFromFile;
    AdrOpenSoundFunc OpenSound;
    AdrOtherFunc OpenSoundEffect;
  };
  template <class Kind>
  struct Entry {
    bool wasPlaying;
    Kind* object;
  };

  SoundDriverAudiere();
  // Notes for each entry whether it plays, and applies act to those that do.
  template <class Kind, class Act>
  void HoldPlaying(std::vector<Entry<Kind>>& list, Act act);
  // This driver's record behind the object after the checks of a
  // per-object operation: a null object logs nullWarning; an unbound
  // library, a missing record or a released stream gives null.
  Record* Checked(AudioObject* object, const wchar_t* nullWarning) const;
  // An output stream over the file's bytes on the opened device, listed as
  // a sound or a piece of music; null when any step fails.
  Sound* MakeSound(std::vector<unsigned char> bytes);
  Music* MakeMusic(std::vector<unsigned char> bytes);
  // The record's stream for the bytes, or null.
  Record* MakeRecord(std::vector<unsigned char>& bytes, bool streaming);
  void FreeRecordData(AudioObject* object);
  // The loop flag and volume (0 to 100) on the record's stream.
  static void Apply(Record& record, bool looped, float effectiveVolume);

  LibraryBinding _library;
  Api _api{};
  AudiereApi::AudioDevice* _device = nullptr;  // one reference while held

  Mutex _lock;  // guards the device, the lists and the flags
  std::vector<Entry<Sound>> _sounds;
  std::vector<Entry<Music>> _musics;
  bool _pausedAll = false;
  bool _stoppedAll = false;
};

}  // namespace LLF
