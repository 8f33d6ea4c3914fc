#include "devtools/EditorDialogLayouts.h"

#include <string>

#include "core/Log.h"
#include "dialogs/Dialog.h"
#include "model/ControlFactory.h"

namespace HLF {

namespace {

// Layouts are whole raw texts, as a layout file would hold them.

const wchar_t kMainDialog[] =
    LR"(<editormaindlg name="MainEditorDlg" size="120,340" pos="0,0">
  <button name="StringsButton" text="Strings" pos="10,10" size="100,30" alignment="18" font="##font_editor;" />
  <button name="ImagesButton" text="Images" pos="10,50" size="100,30" alignment="18" font="##font_editor;" />
  <button name="FontsButton" text="Fonts" pos="10,90" size="100,30" alignment="18" font="##font_editor;" />
  <button name="SoundsButton" text="Sounds" pos="10,130" size="100,30" alignment="18" font="##font_editor;" />
  <button name="MusicButton" text="Music" pos="10,170" size="100,30" alignment="18" font="##font_editor;" />
  <button name="GUIEditorButton" text="GUI Editor" pos="10,220" size="100,30" alignment="18" font="##font_editor;" />
  <button name="SplashScreensButton" text="Splash Screens" pos="10,260" size="100,30" alignment="18" font="##font_editor;" />
  <button name="ParticlesEditorButton" text="Particles Editor" pos="10,300" size="100,30" alignment="18" font="##font_editor;" />
</editormaindlg>)";

const wchar_t kGuiEditorDialog[] =
    LR"(<editorguieditdlg name="GUIEditorDlg" size="120,130" pos="0,0">
  <button name="NewButton" text="New" pos="10,10" size="100,30" alignment="18" font="##font_editor;" />
  <button name="LoadButton" text="Load" pos="10,50" size="100,30" alignment="18" font="##font_editor;" />
  <button name="CloseButton" text="Close" pos="10,90" size="100,30" alignment="18" font="##font_editor;" />
</editorguieditdlg>)";

const wchar_t kEnterNameDialog[] =
    LR"(<enternamedlg name="EnterNameDlg" size="300,100" pos="100,100">
  <label name="CaptionLabel" text="Enter name:" size="280,20" pos="10,0" font="##font_editor;" />
  <edit name="NameEdit" text="" allowedChars="english_rich_charset" size="280,30" pos="10,20" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="40,60" size="100,30" alignment="18" font="##font_editor;" />
  <button name="CancelButton" text="Cancel" pos="150,60" size="100,30" alignment="18" font="##font_editor;" />
</enternamedlg>)";

const wchar_t kMessageDialog[] =
    LR"(<messagedlg name="MessageDlg" size="300,100" pos="100,100">
  <label name="TextLabel" text="This is a text message!" size="280,40" pos="10,10" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="40,60" size="100,30" alignment="18" font="##font_editor;" />
  <button name="CancelButton" text="Cancel" pos="150,60" size="100,30" alignment="18" font="##font_editor;" />
</messagedlg>)";

const wchar_t kImageFileDialog[] =
    LR"(<imagefiledlg name="ImageFileDlg" size="686,350" pos="100,100">
  <label name="CaptionLabel" text="Select image file:" size="380,25" pos="10,0" font="##font_editor;" />
  <listbox name="FilesListbox" alignment="1" size="380,240" pos="10,25" font="##font_editor;" />
  <edit name="NameEdit" allowedChars="english_rich_charset" size="380,25" pos="10,275" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="90,310" size="100,30" alignment="18" font="##font_editor;" />
  <button name="CancelButton" text="Cancel" pos="200,310" size="100,30" alignment="18" font="##font_editor;" />
  <staticimage name="PreviewImage" size="276,275" pos="400,25" />
</imagefiledlg>)";

const wchar_t kAudioFileDialog[] =
    LR"(<audiofiledlg name="FileDlg" size="400,350" pos="100,100">
  <label name="CaptionLabel" text="Select sound file:" size="380,25" pos="10,0" font="##font_editor;" />
  <listbox name="FilesListbox" alignment="1" size="380,240" pos="10,25" font="##font_editor;" />
  <edit name="NameEdit" allowedChars="english_rich_charset" size="380,25" pos="10,275" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="90,310" size="100,30" alignment="18" font="##font_editor;" />
  <button name="CancelButton" text="Cancel" pos="200,310" size="100,30" alignment="18" font="##font_editor;" />
