#pragma once
// Base of the image codecs: load a new image from a file, save one to a
// named file.
#include <string>

#include "core/ICodec.h"

namespace LLF {

class Image;

class ImageCodec : public ICodec {
 public:
  ImageCodec();
  LLF_KIND_OF(ImageCodec, ICodec)
  ~ImageCodec() override = default;

  // Opens the named file and loads it; "Can't open file " + name when it
  // cannot be opened.
  virtual Image* LoadFromFile(const std::wstring& fileName);
  // A new image owned by the caller, or null with the reason in the last
  // error. The file is open for reading.
  virtual Image* Load(File& file) = 0;
  virtual bool Save(Image* image, const wchar_t* fileName) { return Save(image, std::wstring(fileName)); }
  virtual bool Save(Image* image, const std::wstring& fileName) = 0;

  // Whether a decoded picture of this size may be created: neither side 0,
  // at most Canvas::kMaxPixels pixels.
  static bool SizeFits(uint64_t width, uint64_t height);

 protected:
  // Checks the image and opens the named file anew for writing; false with
  // the last error set when either fails.
  bool OpenForSaving(const Image* image, const std::wstring& fileName, File& file);
  // SizeFits, setting the last error (text + file name) when not.
  bool CheckSize(uint64_t width, uint64_t height, const std::wstring& fileName);
  // Whether an image can be written: a known pixel format and a size of at
  // least one pixel; sets the last error when not.
  bool CheckSaveable(const Image* image, const std::wstring& fileName);
  // Records an error reported by an image library as a framework exception
  // with code 5 (which writes itself to the log). The libraries' C frames
  // cannot be unwound, so their error callbacks jump back to the codec and
  // the record is made there instead of being thrown through them.
  static void RecordLibraryError(const std::wstring& description, const std::wstring& source,
                                 const char* file, int line, const char* function);
};

}  // namespace LLF
