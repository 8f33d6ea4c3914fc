#include "flow/ZentaMainMenu.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "flow/TheZentaScript.h"
#include "flow/TheZentaVoyage.h"
#include "image/ImagesManager.h"
#include "map/WallpaperMask.h"
#include "map/ZentaLevelMap.h"
#include "math/Color.h"
#include "model/ControlFactory.h"
#include "modifiers/AudioFader.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "modifiers/Mover.h"
#include "modifiers/MoverTo.h"
#include "modifiers/Scaler.h"
#include "modifiers/TimeWarpAccelerate.h"
#include "modifiers/TimeWarpDecelerate.h"
#include "shell/Game.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
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

// The gallery.
const wchar_t kImagesFile[] = L"scripts/images.xml";
const wchar_t kBlockedDialogFile[] = L"scripts/dialogs/dlg_galleryblocked.xml";
const wchar_t kWallpaperSetFile[] = L"scripts/dialogs/dlg_wallpaperset.xml";
const wchar_t kWallpaperFailedFile[] = L"scripts/dialogs/dlg_wallpaperfailed.xml";
const wchar_t kDialogSection[] = L"dialog";
const wchar_t kFrameImage[] = L"gallery_thumb_frame";
// The previews show their number after this prefix of their name.
const wchar_t kPreviewPrefix[] = L"preview";
// The first page's previews come in once the screen has cleared.
constexpr unsigned kGalleryShowDelayMs = 1000;
constexpr unsigned kPageTurnMs = 500;
constexpr unsigned kBigPreviewMs = 1000;
constexpr float kBigPreviewHeight = 600.0f;
constexpr unsigned kZoomMs = 1000;
constexpr unsigned kZoomFadeMs = 300;
constexpr unsigned kUnzoomDelayMs = 150;
// Turning back, the new previews drop in from above.
constexpr float kShowDownRise = 64.0f;
// The desktop's "fit, keeping the aspect".
constexpr int kWallpaperStyleFit = 3;

std::wstring TwoDigits(int number) {
  return (number < 10 ? L"0" : L"") + LLF::ToString(number);
}

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
  galleryLoader.RemoveReceiver(this);
  if (bigPreviewImage) {
    LLF::ImagesManager::GetInstance().FreeImage(bigPreviewImage);
  }
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
    case ZENTAMM_STATE_MENUTOGALLERY:
      ShowColumns(false);
      StartScreenFade(HLF::Fader::FADE_RISE);
      SetControlsEnabled(false);
      break;
    case ZENTAMM_STATE_GALLERY_LOADRESOURCES:
      StartGalleryLoad();
      break;
    case ZENTAMM_STATE_GALLERY_FADEOUT:
      if (!BuildGallery()) {
        // The screen is black: it clears over the menu again.
        ChangeState(ZENTAMM_STATE_GALLERYTOMENU, 0);
      }
      break;
    case ZENTAMM_STATE_GALLERY:
      if (ribbon) {
        ribbon->SetEnabled(true);
      }
      break;
    case ZENTAMM_STATE_GALLERY_SHOWNEXT:
    case ZENTAMM_STATE_GALLERY_SHOWPREV:
      ShowGalleryPage(_current == ZENTAMM_STATE_GALLERY_SHOWNEXT);
      break;
    case ZENTAMM_STATE_GALLERY_BIGPREVIEW:
      if (ribbonWide) {
        ribbonWide->SetEnabled(true);
      }
      break;
    case ZENTAMM_STATE_GALLERY_FADEIN:
      if (ribbon) {
        RunEffect(L"GalleryRibbonHide", ribbon, this);
        ribbon->SetEnabled(false);
      }
      StartScreenFade(HLF::Fader::FADE_RISE);
      break;
    case ZENTAMM_STATE_GALLERYTOMENU:
      LeaveGallery();
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
                                      LLF::MessageReceiver* receiver, unsigned startDelay) {
  auto* effect = new HLF::Effect(kEffectsFile, name, receiver, startDelay);
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

// ---- The wallpaper gallery ----

std::wstring ZentaMainMenu::ThumbnailId(int wallpaper) {
  return L"wall_" + TwoDigits(wallpaper) + L"_thumb";
}

std::wstring ZentaMainMenu::WideImageFile(int wallpaper) {
  return L"images/wallpapers/wallpaper_" + TwoDigits(wallpaper) + L"_wide.jpg";
}

HLF::Control* ZentaMainMenu::GetPreview(int number) const {
  return number >= 1 && number <= kPreviewsPerPage ? previews[size_t(number - 1)] : nullptr;
}

void ZentaMainMenu::ResetFrameTime() {
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
}

bool ZentaMainMenu::IsUnlocked(int wallpaper) const {
  // A stored string may be short or long: only its first twenty
  // characters count, and a missing one is locked.
  const size_t index = size_t(wallpaper - 1);
  return wallpaper >= 1 && wallpaper <= kGalleryPages * kPreviewsPerPage && index < wallpaperMask.size() &&
         wallpaperMask[index] == L'1';
}

bool ZentaMainMenu::IsPreviewLocked(int number) const {
  return !IsUnlocked(page * kPreviewsPerPage + number);
}

std::wstring ZentaMainMenu::PageLabelText() const {
  HLF::Game* game = HLF::Game::GetInstance();
  return (game ? game->GetStringVar(L"gallery_page_num") : std::wstring()) + LLF::ToString(page + 1);
}

template <class T>
T* ZentaMainMenu::CreateGalleryObject(const wchar_t* name, const wchar_t* kind) {
  HLF::Control* control =
      HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kGalleryFile, kGallerySection, name);
  T* object = dynamic_cast<T*>(control);
  if (!object) {
    delete control;
    LLF::Log::GetInstance().Write(std::wstring(L"Error: Can't create ") + kind + L" from file " +
                                  kGalleryFile + L", section " + kGallerySection + L", control name " + name);
  }
  return object;
}

