#include "demo/Showcase.h"

#include <iterator>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "core/Log.h"
#include "dialogs/Dialog.h"
#include "dialogs/FileDialog.h"
#include "dialogs/PopupMenu.h"
#include "font/FontsManager.h"
#include "math/Color.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "particles/Emitter.h"
#include "shell/Game.h"
#include "widgets/Button.h"
#include "widgets/Checkbox.h"
#include "widgets/Edit.h"
#include "widgets/HyperLabel.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "widgets/Progress.h"
#include "widgets/Scroll.h"
#include "widgets/Slider.h"

namespace {

const wchar_t kLayoutSection[] = L"showcase";
const wchar_t kScreenName[] = L"screen";
const wchar_t kMenuFont[] = L"ShowcaseMenu16";
constexpr int kMenuChoice = 11;
const wchar_t* const kMenuRows[] = {L"Light the lanterns", L"Listen to the reeds", L"Follow the moon"};

struct DialogLayout {
  const wchar_t* file;
  const wchar_t* section;
};

DialogLayout LayoutOf(Showcase::DialogKind kind) {
  switch (kind) {
    case Showcase::DialogKind::kImageFile:
      return {Showcase::kImageFileDialogFile, L"imagefiledlg"};
    case Showcase::DialogKind::kAudioFile:
      return {Showcase::kAudioFileDialogFile, L"audiofiledlg"};
    case Showcase::DialogKind::kTutorial:
      return {Showcase::kTutorialFile, L"tutorialdlg"};
    case Showcase::DialogKind::kWidgets:
      return {Showcase::kWidgetsFile, L"dialog"};
    case Showcase::DialogKind::kPlain:
      break;
  }
  return {Showcase::kDialogFile, L"dialog"};
}

// The rows of the widgets' list.
const wchar_t* const kMoorings[Showcase::kMooringsCount] = {
    L"Heron Reach",   L"Lantern Pier", L"Reedwater Bend", L"Old Mill Quay",    L"Willow Steps",
    L"Frog Hollow",   L"Mistgate",     L"Eel Run",        L"Bittern Point",    L"Sedge Landing",
    L"Moth Jetty",    L"Otter Slip",   L"Fen Chapel",     L"Cattail Cross",    L"Kingfisher Pool",
    L"Lily Basin",    L"Drowned Oak",  L"Peat Wharf",     L"Snipe Channel",    L"Ferryman's Rest",
    L"Duckweed Dock", L"Stilt House",  L"Silver Sluice",  L"Bell Tower Steps", L"Teal Lagoon",
    L"Gull Rock",     L"Rush Meadow",  L"Low Bridge",     L"Quill Harbour",    L"Zenta's Mooring",
};
// The progress picture's fill lies this far inside each end.
constexpr int kGaugeMargin = 4;
// The first code of the widgets' own messages.
constexpr int kFirstWidgetCode = 10;

struct AssetList {
  const wchar_t* file;
  const wchar_t* list;
};
// The sounds come before the layout: a control naming a sound that is not
// loaded fails its load.
const AssetList kLists[] = {
    {L"scripts/fonts.xml", L"GUI"},
    {L"scripts/images.xml", L"GUI"},
    {L"scripts/sounds.xml", L"MAIN"},
};

void StartEmitters(HLF::Control& control) {
  if (auto* emitter = dynamic_cast<HLF::Emitter*>(&control)) {
    emitter->Start(0);
  }
  for (int i = 0; i < control.GetChildsCount(); ++i) {
    StartEmitters(*control.GetChild(i));
  }
}

}  // namespace

Showcase::~Showcase() {
  if (_screen) {
    // The dialog, when open, goes with the screen.
    if (HLF::Control* parent = _screen->GetParent()) {
      parent->RemoveChild(_screen, true);
    } else {
      delete _screen;
    }
    _screen = nullptr;
    _dialog = nullptr;
    _menu = nullptr;
  }
  _loader.RemoveReceiver(this);
  _loader.UnloadAssets();
}

void Showcase::Start() {
  LLF::Log& log = LLF::Log::GetInstance();
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetClearSettings(true, LLF::Color(0, 0, 0, 255));
  }
  _loader.RemoveReceiver(this);
  _loader.AddReceiver(this);
  bool first = true;
  for (const AssetList& list : kLists) {
    const bool added =
        first ? _loader.SetListFromFile(list.file, list.list) : _loader.AddListFromFile(list.file, list.list);
    first = false;
    if (!added) {
      log.Write(std::wstring(L"Warning: Showcase - the list \"") + list.list + L"\" of " + list.file +
                L" can't be read; the showcase goes without it.");
    }
  }
  // A loader without lists reports nothing, and one that can't start never
  // will: the showcase is then built at once from what there is.
  if (_loader.GetLists().empty() || !_loader.Start(0)) {
    log.Write(L"Warning: Showcase - the assets are not loading; the showcase is built without them.");
    Build();
  }
}

