#pragma once
// A dialog that asks for a name: a caption "CaptionLabel" above an edit
// "NameEdit". OK (its button or Enter) closes it only when the edit holds
// text, blanks counting as text; Cancel and Escape always close it. The XML
// element "enternamedlg"; it reads no attributes of its own. The opener
// reads the name from GetNameEdit while the result is delivered.
#include "dialogs/Dialog.h"

namespace HLF {

class Edit;
class Label;

class EnterNameDialog : public Dialog {
 public:
  EnterNameDialog();

  LLF_KIND_OF(EnterNameDialog, Dialog)
  // Stops listening to the edit.
  ~EnterNameDialog() override;
  Control* CreateInstance() const override;
  // "CaptionLabel" must be a label and "NameEdit" an edit (in that order),
  // else the log line and false; then the dialog base's buttons.
  bool OnCreated() override;
  // Closes with "OK" only when a name was typed; else nothing happens.
  void OnOk() override;
  void OnCancel() override;

  virtual Edit* GetNameEdit() const { return nameEdit; }
  virtual Label* GetCaptionLabel() const { return captionLabel; }

  // While the dialog cannot take messages every message is taken and
  // ignored; the edit's own messages change nothing.
  bool OnMessage(LLF::Message* msg) override;

 private:
  Edit* nameEdit = nullptr;
  Label* captionLabel = nullptr;
};

}  // namespace HLF
