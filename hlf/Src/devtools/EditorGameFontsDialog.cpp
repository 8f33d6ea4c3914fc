#include "devtools/EditorGameFontsDialog.h"

namespace HLF {

EditorGameFontsDialog::EditorGameFontsDialog() {
  _tag = L"editorgamefontsdlg";
}

Control* EditorGameFontsDialog::CreateInstance() const {
  return new EditorGameFontsDialog();
}

}  // namespace HLF