bool Showcase::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return false;
  }
  const LLF::Object* sender = msg->GetSender();
  if (sender == static_cast<const LLF::Object*>(&_loader)) {
    if (msg->GetCode() == HLF::ASSETS_MSG_DONE) {
      Build();
    } else if (msg->GetCode() == HLF::ASSETS_MSG_DONE_FAILED) {
      LLF::Log::GetInstance().Write(
          L"Warning: Showcase - some of the assets did not load; the showcase is built with what there is.");
      Build();
    }
    return true;
  }
  for (const HLF::Control* widget : _widgets) {
    if (sender == static_cast<const LLF::Object*>(widget)) {
      OnWidgetMessage(*msg);
      return true;
    }
  }
  if (_dialog && sender == static_cast<const LLF::Object*>(_dialog)) {
    if (msg->GetCode() == HLF::DIALOG_MSG_RESULT) {
      OnDialogResult(*msg);
    }
    return true;
  }
  if (_filesList && sender == static_cast<const LLF::Object*>(_filesList)) {
    if (msg->GetCode() == HLF::LISTBOX_MSG_DOUBLE_CLICK) {
      LogListing();
    }
    return true;
  }
  if (_menu && sender == static_cast<const LLF::Object*>(_menu)) {
    OnMenuMessage(*msg);
    return true;
  }
  if (msg->GetCode() == HLF::BUTTON_MSG_CLICKED && sender) {
    for (const HLF::Control* button : {_dialogButton, _quitButton, _widgetsButton, _backButton,
                                       _pickImageButton, _pickSoundButton, _tutorialButton, _menuButton}) {
      if (button && sender == static_cast<const LLF::Object*>(button)) {
        OnButtonClick(sender);
        return true;
      }
    }
  }
  return LLF::MessageReceiver::OnMessage(msg);
}

void Showcase::Build() {
  if (_screen) {
    return;
  }
  LLF::Log& log = LLF::Log::GetInstance();
  HLF::Game* game = HLF::Game::GetInstance();
  HLF::Control* layer = game ? game->GetGameLayer() : nullptr;
  if (!layer) {
    log.Write(L"Error: Showcase - there is no game layer to show the showcase in.");
    return;
  }
  HLF::Control* built =
      HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kLayoutFile, kLayoutSection, kScreenName);
  if (!built) {
    log.Write(std::wstring(L"Error: Can't create control from file ") + kLayoutFile + L", section " +
              kLayoutSection + L", control name " + kScreenName);
    // Nothing to show: back where the player came from, not a blank screen.
    if (_onBack) {
      _onBack();
    }
    return;
  }
  if (!layer->AddChild(built)) {
    delete built;
    log.Write(L"Error: Showcase - the game layer refused the showcase.");
    return;
  }
  _screen = built;
  // Every button is optional: a layout without one shows without it.
  _dialogButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Dialog"));
  _quitButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Quit"));
  _pickImageButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"PickImage"));
  _pickSoundButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"PickSound"));
  _tutorialButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Tutorial"));
  _menuButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Menu"));
  _backButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Back"));
  _widgetsButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Widgets"));
  _interactive.clear();
  for (int i = 0; i < _screen->GetChildsCount(); ++i) {
    HLF::Control* child = _screen->GetChild(i);
    if (dynamic_cast<HLF::Button*>(child) || dynamic_cast<HLF::HyperLabel*>(child)) {
      _interactive.push_back(child);
    }
  }
  for (HLF::Control* button : {_dialogButton, _quitButton, _widgetsButton, _backButton, _pickImageButton,
                               _pickSoundButton, _tutorialButton, _menuButton}) {
    if (button) {
      button->AddReceiver(this);
    }
  }
  StartEmitters(*_screen);
}

void Showcase::OnButtonClick(const LLF::Object* sender) {
  if (sender == static_cast<const LLF::Object*>(_dialogButton)) {
    OpenDialog(DialogKind::kPlain);
  } else if (sender == static_cast<const LLF::Object*>(_pickImageButton)) {
    OpenDialog(DialogKind::kImageFile);
  } else if (sender == static_cast<const LLF::Object*>(_pickSoundButton)) {
    OpenDialog(DialogKind::kAudioFile);
  } else if (sender == static_cast<const LLF::Object*>(_tutorialButton)) {
    OpenDialog(DialogKind::kTutorial);
  } else if (sender == static_cast<const LLF::Object*>(_menuButton)) {
    OpenMenu();
  } else if (sender == static_cast<const LLF::Object*>(_widgetsButton)) {
    OpenWidgets();
  } else if (sender == static_cast<const LLF::Object*>(_quitButton)) {
    LLF::Log::GetInstance().Write(L"Showcase - Quit pressed.");
    LLF::AppWindow::GetInstance().Quit();
  } else if (sender == static_cast<const LLF::Object*>(_backButton)) {
    LLF::Log::GetInstance().Write(L"Showcase - Back pressed.");
    if (_onBack) {
      _onBack();
    }
  }
}

