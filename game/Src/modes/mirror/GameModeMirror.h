#pragma once
// The Mirror play mode: find the differences between the two halves of a
// picture. The board (MirrorModeManager) takes the clicks; the mode loads
// the level, keeps the level screen (the frame strip with the
// differences-left label, the timer block and the buttons), the overlay
// layer over the board that holds the highlights and the find and
// wrong-move particles, and runs the win: the highlights fade one after
// another, the halves slide together into one picture, it zooms out of
// view and the results open.
//
// Profile keys: levels/day_<d>/<level> diff_collected_<i>, "true" for a
// found difference i, "false" otherwise.
#include <string>

#include "modes/GameMode.h"
#include "modes/mirror/MirrorModeManager.h"

namespace HLF {
class Control;
class Effect;
class Label;
}  // namespace HLF

class GameModeMirror : public GameMode {
 public:
  enum State {
    GMM_STATE_STARTANIM = 6,
    GMM_STATE_UNIONSIDES = 7,
    GMM_STATE_ZOOMIMG = 8,
    GMM_STATE_SHOWRESULTS = 9,
    GMM_STATE_QUIT = 10,
  };

  GameModeMirror();
  ~GameModeMirror() override;

  LLF_KIND_OF(GameModeMirror, GameMode)

  void DoState() override;
  // False, with an error line, when the level's files or its layout are
  // not what the mode needs; nothing of the level is left on screen then.
  bool LoadLevel(const LevelInfo& info) override;
  void SaveProgress() override;
  void Win() override;
  // The base's clock label, and the same text on the timer block's
  // "time_label".
  std::wstring UpdateClockLabel() override;
  void UseHint() override;
  bool CanPlay() override;
  // "<lm_diff_left>N" on "diff_left_count_label".
  virtual void UpdateDiffLeftLabel();

  bool OnMessage(LLF::Message* msg) override;

  // For the board.
  HLF::Control* GetOverlayLayer() const { return overlayLayer; }
  HLF::Label* GetDiffLeftLabel() const { return diffLeftLabel; }
  // A find at p: its score, the label's change, the highlights, the sound,
  // the particles.
  void OnFound(MirrorDifference& difference, const LLF::Vector2& p);
  // A click that found nothing.
  void OnMiss(const LLF::Vector2& p);
  // Every difference is found.
  void OnAllFound() { MeetGoal(); }

  MirrorModeManager& GetBoard() { return board; }
  HLF::Control* GetFrame() const { return frame; }
  HLF::Control* GetTimerBlock() const { return timerBlock; }
  StatsDialog* GetStatsDialog() const { return statsDialog; }

  // The profile key of difference i.
  static std::wstring CollectedKey(int i);
  // The clock's text on the timer block's "time_label" as well (the Pair
  // mode shows its clock so too).
  static void ShowOnTimerBlock(HLF::Control* timerBlock, const std::wstring& text);

 private:
  // The level's element of the profile.
  std::wstring ProgressPath() const;
  // The level's controls out of the game layer, deleted.
  void ReleaseScreen();

  MirrorModeManager board;
  HLF::Control* frame = nullptr;
  HLF::Control* timerBlock = nullptr;
  HLF::Control* overlayLayer = nullptr;
  HLF::Label* diffLeftLabel = nullptr;
  // Compared with senders only; the label owns its effects.
  HLF::Effect* labelHideEffect = nullptr;
};
