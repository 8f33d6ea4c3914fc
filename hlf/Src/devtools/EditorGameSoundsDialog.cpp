#include "devtools/EditorGameSoundsDialog.h"

#include <cwchar>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "devtools/Editor.h"
#include "devtools/EditorDialogLayouts.h"
#include "shell/Game.h"
#include "widgets/Button.h"
#include "widgets/Checkbox.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kClassName[] = L"EditorGameSoundsDialog";

// The whole text as a number; false for an empty text or trailing rubbish.
bool ReadNumber(const std::wstring& text, float& value) {
  if (text.empty()) {
    return false;
  }
  wchar_t* end = nullptr;
  const double read = std::wcstod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) {
    return false;
  }
  value = static_cast<float>(read);
  return true;
}

}  // namespace

EditorGameSoundsDialog::EditorGameSoundsDialog()
    : EditorAssetsDialog(Kind{kClassName, L"sounds.xml", L"GetSoundsConfig", L"sound", L"SoundsListbox",
                              L"Enter new sound ID:", EDITOR_LAYOUT_AUDIO_FILE}) {
  _tag = L"editorgamesoundsdlg";
}

EditorGameSoundsDialog::~EditorGameSoundsDialog() {
  StopListening({_volumeEdit, _loopedCheckbox});
}

Control* EditorGameSoundsDialog::CreateInstance() const {
  return new EditorGameSoundsDialog();
}

bool EditorGameSoundsDialog::OnCreated() {
  if (!BindList() || !RequireChild(_volumeLabel, kClassName, L"SoundVolumeLabel", "Label") ||
      !RequireChild(_idLabel, kClassName, L"SoundIDLabel", "Label") ||
      !RequireChild(_fileLabel, kClassName, L"SoundFileLabel", "Label") ||
      !RequireChild(_browseButton, kClassName, L"BrowseButton", "Button") ||
      !RequireChild(_volumeEdit, kClassName, L"VolumeEdit", "Edit") ||
      !RequireChild(_loopedCheckbox, kClassName, L"SoundLoopedCheckbox", "Checkbox") ||
      !RequireChild(_idEdit, kClassName, L"IDEdit", "Edit") ||
      !RequireChild(_fileEdit, kClassName, L"FileEdit", "Edit")) {
    return false;
  }
  Listen({_volumeEdit, _loopedCheckbox});
  SetDetailsVisible(false);
  return Dialog::OnCreated();
}

void EditorGameSoundsDialog::SetDetailsVisible(bool shown) {
  EditorAssetsDialog::SetDetailsVisible(shown);
  for (Control* control :
       std::initializer_list<Control*>{_volumeLabel, _volumeEdit, _loopedCheckbox, _idLabel, _fileLabel}) {
    if (control) {
      control->SetVisible(shown);
    }
  }
}

XmlDocEx* EditorGameSoundsDialog::Document() const {
  Game* game = Game::GetInstance();
  return game ? game->GetSoundsDoc() : nullptr;
}

void EditorGameSoundsDialog::SaveDocument() {
  Editor::GetInstance().SaveSounds();
}

bool EditorGameSoundsDialog::GetSoundEntry(const std::wstring& group, const std::wstring& name,
                                           std::wstring& source, float& volume, bool& looped) const {
  const LLF::XmlElement* entry = nullptr;
  if (!FindEntry(group, L"sound", name,
                 L"Error: Game::GetInstance()->GetSoundsConfig() returned NULL. No sounds.xml file defined.",
                 entry)) {
    return false;
  }
  if (entry) {
    const LLF::XmlAttribute* src = entry->GetAttribute(std::wstring(L"src"));
    source = src ? src->GetValue() : std::wstring();
    const LLF::XmlAttribute* volumeText = entry->GetAttribute(std::wstring(L"volume"));
    volume = 100.0f;
    if (volumeText && !ReadNumber(volumeText->GetValue(), volume)) {
      volume = 100.0f;
    }
    const LLF::XmlAttribute* loopedText = entry->GetAttribute(std::wstring(L"looped"));
    looped = loopedText && loopedText->GetValue() == L"true";
  }
  return true;
}

bool EditorGameSoundsDialog::ReadEntry(const std::wstring& group, const std::wstring& name) {
  return GetSoundEntry(group, name, _source, _volume, _looped);
}

void EditorGameSoundsDialog::ShowSelectedSound() {
  const std::wstring item = SelectedItem();
  if (item.empty()) {
    return;
  }
  _volumeEdit->SetText(LLF::ToString(_volume));
  _loopedCheckbox->SetChecked(_looped);
  _fileEdit->SetText(_source);
  _idEdit->SetText(item);
}

void EditorGameSoundsDialog::AddEntry(const std::wstring& name) {
  Editor::GetInstance().SetSound(_group, name, L"", L"Select sound file", 100.0f, false);
}

bool EditorGameSoundsDialog::UpdateEntry(const std::wstring& name, const std::wstring& newName) {
  float volume = 0.0f;
  if (!ReadNumber(_volumeEdit->GetText(), volume)) {
    LLF::Log::GetInstance().Write(L"Warning: EditorGameSoundsDialog - the volume \"" +
                                  _volumeEdit->GetText() + L"\" is not a number; \"" + name +
                                  L"\" is not updated.");
    return false;
  }
  Editor::GetInstance().SetSound(_group, name, newName, _fileEdit->GetText(), volume,
                                 _loopedCheckbox->IsChecked());
  return true;
}

}  // namespace HLF
