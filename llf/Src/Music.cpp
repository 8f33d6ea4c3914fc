#include "Music.h"

#include "ISoundDriver.h"

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
