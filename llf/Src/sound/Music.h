#pragma once
// A piece of music, handed out by the sound system under an id and
// played through the current sound driver.
#include "sound/AudioObject.h"

namespace LLF {

class Music : public AudioObject {
 public:
  Music() = default;
  LLF_KIND_OF(Music, Object)
  ~Music() override;
  std::wstring Dump() const override { return DumpAs(L"Music"); }

 protected:
  void ApplyThrough(ISoundDriver& driver) override;
  void FreeThrough(ISoundDriver& driver) override;
};

}  // namespace LLF
