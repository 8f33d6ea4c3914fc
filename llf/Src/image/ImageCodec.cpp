#include "image/ImageCodec.h"

#include "core/Exception.h"
#include "image/Image.h"
#include "io/File.h"

namespace LLF {

ImageCodec::ImageCodec() {
  _description = L"Abstract ImageCodec class";
  _shortDescription = L"ImageCodec class";
}

bool ImageCodec::OpenForSaving(const Image* image, const std::wstring& fileName, File& file) {
  if (!CheckSaveable(image, fileName)) return false;
  if (!file.Open(fileName, FILEOPS_READ_WRITE, FILEOPEN_NEW)) {
    SetLastError(L"Can't open file " + fileName);
    return false;
  }
  return true;
}

Image* ImageCodec::LoadFromFile(const std::wstring& fileName) {
  File file;
  if (!file.OpenExisting(fileName, FILEOPS_READ)) {
    SetLastError(L"Can't open file " + fileName);
    return nullptr;
  }
  Image* image = Load(file);
  file.Close();
  return image;
}

bool ImageCodec::SizeFits(uint64_t width, uint64_t height) {
  return width != 0 && height != 0 && width <= Canvas::kMaxPixels && height <= Canvas::kMaxPixels &&
         width * height <= Canvas::kMaxPixels;
}

bool ImageCodec::CheckSize(uint64_t width, uint64_t height, const std::wstring& fileName) {
  if (!SizeFits(width, height)) {
    SetLastError(L"Unsupported image size " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
                 L". Filename: " + fileName);
    return false;
  }
  return true;
}

bool ImageCodec::CheckSaveable(const Image* image, const std::wstring& fileName) {
  if (!image || Canvas::BytesPerPixel(image->GetFormat()) != 4 || image->GetWidth() == 0 ||
      image->GetHeight() == 0) {
    SetLastError(L"Can't save an empty image or an image of an unknown format. Filename: " + fileName);
    return false;
  }
  return true;
}

void ImageCodec::RecordLibraryError(const std::wstring& description, const std::wstring& source,
                                    const char* file, int line, const char* function) {
  const Exception record(5, description, source, file, line, function);
}

}  // namespace LLF
