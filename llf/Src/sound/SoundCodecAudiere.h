#pragma once
// The Audiere driver's codec: a sound or a piece of music becomes an output
// stream over the file's bytes. Loads only while the Audiere driver is
// current.
#include "core/Singleton.h"
#include "sound/SoundCodec.h"

namespace LLF {

class SoundCodecAudiere : public SoundCodec, public Singleton<SoundCodecAudiere> {
  LLF_SINGLETON(SoundCodecAudiere)

 public:
  LLF_KIND_OF(SoundCodecAudiere, SoundCodec)
  ~SoundCodecAudiere() override = default;

  Sound* LoadSound(File& file) override;
  Sound* LoadSound(const std::wstring& fileName) override { return OpenAndLoadSound(fileName); }
  Music* LoadMusic(File& file) override;
  Music* LoadMusic(const std::wstring& fileName) override { return OpenAndLoadMusic(fileName); }

 private:
  SoundCodecAudiere();
};

}  // namespace LLF
