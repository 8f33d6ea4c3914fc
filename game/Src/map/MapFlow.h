#pragma once
// The top-level script's side of the level map, so its states stay short:
// the resume position kept in the profile, the level a start chooses, and
// making and removing map scenes in the game layer.
//
// The script drives the map like this (map codes: 2 start, 3 next day,
// 0 back to the menu):
// - showing the map (from the menu's Play, and on the map's code 3, also
//   while that state is current): ReplaceMap, then the menu hidden;
// - starting a level: ChooseLevel; its type picks the play mode; a type
//   that names none is logged with LogUnknownType and the script goes on
//   as after a level; the map is removed with DisposeMap;
// - back to the menu: DisposeMap, then the menu with its fades;
// - after a level: ReplaceMap.
#include "map/LevelInfo.h"

namespace LLF {
class MessageReceiver;
}

namespace HLF {
class Control;
}

class ZentaLevelMap;

class MapFlow {
 public:
  // stats/playDay and stats/playLev of the current profile, as decimal
  // text; the profiles reach the disk with their next save.
  static void SaveLevelPos(int day, int level);
  // The stored position, -1 for each value absent or unreadable. A
  // position whose level is complete by now is forgotten: both keys are
  // written as -1 and both values come back -1.
  static void LoadLevelPos(int& day, int& level);
  // The level a start opens: the resume position when there is one, else
  // the map's selection (the default record without a map).
  static LevelInfo ChooseLevel(ZentaLevelMap* map);
  // Takes the map out of its parent and deletes it (at the next safe point
  // while the tree is busy); map becomes null.
  static void DisposeMap(ZentaLevelMap*& map);
  // The old map disposed of first, then a new one for the receiver, added
  // to the layer and started (state 0).
  static void ReplaceMap(ZentaLevelMap*& map, LLF::MessageReceiver* receiver, HLF::Control* layer);
  // One error line naming the level and its type.
  static void LogUnknownType(const LevelInfo& level);
};
