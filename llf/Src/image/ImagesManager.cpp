#include "image/ImagesManager.h"

#include "core/Log.h"
#include "image/ImageCodec.h"
#include "io/File.h"

namespace LLF {

namespace {

const CodecsManager<Image>::Texts kTexts = {
    "ImageCodec",
    L"Warning: Not ImageCodec is registered in ImagesManager codecs list.\r\n",
    L"Image loaded \"",
    L"Error: LoadImage failed. Corresponding codec was not found for this file format.\r\nFilename: ",
    L"\r\nImage ID: ",
    L"Image \"",
    L"WARNING: Some images are not freed. Leaked images list follows:",
    L"ImagesManager class. Info:",
    L"Images loaded: ",
    L"Images list(only ID's): ",
    nullptr,
    L"Warning: SaveImage failed. Codec was not able to save. \r\nFilename: ",
    L"\r\nCodec: ",
    L"Image saved \"",
    L"Error: SaveImage failed. Corresponding codec was not found for this file format.\r\nFilename: ",
};

}  // namespace

ImagesManager::ImagesManager() : CodecsManager<Image>(kTexts) {}

std::wstring ImagesManager::Dump() const {
  return DumpResources();
}

bool ImagesManager::SaveImage(Image* image, const std::wstring& fileName) {
  return SaveResource(fileName, image ? image->Dump() : std::wstring(), [&](ICodec* codec) {
    auto* imageCodec = dynamic_cast<ImageCodec*>(codec);
    return imageCodec && imageCodec->Save(image, fileName);
  });
}

Image* ImagesManager::LoadImage(File& file, const std::wstring& fileName, const std::wstring& id,
                                bool doNotKeep, bool doNotUpload) {
  return LoadResource(
      fileName, id, doNotKeep, doNotUpload,
      [&file](ICodec* codec) -> Image* {
        auto* imageCodec = dynamic_cast<ImageCodec*>(codec);
        return imageCodec ? imageCodec->Load(file) : nullptr;
      },
      [](Image* image) { image->Update(0, 0, true); });
}

Image* ImagesManager::LoadImage(const std::wstring& fileName, const std::wstring& id, bool doNotKeep,
                                bool doNotUpload) {
  return LoadNamedFile(
      fileName,
      L"Error: LoadImage failed. Can't open image file. Filename: " + fileName + L" Image ID: " + id,
      [&](File& file) { return LoadImage(file, fileName, id, doNotKeep, doNotUpload); });
}

bool ImagesManager::FreeImage(Image* image) {
  return ReleaseResource(image);
}

void ImagesManager::CleanupEverything(bool quiet) {
  CleanupResources(quiet);
}

}  // namespace LLF
