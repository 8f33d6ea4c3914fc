#include "dialogs/ProfilesDialog.h"

#include "core/Log.h"
#include "model/ControlFactory.h"
#include "shell/Game.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

bool From(const LLF::Message& msg, const LLF::Object* object) {
  return object && msg.GetSender() == object;
}

}  // namespace

ProfilesDialog::ProfilesDialog() {
  _tag = L"profilesdlg";
}

ProfilesDialog::~ProfilesDialog() {
  for (Control* child : {static_cast<Control*>(profilesListbox), static_cast<Control*>(createButton),
                         static_cast<Control*>(deleteButton)}) {
    if (child && IndexOfChild(child) >= 0) {
      child->RemoveReceiver(this);
    }
  }
}

std::wstring ProfilesDialog::Dump() const {
  return L"Profiles Dialog: ";
}

Control* ProfilesDialog::CreateInstance() const {
  return new ProfilesDialog();
}

bool ProfilesDialog::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  struct Field {
    const wchar_t* name;
    std::wstring* value;
  };
  for (const Field& field :
       {Field{L"profileNewDlgFile", &profileNewDlgFile}, Field{L"profileNewDlgBranch", &profileNewDlgBranch},
        Field{L"profileDelDlgFile", &profileDelDlgFile},
        Field{L"profileDelDlgBranch", &profileDelDlgBranch}}) {
    if (const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(field.name))) {
      *field.value = attribute->GetValue();
    }
  }
  return Dialog::LoadFromXml(element);
}

bool ProfilesDialog::OnCreated() {
  if (!RequireChild(profilesListbox, L"ProfilesDialog", L"ProfilesListbox", "Listbox") ||
      !RequireChild(titleLabel, L"ProfilesDialog", L"TitleLabel", "Label") ||
      !RequireChild(createButton, L"ProfilesDialog", L"CreateButton", "Button") ||
      !RequireChild(deleteButton, L"ProfilesDialog", L"DeleteButton", "Button")) {
    return false;
  }
  for (Control* child : {static_cast<Control*>(profilesListbox), static_cast<Control*>(createButton),
                         static_cast<Control*>(deleteButton)}) {
    child->RemoveReceiver(this);
    child->AddReceiver(this);
  }
  RefreshList();
  return Dialog::OnCreated();
}

void ProfilesDialog::UpdateDeleteButton() {
  // Delete works on the selected row: without one there is nothing to
  // delete.
  deleteButton->SetEnabled(profilesListbox->GetItemsCount() > 0 && profilesListbox->GetSelected() >= 0);
}

void ProfilesDialog::RefreshList() {
  Game* game = Game::GetInstance();
  profilesListbox->SetItems(game ? game->GetProfileNames() : std::vector<std::wstring>());
  const std::wstring current = game ? game->GetCurrentProfileName() : std::wstring();
  for (int i = 0; i < static_cast<int>(profilesListbox->GetItemsCount()); ++i) {
    if (profilesListbox->GetItem(i) == current) {
      profilesListbox->SetSelected(i);
    }
  }
  UpdateDeleteButton();
}

Dialog* ProfilesDialog::OpenSubDialog(const std::wstring& file, const std::wstring& branch) {
  Control* made = ControlFactory::GetInstance().LoadObjectFromXml(file, branch);
  Dialog* dialog = dynamic_cast<Dialog*>(made);
  if (!dialog) {
    delete made;
    LLF::Log::GetInstance().Write(L"Error: ProfilesDialog - can't create a dialog from file " + file +
                                  L", branch " + branch + L".");
    return nullptr;
  }
  dialog->AddReceiver(this);
  if (!ShowChildDialog(dialog)) {
    dialog->RemoveReceiver(this);
    delete dialog;
    return nullptr;
  }
  return dialog;
}

void ProfilesDialog::DeleteSelected() {
  Game* game = Game::GetInstance();
  const int selected = profilesListbox->GetSelected();
  if (!game || selected < 0) {
    return;
  }
  const std::wstring name = profilesListbox->GetSelectedItem();
  game->DeleteProfile(name);
  if (name == game->GetCurrentProfileName()) {
    int i = selected;
    profilesListbox->RemoveItem(i);
    const int count = static_cast<int>(profilesListbox->GetItemsCount());
    if (count == 0) {
      game->SetCurrentProfile(std::wstring());
      // Removing a row leaves the list's selected index as it was: an
      // empty list must not claim a selected row.
      profilesListbox->SetSelected(-1);
    } else {
      if (i >= count) {
        --i;
      }
      game->SetCurrentProfile(profilesListbox->GetItem(i));
      profilesListbox->SetSelected(i);
    }
  } else {
    // A row that was not the current player (none was): the list follows
    // the file, and the current player stays as it was.
    game->SaveConfigs();
    RefreshList();
  }
  UpdateDeleteButton();
}

bool ProfilesDialog::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  const int code = msg->GetCode();
  Game* game = Game::GetInstance();
  if (From(*msg, profilesListbox) && code == 10) {
    if (game && profilesListbox->GetSelected() >= 0) {
      game->SetCurrentProfile(profilesListbox->GetSelectedItem());
    }
    UpdateDeleteButton();
    return true;
  }
  if (From(*msg, newProfileDialog) && code == DIALOG_MSG_RESULT) {
    newProfileDialog = nullptr;
    RefreshList();
    return true;
  }
  if (From(*msg, deleteProfileDialog) && code == DIALOG_MSG_RESULT) {
    deleteProfileDialog = nullptr;
    if (msg->GetParam() == DIALOG_RESULT_OK) {
      DeleteSelected();
    }
    return true;
  }
  if (From(*msg, createButton) && code == BUTTON_MSG_CLICKED) {
    if (profileNewDlgFile.empty() || profileNewDlgBranch.empty()) {
      LLF::Log::GetInstance().Write(
          L"Error: Profiles dialog should include profileNewDlgFile and "
          L"profileNewDlgBranch attributes.");
    } else {
      newProfileDialog = OpenSubDialog(profileNewDlgFile, profileNewDlgBranch);
    }
    return true;
  }
  if (From(*msg, deleteButton) && code == BUTTON_MSG_CLICKED) {
    if (profilesListbox->GetSelected() < 0) {
      return true;
    }
    if (profileDelDlgFile.empty() || profileDelDlgBranch.empty()) {
      LLF::Log::GetInstance().Write(
          L"Error: Profiles dialog should include profileDelDlgFile and "
          L"_profileDelDlgBranch attributes.");
    } else {
      deleteProfileDialog = OpenSubDialog(profileDelDlgFile, profileDelDlgBranch);
    }
    return true;
  }
  return Dialog::OnMessage(msg);
}

}  // namespace HLF
