#include "modes/GameMode.h"

#include <algorithm>
#include <climits>
#include <string>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "map/WallpaperMask.h"
#include "map/ZentaLevelMap.h"
#include "model/ControlFactory.h"
#include "model/XmlDocEx.h"
#include "modifiers/AudioFader.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "particles/Emitter.h"
#include "render/IRenderSystem.h"
#include "render/ImageDrawParams.h"
#include "render/RendersManager.h"
#include "shell/Game.h"
#include "shell/Player.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"
#include "ui/StatsDialog.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kStats[] = L"stats";
const wchar_t kTimeLeft[] = L"timeLeft";
const wchar_t kHintsShown[] = L"hintsShown";
const wchar_t kPlayDay[] = L"playDay";
const wchar_t kPlayLev[] = L"playLev";
constexpr size_t kHintsShownLength = 30;
constexpr long long kEasyFactor = 3;

const wchar_t kLevUiFile[] = L"scripts/game/levui.xml";
const wchar_t kImagesFile[] = L"scripts/images.xml";
const wchar_t kLevMusicFile[] = L"scripts/game/levmusic.xml";
const wchar_t kEffectsFile[] = L"scripts/effects.xml";
const wchar_t kParticlesFile[] = L"scripts/psystems.xml";
const wchar_t kGameMenuFile[] = L"scripts/dialogs/dlg_gamemenu.xml";
const wchar_t kHintConfirmFile[] = L"scripts/dialogs/dlg_hintconfirm.xml";
const wchar_t kMessagesFile[] = L"scripts/dialogs/dlg_gamemsg.xml";
const wchar_t kTimeOutFile[] = L"scripts/dialogs/dlg_timeout.xml";
const wchar_t kTimeOutName[] = L"TimeOutDlg";
const wchar_t kClickScoreLabel[] = L"clickscore_effect_label";
const wchar_t kScore[] = L"score";
const wchar_t kGalleryFile[] = L"scripts/dialogs/gallery.xml";
const wchar_t kAwardThumbId[] = L"wall_thumb";
constexpr int kNoHintBonus = 1000;
constexpr int kFindScoreWindowMs = 30000;

const wchar_t* const kHelpMessageNames[GameMode::HELP_MESSAGES_COUNT] = {
    L"SeekLevelGoalMsgDlg",
    L"MirrorLevelGoalMsgDlg",
    L"HintButtonUseMsgDlg",
    L"TimePenaltyMsgDlg",
    L"TimeWatchOutMsgDlg",
    L"HintImpossibleMsgDlg",
    kTimeOutName,
    L"PairLevelGoalMsgDlg",
    L"PairLevelTimePenaltyMsgDlg",
    L"PuzzleLevelGoalMsgDlg",
    L"JigsawLevelGoalMsgDlg",
};

// Once per run of the program, across levels.
bool s_warningShown = false;
bool s_hintTipShown = false;
int s_timeOutTicks = 0;

// Digits only, and within an int.
bool ReadMilliseconds(const std::wstring& text, int& ms) {
  if (text.empty() || text.size() > 10) {
    return false;
  }
  long long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') {
      return false;
    }
    value = value * 10 + (c - L'0');
  }
  if (value > INT_MAX) {
    return false;
  }
  ms = static_cast<int>(value);
  return true;
}

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

bool From(const LLF::Message& msg, const LLF::Object* object) {
  return object && msg.GetSender() == object;
}

// An effect of the effects file on the control, started; a missing one is
// skipped.
void StartEffect(HLF::Control* target, const std::wstring& name, LLF::MessageReceiver* receiver) {
  if (!target) {
    return;
  }
  auto* effect = new HLF::Effect();
  if (!effect->LoadFromFile(kEffectsFile, name)) {
    delete effect;
    return;
  }
  if (receiver) {
    effect->AddReceiver(receiver);
  }
  target->AddAndStartEffect(effect);
}

HLF::Dialog* LoadDialog(HLF::Control* control, const std::wstring& file, const std::wstring& name) {
  auto* dialog = dynamic_cast<HLF::Dialog*>(control);
  if (!dialog) {
    delete control;
    WriteLog(L"Error: GameMode - can't create the dialog \"" + name + L"\" of " + file + L".");
  }
  return dialog;
}

}  // namespace

GameMode::GameMode() = default;

