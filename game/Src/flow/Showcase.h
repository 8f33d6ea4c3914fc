#pragma once
// The first screen while the game's own scenes are being built: the
// "GUI" lists of fonts.xml and images.xml and the list "MAIN" of
// sounds.xml load on the shell's loader thread, and once the loader
// reports that it is done the layout "scripts/dialogs/showcase.xml"
// (section "showcase", object "screen") is built into the game layer with
// its emitters started. A load with failures still builds it (with a
// warning), so a missing picture shows as a placeholder, not as a black
// screen.
//
// Its button "Dialog" opens "scripts/dialogs/dlg_showcase.xml" as a child
// of the screen, and the result the dialog sends is logged as
// "Showcase - dialog result "OK"" (or "CANCEL"). While the dialog is open
// the screen's own buttons and links are disabled, so a click that falls
// past the dialog does nothing. The button "Quit" ends the program.
//
// "Pick image" and "Pick sound" open the image and sound file dialogs at
// the program folder and log the path chosen ("Showcase - picked
// "images/title.png"") or "Showcase - nothing picked"; "Tutorial" opens
// the tutorial and logs its result. "Menu" opens a pop-up menu over its
// button, in the GUI font, holding the focus, and logs each message it
// sends ("Showcase - menu 11 "Follow the moon"", then the two code-10
// messages). For the record (and for whoever drives it from outside),
// the file dialogs' listings are logged as they open and change folder,
// with the folder below the starting one and the rows' height, and the
// menu's place and row height as it opens.
#include <string>
#include <vector>

#include "core/MessageReceiver.h"
#include "shell/AssetsLoader.h"

namespace HLF {
class Control;
class Dialog;
class Listbox;
class PopupMenu;
}  // namespace HLF

class Showcase : public LLF::MessageReceiver {
 public:
  static constexpr const wchar_t* kLayoutFile = L"scripts/dialogs/showcase.xml";
  static constexpr const wchar_t* kDialogFile = L"scripts/dialogs/dlg_showcase.xml";
  static constexpr const wchar_t* kImageFileDialogFile = L"scripts/dialogs/dlg_imagefile.xml";
  static constexpr const wchar_t* kAudioFileDialogFile = L"scripts/dialogs/dlg_audiofile.xml";
  static constexpr const wchar_t* kTutorialFile = L"scripts/dialogs/dlg_tutorial.xml";

  // The dialogs the screen's buttons open.
  enum class DialogKind { kPlain, kImageFile, kAudioFile, kTutorial };

  Showcase() = default;
  // Removes and deletes the screen, then releases the assets.
  ~Showcase() override;
  Showcase(const Showcase&) = delete;
  Showcase& operator=(const Showcase&) = delete;

  LLF_KIND_OF(Showcase, LLF::MessageReceiver)

  // Starts loading the assets; the screen is built when they are in (at
  // once when nothing can load).
  void Start();
  // The loader's report, the buttons' clicks and the dialog's result.
  bool OnMessage(LLF::Message* msg) override;
  // Opens the dialog over the screen; false when it is open already, when
  // there is no screen or when the layout fails (logged).
  bool OpenDialog() { return OpenDialog(DialogKind::kPlain); }
  bool OpenDialog(DialogKind kind);
  // Opens the pop-up menu over the "Menu" button; false when one is open
  // or there is no screen.
  bool OpenMenu();

  // The screen in the game layer, or null.
  HLF::Control* GetScreen() const { return _screen; }
  // The open dialog, or null.
  HLF::Dialog* GetDialog() const { return _dialog; }
  // The open pop-up menu, or null.
  HLF::PopupMenu* GetMenu() const { return _menu; }
  const HLF::AssetsLoader& GetLoader() const { return _loader; }

 private:
  void Build();
  void OnButtonClick(const LLF::Object* sender);
  void OnDialogResult(const LLF::Message& msg);
  void OnMenuMessage(const LLF::Message& msg);
  void LogListing();
  // Enables or disables the screen's buttons and links.
  void EnableScreen(bool enabled);

  HLF::Control* _screen = nullptr;  // owned through the game layer
  HLF::Dialog* _dialog = nullptr;   // owned through the screen until it closes
  DialogKind _dialogKind = DialogKind::kPlain;
  HLF::PopupMenu* _menu = nullptr;  // owned through the screen until it closes
  // The open file dialog's list, and the folder it started in.
  HLF::Listbox* _filesList = nullptr;
  std::wstring _filesRoot;
  HLF::Control* _dialogButton = nullptr;
  HLF::Control* _quitButton = nullptr;
  HLF::Control* _pickImageButton = nullptr;
  HLF::Control* _pickSoundButton = nullptr;
  HLF::Control* _tutorialButton = nullptr;
  HLF::Control* _menuButton = nullptr;
  std::vector<HLF::Control*> _interactive;
  HLF::AssetsLoader _loader;
};
