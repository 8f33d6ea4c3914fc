#include "sound/AudioObject.h"

#include <algorithm>

#include "core/Format.h"
#include "core/StringUtils.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"

namespace LLF {

AudioObject::~AudioObject() {
  delete _handle;
}

void AudioObject::SetLooped(bool looped) {
  _looped = looped;
  if (ISoundDriver* driver = Driver()) ApplyThrough(*driver);
}

void AudioObject::SetVolume(float volume) {
  _volume = std::clamp(volume, 0.0f, 100.0f);
  if (ISoundDriver* driver = Driver()) ApplyThrough(*driver);
}

std::wstring AudioObject::DumpAs(const wchar_t* kind) const {
  return std::wstring(kind) + L": Looped - " + (_looped ? L"yes" : L"no") + L" Volume - " +
         ToString(float{_volume}) + L" Handle - " + Format(L"%p", static_cast<const void*>(_handle));
}

void AudioObject::ReleaseHandle() {
  if (!_handle) return;
  if (ISoundDriver* driver = _handle->GetDriver(); ISoundDriver::IsAlive(driver)) FreeThrough(*driver);
  delete _handle;
  _handle = nullptr;
}

ISoundDriver* AudioObject::Driver() const {
  if (_handle) {
    ISoundDriver* maker = _handle->GetDriver();
    return ISoundDriver::IsAlive(maker) ? maker : nullptr;
  }
  return SoundSystem::GetInstance().GetCurrentDriver();
}

}  // namespace LLF
