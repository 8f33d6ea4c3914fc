#pragma once
// Loads, shares and frees images by id through the registered image codecs,
// and saves images through the first codec that takes the file name.
#include <string>

#include "core/CodecsManager.h"
#include "core/Singleton.h"
#include "image/Image.h"

namespace LLF {

class File;

class ImagesManager : public CodecsManager<Image>, public Singleton<ImagesManager> {
  LLF_SINGLETON(ImagesManager)

 public:
  LLF_KIND_OF(ImagesManager, CodecsManager<Image>)
  ~ImagesManager() override = default;
  std::wstring Dump() const override;

  virtual bool SaveImage(Image* image, const std::wstring& fileName);
  // From a file open for reading. The key is the id, or the file name when
  // the id is empty. Unless doNotUpload the image is handed to the current
  // render system (which throws when there is none). With doNotKeep the
  // caller owns the image and the map is neither read nor changed.
  virtual Image* LoadImage(File& file, const std::wstring& fileName, const std::wstring& id, bool doNotKeep,
                           bool doNotUpload);
  virtual Image* LoadImage(const std::wstring& fileName, const std::wstring& id, bool doNotKeep,
                           bool doNotUpload);
  virtual bool FreeImage(Image* image);
  virtual void CleanupEverything(bool quiet);

 private:
  ImagesManager();
};

}  // namespace LLF
