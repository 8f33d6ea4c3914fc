#pragma once
// The editor's game images dialog over "scripts/images.xml": the asset
// groups, each group's images, and the selected image's ID, file, cells and
// loops with a preview of one cell scaled down (never up, proportions kept)
// to fit the preview box. "..." picks a file in the image chooser. Typing
// cells or loops rebuilds the preview at once; the registry gets them only
// with Update, which is refused, with a warning, unless both are whole
// numbers of at least 1.
//
// The preview image is the dialog's: loaded outside the images manager's
// table and deleted by the dialog (the static image only shows it).
#include <string>

#include "devtools/EditorAssetsDialog.h"
#include "math/Point.h"

namespace LLF {
class Image;
}

namespace HLF {

class StaticImage;

class EditorGameImagesDialog : public EditorAssetsDialog {
 public:
  static constexpr const wchar_t* kPreviewId = L"EditorGameImagesDialog::PreviewImage";

  EditorGameImagesDialog();

  LLF_KIND_OF(EditorGameImagesDialog, EditorAssetsDialog)
  // Deletes the preview image.
  ~EditorGameImagesDialog() override;
  Control* CreateInstance() const override;
  // Binds its seventeen controls (an error line and false at the first one
  // missing), fills the list, takes the preview box from "PreviewImage"
  // and hides the details.
  bool OnCreated() override;

  virtual Listbox* GetImagesListbox() const { return _list; }
  virtual Label* GetImageCellsLabel() const { return _cellsLabel; }
  virtual Label* GetImageLoopsLabel() const { return _loopsLabel; }
  virtual Label* GetImageIDLabel() const { return _idLabel; }
  virtual Label* GetImageFileLabel() const { return _fileLabel; }
  virtual Edit* GetCellsEdit() const { return _cellsEdit; }
  virtual Edit* GetLoopsEdit() const { return _loopsEdit; }
  virtual StaticImage* GetPreviewImage() const { return _previewImage; }
  virtual void ShowSelectedImage();
  void SetDetailsVisible(bool shown) override;
  // The entry's "src" (empty when absent), "cells" and "loops" (1 when
  // absent, not a number or below 1); false without the document. A
  // missing entry changes nothing.
  virtual bool GetImageEntry(const std::wstring& group, const std::wstring& name, std::wstring& source,
                             int& cells, int& loops) const;

  int GetCells() const { return _cells; }
  int GetLoops() const { return _loops; }
  LLF::Point GetPreviewBox() const { return _previewBox; }
  // The preview shown now, or null.
  LLF::Image* GetPreview() const { return _preview; }

 protected:
  XmlDocEx* Document() const override;
  void SaveDocument() override;
  bool ReadEntry(const std::wstring& group, const std::wstring& name) override;
  void ShowEntry() override { ShowSelectedImage(); }
  void AddEntry(const std::wstring& name) override;
  bool UpdateEntry(const std::wstring& name, const std::wstring& newName) override;
  // Cells and loops typed: the preview follows a whole number of at least 1.
  bool OnDetailMessage(LLF::Message& msg) override;

 private:
  void DropPreview();

  Label* _cellsLabel = nullptr;
  Label* _loopsLabel = nullptr;
  Label* _idLabel = nullptr;
  Label* _fileLabel = nullptr;
  Edit* _cellsEdit = nullptr;
  Edit* _loopsEdit = nullptr;
  StaticImage* _previewImage = nullptr;
  LLF::Point _previewBox;
  LLF::Image* _preview = nullptr;
  int _cells = 1;
  int _loops = 1;
};

}  // namespace HLF
