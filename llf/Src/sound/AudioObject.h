#pragma once
// What a sound and a piece of music both are: a loop flag, a volume, a
// second volume factor and the handle to the record their driver keeps.
// Changing the loop flag or the volume is applied at once through the
// driver: the one that made the object, or for an object without a record
// the current one. The object owns its record; the destructor of Sound and
// Music has the driver that made it free the data behind it.
//
// It takes no part in
// the type test.
#include <atomic>
#include <string>

#include "core/Object.h"
#include "sound/SoundHandle.h"

namespace LLF {

class ISoundDriver;

class AudioObject : public virtual Object {
 public:
  AudioObject() = default;
  AudioObject(const AudioObject&) = delete;
  AudioObject& operator=(const AudioObject&) = delete;
  // Deletes a record still held without a driver call (Sound and Music free
  // theirs through the driver first).
  ~AudioObject() override;

  virtual bool IsLooped() const { return _looped; }
  virtual float GetVolume() const { return _volume; }
  virtual SoundHandle* GetHandle() const { return _handle; }
  virtual float GetVolumeKoeff() const { return _volumeKoeff; }
  virtual void SetLooped(bool looped);
  // Clamped to 0..100.
  virtual void SetVolume(float volume);
  // Takes ownership of the record.
  virtual void SetHandle(SoundHandle* handle) { _handle = handle; }
  // Not clamped; applied with the next update.
  virtual void SetVolumeKoeff(float volumeKoeff) { _volumeKoeff = volumeKoeff; }

 protected:
  // The driver's update for this kind of object.
  virtual void ApplyThrough(ISoundDriver& driver) = 0;
  // The driver's free for this kind of object.
  virtual void FreeThrough(ISoundDriver& driver) = 0;
  // "Sound: Looped - no Volume - 100 Handle - 00000000" with the given kind.
  std::wstring DumpAs(const wchar_t* kind) const;
  // For the destructors of Sound and Music: the driver that made the record
  // frees its data (while it exists), then the record is deleted.
  void ReleaseHandle();

 private:
  // The driver that made the record, or the current one when there is none.
  ISoundDriver* Driver() const;

  // Set on the asset loader's thread, read on the main thread.
  std::atomic<bool> _looped{false};
  std::atomic<float> _volume{100.0f};
  std::atomic<float> _volumeKoeff{100.0f};
  SoundHandle* _handle = nullptr;
};

}  // namespace LLF