HLF::Dialog* ZentaMainMenu::OpenGalleryDialog(const wchar_t* file) {
  HLF::Control* control = HLF::ControlFactory::GetInstance().LoadObjectFromXml(file, kDialogSection);
  auto* dialog = dynamic_cast<HLF::Dialog*>(control);
  if (!dialog) {
    delete control;
    return nullptr;
  }
  dialog->AddReceiver(this);
  if (!AddChild(dialog)) {
    dialog->RemoveReceiver(this);
    delete dialog;
    return nullptr;
  }
  return dialog;
}

HLF::Effect* ZentaMainMenu::RunPreviewEffect(int number, const wchar_t* motion, bool locked,
                                             unsigned startDelay) {
  HLF::Control* preview = GetPreview(number);
  if (!preview) {
    return nullptr;
  }
  const std::wstring name = L"GalleryPreview" + LLF::ToString(number) + motion + (locked ? L"Hidden" : L"");
  return RunEffect(name.c_str(), preview, this, startDelay);
}

int ZentaMainMenu::PreviewOfFrame(const LLF::Object* sender) const {
  const auto* control = dynamic_cast<const HLF::Control*>(sender);
  if (!control) {
    return 0;
  }
  for (int i = 1; i <= kPreviewsPerPage; ++i) {
    if (control->GetParent() && control->GetParent() == GetPreview(i)) {
      return i;
    }
  }
  return 0;
}

void ZentaMainMenu::StartGalleryLoad() {
  galleryLoader.RemoveReceiver(this);
  galleryLoader.AddReceiver(this);
  const bool listed = galleryLoader.SetListFromFile(kImagesFile, L"GALLERY") &&
                      galleryLoader.AddListFromFile(kImagesFile, L"WALLPAPERS_THUMBS");
  if (!listed || !galleryLoader.Start(0)) {
    // Nothing will report: the gallery is built from what there is.
    LLF::Log::GetInstance().Write(
        L"Warning: ZentaMainMenu - the gallery's pictures are not loading; it opens without them.");
    ChangeState(ZENTAMM_STATE_GALLERY_FADEOUT, 0);
  }
}

