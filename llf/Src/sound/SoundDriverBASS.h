#pragma once
// The driver over the BASS sound library ("BASS.DLL", here our own
// libbass.so), bound by name when the driver is made, all or nothing. Every
// operation but Init and Destroy gives false, or does nothing, while the
// library is not bound; a null object is reported first.
//
// Each sound is a sample with one channel of its own, so playing it again
// restarts it; a piece of music is a stream decoding the file's bytes, which
// its record keeps, or a module. Stream and module handles are their own
// channels.
#include <cstdint>
#include <vector>

#include "core/LibraryBinding.h"
#include "core/Singleton.h"
#include "sound/BassApi.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundHandle.h"

namespace LLF {

class AudioObject;

class SoundDriverBASS : public ISoundDriver, public Singleton<SoundDriverBASS> {
  LLF_SINGLETON(SoundDriverBASS)
  friend class SoundCodecBASS;

 public:
  // What the driver keeps behind each of its sounds and pieces of music.
  struct Record : public SoundHandle {
    enum Kind : uint32_t { kSample = 0, kModule = 1, kStream = 2 };
    Record(ISoundDriver* driver, uint32_t libraryHandle, Kind recordKind)
        : SoundHandle(driver), handle(libraryHandle), kind(recordKind) {}
    LLF_KIND_OF(Record, SoundHandle)

    uint32_t handle;                    // the library's sample, module or stream
    uint32_t channel = 0;               // the sample's channel, 0 until obtained
    uint32_t kind;                      // Kind
    std::vector<unsigned char> buffer;  // streams: the file's bytes, alive as long as the stream
  };

  LLF_KIND_OF(SoundDriverBASS, ISoundDriver)
  // Releases the library.
  ~SoundDriverBASS() override;
  std::wstring Dump() const override { return L"SoundDriverBASS. Sound API: BASS.DLL"; }

  bool IsReal() const override { return true; }
  bool Init(const SoundSettings& settings) override;
  void Destroy() override;
  void Update() override {}
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
  // Which channel an operation works on: a sound's own channel, or a piece
  // of music's handle.
  enum class Target { kSoundChannel, kMusicHandle };

  SoundDriverBASS();
  // The channel of the object for a per-object operation, after the checks
  // every such operation makes: a null object logs nullWarning, an unbound
  // library gives 0 silently, a missing channel logs channelWarning.
  uint32_t ChannelFor(AudioObject* object, Target target, const wchar_t* nullWarning,
                      const wchar_t* channelWarning) const;
  // Frees the library's data behind a sound or piece of music.
  void FreeRecordData(AudioObject* object);
  // The sound's or music's volume on the library's scale.
  static int32_t LibraryVolume(float effective);

  LibraryBinding _library;
  BassFunctions _api{};
};

}  // namespace LLF
