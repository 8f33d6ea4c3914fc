#include "SoundCodecSquall.h"

#include "Music.h"
#include "Sound.h"
#include "SoundDriverSquall.h"

namespace LLF {

namespace {

template <class Kind>
Kind* Load(File& file, bool driverCurrent) {
  if (!driverCurrent) return nullptr;
  SoundDriverSquall::Record* record = SoundDriverSquall::GetInstance().LoadSample(file);
  if (!record) return nullptr;
  auto* object = new Kind;
  object->SetHandle(record);
  return object;
}

}  // namespace

SoundCodecSquall::SoundCodecSquall() {
  Describe(L"Brenvik, 2007", L"Sound codecs for SoundDriverSquall", L"Squall sound codecs",
           L"wav wave ogg mp3 mp2 mp1 aiff mo3 it xm s3m mtm mod umx");
}

Sound* SoundCodecSquall::LoadSound(File& file) {
  return Load<Sound>(file, IsDriverCurrent("SoundDriverSquall"));
}

Music* SoundCodecSquall::LoadMusic(File& file) {
  return Load<Music>(file, IsDriverCurrent("SoundDriverSquall"));
}

}  // namespace LLF
