#pragma once
// The game shell's controls and dialogs on one screen, for the program and
// the tests that drive them: the "GUI" lists of fonts.xml and images.xml
// and the list "MAIN" of sounds.xml load on the shell's loader thread, and once the loader
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
// past the dialog does nothing. The button "Quit" ends the program; the
// button "Back" calls the back handler, which a layout that cannot be
// built calls too.
//
// "Pick image" and "Pick sound" open the image and sound file dialogs at
// the program folder and log the path chosen ("Showcase - picked
// "images/title.png"") or "Showcase - nothing picked"; "Tutorial" opens
// the tutorial and logs its result. "Menu" opens a pop-up menu over its
// button, in the GUI list's font "ShowcaseMenu16", holding the focus, and
// logs each message it sends ("Showcase - menu 11 "Follow the moon"",
// then the two code-10 messages). For the record (and for whoever drives it from outside),
// the file dialogs' listings are logged as they open and change folder,
// with the folder below the starting one and the rows' height, and the
// menu's place and row height as it opens.
//
// Its button "Widgets" opens
// "scripts/dialogs/dlg_widgets.xml" the same way: an edit, check boxes, a
// slider that drives a progress bar, a scroll bar and a list box, which
// the showcase fills with kMooringsCount rows. Each of those widgets' own
// messages (codes 10 and up) is logged on one line:
//   Showcase - widget "NAME" code N value V "TEXT"
// NAME is the widget's name and N the message's code. V is the message's
// primary value (the slider's and the bar's value, the list's index),
// except for a check box, where it is 1 when the box is checked after the
// message and 0 when not. TEXT is the message's text (the edit's text, or
// the widget's name), except for the list box, where it is the selected
// row's text (empty with none). The slider's value also becomes the
// progress bar's, and the scroll bar's the depth label's.
#include <functional>
#include <string>
#include <utility>
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
  enum class DialogKind { kPlain, kImageFile, kAudioFile, kTutorial, kWidgets };
  static constexpr const wchar_t* kWidgetsFile = L"scripts/dialogs/dlg_widgets.xml";
  static constexpr int kMooringsCount = 30;

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
  // What "Back" does; without one the button does nothing.
  void SetBackHandler(std::function<void()> handler) { _onBack = std::move(handler); }
  // Opens the dialog over the screen; false when it is open already, when
  // there is no screen or when the layout fails (logged).
  bool OpenDialog() { return OpenDialog(DialogKind::kPlain); }
  bool OpenDialog(DialogKind kind);
  // Opens the pop-up menu over the "Menu" button; false when one is open
  // or there is no screen.
  bool OpenMenu();
  // Opens the widgets' dialog, the same way.
  bool OpenWidgets();

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
  // Fills the list, sets the fills' margins and listens to the widgets.
  void SetUpWidgets();
  void OnWidgetMessage(const LLF::Message& msg);
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
  HLF::Control* _backButton = nullptr;
  std::function<void()> _onBack;
  HLF::Control* _widgetsButton = nullptr;
  // The open widgets' dialog's widgets that report to the showcase.
  std::vector<HLF::Control*> _widgets;
  std::vector<HLF::Control*> _interactive;
  HLF::AssetsLoader _loader;
};
