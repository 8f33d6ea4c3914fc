#pragma once
// The base of the play modes: one object per level, made by the top-level
// script, which calls LoadLevel once, listens to it and updates it every
// frame. The base owns what every mode shares: the day's clock and its
// display, the time-out and the day restart, the game menu, the level
// screen's menu, hint and map buttons, the help messages and time
// penalties, the hint, find and wrong-move particles, the music fades and
// the gradient sweep that opens a level.
//
// A mode sets, in its constructor, manager, the prefixes, uiSection and one
// of keepClock or clockOnce; its LoadLevel calls the base's as a step of its
// own loading and adds clockRibbon and clockSand to the game layer (the
// base creates them, keeps owning them and deletes them); it builds its
// level screen with menuButton, hintButton and mapButton and calls
// ConnectButtons; its board calls CountFastClick on each click; its
// DoState passes states 0 to 5 here.
//
// To its receivers (the script): code 2 when the level ends towards the map
// (state 5, or the exit fade of the map button or of a time-out), code 0
// when it ends towards the main menu (the game menu's main-menu button).
// The receiver deletes the mode then, at the shell's next safe point.
//
// Profile keys: stats/timeLeft (the day's clock), stats/hintsShown (which
// help messages this player has seen), stats/playDay and stats/playLev
// (the level the main menu resumes, -1 for none), levels/day_<d> (the
// day's progress, dropped when the time runs out).
#include <string>

#include "map/LevelInfo.h"
#include "math/Vector2.h"
#include "model/Control.h"
#include "model/GameServices.h"
#include "model/StateMachine.h"
#include "modes/GameModeAnimation.h"
#include "shell/AssetsLoader.h"

namespace LLF {
class IRenderSystem;
class Message;
class Image;
class Music;
class XmlElement;
}  // namespace LLF

namespace HLF {
class Control;
class Dialog;
class Emitter;
class Fader;
class XmlDocEx;
}  // namespace HLF

class StatsDialog;

class GameMode : public HLF::StateMachine {
 public:
  enum State {
    GM_STATE_SHOWCLOCK = 0,
    GM_STATE_STARTTIMER = 1,
    GM_STATE_HIDECLOCK = 2,
    GM_STATE_SETINVISIBLE = 3,
    GM_STATE_SHOWWIN = 4,
    GM_STATE_QUIT = 5,
  };

  // What the mode tells its receivers.
  enum MessageCode {
    GM_MSG_TO_MENU = 0,
    GM_MSG_TO_MAP = 2,
  };

  // The help messages, by index.
  enum HelpMessage {
    HELP_SEEK_GOAL = 0,
    HELP_MIRROR_GOAL = 1,
    HELP_HINT_BUTTON = 2,
    HELP_TIME_PENALTY = 3,
    HELP_TIME_WATCH_OUT = 4,
    HELP_HINT_IMPOSSIBLE = 5,
    HELP_TIME_OUT = 6,
    HELP_PAIR_GOAL = 7,
    HELP_PAIR_TIME_PENALTY = 8,
    HELP_PUZZLE_GOAL = 9,
    HELP_JIGSAW_GOAL = 10,
    HELP_MESSAGES_COUNT = 11,
  };

  // Times of the clock, in ms.
  static constexpr int kStartTimeMs = 1800000;
  static constexpr int kHintPriceMs = 120000;
  static constexpr int kHintNeedsMs = 180000;
  static constexpr int kWarningAtMs = 90000;
  static constexpr int kTipAfterMs = 45000;
  static constexpr int kFastClickPriceMs = 30000;
  static constexpr unsigned kFastClickGapMs = 500;
  static constexpr int kFastClicksCharged = 5;
  static constexpr int kPenaltyFloorMs = 2000;

  GameMode();
  // Takes the level's controls out of the game layer and deletes them,
  // then releases the assets its lists loaded.
  ~GameMode() override;

  LLF_KIND_OF(GameMode, HLF::StateMachine)

  // The clock tick.
  void Update(unsigned dt) override;
  // States 0 to 5.
  void DoState() override;

