#pragma once
// The silent driver's codec: any file name, any content, gives an object
// without driver data while the silent driver is current.
#include "core/Singleton.h"
#include "sound/SoundCodec.h"

namespace LLF {

class SoundCodecSilent : public SoundCodec, public Singleton<SoundCodecSilent> {
  LLF_SINGLETON(SoundCodecSilent)

 public:
  LLF_KIND_OF(SoundCodecSilent, SoundCodec)
  ~SoundCodecSilent() override = default;

  // Every name is taken.
  bool IsExtensionSupported(const std::wstring&) const override { return true; }
  Sound* LoadSound(File& file) override;
  Sound* LoadSound(const std::wstring& fileName) override;
  Music* LoadMusic(File& file) override;
  Music* LoadMusic(const std::wstring& fileName) override;

 private:
  SoundCodecSilent();
};

}  // namespace LLF
