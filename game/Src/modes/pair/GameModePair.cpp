#include "modes/pair/GameModePair.h"

#include "core/Log.h"
#include "core/StringUtils.h"
#include "map/ZentaLevelMap.h"
#include "model/ControlFactory.h"
#include "model/XmlDocEx.h"
#include "modes/mirror/GameModeMirror.h"
#include "modes/pair/PairModeScene.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "particles/Emitter.h"
#include "shell/Game.h"
#include "shell/Player.h"
#include "sound/SoundSystem.h"
#include "ui/StatsDialog.h"
#include "widgets/Label.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kLevUiFile[] = L"scripts/game/levui.xml";
const wchar_t kEffectsFile[] = L"scripts/effects.xml";
const wchar_t kSection[] = L"levui/level_pair";
const wchar_t kSceneNumberVar[] = L"lp_scene_num";
const wchar_t kTimerBlockShow[] = L"LevelPairTimerBlockShow";

const wchar_t kCurrentScene[] = L"current_scene";
const wchar_t kSceneLeft[] = L"scene_left";
const wchar_t kSceneRight[] = L"scene_right";
const wchar_t kSceneLeftName[] = L"scene_left_name";
const wchar_t kSceneRightName[] = L"scene_right_name";

constexpr unsigned kWinDelayMs = 1500;
constexpr unsigned kAfterAwardMs = 500;

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

}  // namespace

GameModePair::GameModePair() {
  uiSection = kSection;
  clockEffectPrefix = L"LevelPair";
  scoreEffectPrefix = L"LevelPair";
  particlePrefix = L"PairLevel";
  board.SetOwnerMode(this);
  manager = &board;
  clockOnce = true;
}

GameModePair::~GameModePair() {
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

void GameModePair::ReleaseScreen() {
  sceneNumberLabel = nullptr;
  timerBlock = nullptr;
  // The buttons are the frame's.
  if (frame) {
    menuButton = nullptr;
    mapButton = nullptr;
    hintButton = nullptr;
  }
  Dispose(frame);
}

HLF::Effect* GameModePair::StartPairEffect(HLF::Control* control, const std::wstring& name,
                                           LLF::MessageReceiver* receiver) {
  if (!control) {
    return nullptr;
  }
  auto* effect = new HLF::Effect();
  if (!effect->LoadFromFile(kEffectsFile, name)) {
    delete effect;
    return nullptr;
  }
  if (receiver) {
    effect->AddReceiver(receiver);
  }
  control->AddAndStartEffect(effect);
  return effect;
}

int GameModePair::PairFindPoints(int ms) {
  const long long points = (static_cast<long long>(kFindWindowMs) - ms) * 20 / 1000;
  return points > 0 ? static_cast<int>(points) : 0;
}

std::wstring GameModePair::ProgressPath() const {
  return ZentaLevelMap::DayProgressPath(ZentaLevelMap::GetCurrentDay()) + L"/" + levelKey;
}

bool GameModePair::LoadLevel(const LevelInfo& info) {
  HLF::XmlDocEx doc;
  LLF::XmlElement* level = BeginLevelLoad(info, L"LEVEL_PAIR", L"GameModePair", doc);
  if (!level) {
    return false;
  }
  if (!board.LoadScenes(*level)) {
    return false;
  }

  HLF::Control* layer = GameLayer();
  if (!layer) {
    return false;
  }
  // The screen's one clock is the timer block on the strip. The shared
  // ribbon and sand would stand over the right pane and show the same time
  // twice, so they stay off the screen; the base still owns them.
  layer->AddChild(&board);

  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  frame = factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"frame");
  HLF::Control* label = factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"scene_number");
  timerBlock = factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"timer_block");
  HLF::Control* buttons[] = {factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"menu_button"),
                             factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"map_button"),
                             factory.LoadNamedObjectFromXml(kLevUiFile, kSection, L"hint_button")};
  sceneNumberLabel = dynamic_cast<HLF::Label*>(label);
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
    sceneNumberLabel = nullptr;
  }
  menuButton = buttons[0];
  mapButton = buttons[1];
  hintButton = buttons[2];
  if (!frame || !sceneNumberLabel || !timerBlock || !menuButton || !mapButton || !hintButton) {
    WriteLog(std::wstring(L"Error: GameModePair - the section ") + kSection + L" of " + kLevUiFile +
             L" lacks one of \"frame\", \"scene_number\" (a label), \"timer_block\", \"menu_button\", "
             L"\"map_button\", \"hint_button\".");
    ReleaseScreen();
    if (!frame) {
      menuButton = mapButton = hintButton = nullptr;
    }
    return false;
  }
  StartPairEffect(timerBlock, kTimerBlockShow, nullptr);
  ConnectButtons();
  UpdateClockLabel();

  HLF::Player player;
  const std::wstring path = ProgressPath();
  std::wstring current = L"0";
  std::wstring left;
  std::wstring right;
  std::wstring leftName;
  std::wstring rightName;
  if (player.GetVar(path, kCurrentScene, current)) {
    player.GetVar(path, kSceneLeft, left);
    player.GetVar(path, kSceneRight, right);
    player.GetVar(path, kSceneLeftName, leftName);
    player.GetVar(path, kSceneRightName, rightName);
  }
  int index = 0;
  if (!LLF::FromString(current, index)) {
    index = 0;
  }
  board.RestoreProgress(index, left, leftName, right, rightName);
  UpdateSceneNumberLabel();

  layer->AddAndStartModifier(new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_FALL, 1000, 0), true);
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
  return true;
}

