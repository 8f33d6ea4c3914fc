#include "flow/TheZentaScript.h"

#include "app/AppWindow.h"
#include "builder/LevelBuilder.h"
#include "core/Log.h"
#include "devtools/Console.h"
#include "flow/ZentaMainMenu.h"
#include "map/MapFlow.h"
#include "map/ZentaLevelMap.h"
#include "math/Color.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "modes/GameMode.h"
#include "modifiers/AudioFader.h"
#include "modifiers/Fader.h"
#include "shell/Game.h"
#include "shell/Player.h"
#include "shell/SplashScreen.h"
#include "sound/SoundSystem.h"
#include "ui/StatsDialog.h"

namespace {

const wchar_t kWinLevelCommand[] = L"winlevel";
const wchar_t kAccessWord[] = L"qxv";
const wchar_t kStats[] = L"stats";
const wchar_t kPlayDay[] = L"playDay";
const wchar_t kPlayLevel[] = L"playLev";

bool From(const LLF::Message& msg, const LLF::Object* object) {
  return object && msg.GetSender() == object;
}

const wchar_t* StateName(int state) {
  static const wchar_t* const kNames[] = {
      L"CS_STATE_SPLASHSHOW",         L"CS_STATE_SPLASHDONE",   L"CS_STATE_MENU_SHOWMAP",
      L"CS_STATE_MAP_STARTLEVEL",     L"CS_STATE_MAP_SHOWMENU", L"CS_STATE_AFTERGAME_SHOWMAP",
      L"CS_STATE_AFTERGAME_SHOWMENU", L"CS_STATE_QUITGAME",
  };
  return state >= 0 && state < int(std::size(kNames)) ? kNames[state] : nullptr;
}

// A decimal profile value; -1 when absent or no number.
HLF::Control* GameLayer() {
  HLF::Game* game = HLF::Game::GetInstance();
  return game ? game->GetGameLayer() : nullptr;
}

int ReadPosition(HLF::Player& player, const wchar_t* attribute) {
  std::wstring value = L"-1";
  player.GetVar(kStats, attribute, value);
  try {
    size_t used = 0;
    const int number = std::stoi(value, &used);
    return used == value.size() ? number : -1;
  } catch (const std::exception&) {
    return -1;
  }
}

}  // namespace

bool TheZentaScript::Init(const std::wstring& /*argument*/) {
  HLF::Console& console = HLF::Console::GetInstance();
  // The console outlives a game object; a command already ours stays.
  if (console.GetCommand(kWinLevelCommand) != &TheZentaScript::WinLevelCommand) {
    console.AddCommand(kWinLevelCommand, &TheZentaScript::WinLevelCommand);
  }
  if (!console.GetCommand(L"buildlevel")) console.AddCommand(L"buildlevel", &LevelBuilder::BuildLevel);
  // The game's own dialogs, so layouts can name them.
  HLF::ControlFactory::GetInstance().Register(new StatsDialog(L"StatsDlgCreator"));
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetStateMachine(this);
  }
  SetState(CS_STATE_SPLASHSHOW);
  return true;
}

void TheZentaScript::WinLevelCommand(const std::wstring& line) {
  LLF::Log& log = LLF::Log::GetInstance();
  if (HLF::Console::GetParamCount(line) == 1) {
    log.Write(L"Command winlevel use: winlevel password");
    return;
  }
  if (HLF::Console::GetParam(line, 2) != kAccessWord) {
    log.Write(L"Error: Incorrect password.");
    return;
  }
  // The running level counts as won; without a level the word changes
  // nothing.
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    if (auto* script = dynamic_cast<TheZentaScript*>(game->GetStateMachine())) {
      script->modeHost.Win();
    }
  }
}

void TheZentaScript::Update(unsigned dt) {
  modeHost.Update(dt);
  if (splash) {
    splash->Update(dt);
  }
  HLF::StateMachine::Update(dt);
}

