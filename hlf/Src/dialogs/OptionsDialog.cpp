#include "dialogs/OptionsDialog.h"

#include "app/Application.h"
#include "shell/Game.h"
#include "sound/ISoundDriver.h"
#include "sound/Sound.h"
#include "sound/SoundSystem.h"
#include "widgets/Button.h"
#include "widgets/Checkbox.h"
#include "widgets/Label.h"
#include "widgets/Slider.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

bool From(const LLF::Message& msg, const LLF::Object* object) {
  return object && msg.GetSender() == object;
}

LLF::XmlElement* Config() {
  Game* game = Game::GetInstance();
  return game ? game->GetConfigDoc()->GetRoot()->GetChildByPath(L"config") : nullptr;
}

// The element at the path below "config", made when missing.
LLF::XmlElement* ConfigElement(const std::wstring& path) {
  LLF::XmlElement* element = Config();
  size_t start = 0;
  while (element && start <= path.size()) {
    const size_t slash = path.find(L'/', start);
    const std::wstring name =
        path.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start);
    if (!name.empty()) {
      LLF::XmlElement* child = element->FindChild(name);
      element = child ? child : element->AddChild(name);
    }
    if (slash == std::wstring::npos) {
      break;
    }
    start = slash + 1;
  }
  return element;
}

void Write(const std::wstring& path, const wchar_t* name, bool value) {
  if (LLF::XmlElement* element = ConfigElement(path)) {
    LLF::XmlAttribute* attribute = element->GetAttribute(std::wstring(name));
    attribute ? attribute->SetBool(value) : (void)element->AddAttribute(name, value);
  }
}

void Write(const std::wstring& path, const wchar_t* name, float value) {
  if (LLF::XmlElement* element = ConfigElement(path)) {
    LLF::XmlAttribute* attribute = element->GetAttribute(std::wstring(name));
    attribute ? attribute->SetFloat(value) : (void)element->AddAttribute(name, value);
  }
}

LLF::ISoundDriver* Driver() {
  return LLF::SoundSystem::GetInstance().GetCurrentDriver();
}

}  // namespace

OptionsDialog::OptionsDialog() {
  _tag = L"optionsdlg";
}

OptionsDialog::~OptionsDialog() {
  StopTestSound();
  for (Control* child : {static_cast<Control*>(okButton), static_cast<Control*>(musicSlider),
                         static_cast<Control*>(soundSlider), static_cast<Control*>(winModeCheckbox),
                         static_cast<Control*>(wideScreenCheckbox), static_cast<Control*>(helpCheckbox),
                         static_cast<Control*>(cursorCheckbox)}) {
    if (child && IndexOfChild(child) >= 0) {
      child->RemoveReceiver(this);
    }
  }
}

std::wstring OptionsDialog::Dump() const {
  return L"Options Dialog: ";
}

Control* OptionsDialog::CreateInstance() const {
  return new OptionsDialog();
}

bool OptionsDialog::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (const LLF::XmlAttribute* sound = element.GetAttribute(std::wstring(L"testSound"))) {
    testSound = LLF::SoundSystem::GetInstance().GetSound(sound->GetValue());
  }
  return Dialog::LoadFromXml(element);
}

bool OptionsDialog::OnCreated() {
  const wchar_t* self = L"OptionsDialog";
  if (!RequireChild(okButton, self, L"OkButton", "Button") ||
      !RequireChild(titleLabel, self, L"TitleLabel", "Label") ||
      !RequireChild(musicLabel, self, L"MusicLabel", "Label") ||
      !RequireChild(soundLabel, self, L"SoundLabel", "Label") ||
      !RequireChild(musicSlider, self, L"MusicSlider", "Slider") ||
      !RequireChild(soundSlider, self, L"SoundSlider", "Slider") ||
      !RequireChild(winModeCheckbox, self, L"WinModeCheckbox", "Checkbox") ||
      !RequireChild(wideScreenCheckbox, self, L"WideScreenCheckbox", "Checkbox") ||
      !RequireChild(helpCheckbox, self, L"HelpCheckbox", "Checkbox") ||
      !RequireChild(cursorCheckbox, self, L"CursorCheckbox", "Checkbox")) {
    return false;
  }
  for (Control* child : {static_cast<Control*>(okButton), static_cast<Control*>(musicSlider),
                         static_cast<Control*>(soundSlider), static_cast<Control*>(winModeCheckbox),
                         static_cast<Control*>(wideScreenCheckbox), static_cast<Control*>(helpCheckbox),
                         static_cast<Control*>(cursorCheckbox)}) {
    child->RemoveReceiver(this);
    child->AddReceiver(this);
  }
  const LLF::Application* application = LLF::Application::GetInstance();
  if (application && !application->IsWindowedPossible()) {
    winModeCheckbox->SetEnabled(false);
  }
  LoadSettings();
  return Dialog::OnCreated();
}