  // The base part of a level's loading: the clock controls of uiSection,
  // the level-number label, the counters, the day's time left, state 0
  // after 1500 ms and the gradient sweep. False, with an error line, when
  // a control of the layout is missing.
  virtual bool LoadLevel(const LevelInfo& info);
  // Stores the time left and saves the profiles; modes write their own
  // keys first.
  virtual void SaveProgress();
  virtual void SetLevelKey(const std::wstring& name) { levelKey = name; }
  virtual void SetAwardIndex(int index) { awardIndex = index; }
  virtual void ShowClock();
  virtual void HideClock();
  // The game menu, unless one is open or play cannot go on. True.
  virtual bool ShowGameMenu();
  // Shows the help message of the index: true when it is shown now or was
  // shown to this player before, false when the gate refuses it (tips off
  // or a game menu open; the time-out passes always).
  virtual bool ShowHelpMessage(int index);
  // The gradient sweep: after delayMs of running clock it crosses the
  // screen once in 1000 ms.
  virtual void StartGradientFade(unsigned delayMs);
  // A time penalty: nothing below 2000 ms left; less than ms left leaves
  // 2000; else ms is taken in full. The sound "time_decreased" unless
  // silent.
  virtual void DecreaseTime(int ms, bool silent);
  // Nothing here; a mode's Win returns in its result states and otherwise
  // calls FinishWin.
  virtual void Win() {}
  virtual HLF::Emitter* GetHintEmitter() const { return hintEmitter; }
  // A click on the board: the fifth in a run with at most 500 ms of
  // running clock between each two costs 30000 ms.
  virtual void CountFastClick();
  virtual LevelInfo GetLevelInfo() const { return levelInfo; }
  // Fade in over 1000 ms and play; fade out over ms; dip to percent and
  // come back after holdMs. On manager, with music.
  virtual void StartMusic();
  virtual void FadeMusic(unsigned ms);
  virtual void DuckMusic(unsigned holdMs, float percent);
  // The sweep's band, from the modes' drawing.
  virtual void DrawGradientFade(LLF::IRenderSystem* rs);
  // "m:ss" of the time left, on the ribbon's "clock_time_label".
  virtual std::wstring UpdateClockLabel();
  // The mode listens to the menu, map and hint buttons.
  virtual void ConnectButtons();
  // Adds the level-number label to the game layer and starts "LevelNumShow".
  virtual void ShowLevelNumber();
  // Fades the ribbon and the sand out over 200 ms.
  virtual void FadeClockOut();
  // The base part of a hint: the sound "game_hint_button" and its price.
  virtual void UseHint();
  virtual void ShowHintParticles(const LLF::Vector2& position, HLF::Control* parent);
  virtual void ShowFoundParticles(const LLF::Vector2& position, HLF::Control* parent);
  virtual void ShowWrongMoveParticles(const LLF::Vector2& position, HLF::Control* parent);
  // False while the results, the hint confirmation or a message is open.
  virtual bool CanPlay();

  // The score of a find at the point: 10 points for each second under 30
  // since the previous find (or the level's start), none after that. Keeps
  // the find statistics and shows the points there. Returns them.
  int ScoreFind(const LLF::Vector2& at, HLF::Control* parent = nullptr);
  // "+points" centred on the point, flying with the effect
  // scoreEffectPrefix + "ClickScoreShow"; nothing for no points. The parent
  // defaults to the game layer.
  virtual void ShowClickScore(int points, const LLF::Vector2& at, HLF::Control* parent);
  // The wallpaper of awardIndex is unlocked and its screen shown; its
  // Continue leads through state 4 back to Win. A wallpaper unlocked before,
  // an index outside the wallpapers or a screen that can't be built show
  // nothing and go on to Win at once.
  virtual void ShowAward();
  // levels/day_<current day>, attribute levelKey: "complete" or
  // "incomplete".
  void SetLevelComplete(bool complete);
  // The goal is met: play stops, the no-hint bonus of 1000 is added, then
  // Win.
  void MeetGoal();
  // The shared body of the modes' Win: the result is stored once per level
  // (total score, time left, the level complete); then the award screen
  // when a wallpaper is due, else nextState after delayMs, or after
  // afterAwardMs once the award screen has been closed.
  void FinishWin(int nextState, unsigned delayMs, unsigned afterAwardMs);
  // The results: the clock goes, "StatsDlg" opens over a dimmed screen with
  // the level's statistics, the music ducks, the progress is saved and the
  // level no longer counts as the one to resume.
  void OpenResults();
  // The results' OK: the dialog is forgotten (it closes itself) and the
  // mode changes to nextState at once. True when msg was that OK.
  bool TakeResultsOk(LLF::Message* msg, int nextState);
  // The way out after the results: music and screen fade over 1000 ms,
  // then nextState.
  void StartLeavingFade(int nextState);
  // The music stops and the base's quit reports the level's end.
  void FinishLevel();
  bool IsResultStored() const { return resultStored; }
  int GetLevelScore() const { return levelScore; }
  int GetTotalScore() const { return totalScore; }
  int GetSinceLastFindMs() const { return sinceLastFindMs; }
  int GetFastestFindMs() const { return fastestFindMs; }
  int GetLongestFindMs() const { return longestFindMs; }
  int GetAwardIndex() const { return awardIndex; }
  HLF::Control* GetAwardScreen() const { return awardScreen; }
  StatsDialog* GetStatsDialog() const { return statsDialog; }

