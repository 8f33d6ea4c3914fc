#pragma once
// The editor's game strings dialog: the IDs of the strings document's
// "game/vars" in a list, the selected one's ID and value in two edits, and
// Add, Delete, Update and Ok. Every change goes through the editor, which
// writes the strings file at once.
//
// Nothing is lost by a slip: adding an ID that exists selects it and keeps
// its value; after a delete the selection and both edits are cleared, and
// Update changes only the string whose values the edits show; renaming onto
// another existing ID is refused. Each refusal is a warning line.
#include <string>
#include <vector>

#include "dialogs/Dialog.h"

namespace HLF {

class Button;
class Edit;
class EnterNameDialog;
class Label;
class Listbox;
class MessageDialog;

class EditorGameStringsDialog : public Dialog {
 public:
  EditorGameStringsDialog();

  LLF_KIND_OF(EditorGameStringsDialog, Dialog)
  // Stops listening to its controls and to the open sub-dialogs.
  ~EditorGameStringsDialog() override;
  Control* CreateInstance() const override;
  // Binds its ten controls (an error line and false at the first one
  // missing) and fills the list.
  bool OnCreated() override;
  Button* GetOkButton() const override { return _okButton; }
  bool OnMessage(LLF::Message* msg) override;

  virtual Button* GetAddButton() const { return _addButton; }
  virtual Button* GetDelButton() const { return _delButton; }
  virtual Button* GetUpdateButton() const { return _updateButton; }
  virtual Edit* GetNameEdit() const { return _nameEdit; }
  virtual Edit* GetValueEdit() const { return _valueEdit; }
  virtual Label* GetCaptionLabel() const { return _captionLabel; }
  virtual Label* GetStringNameLabel() const { return _stringNameLabel; }
  virtual Label* GetStringValueLabel() const { return _stringValueLabel; }
  virtual Listbox* GetStringsListbox() const { return _stringsListbox; }

  // The IDs of the strings document in order; empty, with an error line,
  // without the document or its "game/vars".
  std::vector<std::wstring> GetStringNames() const;
  // The open sub-dialogs, or null.
  MessageDialog* GetConfirmDialog() const { return _confirmDialog; }
  EnterNameDialog* GetNameDialog() const { return _nameDialog; }

 private:
  void Refresh();
  void SelectName(const std::wstring& name);
  // The edits show the selected string, or are emptied without one.
  void ShowSelection();
  void Add(const std::wstring& name);
  void Update();
  void DeleteString(const std::wstring& name);
  void AskAdd();
  void AskDelete();

  Button* _addButton = nullptr;
  Button* _delButton = nullptr;
  Button* _updateButton = nullptr;
  Button* _okButton = nullptr;
  Edit* _nameEdit = nullptr;
  Edit* _valueEdit = nullptr;
  Label* _captionLabel = nullptr;
  Label* _stringNameLabel = nullptr;
  Label* _stringValueLabel = nullptr;
  Listbox* _stringsListbox = nullptr;
  MessageDialog* _confirmDialog = nullptr;
  EnterNameDialog* _nameDialog = nullptr;
  // The ID the open confirmation asks about.
  std::wstring _deleteName;
  // The ID whose values the edits were filled with; empty when they show
  // none.
  std::wstring _shownName;
};

}  // namespace HLF
