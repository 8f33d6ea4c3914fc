#include "sound/Music.h"

#include "sound/ISoundDriver.h"

namespace LLF {

Music::~Music() {
  ReleaseHandle();
}

void Music::ApplyThrough(ISoundDriver& driver) {
  driver.UpdateMusic(this);
}

void Music::FreeThrough(ISoundDriver& driver) {
  driver.FreeMusicData(this);
}

}  // namespace LLF
