#include "flow/ZentaMainMenu.h"

#include "core/Log.h"
#include "dialogs/Dialog.h"
#include "flow/TheZentaScript.h"
#include "flow/TheZentaVoyage.h"
#include "map/ZentaLevelMap.h"
#include "math/Color.h"
#include "model/ControlFactory.h"
#include "modifiers/AudioFader.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "modifiers/Mover.h"
#include "shell/Game.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"
#include "widgets/Button.h"
#include "widgets/StaticImage.h"

namespace {

const wchar_t kEffectsFile[] = L"scripts/effects.xml";
const wchar_t kEasyModeSection[] = L"dialog";
constexpr unsigned kFadeMs = 1000;
constexpr unsigned kBandLoopMs = 50000;
constexpr float kBandStart = -1024.0f;
// Where the scene's parts stand (the scroll and the logo within the lower
// background, centred on the 800-pixel screen).
constexpr float kBottomTop = 88.0f;
constexpr float kColumnLeftX = -64.0f;
constexpr float kColumnRightX = 800.0f;
constexpr float kScreenCentre = 400.0f;
constexpr float kScrollTop = 100.0f;
constexpr float kLogoTop = -50.0f;

const wchar_t* StateName(int state) {
  static const wchar_t* const kNames[] = {
      L"MM_STATE_INIT",
      L"MM_STATE_MENU",
      L"MM_STATE_QUITING",
      L"ZENTAMM_STATE_MENUTOGALLERY",
      L"ZENTAMM_STATE_GALLERY_LOADRESOURCES",
      L"ZENTAMM_STATE_GALLERY_FADEOUT",
      L"ZENTAMM_STATE_GALLERY",
      L"ZENTAMM_STATE_GALLERY_SHOWNEXT/PREV",
      L"ZENTAMM_STATE_GALLERY_SHOWNEXT/PREV",
      L"ZENTAMM_STATE_GALLERY_BIGPREVIEW",
      L"ZENTAMM_STATE_GALLERY_FADEIN",
      L"ZENTAMM_STATE_GALLERYTOMENU",
      L"ZENTAMM_STATE_MENUTOMAP",
      L"ZENTAMM_STATE_LOADMAP",
  };
  return state >= 0 && state < int(std::size(kNames)) ? kNames[state] : nullptr;
}

HLF::Control* GameLayer() {
  HLF::Game* game = HLF::Game::GetInstance();
  return game ? game->GetGameLayer() : nullptr;
}

LLF::ISoundDriver* SoundDriver() {
  return LLF::SoundSystem::GetInstance().GetCurrentDriver();
}

}  // namespace

ZentaMainMenu::ZentaMainMenu(LLF::MessageReceiver* receiver) : HLF::MainMenu(receiver) {
  SetRenderable(false);
  SetName(L"MainMenu");
}

ZentaMainMenu::~ZentaMainMenu() {
  menuLoader.RemoveReceiver(this);
  menuLoader.UnloadAssets();
}

bool ZentaMainMenu::From(const LLF::Message& msg, const LLF::Object* object) const {
  return object && msg.GetSender() == object;
}

HLF::Control* ZentaMainMenu::GetGalleryButton() const {
  return galleryButton;
}

void ZentaMainMenu::DoState() {
  const wchar_t* name = StateName(_current);
  if (!name) {
    return;
  }
  LLF::Log::GetInstance().Write(std::wstring(L"ZentaMainMenu::DoState() - ") + name);
  switch (_current) {
    case MM_STATE_INIT:
      menuLoader.RemoveReceiver(this);
      menuLoader.AddReceiver(this);
      LoadMenuResources();
      if (HLF::Game* game = HLF::Game::GetInstance()) {
        game->SetClearSettings(true, LLF::Color(255, 255, 255, 255));
      }
      break;
    case MM_STATE_MENU:
      SetControlsEnabled(true);
      break;
    case MM_STATE_QUITING:
      StartScreenFade(HLF::Fader::FADE_RISE);
      StartMusicFadeOut();
      SetControlsEnabled(false);
      break;
    case ZENTAMM_STATE_MENUTOMAP:
      ShowColumns(false);
      StartScreenFade(HLF::Fader::FADE_RISE);
      SetControlsEnabled(false);
      break;
    case ZENTAMM_STATE_LOADMAP:
      SendCode(MENU_MSG_PLAY);
      break;
    default:
      // The gallery's states come with the gallery.
      break;
  }
}

