#pragma once
// The driver over the Squall sound library ("Squall.dll", here
// libsquall.so), bound by name when the driver is made, all or nothing. The
// library reads sound files through the framework's files: its file
// callbacks get an open framework file in place of a file name. It loads
// samples but binds no way to play them, so playing never succeeds.
#include <cstdint>

#include "core/LibraryBinding.h"
#include "core/Singleton.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundHandle.h"
#include "sound/SquallApi.h"

namespace LLF {

class File;

class SoundDriverSquall : public ISoundDriver, public Singleton<SoundDriverSquall> {
  LLF_SINGLETON(SoundDriverSquall)

 public:
  // What the driver keeps behind each of its sounds and pieces of music.
  struct Record : public SoundHandle {
    Record(ISoundDriver* driver, int32_t sampleId) : SoundHandle(driver), sample(sampleId) {}
    LLF_KIND_OF(Record, SoundHandle)

    int32_t sample;        // the library's sample id
    int32_t channel = -1;  // never played
  };

  LLF_KIND_OF(SoundDriverSquall, ISoundDriver)
  // Releases the library.
  ~SoundDriverSquall() override;
  std::wstring Dump() const override { return L"SoundDriverSquall. Sound API: Squall.dll"; }

  bool IsReal() const override { return true; }
  bool Init(const SoundSettings& settings) override;
  void Destroy() override;
  void Update() override {}
  bool StartAll() override { return true; }
  bool PauseAll() override { return true; }
  bool StopAll() override { return true; }
  // Nothing can be played: false, after the warning for a null object.
  bool PlaySound(Sound* sound) override;
  bool PlayMusic(Music* music) override;
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

  bool IsLibraryLoaded() const { return _library.IsLoaded(); }
  // A new record for the open file's sample, or null. One load at a time:
  // the library reads the file through process-wide callbacks.
  Record* LoadSample(File& file);

 private:
  struct Api {
    SquallInitFunc Init;
    SquallFreeFunc Free;
    SquallSampleLoadFileFunc SampleLoadFile;
    SquallSampleUnloadFunc SampleUnload;
    SquallSetFileCallbacksFunc SetFileCallbacks;
  };

  SoundDriverSquall();

  LibraryBinding _library;
  Api _api{};
};

}  // namespace LLF
