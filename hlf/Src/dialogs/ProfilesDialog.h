#pragma once
// The players' dialog: a list "ProfilesListbox" of the profiles in the
// order of the profiles file, in which a pick makes that profile current; a
// "CreateButton" that opens a new-player dialog on top; a "DeleteButton"
// that opens a confirmation and deletes the selected player once it is
// confirmed. Delete is enabled only while a row is selected. The XML
// element "profilesdlg"; "profileNewDlgFile" with "profileNewDlgBranch",
// and "profileDelDlgFile" with "profileDelDlgBranch", name the two
// sub-dialogs' layouts (a branch is the element path from the file's top
// element). A sub-dialog that cannot be built is logged, and the dialog
// stays as it was.
#include <string>

#include "dialogs/Dialog.h"

namespace HLF {

class Button;
class Label;
class Listbox;

class ProfilesDialog : public Dialog {
 public:
  ProfilesDialog();

  LLF_KIND_OF(ProfilesDialog, Dialog)
  // Stops listening to the list and the two buttons.
  ~ProfilesDialog() override;
  // "Profiles Dialog: "
  std::wstring Dump() const override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  Control* CreateInstance() const override;
  // The list, title, Create and Delete (in that order), then the list is
  // filled, then the dialog base's buttons.
  bool OnCreated() override;

  virtual Label* GetTitleLabel() const { return titleLabel; }
  virtual Listbox* GetProfilesListbox() const { return profilesListbox; }
  virtual Button* GetCreateButton() const { return createButton; }
  virtual Button* GetDeleteButton() const { return deleteButton; }
  // The profiles' names, the current one selected.
  virtual void RefreshList();

  bool OnMessage(LLF::Message* msg) override;

 private:
  // A sub-dialog opened on top, or null (logged) when it cannot be built.
  Dialog* OpenSubDialog(const std::wstring& file, const std::wstring& branch);
  void DeleteSelected();
  void UpdateDeleteButton();

  Label* titleLabel = nullptr;
  Button* createButton = nullptr;
  Button* deleteButton = nullptr;
  Listbox* profilesListbox = nullptr;
  Dialog* newProfileDialog = nullptr;
  Dialog* deleteProfileDialog = nullptr;
  std::wstring profileNewDlgFile;
  std::wstring profileNewDlgBranch;
  std::wstring profileDelDlgFile;
  std::wstring profileDelDlgBranch;
};

}  // namespace HLF