GameMode::~GameMode() {
  if (HLF::Control* layer = GameLayer()) {
    // Every score label still flying: they would swallow clicks on later
    // scenes.
    for (int i = layer->GetChildsCount() - 1; i >= 0; --i) {
      HLF::Control* child = layer->GetChild(i);
      if (child && child->GetName() == kClickScoreLabel) {
        layer->DeleteChild(i, true);
      }
    }
    // A screen fade still running must not report to a dead mode.
    for (int i = 0; i < layer->GetModifiersCount(); ++i) {
      if (exitFader && layer->GetModifier(i) == exitFader) {
        exitFader->RemoveReceiver(this);
      }
    }
  }
  for (HLF::Dialog** dialog : {&gameMenu, &hintConfirmDialog, &messageDialog}) {
    if (*dialog) {
      (*dialog)->RemoveReceiver(this);
    }
    Dispose(*dialog);
  }
  RemoveHintEmitter();
  Dispose(levelNumberLabel);
  if (statsDialog) {
    statsDialog->RemoveReceiver(this);
  }
  Dispose(awardScreen);
  if (awardThumb) {
    LLF::ImagesManager::GetInstance().FreeImage(awardThumb);
    awardThumb = nullptr;
  }
  Dispose(clockRibbon);
  Dispose(clockSand);
  assetsLoader.UnloadAssets();
}

HLF::Control* GameMode::GameLayer() {
  HLF::Game* game = HLF::Game::GetInstance();
  return game ? game->GetGameLayer() : nullptr;
}

LLF::XmlElement* GameMode::BeginLevelLoad(const LevelInfo& info, const std::wstring& imagesList,
                                          const std::wstring& modeName, HLF::XmlDocEx& doc) {
  const std::wstring assetFile = info.folder + L"asset.xml";
  if (!assetsLoader.SetListFromFile(assetFile, L"LEVOBJECTS")) {
    WriteLog(L"Error: " + modeName + L" - can't read the list LEVOBJECTS of " + assetFile + L".");
    return nullptr;
  }
  assetsLoader.AddListFromFile(kImagesFile, imagesList);
  assetsLoader.AddListFromFile(kLevMusicFile, info.musicAsset);
  if (assetsLoader.Start(0)) {
    assetsLoader.Wait();
  }
  music = LLF::SoundSystem::GetInstance().GetMusic(L"level_music");
  StartMusic();
  SetAwardIndex(info.wallpaper);
  SetLevelKey(info.name);

  if (!GameMode::LoadLevel(info)) {
    return nullptr;
  }
  const std::wstring levelFile = info.folder + L"level.xml";
  if (!doc.LoadFromFile(levelFile)) {
    WriteLog(L"Error: " + modeName + L" - can't read " + levelFile + L".");
    return nullptr;
  }
  LLF::XmlElement* level = doc.GetDocumentElement();
  if (!level || level->GetName() != L"level") {
    WriteLog(L"Error: " + modeName + L" - " + levelFile + L" has no element \"level\".");
    return nullptr;
  }
  return level;
}

void GameMode::Update(unsigned dt) {
  if (paused) {
    HLF::StateMachine::Update(dt);
    return;
  }
  if (static_cast<long long>(remainingMs) <= static_cast<long long>(dt)) {
    // The clock stays where it is: the dialog shows the last second.
    ShowHelpMessage(HELP_TIME_OUT);
    return;
  }
  gradientCountdown = gradientCountdown > dt ? gradientCountdown - dt : 0;
  const int secondsBefore = remainingMs / 1000;
  remainingMs -= static_cast<int>(dt);
  if (remainingMs / 1000 != secondsBefore) {
    OnSecond();
  }
  msSinceClick += dt;
  elapsedMs += static_cast<int>(dt);
  sinceLastFindMs += static_cast<int>(dt);
  HLF::StateMachine::Update(dt);
}

void GameMode::OnSecond() {
  UpdateClockLabel();
  if (remainingMs <= kWarningAtMs && !s_warningShown) {
    s_warningShown = ShowHelpMessage(HELP_TIME_WATCH_OUT);
  }
  if (elapsedMs >= kTipAfterMs && !s_hintTipShown && !foundOnce && !IsKindOf("GameModePair") &&
      !IsKindOf("GameModeJigsaw") && !IsKindOf("GameModePuzzle")) {
    s_hintTipShown = ShowHelpMessage(HELP_HINT_BUTTON);
  }
  if (remainingMs <= 60000) {
    ++s_timeOutTicks;
    // Every second in the last five, every third in the last thirty, every
    // sixth in the last minute.
    if ((remainingMs <= 5000 && s_timeOutTicks > 0) || (remainingMs <= 30000 && s_timeOutTicks > 2) ||
        s_timeOutTicks > 5) {
      PlaySound(L"time_out");
      s_timeOutTicks = 0;
    }
  }
}

