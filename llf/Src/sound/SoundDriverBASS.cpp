#include "sound/SoundDriverBASS.h"

#include <iterator>

#include "app/AppWindow.h"
#include "core/Log.h"
#include "sound/Music.h"
#include "sound/Sound.h"

namespace LLF {

namespace {

// The warnings for objects without a channel.
constexpr const wchar_t* kPlaySoundChannel =
    L"Warning: Trying to play a Sound that doesn't have valid channel.";
constexpr const wchar_t* kPauseSoundChannel =
    L"Warning: Trying to pause a Sound that doesn't have valid channel.";
constexpr const wchar_t* kResumeSoundChannel =
    L"Warning: Trying to resume a Sound that doesn't have valid channel.";
constexpr const wchar_t* kStopSoundChannel =
    L"Warning: Trying to stop a Sound that doesn't have valid channel.";
constexpr const wchar_t* kPlayMusicChannel =
    L"Warning: Trying to play a Music that doesn't have valid channel.";
constexpr const wchar_t* kPauseMusicChannel =
    L"Warning: Trying to pause a Music that doesn't have valid channel.";

}  // namespace

SoundDriverBASS::SoundDriverBASS()
    : _library(L"BASS.DLL", kBassFunctionNames, std::size(kBassFunctionNames)) {
  _library.Load();
  _library.CopyFunctions(&_api, sizeof _api);
}

SoundDriverBASS::~SoundDriverBASS() {
  _library.Release();
}

bool SoundDriverBASS::Init(const SoundSettings& settings) {
  if (!IsLibraryLoaded()) return false;
  _settings = settings;
  const unsigned rate = OutputRate(settings.sampleRate);
  const wchar_t* sixteenBit = settings.sixteenBit ? L"yes" : L"no";
  Log& log = Log::GetInstance();
  log.WriteFormat(L"Initializing SoundDriverBASS( frequency: %d, 16bit: %s )...", rate, sixteenBit);
  if (!_api.Init(kBassDefaultDevice, rate, settings.sixteenBit ? 0 : kBassDevice8Bits,
                 AppWindow::GetInstance().GetHandle())) {
    log.WriteFormat(
        L"Warning: Can't initialize SoundDriverBass. BASS_Init failed. "
        L"Parameters: Frequency - %u, 16 bit - %s",
        rate, sixteenBit);
    return false;
  }
  log.Write(L"SoundDriverBASS initialized successfully.");
  return true;
}

void SoundDriverBASS::Destroy() {
  if (!IsLibraryLoaded()) return;
  _api.Free();
  Log::GetInstance().Write(L"SoundDriverBASS destroyed successfully.");
}

bool SoundDriverBASS::StartAll() {
  return IsLibraryLoaded() && _api.Start() == 1;
}

bool SoundDriverBASS::PauseAll() {
  return IsLibraryLoaded() && _api.Pause() == 1;
}

bool SoundDriverBASS::StopAll() {
  return IsLibraryLoaded() && _api.Stop() == 1;
}

uint32_t SoundDriverBASS::ChannelFor(AudioObject* object, Target target, const wchar_t* nullWarning,
                                     const wchar_t* channelWarning) const {
  if (!object) {
    Log::GetInstance().Write(nullWarning);
    return 0;
  }
  if (!IsLibraryLoaded()) return 0;
  const Record* record = RecordOf<Record>(object);
  const uint32_t channel = !record ? 0 : target == Target::kSoundChannel ? record->channel : record->handle;
  if (!channel) Log::GetInstance().Write(channelWarning);
  return channel;
}

int32_t SoundDriverBASS::LibraryVolume(float effective) {
  // The volume factor is not clamped, so the product may leave 0..100.
  if (!(effective > 0.0f)) return 0;
  return effective >= 100.0f ? 100 : static_cast<int32_t>(effective);
}

bool SoundDriverBASS::PlaySound(Sound* sound) {
  if (!sound) {
    Log::GetInstance().Write(kPlayNullSound);
    return false;
  }
  if (!IsLibraryLoaded()) return false;
  UpdateSound(sound);
  const uint32_t channel = ChannelFor(sound, Target::kSoundChannel, kPlayNullSound, kPlaySoundChannel);
  return channel && _api.ChannelPlay(channel, 1) != 0;
}

bool SoundDriverBASS::PlayMusic(Music* music) {
  if (!music) {
    Log::GetInstance().Write(kPlayNullMusic);
    return false;
  }
  if (!IsLibraryLoaded()) return false;
  UpdateMusic(music);
  const uint32_t channel = ChannelFor(music, Target::kMusicHandle, kPlayNullMusic, kPlayMusicChannel);
  return channel && _api.ChannelPlay(channel, 1) != 0;
}

bool SoundDriverBASS::PauseSound(Sound* sound) {
  const uint32_t channel = ChannelFor(sound, Target::kSoundChannel, kPauseNullSound, kPauseSoundChannel);
  return channel && _api.ChannelPause(channel) != 0;
}

bool SoundDriverBASS::ResumeSound(Sound* sound) {
  const uint32_t channel = ChannelFor(sound, Target::kSoundChannel, kResumeNullSound, kResumeSoundChannel);
  return channel && _api.ChannelPlay(channel, 0) != 0;
}

bool SoundDriverBASS::StopSound(Sound* sound) {
  const uint32_t channel = ChannelFor(sound, Target::kSoundChannel, kStopNullSound, kStopSoundChannel);
  return channel && _api.ChannelStop(channel) != 0;
}

bool SoundDriverBASS::PauseMusic(Music* music) {
  const uint32_t channel = ChannelFor(music, Target::kMusicHandle, kPauseNullMusic, kPauseMusicChannel);
  return channel && _api.ChannelPause(channel) != 0;
}

bool SoundDriverBASS::ResumeMusic(Music* music) {
  const uint32_t channel = ChannelFor(music, Target::kMusicHandle, kPlayNullMusic, kPlayMusicChannel);
  return channel && _api.ChannelPlay(channel, 0) != 0;
}

bool SoundDriverBASS::StopMusic(Music* music) {
  const uint32_t channel = ChannelFor(music, Target::kMusicHandle, kPlayNullMusic, kPlayMusicChannel);
  return channel && _api.ChannelStop(channel) != 0;
}

void SoundDriverBASS::UpdateSound(Sound* sound) {
  if (!sound) {
    Log::GetInstance().Write(kUpdateNull);
    return;
  }
  if (!IsLibraryLoaded()) return;
  Record* record = RecordOf<Record>(sound);
  if (!record) return;
  const uint32_t flags = sound->IsLooped() ? kBassSampleLoop : 0;
  const int32_t volume = LibraryVolume(GetEffectiveSoundVolume(sound->GetVolume(), sound->GetVolumeKoeff()));
  switch (record->kind) {
    case Record::kSample: {
      // The sample's defaults serve the channel obtained first; a channel
      // already held gets the values directly.
      BassSampleInfo info{};
      if (!_api.SampleGetInfo(record->handle, &info)) return;
      info.flags = flags;
      info.volume = static_cast<uint32_t>(volume);
      if (!_api.SampleSetInfo(record->handle, &info)) return;
      if (!record->channel) {
        if (const uint32_t channel = _api.SampleGetChannel(record->handle, 0)) record->channel = channel;
        return;
      }
      if (!_api.ChannelSetAttributes(record->channel, kBassKeep, volume, kBassKeep)) return;
      _api.ChannelSetFlags(record->channel, flags);
      return;
    }
    case Record::kModule:
      record->channel = record->handle;
      if (!_api.ChannelSetAttributes(record->handle, kBassKeep, volume, kBassKeep)) return;
      _api.ChannelSetFlags(record->handle, flags);
      return;
    default:
      return;
  }
}

void SoundDriverBASS::UpdateMusic(Music* music) {
  if (!music) {
    Log::GetInstance().Write(kUpdateNull);
    return;
  }
  if (!IsLibraryLoaded()) return;
  const Record* record = RecordOf<Record>(music);
  if (!record || record->kind == Record::kSample) return;
  const int32_t volume = LibraryVolume(GetEffectiveMusicVolume(music->GetVolume(), music->GetVolumeKoeff()));
  if (!_api.ChannelSetAttributes(record->handle, kBassKeep, volume, kBassKeep)) return;
  _api.ChannelSetFlags(record->handle, music->IsLooped() ? kBassSampleLoop : 0);
}

void SoundDriverBASS::FreeSoundData(Sound* sound) {
  FreeRecordData(sound);
}

void SoundDriverBASS::FreeMusicData(Music* music) {
  FreeRecordData(music);
}

void SoundDriverBASS::FreeRecordData(AudioObject* object) {
  if (!object || !IsLibraryLoaded()) return;
  if (Record* record = RecordOf<Record>(object)) {
    switch (record->kind) {
      case Record::kSample:
        _api.SampleFree(record->handle);
        break;
      case Record::kModule:
        _api.MusicFree(record->handle);
        break;
      default:
        _api.StreamFree(record->handle);
        break;
    }
    record->handle = 0;
  }
}

}  // namespace LLF