bool Showcase::OpenDialog(DialogKind kind) {
  if (_dialog || !_screen) {
    return false;
  }
  const DialogLayout layout = LayoutOf(kind);
  HLF::Control* built = HLF::ControlFactory::GetInstance().LoadObjectFromXml(layout.file, layout.section);
  HLF::Dialog* dialog = dynamic_cast<HLF::Dialog*>(built);
  if (!dialog) {
    delete built;
    LLF::Log::GetInstance().Write(std::wstring(L"Error: Can't create dialog from file ") + layout.file +
                                  L", section " + layout.section);
    return false;
  }
  if (!_screen->AddChild(dialog)) {
    delete dialog;
    LLF::Log::GetInstance().Write(L"Error: Showcase - the screen refused the dialog.");
    return false;
  }
  _dialog = dialog;
  _dialogKind = kind;
  _dialog->AddReceiver(this);
  EnableScreen(false);
  if (auto* files = dynamic_cast<HLF::FileDialog*>(_dialog)) {
    // Heard after the dialog, which lists the new folder first.
    _filesList = files->GetFilesListbox();
    _filesRoot = files->GetFolder();
    _filesList->AddReceiver(this);
    LogListing();
  }
  return true;
}

bool Showcase::OpenWidgets() {
  if (!OpenDialog(DialogKind::kWidgets)) {
    return false;
  }
  SetUpWidgets();
  return true;
}

void Showcase::SetUpWidgets() {
  _widgets.clear();
  for (int i = 0; i < _dialog->GetChildsCount(); ++i) {
    HLF::Control* child = _dialog->GetChild(i);
    if (auto* list = dynamic_cast<HLF::Listbox*>(child)) {
      std::vector<std::wstring> rows(std::begin(kMoorings), std::end(kMoorings));
      list->SetItems(rows);
      list->SetTextMargin(LLF::Point(8, 4));
    }
    if (auto* slider = dynamic_cast<HLF::Slider*>(child)) {
      // The fill ends under the thumb's middle.
      const int half = slider->GetThumb() ? slider->GetThumb()->GetSize().x / 2 : 0;
      slider->SetFillMargins(half, half);
    } else if (auto* gauge = dynamic_cast<HLF::Progress*>(child)) {
      gauge->SetFillMargins(kGaugeMargin, kGaugeMargin);
    }
    const bool reports = dynamic_cast<HLF::Edit*>(child) || dynamic_cast<HLF::Checkbox*>(child) ||
                         dynamic_cast<HLF::Slider*>(child) || dynamic_cast<HLF::Scroll*>(child) ||
                         dynamic_cast<HLF::Listbox*>(child);
    if (reports) {
      child->AddReceiver(this);
      _widgets.push_back(child);
    }
  }
}

void Showcase::OnWidgetMessage(const LLF::Message& msg) {
  // Below 10 lie the codes every control sends (state, mouse, drag).
  auto* sender = dynamic_cast<const HLF::Control*>(msg.GetSender());
  if (!sender || msg.GetCode() < kFirstWidgetCode) {
    return;
  }
  int value = msg.GetPrimary();
  std::wstring text = msg.GetText();
  if (auto* box = dynamic_cast<const HLF::Checkbox*>(sender)) {
    value = box->IsChecked() ? 1 : 0;
  } else if (auto* list = dynamic_cast<const HLF::Listbox*>(sender)) {
    text = list->GetSelectedItem();
  }
  LLF::Log::GetInstance().Write(L"Showcase - widget \"" + sender->GetName() + L"\" code " +
                                std::to_wstring(msg.GetCode()) + L" value " + std::to_wstring(value) +
                                L" \"" + text + L"\"");
  if (!_dialog) {
    return;
  }
  if (dynamic_cast<const HLF::Slider*>(sender) && msg.GetCode() == HLF::SLIDER_MSG_VALUE) {
    if (auto* gauge = dynamic_cast<HLF::Progress*>(_dialog->GetChildByName(L"TideGauge"))) {
      gauge->SetValue(static_cast<float>(value));
      gauge->SetText(std::to_wstring(value) + L" %");
    }
  } else if (dynamic_cast<const HLF::Scroll*>(sender) && msg.GetCode() == HLF::SCROLL_MSG_VALUE) {
    if (auto* depth = dynamic_cast<HLF::Label*>(_dialog->GetChildByName(L"DepthLabel"))) {
      depth->SetText(L"Depth " + std::to_wstring(value));
    }
  }
}