void TheZentaScript::DoState() {
  const wchar_t* name = StateName(_current);
  if (!name) {
    HLF::StateMachine::DoState();
    return;
  }
  LLF::Log::GetInstance().Write(std::wstring(L"TheZentaScript::DoState() - ") + name);
  switch (_current) {
    case CS_STATE_SPLASHSHOW:
      ShowSplash();
      break;
    case CS_STATE_SPLASHDONE:
      SplashDone();
      break;
    case CS_STATE_MENU_SHOWMAP:
      // Entered anew for the map's next day: the old map goes first.
      MapFlow::ReplaceMap(levelMap, this, GameLayer());
      if (mainMenu) {
        mainMenu->SetVisible(false);
      }
      break;
    case CS_STATE_MAP_STARTLEVEL:
      StartLevel();
      break;
    case CS_STATE_MAP_SHOWMENU:
      MapFlow::DisposeMap(levelMap);
      BackToMenu(GameLayer(), false);
      break;
    case CS_STATE_AFTERGAME_SHOWMAP:
      if (mainMenu && mainMenu->GetMusic()) {
        if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
          driver->ResumeMusic(mainMenu->GetMusic());
        }
      }
      MapFlow::ReplaceMap(levelMap, this, GameLayer());
      LLF::Log::GetInstance().Write(L"TheZentaScript::DoState() - CS_STATE_AFTERGAME_SHOWMAP / FINISHED");
      break;
    case CS_STATE_AFTERGAME_SHOWMENU:
      BackToMenu(mainMenu, true);
      break;
    case CS_STATE_QUITGAME:
      LLF::AppWindow::GetInstance().Quit();
      break;
    default:
      break;
  }
}

void TheZentaScript::ListenToWindow(bool listen) {
  if (listen == listening) {
    return;
  }
  listening = listen;
  LLF::AppWindow& window = LLF::AppWindow::GetInstance();
  if (listen) {
    window.AddReceiver(this);
  } else {
    window.RemoveReceiver(this);
  }
}

void TheZentaScript::ShowSplash() {
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetClearSettings(true, LLF::Color(0, 0, 0, 255));
  }
  ListenToWindow(true);
  delete splash;
  splash = new HLF::SplashScreen(this);
  if (!mainMenu) {
    mainMenu = new ZentaMainMenu(this);
  }
  if (musicLoader.SetListFromFile(L"scripts/musics.xml", L"MAIN") && musicLoader.Start(0)) {
    musicLoader.Wait();
  } else {
    LLF::Log::GetInstance().Write(
        L"Warning: TheZentaScript - the music list \"MAIN\" of scripts/musics.xml can't be loaded.");
  }
  mainMenu->PlayMenuMusic(1);
  // Started last: a splash without pictures finishes at once.
  if (!splash->SetState(HLF::SplashScreen::SPLASH_STATE_SHOW)) {
    // A splash script that cannot run must not keep the player from the
    // menu.
    ChangeState(CS_STATE_SPLASHDONE, 0);
  }
}

void TheZentaScript::SplashDone() {
  ListenToWindow(false);
  delete splash;
  splash = nullptr;
  HLF::Game* game = HLF::Game::GetInstance();
  HLF::Control* layer = game ? game->GetGameLayer() : nullptr;
  if (!mainMenu || !layer) {
    return;
  }
  if (!mainMenu->GetParent()) {
    layer->AddChild(mainMenu);
  }
  mainMenu->SetState(HLF::MainMenu::MM_STATE_INIT);
}