void GameMode::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case GM_STATE_SHOWCLOCK:
      log.Write(L"GameMode::DoState() - GM_STATE_SHOWCLOCK");
      if (clockRibbon) {
        clockRibbon->SetVisible(true);
      }
      if (clockSand) {
        clockSand->SetVisible(true);
      }
      ShowClock();
      if (!paused) {
        ChangeState(GM_STATE_HIDECLOCK, 7500);
      } else {
        ChangeState(GM_STATE_STARTTIMER, 2500);
      }
      break;
    case GM_STATE_STARTTIMER:
      log.Write(L"GameMode::DoState() - GM_STATE_STARTTIMER");
      if (!gameMenu && !hintConfirmDialog && !messageDialog) {
        paused = false;
      }
      ChangeState(GM_STATE_HIDECLOCK, 5000);
      break;
    case GM_STATE_HIDECLOCK:
      log.Write(L"GameMode::DoState() - GM_STATE_HIDECLOCK");
      if (!keepClock) {
        HideClock();
        ChangeState(GM_STATE_SETINVISIBLE, 2500);
      }
      break;
    case GM_STATE_SETINVISIBLE:
      log.Write(L"GameMode::DoState() - GM_STATE_SETINVISIBLE");
      if (clockRibbon) {
        clockRibbon->SetVisible(false);
      }
      if (clockSand) {
        clockSand->SetVisible(false);
      }
      if (!clockOnce) {
        ChangeState(GM_STATE_SHOWCLOCK, 117500);
      }
      break;
    case GM_STATE_SHOWWIN:
      log.Write(L"GameMode::DoState() - GM_STATE_SHOWWIN");
      if (awardScreen && awardScreen->IsVisible()) {
        awardScreen->SetVisible(false);
      }
      Win();
      break;
    case GM_STATE_QUIT:
      log.Write(L"GameMode::DoState() - GM_STATE_QUIT");
      if (gameMenu) {
        gameMenu->RemoveReceiver(this);
        Dispose(gameMenu);
      }
      SendCode(GM_MSG_TO_MAP);
      break;
    default:
      HLF::StateMachine::DoState();
      break;
  }
}

bool GameMode::LoadLevel(const LevelInfo& info) {
  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  Dispose(clockRibbon);
  Dispose(clockSand);
  Dispose(levelNumberLabel);
  clockRibbon = factory.LoadNamedObjectFromXml(kLevUiFile, uiSection, L"clock_ribbon");
  clockSand = factory.LoadNamedObjectFromXml(kLevUiFile, uiSection, L"clock_sand");
  if (!clockRibbon || !clockSand) {
    WriteLog(L"Error: GameMode - the section " + uiSection + L" of " + kLevUiFile +
             L" has no \"clock_ribbon\" or \"clock_sand\".");
    return false;
  }
  clockRibbon->SetVisible(false);
  clockSand->SetVisible(false);
  levelNumberLabel = factory.LoadNamedObjectFromXml(kLevUiFile, L"levui", L"level_number_label");
  if (!levelNumberLabel) {
    WriteLog(std::wstring(L"Error: GameMode - the section levui of ") + kLevUiFile +
             L" has no \"level_number_label\".");
    return false;
  }
  levelInfo = info;
  if (levelKey.empty()) {
    levelKey = info.name;
  }
  resultStored = false;
  awardIndex = info.wallpaper;
  if (auto* label = dynamic_cast<HLF::Label*>(levelNumberLabel)) {
    label->SetText(label->GetFullText() + L" " + LLF::ToString(LevelNumber()));
  }
  elapsedMs = 0;
  fastestFindMs = 9999999;
  longestFindMs = 0;
  hintsUsed = 0;
  levelScore = 0;
  totalScore = 0;
  sinceLastFindMs = 0;
  remainingMs = ReadTimeLeft();
  UpdateClockLabel();
  ChangeState(GM_STATE_SHOWCLOCK, 1500);
  StartGradientFade(500);
  return true;
}

int GameMode::LevelNumber() const {
  int number = levelInfo.level + 1;
  const int day = levelInfo.day >= 0 ? levelInfo.day : ZentaLevelMap::GetCurrentDay();
  for (int d = 0; d < day; ++d) {
    number += ZentaLevelMap::GetLevelsCount(d);
  }
  return number;
}

void GameMode::SaveProgress() {
  StoreTimeLeft(remainingMs);
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SaveConfigs();
  }
}

void GameMode::ShowClock() {
  StartEffect(clockRibbon, clockEffectPrefix + L"ClockShow", this);
  StartEffect(clockSand, clockEffectPrefix + L"ClockSandShow", nullptr);
}

void GameMode::HideClock() {
  StartEffect(clockRibbon, clockEffectPrefix + L"ClockHide", this);
  StartEffect(clockSand, clockEffectPrefix + L"ClockSandHide", nullptr);
}

void GameMode::FadeClockOut() {
  for (HLF::Control* control : {clockRibbon, clockSand}) {
    if (control) {
      control->AddAndStartModifier(new HLF::Fader(control, nullptr, nullptr, HLF::Fader::FADE_FALL, 200, 0));
    }
  }
}

void GameMode::ShowLevelNumber() {
  HLF::Control* layer = GameLayer();
  if (!levelNumberLabel || !layer) {
    return;
  }
  if (!levelNumberLabel->GetParent()) {
    layer->AddChild(levelNumberLabel);
  }
  StartEffect(levelNumberLabel, L"LevelNumShow", nullptr);
}

