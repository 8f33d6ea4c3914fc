#pragma once
// The Pair play mode: a level of scenes, each with two panes of items in
// which every item has a partner on the other pane but for one odd item per
// pane. The player finds the odd items; a wrong item costs 30 seconds.
// Finishing a scene slides in the next; finishing the last wins. Levels of
// type "pair".
//
// States beyond the base's: 6 the start of the end, 7 the results, 8 the
// leaving fade, 9 the end.
// Profile keys, under the level's progress: "current_scene" (the scene's
// index), "scene_left" and "scene_right" (the odd names still to find, empty
// once found), "scene_left_name" and "scene_right_name" (the scene's odd
// names). While no scene takes clicks (a slide, the win) the names are
// written empty, so a restore can't hide an item of the new scene.
#include <string>

#include "modes/GameMode.h"
#include "modes/pair/PairModeManager.h"

namespace LLF {
class MessageReceiver;
}

namespace HLF {
class Control;
class Effect;
class Label;
}  // namespace HLF

class GameModePair : public GameMode {
 public:
  enum State {
    GMP_STATE_STARTANIM = 6,
    GMP_STATE_SHOWRESULTS = 7,
    GMP_STATE_QUIT = 8,
    GMP_STATE_FINISHED = 9,
  };
  static constexpr int kWrongItemPriceMs = 30000;
  static constexpr int kFindWindowMs = 60000;

  GameModePair();
  ~GameModePair() override;

  LLF_KIND_OF(GameModePair, GameMode)

  void DoState() override;
  // False, with an error line, when the level's files or its layout are not
  // what the mode needs, or the level has no usable scene.
  bool LoadLevel(const LevelInfo& info) override;
  void SaveProgress() override;
  void Win() override;
  std::wstring UpdateClockLabel() override;
  void UseHint() override;
  bool CanPlay() override;
  // "<lp_scene_num>i/n" on "scene_number", i counted from 1.
  virtual void UpdateSceneNumberLabel();

  bool OnMessage(LLF::Message* msg) override;

  // For the scenes and the board.
  // An odd item found at the item's centre: the score, the sound, the
  // hint's particles stop.
  void OnItemFound(const LLF::Vector2& centre);
  // A wrong item: its message and the time it costs.
  void OnWrongItem();
  // The last scene is done.
  void OnLevelComplete() { MeetGoal(); }
  // Starts the effect of the effects file on the control; the effect, or
  // null when it can't be loaded.
  static HLF::Effect* StartPairEffect(HLF::Control* control, const std::wstring& name,
                                      LLF::MessageReceiver* receiver);

  // The points of a find ms after the previous one: 20 for each second
  // under 60, never below 0.
  static int PairFindPoints(int ms);

  PairModeManager& GetBoard() { return board; }
  HLF::Control* GetFrame() const { return frame; }
  HLF::Control* GetTimerBlock() const { return timerBlock; }
  HLF::Label* GetSceneNumberLabel() const { return sceneNumberLabel; }
  std::wstring ProgressPath() const;

 private:
  void ReleaseScreen();

  PairModeManager board;
  HLF::Control* frame = nullptr;
  HLF::Control* timerBlock = nullptr;
  HLF::Label* sceneNumberLabel = nullptr;
};
