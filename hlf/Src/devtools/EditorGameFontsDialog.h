#pragma once
// The editor's fonts dialog: a prototype in the control factory under
// "editorgamefontsdlg" and nothing more yet; it behaves as a plain dialog.
#include "dialogs/Dialog.h"

namespace HLF {

class EditorGameFontsDialog : public Dialog {
 public:
  EditorGameFontsDialog();

  LLF_KIND_OF(EditorGameFontsDialog, Dialog)
  ~EditorGameFontsDialog() override = default;
  Control* CreateInstance() const override;
};

}  // namespace HLF