bool GameMode::OpenDialog(HLF::Dialog* dialog) {
  HLF::Control* layer = GameLayer();
  if (!dialog || !layer) {
    delete dialog;
    return false;
  }
  dialog->AddReceiver(this);
  layer->AddChild(dialog);
  playing = false;
  paused = true;
  return true;
}

bool GameMode::ShowGameMenu() {
  if (gameMenu || !CanPlay()) {
    return true;
  }
  HLF::Dialog* dialog =
      LoadDialog(HLF::ControlFactory::GetInstance().LoadObjectFromXml(kGameMenuFile, L"dialog"),
                 kGameMenuFile, L"dialog");
  if (!OpenDialog(dialog)) {
    return true;
  }
  gameMenu = dialog;
  if (HLF::Control* button = gameMenu->GetChildByName(L"MainMenuButton")) {
    button->AddReceiver(this);
  }
  return true;
}

bool GameMode::AreTipsOn() {
  HLF::Game* game = HLF::Game::GetInstance();
  LLF::XmlElement* config = game ? game->GetConfigDoc()->GetRoot()->GetChildByPath(L"config") : nullptr;
  LLF::XmlElement* help = config ? config->GetChildByPath(L"game/help") : nullptr;
  const LLF::XmlAttribute* showTips = help ? help->GetAttribute(std::wstring(L"showTips")) : nullptr;
  return !showTips || showTips->GetValue() == L"true";
}

bool GameMode::ShowHelpMessage(int index) {
  if (index < 0 || index >= HELP_MESSAGES_COUNT) {
    WriteLog(L"Error: GameMode - there is no help message " + LLF::ToString(index) + L".");
    return false;
  }
  if (index != HELP_TIME_OUT && (!AreTipsOn() || gameMenu)) {
    return false;
  }
  HLF::Player player;
  std::wstring shown;
  if (!player.GetVar(kStats, kHintsShown, shown)) {
    shown.assign(kHintsShownLength, L'0');
    player.SetVar(kStats, kHintsShown, shown);
  }
  // A hand-edited profile may hold fewer characters than the index needs.
  if (shown.size() <= static_cast<size_t>(index)) {
    shown.resize(std::max(kHintsShownLength, static_cast<size_t>(index) + 1), L'0');
  }
  if (shown[index] == L'1') {
    return true;
  }
  if (index != HELP_HINT_IMPOSSIBLE && index != HELP_TIME_OUT) {
    shown[index] = L'1';
    player.SetVar(kStats, kHintsShown, shown);
  }
  if (messageDialog) {
    messageDialog->RemoveReceiver(this);
    Dispose(messageDialog);
  }
  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  HLF::Dialog* dialog = nullptr;
  if (index == HELP_TIME_OUT) {
    dialog = LoadDialog(factory.LoadObjectFromXml(kTimeOutFile, L"messagedlg"), kTimeOutFile, kTimeOutName);
    PlaySound(L"time_over");
  } else {
    dialog = LoadDialog(factory.LoadNamedObjectFromXml(kMessagesFile, L"game", kHelpMessageNames[index]),
                        kMessagesFile, kHelpMessageNames[index]);
  }
  if (!OpenDialog(dialog)) {
    if (index == HELP_TIME_OUT) {
      // Without its dialog the time-out must still end the level, or the
      // clock would ask again every frame.
      paused = true;
      playing = false;
      RestartDay();
    }
    return false;
  }
  messageDialog = dialog;
  return true;
}

void GameMode::DecreaseTime(int ms, bool silent) {
  if (remainingMs < kPenaltyFloorMs) {
    return;
  }
  if (remainingMs < ms) {
    remainingMs = kPenaltyFloorMs;
  } else {
    remainingMs -= ms;
  }
  if (clockRibbon) {
    UpdateClockLabel();
  }
  if (!silent) {
    PlaySound(L"time_decreased");
  }
}

void GameMode::CountFastClick() {
  if (fastClickCount == 0) {
    msSinceClick = 0;
    fastClickCount = 1;
  } else if (msSinceClick > kFastClickGapMs) {
    fastClickCount = 1;
    msSinceClick = 0;
  } else {
    ++fastClickCount;
    msSinceClick = 0;
    if (fastClickCount >= kFastClicksCharged) {
      ShowHelpMessage(HELP_TIME_PENALTY);
      DecreaseTime(kFastClickPriceMs, false);
      fastClickCount = 0;
    }
  }
}

void GameMode::UseHint() {
  PlaySound(L"game_hint_button");
  DecreaseTime(kHintPriceMs, true);
}

void GameMode::StartMusic() {
  if (!music) {
    return;
  }
  if (manager) {
    manager->AddAndStartModifier(new HLF::AudioFader(music, nullptr, nullptr, 1, 1000, 0), true);
  }
  if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
    driver->PlayMusic(music);
  }
}

void GameMode::FadeMusic(unsigned ms) {
  if (music && manager) {
    manager->AddAndStartModifier(new HLF::AudioFader(music, nullptr, nullptr, 0, ms, 0), true);
  }
}

