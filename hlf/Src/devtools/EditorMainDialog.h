#pragma once
// The editor's home panel: a column of buttons in the top left corner of
// the EDITOR layer. "Strings", "Images" and "Sounds" open the game strings,
// images and sounds dialogs as its children (one of each at a time; a
// second click brings the open one to the front); "GUI Editor" opens the
// layout editor on the EDITOR layer and hides this panel until it reports.
// The other buttons do nothing. The panel never closes itself.
//
// The sub-dialogs are owned by their parents and delete themselves when
// they close; the panel forgets one when it reports its result, and also
// when it is gone from its parent without one (noticed at the next frame or
// click, never in the middle of moving a child), so no stale pointer is
// ever used.
#include "dialogs/Dialog.h"

namespace HLF {

class Button;

class EditorMainDialog : public Dialog {
 public:
  EditorMainDialog();

  LLF_KIND_OF(EditorMainDialog, Dialog)
  // Stops listening to its buttons and to the sub-dialogs still open.
  ~EditorMainDialog() override;
  Control* CreateInstance() const override;
  // Binds "StringsButton", "ImagesButton", "GUIEditorButton" and
  // "SoundsButton" (each a Button); false, with an error line, at the first
  // one missing.
  bool OnCreated() override;
  // Never closes.
  void OnOk() override {}
  void OnCancel() override {}
  bool OnMessage(LLF::Message* msg) override;
  // Drops the sub-dialogs that are gone, then the dialog's update.
  void Update(unsigned dt) override;

  virtual Button* GetStringsButton() const { return _stringsButton; }
  virtual Button* GetImagesButton() const { return _imagesButton; }
  virtual Button* GetGUIEditorButton() const { return _guiEditorButton; }
  virtual Button* GetSoundsButton() const { return _soundsButton; }

  // The open sub-dialogs, or null.
  Dialog* GetStringsDialog() const { return _stringsDialog; }
  Dialog* GetImagesDialog() const { return _imagesDialog; }
  Dialog* GetGUIEditorDialog() const { return _guiEditorDialog; }
  Dialog* GetSoundsDialog() const { return _soundsDialog; }

 private:
  // A dialog from one of the editor's layouts, or null (logged).
  Dialog* CreateDialog(int layout, const wchar_t* name);
  // Opens the asset dialog of the field as a child, or raises the open one.
  void OpenChild(Dialog*& field, int layout, const wchar_t* name);
  void OpenGuiEditor();
  // Drops the pointers of sub-dialogs no longer among their parent's
  // children (deleted, or on their way to deletion).
  void ForgetGoneDialogs();

  Button* _stringsButton = nullptr;
  Button* _imagesButton = nullptr;
  Button* _guiEditorButton = nullptr;
  Button* _soundsButton = nullptr;
  Dialog* _stringsDialog = nullptr;
  Dialog* _imagesDialog = nullptr;
  Dialog* _guiEditorDialog = nullptr;
  Dialog* _soundsDialog = nullptr;
};

}  // namespace HLF
