#pragma once
// The record of what the generator wrote into an output folder: each file's
// path (relative, '/' between folders) and the hash of the bytes written.
// A file whose bytes still hash the same is the generator's to rewrite or
// remove; anything else in the folder is left alone.
//
// Kept as "datagen-manifest.xml" in the output folder:
//   <manifest><file path="images/title.png" hash="0123456789abcdef" /></manifest>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace Datagen {

class Report;

class Manifest {
 public:
  static constexpr const char* kFileName = "datagen-manifest.xml";

  // A missing file gives an empty manifest. A file that cannot be read or
  // is not a manifest gives false: the run must not guess what is its own.
  // Entries with a bad path or hash are dropped with a warning.
  bool Load(const std::filesystem::path& file, Report& report);
  // Replaces the file only when the new one is complete.
  bool Save(const std::filesystem::path& file, Report& report) const;

  const std::map<std::string, std::string>& Entries() const { return _entries; }
  // The recorded hash, or null.
  const std::string* Find(const std::string& path) const;
  void Set(const std::string& path, const std::string& hash) { _entries[path] = hash; }
  void Erase(const std::string& path) { _entries.erase(path); }

  // 64-bit FNV-1a as 16 lower-case hex digits: enough to tell an edited
  // file from the one written.
  static std::string HashBytes(std::string_view bytes);
  // False when the file cannot be read.
  static bool HashFile(const std::filesystem::path& file, std::string& hash);
  // Relative, '/'-separated, no empty, "." or ".." part, no backslash: a
  // manifest can never point outside its folder.
  static bool IsSafePath(const std::string& path);
  static bool IsHash(const std::string& text);

 private:
  std::map<std::string, std::string> _entries;
};

}  // namespace Datagen