void ZentaMainMenu::LoadMenuResources() {
  struct List {
    const wchar_t* file;
    const wchar_t* name;
  };
  static const List kLists[] = {
      {L"scripts/fonts.xml", L"GUI"},       {L"scripts/images.xml", L"GUI"},
      {L"scripts/images.xml", L"MAINMENU"}, {L"scripts/images.xml", L"AWARDS"},
      {L"scripts/sounds.xml", L"MAIN"},
  };
  bool first = true;
  for (const List& list : kLists) {
    const bool added = first ? menuLoader.SetListFromFile(list.file, list.name)
                             : menuLoader.AddListFromFile(list.file, list.name);
    first = false;
    if (!added) {
      LLF::Log::GetInstance().Write(std::wstring(L"Warning: ZentaMainMenu - the list \"") + list.name +
                                    L"\" of " + list.file + L" can't be read; the menu goes without it.");
    }
  }
  // A loader without lists reports nothing, and one that cannot start
  // never will: the menu is then built at once from what there is.
  if (menuLoader.GetLists().empty() || !menuLoader.Start(0)) {
    LLF::Log::GetInstance().Write(
        L"Warning: ZentaMainMenu - the menu's assets are not loading; it is built "
        L"without them.");
    Build();
  }
}

HLF::Control* ZentaMainMenu::CreateLayoutObject(const wchar_t* name, const wchar_t* kind) {
  HLF::Control* control =
      HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kLayoutFile, kLayoutSection, name);
  if (!control) {
    LLF::Log::GetInstance().Write(std::wstring(L"Error: Can't create ") + kind + L" from file " +
                                  kLayoutFile + L", section " + kLayoutSection + L", control name " + name);
  }
  return control;
}

HLF::StaticImage* ZentaMainMenu::AddImage(const wchar_t* name, const wchar_t* image, float x, float y) {
  auto* picture = new HLF::StaticImage(name);
  picture->SetImage(image);
  picture->SetAlpha(255);
  picture->SetPosition(x, y);
  AddChild(picture);
  return picture;
}

HLF::Effect* ZentaMainMenu::RunEffect(const wchar_t* name, HLF::Control* control,
                                      LLF::MessageReceiver* receiver) {
  auto* effect = new HLF::Effect(kEffectsFile, name, receiver);
  if (!control->AddAndStartEffect(effect)) {
    delete effect;
    return nullptr;
  }
  return effect;
}

bool ZentaMainMenu::Build() {
  backgroundTop = new HLF::StaticImage(L"background_top");
  backgroundTop->SetImage(L"menu_bg_top");
  backgroundTop->SetAlpha(255);
  RestartBackgroundScroll();
  AddChild(backgroundTop);
  backgroundTop->SetAlpha(0);
  RunEffect(L"BackgroundShow", backgroundTop);

  backgroundBottom = AddImage(L"background_bottom", L"menu_bg_bottom", 0.0f, kBottomTop);
  backgroundBottom->SetAlpha(0);
  RunEffect(L"BackgroundShow", backgroundBottom);

  columnLeft = AddImage(L"columnLeft", L"menu_column_left", kColumnLeftX, 0.0f);
  columnRight = AddImage(L"columnRight", L"menu_column_right", kColumnRightX, 0.0f);
  ShowColumns(true);

  if (!CreateControls()) {
    return false;
  }
  HLF::Control* gallery = CreateLayoutObject(L"gallery_button", L"Button");
  galleryButton = dynamic_cast<HLF::Button*>(gallery);
  if (!galleryButton) {
    if (gallery) {
      delete gallery;
      LLF::Log::GetInstance().Write(std::wstring(L"Error: Can't create Button from file ") + kLayoutFile +
                                    L", section " + kLayoutSection + L", control name gallery_button");
    }
    return false;
  }
  galleryButton->AddReceiver(this);

  // Without the scroll the buttons stand on the lower background and the
  // menu opens at once: the player never faces controls that stay off.
  scroll = CreateLayoutObject(L"scroll", L"StaticImage");
  HLF::Control* holder = scroll ? scroll : backgroundBottom;
  if (scroll) {
    RunEffect(L"ScrollShow", scroll, this);
  }
  for (HLF::Control* button :
       {playButton, static_cast<HLF::Control*>(galleryButton), optionsButton, quitButton}) {
    holder->AddChild(button);
  }
  if (scroll) {
    const LLF::Point size = scroll->GetSize();
    scroll->SetPosition(kScreenCentre - size.x * 0.5f, kScrollTop);
    scroll->SetTransformCenter(LLF::Vector2(size.x * 0.5f, size.y * 0.5f));
    backgroundBottom->AddChild(scroll);
  }
  backgroundBottom->AddChild(welcomeLabel);
  SetControlsEnabled(false);
  if (scroll) {
    menuScrollShowEffect = RunEffect(L"MenuScrollShow", scroll, this);
  }

  logo = CreateLayoutObject(L"game_logo", L"StaticImage");
  if (logo) {
    const LLF::Point size = logo->GetSize();
    logo->SetTransformCenter(LLF::Vector2(size.x * 0.5f, size.y * 0.5f));
    RunEffect(L"LogoShow", logo, this);
    logo->SetPosition(kScreenCentre - size.x * 0.5f, kLogoTop);
    backgroundBottom->AddChild(logo);
  }
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
  if (!menuScrollShowEffect) {
    ChangeState(MM_STATE_MENU, 0);
    if (HLF::Game* game = HLF::Game::GetInstance()) {
      game->SetClearSettings(false, LLF::Color(0, 0, 0, 255));
    }
  }
  return true;
}