</audiofiledlg>)";

const wchar_t kGameStringsDialog[] =
    LR"(<editorgamestringsdlg name="GameStringsDlg" size="680,350" pos="100,100">
  <label name="CaptionLabel" text="Edit game strings here." alignment="18" size="666,25" pos="10,0" font="##font_editor;" />
  <listbox name="StringsListbox" alignment="1" size="280,275" pos="10,25" font="##font_editor;" />
  <label name="StringNameLabel" text="String ID:" alignment="16" size="80,30" pos="300,25" font="##font_editor;" />
  <edit name="NameEdit" text="" alignment="18" size="280,30" pos="390,25" allowedChars="english_charset" font="##font_editor;" />
  <label name="StringValueLabel" text="String value:" alignment="16" size="80,30" pos="300,65" font="##font_editor;" />
  <edit name="ValueEdit" text="" alignment="18" size="280,30" pos="390,65" allowedChars="english_rich_charset" font="##font_editor;" />
  <button name="UpdateButton" text="Update string" pos="300,105" size="370,30" alignment="18" font="##font_editor;" />
  <button name="AddButton" text="Add" pos="10,310" size="135,30" alignment="18" font="##font_editor;" />
  <button name="DelButton" text="Delete" pos="155,310" size="135,30" alignment="18" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="570,310" size="100,30" alignment="18" font="##font_editor;" />
</editorgamestringsdlg>)";

const wchar_t kGameImagesDialog[] =
    LR"(<editorgameimagesdlg name="GameImagesDlg" size="680,430" pos="100,100">
  <label name="CaptionLabel" text="Edit game images here." size="666,25" pos="10,0" alignment="18" font="##font_editor;" />
  <listbox name="ImagesListbox" size="280,355" pos="10,25" alignment="1" font="##font_editor;" />
  <staticimage name="PreviewImage" size="370,275" pos="300,25" />
  <label name="ImageCellsLabel" text="Cells:" size="80,30" pos="300,310" alignment="16" font="##font_editor;" />
  <edit name="CellsEdit" text="" size="40,30" pos="335,310" allowedChars="0123456789" font="##font_editor;" />
  <label name="ImageLoopsLabel" text="Loops:" size="80,30" pos="385,310" font="##font_editor;" />
  <edit name="LoopsEdit" text="" size="40,30" pos="429,310" allowedChars="0123456789" font="##font_editor;" />
  <label name="ImageIDLabel" text="ID:" size="80,30" pos="479,310" alignment="16" font="##font_editor;" />
  <edit name="IDEdit" text="" size="170,30" pos="500,310" alignment="18" allowedChars="english_charset" font="##font_editor;" />
  <label name="ImageFileLabel" text="File:" size="80,30" pos="300,350" alignment="16" font="##font_editor;" />
  <edit name="FileEdit" text="" size="196,30" pos="335,350" enabled="false" alignment="18" allowedChars="english_rich_charset" font="##font_editor;" />
  <button name="BrowseButton" text="..." pos="530,350" size="30,30" alignment="18" font="##font_editor;" />
  <button name="UpdateButton" text="Update Image" pos="570,350" size="100,30" alignment="18" font="##font_editor;" />
  <button name="AddButton" text="Add" pos="10,390" size="135,30" alignment="18" font="##font_editor;" />
  <button name="DelButton" text="Delete" pos="155,390" size="135,30" alignment="18" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="570,390" size="100,30" alignment="18" font="##font_editor;" />
</editorgameimagesdlg>)";

