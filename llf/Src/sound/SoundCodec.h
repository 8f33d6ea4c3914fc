#pragma once
// Base of the sound codecs: each turns a file into a sound or a piece of
// music for its own driver, and only while that driver is current, so that
// with several codecs registered only the current driver's codec loads.
#include <string>
#include <vector>

#include "core/ICodec.h"

namespace LLF {

class File;
class Music;
class Sound;
class SoundHandle;

class SoundCodec : public ICodec {
 public:
  SoundCodec();
  LLF_KIND_OF(SoundCodec, ICodec)
  ~SoundCodec() override = default;

  // A new object owned by the caller, or null. The file is open for reading.
  virtual Sound* LoadSound(File& file) = 0;
  virtual Sound* LoadSound(const std::wstring& fileName) = 0;
  virtual Music* LoadMusic(File& file) = 0;
  virtual Music* LoadMusic(const std::wstring& fileName) = 0;

 protected:
  // Sets the strings of one of the framework's own codecs.
  void Describe(const wchar_t* author, const wchar_t* description, const wchar_t* shortDescription,
                const wchar_t* extensions);
  // Whether the current driver's type test answers the name.
  static bool IsDriverCurrent(const char* driverName);
  // The whole open file from its start, when the named driver is current;
  // false when it is not or the file cannot be read.
  static bool ReadForDriver(const char* driverName, File& file, std::vector<unsigned char>& bytes);
  // Opens the named file and loads it with the open-file form; null and the
  // line "Can't open sound file " (music: "Can't open music file ") + name
  // when it cannot be opened.
  Sound* OpenAndLoadSound(const std::wstring& fileName);
  Music* OpenAndLoadMusic(const std::wstring& fileName);
  // A new Sound or Music that owns the driver's record; null for no record.
  template <class Kind>
  static Kind* MadeWith(SoundHandle* record) {
    if (!record) return nullptr;
    auto* object = new Kind;
    object->SetHandle(record);
    return object;
  }
};

}  // namespace LLF
