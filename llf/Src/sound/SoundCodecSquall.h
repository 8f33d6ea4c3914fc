#pragma once
// The Squall driver's codec: the library loads a sample from the open file
// through the driver's file callbacks. Loads only while the Squall driver is
// current.
#include "core/Singleton.h"
#include "sound/SoundCodec.h"

namespace LLF {

class SoundCodecSquall : public SoundCodec, public Singleton<SoundCodecSquall> {
  LLF_SINGLETON(SoundCodecSquall)

 public:
  LLF_KIND_OF(SoundCodecSquall, SoundCodec)
  ~SoundCodecSquall() override = default;

  Sound* LoadSound(File& file) override;
  Sound* LoadSound(const std::wstring& fileName) override { return OpenAndLoadSound(fileName); }
  Music* LoadMusic(File& file) override;
  Music* LoadMusic(const std::wstring& fileName) override { return OpenAndLoadMusic(fileName); }

 private:
  SoundCodecSquall();
};

}  // namespace LLF
