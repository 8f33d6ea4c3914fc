#include "dialogs/MessageDialog.h"

#include "widgets/Label.h"

namespace HLF {

MessageDialog::MessageDialog() {
  _tag = L"messagedlg";
}

Control* MessageDialog::CreateInstance() const {
  return new MessageDialog();
}

bool MessageDialog::OnCreated() {
  if (!RequireChild(textLabel, L"MessageDialog", L"TextLabel", "Label")) {
    return false;
  }
  return Dialog::OnCreated();
}

}  // namespace HLF
