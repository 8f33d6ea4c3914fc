#include "flow/TheZentaScript.h"

#include "core/Log.h"
#include "model/ControlFactory.h"
#include "shell/Game.h"
#include "ui/StatsDialog.h"

bool TheZentaScript::Init(const std::wstring& /*argument*/) {
  // The game's own dialogs, so layouts can name them.
  HLF::ControlFactory::GetInstance().Register(new StatsDialog(L"StatsDlgCreator"));
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetStateMachine(this);
  }
  SetState(CS_STATE_SHOWCASE);
  return true;
}

void TheZentaScript::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case CS_STATE_SHOWCASE:
      log.Write(L"TheZentaScript::DoState() - CS_STATE_SHOWCASE");
      StartShowcase();
      break;
    default:
      HLF::StateMachine::DoState();
      break;
  }
}

void TheZentaScript::StartShowcase() {
  if (showcase) {
    return;
  }
  showcase = std::make_unique<Showcase>();
  showcase->Start();
}

void TheZentaScript::Release() {
  showcase.reset();
}

void TheZentaScript::Render(LLF::IRenderSystem* /*rs*/) {}

GameMode* TheZentaScript::GetGameMode() {
  return nullptr;
}

bool TheZentaScript::SaveRunningLevel() {
  return true;
}