void GameModePair::SaveProgress() {
  HLF::Player player;
  const std::wstring path = ProgressPath();
  player.SetVar(path, kCurrentScene, LLF::ToString(board.GetCurrentIndex()));
  // No scene takes clicks during a slide or after the win: its names would
  // be the old scene's, so empty ones are written.
  const PairModeScene* scene = board.GetCurrentScene();
  player.SetVar(path, kSceneLeft, scene ? scene->GetMissingLeft() : std::wstring());
  player.SetVar(path, kSceneRight, scene ? scene->GetMissingRight() : std::wstring());
  player.SetVar(path, kSceneLeftName, scene ? scene->GetSavedMissingLeft() : std::wstring());
  player.SetVar(path, kSceneRightName, scene ? scene->GetSavedMissingRight() : std::wstring());
  GameMode::SaveProgress();
}

std::wstring GameModePair::UpdateClockLabel() {
  const std::wstring text = GameMode::UpdateClockLabel();
  GameModeMirror::ShowOnTimerBlock(timerBlock, text);
  return text;
}

void GameModePair::UpdateSceneNumberLabel() {
  if (!sceneNumberLabel) {
    return;
  }
  HLF::Game* game = HLF::Game::GetInstance();
  const std::wstring prefix = game ? game->GetStringVar(kSceneNumberVar) : std::wstring();
  sceneNumberLabel->SetText(prefix + LLF::ToString(board.GetCurrentIndex() + 1) + L"/" +
                            LLF::ToString(static_cast<int>(board.GetScenes().size())));
}

bool GameModePair::CanPlay() {
  return GetState() >= GMP_STATE_STARTANIM ? false : GameMode::CanPlay();
}

void GameModePair::UseHint() {
  PairModeScene* scene = board.GetCurrentScene();
  if (hintEmitter || !scene) {
    return;
  }
  // The left pane's odd item first.
  const std::wstring& target =
      scene->GetMissingRight().empty() ? scene->GetMissingLeft() : scene->GetMissingRight();
  if (target.empty()) {
    return;
  }
  LLF::Vector2 point(0.0f, 0.0f);
  if (HLF::Control* item = scene->FirstItemNamed(target)) {
    point = PairModeScene::CentreOf(*item);
  }
  GameMode::UseHint();
  ShowHintParticles(point, &board);
}

void GameModePair::OnItemFound(const LLF::Vector2& centre) {
  const int since = sinceLastFindMs;
  const int points = PairFindPoints(since);
  levelScore += points;
  if (static_cast<unsigned>(since) < static_cast<unsigned>(fastestFindMs)) {
    fastestFindMs = since;
  }
  if (static_cast<unsigned>(since) > static_cast<unsigned>(longestFindMs)) {
    longestFindMs = since;
  }
  sinceLastFindMs = 0;
  foundOnce = true;
  ShowClickScore(points, centre, nullptr);
  PlaySound(L"mirror_difference_found");
  if (hintEmitter) {
    hintEmitter->Stop();
  }
}

void GameModePair::OnWrongItem() {
  ShowHelpMessage(HELP_PAIR_TIME_PENALTY);
  DecreaseTime(kWrongItemPriceMs, false);
}

void GameModePair::Win() {
  const int state = GetState();
  if (state >= GMP_STATE_STARTANIM && state <= GMP_STATE_FINISHED) {
    return;
  }
  FinishWin(GMP_STATE_STARTANIM, kWinDelayMs, kAfterAwardMs);
}

bool GameModePair::OnMessage(LLF::Message* msg) {
  if (TakeResultsOk(msg, GMP_STATE_QUIT)) {
    return true;
  }
  return GameMode::OnMessage(msg);
}

void GameModePair::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case GM_STATE_HIDECLOCK:
      ShowHelpMessage(HELP_PAIR_GOAL);
      break;
    case GMP_STATE_STARTANIM:
      log.Write(L"GameModePair::DoState() - GMP_STATE_STARTANIM");
      SaveProgress();
      levelInfo.level = -1;
      FadeClockOut();
      ChangeState(GMP_STATE_SHOWRESULTS, 0);
      break;
    case GMP_STATE_SHOWRESULTS:
      log.Write(L"GameModePair::DoState() - GMP_STATE_SHOWRESULTS");
      // Hidden, it takes no clicks; it stays drawn under the results.
      board.SetVisible(false);
      for (HLF::Control* control : {clockRibbon, clockSand}) {
        if (control) {
          control->SetVisible(false);
        }
      }
      OpenResults();
      playing = true;
      return;
    case GMP_STATE_QUIT:
      log.Write(L"GameModePair::DoState() - GMP_STATE_QUIT");
      StartLeavingFade(GMP_STATE_FINISHED);
      break;
    case GMP_STATE_FINISHED:
      log.Write(L"GameModePair::DoState() - GMP_STATE_FINISHED");
      FinishLevel();
      return;
    default:
      break;
  }
  GameMode::DoState();
}
