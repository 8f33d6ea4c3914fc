#include "modes/mirror/GameModeMirror.h"

#include "core/Log.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "map/ZentaLevelMap.h"
#include "math/Color.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "model/XmlDocEx.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "modifiers/MoverTo.h"
#include "modifiers/Scaler.h"
#include "modifiers/TimeWarpAccelerate.h"
#include "particles/Emitter.h"
#include "shell/Game.h"
#include "shell/Player.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"
#include "ui/StatsDialog.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"

namespace {

const wchar_t kLevUiFile[] = L"scripts/game/levui.xml";
const wchar_t kEffectsFile[] = L"scripts/effects.xml";
const wchar_t kParticlesFile[] = L"scripts/psystems.xml";
const wchar_t kSection[] = L"levui/level_mirror";
const wchar_t kDiffLeftVar[] = L"lm_diff_left";
const wchar_t kLabelHide[] = L"LevelMirrorDiffLabelHide";
const wchar_t kLabelShow[] = L"LevelMirrorDiffLabelShow";
const wchar_t kTimerBlockShow[] = L"LevelMirrorTimerBlockShow";
const wchar_t kComplete[] = L"MirrorLevelComplete";

constexpr unsigned kWinDelayMs = 1500;
constexpr unsigned kAfterAwardMs = 500;
constexpr unsigned kHighlightStepMs = 200;
constexpr unsigned kHighlightFadeMs = 300;
constexpr unsigned kUnionMs = 2000;
constexpr unsigned kZoomMs = 4000;
constexpr unsigned kZoomFadeDelayMs = 3500;
constexpr unsigned kZoomFadeMs = 1000;
constexpr unsigned kZoomStateMs = 4500;
constexpr unsigned kQuitMs = 250;

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

HLF::Effect* NewEffect(const std::wstring& name, LLF::MessageReceiver* receiver) {
  auto* effect = new HLF::Effect();
  if (!effect->LoadFromFile(kEffectsFile, name)) {
    delete effect;
    return nullptr;
  }
  if (receiver) {
    effect->AddReceiver(receiver);
  }
  return effect;
}

void Fade(HLF::Control* control, unsigned ms, unsigned delay, bool accelerate) {
  if (control) {
    control->AddAndStartModifier(new HLF::Fader(control, accelerate ? new HLF::TimeWarpAccelerate() : nullptr,
                                                nullptr, HLF::Fader::FADE_FALL, ms, delay));
  }
}

}  // namespace

GameModeMirror::GameModeMirror() {
  uiSection = kSection;
  clockEffectPrefix = L"LevelMirror";
  scoreEffectPrefix = L"LevelMirror";
  particlePrefix = L"MirrorLevel";
  manager = &board;
  board.SetOwnerMode(this);
  clockOnce = true;
}

GameModeMirror::~GameModeMirror() {
  // The hint's particles live on the board, which goes with this object.
  RemoveHintEmitter();
  if (statsDialog) {
    statsDialog->RemoveReceiver(this);
    Dispose(statsDialog);
  }
  ReleaseScreen();
  if (HLF::Control* parent = board.GetParent()) {
    parent->RemoveChild(&board, false);
  }
}

void GameModeMirror::ReleaseScreen() {
  labelHideEffect = nullptr;
  diffLeftLabel = nullptr;
  timerBlock = nullptr;
  // The buttons are the frame's.
  if (frame) {
    menuButton = nullptr;
    mapButton = nullptr;
    hintButton = nullptr;
  }
  Dispose(frame);
  Dispose(overlayLayer);
}

std::wstring GameModeMirror::CollectedKey(int i) {
  return L"diff_collected_" + LLF::ToString(i);
}

std::wstring GameModeMirror::ProgressPath() const {
  return ZentaLevelMap::DayProgressPath(ZentaLevelMap::GetCurrentDay()) + L"/" + levelKey;
}

