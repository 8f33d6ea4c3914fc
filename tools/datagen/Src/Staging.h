#pragma once
// The folder a run first writes everything into, inside the output folder
// (so its files can be renamed into place), with a folder of its own for
// the run's log beside the files. Files are named by their path relative to
// the data folder, with '/' between folders.
#include <filesystem>
#include <set>
#include <string>

namespace Datagen {

class Raster;
class Report;

class Staging {
 public:
  static constexpr const char* kFolderName = ".datagen-staging";

  explicit Staging(const std::filesystem::path& outputFolder);
  ~Staging();
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;

  // A fresh empty folder (a leftover of an interrupted run is removed).
  bool Create(Report& report);
  // Removes the folder and what is still in it.
  void Remove();

  bool Write(const std::string& relative, const std::string& bytes, Report& report);
  // opaque: saved as RGB, without the alpha channel.
  bool SavePng(const std::string& relative, const Raster& picture, Report& report, bool opaque = false);
  // As RGB JPEG (the alpha channel is dropped).
  bool SaveJpg(const std::string& relative, const Raster& picture, Report& report);
  bool Copy(const std::string& relative, const std::filesystem::path& source, Report& report);

  // Every staged file, sorted.
  const std::set<std::string>& Files() const { return _files; }
  std::filesystem::path PathOf(const std::string& relative) const;
  // Where the framework's log file may go while the run lasts.
  std::filesystem::path LogFolder() const { return _root / "log"; }

 private:
  // Checks the name (relative, no "..", not staged yet) and makes its folder.
  bool Claim(const std::string& relative, Report& report);

  std::filesystem::path _root;
  std::filesystem::path _folder;
  std::set<std::string> _files;
  bool _created = false;
};

}  // namespace Datagen
