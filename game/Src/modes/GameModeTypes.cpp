// The level types the game's play modes take, one row per mode.
#include "modes/GameModeHost.h"
#include "modes/seek/GameModeSeek.h"

std::map<std::wstring, GameModeHost::Factory> GameModeHost::BuiltInTypes() {
  std::map<std::wstring, Factory> types;
  types[L"seek"] = [] { return new GameModeSeek(); };
  return types;
}