bool GameModeMirror::LoadLevel(const LevelInfo& info) {
  HLF::XmlDocEx doc;
  LLF::XmlElement* level = BeginLevelLoad(info, L"LEVEL_MIRROR", L"GameModeMirror", doc);
  if (!level) {
    return false;
  }
  if (!board.LoadBoard(*level)) {
    return false;
  }

  HLF::Control* layer = GameLayer();
  if (!layer) {
    return false;
  }
  layer->AddChild(&board);
  overlayLayer = new HLF::Control(L"mirror_overlays");
  overlayLayer->SetPosition(0.0f, 0.0f);
  overlayLayer->SetSize(800, 600);
  overlayLayer->SetRenderable(false);
  layer->AddChild(overlayLayer);
  layer->AddChild(clockRibbon);
  layer->AddChild(clockSand);

  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  frame = factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"frame");
  HLF::Control* label = factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"diff_left_count_label");
  timerBlock = factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"timer_block");
  HLF::Control* buttons[] = {factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"menu_button"),
                             factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"map_button"),
                             factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"hint_button")};
  diffLeftLabel = dynamic_cast<HLF::Label*>(label);
  if (frame) {
    layer->AddChild(frame);
    for (HLF::Control* child : {label, timerBlock, buttons[0], buttons[1], buttons[2]}) {
      if (child) {
        frame->AddChild(child);
      }
    }
  } else {
    for (HLF::Control* child : {label, timerBlock, buttons[0], buttons[1], buttons[2]}) {
      delete child;
    }
    timerBlock = nullptr;
  }
  menuButton = buttons[0];
  mapButton = buttons[1];
  hintButton = buttons[2];
  if (!frame || !diffLeftLabel || !timerBlock || !menuButton || !mapButton || !hintButton) {
    WriteLog(
        std::wstring(L"Error: GameModeMirror - the section ") + kSection + L" of " + kLevUiFile +
        L" lacks one of \"frame\", \"diff_left_count_label\" (a label), \"timer_block\", \"menu_button\", "
        L"\"map_button\", \"hint_button\".");
    ReleaseScreen();
    if (!frame) {
      menuButton = mapButton = hintButton = nullptr;
    }
    return false;
  }
  if (HLF::Effect* show = NewEffect(kTimerBlockShow, nullptr)) {
    timerBlock->AddAndStartEffect(show);
  }
  ConnectButtons();
  UpdateClockLabel();

  HLF::Player player;
  const std::wstring path = ProgressPath();
  std::vector<MirrorDifference>& differences = board.GetDifferences();
  for (size_t i = 0; i < differences.size(); ++i) {
    std::wstring value = L"false";
    player.GetVar(path, CollectedKey(static_cast<int>(i)), value);
    if (value == L"true") {
      board.ShowFound(differences[i]);
    }
  }
  UpdateDiffLeftLabel();

  layer->AddAndStartModifier(new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_FALL, 1000, 0), true);
  ShowLevelNumber();
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
  return true;
}

void GameModeMirror::SaveProgress() {
  HLF::Player player;
  const std::wstring path = ProgressPath();
  const std::vector<MirrorDifference>& differences = board.GetDifferences();
  for (size_t i = 0; i < differences.size(); ++i) {
    player.SetVar(path, CollectedKey(static_cast<int>(i)), differences[i].found ? L"true" : L"false");
  }
  GameMode::SaveProgress();
}

std::wstring GameModeMirror::UpdateClockLabel() {
  const std::wstring text = GameMode::UpdateClockLabel();
  ShowOnTimerBlock(timerBlock, text);
  return text;
}

void GameModeMirror::ShowOnTimerBlock(HLF::Control* timerBlock, const std::wstring& text) {
  if (auto* label = dynamic_cast<HLF::Label*>(timerBlock ? timerBlock->FindChild(L"time_label") : nullptr)) {
    label->SetText(text);
  }
}

void GameModeMirror::UpdateDiffLeftLabel() {
  if (!diffLeftLabel) {
    return;
  }
  HLF::Game* game = HLF::Game::GetInstance();
  const std::wstring prefix = game ? game->GetStringVar(kDiffLeftVar) : std::wstring();
  diffLeftLabel->SetText(prefix + LLF::ToString(board.LeftCount()));
}

bool GameModeMirror::CanPlay() {
  return GetState() >= GMM_STATE_STARTANIM ? false : GameMode::CanPlay();
}

void GameModeMirror::UseHint() {
  if (hintEmitter) {
    return;
  }
  std::vector<MirrorDifference>& differences = board.GetDifferences();
  const int n = board.LeftCount();
  const int k = n > 1 ? LLF::RandomInt() % n : 0;
  LLF::Vector2 centre(0.0f, 0.0f);
  int seen = 0;
  for (size_t i = 0; i < differences.size(); ++i) {
    const MirrorDifference& d = differences[i];
    if (d.found) {
      continue;
    }
    if (seen++ == k) {
      centre = LLF::Vector2(d.x + static_cast<float>(d.w) * 0.5f, d.y + static_cast<float>(d.h) * 0.5f);
      LLF::Log::GetInstance().Write(L"Hint used. Hint object num: " + LLF::ToString(static_cast<int>(i)));
      break;
    }
  }
  GameMode::UseHint();
  ShowHintParticles(centre, &board);
}

void GameModeMirror::OnFound(MirrorDifference& difference, const LLF::Vector2& p) {
  foundOnce = true;
  ScoreFind(p);
  if (diffLeftLabel) {
    labelHideEffect = NewEffect(kLabelHide, this);
    if (labelHideEffect) {
      diffLeftLabel->AddAndStartEffect(labelHideEffect);
    } else {
      // No effect to wait for: the number changes now.
      UpdateDiffLeftLabel();
    }
    if (HLF::Effect* show = NewEffect(kLabelShow, nullptr)) {
      diffLeftLabel->AddAndStartEffect(show);
    }
  }
  board.ShowFound(difference);
  PlaySound(L"mirror_difference_found");
  if (hintEmitter) {
    hintEmitter->Stop();
  }
  ShowFoundParticles(p, overlayLayer);
}

