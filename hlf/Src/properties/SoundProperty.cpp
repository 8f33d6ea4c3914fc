#include "properties/SoundProperty.h"

#include "core/Log.h"
#include "sound/ISoundDriver.h"
#include "sound/Sound.h"
#include "sound/SoundSystem.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

LLF::Sound* SoundProperty::GetSound(const std::wstring& slot) const {
  const auto it = _sounds.find(slot);
  return it == _sounds.end() ? nullptr : it->second;
}

bool SoundProperty::SetSound(const std::wstring& name, const std::wstring& slot) {
  LLF::Sound* sound = LLF::SoundSystem::GetInstance().GetSound(name);
  if (!sound) {
    LLF::Log::GetInstance().Write(L"Error: Can't set sound " + name);
    return false;
  }
  return SetSoundObject(sound, slot);
}

bool SoundProperty::SetSoundObject(LLF::Sound* sound, const std::wstring& slot) {
  if (!sound) {
    return false;
  }
  _sounds[slot] = sound;
  return true;
}

bool SoundProperty::LoadSoundProps(LLF::XmlElement& element) {
  for (int i = 0; i < element.GetAttributesCount(); ++i) {
    const LLF::XmlAttribute* attribute = static_cast<const LLF::XmlElement&>(element).GetAttribute(i);
    const std::wstring& slot = attribute->GetName();
    if (slot.find(L"sound") != std::wstring::npos && !SetSound(attribute->GetValue(), slot)) {
      return false;
    }
  }
  return true;
}

void SoundProperty::Play(const std::wstring& slot) {
  LLF::Sound* sound = GetSound(slot);
  if (!sound) {
    return;
  }
  if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
    driver->PlaySound(sound);
  }
}

void SoundProperty::SaveSoundProps(LLF::XmlElement& element) const {
  const LLF::SoundSystem& system = LLF::SoundSystem::GetInstance();
  for (const auto& [slot, sound] : _sounds) {
    // A sound the system does not hold has no name that would load back,
    // and an empty one would make the whole control fail to load.
    const std::wstring name = system.FindResourceId(sound);
    if (!name.empty()) {
      element.AddAttribute(slot, name);
    }
  }
}

void SoundProperty::FillPropertyPage() {
  ControlProperty::FillPropertyPage();
  _propertyGroup.title = kPageTitle;
  LLF::Sound* sound = GetSound(kClickSlot);
  _propertyGroup.entries.emplace_back(PROPERTY_ORDINARY, L"ID",
                                      LLF::SoundSystem::GetInstance().FindResourceId(sound));
}

bool SoundProperty::SetPropertyFromPage(const std::wstring& label, const std::wstring& value) {
  if (label != L"ID") {
    return ControlProperty::SetPropertyFromPage(label, value);
  }
  SetSound(value, kClickSlot);
  return true;
}

}  // namespace HLF
