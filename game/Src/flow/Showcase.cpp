#include "flow/Showcase.h"

#include "app/AppWindow.h"
#include "core/Log.h"
#include "dialogs/Dialog.h"
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
const wchar_t kDialogSection[] = L"dialog";

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
  if (msg->GetCode() == HLF::BUTTON_MSG_CLICKED && sender &&
      (sender == static_cast<const LLF::Object*>(_dialogButton) ||
       sender == static_cast<const LLF::Object*>(_quitButton) ||
       sender == static_cast<const LLF::Object*>(_widgetsButton) ||
       sender == static_cast<const LLF::Object*>(_backButton))) {
    OnButtonClick(sender);
    return true;
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
  // The buttons are optional: a layout without one shows without it.
  _dialogButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Dialog"));
  _quitButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Quit"));
  _backButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Back"));
  _widgetsButton = dynamic_cast<HLF::Button*>(_screen->GetChildByName(L"Widgets"));
  _interactive.clear();
  for (int i = 0; i < _screen->GetChildsCount(); ++i) {
    HLF::Control* child = _screen->GetChild(i);
    if (dynamic_cast<HLF::Button*>(child) || dynamic_cast<HLF::HyperLabel*>(child)) {
      _interactive.push_back(child);
    }
  }
  for (HLF::Control* button : {_dialogButton, _quitButton, _widgetsButton, _backButton}) {
    if (button) {
      button->AddReceiver(this);
    }
  }
  StartEmitters(*_screen);
}

void Showcase::OnButtonClick(const LLF::Object* sender) {
  if (sender == static_cast<const LLF::Object*>(_dialogButton)) {
    OpenDialog();
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

bool Showcase::OpenDialog() {
  return OpenLayout(kDialogFile);
}

bool Showcase::OpenWidgets() {
  if (!OpenLayout(kWidgetsFile)) {
    return false;
  }
  SetUpWidgets();
  return true;
}

bool Showcase::OpenLayout(const wchar_t* file) {
  if (_dialog || !_screen) {
    return false;
  }
  HLF::Control* built = HLF::ControlFactory::GetInstance().LoadObjectFromXml(file, kDialogSection);
  HLF::Dialog* dialog = dynamic_cast<HLF::Dialog*>(built);
  if (!dialog) {
    delete built;
    LLF::Log::GetInstance().Write(std::wstring(L"Error: Can't create dialog from file ") + file +
                                  L", section " + kDialogSection);
    return false;
  }
  if (!_screen->AddChild(dialog)) {
    delete dialog;
    LLF::Log::GetInstance().Write(L"Error: Showcase - the screen refused the dialog.");
    return false;
  }
  _dialog = dialog;
  _dialog->AddReceiver(this);
  EnableScreen(false);
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

void Showcase::OnDialogResult(const LLF::Message& msg) {
  LLF::Log::GetInstance().Write(L"Showcase - dialog result \"" + msg.GetText() + L"\"");
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
