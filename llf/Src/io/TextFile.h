#pragma once
// Whole texts read from and written to files in one of four encodings: the
// ANSI code page, UTF-8, UTF-16 big or little endian. A written file starts
// with its encoding's byte-order mark (none for ANSI); when a file is read
// the mark decides the encoding, and a file without one is ANSI text.
// UTF-32 files are read too; the other recognised marks (SCSU, UTF-7,
// UTF-EBCDIC, BOCU-1) make a read fail. Invalid byte sequences read as
// U+FFFD. Nothing is logged: failures are the false results.
#include <string>

#include "io/File.h"

namespace LLF {

class TextFile : public File {
 public:
  enum Encoding {
    ENCODING_ANSI = 0,
    ENCODING_UTF8 = 1,
    ENCODING_UTF16BE = 2,
    ENCODING_UTF16LE = 3,
    // Recognised by their marks only.
    ENCODING_UTF32BE = 4,
    ENCODING_UTF32LE = 5,
    ENCODING_SCSU = 6,
    ENCODING_UTF7 = 7,
    ENCODING_UTFEBCDIC = 8,
    ENCODING_BOCU1 = 9
  };

  TextFile() = default;
  // Opens with UTF-8 for a new file.
  TextFile(const std::wstring& path, int operations, int openType);

  LLF_KIND_OF(TextFile, File)
  ~TextFile() override = default;

  using File::Open;
  using File::OpenMemory;
  using File::ReadAll;

  // The whole file as text, its encoding taken from its mark. False when
  // the file cannot be read or its encoding cannot be decoded (text is then
  // unchanged).
  virtual bool ReadAll(const std::wstring& path, std::wstring& text);
  // Replaces the file (creating missing folders) with the mark and the
  // encoded text. The new content is written beside the file and put in
  // place only when complete, so a failure leaves the old file as it was.
  // A symbolic link is written through to the file it names; the new file
  // keeps the old one's permission bits, and its owner where the process
  // may give it.
  // An encoding other than 0-3 fails before anything is touched.
  virtual bool WriteAll(const std::wstring& path, const std::wstring& text, int encoding);
  // A read-only text over a memory block, its encoding detected.
  virtual bool OpenMemory(void* base, unsigned size);
  // FILEOPEN_NEW writes the mark of encoding (0-3; others fail before the
  // file is created). Any other openType detects the encoding from the file
  // (the argument is ignored) and stands just after the mark.
  virtual bool Open(const std::wstring& path, int encoding, int operations, int openType);
  // The text from the current position to the end.
  virtual bool ReadText(std::wstring& text);
  // Writes text in the file's encoding, without a mark.
  virtual bool WriteText(const std::wstring& text);

  int GetEncoding() const { return _encoding; }

  // The encoding a file starting with these bytes is in, and the length of
  // its mark. A mark counts when the data holds at least the whole mark, so
  // a file of a mark alone is an empty text in that encoding.
  static int DetectEncoding(const unsigned char* bytes, unsigned count, unsigned& bomLength);
  // Encoded text without a mark; false for an encoding other than 0-3.
  static bool Encode(const std::wstring& text, int encoding, std::string& bytes);
  // Decodes bytes that follow the mark; false for an encoding that cannot be
  // decoded (6-9 or unknown).
  static bool Decode(const unsigned char* bytes, size_t count, int encoding, std::wstring& text);
  // The mark written for encodings 0-3 ("" for ANSI).
  static std::string ByteOrderMark(int encoding);

 private:
  // Detects the encoding from the next bytes and moves just past the mark.
  bool DetectFromPosition();

  int _encoding = ENCODING_UTF8;
};

}  // namespace LLF
