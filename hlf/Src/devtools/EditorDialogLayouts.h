#pragma once
// The editor's dialog layouts, built into the program: one control element
// each (control XML), every text-bearing child in the editor's font
// "##font_editor;". The control factory makes them into dialogs.
namespace HLF {

class Dialog;

enum EditorLayout {
  EDITOR_LAYOUT_MAIN = 0,        // "editormaindlg" "MainEditorDlg"
  EDITOR_LAYOUT_GUI_EDITOR,      // "editorguieditdlg" "GUIEditorDlg"
  EDITOR_LAYOUT_ENTER_NAME,      // "enternamedlg" "EnterNameDlg"
  EDITOR_LAYOUT_MESSAGE,         // "messagedlg" "MessageDlg"
  EDITOR_LAYOUT_IMAGE_FILE,      // "imagefiledlg" "ImageFileDlg"
  EDITOR_LAYOUT_AUDIO_FILE,      // "audiofiledlg" "FileDlg"
  EDITOR_LAYOUT_GAME_STRINGS,    // "editorgamestringsdlg" "GameStringsDlg"
  EDITOR_LAYOUT_GAME_IMAGES,     // "editorgameimagesdlg" "GameImagesDlg"
  EDITOR_LAYOUT_GAME_SOUNDS,     // "editorgamesoundsdlg" "GameSoundsDlg"
  EDITOR_LAYOUT_WORKSPACE_SAVE,  // "filedlg" "WorkSpace_SaveDialog"
  EDITOR_LAYOUT_WORKSPACE_LOAD,  // "filedlg" "WorkSpace_LoadDialog"
  EDITOR_LAYOUT_COUNT
};

extern const wchar_t* const EditorDialogLayouts[EDITOR_LAYOUT_COUNT];

// A dialog made from one of the layouts by the control factory, or null
// (with a log line) when the layout gives no dialog.
Dialog* CreateEditorDialog(int layout);

}  // namespace HLF