void GameMode::DuckMusic(unsigned holdMs, float percent) {
  if (!music || !manager) {
    return;
  }
  auto* down = new HLF::AudioFader(music, nullptr, nullptr, 2, 1000, 0);
  down->SetFadeRange(100.0f, percent);
  manager->AddAndStartModifier(down, true);
  auto* up = new HLF::AudioFader(music, nullptr, nullptr, 2, 1000, holdMs);
  up->SetFadeRange(percent, 100.0f);
  manager->AddAndStartModifier(up, true);
}

void GameMode::StartGradientFade(unsigned delayMs) {
  gradientCountdown = delayMs + 1000;
  if (!gradientImage) {
    gradientImage = LLF::ImagesManager::GetInstance().FindResource(L"gradient_fade");
  }
}

float GameMode::GetGradientX() const {
  if (gradientCountdown > 1000) {
    return -800.0f;
  }
  return (1.0f - static_cast<float>(gradientCountdown) / 1000.0f) * 1600.0f - 800.0f;
}

void GameMode::DrawGradientFade(LLF::IRenderSystem* rs) {
  if (gradientCountdown == 0 || !gradientImage || !rs || gradientImage->GetCellWidth() == 0 ||
      gradientImage->GetCellHeight() == 0) {
    return;
  }
  HLF::ImageDrawParams params;
  params.position = LLF::Vector2(GetGradientX(), 0.0f);
  params.scale = LLF::Vector2(800.0f / (static_cast<float>(gradientImage->GetCellWidth()) * 0.5f),
                              600.0f / static_cast<float>(gradientImage->GetCellHeight()));
  params.alpha = 255;
  rs->DrawImage(gradientImage, params);
}

std::wstring GameMode::FormatClock(int ms) {
  const int seconds = ms < 0 ? 0 : ms / 1000;
  const int within = seconds % 60;
  return LLF::ToString(seconds / 60) + L":" + (within < 10 ? L"0" : L"") + LLF::ToString(within);
}

std::wstring GameMode::UpdateClockLabel() {
  const std::wstring text = FormatClock(remainingMs);
  auto* label =
      dynamic_cast<HLF::Label*>(clockRibbon ? clockRibbon->GetChildByName(L"clock_time_label") : nullptr);
  if (label) {
    label->SetText(text);
  }
  return text;
}

void GameMode::ConnectButtons() {
  for (HLF::Control* button : {menuButton, mapButton, hintButton}) {
    if (button) {
      button->AddReceiver(this);
    }
  }
}

HLF::Emitter* GameMode::StartParticles(const std::wstring& suffix, const LLF::Vector2& position,
                                       HLF::Control* parent) {
  const std::wstring name = particlePrefix + suffix;
  HLF::Control* control =
      HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kParticlesFile, L"particlesystems", name);
  auto* emitter = dynamic_cast<HLF::Emitter*>(control);
  if (!parent) {
    parent = GameLayer();
  }
  if (!emitter || !parent) {
    delete control;
    WriteLog(L"Error: GameMode - can't create the emitter \"" + name + L"\" of " + kParticlesFile + L".");
    return nullptr;
  }
  emitter->SetPosition(position);
  parent->AddChild(emitter);
  return emitter;
}

void GameMode::RemoveHintEmitter() {
  if (hintEmitter) {
    hintEmitter->RemoveReceiver(this);
    Dispose(hintEmitter);
  }
}

void GameMode::ShowHintParticles(const LLF::Vector2& position, HLF::Control* parent) {
  RemoveHintEmitter();
  hintEmitter = StartParticles(L"Hint", position, parent);
  if (hintEmitter) {
    hintEmitter->AddReceiver(this);
    hintEmitter->Start(0);
  }
}

void GameMode::ShowFoundParticles(const LLF::Vector2& position, HLF::Control* parent) {
  if (HLF::Emitter* emitter = StartParticles(L"Found", position, parent)) {
    emitter->Start(0);
    // Loading the emitter must not cost the player clock time.
    if (HLF::Game* game = HLF::Game::GetInstance()) {
      game->ResetFrameTime();
    }
  }
}

void GameMode::ShowWrongMoveParticles(const LLF::Vector2& position, HLF::Control* parent) {
  PlaySound(L"wrong_move");
  if (HLF::Emitter* emitter = StartParticles(L"WrongMove", position, parent)) {
    emitter->Start(0);
    if (HLF::Game* game = HLF::Game::GetInstance()) {
      game->ResetFrameTime();
    }
  }
}

bool GameMode::CanPlay() {
  return !statsDialog && !hintConfirmDialog && !messageDialog;
}

void GameMode::OnHintButton() {
  if (hintEmitter) {
    return;
  }
  if (remainingMs < kHintNeedsMs) {
    ShowHelpMessage(HELP_HINT_IMPOSSIBLE);
    return;
  }
  HLF::Dialog* dialog =
      LoadDialog(HLF::ControlFactory::GetInstance().LoadObjectFromXml(kHintConfirmFile, L"dialog"),
                 kHintConfirmFile, L"dialog");
  if (OpenDialog(dialog)) {
    hintConfirmDialog = dialog;
  }
}

