#include "demo/ShowcaseScript.h"

#include "core/Log.h"
#include "shell/Game.h"

bool ShowcaseScript::Init() {
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetStateMachine(this);
  }
  SetState(SC_STATE_SHOW);
  return true;
}

void ShowcaseScript::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case SC_STATE_SHOW:
      log.Write(L"ShowcaseScript::DoState() - SC_STATE_SHOW");
      _showcase = std::make_unique<Showcase>();
      // Deferred: the showcase goes in the next frame, not inside its own
      // click.
      _showcase->SetBackHandler([this] { ChangeState(SC_STATE_BACK, 0); });
      _showcase->Start();
      break;
    case SC_STATE_BACK: {
      log.Write(L"ShowcaseScript::DoState() - SC_STATE_BACK");
      // A layout that failed once would fail every frame: only a showcase
      // that was on screen comes back.
      const bool wasShown = _showcase && _showcase->GetScreen();
      _showcase.reset();
      if (wasShown) {
        ChangeState(SC_STATE_SHOW, 0);
      }
      break;
    }
    default:
      HLF::StateMachine::DoState();
      break;
  }
}

void ShowcaseScript::Release() {
  _showcase.reset();
}
