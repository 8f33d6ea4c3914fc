#include "dialogs/EnterNameDialog.h"

#include "widgets/Edit.h"
#include "widgets/Label.h"

namespace HLF {

EnterNameDialog::EnterNameDialog() {
  _tag = L"enternamedlg";
}

EnterNameDialog::~EnterNameDialog() {
  if (nameEdit && IndexOfChild(nameEdit) >= 0) {
    nameEdit->RemoveReceiver(this);
  }
}

Control* EnterNameDialog::CreateInstance() const {
  return new EnterNameDialog();
}

bool EnterNameDialog::OnCreated() {
  if (!RequireChild(captionLabel, L"EnterNameDialog", L"CaptionLabel", "Label") ||
      !RequireChild(nameEdit, L"EnterNameDialog", L"NameEdit", "Edit")) {
    return false;
  }
  nameEdit->RemoveReceiver(this);
  nameEdit->AddReceiver(this);
  return Dialog::OnCreated();
}

void EnterNameDialog::OnOk() {
  if (nameEdit && !nameEdit->GetText().empty()) {
    Dialog::OnOk();
  }
}

void EnterNameDialog::OnCancel() {
  Dialog::OnCancel();
}

bool EnterNameDialog::OnMessage(LLF::Message* msg) {
  if (!CanProcessMessages()) {
    return true;
  }
  return Dialog::OnMessage(msg);
}

}  // namespace HLF
