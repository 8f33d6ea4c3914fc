#pragma once
// One play mode's level files through the game, started once without a
// window on the generated data (copied into the process's private folder):
// the input's level.xml and asset.xml are written to the level folder
// "levels/fuzz/", the profile's variables of the input are set, and the
// level is started through the play-mode host, as the script starts it.
//
// The input is split at the first two NUL bytes: level.xml, asset.xml, then
// the profile's variables, one "key=value" a line. A key without '/' is an
// attribute of the level's progress element; "stats/timeLeft" names an
// attribute below the profile. An empty asset part gives the level an empty
// list of assets. The pictures the files name are the generated ones.
//
// A level that loads plays a few seconds, saves its progress, and must load
// again from what it saved (a level refusing its own save is a finding);
// then it is won and played out.
#include <cstddef>
#include <cstdint>
#include <string>

class ModeFuzz {
 public:
  // Starts the game once; the level type is the mode's ("jigsaw", ...).
  static void Init(const std::wstring& type);
  static void Run(const uint8_t* data, size_t size);
};
