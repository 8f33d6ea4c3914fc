#pragma once
// The file dialog with a preview, the XML element "imagefiledlg": a picked
// picture is shown in the static image "PreviewImage", scaled down
// evenly to fit the size that control has in the layout (never scaled
// up); a file that is no picture hides the preview. The previewed image
// belongs to the dialog, which deletes it at the next pick and at its end.
//
// Required children: "PreviewImage" (a static image), then the file
// dialog's.
#include <string>

#include "dialogs/FileDialog.h"
#include "math/Point.h"

namespace LLF {
class Image;
}

namespace HLF {

class StaticImage;

class ImageFileDialog : public FileDialog {
 public:
  ImageFileDialog();

  LLF_KIND_OF(ImageFileDialog, FileDialog)
  // Deletes the previewed image.
  ~ImageFileDialog() override;
  Control* CreateInstance() const override;
  bool OnCreated() override;
  void OnFileSelected(const std::wstring& path) override;

  StaticImage* GetPreviewImage() const { return _previewImage; }
  LLF::Point GetPreviewLimit() const { return _previewLimit; }
  // The scale at which an image of that size fits the limit: per axis the
  // limit over the size where the image is larger, else 1; the smaller.
  static float PreviewScale(const LLF::Point& limit, const LLF::Point& size);

 private:
  void DropPreview();

  StaticImage* _previewImage = nullptr;
  LLF::Point _previewLimit = LLF::Point(100, 100);
  LLF::Image* _preview = nullptr;
};

}  // namespace HLF
