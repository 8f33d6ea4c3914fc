#include "sound/SoundSystem.h"

#include "core/Log.h"
#include "io/File.h"
#include "sound/SoundCodec.h"

namespace LLF {

namespace {

constexpr const wchar_t* kNotCodec = L"Warning: Not SoundCodec is registered in SoundSystem codecs list.\r\n";
constexpr const wchar_t* kLeaked = L"WARNING: Some audio files are not freed. Leaked files list follows:";
constexpr const wchar_t* kDumpTitle = L"SoundSystem class. Info:";
constexpr const wchar_t* kDumpCount = L"Audio files loaded: ";
constexpr const wchar_t* kDumpList = L"Audio files list(only ID's): ";

const CodecsManager<AudioObject>::Texts kSoundTexts = {
    "SoundCodec",
    kNotCodec,
    L"Sound loaded \"",
    L"Error: LoadSound failed. Corresponding codec was not found for this file format.\r\nFilename: ",
    L"\r\nSound ID: ",
    L"Sound \"",
    kLeaked,
    kDumpTitle,
    kDumpCount,
    kDumpList,
    L"Error: LoadSound failed. The ID is already used by a music.\r\nFilename: ",
};

const CodecsManager<AudioObject>::Texts kMusicTexts = {
    "SoundCodec",
    kNotCodec,
    L"Music loaded \"",
    L"Error: LoadMusic failed. Corresponding codec was not found for this file format.\r\nFilename: ",
    L"\r\nMusic ID: ",
    L"Music \"",
    kLeaked,
    kDumpTitle,
    kDumpCount,
    kDumpList,
    L"Error: LoadMusic failed. The ID is already used by a sound.\r\nFilename: ",
};

// The loads of sounds and music differ only in their texts and the codec
// operation; Kind is Sound or Music.
template <class Kind>
struct Loading;

template <>
struct Loading<Sound> {
  static constexpr const char* kKind = "Sound";
  static constexpr const wchar_t* kCantOpen = L"Error: LoadSound failed. Can't open sound file. Filename: ";
  static constexpr const wchar_t* kCantOpenId = L" Sound ID: ";
  static const CodecsManager<AudioObject>::Texts& Texts() { return kSoundTexts; }
  static Sound* Load(SoundCodec& codec, File& file) { return codec.LoadSound(file); }
};

template <>
struct Loading<Music> {
  static constexpr const char* kKind = "Music";
  static constexpr const wchar_t* kCantOpen = L"Error: LoadMusic failed. Can't open music file. Filename: ";
  static constexpr const wchar_t* kCantOpenId = L" Music ID: ";
  static const CodecsManager<AudioObject>::Texts& Texts() { return kMusicTexts; }
  static Music* Load(SoundCodec& codec, File& file) { return codec.LoadMusic(file); }
};

}  // namespace

SoundSystem::SoundSystem() : CodecsManager<AudioObject>(kSoundTexts) {}

SoundSystem::~SoundSystem() = default;

std::wstring SoundSystem::Dump() const {
  return DumpResources();
}

unsigned SoundSystem::GetDriversCount() const {
  return _drivers.GetCount();
}

ISoundDriver* SoundSystem::GetCurrentDriver() const {
  return _drivers.GetCurrent();
}

bool SoundSystem::RegisterDriver(ISoundDriver* driver) {
  return _drivers.Register(driver);
}

bool SoundSystem::UnregisterDriver(ISoundDriver* driver) {
  return _drivers.Unregister(driver);
}

ISoundDriver* SoundSystem::GetDriver(unsigned index) const {
  return _drivers.Get(index);
}

bool SoundSystem::SetCurrentDriver(unsigned index) {
  return _drivers.SetCurrent(index);
}

void SoundSystem::ReleaseCurrentDriver() {
  _drivers.ReleaseCurrent();
}

template <class Kind>
Kind* SoundSystem::Load(File& file, const std::wstring& fileName, int looped, float volume, float volumeKoeff,
                        const std::wstring& id, bool unmanaged) {
  using L = Loading<Kind>;
  AudioObject* object = LoadResource(
      L::Texts(), L::kKind, fileName, id, unmanaged, false,
      [&file](ICodec* codec) -> AudioObject* {
        auto* soundCodec = dynamic_cast<SoundCodec*>(codec);
        return soundCodec ? L::Load(*soundCodec, file) : nullptr;
      },
      [&](AudioObject* loaded) {
        auto* audio = dynamic_cast<Kind*>(loaded);
        audio->SetLooped(looped != 0);
        audio->SetVolume(volume);
        audio->SetVolumeKoeff(volumeKoeff);
      });
  return dynamic_cast<Kind*>(object);
}

template <class Kind>
Kind* SoundSystem::Load(const std::wstring& fileName, int looped, float volume, float volumeKoeff,
                        const std::wstring& id, bool unmanaged) {
  using L = Loading<Kind>;
  File file;
  if (!file.OpenExisting(fileName, FILEOPS_READ)) {
    Log::GetInstance().Write(L::kCantOpen + fileName + L::kCantOpenId + id);
    return nullptr;
  }
  Kind* object = Load<Kind>(file, fileName, looped, volume, volumeKoeff, id, unmanaged);
  file.Close();
  return object;
}

Sound* SoundSystem::LoadSound(File& file, const std::wstring& fileName, int looped, float volume,
                              float volumeKoeff, const std::wstring& id, bool unmanaged) {
  return Load<Sound>(file, fileName, looped, volume, volumeKoeff, id, unmanaged);
}

Sound* SoundSystem::LoadSound(const std::wstring& fileName, int looped, float volume, float volumeKoeff,
                              const std::wstring& id, bool unmanaged) {
  return Load<Sound>(fileName, looped, volume, volumeKoeff, id, unmanaged);
}

Music* SoundSystem::LoadMusic(File& file, const std::wstring& fileName, int looped, float volume,
                              float volumeKoeff, const std::wstring& id, bool unmanaged) {
  return Load<Music>(file, fileName, looped, volume, volumeKoeff, id, unmanaged);
}

Music* SoundSystem::LoadMusic(const std::wstring& fileName, int looped, float volume, float volumeKoeff,
                              const std::wstring& id, bool unmanaged) {
  return Load<Music>(fileName, looped, volume, volumeKoeff, id, unmanaged);
}

bool SoundSystem::FreeSound(Sound* sound) {
  return ReleaseResource(sound, kSoundTexts);
}

bool SoundSystem::FreeMusic(Music* music) {
  return ReleaseResource(music, kMusicTexts);
}

Sound* SoundSystem::GetSound(const std::wstring& id) const {
  return dynamic_cast<Sound*>(FindResource(id));
}

Music* SoundSystem::GetMusic(const std::wstring& id) const {
  return dynamic_cast<Music*>(FindResource(id));
}

void SoundSystem::CleanupEverything(bool silent) {
  CleanupResources(silent);
}

}  // namespace LLF
