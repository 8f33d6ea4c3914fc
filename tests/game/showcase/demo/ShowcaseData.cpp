#include "demo/ShowcaseData.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/OSUtils.h"
#include "core/StringUtils.h"

namespace fs = std::filesystem;

namespace {

// What the showcase and the dialogs it opens read from the game's data.
const char* const kGeneratedParts[] = {"scripts", "images", "fonts", "sounds", "editor"};

bool CopyTree(const fs::path& from, const fs::path& to, std::string* error) {
  std::error_code ec;
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  if (ec) {
    *error = "can't copy " + from.string() + " to " + to.string() + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace

ShowcaseData::ShowcaseData(const std::string& generated) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillmarsh-showcase-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    _error = "can't make a folder like " + pattern;
    return;
  }
  std::string error;
  if (!Lay(generated, pattern, &error)) {
    std::error_code ec;
    fs::remove_all(pattern, ec);
    _error = error;
    return;
  }
  _folder = pattern;
}

ShowcaseData::~ShowcaseData() {
  if (!_folder.empty()) {
    std::error_code ec;
    fs::remove_all(_folder, ec);
  }
}

bool ShowcaseData::Lay(const std::string& generated, const std::string& target, std::string* error) {
  std::string ignored;
  std::string& reason = error ? *error : ignored;
  const fs::path own(OwnFolder());
  if (!fs::is_directory(own / "scripts")) {
    reason = "the showcase's own data is not at " + own.string();
    return false;
  }
  std::error_code ec;
  fs::create_directories(target, ec);
  for (const char* part : kGeneratedParts) {
    const fs::path from = fs::path(generated) / part;
    if (!fs::is_directory(from)) {
      reason = "the generated data folder " + generated + " has no " + part + " folder";
      return false;
    }
    if (!CopyTree(from, fs::path(target) / part, &reason)) {
      return false;
    }
  }
  // Its scripts alone: the folder's other files are the repository's.
  return CopyTree(own / "scripts", fs::path(target) / "scripts", &reason);
}

std::string ShowcaseData::GeneratedFolder() {
  return LLF::ToOsPath(LLF::ExtractFolder(LLF::OS_GetExePath()));
}

std::string ShowcaseData::OwnFolder() {
  return QM_SHOWCASE_DATA_DIR;
}
