#include "modes/puzzle/GameModePuzzle.h"

#include <string>

#include "core/Log.h"
#include "model/ControlFactory.h"
#include "modifiers/Fader.h"
#include "shell/Game.h"
#include "shell/Player.h"
#include "sound/SoundSystem.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kLevUiFile[] = L"scripts/game/levui.xml";
const wchar_t kAngles[] = L"angles";

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

}  // namespace

GameModePuzzle::GameModePuzzle() {
  uiSection = L"levui/level_puzzle";
  clockEffectPrefix = L"LevelPuzzle";
  scoreEffectPrefix = L"LevelPuzzle";
  particlePrefix = L"PuzzleLevel";
  logName = L"GameModePuzzle";
  goalMessage = HELP_PUZZLE_GOAL;
  puzzleBoard.SetOwnerMode(this);
  manager = &puzzleBoard;
  keepClock = true;
}

GameModePuzzle::~GameModePuzzle() {
  // The board is a member: it leaves the layer without being deleted.
  if (HLF::Control* parent = puzzleBoard.GetParent()) {
    parent->RemoveChild(&puzzleBoard, false);
  }
}

bool GameModePuzzle::LoadLevel(const LevelInfo& info) {
  const std::wstring& folder = info.folder;
  assetsLoader.AddListFromFile(folder + L"asset.xml", L"LEVOBJECTS");
  assetsLoader.AddListFromFile(L"scripts/images.xml", L"LEVEL_PUZZLE");
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
    WriteLog(L"Error: GameModePuzzle - can't read the level file \"" + folder + L"level.xml\".");
    return false;
  }
  if (!GameMode::LoadLevel(info)) {
    return false;
  }
  if (!puzzleBoard.LoadBoard(*level)) {
    return false;
  }

  HLF::Control* layer = GameLayer();
  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  levelUi = factory.LoadNamedObjectFromXml(kLevUiFile, uiSection, L"level_ui");
  frame = factory.LoadNamedObjectFromXml(kLevUiFile, uiSection, L"frame");
  if (!layer || !levelUi || !frame) {
    WriteLog(L"Error: GameModePuzzle - the section " + uiSection + L" of " + kLevUiFile +
             L" has no \"level_ui\" or \"frame\".");
    return false;
  }
  levelUi->SetName(L"puzzle_ui");
  menuButton = levelUi->GetChildByName(L"menu_button");
  mapButton = levelUi->GetChildByName(L"map_button");
  hintButton = levelUi->GetChildByName(L"hint_button");
  itemsPanel = levelUi->GetChildByName(L"items_scroll");
  layer->AddChild(&puzzleBoard);
  layer->AddChild(levelUi);
  layer->AddChild(clockRibbon);
  layer->AddChild(clockSand);
  ConnectButtons();
  layer->AddChild(frame);

  // Half a stored board mixed with a fresh draw would be neither the saved
  // game nor a new one: a value that does not fit keeps the draw whole.
  HLF::Player player;
  std::wstring angles;
  if (player.GetVar(ProgressPath(info.name), kAngles, angles) && !puzzleBoard.RestoreAngles(angles)) {
    WriteLog(L"Warning: GameModePuzzle - the stored angles \"" + angles + L"\" of " + info.name +
             L" don't fit the board; its pieces keep a new draw.");
  }

  puzzleBoard.UpdateCounters();

  layer->AddAndStartModifier(new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_FALL, 1000, 0), true);
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
  return true;
}

void GameModePuzzle::SaveProgress() {
  // A board that never loaded has nothing to store.
  if (puzzleBoard.IsLoaded() && !levelKey.empty()) {
    HLF::Player player;
    player.SetVar(ProgressPath(levelKey), kAngles, puzzleBoard.GetAngles());
  }
  GameMode::SaveProgress();
}
