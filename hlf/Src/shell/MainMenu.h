#pragma once
// The framework's main-menu scene: it creates the welcome label and the
// Play, Options and Quit buttons from "scripts/dialogs/mainmenu.xml"
// (section "mainmenu"), reacts to their clicks, opens the options, profiles
// and new-profile dialogs on top of itself, keeps the welcome text in line
// with the current player, and tells its receiver (the game's script) with
// code 0 when the player quits. It places nothing on screen and starts no
// game: a game derives from it, arranges the four controls, adds its look
// and music, and overrides Play and Quit.
//
// States: 0 builds the controls, 1 is the working menu, 2 is leaving; the
// clicks and the dialogs' results count only in states 1 and 2. While a
// dialog is open the four controls are disabled. A dialog closes itself
// (its parent, this menu, then deletes it); the menu only forgets it.
#include <string>

#include "model/Control.h"

namespace LLF {
class Music;
}

namespace HLF {

class Dialog;

class MainMenu : public Control {
 public:
  enum State { MM_STATE_INIT = 0, MM_STATE_MENU = 1, MM_STATE_QUITING = 2 };

  // The receiver is added first; the menu draws nothing of its own.
  explicit MainMenu(LLF::MessageReceiver* receiver);

  LLF_KIND_OF(MainMenu, Control)
  // The four controls are deleted when the menu did not hand them on.
  ~MainMenu() override;
  // State 0 creates the controls.
  void DoState() override;
  // The shell clears to opaque white from now on; then the state.
  bool SetState(int state) override;
  // HandleMessage, else the receiver's default. True.
  bool OnMessage(LLF::Message* msg) override;

  virtual LLF::Music* GetMusic() const { return music; }
  // Nothing here: the derived menu starts the game. True.
  virtual bool Play();
  // Code 0 to the receivers. True.
  virtual bool Close();
  // Each true when the dialog is open (or was already, and blinks), false
  // with a log line when its file cannot be built.
  virtual bool OpenOptionsDialog();
  virtual bool OpenProfileNewDialog();
  virtual bool OpenProfilesDialog();
  // The reactions of states 1 and 2; false for a message it does not take.
  virtual bool HandleMessage(LLF::Message* msg);
  virtual void UpdateWelcomeLabel();
  // Close. True.
  virtual bool Quit();
  // The four controls that exist.
  virtual void SetControlsEnabled(bool enabled);
  // The four controls from the layout, in the order label, Play, Options,
  // Quit; the first that cannot be made ends it with false and a log line.
  // Controls of an earlier call that were not placed are deleted.
  virtual bool CreateControls();

  Control* GetPlayButton() const { return playButton; }
  Control* GetOptionsButton() const { return optionsButton; }
  Control* GetQuitButton() const { return quitButton; }
  Control* GetWelcomeLabel() const { return welcomeLabel; }
  Dialog* GetProfileNewDialog() const { return profileNewDialog; }
  Dialog* GetOptionsDialog() const { return optionsDialog; }
  Dialog* GetProfilesDialog() const { return profilesDialog; }

  static constexpr wchar_t kLayoutFile[] = L"scripts/dialogs/mainmenu.xml";
  static constexpr wchar_t kLayoutSection[] = L"mainmenu";

 protected:
  // The menu's music, handed to the options dialog (not owned).
  void SetMusic(LLF::Music* menuMusic) { music = menuMusic; }

  Control* playButton = nullptr;
  Control* optionsButton = nullptr;
  Control* quitButton = nullptr;
  Control* welcomeLabel = nullptr;
  Dialog* profileNewDialog = nullptr;
  Dialog* optionsDialog = nullptr;
  Dialog* profilesDialog = nullptr;
  LLF::Music* music = nullptr;

 private:
  // One control of the layout, of the class (its type name); null with the
  // log line when it cannot be made.
  Control* CreateNamed(const wchar_t* name, const char* className);
  // A dialog from its file (section = root element); null with the log
  // line "Error: Can't create <className> from file ..." when it cannot be
  // built or is no dialog.
  Dialog* LoadDialog(const wchar_t* file, const wchar_t* section, const wchar_t* className);
  // Makes the dialog the menu's child and disables the controls.
  bool Open(Dialog* dialog);
  // The open dialog blinks (the player clicked for it again).
  void Blink(Dialog* dialog);
  // Forgets the four controls, deleting those that were not placed.
  void ReleaseControls();
};

}  // namespace HLF
