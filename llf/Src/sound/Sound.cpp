#include "sound/Sound.h"

#include "sound/ISoundDriver.h"

namespace LLF {

Sound::~Sound() {
  ReleaseHandle();
}

void Sound::ApplyThrough(ISoundDriver& driver) {
  driver.UpdateSound(this);
}

void Sound::FreeThrough(ISoundDriver& driver) {
  driver.FreeSoundData(this);
}

}  // namespace LLF
