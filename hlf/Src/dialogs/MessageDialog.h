#pragma once
// A dialog that shows a text in its label "TextLabel" and closes with OK
// or Cancel (the dialog base's buttons, each optional). The XML element
// "messagedlg"; it reads no attributes of its own. The opener sets the
// text through GetTextLabel and waits for the result (code 10).
#include "dialogs/Dialog.h"

namespace HLF {

class Label;

class MessageDialog : public Dialog {
 public:
  MessageDialog();

  LLF_KIND_OF(MessageDialog, Dialog)
  ~MessageDialog() override = default;
  Control* CreateInstance() const override;
  // "TextLabel" must be a label, else the log line and false; then the
  // dialog base's buttons.
  bool OnCreated() override;

  virtual Label* GetTextLabel() const { return textLabel; }

 private:
  Label* textLabel = nullptr;
};

}  // namespace HLF
