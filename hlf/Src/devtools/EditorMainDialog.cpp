#include "devtools/EditorMainDialog.h"

#include "core/Log.h"
#include "core/Message.h"
#include "devtools/EditorDialogLayouts.h"
#include "model/ControlFactory.h"
#include "shell/Game.h"
#include "widgets/Button.h"

namespace HLF {

namespace {

const wchar_t kClassName[] = L"EditorMainDialog";

bool From(const LLF::Message& msg, const LLF::Object* object) {
  return object && msg.GetSender() == object;
}

Control* EditorLayer() {
  Game* game = Game::GetInstance();
  return game ? game->GetEditorLayer() : nullptr;
}

}  // namespace

EditorMainDialog::EditorMainDialog() : Dialog(L"MainEditorDialog") {
  _tag = L"editormaindlg";
}

EditorMainDialog::~EditorMainDialog() {
  for (Button* button : {_stringsButton, _imagesButton, _guiEditorButton, _soundsButton}) {
    if (button && IndexOfChild(button) >= 0) {
      button->RemoveReceiver(this);
    }
  }
  ForgetGoneDialogs();
  for (Dialog* dialog : {_imagesDialog, _stringsDialog, _guiEditorDialog, _soundsDialog}) {
    if (dialog) {
      dialog->RemoveReceiver(this);
    }
  }
}

Control* EditorMainDialog::CreateInstance() const {
  return new EditorMainDialog();
}

bool EditorMainDialog::OnCreated() {
  if (!RequireChild(_stringsButton, kClassName, L"StringsButton", "Button") ||
      !RequireChild(_imagesButton, kClassName, L"ImagesButton", "Button") ||
      !RequireChild(_guiEditorButton, kClassName, L"GUIEditorButton", "Button") ||
      !RequireChild(_soundsButton, kClassName, L"SoundsButton", "Button")) {
    return false;
  }
  for (Button* button : {_stringsButton, _imagesButton, _guiEditorButton, _soundsButton}) {
    button->AddReceiver(this);
  }
  return Dialog::OnCreated();
}

void EditorMainDialog::ForgetGoneDialogs() {
  for (Dialog** field : {&_stringsDialog, &_imagesDialog, &_soundsDialog}) {
    if (*field && IndexOfChild(*field) < 0) {
      *field = nullptr;
    }
  }
  if (_guiEditorDialog) {
    Control* layer = EditorLayer();
    if (!layer || layer->IndexOfChild(_guiEditorDialog) < 0) {
      _guiEditorDialog = nullptr;
      SetVisible(true);
    }
  }
}

void EditorMainDialog::Update(unsigned dt) {
  ForgetGoneDialogs();
  Dialog::Update(dt);
}

bool EditorMainDialog::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return false;
  }
  const int code = msg->GetCode();
  if (code == DIALOG_MSG_RESULT) {
    if (From(*msg, _stringsDialog)) {
      _stringsDialog = nullptr;
      return true;
    }
    if (From(*msg, _guiEditorDialog)) {
      _guiEditorDialog = nullptr;
      SetVisible(true);
      return true;
    }
    if (From(*msg, _imagesDialog)) {
      _imagesDialog = nullptr;
      return true;
    }
    if (From(*msg, _soundsDialog)) {
      _soundsDialog = nullptr;
      return true;
    }
  }
  if (code == BUTTON_MSG_CLICKED) {
    ForgetGoneDialogs();
  }
  if (!CanProcessMessages()) {
    return true;
  }
  if (code == BUTTON_MSG_CLICKED) {
    if (From(*msg, _guiEditorButton)) {
      OpenGuiEditor();
    } else if (From(*msg, _stringsButton)) {
      OpenChild(_stringsDialog, EDITOR_LAYOUT_GAME_STRINGS, L"GameStringsDlg");
    } else if (From(*msg, _imagesButton)) {
      OpenChild(_imagesDialog, EDITOR_LAYOUT_GAME_IMAGES, L"GameImagesDlg");
    } else if (From(*msg, _soundsButton)) {
      OpenChild(_soundsDialog, EDITOR_LAYOUT_GAME_SOUNDS, L"GameSoundsDlg");
    }
  }
  return Dialog::OnMessage(msg);
}

Dialog* EditorMainDialog::CreateDialog(int layout, const wchar_t* name) {
  Control* made = ControlFactory::GetInstance().LoadObjectFromXmlText(EditorDialogLayouts[layout]);
  Dialog* dialog = dynamic_cast<Dialog*>(made);
  if (!dialog) {
    delete made;
    LLF::Log::GetInstance().Write(std::wstring(L"Error: EditorMainDialog - can't create the dialog ") + name +
                                  L" from its layout.");
  }
  return dialog;
}

void EditorMainDialog::OpenChild(Dialog*& field, int layout, const wchar_t* name) {
  if (field) {
    field->BringToFront();
    return;
  }
  Dialog* dialog = CreateDialog(layout, name);
  if (!dialog) {
    return;
  }
  dialog->CenterOnParent();
  dialog->AddReceiver(this);
  if (!AddChild(dialog)) {
    delete dialog;
    return;
  }
  field = dialog;
}

void EditorMainDialog::OpenGuiEditor() {
  if (_guiEditorDialog) {
    _guiEditorDialog->BringToFront();
    return;
  }
  Control* layer = EditorLayer();
  if (!layer) {
    LLF::Log::GetInstance().Write(L"Error: EditorMainDialog - there is no EDITOR layer for the GUI editor.");
    return;
  }
  Dialog* dialog = CreateDialog(EDITOR_LAYOUT_GUI_EDITOR, L"GUIEditorDlg");
  if (!dialog) {
    return;
  }
  dialog->AddReceiver(this);
  if (!layer->AddChild(dialog)) {
    delete dialog;
    return;
  }
  _guiEditorDialog = dialog;
  SetVisible(false);
}

}  // namespace HLF
