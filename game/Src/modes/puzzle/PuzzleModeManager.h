#pragma once
// The Puzzle board: the level's square picture cut into n x n square
// pieces, each in its own cell but turned by a random quarter. A click turns
// a piece a quarter further (the rotate effect of its angle); the level is
// won when every piece stands upright, at exactly 0 or 360 degrees.
//
// A piece is named "c,r" after its cell, which never changes. The stored
// progress ("angles") is every piece's rotation in grid order, each
// followed by ","; a piece caught in a turn is stored at the turn's end.
#include <string>
#include <vector>

#include "modes/PieceBoard.h"

namespace LLF {
class Image;
class XmlElement;
}  // namespace LLF

namespace HLF {
class Effect;
}  // namespace HLF

class PuzzleModeManager : public PieceBoard {
 public:
  // The rotate effects' names all hold this.
  static constexpr const wchar_t* kRotateEffect = L"LevelPuzzleRotatePiece";
  // Each piece is a control, counted every frame and stored: a level file
  // asking for hundreds of columns would take minutes and gigabytes to
  // build. Levels use three or four.
  static constexpr int kMaxColsRows = 32;

  PuzzleModeManager();
  LLF_KIND_OF(PuzzleModeManager, PieceBoard)
  // Deletes the rotate prototypes.
  ~PuzzleModeManager() override;

  // Builds the pieces from the level element ("imageFile", "colsRows") over
  // the "lpz_background" image, each turned by a random quarter. False,
  // with an error line for bad level data (colsRows outside 1 to
  // kMaxColsRows among them), when no board could be built.
  virtual bool LoadBoard(LLF::XmlElement& level);
  // The pieces' mouse messages and the end of a turn.
  bool OnMessage(LLF::Message* msg) override;

  // Turns the pieces as a stored value says. Only a whole, valid value is
  // taken: one entry per piece, each a quarter (0, 90, 180, 270 or 360)
  // followed by ",". False, nothing turned, otherwise.
  bool RestoreAngles(const std::wstring& angles);
  // The stored value of the board now.
  std::wstring GetAngles() const;
  // How a rotation is stored: a quarter as it is, anything between two
  // quarters as the next one up.
  static float StoredAngle(float degrees);

  int GetColsRows() const { return size; }
  float GetCellSize() const { return cellSize; }
  static bool IsUpright(const HLF::Control* piece);

 protected:
  bool StandsCorrectly(const HLF::Control* piece) const override { return IsUpright(piece); }

 private:
  void StartEffect(HLF::Control* piece, const HLF::Effect* prototype);
  void OnPieceClick(HLF::StaticImage* piece);

  int size = 0;
  float cellSize = 0.0f;
  // By quarter: 0, 90, 180 and 270 degrees.
  HLF::Effect* rotateEffects[4] = {};
};