bool OptionsDialog::LoadSettings() {
  LLF::XmlElement* config = Config();
  if (!config) {
    return true;
  }
  musicSlider->SetValue(static_cast<int>(config->GetAttribute(L"audio/music", L"volume", 100.0f).GetFloat()));
  soundSlider->SetValue(static_cast<int>(config->GetAttribute(L"audio/sound", L"volume", 100.0f).GetFloat()));
  winModeCheckbox->SetChecked(config->GetAttribute(L"video", L"windowed", true).GetBool());
  wideScreenCheckbox->SetChecked(config->GetAttribute(L"video", L"enableWidescreen", true).GetBool());
  helpCheckbox->SetChecked(config->GetAttribute(L"game/help", L"showTips", true).GetBool());
  cursorCheckbox->SetChecked(config->GetAttribute(L"game/cursor", L"useCustom", true).GetBool());
  return true;
}

void OptionsDialog::StopTestSound() {
  if (!testSound || !testSoundLooping) {
    return;
  }
  testSoundLooping = false;
  testSound->SetLooped(false);
  if (LLF::ISoundDriver* driver = Driver()) {
    driver->StopSound(testSound);
  }
}

bool OptionsDialog::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  const int code = msg->GetCode();
  Game* game = Game::GetInstance();
  if (From(*msg, wideScreenCheckbox) && code == BUTTON_MSG_CLICKED) {
    Write(L"video", L"enableWidescreen", wideScreenCheckbox->IsChecked());
    if (game) {
      game->SetWindowed(winModeCheckbox->IsChecked());
    }
  } else if (From(*msg, helpCheckbox) && code == BUTTON_MSG_CLICKED) {
    Write(L"game/help", L"showTips", helpCheckbox->IsChecked());
  } else if (From(*msg, winModeCheckbox) && code == BUTTON_MSG_CLICKED) {
    Write(L"video", L"windowed", winModeCheckbox->IsChecked());
    if (game) {
      game->SetWindowed(winModeCheckbox->IsChecked());
    }
  } else if (From(*msg, cursorCheckbox) && code == BUTTON_MSG_CLICKED) {
    Write(L"game/cursor", L"useCustom", cursorCheckbox->IsChecked());
    if (game) {
      game->SetCustomCursor(cursorCheckbox->IsChecked());
    }
  } else if (From(*msg, okButton) && code == BUTTON_MSG_CLICKED) {
    ApplySettings();
    Dialog::OnOk();
    return true;
  } else if (From(*msg, musicSlider) && code == 10) {
    const float volume = static_cast<float>(msg->GetPrimary());
    Write(L"audio/music", L"volume", volume);
    if (LLF::ISoundDriver* driver = Driver()) {
      driver->SetMusicMasterVolume(volume);
      if (music) {
        driver->UpdateMusic(music);
      }
    }
  } else if (From(*msg, soundSlider) && code == 10) {
    const float volume = static_cast<float>(msg->GetPrimary());
    Write(L"audio/sound", L"volume", volume);
    if (LLF::ISoundDriver* driver = Driver()) {
      driver->SetSoundMasterVolume(volume);
      if (testSound) {
        driver->UpdateSound(testSound);
      }
    }
  } else if (From(*msg, soundSlider) && code == 11) {
    if (testSound) {
      testSound->SetLooped(true);
      testSoundLooping = true;
      if (LLF::ISoundDriver* driver = Driver()) {
        driver->PlaySound(testSound);
      }
    }
  } else if (From(*msg, soundSlider) && code == 12) {
    if (testSound) {
      testSound->SetLooped(false);
      testSoundLooping = false;
      if (LLF::ISoundDriver* driver = Driver()) {
        driver->UpdateSound(testSound);
      }
    }
  }
  return Dialog::OnMessage(msg);
}

}  // namespace HLF