bool ZentaMainMenu::BuildGallery() {
  page = 0;
  if (backgroundTop) backgroundTop->SetVisible(false);
  if (backgroundBottom) backgroundBottom->SetVisible(false);

  // Every control of the layout first, so a missing one leaves nothing
  // half built.
  pageLabel = CreateGalleryObject<HLF::Label>(L"page_num_label", L"Label");
  for (int i = 1; i <= kPreviewsPerPage; ++i) {
    const std::wstring name = kPreviewPrefix + LLF::ToString(i);
    previews[size_t(i - 1)] = CreateGalleryObject<HLF::Control>(name.c_str(), L"StaticImage");
  }
  ribbon = CreateGalleryObject<HLF::Control>(L"ribbon", L"StaticImage");
  nextButton = CreateGalleryObject<HLF::Button>(L"NextButton", L"Button");
  prevButton = CreateGalleryObject<HLF::Button>(L"PrevButton", L"Button");
  closeButton = CreateGalleryObject<HLF::Button>(L"CloseButton", L"Button");
  bool complete = pageLabel && ribbon && nextButton && prevButton && closeButton;
  for (HLF::Control* preview : previews) complete = complete && preview;
  if (!complete) {
    for (HLF::Control* control :
         {static_cast<HLF::Control*>(pageLabel), ribbon, static_cast<HLF::Control*>(nextButton),
          static_cast<HLF::Control*>(prevButton), static_cast<HLF::Control*>(closeButton)}) {
      delete control;
    }
    for (HLF::Control*& preview : previews) {
      delete preview;
      preview = nullptr;
    }
    pageLabel = nullptr;
    ribbon = nullptr;
    nextButton = prevButton = closeButton = nullptr;
    return false;
  }

  galleryBackground = AddImage(L"gallery_background", L"gallery_background", 0.0f, 0.0f);
  for (size_t i = 0; i < previews.size(); ++i) {
    if (HLF::Control* frame = previews[i]->GetChild(0)) {
      frame->AddReceiver(this);
    }
    previewHomes[i] = previews[i]->GetPosition();
  }
  for (int i = 1; i <= kPreviewsPerPage; ++i) {
    RunPreviewEffect(i, L"ShowUp", IsPreviewLocked(i), kGalleryShowDelayMs);
  }
  pageLabel->SetText(PageLabelText());
  RunEffect(L"GalleryPageNumShow", pageLabel, this, kGalleryShowDelayMs);

  for (HLF::Button* button : {nextButton, prevButton, closeButton}) {
    button->AddReceiver(this);
  }
  ribbon->AddChild(nextButton);
  ribbon->AddChild(closeButton);
  ribbon->AddChild(prevButton);
  RunEffect(L"GalleryRibbonShow", ribbon, this);
  ribbon->SetEnabled(false);

  galleryBackground->AddChild(pageLabel);
  galleryBackground->AddChild(ribbon);
  for (HLF::Control* preview : previews) {
    galleryBackground->AddChild(preview);
  }
  StartScreenFade(HLF::Fader::FADE_FALL);
  UpdateGalleryPageButtons();
  ResetFrameTime();
  return true;
}

void ZentaMainMenu::LeaveGallery() {
  // A large view still up goes with the gallery.
  if (ribbonWide) {
    RemoveChild(ribbonWide, true);
  }
  if (bigPreview && bigPreview->GetParent() == this) {
    RemoveChild(bigPreview, true);
  }
  if (galleryBackground) {
    RemoveChild(galleryBackground, true);
  }
  if (bigPreviewImage) {
    LLF::ImagesManager::GetInstance().FreeImage(bigPreviewImage);
    bigPreviewImage = nullptr;
  }
  galleryBackground = nullptr;
  ribbon = ribbonWide = nullptr;
  nextButton = prevButton = closeButton = setWallpaperButton = close2Button = nullptr;
  previews.fill(nullptr);
  zoomedPreview = nullptr;
  bigPreview = nullptr;
  pageLabel = nullptr;
  pageFlipEffect = nullptr;
  galleryLoader.UnloadAssets();
  if (backgroundTop) backgroundTop->SetVisible(true);
  if (backgroundBottom) backgroundBottom->SetVisible(true);
  ShowColumns(true);
  StartScreenFade(HLF::Fader::FADE_FALL);
}