  // The buttons, dialogs, emitters and faders the mode listens to.
  bool OnMessage(LLF::Message* msg) override;

  int GetRemainingMs() const { return remainingMs; }
  void SetRemainingMs(int ms) { remainingMs = ms; }
  int GetElapsedMs() const { return elapsedMs; }
  int GetHintsUsed() const { return hintsUsed; }
  int GetFastClickCount() const { return fastClickCount; }
  bool IsPaused() const { return paused; }
  bool IsPlaying() const { return playing; }
  HLF::Control* GetClockRibbon() const { return clockRibbon; }
  HLF::Control* GetClockSand() const { return clockSand; }
  HLF::Control* GetLevelNumberLabel() const { return levelNumberLabel; }
  HLF::Dialog* GetGameMenu() const { return gameMenu; }
  HLF::Dialog* GetHintConfirmDialog() const { return hintConfirmDialog; }
  HLF::Dialog* GetMessageDialog() const { return messageDialog; }
  unsigned GetGradientCountdown() const { return gradientCountdown; }
  // The left edge of the sweep's band now (-800 before it moves).
  float GetGradientX() const;

  // Writes the time left and returns it; -1 stands for the current day's
  // full time ("time" x 1000, x 3 in easy mode). Any other negative time
  // is stored as 0: the day has run out, which a later read must not take
  // for "never started".
  static int StoreTimeLeft(int ms);
  // The stored time left; absent, the full time is stored and returned. A
  // stored value that is no number or is negative counts as absent, with a
  // warning, so a hand-edited profile cannot start a day timed out.
  static int ReadTimeLeft();
  // The current day's full time in ms.
  static int GetDayFullTime();
  // The player's overall score (stats/score); absent, "0" is stored. A
  // stored value that is no number counts as 0, with a warning.
  static int ReadScore();
  static void WriteScore(int total);
  // The award thumbnail of a wallpaper index:
  // "images/wallpapers/thumb_wlp_NN_wide.jpg", NN the index + 1 in two
  // digits.
  static std::wstring AwardThumbnailPath(int index);
  // The find score after ms since the previous find.
  static int FindPoints(int ms);

  // The level the main menu resumes: stats/playDay and stats/playLev of the
  // current profile (-1, -1 for none). Not saved here.
  static void SaveLevelPos(int day, int level);
  // Whether the player's option shows tips (config/game/help showTips:
  // "true" or absent).
  static bool AreTipsOn();
  // The 45-second tip, the 90-second warning and the warning ticks count
  // once per run of the program, across levels; a new run starts them
  // afresh.
  static void ResetRunFlags();
  // "m:ss".
  static std::wstring FormatClock(int ms);
  // The names of the help messages' dialogs, by index.
  static const wchar_t* HelpMessageName(int index);

