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
#include <vector>

#include "map/LevelInfo.h"
#include "model/Control.h"
#include "shell/AssetsLoader.h"

namespace LLF {
class Music;
}

namespace HLF {
class Button;
class Emitter;
class Fader;
class StaticImage;
}  // namespace HLF

// The map is also the scene between the main menu and a level: a control
// named "LevelMap" that the top-level script makes anew each time it shows
// the map, adds to the game layer and deletes again. It loads its pictures
// ("LEVELSMAP" of images.xml) in the background, plays the opening
// animation on a profile's first visit, shows the day's story pages
// (scripts/dialogs/story.xml) once per profile, then builds the day's page
// from scripts/dialogs/levelsmap.xml: the thumbnails of the open groups,
// Play and Back, the stone columns, the emitter "LevelsMapEmitter" and the
// music "map_music".
//
// To its receiver, the script: code 2 start the level of
// GetSelectedLevelInfo; code 3 the next day has begun, build the map anew;
// code 0 back to the main menu (also after the last day, once the profile
// has been made anew with its wallpapers, and when the level list has no
// day at all).
//
// Missing parts of the layouts are logged, one line each, and skipped; a
// level without its thumbnail can still be started with Play.
class ZentaLevelMap : public HLF::Control {
 public:
  enum State {
    LM_STATE_INIT = 0,
    LM_STATE_ANIM_START = 1,
    LM_STATE_ANIM_FINISH = 2,
    LM_STATE_ANIM_FINISHED = 3,
    LM_STATE_BACK_TO_MENU = 4,
    LM_STATE_BACK_TO_MENU_FINISHED = 5,
    LM_STATE_STARTLEVEL = 6,
    LM_STATE_STARTLEVEL_FINISHED = 7,
  };
  // Codes the map sends its receiver.
  enum Code {
    LM_MSG_BACK_TO_MENU = 0,
    LM_MSG_START_LEVEL = 2,
    LM_MSG_NEXT_DAY = 3,
  };

  // The receiver (the script) is added first; the emitter and the music
  // are looked up. Nothing starts before SetState(LM_STATE_INIT).
  explicit ZentaLevelMap(LLF::MessageReceiver* receiver);
  ~ZentaLevelMap() override;

  LLF_KIND_OF(ZentaLevelMap, HLF::Control)

  // Logs "ZentaLevelMap::DoState() - " and the state's name, then its
  // actions.
  void DoState() override;
  // A released mouse button over a shown story page that is not closing
  // yet goes to OnStoryPageClick first; then as every control.
  bool ProcessMessage(const LLF::Message& msg) override;
  // The buttons' clicks, the map loader's end and the exit fade's end.
  bool OnMessage(LLF::Message* msg) override;

  virtual LevelInfo GetSelectedLevelInfo() { return selectedLevel; }
  // The columns that are missing, as children of the map.
  virtual void CreateColumns();
  // Starts the columns' show or hide effects and the sound
  // "stone_columns" when it is loaded.
  virtual void ShowColumns(bool show);
  // Starts loading "LEVELSMAP" in the background.
  virtual void LoadMapAssets();
  // Selects the level of the current day and leaves the map, unless the
  // level list has no such level.
  virtual void StartLevel(int index);
  // The current day's page, thumbnails, groups and columns. True.
  virtual bool BuildPage();
  // The first click ends the page's running effects, the second closes it.
  virtual void OnStoryPageClick();
  // True when the day's opening (pre) or closing page was shown.
  virtual bool ShowStoryPage(int day, bool pre);

  HLF::Control* GetPage() const { return page; }
  HLF::Control* GetThumbnails() const { return thumbnails; }
  HLF::Control* GetMapAnimation() const { return mapAnimation; }
  HLF::Control* GetStoryPage() const { return storyPage; }
  HLF::Control* GetBackButton() const { return backButton; }
  HLF::Control* GetPlayButton() const { return playButton; }
  const std::vector<HLF::Button*>& GetLevelButtons() const { return levelButtons; }
  bool IsStoryClosing() const { return storyClosing; }
  bool IsDayComplete() const { return dayComplete; }

  static constexpr wchar_t kLayoutFile[] = L"scripts/dialogs/levelsmap.xml";
  static constexpr wchar_t kStoryFile[] = L"scripts/dialogs/story.xml";
  // How long the opening animation holds the map, in ms; clicks do not
  // shorten it.
  static constexpr unsigned kAnimationTime = 30000;
  static constexpr unsigned kFadeTime = 1000;

  // The level list and the player's progress.
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

 private:
  // The current day, clamped to the last day of the list with a warning.
  int CurrentDay();
  void StoryCheck();
  void EnterAnimFinished();
  void NextDayOrGameOver();
  // Starts a screen fade (to black or from black) with the map as its
  // receiver.
  HLF::Fader* ScreenFade(bool toBlack);
  // A music or sound fade over kFadeTime, without a receiver.
  void FadeMusic(LLF::Music* target, bool in);
  void FadeStoryLoop(bool in);
  void ApplyGroups(int day, int buttonCount);
  void RemoveStoryPage();

  HLF::AssetsLoader mapLoader;
  HLF::AssetsLoader dayLoader;
  HLF::Fader* exitFader = nullptr;
  HLF::Control* mapAnimation = nullptr;
  HLF::Control* page = nullptr;
  HLF::Control* thumbnails = nullptr;
  HLF::StaticImage* columnLeft = nullptr;
  HLF::StaticImage* columnRight = nullptr;
  HLF::Emitter* emitter = nullptr;
  HLF::Control* backButton = nullptr;
  HLF::Control* playButton = nullptr;
  std::vector<HLF::Button*> levelButtons;
  LevelInfo selectedLevel;
  LLF::Music* music = nullptr;
  HLF::Control* storyPage = nullptr;
  HLF::AssetsLoader storyLoader;
  bool storyIsPre = false;
  bool dayComplete = false;
  bool storyClosing = false;
};
