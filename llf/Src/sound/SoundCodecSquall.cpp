#include "sound/SoundCodecSquall.h"

#include "sound/Music.h"
#include "sound/Sound.h"
#include "sound/SoundDriverSquall.h"

namespace LLF {

namespace {

constexpr const char* kDriver = "SoundDriverSquall";

}  // namespace

SoundCodecSquall::SoundCodecSquall() {
  Describe(L"Brenvik, 2007", L"Sound codecs for SoundDriverSquall", L"Squall sound codecs",
           L"wav wave ogg mp3 mp2 mp1 aiff mo3 it xm s3m mtm mod umx");
}

Sound* SoundCodecSquall::LoadSound(File& file) {
  return IsDriverCurrent(kDriver) ? MadeWith<Sound>(SoundDriverSquall::GetInstance().LoadSample(file))
                                  : nullptr;
}

Music* SoundCodecSquall::LoadMusic(File& file) {
  return IsDriverCurrent(kDriver) ? MadeWith<Music>(SoundDriverSquall::GetInstance().LoadSample(file))
                                  : nullptr;
}

}  // namespace LLF