void Showcase::LogListing() {
  const auto* files = dynamic_cast<const HLF::FileDialog*>(_dialog);
  if (!files || !_filesList) {
    return;
  }
  std::wstring folder = files->GetFolder();
  if (folder.compare(0, _filesRoot.size(), _filesRoot) == 0) {
    folder.erase(0, _filesRoot.size());
  }
  std::wstring line = L"Showcase - files in \"" + folder + L"\" (rows of " +
                      std::to_wstring(_filesList->GetRowHeight()) + L" px):";
  for (unsigned i = 0; i < _filesList->GetItemsCount(); ++i) {
    line += (i == 0 ? L" " : L" | ") + _filesList->GetItem(static_cast<int>(i));
  }
  LLF::Log::GetInstance().Write(line);
}

bool Showcase::OpenMenu() {
  if (_menu || !_screen) {
    return false;
  }
  auto* menu = new HLF::PopupMenu();
  menu->SetName(L"ShowcaseMenu");
  HLF::Listbox* list = menu->GetList();
  // Until the editor brings its own font, the list takes the one the
  // showcase's font list holds for it.
  if (!list->GetFont()) {
    list->SetFontObject(LLF::FontsManager::GetInstance().FindResource(kMenuFont));
  }
  list->SetStateColors(LLF::Color(14, 20, 50, 240), LLF::Color(236, 192, 104, 255),
                       LLF::Color(26, 70, 84, 255), LLF::Color(30, 110, 118, 255));
  list->SetColors(LLF::Color(244, 236, 218, 255), LLF::Color(255, 236, 170, 255),
                  LLF::Color(255, 236, 170, 255), LLF::Color(176, 176, 176, 255));
  list->SetItems(std::vector<std::wstring>(std::begin(kMenuRows), std::end(kMenuRows)));
  menu->FitToItems();
  // Just above its button, or at the button's left when there is none.
  const LLF::Vector2 at = _menuButton ? _menuButton->GetPosition() : LLF::Vector2(550, 428);
  menu->SetPosition(at.x, at.y - static_cast<float>(menu->GetSize().y) - 4.0f);
  if (!_screen->AddChild(menu)) {
    delete menu;
    LLF::Log::GetInstance().Write(L"Error: Showcase - the screen refused the menu.");
    return false;
  }
  _menu = menu;
  _menu->AddReceiver(this);
  LLF::Log::GetInstance().Write(L"Showcase - menu at " +
                                std::to_wstring(static_cast<int>(menu->GetPosition().x)) + L"," +
                                std::to_wstring(static_cast<int>(menu->GetPosition().y)) + L", rows of " +
                                std::to_wstring(list->GetRowHeight()) + L" px");
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetFocus(_menu);
  }
  return true;
}

void Showcase::OnMenuMessage(const LLF::Message& msg) {
  // The choice and the results; the mouse's messages every control sends
  // are not the menu's to report.
  if (msg.GetCode() != HLF::DIALOG_MSG_RESULT && msg.GetCode() != kMenuChoice) {
    return;
  }
  LLF::Log::GetInstance().Write(L"Showcase - menu " + std::to_wstring(msg.GetCode()) + L" \"" +
                                msg.GetText() + L"\"");
  // The dialog's own result comes last; the menu is deleted after it.
  if (msg.GetCode() == HLF::DIALOG_MSG_RESULT && !msg.GetText().empty()) {
    _menu = nullptr;
  }
}

void Showcase::OnDialogResult(const LLF::Message& msg) {
  LLF::Log& log = LLF::Log::GetInstance();
  if (_filesList) {
    _filesList->RemoveReceiver(this);
    _filesList = nullptr;
  }
  switch (_dialogKind) {
    case DialogKind::kImageFile:
    case DialogKind::kAudioFile: {
      const auto* files = dynamic_cast<const HLF::FileDialog*>(_dialog);
      const std::wstring picked = files && files->GetNameEdit() ? files->GetNameEdit()->GetText() : L"";
      if (msg.GetParam() == HLF::DIALOG_RESULT_OK && !picked.empty()) {
        log.Write(L"Showcase - picked \"" + picked + L"\"");
      } else {
        log.Write(L"Showcase - nothing picked");
      }
      break;
    }
    case DialogKind::kTutorial:
      log.Write(L"Showcase - tutorial result \"" + msg.GetText() + L"\"");
      break;
    case DialogKind::kPlain:
    case DialogKind::kWidgets:
      log.Write(L"Showcase - dialog result \"" + msg.GetText() + L"\"");
      break;
  }
  // The dialog leaves the screen and is deleted at the shell's next safe
  // point.
  _dialog = nullptr;
  _widgets.clear();
  EnableScreen(true);
}

void Showcase::EnableScreen(bool enabled) {
  for (HLF::Control* control : _interactive) {
    control->SetEnabled(enabled);
  }
}
