// The level types the game's play modes take, one row per mode.
#include "modes/GameModeHost.h"

std::map<std::wstring, GameModeHost::Factory> GameModeHost::BuiltInTypes() {
  std::map<std::wstring, Factory> types;
  return types;
}
