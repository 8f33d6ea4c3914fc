#include "devtools/EditorAssetsDialog.h"

#include <algorithm>

#include "core/Log.h"
#include "core/Message.h"
#include "devtools/EditorDialogLayouts.h"
#include "dialogs/EnterNameDialog.h"
#include "dialogs/FileDialog.h"
#include "dialogs/MessageDialog.h"
#include "model/XmlDocEx.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

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

bool IsAsciiLetter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// "[ name ]" back to the name; empty for any other text.
std::wstring GroupOfItem(const std::wstring& item) {
  if (item.size() < 5 || item.compare(0, 2, L"[ ") != 0 || item.compare(item.size() - 2, 2, L" ]") != 0) {
    return std::wstring();
  }
  return item.substr(2, item.size() - 4);
}

}  // namespace

EditorAssetsDialog::~EditorAssetsDialog() {
  for (LLF::MessageSender* sender : std::initializer_list<LLF::MessageSender*>{
           _okButton, _updateButton, _addButton, _delButton, _list, _confirmDialog, _nameDialog, _idEdit,
           _fileEdit, _browseButton, _fileDialog}) {
    if (sender) {
      sender->RemoveReceiver(this);
    }
  }
}

bool EditorAssetsDialog::IsXmlName(const std::wstring& name) {
  if (name.empty() || !(IsAsciiLetter(name[0]) || name[0] == L'_')) {
    return false;
  }
  return std::all_of(name.begin(), name.end(), [](wchar_t c) {
    return IsAsciiLetter(c) || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-' || c == L'.';
  });
}

bool EditorAssetsDialog::BindList() {
  if (!RequireChild(_captionLabel, _kind.className, L"CaptionLabel", "Label") ||
      !RequireChild(_okButton, _kind.className, L"OkButton", "Button") ||
      !RequireChild(_updateButton, _kind.className, L"UpdateButton", "Button") ||
      !RequireChild(_addButton, _kind.className, L"AddButton", "Button") ||
      !RequireChild(_delButton, _kind.className, L"DelButton", "Button") ||
      !RequireChild(_list, _kind.className, _kind.listName, "Listbox")) {
    return false;
  }
  Refill();
  return true;
}

void EditorAssetsDialog::Listen(std::initializer_list<LLF::MessageSender*> extra) {
  for (LLF::MessageSender* sender : std::initializer_list<LLF::MessageSender*>{
           _okButton, _updateButton, _addButton, _delButton, _list, _idEdit, _fileEdit, _browseButton}) {
    sender->AddReceiver(this);
  }
  for (LLF::MessageSender* sender : extra) {
    sender->AddReceiver(this);
  }
}

void EditorAssetsDialog::StopListening(std::initializer_list<LLF::MessageSender*> extra) {
  for (LLF::MessageSender* sender : extra) {
    if (sender) {
      sender->RemoveReceiver(this);
    }
  }
}

void EditorAssetsDialog::SetDetailsVisible(bool shown) {
  for (Control* control : std::initializer_list<Control*>{_updateButton, _idEdit, _fileEdit, _browseButton}) {
    if (control) {
      control->SetVisible(shown);
    }
  }
}

LLF::XmlElement* EditorAssetsDialog::Assets(bool deleting) const {
  (void)deleting;
  XmlDocEx* doc = Document();
  if (!doc) {
    TheLog().Write(std::wstring(L"Error: Game::GetInstance()->") + _kind.config + L"() returned NULL. No " +
                   _kind.file + L" file defined.");
    return nullptr;
  }
  LLF::XmlElement* assets = doc->GetRoot()->GetChildByPath(L"game/assets");
  if (!assets) {
    TheLog().Write(std::wstring(L"Error: Can't find appropriate path to assets in ") + _kind.file +
                   L" file.");
  }
  return assets;
}

LLF::XmlElement* EditorAssetsDialog::Group(const std::wstring& group, bool deleting) const {
  XmlDocEx* doc = Document();
  if (!doc) {
    TheLog().Write(std::wstring(L"Error: Game::GetInstance()->") + _kind.config + L"() returned NULL. No " +
                   _kind.file + L" file defined.");
    return nullptr;
  }
  LLF::XmlElement* element =
      group.empty() ? nullptr : doc->GetRoot()->GetChildByPath(L"game/assets/" + group);
  if (!element) {
    if (deleting) {
      TheLog().Write(L"Error: Can't find path \"" + group + L"\" to asset in " + _kind.file + L" file.");
    } else {
      TheLog().Write(L"Error: Can't find path \"game/assets/" + group + L"\" in " + _kind.file + L" file.");
    }
  }
  return element;
}

