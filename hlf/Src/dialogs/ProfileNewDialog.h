#pragma once
// The enter-name dialog that makes a player profile. OK refuses an empty
// name ("ErrorLabelEmpty" shows) and a name a profile has already (case
// counts; "ErrorLabelExists" shows), each time with the error effect on the
// label shown and the sound "profile_error" when it is loaded; a new name
// becomes the current profile (which makes and saves it) before the result
// "OK" goes out. The XML element "profilenewdlg"; its attributes
// "errorEffectFile" and "errorEffectName" (taken only together) name the
// error effect.
#include <string>

#include "dialogs/EnterNameDialog.h"

namespace HLF {

class ProfileNewDialog : public EnterNameDialog {
 public:
  ProfileNewDialog();

  LLF_KIND_OF(ProfileNewDialog, EnterNameDialog)
  ~ProfileNewDialog() override = default;
  // "ProfileNewDialog: " and the name.
  std::wstring Dump() const override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  Control* CreateInstance() const override;
  // The two error labels (hidden from the start), then the enter-name
  // dialog's children.
  bool OnCreated() override;
  void OnOk() override;

  virtual Label* GetErrorLabelEmpty() const { return errorLabelEmpty; }
  virtual Label* GetErrorLabelExists() const { return errorLabelExists; }

  static constexpr wchar_t kErrorSound[] = L"profile_error";

 private:
  Label* errorLabelEmpty = nullptr;
  Label* errorLabelExists = nullptr;
  std::wstring errorEffectFile;
  std::wstring errorEffectName;
};

}  // namespace HLF
