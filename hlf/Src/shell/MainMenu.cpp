#include "shell/MainMenu.h"

#include "core/Log.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "model/ControlFactory.h"
#include "modifiers/Blinker.h"
#include "shell/Game.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

namespace HLF {

namespace {

const wchar_t kOptionsFile[] = L"scripts/dialogs/dlg_options.xml";
const wchar_t kOptionsSection[] = L"optionsdlg";
const wchar_t kProfilesFile[] = L"scripts/dialogs/dlg_profiles.xml";
const wchar_t kProfilesSection[] = L"profilesdlg";
const wchar_t kProfileNewFile[] = L"scripts/dialogs/dlg_profilenewmm.xml";
const wchar_t kProfileNewSection[] = L"profilenewdlg";

bool From(const LLF::Message& msg, const Control* control) {
  return control && msg.GetSender() == static_cast<const LLF::Object*>(control);
}

}  // namespace

MainMenu::MainMenu(LLF::MessageReceiver* receiver) {
  if (receiver) {
    AddReceiver(receiver);
  }
  SetRenderable(false);
}

MainMenu::~MainMenu() {
  ReleaseControls();
  for (Control* dialog : {static_cast<Control*>(profileNewDialog), static_cast<Control*>(optionsDialog),
                          static_cast<Control*>(profilesDialog)}) {
    if (dialog && IndexOfChild(dialog) >= 0) {
      dialog->RemoveReceiver(this);
    }
  }
}

void MainMenu::ReleaseControls() {
  for (Control** field : {&welcomeLabel, &playButton, &optionsButton, &quitButton}) {
    Control* control = *field;
    *field = nullptr;
    if (!control) {
      continue;
    }
    control->RemoveReceiver(this);
    // Controls the derived menu placed go with their parent.
    if (!control->GetParent()) {
      delete control;
    }
  }
}

bool MainMenu::SetState(int state) {
  if (Game* game = Game::GetInstance()) {
    game->SetClearSettings(true, LLF::Color(255, 255, 255, 255));
  }
  return Control::SetState(state);
}

void MainMenu::DoState() {
  if (_current == MM_STATE_INIT) {
    CreateControls();
  }
}

bool MainMenu::OnMessage(LLF::Message* msg) {
  if (!HandleMessage(msg)) {
    Control::OnMessage(msg);
  }
  return true;
}

bool MainMenu::Play() {
  return true;
}

bool MainMenu::Close() {
  SendEmptyMessage();
  return true;
}

bool MainMenu::Quit() {
  return Close();
}

void MainMenu::SetControlsEnabled(bool enabled) {
  for (Control* control : {playButton, optionsButton, quitButton, welcomeLabel}) {
    if (control) {
      control->SetEnabled(enabled);
    }
  }
}

void MainMenu::UpdateWelcomeLabel() {
  Label* label = dynamic_cast<Label*>(welcomeLabel);
  Game* game = Game::GetInstance();
  if (!label || !game) {
    return;
  }
  const std::wstring name = game->GetCurrentProfileName();
  if (name.empty()) {
    label->SetText(game->GetStringVar(L"mainmenu_label_welcome"));
  } else {
    label->SetText(game->GetStringVar(L"mainmenu_label_welcome_front") + LLF::StrToUpper(name) +
                   game->GetStringVar(L"mainmenu_label_welcome_end"));
  }
}

Control* MainMenu::CreateNamed(const wchar_t* name, const char* className) {
  Control* control = ControlFactory::GetInstance().LoadNamedObjectFromXml(kLayoutFile, kLayoutSection, name);
  // The menu talks to these as a label and buttons: another class is as
  // good as missing.
  if (control && !control->IsKindOf(className)) {
    delete control;
    control = nullptr;
  }
  if (!control) {
    LLF::Log::GetInstance().Write(L"Error: Can't create " + LLF::AnsiToWide(className) + L" from file " +
                                  kLayoutFile + L", section " + kLayoutSection + L", control name " + name);
  }
  return control;
}

bool MainMenu::CreateControls() {
  ReleaseControls();
  welcomeLabel = CreateNamed(L"welcome_label", "Label");
  if (!welcomeLabel) {
    return false;
  }
  welcomeLabel->AddReceiver(this);
  UpdateWelcomeLabel();
  struct Slot {
    Control** field;
    const wchar_t* name;
  };
  for (const Slot& slot : {Slot{&playButton, L"play_button"}, Slot{&optionsButton, L"options_button"},
                           Slot{&quitButton, L"quit_button"}}) {
    *slot.field = CreateNamed(slot.name, "Button");
    if (!*slot.field) {
      return false;
    }
    (*slot.field)->AddReceiver(this);
  }
  return true;
}

Dialog* MainMenu::LoadDialog(const wchar_t* file, const wchar_t* section, const wchar_t* className) {
  Control* control = ControlFactory::GetInstance().LoadObjectFromXml(file, section);
  Dialog* dialog = dynamic_cast<Dialog*>(control);
  if (!dialog) {
    delete control;
    LLF::Log::GetInstance().Write(std::wstring(L"Error: Can't create ") + className + L" from file " + file +
                                  L", section " + section + L".");
  }
  return dialog;
}

bool MainMenu::Open(Dialog* dialog) {
  dialog->AddReceiver(this);
  if (!AddChild(dialog)) {
    dialog->RemoveReceiver(this);
    delete dialog;
    return false;
  }
  SetControlsEnabled(false);
  return true;
}

void MainMenu::Blink(Dialog* dialog) {
  Blinker* blinker = new Blinker(dialog, nullptr, nullptr, 400, 0, 4, Blinker::ALPHA, true, false);
  blinker->SetAlphas(127, 255);
  dialog->AddAndStartModifier(blinker);
  SetControlsEnabled(false);
}

bool MainMenu::OpenOptionsDialog() {
  if (optionsDialog) {
    Blink(optionsDialog);
    return true;
  }
  Dialog* dialog = LoadDialog(kOptionsFile, kOptionsSection, L"OptionsDialog");
  if (!dialog) {
    return false;
  }
  if (!Open(dialog)) {
    return false;
  }
  optionsDialog = dialog;
  return true;
}

bool MainMenu::OpenProfilesDialog() {
  if (profilesDialog) {
    Blink(profilesDialog);
    return true;
  }
  Dialog* dialog = LoadDialog(kProfilesFile, kProfilesSection, L"ProfilesDialog");
  if (!dialog || !Open(dialog)) {
    return false;
  }
  profilesDialog = dialog;
  return true;
}

bool MainMenu::OpenProfileNewDialog() {
  Dialog* dialog = LoadDialog(kProfileNewFile, kProfileNewSection, L"ProfileNewDialog");
  if (!dialog || !Open(dialog)) {
    return false;
  }
  profileNewDialog = dialog;
  return true;
}

bool MainMenu::HandleMessage(LLF::Message* msg) {
  if (!msg || (_current != MM_STATE_MENU && _current != MM_STATE_QUITING)) {
    return false;
  }
  const int code = msg->GetCode();
  if (From(*msg, profileNewDialog) && code == DIALOG_MSG_RESULT) {
    profileNewDialog = nullptr;
    SetControlsEnabled(true);
    Game* game = Game::GetInstance();
    if (game && game->GetCurrentProfile()) {
      UpdateWelcomeLabel();
      Play();
    }
    return true;
  }
  if (From(*msg, profilesDialog) && code == DIALOG_MSG_RESULT) {
    profilesDialog = nullptr;
    UpdateWelcomeLabel();
    SetControlsEnabled(true);
    return true;
  }
  if (From(*msg, optionsDialog) && code == DIALOG_MSG_RESULT) {
    optionsDialog = nullptr;
    SetControlsEnabled(true);
    return true;
  }
  if (From(*msg, optionsButton) && code == BUTTON_MSG_CLICKED) {
    return OpenOptionsDialog();
  }
  if (From(*msg, welcomeLabel) && code == LABEL_MSG_CLICKED) {
    return OpenProfilesDialog();
  }
  if (From(*msg, playButton) && code == BUTTON_MSG_CLICKED) {
    Game* game = Game::GetInstance();
    if (!game || !game->GetCurrentProfile()) {
      return OpenProfileNewDialog();
    }
    return Play();
  }
  if (From(*msg, quitButton) && code == BUTTON_MSG_CLICKED) {
    Quit();
    return true;
  }
  return false;
}

}  // namespace HLF