void ZentaMainMenu::UpdateGalleryPageButtons() {
  if (prevButton) {
    prevButton->SetEnabled(page > 0);
  }
  if (nextButton) {
    bool nextHasOne = false;
    for (int i = 1; i <= kPreviewsPerPage; ++i) {
      nextHasOne = nextHasOne || IsUnlocked((page + 1) * kPreviewsPerPage + i);
    }
    nextButton->SetEnabled(page < kGalleryPages - 1 && nextHasOne);
  }
  for (int i = 1; i <= kPreviewsPerPage; ++i) {
    HLF::Control* preview = GetPreview(i);
    if (HLF::Control* frame = preview ? preview->GetChild(0) : nullptr) {
      frame->SetEnabled(!IsPreviewLocked(i));
    }
  }
}

void ZentaMainMenu::ShowNextGalleryPage() {
  // The button is off on the last page; a direct call there does nothing
  // rather than turn to a page that does not exist.
  if (page >= kGalleryPages - 1) {
    return;
  }
  TurnGalleryPage(true);
}

void ZentaMainMenu::ShowPreviousGalleryPage() {
  TurnGalleryPage(false);
}

void ZentaMainMenu::TurnGalleryPage(bool forward) {
  if (_current != ZENTAMM_STATE_GALLERY || !ribbon) {
    return;
  }
  std::array<bool, kPreviewsPerPage> locked{};
  for (int i = 1; i <= kPreviewsPerPage; ++i) {
    locked[size_t(i - 1)] = IsPreviewLocked(i);
  }
  if (forward) {
    ++page;
  } else if (page > 0) {
    --page;
  }
  UpdateGalleryPageButtons();
  ribbon->SetEnabled(false);
  RunEffect(L"GalleryPageNumHide", pageLabel, this);
  HLF::Effect* last = nullptr;
  for (int i = 1; i <= kPreviewsPerPage; ++i) {
    last = RunPreviewEffect(i, forward ? L"HideUp" : L"HideDown", locked[size_t(i - 1)]);
  }
  pageFlipForward = forward;
  pageFlipEffect = last;
  PlaySound(L"gallery_img_hide");
  ResetFrameTime();
  if (!pageFlipEffect) {
    // Without the effect whose end turns the page it turns at once.
    ChangeState(forward ? ZENTAMM_STATE_GALLERY_SHOWNEXT : ZENTAMM_STATE_GALLERY_SHOWPREV, 0);
  }
}

void ZentaMainMenu::ShowGalleryPage(bool forward) {
  for (int i = 1; i <= kPreviewsPerPage; ++i) {
    HLF::Control* preview = GetPreview(i);
    if (!preview) continue;
    if (auto* image = dynamic_cast<HLF::ImageProperty*>(preview)) {
      image->SetImage(ThumbnailId(page * kPreviewsPerPage + i));
    }
    LLF::Vector2 home = previewHomes[size_t(i - 1)];
    if (!forward) {
      home.y -= kShowDownRise;
    }
    preview->SetPosition(home);
    RunPreviewEffect(i, forward ? L"ShowUp" : L"ShowDown", IsPreviewLocked(i));
  }
  if (pageLabel) {
    pageLabel->SetText(PageLabelText());
    RunEffect(L"GalleryPageNumShow", pageLabel, this);
  }
  PlaySound(L"gallery_img_show");
  ResetFrameTime();
  ChangeState(ZENTAMM_STATE_GALLERY, kPageTurnMs);
}

