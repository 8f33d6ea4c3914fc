#include "shell/SplashScreen.h"

#include <cmath>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/XmlDocEx.h"
#include "modifiers/Fader.h"
#include "shell/Game.h"
#include "widgets/StaticImage.h"
#include "xml/XmlAttribute.h"

namespace HLF {

namespace {

// The splash script: the first element of the document that is not a
// comment (the document's root is only a container).
LLF::XmlElement ScriptOf(Game* game) {
  XmlDocEx* doc = game ? game->GetSplashDoc() : nullptr;
  if (!doc) {
    return LLF::XmlElement();
  }
  LLF::XmlElement* root = doc->GetRoot();
  for (int i = 0; i < root->GetChildsCount(); ++i) {
    LLF::XmlElement* child = root->GetChild(i);
    if (!child->IsComment()) {
      return *child;
    }
  }
  return LLF::XmlElement();
}

}  // namespace

SplashScreen::SplashScreen(LLF::MessageReceiver* receiver)
    : StateMachine(receiver), config(ScriptOf(Game::GetInstance())) {
  // Nothing runs before SetState has started the splash.
  _next = _current;
}

SplashScreen::~SplashScreen() {
  ForgetFader();
  RemoveImage();
}

unsigned SplashScreen::VendorsCount() {
  return static_cast<unsigned>(config.GetChildsCount());
}

LLF::XmlElement* SplashScreen::Vendor(unsigned index) {
  return index < VendorsCount() ? config.GetChild(static_cast<int>(index)) : nullptr;
}

bool SplashScreen::IsLastVendor() {
  return vendorIndex + 1 == VendorsCount();
}

bool SplashScreen::NoLastFadeIn() {
  return config.GetAttribute(L"noLastFadeIn", false).GetBool();
}

unsigned SplashScreen::Ms(const LLF::XmlElement& element, const wchar_t* name, float def) {
  const float seconds = element.GetAttribute(name, def).GetFloat();
  if (!(seconds > 0.0f)) {
    return 0;
  }
  return static_cast<unsigned>(std::lround(static_cast<double>(seconds) * 1000.0));
}

bool SplashScreen::SetState(int state) {
  if (config.GetName() != L"splash") {
    LLF::Log::GetInstance().Write(L"Error: Splash screen config doesn't have root splash item.");
    return false;
  }
  vendorIndex = 0;
  Game* game = Game::GetInstance();
  if (!image) {
    image = new StaticImage(kImageName);
    image->SetVisible(false);
    Control* layer = game ? game->GetGameLayer() : nullptr;
    if (!layer || !layer->AddChild(image)) {
      LLF::Log::GetInstance().Write(
          L"Warning: SplashScreen - there is no game layer to show the pictures in.");
      delete image;
      image = nullptr;
    }
  }
  if (game) {
    game->GetClearSettings(savedClear, savedClearColor);
    clearSaved = true;
    game->SetClearSettings(true, config.GetAttribute(L"fadeColor", LLF::Color(0, 0, 0, 255)).GetColor());
  }
  return StateMachine::SetState(state);
}

void SplashScreen::DoState() {
  switch (_current) {
    case SPLASH_STATE_SHOW:
      if (vendorIndex < VendorsCount()) {
        ShowVendor();
      } else {
        Finish();
      }
      break;
    case SPLASH_STATE_HIDE:
      if (NoLastFadeIn() && IsLastVendor()) {
        ++vendorIndex;
        ChangeState(SPLASH_STATE_SHOW, 0);
      } else {
        StartFade(Fader::FADE_FALL, Ms(config, L"fadeInTime", 1.0f));
      }
      break;
    default:
      break;
  }
}

void SplashScreen::ShowVendor() {
  const LLF::XmlElement* vendor = Vendor(vendorIndex);
  const std::wstring file = vendor->GetAttribute(L"image", L"").GetValue();
  // A child without a picture (the how-to comment of a created script) shows
  // the fade colour for its timings.
  LLF::Image* picture =
      file.empty() ? nullptr : LLF::ImagesManager::GetInstance().LoadImage(file, L"", true, true);
  DropPicture();
  if (image) {
    image->SetImageObject(picture);
    image->SetVisible(true);
    image->SetAlpha(0);
  } else {
    delete picture;
  }
  StartFade(Fader::FADE_RISE, Ms(config, L"fadeOutTime", 1.0f));
}

void SplashScreen::StartFade(int type, unsigned duration) {
  ForgetFader();
  if (!image) {
    // Without a game layer there is nothing to fade; the show times still
    // run.
    if (type == Fader::FADE_RISE) {
      NextState(Ms(*Vendor(vendorIndex), L"showTime", 2.0f));
    } else {
      ++vendorIndex;
      ChangeState(SPLASH_STATE_SHOW, 0);
    }
    return;
  }
  fader = new Fader(image, nullptr, this, type, duration, 0);
  image->AddAndStartModifier(fader);
}

void SplashScreen::ForgetFader() {
  if (fader) {
    fader->RemoveReceiver(this);
    fader = nullptr;
  }
}

bool SplashScreen::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  const LLF::Object* sender = msg->GetSender();
  if (sender == static_cast<const LLF::Object*>(&LLF::AppWindow::GetInstance()) &&
      (msg->GetCode() == LLF::WMSG_KEY_UP || msg->GetCode() == LLF::WMSG_BUTTON_UP)) {
    LLF::Log::GetInstance().Write(L"SplashScreen - key up or mouse up message received. Key string: " +
                                  msg->GetText());
    if (vendorIndex >= VendorsCount()) {
      return true;
    }
    if (!Vendor(vendorIndex)->GetAttribute(L"canBeSkipped", true).GetBool()) {
      return StateMachine::OnMessage(msg);
    }
    if (!fader) {
      if (_current == SPLASH_STATE_HIDE) {
        ChangeState(SPLASH_STATE_SHOW, 0);
      } else {
        NextState(0);
      }
    } else if (fader->GetType() == Fader::FADE_RISE) {
      Fader* running = fader;
      ForgetFader();
      running->Finish(true);
      if (NoLastFadeIn() && IsLastVendor() && image) {
        image->SetAlpha(0);
      }
      ++vendorIndex;
      _current = SPLASH_STATE_HIDE;
      ChangeState(SPLASH_STATE_SHOW, 0);
    } else {
      // The report comes back at once and moves on to the next picture.
      Fader* running = fader;
      running->Finish(false);
      fader = nullptr;
    }
    return StateMachine::OnMessage(msg);
  }
  if (fader && sender == static_cast<const LLF::Object*>(fader) && msg->GetCode() == MOD_MSG_END) {
    const int type = fader->GetType();
    ForgetFader();
    if (type == Fader::FADE_RISE) {
      NextState(Ms(*Vendor(vendorIndex), L"showTime", 2.0f));
    } else {
      ++vendorIndex;
      ChangeState(SPLASH_STATE_SHOW, 0);
    }
  }
  return StateMachine::OnMessage(msg);
}

void SplashScreen::Finish() {
  RemoveImage();
  if (clearSaved) {
    if (Game* game = Game::GetInstance()) {
      game->SetClearSettings(savedClear, savedClearColor);
    }
    clearSaved = false;
  }
  SendEmptyMessage();
}

void SplashScreen::DropPicture() {
  if (!image) {
    return;
  }
  LLF::Image* shown = image->GetImage();
  image->SetImageObject(nullptr);
  delete shown;
}

void SplashScreen::RemoveImage() {
  if (!image) {
    return;
  }
  ForgetFader();
  DropPicture();
  StaticImage* control = image;
  image = nullptr;
  if (Control* parent = control->GetParent()) {
    parent->RemoveChild(control, true);
  } else {
    delete control;
  }
}

}  // namespace HLF
