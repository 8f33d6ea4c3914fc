#pragma once
// The Jigsaw board: the level's picture cut into cols x rows pieces, each a
// static image child standing in some cell of the grid. A click selects a
// piece, a click on another swaps the two (a 200 ms move), a second click on
// the selected one lets it go; the level is won when every piece stands in
// its home cell.
//
// A piece is named "c,r,h,v": (c, r) the cell it stands in now, (h, v) its
// home cell, which never changes. The grid holds the pieces by home cell
// and is never reordered; pieces are found by name. The stored progress
// ("positions") is every piece's name in grid order, each followed by ";".
#include <string>
#include <vector>

#include "modes/PieceBoard.h"

namespace LLF {
class Image;
class XmlElement;
}  // namespace LLF

namespace HLF {
class Effect;
class Emitter;
class Modifier;
}  // namespace HLF

class GameModeJigsaw;

class JigsawModeManager : public PieceBoard {
 public:
  static constexpr unsigned kSwapMs = 200;
  static constexpr int kShuffleSwaps = 90;
  // Each piece is a control of the board: a level of a few bytes asking for
  // a piece per pixel would take minutes and gigabytes to build.
  static constexpr int kMaxPieces = 1024;

  JigsawModeManager();
  LLF_KIND_OF(JigsawModeManager, PieceBoard)
  ~JigsawModeManager() override = default;

  // Builds the pieces from the level element ("imageFile", "cols",
  // "rows") over the "ljs_background" image, shuffled when asked. False,
  // with an error line for bad level data (a board of fewer than two or more
  // than kMaxPieces pieces among it), when no board could be built.
  virtual bool LoadBoard(LLF::XmlElement& level, bool shuffle);
  // The two pieces trade cells, at once or with a 200 ms move each.
  virtual void SwapPieces(const std::wstring& nameA, const std::wstring& nameB, bool instant);
  // The pieces' mouse messages and the end of a swap's move.
  bool OnMessage(LLF::Message* msg) override;

  // kShuffleSwaps swaps of two different cells drawn uniformly over the
  // whole grid.
  void Shuffle();
  // Puts the pieces where a stored value says. Only a whole, valid value is
  // taken: one entry "c,r,h,v;" per piece, every number inside the grid,
  // every home cell and every current cell once. False, nothing moved,
  // otherwise.
  bool RestorePositions(const std::wstring& positions);
  // The stored value of the board now.
  std::wstring GetPositions() const;

  int GetCols() const { return cols; }
  int GetRows() const { return rows; }
  // The piece that stands in cell (column, row) now; null when none.
  HLF::StaticImage* GetPieceAt(int column, int row) const;
  // Where a piece stands in cell (column, row).
  LLF::Vector2 CellPosition(int column, int row) const;
  const std::wstring& GetSelectedName() const { return selectedName; }
  HLF::Emitter* GetEmitter() const { return emitter; }

  // "c,r,h,v" into four integers; false for any other text.
  static bool ParseName(const std::wstring& name, int numbers[4]);
  static std::wstring MakeName(int c, int r, int h, int v);

 protected:
  // Home: the cell it stands in is its home cell.
  bool StandsCorrectly(const HLF::Control* piece) const override;
  // At the goal the pieces fade in.
  void OnGoal() override;

 private:
  HLF::StaticImage* FindPiece(const std::wstring& name) const;
  static bool IsBusy(const HLF::Control* piece);
  bool IsBusyBesidesHover(const HLF::Control* piece) const;
  void StartHoverEffect(HLF::Control* piece, const HLF::Effect* prototype);
  void OnPieceClick(HLF::StaticImage* piece);
  void Deselect();
  // Forgets the pieces (deleting them when asked), the selection and the
  // picture.
  void ReleaseGrid(bool deletePieces);

  std::wstring selectedName;
  std::wstring clickedName;
  HLF::Modifier* pendingMover = nullptr;
  float cellWidth = 0.0f;
  float cellHeight = 0.0f;
  int cols = 0;
  int rows = 0;
  HLF::Emitter* emitter = nullptr;
};
