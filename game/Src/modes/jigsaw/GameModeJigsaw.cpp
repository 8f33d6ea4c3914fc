#include "modes/jigsaw/GameModeJigsaw.h"

#include <algorithm>
#include <string>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "map/ZentaLevelMap.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "modifiers/Fader.h"
#include "shell/Game.h"
#include "shell/Player.h"
#include "sound/SoundSystem.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kLevUiFile[] = L"scripts/game/levui.xml";
const wchar_t kPositions[] = L"positions";

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

}  // namespace

GameModeJigsaw::GameModeJigsaw() {
  uiSection = L"levui/level_jigsaw";
  clockEffectPrefix = L"LevelJigsaw";
  scoreEffectPrefix = L"LevelJigsaw";
  particlePrefix = L"JigsawLevel";
  board.SetOwnerMode(this);
  manager = &board;
  keepClock = true;
}

GameModeJigsaw::~GameModeJigsaw() {
  RemoveHintEmitter();
  Dispose(frame);
  Dispose(levelUi);
  itemsPanel = nullptr;
  // The board is a member: it leaves the layer without being deleted.
  if (HLF::Control* parent = board.GetParent()) {
    parent->RemoveChild(&board, false);
  }
}

std::wstring GameModeJigsaw::ProgressPath(const std::wstring& levelName) {
  return ZentaLevelMap::DayProgressPath(ZentaLevelMap::GetCurrentDay()) + L"/" + levelName;
}

bool GameModeJigsaw::LoadLevel(const LevelInfo& info) {
  const std::wstring& folder = info.folder;
  assetsLoader.AddListFromFile(folder + L"asset.xml", L"LEVOBJECTS");
  assetsLoader.AddListFromFile(L"scripts/images.xml", L"LEVEL_JIGSAW");
  assetsLoader.AddListFromFile(L"scripts/game/levmusic.xml", info.musicAsset);
  assetsLoader.Start(0);
  assetsLoader.Wait();

  music = LLF::SoundSystem::GetInstance().GetMusic(L"level_music");
  StartMusic();
  SetAwardIndex(info.wallpaper);
  SetLevelKey(info.name);

  LLF::XmlDoc doc;
  LLF::XmlElement* level = nullptr;
  if (doc.LoadFromFile(folder + L"level.xml")) {
    level = doc.GetRoot()->FindChild(L"level");
  }
  if (!level) {
    WriteLog(L"Error: GameModeJigsaw - can't read the level file \"" + folder + L"level.xml\".");
    return false;
  }
  if (!GameMode::LoadLevel(info)) {
    return false;
  }

  HLF::Player player;
  std::wstring positions;
  const bool stored = player.GetVar(ProgressPath(info.name), kPositions, positions);
  if (!board.LoadBoard(*level, !stored)) {
    return false;
  }
  // A bad save can neither win the level at load nor stack two pieces in
  // one cell: it counts as none.
  if (stored && !board.RestorePositions(positions)) {
    WriteLog(L"Warning: GameModeJigsaw - the stored positions \"" + positions + L"\" of " + info.name +
             L" don't fit the board; it is shuffled afresh.");
    board.Shuffle();
  }

  HLF::Control* layer = GameLayer();
  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  levelUi = factory.LoadNamedObjectFromXml(kLevUiFile, uiSection, L"level_ui");
  frame = factory.LoadNamedObjectFromXml(kLevUiFile, uiSection, L"frame");
  if (!layer || !levelUi || !frame) {
    WriteLog(L"Error: GameModeJigsaw - the section " + uiSection + L" of " + kLevUiFile +
             L" has no \"level_ui\" or \"frame\".");
    return false;
  }
  levelUi->SetName(L"jigsaw_ui");
  menuButton = levelUi->GetChildByName(L"menu_button");
  mapButton = levelUi->GetChildByName(L"map_button");
  hintButton = levelUi->GetChildByName(L"hint_button");
  itemsPanel = levelUi->GetChildByName(L"items_scroll");
  layer->AddChild(&board);
  layer->AddChild(levelUi);
  layer->AddChild(clockRibbon);
  layer->AddChild(clockSand);
  ConnectButtons();
  layer->AddChild(frame);

  board.UpdateCounters();

  layer->AddAndStartModifier(new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_FALL, 1000, 0), true);
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
  return true;
}

void GameModeJigsaw::SaveProgress() {
  // A board that never loaded has nothing to store: an empty value would
  // read back as a finished board.
  if (board.IsLoaded() && !levelKey.empty()) {
    HLF::Player player;
    player.SetVar(ProgressPath(levelKey), kPositions, board.GetPositions());
  }
  GameMode::SaveProgress();
}

void GameModeJigsaw::CountMove() {
  fastestFindMs = std::min(fastestFindMs, sinceLastFindMs);
  longestFindMs = std::max(longestFindMs, sinceLastFindMs);
  sinceLastFindMs = 0;
}

void GameModeJigsaw::GoalMet() {
  MeetGoal();
}

void GameModeJigsaw::Win() {
  if (GetState() >= kFirstResultState && GetState() <= GMPZ_STATE_FINISHED) {
    return;
  }
  FinishWin(GMPZ_STATE_SHOWRESULTS, kResultsDelayMs, kResultsDelayMs);
}

bool GameModeJigsaw::CanPlay() {
  if (GetState() >= kFirstResultState) {
    return false;
  }
  return GameMode::CanPlay();
}

void GameModeJigsaw::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  const std::wstring prefix = logName + L"::DoState() - ";
  switch (GetState()) {
    case GM_STATE_HIDECLOCK:
      ShowHelpMessage(goalMessage);
      break;
    case GMPZ_STATE_SHOWRESULTS:
      log.Write(prefix + L"GMPZ_STATE_SHOWRESULTS");
      OpenResults();
      break;
    case GMPZ_STATE_QUIT:
      log.Write(prefix + L"GMPZ_STATE_QUIT");
      StartLeavingFade(GMPZ_STATE_FINISHED);
      break;
    case GMPZ_STATE_FINISHED:
      log.Write(prefix + L"GMPZ_STATE_FINISHED");
      FinishLevel();
      return;
    default:
      break;
  }
  GameMode::DoState();
}

bool GameModeJigsaw::OnMessage(LLF::Message* msg) {
  if (TakeResultsOk(msg, GMPZ_STATE_QUIT)) {
    return true;
  }
  return GameMode::OnMessage(msg);
}
