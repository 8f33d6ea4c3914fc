#pragma once
// Base of every codec: the strings that describe it, the extension test the
// managers choose codecs by, and the text of the last load or save failure.
#include <cstdint>
#include <mutex>
#include <string>

#include "core/Object.h"

namespace LLF {

class File;

class ICodec : public virtual Object {
 public:
  ICodec();
  LLF_KIND_OF(ICodec, Object)
  ~ICodec() override = default;
  std::wstring Dump() const override;

  virtual std::wstring GetAuthor() const { return _author; }
  virtual std::wstring GetVersion() const { return _version; }
  virtual std::wstring GetDescription() const { return _description; }
  virtual std::wstring GetShortDescription() const { return _shortDescription; }
  virtual std::wstring GetExtensions() const { return _extensions; }
  virtual std::wstring GetLastError() const;
  // Whether the open file starts with this format's signature; the file
  // position is left where it was.
  virtual bool HasSignature(File& file) const;
  // True when the text after the name's last '.' equals one of the
  // blank-separated extensions, letter case ignored.
  virtual bool IsExtensionSupported(const std::wstring& fileName) const;

 protected:
  void SetLastError(const std::wstring& text);
  // Sets the strings of one of the framework's own codecs (author
  // "Brenvik, 2007", version "1.0").
  void Describe(const wchar_t* description, const wchar_t* shortDescription, const wchar_t* extensions);
  // The name a file was opened with, for failure texts.
  static std::wstring FileNameOf(const File& file);
  // Whether the file's first count bytes are the given ones; the file
  // position is left where it was.
  static bool StartsWith(File& file, const uint8_t* bytes, unsigned count);

  std::wstring _author = L"No author";
  std::wstring _version = L"0.0";
  std::wstring _description = L"Abstract Codec class";
  std::wstring _shortDescription = L"ICodec class";
  std::wstring _extensions = L"none";

 private:
  // Codecs are shared singletons and the asset loader decodes on its own
  // thread, so the failure text has its own lock.
  mutable std::mutex _lastErrorLock;
  std::wstring _lastError;
};

}  // namespace LLF
