#pragma once
// The Mirror board: the level's picture on both halves of the screen (the
// children "left_original" at (0, 0) and "right_original" at (400, 0)), the
// differences drawn over them, and the mirrored cursor. It takes the
// window's button releases while its mode plays: a click finds the first
// unfound difference whose closed region holds the point or its mirror
// point (x + 400 on the left half, x - 400 on the right), and once every
// difference is found the mode meets its goal.
//
// level.xml: <level> with a "background" child (imgName: the picture both
// halves show) and one child per difference in document order (imgName,
// pos "x,y" in board coordinates, dims "w,h"). Comments and children that
// lack one of the three attributes are skipped with a warning each, so
// they neither shift the numbering nor leave a difference nobody can
// draw.
#include <cstddef>
#include <vector>

#include "math/Vector2.h"
#include "model/Control.h"
#include "modes/mirror/MirrorDifference.h"
#include "modes/mirror/MirrorFoundPair.h"

namespace LLF {
class XmlElement;
}

namespace HLF {
class StaticImage;
}

class GameModeMirror;

class MirrorModeManager : public HLF::Control {
 public:
  static constexpr float kHalfWidth = 400.0f;
  static constexpr int kHighlightMin = 48;
  // Each difference is a profile key and a search on every click: a level
  // file listing thousands would take minutes to play and to save.
  static constexpr size_t kMaxDifferences = 256;

  MirrorModeManager();
  ~MirrorModeManager() override;

  LLF_KIND_OF(MirrorModeManager, HLF::Control)

  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  bool ProcessMessage(const LLF::Message& msg) override;

  virtual void SetOwnerMode(GameModeMirror* mode) { owner = mode; }
  // Both halves and the differences of the level element. False, with an
  // error line, without a "background" child or without its imgName.
  // Differences past the first kMaxDifferences are skipped with a warning.
  virtual bool LoadBoard(LLF::XmlElement& level);
  // The two highlights of the difference fade in; it counts as found.
  virtual void ShowFound(MirrorDifference& difference);

  // The other half's point at the same place.
  static LLF::Vector2 MirrorPoint(const LLF::Vector2& p);
  // Whether p lies in the difference's closed region.
  static bool Contains(const MirrorDifference& d, const LLF::Vector2& p);
  // The first unfound difference hit at p or at its mirror point, or null.
  MirrorDifference* FindAt(const LLF::Vector2& p);
  // The number of differences not found.
  int LeftCount() const;
  bool AllFound() const { return LeftCount() == 0; }

  std::vector<MirrorDifference>& GetDifferences() { return differences; }
  std::vector<MirrorFoundPair>& GetFoundList() { return foundList; }
  HLF::StaticImage* GetLeftSide() const { return leftSide; }
  HLF::StaticImage* GetRightSide() const { return rightSide; }
  LLF::Image* GetMirrorCursor() const { return mirrorCursor; }

 private:
  // A click of the playing level at p: a find or a miss, then the goal.
  void OnClick(const LLF::Vector2& p);
  HLF::Dialog* MakeOverlay(const wchar_t* name, const LLF::Point& size, const LLF::Vector2& position);

  HLF::StaticImage* leftSide = nullptr;
  HLF::StaticImage* rightSide = nullptr;
  LLF::Image* mirrorCursor = nullptr;
  std::vector<MirrorDifference> differences;
  std::vector<MirrorFoundPair> foundList;
  GameModeMirror* owner = nullptr;
};
