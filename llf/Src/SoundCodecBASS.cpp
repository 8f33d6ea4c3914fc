#include "SoundCodecBASS.h"

#include <utility>
#include <vector>

#include "Music.h"
#include "Sound.h"
#include "SoundDriverBASS.h"
#include "StringUtils.h"

namespace LLF {

namespace {

using Record = SoundDriverBASS::Record;

template <class Kind>
Kind* Made(SoundDriverBASS& driver, uint32_t handle, Record::Kind kind,
           std::vector<unsigned char> buffer = {}) {
  auto* record = new Record(&driver, handle, kind);
  record->buffer = std::move(buffer);
  auto* object = new Kind;
  object->SetHandle(record);
  return object;
}

// The flags and rate a module is loaded with.
uint32_t ModuleFlags(const SoundSettings& settings) {
  return settings.sixteenBit ? 0 : kBassDevice8Bits;
}

}  // namespace

SoundCodecBASS::SoundCodecBASS() {
  Describe(L"Brenvik, 2007", L"Sound codecs for SoundDriverBASS", L"BASS sound codecs",
           L"wav wave ogg mp3 mp2 mp1 aiff mo3 it xm s3m mtm mod umx");
}

Sound* SoundCodecBASS::LoadSound(File& file) {
  std::vector<unsigned char> bytes;
  if (!ReadForDriver("SoundDriverBASS", file, bytes)) return nullptr;
  SoundDriverBASS& driver = SoundDriverBASS::GetInstance();
  if (!driver.IsLibraryLoaded()) return nullptr;
  const auto& api = driver._api;
  const auto length = static_cast<uint32_t>(bytes.size());
  // The library copies what it decodes, so the bytes go with this call.
  if (const uint32_t sample = api.SampleLoad(1, bytes.data(), 0, length, kBassMaxSampleChannels, 0)) {
    return Made<Sound>(driver, sample, Record::kSample);
  }
  const SoundSettings& settings = driver.GetSettings();
  if (const uint32_t module =
          api.MusicLoad(1, bytes.data(), 0, length, ModuleFlags(settings), settings.sampleRate)) {
    return Made<Sound>(driver, module, Record::kModule);
  }
  SetLastError(L"The sound library cannot read the file " + FileNameOf(file) + L". Error code: " +
               ToString(int(api.ErrorGetCode())));
  return nullptr;
}

Music* SoundCodecBASS::LoadMusic(File& file) {
  std::vector<unsigned char> bytes;
  if (!ReadForDriver("SoundDriverBASS", file, bytes)) return nullptr;
  SoundDriverBASS& driver = SoundDriverBASS::GetInstance();
  if (!driver.IsLibraryLoaded()) return nullptr;
  const auto& api = driver._api;
  const auto length = static_cast<uint32_t>(bytes.size());
  const SoundSettings& settings = driver.GetSettings();
  if (const uint32_t module =
          api.MusicLoad(1, bytes.data(), 0, length, ModuleFlags(settings), settings.sampleRate)) {
    return Made<Music>(driver, module, Record::kModule);
  }
  // A stream reads the bytes while it plays: its record keeps them.
  if (const uint32_t stream = api.StreamCreateFile(1, bytes.data(), 0, length, 0)) {
    return Made<Music>(driver, stream, Record::kStream, std::move(bytes));
  }
  SetLastError(L"The sound library cannot read the file " + FileNameOf(file) + L". Error code: " +
               ToString(int(api.ErrorGetCode())));
  return nullptr;
}

}  // namespace LLF
