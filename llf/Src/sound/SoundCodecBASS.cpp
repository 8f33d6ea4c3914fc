#include "sound/SoundCodecBASS.h"

#include <type_traits>
#include <utility>
#include <vector>

#include "core/StringUtils.h"
#include "sound/Music.h"
#include "sound/Sound.h"
#include "sound/SoundDriverBASS.h"

namespace LLF {

namespace {

using Record = SoundDriverBASS::Record;

Record* MakeRecord(SoundDriverBASS& driver, uint32_t handle, Record::Kind kind,
                   std::vector<unsigned char> buffer = {}) {
  auto* record = new Record(&driver, handle, kind);
  record->buffer = std::move(buffer);
  return record;
}

}  // namespace

SoundCodecBASS::SoundCodecBASS() {
  Describe(L"Brenvik, 2007", L"Sound codecs for SoundDriverBASS", L"BASS sound codecs",
           L"wav wave ogg mp3 mp2 mp1 aiff mo3 it xm s3m mtm mod umx");
}

Sound* SoundCodecBASS::LoadSound(File& file) {
  return Load<Sound>(file);
}

Music* SoundCodecBASS::LoadMusic(File& file) {
  return Load<Music>(file);
}

template <class Kind>
Kind* SoundCodecBASS::Load(File& file) {
  constexpr bool kMusic = std::is_same_v<Kind, Music>;
  std::vector<unsigned char> bytes;
  if (!ReadForDriver("SoundDriverBASS", file, bytes)) return nullptr;
  SoundDriverBASS& driver = SoundDriverBASS::GetInstance();
  if (!driver.IsLibraryLoaded()) return nullptr;
  const BassFunctions& api = driver._api;
  const auto length = static_cast<uint32_t>(bytes.size());
  const SoundSettings& settings = driver.GetSettings();
  // A sound is a sample decoded whole; the library copies what it decodes.
  if (!kMusic) {
    if (const uint32_t sample = api.SampleLoad(1, bytes.data(), 0, length, kBassMaxSampleChannels, 0)) {
      return MadeWith<Kind>(MakeRecord(driver, sample, Record::kSample));
    }
  }
  if (const uint32_t module = api.MusicLoad(
          1, bytes.data(), 0, length, settings.sixteenBit ? 0 : kBassDevice8Bits, settings.sampleRate)) {
    return MadeWith<Kind>(MakeRecord(driver, module, Record::kModule));
  }
  // Music is a stream that reads the bytes while it plays: its record keeps them.
  if (kMusic) {
    if (const uint32_t stream = api.StreamCreateFile(1, bytes.data(), 0, length, 0)) {
      return MadeWith<Kind>(MakeRecord(driver, stream, Record::kStream, std::move(bytes)));
    }
  }
  SetLastError(L"The sound library cannot read the file " + FileNameOf(file) + L". Error code: " +
               ToString(int(api.ErrorGetCode())));
  return nullptr;
}

}  // namespace LLF