void GameMode::StartExitFade() {
  exitFader = new HLF::Fader(nullptr, nullptr, this, HLF::Fader::FADE_RISE, 1000, 0);
  if (HLF::Control* layer = GameLayer()) {
    layer->AddAndStartModifier(exitFader, true);
  } else {
    delete exitFader;
    exitFader = nullptr;
  }
  FadeMusic(1000);
  playing = false;
}

void GameMode::OnMapButton() {
  SaveProgress();
  StoreTimeLeft(remainingMs);
  StartExitFade();
  backToMap = true;
  SaveLevelPos(-1, -1);
}

void GameMode::OnMainMenuButton() {
  if (gameMenu) {
    gameMenu->RemoveReceiver(this);
    Dispose(gameMenu);
  }
  SaveProgress();
  StoreTimeLeft(remainingMs);
  StartExitFade();
  backToMap = false;
  SaveLevelPos(ZentaLevelMap::GetCurrentDay(), levelInfo.level);
}

void GameMode::RestartDay() {
  const int day = ZentaLevelMap::GetCurrentDay();
  HLF::Player player;
  if (LLF::XmlElement* profile = player.GetProfile()) {
    if (LLF::XmlElement* levels = profile->GetChildByPath(L"levels")) {
      levels->RemoveChild(L"day_" + LLF::ToString(day));
    }
  }
  remainingMs = StoreTimeLeft(-1);
  dayRestarted = true;
  StartExitFade();
  backToMap = true;
  SaveLevelPos(-1, -1);
}

void GameMode::OnExitFadeEnd() {
  if (dayRestarted) {
    // The day starts afresh: this level's progress is not written back.
    StoreTimeLeft(remainingMs);
    if (HLF::Game* game = HLF::Game::GetInstance()) {
      game->SaveConfigs();
    }
  } else {
    SaveProgress();
    StoreTimeLeft(remainingMs);
  }
  if (music) {
    if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
      driver->StopMusic(music);
    }
  }
  if (LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender()) {
    rs->SetFadeColor(LLF::Color(0, 0, 0, 0));
  }
  // The fader is deleted by the layer once this message returns.
  exitFader = nullptr;
  SendCode(backToMap ? GM_MSG_TO_MAP : GM_MSG_TO_MENU);
}

bool GameMode::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  const int code = msg->GetCode();
  if (From(*msg, hintEmitter)) {
    if (code == HLF::EMITTER_MSG_FINISHED) {
      RemoveHintEmitter();
    }
    return true;
  }
  if (From(*msg, hintButton) && code == HLF::BUTTON_MSG_CLICKED && playing) {
    OnHintButton();
    return true;
  }
  if (From(*msg, mapButton) && code == HLF::BUTTON_MSG_CLICKED && playing) {
    OnMapButton();
    return true;
  }
  if (From(*msg, menuButton) && code == HLF::BUTTON_MSG_CLICKED && playing) {
    ShowGameMenu();
    return true;
  }
  if (From(*msg, exitFader) && code == HLF::MOD_MSG_END && !playing) {
    OnExitFadeEnd();
    return true;
  }
  if (From(*msg, gameMenu) && code == HLF::DIALOG_MSG_RESULT) {
    playing = true;
    paused = false;
    gameMenu = nullptr;
    return true;
  }
  if (From(*msg, messageDialog) && code == HLF::DIALOG_MSG_RESULT) {
    const bool timeOut = messageDialog->GetName() == kTimeOutName;
    messageDialog = nullptr;
    if (timeOut) {
      RestartDay();
    } else {
      playing = true;
      paused = false;
    }
    return true;
  }
  if (gameMenu && code == HLF::BUTTON_MSG_CLICKED &&
      From(*msg, gameMenu->GetChildByName(L"MainMenuButton"))) {
    OnMainMenuButton();
    return true;
  }
  if (From(*msg, hintConfirmDialog) && code == HLF::DIALOG_MSG_RESULT) {
    hintConfirmDialog = nullptr;
    if (msg->GetParam() == HLF::DIALOG_RESULT_OK) {
      ++hintsUsed;
      UseHint();
    }
    playing = true;
    paused = false;
    return true;
  }
  if (awardScreen && !awardClosed && (code == HLF::CTRL_MSG_CLICK || code == HLF::BUTTON_MSG_CLICKED) &&
      (From(*msg, awardScreen) || From(*msg, awardScreen->GetChildByName(L"Continue")))) {
    OnAwardContinue();
    return true;
  }
  return true;
}

void GameMode::PlaySound(const std::wstring& id) {
  LLF::SoundSystem& system = LLF::SoundSystem::GetInstance();
  LLF::Sound* sound = system.GetSound(id);
  LLF::ISoundDriver* driver = system.GetCurrentDriver();
  if (sound && driver) {
    driver->PlaySound(sound);
  }
}

