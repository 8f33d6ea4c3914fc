#include "devtools/EditorGameStringsDialog.h"

#include <algorithm>

#include "core/Log.h"
#include "core/Message.h"
#include "devtools/Editor.h"
#include "devtools/EditorDialogLayouts.h"
#include "dialogs/EnterNameDialog.h"
#include "dialogs/MessageDialog.h"
#include "shell/Game.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kClassName[] = L"EditorGameStringsDialog";

LLF::Log& TheLog() {
  return LLF::Log::GetInstance();
}

bool From(const LLF::Message& msg, const LLF::Object* object) {
  return object && msg.GetSender() == object;
}

std::wstring NameOf(const LLF::XmlElement& element) {
  const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(L"name"));
  return attribute ? attribute->GetValue() : std::wstring();
}

// "game/vars" of the strings document, or null with its error line.
LLF::XmlElement* Vars() {
  Game* game = Game::GetInstance();
  XmlDocEx* doc = game ? game->GetStringsDoc() : nullptr;
  if (!doc) {
    TheLog().WriteFormat(
        L"Error: Game::GetInstance()->GetGameStrings() returned NULL. No strings.xml file defined.");
    return nullptr;
  }
  LLF::XmlElement* vars = doc->GetRoot()->GetChildByPath(L"game/vars");
  if (!vars) {
    TheLog().WriteFormat(L"Error: Can't find appropriate path to vars in strings.xml file.");
  }
  return vars;
}

}  // namespace

EditorGameStringsDialog::EditorGameStringsDialog() {
  _tag = L"editorgamestringsdlg";
}

EditorGameStringsDialog::~EditorGameStringsDialog() {
  for (LLF::MessageSender* sender :
       std::initializer_list<LLF::MessageSender*>{_nameEdit, _valueEdit, _okButton, _updateButton, _addButton,
                                                  _delButton, _stringsListbox, _confirmDialog, _nameDialog}) {
    if (sender) {
      sender->RemoveReceiver(this);
    }
  }
}

Control* EditorGameStringsDialog::CreateInstance() const {
  return new EditorGameStringsDialog();
}

bool EditorGameStringsDialog::OnCreated() {
  if (!RequireChild(_captionLabel, kClassName, L"CaptionLabel", "Label") ||
      !RequireChild(_stringsListbox, kClassName, L"StringsListbox", "Listbox")) {
    return false;
  }
  Refresh();
  if (!RequireChild(_stringNameLabel, kClassName, L"StringNameLabel", "Label") ||
      !RequireChild(_stringValueLabel, kClassName, L"StringValueLabel", "Label") ||
      !RequireChild(_nameEdit, kClassName, L"NameEdit", "Edit") ||
      !RequireChild(_valueEdit, kClassName, L"ValueEdit", "Edit") ||
      !RequireChild(_okButton, kClassName, L"OkButton", "Button") ||
      !RequireChild(_updateButton, kClassName, L"UpdateButton", "Button") ||
      !RequireChild(_addButton, kClassName, L"AddButton", "Button") ||
      !RequireChild(_delButton, kClassName, L"DelButton", "Button")) {
    return false;
  }
  for (LLF::MessageSender* sender : std::initializer_list<LLF::MessageSender*>{
           _nameEdit, _valueEdit, _okButton, _updateButton, _addButton, _delButton, _stringsListbox}) {
    sender->AddReceiver(this);
  }
  return Dialog::OnCreated();
}

std::vector<std::wstring> EditorGameStringsDialog::GetStringNames() const {
  std::vector<std::wstring> names;
  LLF::XmlElement* vars = Vars();
  if (!vars) {
    return names;
  }
  for (int i = 0; i < vars->GetChildsCount(); ++i) {
    const LLF::XmlElement* child = vars->GetChild(i);
    if (child->GetName() == L"var" && !child->IsComment()) {
      names.push_back(NameOf(*child));
    }
  }
  return names;
}

void EditorGameStringsDialog::Refresh() {
  _stringsListbox->SetItems(GetStringNames());
}

void EditorGameStringsDialog::SelectName(const std::wstring& name) {
  for (unsigned i = 0; i < _stringsListbox->GetItemsCount(); ++i) {
    if (_stringsListbox->GetItem(static_cast<int>(i)) == name) {
      _stringsListbox->SetSelected(static_cast<int>(i));  // its report fills the edits
      return;
    }
  }
}

void EditorGameStringsDialog::ShowSelection() {
  const int index = _stringsListbox->GetSelected();
  if (index < 0 || index >= static_cast<int>(_stringsListbox->GetItemsCount())) {
    _shownName.clear();
    _nameEdit->SetText(L"");
    _valueEdit->SetText(L"");
    return;
  }
  _shownName = _stringsListbox->GetItem(index);
  _nameEdit->SetText(_shownName);
  std::wstring value;
  if (LLF::XmlElement* vars = Vars()) {
    for (int i = 0; i < vars->GetChildsCount(); ++i) {
      const LLF::XmlElement* child = vars->GetChild(i);
      if (child->GetName() == L"var" && NameOf(*child) == _shownName) {
        const LLF::XmlAttribute* attribute = child->GetAttribute(std::wstring(L"value"));
        value = attribute ? attribute->GetValue() : std::wstring();
        break;
      }
    }
  }
  _valueEdit->SetText(value);
}