void ZentaMainMenu::ShowBigPreview(HLF::Control* preview) {
  // One large view at a time: a second thumbnail clicked while the first
  // still zooms would lose the first.
  if (_current != ZENTAMM_STATE_GALLERY || pageFlipEffect || zoomedPreview || !preview ||
      !galleryBackground) {
    return;
  }
  const std::wstring& name = preview->GetName();
  const std::wstring digits = name.size() > 7 ? name.substr(7) : std::wstring();
  const int number = digits.size() == 1 && digits[0] >= L'1' && digits[0] <= L'4' ? digits[0] - L'0' : 0;
  if (number == 0 || GetPreview(number) != preview) {
    return;
  }
  const int wallpaper = page * kPreviewsPerPage + number;
  std::wstring folder;
  try {
    folder = LLF::OS_GetCurrentDir();  // the program's folder, made current at start-up
  } catch (const LLF::Exception&) {
    folder.clear();
  }
  const std::wstring path = folder + WideImageFile(wallpaper);
  // The large view's size comes from the picture: without it there is
  // nothing to show.
  LLF::Image* image = LLF::ImagesManager::GetInstance().LoadImage(path, L"", false, true);
  if (!image || image->GetHeight() == 0) {
    if (image) LLF::ImagesManager::GetInstance().FreeImage(image);
    LLF::Log::GetInstance().Write(L"Error: ZentaMainMenu - can't load the wallpaper \"" + path +
                                  L"\"; the large view stays closed.");
    return;
  }
  wallpaperPath = path;
  zoomedPreview = preview;
  bigPreviewImage = image;
  bigPreview = new HLF::StaticImage(L"BigPreview");
  bigPreview->SetPosition(0.0f, 0.0f);
  bigPreview->SetImageObject(image);
  bigPreview->AddAndStartModifier(
      new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_RISE, 1, kZoomMs), false);
  bigPreview->SetAlpha(0);
  const float bigScale = kBigPreviewHeight / float(image->GetHeight());
  bigPreview->SetScale(LLF::Vector2(bigScale, bigScale));
  galleryBackground->AddChild(bigPreview);

  zoomedPreviewHome = preview->GetPosition();
  preview->BringToFront();
  const auto* thumbnail = dynamic_cast<HLF::ImageProperty*>(preview);
  const LLF::Image* thumb = thumbnail ? thumbnail->GetImage() : nullptr;
  float thumbHeight =
      thumb && thumb->GetCellHeight() > 0 ? float(thumb->GetCellHeight()) : float(preview->GetSize().y);
  if (thumbHeight <= 0.0f) thumbHeight = kBigPreviewHeight;
  const float zoom = kBigPreviewHeight / thumbHeight;
  auto* mover =
      new HLF::MoverTo(nullptr, new HLF::TimeWarpAccelerate(), LLF::Vector2(0.0f, 0.0f), kZoomMs, 0);
  screenFader = new HLF::Fader(nullptr, nullptr, this, HLF::Fader::FADE_FALL, kZoomFadeMs, kZoomMs);
  auto* scaler =
      new HLF::Scaler(nullptr, nullptr, LLF::Vector2(1.0f, 1.0f), LLF::Vector2(zoom, zoom), kZoomMs, 0);
  preview->AddAndStartModifier(mover, false);
  preview->AddAndStartModifier(screenFader, false);
  preview->AddAndStartModifier(scaler, false);

  if (ribbon) {
    RunEffect(L"GalleryRibbonHide", ribbon, this);
    ribbon->SetEnabled(false);
  }
  PlaySound(L"gallery_img_open_big");
  ResetFrameTime();
}

void ZentaMainMenu::OpenBigPreview() {
  if (!bigPreview || !galleryBackground) {
    return;
  }
  ribbonWide = CreateGalleryObject<HLF::Control>(L"ribbon_wide", L"StaticImage");
  setWallpaperButton = CreateGalleryObject<HLF::Button>(L"SetAsWallpaperButton", L"Button");
  close2Button = CreateGalleryObject<HLF::Button>(L"Close2Button", L"Button");
  if (!ribbonWide || !setWallpaperButton || !close2Button) {
    delete ribbonWide;
    delete setWallpaperButton;
    delete close2Button;
    ribbonWide = nullptr;
    setWallpaperButton = close2Button = nullptr;
    // Without a way to close the large view, the gallery closes.
    ChangeState(ZENTAMM_STATE_GALLERY_FADEIN, 0);
    return;
  }
  galleryBackground->RemoveChild(bigPreview, false);
  galleryBackground->SetVisible(false);
  AddChild(bigPreview);

  setWallpaperButton->AddReceiver(this);
  close2Button->AddReceiver(this);
  ribbonWide->AddChild(setWallpaperButton);
  ribbonWide->AddChild(close2Button);
  RunEffect(L"GalleryRibbonShow", ribbonWide, this);
  ribbonWide->SetEnabled(false);
  AddChild(ribbonWide);
  ChangeState(ZENTAMM_STATE_GALLERY_BIGPREVIEW, kBigPreviewMs);
}

