#pragma once
// The BASS driver's codec: a sound becomes a sample decoded whole (or a
// module), a piece of music a module or a stream over the file's bytes.
// Loads only while the BASS driver is current.
#include "core/Singleton.h"
#include "sound/SoundCodec.h"

namespace LLF {

class SoundCodecBASS : public SoundCodec, public Singleton<SoundCodecBASS> {
  LLF_SINGLETON(SoundCodecBASS)

 public:
  LLF_KIND_OF(SoundCodecBASS, SoundCodec)
  ~SoundCodecBASS() override = default;

  Sound* LoadSound(File& file) override;
  Sound* LoadSound(const std::wstring& fileName) override { return OpenAndLoadSound(fileName); }
  Music* LoadMusic(File& file) override;
  Music* LoadMusic(const std::wstring& fileName) override { return OpenAndLoadMusic(fileName); }

 private:
  SoundCodecBASS();
  // A sound is a sample, else a module; a piece of music a module, else a
  // stream.
  template <class Kind>
  Kind* Load(File& file);
};

}  // namespace LLF
