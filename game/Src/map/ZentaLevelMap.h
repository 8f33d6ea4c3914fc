#pragma once
// The level list and the player's progress. The lookups read
// "scripts/game/levels.xml" afresh on each call:
//
//   <gamelevels>
//     <day1 time="900">   seconds for the whole day (x3 in easy mode)
//       <level1 folder="levels/d1_jigsaw/" name="d1_jigsaw" type="jigsaw"
//               mode="" musicAsset="LEVMUSIC_A" wallpaper="0" group="0" />
//
// Days and levels count from 1 in the file and from 0 everywhere else; the
// counts take every element whose name holds "day" or "level", the lookups
// the exact names, so the file numbers them without gaps.
//
// A level's name becomes an attribute and an element name in the profiles,
// so a name that is no XML name, or one that repeats a name of its day, is
// refused with an error line: the level reads as missing, and the profiles
// stay readable. A missing required attribute (folder, name, type,
// musicAsset, group, the day's time) is logged with the file and element
// and reads as empty or 0.
//
// Progress lives in the current profile (a short-lived HLF::Player each
// call); only the story flags save at once, the rest goes to disk with the
// next save of the profiles.
#include <string>

#include "map/LevelInfo.h"

class ZentaLevelMap {
 public:
  static const wchar_t* const kLevelsFile;  // "scripts/game/levels.xml"

  // 0 when the file cannot be loaded.
  static int GetDaysCount();
  // 0 when the file cannot be loaded or has no such day.
  static int GetLevelsCount(int day);
  // The default record (level -1) when the file cannot be loaded, the level
  // element is missing or its name is refused.
  static LevelInfo GetLevelInfo(int day, int level);
  // True when the file cannot be loaded; false for a missing or refused
  // level; else whether the profile says exactly "complete".
  static bool IsLevelComplete(int day, int level);
  // The day's "time" in seconds; 0, logged, when missing.
  static int GetDayTime(int day);

  // stats/currentDay; "0" is written when absent. A value that is no
  // number or negative reads as 0, with a warning.
  static int GetCurrentDay();
  static void SetCurrentDay(int day);
  // stats/easyMode: on for every value but "false"; absent, found is false
  // and "false" is written.
  static bool GetEasyMode(bool& found);
  static void SetEasyMode(bool on);
  // stats/story_day<day + 1>_prestory or _poststory: "1" once shown.
  static bool IsStoryShown(int day, bool pre);
  // Writes the flag and saves the profiles.
  static void SetStoryShown(int day, bool pre, bool shown);

  // The profile element of a day's level states: "levels/day_<day>".
  static std::wstring DayProgressPath(int day);
  // A name the profiles can hold as an element and attribute name.
  static bool IsValidLevelName(const std::wstring& name);
};