void GameMode::ResetRunFlags() {
  s_warningShown = false;
  s_hintTipShown = false;
  s_timeOutTicks = 0;
}

const wchar_t* GameMode::HelpMessageName(int index) {
  return index >= 0 && index < HELP_MESSAGES_COUNT ? kHelpMessageNames[index] : L"";
}

void GameMode::SaveLevelPos(int day, int level) {
  HLF::Player player;
  player.SetVar(kStats, kPlayDay, LLF::ToString(day));
  player.SetVar(kStats, kPlayLev, LLF::ToString(level));
}

int GameMode::GetDayFullTime() {
  const int seconds = ZentaLevelMap::GetDayTime(ZentaLevelMap::GetCurrentDay());
  bool found = false;
  const bool easy = ZentaLevelMap::GetEasyMode(found);
  long long ms = static_cast<long long>(seconds < 0 ? 0 : seconds) * 1000 * (easy ? kEasyFactor : 1);
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

int GameMode::StoreTimeLeft(int ms) {
  if (ms == -1) {
    ms = GetDayFullTime();
  } else if (ms < 0) {
    ms = 0;
  }
  HLF::Player player;
  player.SetVar(kStats, kTimeLeft, LLF::ToString(ms));
  return ms;
}

int GameMode::ReadTimeLeft() {
  HLF::Player player;
  std::wstring value;
  if (!player.GetVar(kStats, kTimeLeft, value)) {
    return StoreTimeLeft(-1);
  }
  int ms = 0;
  if (!ReadMilliseconds(value, ms)) {
    LLF::Log::GetInstance().Write(L"Warning: GameMode - the stored time left \"" + value +
                                  L"\" is no time; the day's full time is taken.");
    return StoreTimeLeft(-1);
  }
  return ms;
}

int GameMode::ReadScore() {
  HLF::Player player;
  std::wstring value;
  if (!player.GetVar(kStats, kScore, value)) {
    player.SetVar(kStats, kScore, L"0");
    return 0;
  }
  int score = 0;
  if (!ReadMilliseconds(value, score)) {
    WriteLog(L"Warning: GameMode - the stored score \"" + value + L"\" is no number; 0 is taken.");
    return 0;
  }
  return score;
}

void GameMode::WriteScore(int total) {
  HLF::Player player;
  player.SetVar(kStats, kScore, LLF::ToString(total < 0 ? 0 : total));
}

void GameMode::SetLevelComplete(bool complete) {
  HLF::Player player;
  player.SetVar(L"levels/day_" + LLF::ToString(ZentaLevelMap::GetCurrentDay()), levelKey,
                complete ? L"complete" : L"incomplete");
}

int GameMode::FindPoints(int ms) {
  const long long points = (static_cast<long long>(kFindScoreWindowMs) - ms) * 10 / 1000;
  return points > 0 ? static_cast<int>(points) : 0;
}

int GameMode::ScoreFind(const LLF::Vector2& at, HLF::Control* parent) {
  const int since = sinceLastFindMs;
  const int points = FindPoints(since);
  levelScore += points;
  if (static_cast<unsigned>(since) < static_cast<unsigned>(fastestFindMs)) {
    fastestFindMs = since;
  }
  if (static_cast<unsigned>(since) > static_cast<unsigned>(longestFindMs)) {
    longestFindMs = since;
  }
  sinceLastFindMs = 0;
  foundOnce = true;
  ShowClickScore(points, at, parent);
  return points;
}

void GameMode::ShowClickScore(int points, const LLF::Vector2& at, HLF::Control* parent) {
  if (points <= 0) {
    return;
  }
  if (!parent) {
    parent = GameLayer();
  }
  HLF::Control* control =
      HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kLevUiFile, uiSection, kClickScoreLabel);
  auto* label = dynamic_cast<HLF::Label*>(control);
  if (!label || !parent) {
    delete control;
    WriteLog(L"Error: GameMode - can't create the label \"" + std::wstring(kClickScoreLabel) + L"\" of " +
             uiSection + L" in " + kLevUiFile + L".");
    return;
  }
  label->SetText(L"+" + LLF::ToString(points));
  const LLF::Point size = label->GetSize();
  label->SetPosition(
      LLF::Vector2(at.x - static_cast<float>(size.x / 2), at.y - static_cast<float>(size.y / 2)));
  parent->AddChild(label);
  StartEffect(label, scoreEffectPrefix + L"ClickScoreShow", nullptr);
}

std::wstring GameMode::AwardThumbnailPath(int index) {
  const int number = index + 1;
  return L"images/wallpapers/thumb_wlp_" + std::wstring(number < 10 ? L"0" : L"") + LLF::ToString(number) +
         L"_wide.jpg";
}

