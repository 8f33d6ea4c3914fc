#pragma once
// The Seek play mode: a scene with hidden objects and a list of ten to
// find, as names or as white silhouettes, on the left or the right of the
// screen. The scene may be grey, or dark with a light that follows the
// cursor; its level file may carry animated layers. Levels of type "seek".
//
// States beyond the base's: 7 the results, 8 the leaving fade, 9 the end.
// Profile keys, under the level's progress: "items" (the list, joined by
// ",") and "itemsFound" (each found name followed by ",").
#include <memory>
#include <string>
#include <vector>

#include "modes/GameMode.h"
#include "modes/seek/SeekModeManager.h"

namespace LLF {
class Image;
class Message;
}  // namespace LLF

namespace HLF {
class Fader;
class Label;
class StaticImage;
}  // namespace HLF

class GameModeSeek : public GameMode {
 public:
  enum SeekState {
    GMS_STATE_SHOWRESULTS = 7,
    GMS_STATE_QUIT = 8,
    GMS_STATE_FINISHED = 9,
  };
  enum DisplayMode { DISPLAY_PLAIN = 0, DISPLAY_GREY = 1, DISPLAY_DARK = 2, DISPLAY_SILHOUETTE = 3 };
  static constexpr int kListLines = 10;

  GameModeSeek();
  ~GameModeSeek() override;

  LLF_KIND_OF(GameModeSeek, GameMode)

  void DoState() override;
  bool LoadLevel(const LevelInfo& info) override;
  void SaveProgress() override;
  void Win() override;
  void UseHint() override;
  bool CanPlay() override;
  bool OnMessage(LLF::Message* msg) override;

  // The board's side of a find at the point (board coordinates): score,
  // sound, particles, and the goal once every name is found.
  virtual void OnFind(const SeekModeManager::SeekObject& object, const LLF::Vector2& at);
  // A click that found nothing.
  virtual void OnMiss(const LLF::Vector2& at);
  // The list line fades to its found look.
  virtual void FadeLine(int index);

  // The display mode of the level file's text, or of the level list's
  // mode when that is not empty: "grey" 1, "dark" 2, "silhouette" 3,
  // anything else 0 (exact comparison).
  static int DisplayModeOf(const std::wstring& fileMode, const std::wstring& levelInfoMode);
  // "left" without regard to case puts the list on the left.
  static bool IsListOnRightFor(const std::wstring& uiPos);

  int GetDisplayMode() const { return displayMode; }
  bool IsListOnRight() const { return listOnRight; }
  SeekModeManager& GetBoard() { return board; }
  HLF::Control* GetFrame() const { return frame; }
  HLF::Label* GetListLabel(int i) const { return i >= 0 && i < kListLines ? listLabels[i] : nullptr; }
  HLF::StaticImage* GetListPicture(int i) const {
    return i >= 0 && i < kListLines ? listPictures[i] : nullptr;
  }
  const std::wstring& GetUiSection() const { return uiSection; }

 protected:
  // Plays the sound when the sound system has it.
  void PlaySeekSound(const std::wstring& id) { PlaySound(id); }

 private:
  // Step 11 of the load: the list's lines.
  void BuildList();
  void BuildTextLine(int i, HLF::Label& label);
  void BuildSilhouetteLine(int i, HLF::StaticImage& picture);
  std::wstring ProgressPath() const;

  HLF::Control* frame = nullptr;
  HLF::Control* levelUi = nullptr;
  HLF::Fader* openingFader = nullptr;
  HLF::Label* listLabels[kListLines] = {};
  HLF::StaticImage* listPictures[kListLines] = {};
  SeekModeManager board;
  int displayMode = DISPLAY_PLAIN;
  bool listOnRight = true;
  // The silhouettes the list shows belong to the mode.
  std::vector<std::unique_ptr<LLF::Image>> silhouettes;
};
