#pragma once
// The manager of everything audible: the registered sound drivers and the
// current one, the registered sound codecs, and every loaded sound and piece
// of music under a wide-string id with a reference count. Sounds and music
// share one map; an id held by one kind is never handed out as the other.
// The codecs, the map and the drivers are each guarded, so the asset loader
// may load while the main thread plays and frees.
#include <string>

#include "core/CodecsManager.h"
#include "core/Registry.h"
#include "core/Singleton.h"
#include "sound/ISoundDriver.h"
#include "sound/Music.h"
#include "sound/Sound.h"

namespace LLF {

class File;

class SoundSystem : public CodecsManager<AudioObject>, public Singleton<SoundSystem> {
  LLF_SINGLETON(SoundSystem)

 public:
  LLF_KIND_OF(SoundSystem, CodecsManager<AudioObject>)
  // Forgets the drivers without destroying them (each is a singleton).
  ~SoundSystem() override;
  std::wstring Dump() const override;

  virtual unsigned GetDriversCount() const;
  virtual ISoundDriver* GetCurrentDriver() const;
  // Appends a driver not yet listed; null or a second registration logs a
  // warning and gives false.
  virtual bool RegisterDriver(ISoundDriver* driver);
  // Removes a listed driver (the current one stays current); an unlisted one
  // logs a warning and gives false.
  virtual bool UnregisterDriver(ISoundDriver* driver);
  // Null when the index is not below the count.
  virtual ISoundDriver* GetDriver(unsigned index) const;
  // False when the index is not below the count; the current driver is then
  // unchanged.
  virtual bool SetCurrentDriver(unsigned index);
  // The current driver's Destroy, then no driver is current.
  virtual void ReleaseCurrentDriver();

  // From a file open for reading. The id is the given one, or the file name
  // when it is empty. A loaded id of the same kind is shared (one more
  // reference, the other arguments ignored). Otherwise the first sound codec
  // that takes the file name and gives an object wins; the object gets the
  // loop flag, volume and volume factor. Unless unmanaged it is kept under
  // the id; an unmanaged object belongs to the caller and never touches the
  // map. An id held by a piece of music gives null.
  virtual Sound* LoadSound(File& file, const std::wstring& fileName, int looped, float volume,
                           float volumeKoeff, const std::wstring& id, bool unmanaged);
  virtual Sound* LoadSound(const std::wstring& fileName, int looped, float volume, float volumeKoeff,
                           const std::wstring& id, bool unmanaged);
  // The same for music; an id held by a sound gives null.
  virtual Music* LoadMusic(File& file, const std::wstring& fileName, int looped, float volume,
                           float volumeKoeff, const std::wstring& id, bool unmanaged);
  virtual Music* LoadMusic(const std::wstring& fileName, int looped, float volume, float volumeKoeff,
                           const std::wstring& id, bool unmanaged);
  // Drops one reference; the last deletes the object. False for null and for
  // an object the map does not hold.
  virtual bool FreeSound(Sound* sound);
  virtual bool FreeMusic(Music* music);
  // The kept object of the id when it is of that kind, else null; the count
  // is not changed.
  virtual Sound* GetSound(const std::wstring& id) const;
  virtual Music* GetMusic(const std::wstring& id) const;
  // Deletes every kept object; unless silent, a non-empty map is reported
  // first with the manager's dump.
  virtual void CleanupEverything(bool silent);

 private:
  SoundSystem();
  // The loads of both kinds (Sound or Music).
  template <class Kind>
  Kind* Load(File& file, const std::wstring& fileName, int looped, float volume, float volumeKoeff,
             const std::wstring& id, bool unmanaged);
  template <class Kind>
  Kind* Load(const std::wstring& fileName, int looped, float volume, float volumeKoeff,
             const std::wstring& id, bool unmanaged);

  Registry<ISoundDriver> _drivers{{L"Warning: trying to register the same sound driver twice.\r\n",
                                   L"Warning: trying to unregister not registered sound driver.\r\n"}};
};

}  // namespace LLF
