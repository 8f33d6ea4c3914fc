#include "dialogs/ProfileNewDialog.h"

#include "modifiers/Effect.h"
#include "shell/Game.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

ProfileNewDialog::ProfileNewDialog() {
  _tag = L"profilenewdlg";
}

std::wstring ProfileNewDialog::Dump() const {
  return L"ProfileNewDialog: " + GetName();
}

Control* ProfileNewDialog::CreateInstance() const {
  return new ProfileNewDialog();
}

bool ProfileNewDialog::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!LoadImageProps(element) || !Control::LoadFromXml(element)) {
    return false;
  }
  const LLF::XmlAttribute* file = element.GetAttribute(std::wstring(L"errorEffectFile"));
  const LLF::XmlAttribute* name = element.GetAttribute(std::wstring(L"errorEffectName"));
  if (file && name) {
    errorEffectFile = file->GetValue();
    errorEffectName = name->GetValue();
  }
  return Dialog::LoadFromXml(element);
}

bool ProfileNewDialog::OnCreated() {
  if (!RequireChild(errorLabelEmpty, L"ProfileNewDialog", L"ErrorLabelEmpty", "Label") ||
      !RequireChild(errorLabelExists, L"ProfileNewDialog", L"ErrorLabelExists", "Label")) {
    return false;
  }
  errorLabelEmpty->SetVisible(false);
  errorLabelExists->SetVisible(false);
  return EnterNameDialog::OnCreated();
}

void ProfileNewDialog::OnOk() {
  Edit* edit = GetNameEdit();
  const std::wstring name = edit ? edit->GetText() : std::wstring();
  Label* shown = nullptr;
  if (name.empty()) {
    errorLabelExists->SetVisible(false);
    errorLabelEmpty->SetVisible(true);
    shown = errorLabelEmpty;
  }
  Game* game = Game::GetInstance();
  if (game && game->FindProfile(name)) {
    errorLabelEmpty->SetVisible(false);
    errorLabelExists->SetVisible(true);
    shown = errorLabelExists;
  }
  if (!shown) {
    if (game) {
      game->SetCurrentProfile(name);
    }
    EnterNameDialog::OnOk();
    return;
  }
  if (!errorEffectFile.empty() && !errorEffectName.empty()) {
    shown->AddAndStartEffect(new Effect(errorEffectFile, errorEffectName));
  }
  LLF::SoundSystem& sound = LLF::SoundSystem::GetInstance();
  if (LLF::Sound* error = sound.GetSound(kErrorSound)) {
    if (LLF::ISoundDriver* driver = sound.GetCurrentDriver()) {
      driver->PlaySound(error);
    }
  }
}

}  // namespace HLF