void ZentaMainMenu::CloseBigPreview() {
  if (!ribbonWide || !bigPreview || !zoomedPreview || !galleryBackground) {
    return;
  }
  RunEffect(L"GalleryRibbonHideFast", ribbonWide, this);
  ribbonWide->SetEnabled(false);
  RemoveChild(bigPreview, false);
  galleryBackground->SetVisible(true);
  galleryBackground->AddChild(bigPreview);
  bigPreview->BringToFront();
  zoomedPreview->BringToFront();
  ribbonWide->BringToFront();

  auto* mover =
      new HLF::MoverTo(nullptr, new HLF::TimeWarpDecelerate(), zoomedPreviewHome, kZoomMs, kUnzoomDelayMs);
  auto* scaler = new HLF::Scaler(nullptr, nullptr, zoomedPreview->GetScale(), LLF::Vector2(1.0f, 1.0f),
                                 kZoomMs, kUnzoomDelayMs);
  screenFader = new HLF::Fader(nullptr, nullptr, this, HLF::Fader::FADE_RISE, kUnzoomDelayMs, 0);
  zoomedPreview->AddAndStartModifier(screenFader, false);
  zoomedPreview->AddAndStartModifier(mover, false);
  zoomedPreview->AddAndStartModifier(scaler, false);
  ResetFrameTime();
}

void ZentaMainMenu::TakeDownBigPreview() {
  if (ribbonWide) {
    RemoveChild(ribbonWide, true);
  }
  ribbonWide = nullptr;
  setWallpaperButton = close2Button = nullptr;
  zoomedPreview = nullptr;
  if (bigPreview && galleryBackground) {
    galleryBackground->RemoveChild(bigPreview, true);
  }
  bigPreview = nullptr;
  if (bigPreviewImage) {
    LLF::ImagesManager::GetInstance().FreeImage(bigPreviewImage);
    bigPreviewImage = nullptr;
  }
  if (ribbon) {
    RunEffect(L"GalleryRibbonShow", ribbon, this);
  }
  ChangeState(ZENTAMM_STATE_GALLERY, kBigPreviewMs);
}

void ZentaMainMenu::SetWallpaper() {
  if (resultDialog) {
    return;
  }
  const bool set = LLF::OS_SetWallpaper(wallpaperPath, kWallpaperStyleFit);
  HLF::Dialog* dialog = OpenGalleryDialog(set ? kWallpaperSetFile : kWallpaperFailedFile);
  if (!dialog) {
    return;
  }
  resultDialog = dialog;
  if (setWallpaperButton) setWallpaperButton->SetEnabled(false);
  if (close2Button) close2Button->SetEnabled(false);
}

