#include "ScriptStandIn.h"

#include "core/StringUtils.h"
#include "map/ZentaLevelMap.h"
#include "model/GameServices.h"
#include "modes/GameMode.h"
#include "shell/Player.h"

namespace QmTest {

namespace {

int ReadKey(const wchar_t* key) {
  HLF::Player player;
  std::wstring value;
  return player.GetVar(L"stats", key, value) ? std::stoi(value) : -1;
}

LevelInfo ProbeLevel(int day, int level) {
  LevelInfo info = ZentaLevelMap::GetLevelInfo(day, level);
  info.type = L"probe";
  return info;
}

}  // namespace

void ScriptStandIn::Update(unsigned dt) {
  host.Update(dt);
  HLF::StateMachine::Update(dt);
}

void ScriptStandIn::SetChosenLevel(int day, int level) {
  chosen = ProbeLevel(day, level);
}

void ScriptStandIn::Play() {
  const int day = ReadKey(L"playDay");
  const int level = ReadKey(L"playLev");
  ChangeState(day != -1 && level != -1 ? START_LEVEL : MAP, 0);
}

void ScriptStandIn::StartLevel() {
  _current = MAP;
  ChangeState(START_LEVEL, 0);
}

void ScriptStandIn::DoState() {
  if (_current != START_LEVEL) {
    return;
  }
  const int day = ReadKey(L"playDay");
  const int level = ReadKey(L"playLev");
  resumed = day != -1 && level != -1;
  if (!host.StartLevel(resumed ? ProbeLevel(day, level) : chosen, this)) {
    ++startsFailed;
    ChangeState(AFTERGAME_MAP, 0);
  }
}

bool ScriptStandIn::OnMessage(LLF::Message* msg) {
  switch (msg ? host.OnModeMessage(*msg, this) : -1) {
    case GameMode::GM_MSG_TO_MAP:
      ChangeState(AFTERGAME_MAP, 0);
      break;
    case GameMode::GM_MSG_TO_MENU:
      ChangeState(AFTERGAME_MENU, 0);
      break;
    default:
      break;
  }
  return true;
}

void ScriptStandIn::ReleaseLevel() {
  host.Release();
  HLF::GameServices::DeleteDeferred();
}

}  // namespace QmTest
