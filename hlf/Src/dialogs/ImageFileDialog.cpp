#include "dialogs/ImageFileDialog.h"

#include <algorithm>

#include "image/Image.h"
#include "image/ImagesManager.h"
#include "widgets/StaticImage.h"

namespace HLF {

namespace {

const wchar_t kPreviewId[] = L"ImageFileDialog::PreviewImage";

float AxisScale(int limit, unsigned size) {
  return size > static_cast<unsigned>(std::max(limit, 0))
             ? static_cast<float>(limit) / static_cast<float>(size)
             : 1.0f;
}

}  // namespace

ImageFileDialog::ImageFileDialog() {
  _tag = L"imagefiledlg";
}

ImageFileDialog::~ImageFileDialog() {
  DropPreview();
}

Control* ImageFileDialog::CreateInstance() const {
  return new ImageFileDialog();
}

bool ImageFileDialog::OnCreated() {
  StaticImage* preview = nullptr;
  if (!RequireChild(preview, L"ImageFileDialog", L"PreviewImage", "StaticImage")) {
    return false;
  }
  _previewImage = preview;
  _previewLimit = preview->GetSize();
  preview->SetVisible(false);
  return FileDialog::OnCreated();
}

float ImageFileDialog::PreviewScale(const LLF::Point& limit, const LLF::Point& size) {
  return std::min(AxisScale(limit.x, static_cast<unsigned>(std::max(size.x, 0))),
                  AxisScale(limit.y, static_cast<unsigned>(std::max(size.y, 0))));
}

void ImageFileDialog::DropPreview() {
  if (_previewImage && IndexOfChild(_previewImage) >= 0 && _previewImage->GetImage() == _preview) {
    _previewImage->SetImageObject(nullptr);
  }
  delete _preview;
  _preview = nullptr;
}

void ImageFileDialog::OnFileSelected(const std::wstring& path) {
  FileDialog::OnFileSelected(path);
  DropPreview();
  if (!_previewImage || IndexOfChild(_previewImage) < 0) {
    return;
  }
  // Not kept: the image is the dialog's, and the next pick under the same
  // id gets a fresh one.
  _preview = LLF::ImagesManager::GetInstance().LoadImage(path, kPreviewId, true, false);
  if (!_preview) {
    _previewImage->SetVisible(false);
    return;
  }
  _previewImage->SetVisible(true);
  _previewImage->SetImageObject(_preview);
  const float scale = PreviewScale(_previewLimit, LLF::Point(static_cast<int>(_preview->GetWidth()),
                                                             static_cast<int>(_preview->GetHeight())));
  _previewImage->SetScale(LLF::Vector2(scale, scale));
}

}  // namespace HLF
