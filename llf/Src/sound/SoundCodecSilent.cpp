#include "sound/SoundCodecSilent.h"

#include "io/File.h"
#include "sound/Music.h"
#include "sound/Sound.h"

namespace LLF {

namespace {

constexpr const char* kDriver = "SoundDriverSilent";

}  // namespace

SoundCodecSilent::SoundCodecSilent() {
  Describe(L"Brenvik, 2007", L"Sound codecs for SoundDriverSilent", L"Silent sound codecs",
           L"anything! This will be ignored because of overloaded check function.");
}

Sound* SoundCodecSilent::LoadSound(File&) {
  return IsDriverCurrent(kDriver) ? new Sound : nullptr;
}

// The content is never read, so the file is not opened.
Sound* SoundCodecSilent::LoadSound(const std::wstring&) {
  File file;
  return LoadSound(file);
}

Music* SoundCodecSilent::LoadMusic(File&) {
  return IsDriverCurrent(kDriver) ? new Music : nullptr;
}

Music* SoundCodecSilent::LoadMusic(const std::wstring&) {
  File file;
  return LoadMusic(file);
}

}  // namespace LLF
