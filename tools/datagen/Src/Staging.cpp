#include "Staging.h"

#include <fstream>
#include <memory>

#include "Manifest.h"
#include "Report.h"
#include "core/StringUtils.h"
#include "draw/Raster.h"
#include "image/CodecJpg.h"
#include "image/CodecPng.h"
#include "image/Image.h"

namespace Datagen {

namespace fs = std::filesystem;

Staging::Staging(const fs::path& outputFolder)
    : _root(outputFolder / kFolderName), _folder(_root / "files") {}

Staging::~Staging() {
  Remove();
}

bool Staging::Create(Report& report) {
  std::error_code ec;
  fs::remove_all(_root, ec);
  if (ec || !fs::create_directories(_folder, ec) || ec) {
    report.Error("cannot create the staging folder " + _root.string() + ": " + ec.message());
    return false;
  }
  _created = true;
  return true;
}

void Staging::Remove() {
  if (!_created) return;
  std::error_code ec;
  fs::remove_all(_root, ec);
  _created = false;
  _files.clear();
}

fs::path Staging::PathOf(const std::string& relative) const {
  return _folder / fs::path(relative);
}

bool Staging::Claim(const std::string& relative, Report& report) {
  if (!Manifest::IsSafePath(relative)) {
    report.Error("not a path inside the data folder: \"" + relative + "\"");
    return false;
  }
  if (relative == Manifest::kFileName || relative.rfind(std::string(kFolderName) + "/", 0) == 0) {
    report.Error(relative + " is a name the generator keeps for itself");
    return false;
  }
  if (!_files.insert(relative).second) {
    report.Error("two families write " + relative);
    return false;
  }
  std::error_code ec;
  fs::create_directories(PathOf(relative).parent_path(), ec);
  if (ec) {
    report.Error("cannot create the folder of " + relative + ": " + ec.message());
    return false;
  }
  return true;
}

bool Staging::Write(const std::string& relative, const std::string& bytes, Report& report) {
  if (!Claim(relative, report)) return false;
  std::ofstream out(PathOf(relative), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.close();
  if (!out) {
    report.Error("cannot write " + PathOf(relative).string());
    return false;
  }
  return true;
}

bool Staging::SavePng(const std::string& relative, const Raster& picture, Report& report, bool opaque) {
  if (!Claim(relative, report)) return false;
  const std::unique_ptr<LLF::Image> image = picture.ToImage(opaque);
  LLF::CodecPng& codec = LLF::CodecPng::GetInstance();
  if (!codec.Save(image.get(), LLF::FromOsPath(PathOf(relative).string()))) {
    report.Error("cannot save " + relative + ": " + LLF::WideToAnsi(codec.GetLastError()));
    return false;
  }
  return true;
}

bool Staging::SaveJpg(const std::string& relative, const Raster& picture, Report& report) {
  if (!Claim(relative, report)) return false;
  const std::unique_ptr<LLF::Image> image = picture.ToImage(true);
  LLF::CodecJpg& codec = LLF::CodecJpg::GetInstance();
  if (!codec.Save(image.get(), LLF::FromOsPath(PathOf(relative).string()))) {
    report.Error("cannot save " + relative + ": " + LLF::WideToAnsi(codec.GetLastError()));
    return false;
  }
  return true;
}

bool Staging::Copy(const std::string& relative, const fs::path& source, Report& report) {
  if (!Claim(relative, report)) return false;
  std::error_code ec;
  fs::copy_file(source, PathOf(relative), fs::copy_options::overwrite_existing, ec);
  if (ec) {
    report.Error("cannot copy " + source.string() + " to " + relative + ": " + ec.message());
    return false;
  }
  return true;
}

}  // namespace Datagen
