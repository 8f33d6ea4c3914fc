#pragma once
// Named sound slots of a control: each slot holds a sound of the sound
// system (owned by it), played on request through the current driver. The
// slot "soundName" is the control's click sound.
//
// XML: every attribute of the control's element whose name contains
// "sound" (lower case, anywhere in the name) names the sound asset of the
// slot called like the attribute; the first one not found fails the read.
// The writer adds one attribute per slot, in slot order (a sound the
// system does not hold is left out).
//
// Editor page "Sound properties": one row "ID", the sound of "soundName".
#include <map>
#include <string>

#include "properties/ControlProperty.h"

namespace LLF {
class Sound;
class XmlElement;
}  // namespace LLF

namespace HLF {

class SoundProperty : public ControlProperty {
 public:
  SoundProperty() = default;

  bool IsKindOf(const std::string& className) const override {
    return className == "SoundProperty" || ControlProperty::IsKindOf(className);
  }
  // Final, so a control class cannot catch the pages of all its properties
  // with one override.
  bool SetPropertyFromPage(const std::wstring& label, const std::wstring& value) final;
  void FillPropertyPage() final;
  ~SoundProperty() override = default;

  // Null for a slot not set.
  virtual LLF::Sound* GetSound(const std::wstring& slot) const;
  // The sound of the asset id into the slot; an unknown id logs and gives
  // false, the slot unchanged.
  virtual bool SetSound(const std::wstring& name, const std::wstring& slot);
  // False for null.
  virtual bool SetSoundObject(LLF::Sound* sound, const std::wstring& slot);
  virtual bool LoadSoundProps(LLF::XmlElement& element);
  // Plays the slot's sound through the current driver; nothing for a slot
  // not set or without a driver.
  virtual void Play(const std::wstring& slot);
  virtual void SaveSoundProps(LLF::XmlElement& element) const;

  // The slot the editor page and clicks use.
  static constexpr const wchar_t* kClickSlot = L"soundName";
  // The title of the property's editor page.
  static constexpr const wchar_t* kPageTitle = L"Sound properties";

 private:
  std::map<std::wstring, LLF::Sound*> _sounds;
};

}  // namespace HLF