bool ZentaMainMenu::OnMenuAssetsLoaded(LLF::Message* msg) {
  if (_current != MM_STATE_INIT) {
    return false;
  }
  const int code = msg->GetCode();
  if (From(*msg, &menuLoader) && (code == HLF::ASSETS_MSG_DONE || code == HLF::ASSETS_MSG_DONE_FAILED)) {
    if (code == HLF::ASSETS_MSG_DONE_FAILED) {
      LLF::Log::GetInstance().Write(
          L"Warning: ZentaMainMenu - some of the menu's assets did not load; the menu is built without "
          L"them.");
    }
    if (!backgroundTop) {
      Build();
    }
    return true;
  }
  if (From(*msg, menuScrollShowEffect) && code == HLF::EFFECT_MSG_END) {
    menuScrollShowEffect = nullptr;
    ChangeState(MM_STATE_MENU, 0);
    if (HLF::Game* game = HLF::Game::GetInstance()) {
      game->SetClearSettings(false, LLF::Color(0, 0, 0, 255));
    }
    return true;
  }
  return false;
}

void ZentaMainMenu::ShowColumns(bool show) {
  if (columnLeft) {
    RunEffect(show ? L"ColumnLeftShow" : L"ColumnLeftHide", columnLeft);
  }
  if (columnRight) {
    RunEffect(show ? L"ColumnRightShow" : L"ColumnRightHide", columnRight);
  }
  PlaySound(L"stone_columns");
}

void ZentaMainMenu::RestartBackgroundScroll() {
  if (!backgroundTop) {
    return;
  }
  for (int i = 0; i < backgroundTop->GetModifiersCount(); ++i) {
    backgroundTop->GetModifier(i)->Finish(true);
  }
  scrollMover = new HLF::Mover(nullptr, nullptr, LLF::Vector2(kBandStart, 0.0f), LLF::Vector2(0.0f, 0.0f),
                               kBandLoopMs, 0, false);
  scrollMover->AddReceiver(this);
  backgroundTop->AddAndStartModifier(scrollMover, false);
}

void ZentaMainMenu::PlayMenuMusic(int fadeInMs) {
  LLF::Music* menuMusic = LLF::SoundSystem::GetInstance().GetMusic(L"menu_music");
  SetMusic(menuMusic);
  if (!menuMusic) {
    LLF::Log::GetInstance().Write(L"Warning: ZentaMainMenu - the music \"menu_music\" is not loaded.");
    return;
  }
  if (LLF::ISoundDriver* driver = SoundDriver()) {
    driver->PlayMusic(menuMusic);
  }
  if (HLF::Control* layer = GameLayer()) {
    layer->AddAndStartModifier(new HLF::AudioFader(menuMusic, nullptr, nullptr, 1, unsigned(fadeInMs), 0),
                               true);
  }
}

void ZentaMainMenu::StartScreenFade(int type) {
  screenFader = new HLF::Fader(nullptr, nullptr, this, type, kFadeMs, 0);
  AddAndStartModifier(screenFader, true);
}