const wchar_t kGameSoundsDialog[] =
    LR"(<editorgamesoundsdlg name="GameSoundsDlg" size="680,430" pos="100,100">
  <label name="CaptionLabel" text="Edit game sounds here." size="666,25" pos="10,0" alignment="18" font="##font_editor;" />
  <listbox name="SoundsListbox" size="280,355" pos="10,25" alignment="1" font="##font_editor;" />
  <label name="SoundVolumeLabel" text="Volume:" size="80,30" pos="300,310" alignment="16" font="##font_editor;" />
  <edit name="VolumeEdit" text="100" size="40,30" pos="350,310" alignment="18" allowedChars="0123456789." font="##font_editor;" />
  <checkbox name="SoundLoopedCheckbox" text="Looped" size="30,30" pos="395,310" alignment="1" font="##font_editor;" />
  <label name="SoundIDLabel" text="ID:" size="80,30" pos="479,310" alignment="16" font="##font_editor;" />
  <edit name="IDEdit" text="" size="170,30" pos="500,310" alignment="18" allowedChars="english_charset" font="##font_editor;" />
  <label name="SoundFileLabel" text="File:" size="80,30" pos="300,350" alignment="16" font="##font_editor;" />
  <edit name="FileEdit" text="" size="196,30" pos="335,350" enabled="false" alignment="18" allowedChars="english_rich_charset" font="##font_editor;" />
  <button name="BrowseButton" text="..." pos="530,350" size="30,30" alignment="18" font="##font_editor;" />
  <button name="UpdateButton" text="Update Sound" pos="570,350" size="100,30" alignment="18" font="##font_editor;" />
  <button name="AddButton" text="Add" pos="10,390" size="135,30" alignment="18" font="##font_editor;" />
  <button name="DelButton" text="Delete" pos="155,390" size="135,30" alignment="18" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="570,390" size="100,30" alignment="18" font="##font_editor;" />
</editorgamesoundsdlg>)";

const wchar_t kWorkspaceSaveDialog[] =
    LR"(<filedlg name="WorkSpace_SaveDialog" size="686,350" pos="100,100">
  <label name="CaptionLabel" text="Select file for saving:" size="380,25" pos="10,0" font="##font_editor;" />
  <listbox name="FilesListbox" alignment="1" size="380,240" pos="10,25" font="##font_editor;" />
  <edit name="NameEdit" allowedChars="english_rich_charset" size="380,25" pos="10,275" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="90,310" size="100,30" alignment="18" font="##font_editor;" />
  <button name="CancelButton" text="Cancel" pos="200,310" size="100,30" alignment="18" font="##font_editor;" />
</filedlg>)";

const wchar_t kWorkspaceLoadDialog[] =
    LR"(<filedlg name="WorkSpace_LoadDialog" size="686,350" pos="100,100">
  <label name="CaptionLabel" text="Select file for loading:" size="380,25" pos="10,0" font="##font_editor;" />
  <listbox name="FilesListbox" alignment="1" size="380,240" pos="10,25" font="##font_editor;" />
  <edit name="NameEdit" allowedChars="english_rich_charset" size="380,25" pos="10,275" font="##font_editor;" />
  <button name="OkButton" text="Ok" pos="90,310" size="100,30" alignment="18" font="##font_editor;" />
  <button name="CancelButton" text="Cancel" pos="200,310" size="100,30" alignment="18" font="##font_editor;" />
</filedlg>)";

}  // namespace

const wchar_t* const EditorDialogLayouts[EDITOR_LAYOUT_COUNT] = {
    kMainDialog,       kGuiEditorDialog,     kEnterNameDialog,     kMessageDialog,
    kImageFileDialog,  kAudioFileDialog,     kGameStringsDialog,   kGameImagesDialog,
    kGameSoundsDialog, kWorkspaceSaveDialog, kWorkspaceLoadDialog,
};

Dialog* CreateEditorDialog(int layout) {
  if (layout < 0 || layout >= EDITOR_LAYOUT_COUNT) {
    return nullptr;
  }
  Control* made = ControlFactory::GetInstance().LoadObjectFromXmlText(EditorDialogLayouts[layout]);
  Dialog* dialog = dynamic_cast<Dialog*>(made);
  if (!dialog) {
    delete made;
    LLF::Log::GetInstance().Write(L"Error: Editor - the editor layout " + std::to_wstring(layout) +
                                  L" gives no dialog.");
  }
  return dialog;
}

}  // namespace HLF
