#pragma once
// A dialog for picking a file below a starting folder, the XML element
// "filedlg": the list "FilesListbox" shows the subfolders, each as
// "[ name ]" ("[ .. ]" for the parent), then the files matching the filter,
// both sorted case-blind; a double click on a folder row enters it or goes
// up, and a click on a file row puts its path into the edit "NameEdit".
// The opener reads the edit and GetFolder once the dialog reports OK.
//
// Each row keeps whether it is a folder, so a file whose name looks like a
// folder row ("[ x ].png") is still a file. Folders are joined and cut
// with '/', and the folder always ends with a separator.
//
// The root is locked at the starting folder: there the list has no
// "[ .. ]", and the edit shows the path relative to it. Unlocked, it shows
// the full path. A folder that cannot be read lists nothing.
//
// Required children: "CaptionLabel" (a label), "NameEdit" (an edit),
// "FilesListbox" (a list box). No XML attributes of its own.
#include <string>
#include <vector>

#include "dialogs/Dialog.h"

namespace HLF {

class Edit;
class Label;
class Listbox;

class FileDialog : public Dialog {
 public:
  FileDialog();

  LLF_KIND_OF(FileDialog, Dialog)
  // Stops listening to the edit and the list.
  ~FileDialog() override;
  Control* CreateInstance() const override;
  // Binds the three required children and lists the folder.
  bool OnCreated() override;

  virtual Label* GetCaptionLabel() const { return _captionLabel; }
  virtual Edit* GetNameEdit() const { return _nameEdit; }
  virtual Listbox* GetFilesListbox() const { return _filesListbox; }
  virtual std::wstring GetFolder() const { return _folder; }
  virtual std::wstring GetFilter() const { return _filter; }
  virtual bool IsRootLocked() const { return _rootLength != -1; }
  // A locked root moves to the new folder. Lists it.
  virtual void SetFolder(const std::wstring& folder);
  virtual void SetFilter(const std::wstring& filter);
  // Locks the root at the current folder, or unlocks it; no new listing.
  virtual void SetRootLocked(bool locked);
  virtual void Refresh();
  // The path of the picked file into the edit.
  virtual void OnFileSelected(const std::wstring& path);

  // The list's double clicks and selections, then OK and Cancel.
  bool OnMessage(LLF::Message* msg) override;

 private:
  struct Entry {
    std::wstring name;
    bool folder = false;
  };

  void Unhook();
  // The row of the list's selection, or null.
  const Entry* SelectedEntry() const;
  void Enter(const std::wstring& name);
  void Up();

  Edit* _nameEdit = nullptr;
  Listbox* _filesListbox = nullptr;
  Label* _captionLabel = nullptr;
  std::wstring _folder;
  std::wstring _filter = L"*.*";
  int _rootLength = 0;
  // One per row of the list, in its order.
  std::vector<Entry> _entries;
};

}  // namespace HLF