void ZentaMainMenu::StartMusicFadeOut() {
  if (LLF::Music* menuMusic = GetMusic()) {
    AddAndStartModifier(new HLF::AudioFader(menuMusic, nullptr, nullptr, 0, kFadeMs, 0), true);
  }
}

void ZentaMainMenu::PlaySound(const wchar_t* id) {
  LLF::Sound* sound = LLF::SoundSystem::GetInstance().GetSound(id);
  LLF::ISoundDriver* driver = SoundDriver();
  if (sound && driver) {
    driver->PlaySound(sound);
  }
}

bool ZentaMainMenu::OpenEasyModeDialog() {
  HLF::Control* control =
      HLF::ControlFactory::GetInstance().LoadObjectFromXml(kEasyModeFile, kEasyModeSection);
  auto* dialog = dynamic_cast<HLF::Dialog*>(control);
  if (!dialog) {
    delete control;
    LLF::Log::GetInstance().Write(std::wstring(L"Error: Can't create Dialog from file ") + kEasyModeFile +
                                  L", section easymodedlg.");
    return false;
  }
  dialog->AddReceiver(this);
  if (!AddChild(dialog)) {
    dialog->RemoveReceiver(this);
    delete dialog;
    return false;
  }
  easyModeDialog = dialog;
  SetControlsEnabled(false);
  return true;
}

bool ZentaMainMenu::Play() {
  int day = -1;
  int level = -1;
  if (auto* voyage = dynamic_cast<TheZentaVoyage*>(HLF::Game::GetInstance())) {
    voyage->GetScript().LoadLevelPos(day, level);
  }
  if (day != -1 && level != -1) {
    StartMusicFadeOut();
  }
  ChangeState(ZENTAMM_STATE_MENUTOMAP, 0);
  return true;
}

bool ZentaMainMenu::Quit() {
  ChangeState(MM_STATE_QUITING, 0);
  ShowColumns(false);
  return true;
}

void ZentaMainMenu::SetControlsEnabled(bool enabled) {
  if (galleryButton) {
    galleryButton->SetEnabled(enabled);
  }
  HLF::MainMenu::SetControlsEnabled(enabled);
}

bool ZentaMainMenu::OnGalleryMessage(LLF::Message* /*msg*/) {
  return false;
}

bool ZentaMainMenu::PlayOrAskEasyMode() {
  bool found = false;
  ZentaLevelMap::GetEasyMode(found);
  return found ? Play() : OpenEasyModeDialog();
}

bool ZentaMainMenu::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  if (OnGalleryMessage(msg)) {
    return true;
  }
  const int code = msg->GetCode();
  if (From(*msg, scrollMover) && code == HLF::MOD_MSG_END) {
    RestartBackgroundScroll();
    return true;
  }
  HLF::Game* game = HLF::Game::GetInstance();
  if (_current == MM_STATE_MENU) {
    if (From(*msg, playButton) && code == HLF::BUTTON_MSG_CLICKED) {
      if (game && game->GetCurrentProfile()) {
        return PlayOrAskEasyMode();
      }
      return OpenProfileNewDialog();
    }
    if (From(*msg, easyModeDialog) && code == HLF::DIALOG_MSG_RESULT) {
      ZentaLevelMap::SetEasyMode(msg->GetParam() == 0);
      easyModeDialog = nullptr;
      SetControlsEnabled(true);
      Play();
      return true;
    }
    if (From(*msg, profileNewDialog) && code == HLF::DIALOG_MSG_RESULT) {
      profileNewDialog = nullptr;
      SetControlsEnabled(true);
      if (game && game->GetCurrentProfile()) {
        UpdateWelcomeLabel();
        PlayOrAskEasyMode();
      }
      return true;
    }
  }
  if (HandleMessage(msg)) {
    return true;
  }
  if (_current == MM_STATE_QUITING && From(*msg, screenFader) && code == HLF::MOD_MSG_END) {
    screenFader = nullptr;
    SendEmptyMessage();
    return true;
  }
  if (_current == ZENTAMM_STATE_MENUTOMAP && From(*msg, screenFader) && code == HLF::MOD_MSG_END) {
    screenFader = nullptr;
    ChangeState(ZENTAMM_STATE_LOADMAP, 0);
    return true;
  }
  if (OnMenuAssetsLoaded(msg)) {
    return true;
  }
  return HLF::Control::OnMessage(msg);
}
