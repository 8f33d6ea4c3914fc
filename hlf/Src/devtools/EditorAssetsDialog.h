#pragma once
// What the editor's sounds and images dialogs share: a two-level list over
// a registry document (the asset groups of "game/assets" as "[ group ]",
// and inside a group "[ .. ]" followed by the names of its entries), the
// selected entry's details, and Add, Delete, Update, Browse and Ok. Every
// change is written to the registry file at once through the editor.
//
// Nothing is lost by a slip: adding a name that exists selects it and keeps
// it; a group name must be an XML name, or the registry could not be read
// again; a delete or refill hides the details and clears the selection, and
// Update acts only on a selected entry (never on "[ .. ]"), after the
// subclass has checked the values; renaming onto another entry of the group
// is refused. Comments under "assets" are no groups: they are not listed
// (they stay in the file). Each refusal is a warning line.
#include <string>
#include <vector>

#include "dialogs/Dialog.h"

namespace HLF {

class Button;
class Edit;
class EnterNameDialog;
class FileDialog;
class Label;
class Listbox;
class MessageDialog;
class XmlDocEx;

class EditorAssetsDialog : public Dialog {
 public:
  // The list's item that leads back to the groups.
  static constexpr const wchar_t* kUpItem = L"[ .. ]";

  EditorAssetsDialog() = default;

  LLF_KIND_OF(EditorAssetsDialog, Dialog)
  // Stops listening to its controls and to the open sub-dialogs.
  ~EditorAssetsDialog() override;
  Button* GetOkButton() const override { return _okButton; }
  bool OnMessage(LLF::Message* msg) override;

  virtual Button* GetAddButton() const { return _addButton; }
  virtual Button* GetDelButton() const { return _delButton; }
  virtual Button* GetUpdateButton() const { return _updateButton; }
  virtual Label* GetCaptionLabel() const { return _captionLabel; }
  virtual Edit* GetIDEdit() const { return _idEdit; }
  virtual Edit* GetFileEdit() const { return _fileEdit; }
  virtual Button* GetBrowseButton() const { return _browseButton; }
  virtual void SetDetailsVisible(bool shown);

  // The element names of the children of "game/assets", comments left
  // out; empty, with an error line, without the document or the path.
  std::vector<std::wstring> ListAssetGroups() const;
  // The "name" of each entry of the group; empty, with an error line,
  // without the document or the group.
  std::vector<std::wstring> ListEntries(const std::wstring& group) const;
  // The group shown; empty at the top level.
  const std::wstring& GetGroup() const { return _group; }
  const std::wstring& GetSource() const { return _source; }
  Listbox* GetList() const { return _list; }
  MessageDialog* GetConfirmDialog() const { return _confirmDialog; }
  EnterNameDialog* GetNameDialog() const { return _nameDialog; }
  FileDialog* GetFileDialog() const { return _fileDialog; }
  // Letter or '_' first, then letters, digits, '_', '-' and '.'.
  static bool IsXmlName(const std::wstring& name);

 protected:
  // What a subclass tells about its registry.
  struct Kind {
    const wchar_t* className;   // "EditorGameSoundsDialog"
    const wchar_t* file;        // "sounds.xml"
    const wchar_t* config;      // "GetSoundsConfig"
    const wchar_t* entry;       // "sound"
    const wchar_t* listName;    // "SoundsListbox"
    const wchar_t* addCaption;  // "Enter new sound ID:"
    int fileLayout;             // the chooser's layout
  };

  explicit EditorAssetsDialog(const Kind& kind) : _kind(kind) {}

  // Binds the shared controls, the list first filled: CaptionLabel,
  // OkButton, UpdateButton, AddButton, DelButton, the list. False, with
  // the error line, at the first one missing.
  bool BindList();
  // Listens to the shared controls and to the subclass's extra ones.
  void Listen(std::initializer_list<LLF::MessageSender*> extra);
  // Stops listening to them (the subclass's destructor).
  void StopListening(std::initializer_list<LLF::MessageSender*> extra);

  virtual XmlDocEx* Document() const = 0;
  virtual void SaveDocument() = 0;
  // Reads the named entry of the group into the dialog's fields; false
  // without the document.
  virtual bool ReadEntry(const std::wstring& group, const std::wstring& name) = 0;
  // Fills the details from the fields and the selection.
  virtual void ShowEntry() = 0;
  // A new entry with the default values (through the editor).
  virtual void AddEntry(const std::wstring& name) = 0;
  // Checks the details and writes them to the entry (through the editor);
  // false, with a warning, when a value is refused.
  virtual bool UpdateEntry(const std::wstring& name, const std::wstring& newName) = 0;
  // A message of a subclass's own control; true when taken.
  virtual bool OnDetailMessage(LLF::Message& msg) {
    (void)msg;
    return false;
  }

  // "game/assets" or one group in it, or null with the error line.
  LLF::XmlElement* Assets(bool deleting) const;
  LLF::XmlElement* Group(const std::wstring& group, bool deleting) const;
  // The entry element (tag) named name in the group, or null when there is
  // none; false, with noDocumentLine logged, when there is no registry.
  bool FindEntry(const std::wstring& group, const std::wstring& tag, const std::wstring& name,
                 const wchar_t* noDocumentLine, const LLF::XmlElement*& entry) const;
  // The text of the selected item; empty without one.
  std::wstring SelectedItem() const;
  bool HasEntrySelected() const;
  // The list anew for the group shown, with no selection (its report hides
  // the details).
  void Refill();
  void Select(const std::wstring& item);

  Kind _kind{};
  Button* _addButton = nullptr;
  Button* _delButton = nullptr;
  Button* _updateButton = nullptr;
  Button* _okButton = nullptr;
  Label* _captionLabel = nullptr;
  Listbox* _list = nullptr;
  Edit* _idEdit = nullptr;
  Edit* _fileEdit = nullptr;
  Button* _browseButton = nullptr;
  MessageDialog* _confirmDialog = nullptr;
  EnterNameDialog* _nameDialog = nullptr;
  FileDialog* _fileDialog = nullptr;
  std::wstring _group;
  std::wstring _source;

 private:
  void OnListSelected();
  void OnListDoubleClick();
  void Add(const std::wstring& typed);
  void Update();
  void Delete(const std::wstring& group, const std::wstring& item);
  void AskAdd();
  void AskDelete();
  void Browse();
  // Opens a sub-dialog of the layout as the open child; null when none.
  Dialog* Open(int layout);

  // What the open confirmation asks about.
  std::wstring _deleteGroup;
  std::wstring _deleteItem;
};

}  // namespace HLF
