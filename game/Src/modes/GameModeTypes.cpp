// The level types the game's play modes take, one row per mode.
#include "modes/GameModeHost.h"
#include "modes/jigsaw/GameModeJigsaw.h"
#include "modes/mirror/GameModeMirror.h"
#include "modes/pair/GameModePair.h"
#include "modes/seek/GameModeSeek.h"

std::map<std::wstring, GameModeHost::Factory> GameModeHost::BuiltInTypes() {
  std::map<std::wstring, Factory> types;
  types[L"jigsaw"] = [] { return new GameModeJigsaw(); };
  types[L"mirror"] = [] { return new GameModeMirror(); };
  types[L"seek"] = [] { return new GameModeSeek(); };
  types[L"pair"] = [] { return new GameModePair(); };
  return types;
}
