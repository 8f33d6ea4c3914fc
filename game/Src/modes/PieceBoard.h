#pragma once
// A board of picture pieces (Jigsaw, Puzzle): the level's picture cut into
// a grid of static image children over the board's background, the hover
// effect prototypes, the counters of the owner's items panel and the win
// when every piece stands correctly. The grid holds the pieces by their
// picture cell and is never reordered; the pieces are children and go with
// the board.
#include <string>
#include <vector>

#include "widgets/StaticImage.h"

namespace LLF {
class Image;
}  // namespace LLF

namespace HLF {
class Effect;
}  // namespace HLF

class GameModeJigsaw;

class PieceBoard : public HLF::StaticImage {
 public:
  static constexpr float kOrigin = 44.0f;

  // An 800 x 600 board named name, with the hover prototypes of effects.xml.
  PieceBoard(const std::wstring& name, const wchar_t* mouseEnter, const wchar_t* mouseLeave);
  LLF_KIND_OF(PieceBoard, HLF::StaticImage)
  PieceBoard(const PieceBoard&) = delete;
  PieceBoard& operator=(const PieceBoard&) = delete;
  // Deletes the effect prototypes and frees the picture.
  ~PieceBoard() override;

  // The board as a static image draws it, then the owner's gradient sweep.
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  virtual void SetOwnerMode(GameModeJigsaw* mode) { owner = mode; }
  // The three counters of the owner's items panel; at the goal the owner
  // wins, then OnGoal.
  virtual void UpdateCounters();

  // The piece of picture cell (column, row); null outside the grid.
  HLF::StaticImage* GetPiece(int column, int row) const;
  int CountCorrect() const;
  bool IsLoaded() const { return !grid.empty(); }

 protected:
  virtual bool StandsCorrectly(const HLF::Control* piece) const = 0;
  // What the board adds to the owner's win.
  virtual void OnGoal() {}
  // The level's picture for a grid of cols x rows; null, with an error
  // line, when it does not load or is smaller than its grid.
  LLF::Image* LoadPicture(const std::wstring& imageFile, int cols, int rows);
  // Forgets the pieces (deleting them when asked) and frees the picture.
  void ReleasePieces(bool deletePieces);
  // The image becomes the board's picture, cut into cols x rows cells, and
  // the grid that size, still empty.
  void CutPicture(LLF::Image* image, int cols, int rows);
  // A new piece showing picture cell (column, row) about the centre of a
  // cell of width x height, reporting to the board; not yet a child.
  HLF::StaticImage* NewPiece(int column, int row, float width, float height);
  void PlayBoardSound(const std::wstring& id);
  // Every piece grown under the mouse shrinks back: once the goal is met
  // the board takes no hover any more, so the mouse leaving would not.
  void ShrinkGrownPieces();
  static void ResetFrameTime();
  void WriteLog(const std::wstring& line) const;

  GameModeJigsaw* owner = nullptr;
  LLF::Image* picture = nullptr;
  std::vector<std::vector<HLF::StaticImage*>> grid;
  HLF::Effect* mouseEnterEffect = nullptr;
  HLF::Effect* mouseLeaveEffect = nullptr;

 private:
  // The class name for the log, whatever the control is renamed to.
  std::wstring logName;
};
