#include "sound/SoundCodec.h"

#include "core/Log.h"
#include "io/File.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"

namespace LLF {

namespace {

// Opens the named file for the codec's open-file load.
template <class Load>
auto OpenAndLoad(const std::wstring& fileName, const wchar_t* failure, Load load)
    -> decltype(load(std::declval<File&>())) {
  File file;
  if (!file.OpenExisting(fileName, FILEOPS_READ)) {
    Log::GetInstance().Write(failure + fileName);
    return nullptr;
  }
  return load(file);
}

}  // namespace

SoundCodec::SoundCodec() {
  _description = L"Abstract SoundCodec class";
  _shortDescription = L"SoundCodec class";
}

void SoundCodec::Describe(const wchar_t* author, const wchar_t* description, const wchar_t* shortDescription,
                          const wchar_t* extensions) {
  _author = author;
  _version = L"1.0";
  _description = description;
  _shortDescription = shortDescription;
  _extensions = extensions;
}

bool SoundCodec::IsDriverCurrent(const char* driverName) {
  const ISoundDriver* driver = SoundSystem::GetInstance().GetCurrentDriver();
  return driver && driver->IsKindOf(driverName);
}

bool SoundCodec::ReadForDriver(const char* driverName, File& file, std::vector<unsigned char>& bytes) {
  if (!IsDriverCurrent(driverName)) return false;
  unsigned char* data = nullptr;
  unsigned size = 0;
  if (!file.ReadAll(data, size)) return false;
  bytes.assign(data, data + size);
  delete[] data;
  return true;
}

Sound* SoundCodec::OpenAndLoadSound(const std::wstring& fileName) {
  return OpenAndLoad(fileName, L"Can't open sound file ", [this](File& file) { return LoadSound(file); });
}

Music* SoundCodec::OpenAndLoadMusic(const std::wstring& fileName) {
  return OpenAndLoad(fileName, L"Can't open music file ", [this](File& file) { return LoadMusic(file); });
}

}  // namespace LLF