bool ZentaMainMenu::OnGalleryMessage(LLF::Message* msg) {
  const int code = msg->GetCode();
  if (_current == MM_STATE_MENU) {
    if (From(*msg, blockedDialog) && code == HLF::DIALOG_MSG_RESULT) {
      blockedDialog = nullptr;
      SetControlsEnabled(true);
      return true;
    }
    if (From(*msg, galleryButton) && code == HLF::BUTTON_MSG_CLICKED) {
      wallpaperMask = ReadWallpaperMask();
      bool any = false;
      for (int n = 1; n <= kGalleryPages * kPreviewsPerPage; ++n) any = any || IsUnlocked(n);
      if (!any) {
        if (!blockedDialog) {
          blockedDialog = OpenGalleryDialog(kBlockedDialogFile);
          if (blockedDialog) SetControlsEnabled(false);
        }
      } else {
        ChangeState(ZENTAMM_STATE_MENUTOGALLERY, 0);
      }
      return true;
    }
  }
  if (_current == ZENTAMM_STATE_GALLERY_LOADRESOURCES && From(*msg, &galleryLoader) &&
      (code == HLF::ASSETS_MSG_DONE || code == HLF::ASSETS_MSG_DONE_FAILED)) {
    if (code == HLF::ASSETS_MSG_DONE_FAILED) {
      LLF::Log::GetInstance().Write(
          L"Warning: ZentaMainMenu - some of the gallery's pictures did not load; it opens without them.");
    }
    ChangeState(ZENTAMM_STATE_GALLERY_FADEOUT, 0);
    return true;
  }
  if (From(*msg, screenFader) && code == HLF::MOD_MSG_END) {
    int next = -1;
    switch (_current) {
      case ZENTAMM_STATE_MENUTOGALLERY:
        next = ZENTAMM_STATE_GALLERY_LOADRESOURCES;
        break;
      case ZENTAMM_STATE_GALLERY_FADEOUT:
        PlaySound(L"gallery_img_show");
        next = ZENTAMM_STATE_GALLERY;
        break;
      case ZENTAMM_STATE_GALLERY_FADEIN:
        next = ZENTAMM_STATE_GALLERYTOMENU;
        break;
      case ZENTAMM_STATE_GALLERYTOMENU:
        next = MM_STATE_MENU;
        break;
      default:
        break;
    }
    if (next >= 0) {
      screenFader = nullptr;
      ChangeState(next, 0);
      return true;
    }
  }
  if (_current != ZENTAMM_STATE_GALLERY && _current != ZENTAMM_STATE_GALLERY_BIGPREVIEW) {
    return false;
  }
  if (From(*msg, resultDialog) && code == HLF::DIALOG_MSG_RESULT) {
    resultDialog = nullptr;
    if (setWallpaperButton) setWallpaperButton->SetEnabled(true);
    if (close2Button) close2Button->SetEnabled(true);
    return true;
  }
  if (code == HLF::BUTTON_MSG_CLICKED) {
    if (From(*msg, closeButton)) {
      ChangeState(ZENTAMM_STATE_GALLERY_FADEIN, 0);
      return true;
    }
    if (From(*msg, nextButton)) {
      ShowNextGalleryPage();
      return true;
    }
    if (From(*msg, prevButton)) {
      ShowPreviousGalleryPage();
      return true;
    }
    if (From(*msg, close2Button)) {
      CloseBigPreview();
      return true;
    }
    if (From(*msg, setWallpaperButton)) {
      SetWallpaper();
      return true;
    }
  }
  if (From(*msg, pageFlipEffect) && code == HLF::EFFECT_MSG_END) {
    pageFlipEffect = nullptr;
    ChangeState(pageFlipForward ? ZENTAMM_STATE_GALLERY_SHOWNEXT : ZENTAMM_STATE_GALLERY_SHOWPREV, 0);
    return true;
  }
  if (From(*msg, screenFader) && code == HLF::MOD_MSG_END) {
    screenFader = nullptr;
    if (_current == ZENTAMM_STATE_GALLERY) {
      OpenBigPreview();
    } else {
      TakeDownBigPreview();
    }
    return true;
  }
  if (code == HLF::CTRL_MSG_MOUSE_ENTER || code == HLF::CTRL_MSG_MOUSE_LEAVE || code == HLF::CTRL_MSG_CLICK) {
    const int number = PreviewOfFrame(msg->GetSender());
    if (number == 0) {
      return true;
    }
    HLF::Control* preview = GetPreview(number);
    if (code == HLF::CTRL_MSG_CLICK && preview->GetModifiersCount() == 0 && preview->GetEffectsCount() == 0) {
      PlaySound(L"button_click");
      ShowBigPreview(preview);
      return true;
    }
    if (auto* frame = dynamic_cast<HLF::ImageProperty*>(msg->GetSender())) {
      frame->SetImage(std::wstring(kFrameImage) + (code == HLF::CTRL_MSG_MOUSE_ENTER ? L"_over" : L""));
    }
    return true;
  }
  return false;
}