void GameModeMirror::OnMiss(const LLF::Vector2& p) {
  CountFastClick();
  ShowWrongMoveParticles(p, overlayLayer);
}

void GameModeMirror::Win() {
  const int state = GetState();
  if (state >= GMM_STATE_STARTANIM && state <= GMM_STATE_QUIT) {
    return;
  }
  FinishWin(GMM_STATE_STARTANIM, kWinDelayMs, kAfterAwardMs);
}

bool GameModeMirror::OnMessage(LLF::Message* msg) {
  if (TakeResultsOk(msg, GMM_STATE_QUIT)) {
    return true;
  }
  if (msg && labelHideEffect && msg->GetSender() == static_cast<LLF::MessageSender*>(labelHideEffect)) {
    labelHideEffect = nullptr;
    UpdateDiffLeftLabel();
    return true;
  }
  return GameMode::OnMessage(msg);
}

void GameModeMirror::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case GM_STATE_HIDECLOCK:
      ShowHelpMessage(HELP_MIRROR_GOAL);
      break;
    case GMM_STATE_STARTANIM: {
      log.Write(L"GameModeMirror::DoState() - GMM_STATE_STARTANIM");
      SaveProgress();
      levelInfo.level = -1;
      FadeClockOut();
      const std::vector<MirrorFoundPair>& found = board.GetFoundList();
      for (size_t j = 0; j < found.size(); ++j) {
        const unsigned delay = kHighlightStepMs * static_cast<unsigned>(j);
        Fade(found[j].firstOverlay, kHighlightFadeMs, delay, false);
        Fade(found[j].secondOverlay, kHighlightFadeMs, delay, false);
      }
      ChangeState(GMM_STATE_UNIONSIDES,
                  kHighlightStepMs * static_cast<unsigned>(found.size()) + kHighlightFadeMs);
      PlaySound(L"mirror_sides_anim");
      break;
    }
    case GMM_STATE_UNIONSIDES: {
      log.Write(L"GameModeMirror::DoState() - GMM_STATE_UNIONSIDES");
      if (overlayLayer) {
        overlayLayer->SetVisible(false);
      }
      if (HLF::Game* game = HLF::Game::GetInstance()) {
        game->SetClearSettings(true, LLF::Color(0, 0, 0, 255));
      }
      Fade(frame, 300, 0, false);
      const LLF::Vector2 middle(200.0f, 0.0f);
      if (HLF::StaticImage* left = board.GetLeftSide()) {
        left->AddAndStartModifier(new HLF::MoverTo(left, new HLF::TimeWarpAccelerate(), middle, kUnionMs, 0));
      }
      if (HLF::StaticImage* right = board.GetRightSide()) {
        right->AddAndStartModifier(
            new HLF::MoverTo(right, new HLF::TimeWarpAccelerate(), middle, kUnionMs, 0));
        Fade(right, kUnionMs, 0, true);
      }
      HLF::Control* control = HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(
          kParticlesFile, L"particlesystems", kComplete);
      if (auto* emitter = dynamic_cast<HLF::Emitter*>(control)) {
        board.AddChild(emitter);
        emitter->Start(0);
      } else {
        delete control;
        log.Write(std::wstring(L"Warning: GameModeMirror - no emitter \"") + kComplete + L"\" in " +
                  kParticlesFile + L".");
      }
      if (board.GetLeftSide()) {
        board.GetLeftSide()->BringToFront();
      }
      if (board.GetRightSide()) {
        board.GetRightSide()->BringToFront();
      }
      ChangeState(GMM_STATE_ZOOMIMG, kUnionMs);
      break;
    }
    case GMM_STATE_ZOOMIMG:
      log.Write(L"GameModeMirror::DoState() - GMM_STATE_ZOOMIMG");
      if (HLF::StaticImage* left = board.GetLeftSide()) {
        left->AddAndStartModifier(
            new HLF::Scaler(left, nullptr, LLF::Vector2(1.0f, 1.0f), LLF::Vector2(2.0f, 2.0f), kZoomMs, 0));
        left->AddAndStartModifier(new HLF::MoverTo(left, nullptr, LLF::Vector2(0.0f, -300.0f), kZoomMs, 0));
        Fade(left, kZoomFadeMs, kZoomFadeDelayMs, true);
      }
      ChangeState(GMM_STATE_SHOWRESULTS, kZoomStateMs);
      break;
    case GMM_STATE_SHOWRESULTS:
      log.Write(L"GameModeMirror::DoState() - GMM_STATE_SHOWRESULTS");
      board.SetVisible(false);
      for (HLF::Control* control : {frame, clockRibbon, clockSand}) {
        if (control) {
          control->SetVisible(false);
        }
      }
      OpenResults();
      playing = true;
      break;
    case GMM_STATE_QUIT:
      log.Write(L"GameModeMirror::DoState() - GMM_STATE_QUIT");
      if (music) {
        if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
          driver->StopMusic(music);
        }
      }
      FadeMusic(kQuitMs);
      ChangeState(GM_STATE_QUIT, kQuitMs);
      break;
    default:
      break;
  }
  GameMode::DoState();
}
