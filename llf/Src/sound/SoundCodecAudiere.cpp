#include "sound/SoundCodecAudiere.h"

#include <vector>

#include "sound/SoundDriverAudiere.h"

namespace LLF {

namespace {

constexpr const char* kDriver = "SoundDriverAudiere";

}  // namespace

SoundCodecAudiere::SoundCodecAudiere() {
  Describe(L"Brenvik, 2008", L"Sound codecs for SoundDriverAudiere", L"Audiere sound codecs",
           L"ogg mp3 mp3 mp1 flac wav wave aiff mod s3m xm it");
}

Sound* SoundCodecAudiere::LoadSound(File& file) {
  std::vector<unsigned char> bytes;
  return ReadForDriver(kDriver, file, bytes) ? SoundDriverAudiere::GetInstance().MakeSound(std::move(bytes))
                                             : nullptr;
}

Music* SoundCodecAudiere::LoadMusic(File& file) {
  std::vector<unsigned char> bytes;
  return ReadForDriver(kDriver, file, bytes) ? SoundDriverAudiere::GetInstance().MakeMusic(std::move(bytes))
                                             : nullptr;
}

}  // namespace LLF