void GameMode::ShowAward() {
  if (awardIndex == -1) {
    return;
  }
  paused = true;
  std::wstring mask = ReadWallpaperMask();
  const int index = awardIndex;
  awardIndex = -1;
  if (index < 0 || index >= kWallpaperCount || static_cast<size_t>(index) >= mask.size()) {
    WriteLog(L"Error: GameMode - the award " + LLF::ToString(index) + L" of level \"" + levelKey +
             L"\" names no wallpaper; no award.");
    Win();
    return;
  }
  if (mask[index] == L'1') {
    Win();
    return;
  }
  mask[index] = L'1';
  WriteWallpaperMask(mask);
  HLF::Control* layer = GameLayer();
  HLF::Control* screen =
      HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kGalleryFile, L"gallery", L"AwardScreen");
  if (!screen || !layer) {
    delete screen;
    // The wallpaper is the player's all the same; the gallery shows it.
    WriteLog(L"Error: Can't create \"AwardScreen\" of " + std::wstring(kGalleryFile) + L".");
    Win();
    return;
  }
  Dispose(awardScreen);
  awardScreen = screen;
  const std::wstring path = AwardThumbnailPath(index);
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  if (awardThumb) {
    images.FreeImage(awardThumb);
    awardThumb = nullptr;
  }
  // Without a render system (a test's headless shell) nothing is uploaded.
  const bool upload = LLF::RendersManager::GetInstance().GetCurrentRender() != nullptr;
  awardThumb = images.LoadImage(path, kAwardThumbId, false, !upload);
  if (!awardThumb) {
    WriteLog(L"Error: Can't load image for award from path \"" + path + L"\"");
  } else if (auto* preview = dynamic_cast<HLF::StaticImage*>(awardScreen->GetChildByName(L"WallPreview"))) {
    preview->SetImageObject(awardThumb);
  }
  awardScreen->AddReceiver(this);
  if (HLF::Control* button = awardScreen->GetChildByName(L"Continue")) {
    button->AddReceiver(this);
  }
  layer->AddChild(awardScreen);
  PlaySound(L"award_earned");
}

void GameMode::OnAwardContinue() {
  if (awardScreen->GetModifiersCount() > 0 || awardScreen->GetEffectsCount() > 0) {
    return;
  }
  StartEffect(awardScreen, L"AwardHide", nullptr);
  ChangeState(GM_STATE_SHOWWIN, 1500);
  awardClosed = true;
}

void GameMode::MeetGoal() {
  if (resultStored) {
    return;
  }
  playing = false;
  paused = true;
  if (hintsUsed == 0) {
    levelScore += kNoHintBonus;
  }
  Win();
}

void GameMode::FinishWin(int nextState, unsigned delayMs, unsigned afterAwardMs) {
  playing = false;
  paused = true;
  if (!resultStored) {
    resultStored = true;
    totalScore = ReadScore() + levelScore;
    WriteScore(totalScore);
    StoreTimeLeft(remainingMs);
    SetLevelComplete(true);
  }
  if (awardIndex != -1) {
    ShowAward();
    return;
  }
  ChangeState(nextState, awardClosed ? afterAwardMs : delayMs);
}

void GameMode::OpenResults() {
  HideClock();
  HLF::Control* layer = GameLayer();
  if (statsDialog) {
    statsDialog->RemoveReceiver(this);
    Dispose(statsDialog);
  }
  statsDialog = layer ? StatsDialog::CreateFromLayout(kLevUiFile, L"levui", L"StatsDlg") : nullptr;
  if (statsDialog) {
    statsDialog->SetFadeBackground(true);
    layer->AddChild(statsDialog);
  }
  DuckMusic(4000, 20.0f);
  PlaySound(L"game_level_won");
  if (statsDialog) {
    StatsDialog::Stats stats;
    stats.elapsedMs = elapsedMs;
    stats.fastestFindMs = fastestFindMs;
    stats.longestFindMs = longestFindMs;
    stats.hintsUsed = hintsUsed;
    stats.levelScore = levelScore;
    stats.totalScore = totalScore;
    statsDialog->FillLabels(stats);
    statsDialog->AddReceiver(this);
  }
  SaveProgress();
  levelInfo.level = -1;
}

bool GameMode::TakeResultsOk(LLF::Message* msg, int nextState) {
  if (!msg || !statsDialog || !From(*msg, statsDialog) || msg->GetCode() != HLF::DIALOG_MSG_RESULT) {
    return false;
  }
  statsDialog->RemoveReceiver(this);
  statsDialog = nullptr;
  ChangeState(nextState, 0);
  return true;
}

void GameMode::StartLeavingFade(int nextState) {
  FadeMusic(1000);
  if (HLF::Control* layer = GameLayer()) {
    layer->AddAndStartModifier(new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_RISE, 1000, 0),
                               true);
  }
  ChangeState(nextState, 1000);
}

void GameMode::FinishLevel() {
  if (music) {
    if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
      driver->StopMusic(music);
    }
  }
  ChangeState(GM_STATE_QUIT, 0);
}