 protected:
  // Plays a sound of the sound system by its id, when it is registered.
  virtual void PlaySound(const std::wstring& id);
  // Takes the hint's particles away. A mode whose destructor deletes the
  // control it gave them as their parent calls this first.
  void RemoveHintEmitter();
  // The game's "GAME" layer, or null without a shell.
  static HLF::Control* GameLayer();
  // The opening of a level's loading for a mode whose level.xml holds a
  // "level" document element: the level's LEVOBJECTS, the images list and
  // the music loaded, the music started, award and key set, the base
  // LoadLevel, then level.xml read into doc. The "level" element, or null
  // with an error line naming modeName when the list, the base or the file
  // fails.
  LLF::XmlElement* BeginLevelLoad(const LevelInfo& info, const std::wstring& imagesList,
                                  const std::wstring& modeName, HLF::XmlDocEx& doc);
  // Takes the control out of its parent (or deletes it when it has none,
  // later when a message is being delivered) and forgets it.
  template <class T>
  static void Dispose(T*& control);

  HLF::Control* menuButton = nullptr;
  HLF::Control* hintButton = nullptr;
  HLF::Control* mapButton = nullptr;
  HLF::AssetsLoader assetsLoader;
  LLF::Music* music = nullptr;
  HLF::Control* manager = nullptr;
  unsigned gradientCountdown = 0;
  LLF::Image* gradientImage = nullptr;
  HLF::Control* clockRibbon = nullptr;
  HLF::Control* clockSand = nullptr;
  bool paused = true;
  int remainingMs = kStartTimeMs;
  HLF::Fader* exitFader = nullptr;
  bool playing = true;
  bool backToMap = false;
  StatsDialog* statsDialog = nullptr;
  HLF::Dialog* gameMenu = nullptr;
  HLF::Dialog* hintConfirmDialog = nullptr;
  HLF::Dialog* messageDialog = nullptr;
  int elapsedMs = 0;
  int fastestFindMs = 9999999;
  int longestFindMs = 0;
  int hintsUsed = 0;
  int levelScore = 0;
  int totalScore = 0;
  int sinceLastFindMs = 0;
  int awardIndex = -1;
  bool keepClock = false;
  bool clockOnce = false;
  std::wstring clockEffectPrefix = L"LevelMirror";
  std::wstring scoreEffectPrefix = L"LevelMirror";
  std::wstring uiSection = L"levui/level_mirror";
  std::wstring levelKey;
  std::wstring particlePrefix;
  LevelInfo levelInfo;
  HLF::Control* levelNumberLabel = nullptr;
  HLF::Emitter* hintEmitter = nullptr;
  GameModeAnimation animation;
  int fastClickCount = 0;
  unsigned msSinceClick = 0;
  bool foundOnce = false;
  bool awardClosed = false;
  HLF::Control* awardScreen = nullptr;
  LLF::Image* awardThumb = nullptr;
  // The result went into the profile: a second Win (after the award
  // screen) must not count the level's score again.
  bool resultStored = false;
  // The time ran out and the day was restarted: the end of the exit fade
  // must not write this level's progress back over the restart.
  bool dayRestarted = false;

 private:
  // Adds the dialog to the game layer with the mode as its receiver, and
  // pauses play. False (the dialog deleted) without a layer.
  bool OpenDialog(HLF::Dialog* dialog);
  void OnHintButton();
  void OnMapButton();
  void OnMainMenuButton();
  void OnExitFadeEnd();
  // The award screen's Continue or a click on it: the screen hides and
  // state 4 follows, unless its own effects still run.
  void OnAwardContinue();
  void RestartDay();
  void StartExitFade();
  // The whole-second steps of the clock tick.
  void OnSecond();
  HLF::Emitter* StartParticles(const std::wstring& suffix, const LLF::Vector2& position,
                               HLF::Control* parent);
  int LevelNumber() const;
};

template <class T>
inline void GameMode::Dispose(T*& control) {
  // Forgotten first: taking it out of the tree sends messages (the next
  // topmost sibling is activated) that must not meet a dying pointer.
  T* doomed = control;
  control = nullptr;
  if (!doomed) {
    return;
  }
  if (HLF::Control* parent = doomed->GetParent()) {
    parent->RemoveChild(doomed, true);
  } else if (HLF::GameServices::IsDeletePending(doomed)) {
    // Already on its way out.
  } else if (HLF::Control::IsDispatching()) {
    HLF::GameServices::DeleteLater(doomed);
  } else {
    delete doomed;
  }
}