bool EditorAssetsDialog::FindEntry(const std::wstring& group, const std::wstring& tag,
                                   const std::wstring& name, const wchar_t* noDocumentLine,
                                   const LLF::XmlElement*& entry) const {
  entry = nullptr;
  if (!Document()) {
    LLF::Log::GetInstance().WriteFormat(noDocumentLine);
    return false;
  }
  const LLF::XmlElement* element = Group(group, false);
  for (int i = 0; element && i < element->GetChildsCount(); ++i) {
    const LLF::XmlElement* child = element->GetChild(i);
    const LLF::XmlAttribute* named = child->GetAttribute(std::wstring(L"name"));
    if (!child->IsComment() && child->GetName() == tag && (named ? named->GetValue() : L"") == name) {
      entry = child;
      return true;
    }
  }
  return true;
}

std::vector<std::wstring> EditorAssetsDialog::ListAssetGroups() const {
  std::vector<std::wstring> groups;
  if (LLF::XmlElement* assets = Assets(false)) {
    for (int i = 0; i < assets->GetChildsCount(); ++i) {
      const LLF::XmlElement* child = assets->GetChild(i);
      if (!child->IsComment()) {
        groups.push_back(child->GetName());
      }
    }
  }
  return groups;
}

std::vector<std::wstring> EditorAssetsDialog::ListEntries(const std::wstring& group) const {
  std::vector<std::wstring> names;
  if (LLF::XmlElement* element = Group(group, false)) {
    for (int i = 0; i < element->GetChildsCount(); ++i) {
      const LLF::XmlElement* child = element->GetChild(i);
      if (!child->IsComment() && child->GetName() == _kind.entry) {
        names.push_back(NameOf(*child));
      }
    }
  }
  return names;
}

std::wstring EditorAssetsDialog::SelectedItem() const {
  const int index = _list ? _list->GetSelected() : -1;
  if (index < 0 || index >= static_cast<int>(_list->GetItemsCount())) {
    return std::wstring();
  }
  return _list->GetItem(index);
}

bool EditorAssetsDialog::HasEntrySelected() const {
  const int index = _list ? _list->GetSelected() : -1;
  return !_group.empty() && index >= 0 && index < static_cast<int>(_list->GetItemsCount()) &&
         _list->GetItem(index) != kUpItem;
}

void EditorAssetsDialog::Refill() {
  std::vector<std::wstring> items;
  if (_group.empty()) {
    for (const std::wstring& group : ListAssetGroups()) {
      items.push_back(L"[ " + group + L" ]");
    }
  } else {
    items.push_back(kUpItem);
    for (const std::wstring& name : ListEntries(_group)) {
      items.push_back(name);
    }
  }
  _list->SetItems(items);
  // The kept position would name a neighbour of what was shown.
  _list->SetSelected(-1);
}

void EditorAssetsDialog::Select(const std::wstring& item) {
  for (unsigned i = 0; i < _list->GetItemsCount(); ++i) {
    if (_list->GetItem(static_cast<int>(i)) == item) {
      _list->SetSelected(static_cast<int>(i));
      return;
    }
  }
}

void EditorAssetsDialog::OnListSelected() {
  if (!HasEntrySelected()) {
    SetDetailsVisible(false);
    return;
  }
  SetDetailsVisible(true);
  if (ReadEntry(_group, SelectedItem())) {
    ShowEntry();
  }
}

void EditorAssetsDialog::OnListDoubleClick() {
  const std::wstring item = SelectedItem();
  if (!_group.empty()) {
    if (item == kUpItem) {
      _group.clear();
      Refill();
    }
    return;
  }
  const std::wstring group = GroupOfItem(item);
  if (group.empty()) {
    return;  // no group named: the view stays
  }
  _group = group;
  Refill();
}

void EditorAssetsDialog::Add(const std::wstring& typed) {
  std::wstring name = typed;
  std::replace(name.begin(), name.end(), L' ', L'_');
  if (!_group.empty()) {
    const std::vector<std::wstring> names = ListEntries(_group);
    if (std::find(names.begin(), names.end(), name) != names.end()) {
      TheLog().Write(std::wstring(L"Warning: ") + _kind.className + L" - \"" + name +
                     L"\" exists already in " + _group + L"; it is selected and kept as it is.");
    } else {
      AddEntry(name);
      Refill();
    }
    Select(name);
    return;
  }
  if (!IsXmlName(name)) {
    TheLog().Write(std::wstring(L"Error: ") + _kind.className + L" - \"" + name +
                   L"\" can't be an asset group: a group name starts with a letter or _ and holds only "
                   L"letters, digits, _, - and .; nothing is added.");
    return;
  }
  LLF::XmlElement* assets = Assets(false);
  if (!assets) {
    return;
  }
  const std::vector<std::wstring> groups = ListAssetGroups();
  if (std::find(groups.begin(), groups.end(), name) != groups.end()) {
    TheLog().Write(std::wstring(L"Warning: ") + _kind.className + L" - the asset group \"" + name +
                   L"\" exists already; it is selected and kept as it is.");
  } else {
    assets->AddChild(name);
    SaveDocument();
    Refill();
  }
  Select(L"[ " + name + L" ]");
}

