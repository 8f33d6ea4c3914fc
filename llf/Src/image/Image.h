#pragma once
// A canvas seen as a grid of equal cells: columns are the cells of one
// animation strip, rows are the loops. The image also carries the current
// render system's data for it, created by the render system on the first
// Update and released when the image is destroyed.
#include <string>

#include "image/Canvas.h"

namespace LLF {

class Image : public Canvas {
 public:
  // One cell, one loop, cell size = picture size, no render data. zeroFill
  // as for the canvas.
  Image(unsigned width, unsigned height, unsigned format, bool zeroFill = true);
  // Copies the pixels and the grid; the copy has no render data of its own
  // until its first Update, so the two images never release the same data.
  Image(const Image& source);
  Image& operator=(const Image&) = delete;

  LLF_KIND_OF(Image, Canvas)
  // Releases the render data through the current render system, if any.
  ~Image() override;
  std::wstring Dump() const override;

  bool Resize(unsigned width, unsigned height) override;
  bool Scale(unsigned width, unsigned height) override;

  virtual unsigned GetCellsCount() const { return _cellsCount; }
  virtual unsigned GetLoopsCount() const { return _loopsCount; }
  virtual unsigned GetCellWidth() const { return _cellWidth; }
  virtual unsigned GetCellHeight() const { return _cellHeight; }
  // Cell width = width / count (integer division: columns beyond count *
  // cell width belong to no cell). A count of 0 counts as 1, with a warning.
  // Unless noUpdate, hands the image to the render system again.
  virtual void SetCellsCount(unsigned count, bool noUpdate);
  virtual void SetLoopsCount(unsigned count, bool noUpdate);
  // Hands the image to the current render system's UpdateImageData; throws
  // code 7 when no render system is current.
  virtual void Update(int a, int b, bool upload);
  virtual void* GetRenderData() const { return _renderData; }
  virtual void SetRenderData(void* data) { _renderData = data; }

 private:
  void UpdateCellSize();
  // count, or 1 with a warning for 0.
  unsigned CheckedCount(unsigned count, const wchar_t* operation) const;

  void* _renderData = nullptr;
  unsigned _cellsCount = 1;
  unsigned _loopsCount = 1;
  unsigned _cellWidth = 0;
  unsigned _cellHeight = 0;
};

}  // namespace LLF
