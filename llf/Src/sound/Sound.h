#pragma once
// A short sound effect, handed out by the sound system under an id and
// played through the current sound driver.
#include "sound/AudioObject.h"

namespace LLF {

class Sound : public AudioObject {
 public:
  Sound() = default;
  LLF_KIND_OF(Sound, Object)
  ~Sound() override;
  std::wstring Dump() const override { return DumpAs(L"Sound"); }

 protected:
  void ApplyThrough(ISoundDriver& driver) override;
  void FreeThrough(ISoundDriver& driver) override;
};

}  // namespace LLF
