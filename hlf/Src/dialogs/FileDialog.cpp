#include "dialogs/FileDialog.h"

#include "core/Exception.h"
#include "core/OSUtils.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"

namespace HLF {

namespace {

const wchar_t kDialogName[] = L"FileDialog";
const wchar_t kParent[] = L"..";

bool IsSeparator(wchar_t c) {
  return c == L'/' || c == L'\\';
}

}  // namespace

FileDialog::FileDialog() {
  _tag = L"filedlg";
  std::wstring current;
  try {
    current = LLF::OS_GetCurrentDir();
  } catch (const LLF::Exception&) {
    // An unreadable current folder: start from nothing, listing nothing.
  }
  SetFolder(current);
}

FileDialog::~FileDialog() {
  Unhook();
}

void FileDialog::Unhook() {
  if (_nameEdit && IndexOfChild(_nameEdit) >= 0) {
    _nameEdit->RemoveReceiver(this);
  }
  if (_filesListbox && IndexOfChild(_filesListbox) >= 0) {
    _filesListbox->RemoveReceiver(this);
  }
  _nameEdit = nullptr;
  _filesListbox = nullptr;
  _captionLabel = nullptr;
}

Control* FileDialog::CreateInstance() const {
  return new FileDialog();
}

bool FileDialog::OnCreated() {
  Unhook();
  Label* caption = nullptr;
  Edit* edit = nullptr;
  Listbox* list = nullptr;
  if (!RequireChild(caption, kDialogName, L"CaptionLabel", "Label") ||
      !RequireChild(edit, kDialogName, L"NameEdit", "Edit") ||
      !RequireChild(list, kDialogName, L"FilesListbox", "Listbox")) {
    return false;
  }
  _captionLabel = caption;
  _nameEdit = edit;
  _filesListbox = list;
  _nameEdit->AddReceiver(this);
  _filesListbox->AddReceiver(this);
  Refresh();
  return Dialog::OnCreated();
}

void FileDialog::SetFolder(const std::wstring& folder) {
  _folder = folder;
  if (IsRootLocked()) {
    _rootLength = static_cast<int>(_folder.size());
  }
  Refresh();
}

void FileDialog::SetFilter(const std::wstring& filter) {
  _filter = filter;
  Refresh();
}

void FileDialog::SetRootLocked(bool locked) {
  _rootLength = locked ? static_cast<int>(_folder.size()) : -1;
}

void FileDialog::Refresh() {
  _entries.clear();
  std::vector<std::wstring> folders = LLF::OS_FindDirs(_folder + _filter);
  if (IsRootLocked() && static_cast<int>(_folder.size()) == _rootLength) {
    for (auto it = folders.begin(); it != folders.end(); ++it) {
      if (*it == kParent) {
        folders.erase(it);
        break;
      }
    }
  }
  std::vector<std::wstring> rows;
  for (const std::wstring& name : folders) {
    _entries.push_back({name, true});
    rows.push_back(L"[ " + name + L" ]");
  }
  for (const std::wstring& name : LLF::OS_FindFiles(_folder + _filter)) {
    _entries.push_back({name, false});
    rows.push_back(name);
  }
  if (_filesListbox) {
    _filesListbox->SetItems(rows);
    // The old index would name another row of the new listing.
    if (_filesListbox->GetSelected() != -1) {
      _filesListbox->SetSelected(-1);
    }
  }
}

void FileDialog::OnFileSelected(const std::wstring& path) {
  std::wstring text = path;
  if (IsRootLocked() && _rootLength <= static_cast<int>(path.size())) {
    text = path.substr(static_cast<size_t>(_rootLength));
  }
  if (_nameEdit) {
    _nameEdit->SetText(text);
  }
}

const FileDialog::Entry* FileDialog::SelectedEntry() const {
  const int index = _filesListbox ? _filesListbox->GetSelected() : -1;
  if (index < 0 || index >= static_cast<int>(_entries.size())) {
    return nullptr;
  }
  return &_entries[static_cast<size_t>(index)];
}

void FileDialog::Enter(const std::wstring& name) {
  _folder += name + L"/";
  Refresh();
}

void FileDialog::Up() {
  if (!_folder.empty()) {
    _folder.pop_back();
  }
  size_t cut = _folder.size();
  while (cut > 0 && !IsSeparator(_folder[cut - 1])) {
    --cut;
  }
  _folder.resize(cut);
  Refresh();
}

bool FileDialog::OnMessage(LLF::Message* msg) {
  if (msg && _filesListbox && msg->GetSender() == static_cast<LLF::Object*>(_filesListbox)) {
    const Entry* entry = SelectedEntry();
    if (entry && entry->folder && msg->GetCode() == LISTBOX_MSG_DOUBLE_CLICK) {
      // Copied: the listing is replaced.
      const std::wstring name = entry->name;
      if (name == kParent) {
        Up();
      } else {
        Enter(name);
      }
    } else if (entry && !entry->folder && msg->GetCode() == LISTBOX_MSG_SELECTED) {
      OnFileSelected(_folder + entry->name);
    }
  }
  return Dialog::OnMessage(msg);
}

}  // namespace HLF
