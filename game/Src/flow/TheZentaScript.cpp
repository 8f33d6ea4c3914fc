#include "flow/TheZentaScript.h"

#include "app/AppWindow.h"
#include "core/Log.h"
#include "flow/MarshMenu.h"
#include "math/Color.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "shell/Game.h"
#include "shell/SplashScreen.h"
#include "ui/StatsDialog.h"

namespace {

bool From(const LLF::Message& msg, const LLF::Object* object) {
  return object && msg.GetSender() == object;
}

// Takes a scene out of the game layer and deletes it (at the next safe
// point when the tree is busy).
void Dispose(HLF::Control* scene) {
  if (!scene) {
    return;
  }
  if (HLF::Control* parent = scene->GetParent()) {
    parent->RemoveChild(scene, true);
  } else {
    delete scene;
  }
}

}  // namespace

bool TheZentaScript::Init(const std::wstring& /*argument*/) {
  // The game's own dialogs, so layouts can name them.
  HLF::ControlFactory::GetInstance().Register(new StatsDialog(L"StatsDlgCreator"));
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetStateMachine(this);
  }
  SetState(CS_STATE_SPLASHSHOW);
  return true;
}

void TheZentaScript::Update(unsigned dt) {
  if (splash) {
    splash->Update(dt);
  }
  HLF::StateMachine::Update(dt);
}

void TheZentaScript::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case CS_STATE_SPLASHSHOW:
      log.Write(L"TheZentaScript::DoState() - CS_STATE_SPLASHSHOW");
      ShowSplash();
      break;
    case CS_STATE_SPLASHDONE:
      log.Write(L"TheZentaScript::DoState() - CS_STATE_SPLASHDONE");
      SplashDone();
      break;
    case CS_STATE_MENU_SHOWMAP:
      log.Write(L"TheZentaScript::DoState() - CS_STATE_MENU_SHOWMAP");
      if (mainMenu) {
        mainMenu->SetVisible(false);
      }
      StartShowcase();
      break;
    case CS_STATE_MAP_SHOWMENU:
      log.Write(L"TheZentaScript::DoState() - CS_STATE_MAP_SHOWMENU");
      showcase.reset();
      if (mainMenu) {
        mainMenu->SetVisible(true);
        mainMenu->ChangeState(HLF::MainMenu::MM_STATE_MENU, 0);
      }
      break;
    case CS_STATE_QUITGAME:
      log.Write(L"TheZentaScript::DoState() - CS_STATE_QUITGAME");
      LLF::AppWindow::GetInstance().Quit();
      break;
    default:
      HLF::StateMachine::DoState();
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
    mainMenu = new MarshMenu(this);
  }
  if (musicLoader.SetListFromFile(L"scripts/musics.xml", L"MAIN") && musicLoader.Start(0)) {
    musicLoader.Wait();
  } else {
    LLF::Log::GetInstance().Write(
        L"Warning: TheZentaScript - the music list \"MAIN\" of scripts/musics.xml can't be loaded.");
  }
  mainMenu->PlayMenuMusic();
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

void TheZentaScript::StartShowcase() {
  if (showcase) {
    return;
  }
  showcase = std::make_unique<Showcase>();
  // Deferred: the showcase goes in the next frame, not inside its own click.
  showcase->SetBackHandler([this] { ChangeState(CS_STATE_MAP_SHOWMENU, 0); });
  showcase->Start();
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
  if (From(*msg, mainMenu)) {
    if (msg->GetCode() == HLF::SM_MSG_EMPTY) {
      ChangeState(CS_STATE_QUITGAME, 0);
    } else if (msg->GetCode() == MarshMenu::MENU_MSG_PLAY) {
      ChangeState(CS_STATE_MENU_SHOWMAP, 0);
    }
    return true;
  }
  if (From(*msg, splash) && msg->GetCode() == HLF::SM_MSG_EMPTY) {
    ChangeState(CS_STATE_SPLASHDONE, 0);
    return true;
  }
  return HLF::StateMachine::OnMessage(msg);
}

void TheZentaScript::Release() {
  ListenToWindow(false);
  delete splash;
  splash = nullptr;
  showcase.reset();
  Dispose(mainMenu);
  mainMenu = nullptr;
  musicLoader.UnloadAssets();
}

void TheZentaScript::Render(LLF::IRenderSystem* /*rs*/) {}

GameMode* TheZentaScript::GetGameMode() {
  return nullptr;
}

bool TheZentaScript::SaveRunningLevel() {
  return true;
}
