#pragma once
// The record of one level of "scripts/game/levels.xml", as the level
// lookups fill it and the map, the script and the play modes carry it.
// level is -1 exactly when the lookup failed.
#include <string>

struct LevelInfo {
  std::wstring folder;      // ends with '/'
  std::wstring name;        // also the level's key in the profile
  std::wstring type;        // the play mode
  std::wstring mode;        // the mode's variant, empty for none
  std::wstring musicAsset;  // the list of "scripts/game/levmusic.xml"
  int wallpaper = -1;       // the wallpaper awarded, -1 for none
  int level = -1;           // level index in its day, from 0
  int day = -1;             // day index, from 0
};