bool TheZentaScript::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  if (From(*msg, &LLF::AppWindow::GetInstance())) {
    if (splash) {
      splash->OnMessage(msg);
    }
    return true;
  }
  if (levelMap && From(*msg, levelMap)) {
    switch (msg->GetCode()) {
      case ZentaLevelMap::LM_MSG_START_LEVEL:
        ChangeState(CS_STATE_MAP_STARTLEVEL, 0);
        break;
      case ZentaLevelMap::LM_MSG_NEXT_DAY:
        // State 2 entered anew, although it is current: a new map.
        _current = 10000;
        ChangeState(CS_STATE_MENU_SHOWMAP, 0);
        break;
      case ZentaLevelMap::LM_MSG_BACK_TO_MENU:
        ChangeState(CS_STATE_MAP_SHOWMENU, 0);
        break;
      default:
        break;
    }
    return true;
  }
  switch (modeHost.OnModeMessage(*msg, this)) {
    case 2:
      ChangeState(CS_STATE_AFTERGAME_SHOWMAP, 0);
      return true;
    case 0:
      ChangeState(CS_STATE_AFTERGAME_SHOWMENU, 0);
      return true;
    default:
      break;
  }
  if (From(*msg, mainMenu)) {
    if (msg->GetCode() == HLF::SM_MSG_EMPTY) {
      ChangeState(CS_STATE_QUITGAME, 0);
    } else if (msg->GetCode() == ZentaMainMenu::MENU_MSG_PLAY) {
      int day = -1;
      int level = -1;
      LoadLevelPos(day, level);
      ChangeState(day != -1 && level != -1 ? CS_STATE_MAP_STARTLEVEL : CS_STATE_MENU_SHOWMAP, 0);
    }
    return true;
  }
  if (From(*msg, splash)) {
    if (msg->GetCode() == HLF::SM_MSG_EMPTY) {
      ChangeState(CS_STATE_SPLASHDONE, 0);
    }
    return true;
  }
  return HLF::StateMachine::OnMessage(msg);
}

void TheZentaScript::StartLevel() {
  if (mainMenu && mainMenu->GetMusic()) {
    if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
      driver->PauseMusic(mainMenu->GetMusic());
    }
  }
  const LevelInfo info = MapFlow::ChooseLevel(levelMap);
  const bool started = modeHost.StartLevel(info, this);
  if (mainMenu) {
    mainMenu->SetVisible(false);
  }
  MapFlow::DisposeMap(levelMap);
  if (!started) {
    // Logged by the host: an unknown type or a level that did not load.
    // The player goes on as after a level, to the map, instead of a screen
    // with nothing on it.
    ChangeState(CS_STATE_AFTERGAME_SHOWMAP, 0);
  }
}

void TheZentaScript::BackToMenu(HLF::Control* fadeOwner, bool resumeMusic) {
  if (!mainMenu) {
    return;
  }
  mainMenu->SetVisible(true);
  mainMenu->ChangeState(HLF::MainMenu::MM_STATE_MENU, 0);
  if (fadeOwner) {
    fadeOwner->AddAndStartModifier(new HLF::Fader(nullptr, nullptr, nullptr, HLF::Fader::FADE_FALL, 1000, 0),
                                   true);
  }
  mainMenu->ShowColumns(true);
  mainMenu->RestartBackgroundScroll();
  LLF::Music* music = mainMenu->GetMusic();
  if (!music) {
    return;
  }
  if (resumeMusic) {
    if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
      driver->ResumeMusic(music);
    }
  }
  if (HLF::Control* layer = GameLayer()) {
    layer->AddAndStartModifier(new HLF::AudioFader(music, nullptr, nullptr, 1, 1000, 0), true);
  }
}

void TheZentaScript::SaveLevelPos(int day, int level) {
  HLF::Player player;
  player.SetVar(kStats, kPlayDay, std::to_wstring(day));
  player.SetVar(kStats, kPlayLevel, std::to_wstring(level));
}

void TheZentaScript::LoadLevelPos(int& day, int& level) {
  HLF::Player player;
  day = ReadPosition(player, kPlayDay);
  level = ReadPosition(player, kPlayLevel);
  if (day != -1 && level != -1 && ZentaLevelMap::IsLevelComplete(day, level)) {
    SaveLevelPos(-1, -1);
    day = -1;
    level = -1;
  }
}

void TheZentaScript::Release() {
  ListenToWindow(false);
  modeHost.Release();
  MapFlow::DisposeMap(levelMap);
  delete splash;
  splash = nullptr;
  if (mainMenu) {
    if (HLF::Control* parent = mainMenu->GetParent()) {
      parent->RemoveChild(mainMenu, true);
    } else {
      delete mainMenu;
    }
    mainMenu = nullptr;
  }
  musicLoader.UnloadAssets();
}

void TheZentaScript::Render(LLF::IRenderSystem* /*rs*/) {}

GameMode* TheZentaScript::GetGameMode() {
  return modeHost.GetMode();
}

bool TheZentaScript::SaveRunningLevel() {
  return modeHost.SaveRunningLevel();
}
