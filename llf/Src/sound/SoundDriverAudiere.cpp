#include "sound/SoundDriverAudiere.h"

#include <climits>
#include <iterator>

#include "core/Log.h"
#include "sound/Music.h"
#include "sound/Sound.h"

namespace LLF {

namespace {

// Applies act to the entries that were playing when everything was held.
template <class List, class Act>
void ForWasPlaying(List& list, Act act) {
  for (auto& entry : list) {
    if (entry.wasPlaying) act(entry.object);
  }
}

template <class List>
void Unlist(List& list, const AudioObject* object) {
  std::erase_if(list,
                [object](const auto& entry) { return static_cast<AudioObject*>(entry.object) == object; });
}

}  // namespace

SoundDriverAudiere::SoundDriverAudiere()
    : _library(L"audiere.dll", kAudiereFunctionNames, std::size(kAudiereFunctionNames)) {
  static_assert(sizeof(Api) == std::size(kAudiereFunctionNames) * sizeof(void*), "one pointer for each name");
  _library.Load();
  _library.CopyFunctions(&_api, sizeof _api);
}

SoundDriverAudiere::~SoundDriverAudiere() {
  if (_device && IsLibraryLoaded()) _device->unref();
  _device = nullptr;
  _library.Release();
}

bool SoundDriverAudiere::Init(const SoundSettings& settings) {
  if (!IsLibraryLoaded()) return false;
  _settings = settings;
  Log& log = Log::GetInstance();
  log.Write(L"Initializing SoundDriverAudiere...");
  AudiereApi::AudioDevice* device = _api.OpenDevice("", "");
  {
    MutexLock lock(_lock);
    if (_device) _device->unref();
    _device = device;
  }
  if (!device) {
    log.Write(L"Warning: Can't initialize SoundDriverAudiere. AdrOpenDevice failed.");
    return false;
  }
  log.Write(L"SoundDriverAudiere initialized successfully.");
  return true;
}

void SoundDriverAudiere::Destroy() {
  if (!IsLibraryLoaded()) return;
  {
    MutexLock lock(_lock);
    if (_device) _device->unref();
    _device = nullptr;
  }
  Log::GetInstance().Write(L"SoundDriverAudiere destroyed successfully.");
}

void SoundDriverAudiere::Update() {
  if (!IsLibraryLoaded()) return;
  MutexLock lock(_lock);
  if (_device) _device->update();
}

template <class Kind, class Act>
void SoundDriverAudiere::HoldPlaying(std::vector<Entry<Kind>>& list, Act act) {
  for (Entry<Kind>& entry : list) {
    const Record* record = RecordOf<Record>(entry.object);
    entry.wasPlaying = record && record->stream && record->stream->isPlaying();
    if (entry.wasPlaying) act(entry.object);
  }
}

bool SoundDriverAudiere::PauseAll() {
  if (!IsLibraryLoaded()) return false;
  MutexLock lock(_lock);
  _stoppedAll = false;
  _pausedAll = true;
  HoldPlaying(_musics, [this](Music* music) { PauseMusic(music); });
  HoldPlaying(_sounds, [this](Sound* sound) { PauseSound(sound); });
  return true;
}

bool SoundDriverAudiere::StopAll() {
  if (!IsLibraryLoaded()) return false;
  MutexLock lock(_lock);
  _stoppedAll = true;
  _pausedAll = false;
  HoldPlaying(_musics, [this](Music* music) { StopMusic(music); });
  HoldPlaying(_sounds, [this](Sound* sound) { StopSound(sound); });
  return true;
}

bool SoundDriverAudiere::StartAll() {
  if (!IsLibraryLoaded()) return false;
  MutexLock lock(_lock);
  if (_pausedAll) {
    ForWasPlaying(_musics, [this](Music* music) { ResumeMusic(music); });
    ForWasPlaying(_sounds, [this](Sound* sound) { ResumeSound(sound); });
  } else if (_stoppedAll) {
    ForWasPlaying(_musics, [this](Music* music) { PlayMusic(music); });
    ForWasPlaying(_sounds, [this](Sound* sound) { PlaySound(sound); });
  }
  return true;
}

SoundDriverAudiere::Record* SoundDriverAudiere::Checked(AudioObject* object,
                                                        const wchar_t* nullWarning) const {
  if (!object) {
    Log::GetInstance().Write(nullWarning);
    return nullptr;
  }
  Record* record = IsLibraryLoaded() ? RecordOf<Record>(object) : nullptr;
  return record && record->stream ? record : nullptr;
}

void SoundDriverAudiere::Apply(Record& record, bool looped, float effectiveVolume) {
  record.stream->setRepeat(looped);
  record.stream->setVolume(effectiveVolume / 100.0f);
}

void SoundDriverAudiere::UpdateSound(Sound* sound) {
  if (Record* record = Checked(sound, kUpdateNull)) {
    Apply(*record, sound->IsLooped(), GetEffectiveSoundVolume(sound->GetVolume(), sound->GetVolumeKoeff()));
  }
}

void SoundDriverAudiere::UpdateMusic(Music* music) {
  if (Record* record = Checked(music, kUpdateNull)) {
    Apply(*record, music->IsLooped(), GetEffectiveMusicVolume(music->GetVolume(), music->GetVolumeKoeff()));
  }
}

bool SoundDriverAudiere::PlaySound(Sound* sound) {
  Record* record = Checked(sound, kPlayNullSound);
  if (!record) return false;
  UpdateSound(sound);
  record->stream->reset();
  record->stream->play();
  return true;
}

bool SoundDriverAudiere::PlayMusic(Music* music) {
  Record* record = Checked(music, kPlayNullMusic);
  if (!record) return false;
  UpdateMusic(music);
  record->stream->reset();
  record->stream->play();
  return true;
}

bool SoundDriverAudiere::PauseSound(Sound* sound) {
  Record* record = Checked(sound, kPauseNullSound);
  if (record) record->stream->stop();
  return record != nullptr;
}

bool SoundDriverAudiere::ResumeSound(Sound* sound) {
  Record* record = Checked(sound, kResumeNullSound);
  if (record) record->stream->play();
  return record != nullptr;
}

bool SoundDriverAudiere::StopSound(Sound* sound) {
  Record* record = Checked(sound, kStopNullSound);
  if (!record) return false;
  record->stream->stop();
  record->stream->reset();
  return true;
}

bool SoundDriverAudiere::PauseMusic(Music* music) {
  Record* record = Checked(music, kPauseNullMusic);
  if (record) record->stream->stop();
  return record != nullptr;
}

bool SoundDriverAudiere::ResumeMusic(Music* music) {
  Record* record = Checked(music, kPlayNullMusic);
  if (record) record->stream->play();
  return record != nullptr;
}

bool SoundDriverAudiere::StopMusic(Music* music) {
  Record* record = Checked(music, kPlayNullMusic);
  if (!record) return false;
  record->stream->stop();
  record->stream->reset();
  return true;
}

void SoundDriverAudiere::FreeSoundData(Sound* sound) {
  FreeRecordData(sound);
}

void SoundDriverAudiere::FreeMusicData(Music* music) {
  FreeRecordData(music);
}

void SoundDriverAudiere::FreeRecordData(AudioObject* object) {
  if (!object || !IsLibraryLoaded()) return;
  Record* record = RecordOf<Record>(object);
  if (!record) return;
  MutexLock lock(_lock);
  if (record->stream) record->stream->unref();
  record->stream = nullptr;
  std::vector<unsigned char>().swap(record->buffer);
  Unlist(_sounds, object);
  Unlist(_musics, object);
}

SoundDriverAudiere::Record* SoundDriverAudiere::MakeRecord(std::vector<unsigned char>& bytes,
                                                           bool streaming) {
  if (!IsLibraryLoaded() || bytes.size() > size_t{INT_MAX}) return nullptr;
  MutexLock lock(_lock);
  if (!_device) return nullptr;
  AudiereApi::File* file = _api.CreateMemoryFile(bytes.data(), static_cast<int>(bytes.size()));
  if (!file) return nullptr;
  AudiereApi::SampleSource* source = _api.OpenSampleSourceFromFile(file, 0);
  file->unref();
  if (!source) return nullptr;
  AudiereApi::OutputStream* stream = _api.OpenSound(_device, source, streaming);
  source->unref();
  // The memory file reads the bytes in place; moving them keeps them where
  // they are.
  return stream ? new Record(this, stream, std::move(bytes)) : nullptr;
}

Sound* SoundDriverAudiere::MakeSound(std::vector<unsigned char> bytes) {
  Record* record = MakeRecord(bytes, false);
  if (!record) return nullptr;
  auto* sound = new Sound;
  sound->SetHandle(record);
  MutexLock lock(_lock);
  _sounds.push_back({false, sound});
  return sound;
}

Music* SoundDriverAudiere::MakeMusic(std::vector<unsigned char> bytes) {
  Record* record = MakeRecord(bytes, true);
  if (!record) return nullptr;
  auto* music = new Music;
  music->SetHandle(record);
  MutexLock lock(_lock);
  _musics.push_back({false, music});
  return music;
}

}  // namespace LLF