void EditorGameStringsDialog::Add(const std::wstring& name) {
  const std::vector<std::wstring> names = GetStringNames();
  if (std::find(names.begin(), names.end(), name) != names.end()) {
    // Adding again would empty the string's value.
    TheLog().Write(L"Warning: EditorGameStringsDialog - the string ID \"" + name +
                   L"\" exists already; it is selected and keeps its value.");
  } else {
    Editor::GetInstance().SetStringVar(name, L"", L"");
    Refresh();
  }
  SelectName(name);
}

void EditorGameStringsDialog::Update() {
  const int index = _stringsListbox->GetSelected();
  if (index < 0 || index >= static_cast<int>(_stringsListbox->GetItemsCount())) {
    return;
  }
  const std::wstring selected = _stringsListbox->GetItem(index);
  if (_shownName.empty() || _shownName != selected) {
    // The edits hold another string's values (or none): writing them here
    // would overwrite this one.
    TheLog().Write(L"Warning: EditorGameStringsDialog - the edits do not show the string \"" + selected +
                   L"\"; nothing is updated.");
    return;
  }
  const std::wstring newName = _nameEdit->GetText();
  if (!newName.empty() && newName != selected) {
    const std::vector<std::wstring> names = GetStringNames();
    if (std::find(names.begin(), names.end(), newName) != names.end()) {
      TheLog().Write(L"Warning: EditorGameStringsDialog - the string ID \"" + newName +
                     L"\" exists already; \"" + selected + L"\" is not renamed.");
      return;
    }
  }
  Editor::GetInstance().SetStringVar(selected, _valueEdit->GetText(), newName);
  Refresh();
  if (!newName.empty()) {
    _shownName = newName;
  }
}

void EditorGameStringsDialog::DeleteString(const std::wstring& name) {
  LLF::XmlElement* vars = Vars();
  if (!vars) {
    return;
  }
  for (int i = 0; i < vars->GetChildsCount(); ++i) {
    const LLF::XmlElement* child = vars->GetChild(i);
    if (child->GetName() == L"var" && NameOf(*child) == name) {
      vars->RemoveChild(i);
      Refresh();
      Editor::GetInstance().SaveStrings();
      break;
    }
  }
  // The list kept its position, which now names a neighbour; the edits
  // must not carry the deleted string's values over to it.
  _stringsListbox->SetSelected(-1);
  ShowSelection();
}

void EditorGameStringsDialog::AskAdd() {
  auto* dialog = dynamic_cast<EnterNameDialog*>(CreateEditorDialog(EDITOR_LAYOUT_ENTER_NAME));
  if (!dialog) {
    return;
  }
  dialog->GetCaptionLabel()->SetText(L"Enter new string ID:");
  if (!ShowChildDialog(dialog)) {
    delete dialog;
    return;
  }
  dialog->CenterOnParent();
  _nameDialog = dialog;
  dialog->AddReceiver(this);
}

void EditorGameStringsDialog::AskDelete() {
  const int index = _stringsListbox->GetSelected();
  if (index < 0 || index >= static_cast<int>(_stringsListbox->GetItemsCount())) {
    return;
  }
  auto* dialog = dynamic_cast<MessageDialog*>(CreateEditorDialog(EDITOR_LAYOUT_MESSAGE));
  if (!dialog) {
    return;
  }
  _deleteName = _stringsListbox->GetItem(index);
  dialog->GetTextLabel()->SetText(L"Delete \"" + _deleteName + L"\" string?");
  if (!ShowChildDialog(dialog)) {
    delete dialog;
    return;
  }
  dialog->CenterOnParent();
  _confirmDialog = dialog;
  dialog->AddReceiver(this);
}

bool EditorGameStringsDialog::OnMessage(LLF::Message* msg) {
  if (!msg || !CanProcessMessages()) {
    return true;
  }
  const int code = msg->GetCode();
  if (code == DIALOG_MSG_RESULT && From(*msg, _confirmDialog)) {
    if (msg->GetParam() == DIALOG_RESULT_OK) {
      DeleteString(_deleteName);
    }
    _confirmDialog = nullptr;
    return true;
  }
  if (code == DIALOG_MSG_RESULT && From(*msg, _nameDialog)) {
    if (msg->GetParam() == DIALOG_RESULT_OK && _nameDialog->GetNameEdit()) {
      Add(_nameDialog->GetNameEdit()->GetText());
    }
    _nameDialog = nullptr;
    return true;
  }
  if (code == BUTTON_MSG_CLICKED) {
    if (From(*msg, _okButton)) {
      OnOk();
      return true;
    }
    if (From(*msg, _addButton)) {
      AskAdd();
      return true;
    }
    if (From(*msg, _delButton)) {
      AskDelete();
      return true;
    }
    if (From(*msg, _updateButton)) {
      Update();
      return true;
    }
  }
  if (code == LISTBOX_MSG_SELECTED && From(*msg, _stringsListbox)) {
    ShowSelection();
  }
  return Dialog::OnMessage(msg);
}

}  // namespace HLF