void EditorAssetsDialog::Update() {
  if (!HasEntrySelected()) {
    return;
  }
  const std::wstring name = SelectedItem();
  const std::wstring newName = _idEdit->GetText();
  if (!newName.empty() && newName != name) {
    const std::vector<std::wstring> names = ListEntries(_group);
    if (std::find(names.begin(), names.end(), newName) != names.end()) {
      TheLog().Write(std::wstring(L"Warning: ") + _kind.className + L" - \"" + newName +
                     L"\" exists already in " + _group + L"; \"" + name + L"\" is not renamed.");
      return;
    }
  }
  if (!UpdateEntry(name, newName)) {
    return;
  }
  Refill();
  Select(newName.empty() ? name : newName);
}

void EditorAssetsDialog::Delete(const std::wstring& group, const std::wstring& item) {
  if (!group.empty()) {
    LLF::XmlElement* element = Group(group, true);
    if (!element) {
      return;
    }
    for (int i = 0; i < element->GetChildsCount(); ++i) {
      const LLF::XmlElement* child = element->GetChild(i);
      if (!child->IsComment() && NameOf(*child) == item) {
        element->RemoveChild(i);
        break;
      }
    }
  } else {
    LLF::XmlElement* assets = Assets(true);
    if (!assets) {
      return;
    }
    const std::wstring name = GroupOfItem(item);
    for (int i = 0; i < assets->GetChildsCount(); ++i) {
      const LLF::XmlElement* child = assets->GetChild(i);
      if (!child->IsComment() && child->GetName() == name) {
        assets->RemoveChild(i);
        break;
      }
    }
  }
  SaveDocument();
  if (group == _group) {
    Refill();
  }
}

Dialog* EditorAssetsDialog::Open(int layout) {
  Dialog* dialog = CreateEditorDialog(layout);
  if (!dialog) {
    return nullptr;
  }
  if (!ShowChildDialog(dialog)) {
    delete dialog;
    return nullptr;
  }
  dialog->CenterOnParent();
  dialog->AddReceiver(this);
  return dialog;
}

void EditorAssetsDialog::AskAdd() {
  auto* dialog = dynamic_cast<EnterNameDialog*>(Open(EDITOR_LAYOUT_ENTER_NAME));
  if (!dialog) {
    return;
  }
  dialog->GetCaptionLabel()->SetText(_group.empty() ? L"Enter new asset name:" : _kind.addCaption);
  _nameDialog = dialog;
}

void EditorAssetsDialog::AskDelete() {
  const std::wstring item = SelectedItem();
  if (item.empty() || item == kUpItem) {
    return;
  }
  const std::wstring name = _group.empty() ? GroupOfItem(item) : item;
  auto* dialog = dynamic_cast<MessageDialog*>(Open(EDITOR_LAYOUT_MESSAGE));
  if (!dialog) {
    return;
  }
  dialog->GetTextLabel()->SetText(L"Delete \"" + name + L"\" " + (_group.empty() ? L"asset" : _kind.entry) +
                                  L"?");
  _confirmDialog = dialog;
  _deleteGroup = _group;
  _deleteItem = item;
}

void EditorAssetsDialog::Browse() {
  _fileDialog = dynamic_cast<FileDialog*>(Open(_kind.fileLayout));
}

bool EditorAssetsDialog::OnMessage(LLF::Message* msg) {
  if (!msg || !CanProcessMessages()) {
    return true;
  }
  const int code = msg->GetCode();
  if (code == DIALOG_MSG_RESULT && From(*msg, _confirmDialog)) {
    if (msg->GetParam() == DIALOG_RESULT_OK) {
      Delete(_deleteGroup, _deleteItem);
    }
    _confirmDialog = nullptr;
    return true;
  }
  if (code == DIALOG_MSG_RESULT && From(*msg, _fileDialog)) {
    if (msg->GetParam() == DIALOG_RESULT_OK && _fileDialog->GetNameEdit()) {
      _source = _fileDialog->GetNameEdit()->GetText();
      if (HasEntrySelected()) {
        ShowEntry();
      }
    }
    _fileDialog = nullptr;
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
      SaveDocument();
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
    if (From(*msg, _browseButton)) {
      Browse();
    } else if (From(*msg, _updateButton)) {
      Update();
      return true;
    }
  }
  if (From(*msg, _list)) {
    if (code == LISTBOX_MSG_SELECTED) {
      OnListSelected();
    } else if (code == LISTBOX_MSG_DOUBLE_CLICK) {
      OnListDoubleClick();
    }
  } else if (OnDetailMessage(*msg)) {
    return true;
  }
  return Dialog::OnMessage(msg);
}

}  // namespace HLF
