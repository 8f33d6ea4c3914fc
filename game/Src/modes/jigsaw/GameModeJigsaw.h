#pragma once
// The Jigsaw level: a picture cut into a grid of pieces that stand in
// shuffled cells; the player swaps pairs until every piece is home. Levels
// of the type "jigsaw".
//
// The level folder holds "level.xml" (the element "level" with "imageFile",
// a path from the program folder, "cols" and "rows") and "asset.xml" (the
// list "LEVOBJECTS"). The level screen is the section "levui/level_jigsaw"
// of "scripts/game/levui.xml": "level_ui" (with "menu_button",
// "map_button", "hint_button" and "items_scroll", which holds the labels
// "correct_num", "incorrect_num" and "total_num") and "frame". Progress is
// the attribute "positions" of levels/day_<d>/<level name>.
//
// The message handler, CanPlay and Win are shared with the modes built on
// this one: the results dialog's OK leads to the leaving fade, no play goes
// on in the result states, and a win stores the result and leads to the
// results after 2000 ms (after the award screen when one is due).
#include "modes/GameMode.h"
#include "modes/jigsaw/JigsawModeManager.h"

class GameModeJigsaw : public GameMode {
 public:
  enum JigsawState {
    GMPZ_STATE_SHOWRESULTS = 7,
    GMPZ_STATE_QUIT = 8,
    GMPZ_STATE_FINISHED = 9,
  };
  // States from here on show the results or leave the level.
  static constexpr int kFirstResultState = 6;
  static constexpr unsigned kResultsDelayMs = 2000;

  GameModeJigsaw();
  LLF_KIND_OF(GameModeJigsaw, GameMode)
  // Takes the board, the level screen and the frame out of the game layer.
  ~GameModeJigsaw() override;

  void DoState() override;
  // False, with an error line, when the level can't be played: the script
  // then deletes the mode unsaved and goes back to the map.
  bool LoadLevel(const LevelInfo& info) override;
  // "positions" of a loaded board, then the base's save.
  void SaveProgress() override;
  void Win() override;
  // The mode has no hint.
  void UseHint() override {}
  // Never in the result states.
  bool CanPlay() override;
  bool OnMessage(LLF::Message* msg) override;

  // What the board asks of its mode.
  HLF::Control* GetItemsPanel() const { return itemsPanel; }
  // A swap: the move statistics.
  void CountMove();
  // Every piece is home.
  void GoalMet();
  void PlayBoardSound(const std::wstring& id) { PlaySound(id); }

  JigsawModeManager& GetBoard() { return board; }
  HLF::Control* GetFrame() const { return frame; }
  HLF::Control* GetLevelUi() const { return levelUi; }

  // The profile element of the level's progress.
  static std::wstring ProgressPath(const std::wstring& levelName);

 protected:
  // A mode built on this one names itself in the state log and shows its
  // own goal message.
  std::wstring logName = L"GameModeJigsaw";
  int goalMessage = HELP_JIGSAW_GOAL;
  JigsawModeManager board;
  HLF::Control* frame = nullptr;
  HLF::Control* itemsPanel = nullptr;
  HLF::Control* levelUi = nullptr;
};
