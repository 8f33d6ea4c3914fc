#include "families/ScriptFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "GeneratorSettings.h"
#include "Report.h"
#include "Staging.h"
#include "core/StringUtils.h"
#include "xml/XmlDoc.h"

namespace Datagen {

namespace fs = std::filesystem;

namespace {

bool StartsWithUtf8Mark(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  char mark[3] = {};
  in.read(mark, 3);
  return in.gcount() == 3 && mark[0] == '\xEF' && mark[1] == '\xBB' && mark[2] == '\xBF';
}

bool IsHidden(const fs::path& relative) {
  for (const fs::path& part : relative) {
    if (!part.empty() && part.string()[0] == '.') return true;
  }
  return false;
}

}  // namespace

bool ScriptFiles::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  std::error_code ec;
  if (!fs::is_directory(settings.dataFolder, ec)) {
    report.Error("the data folder " + settings.dataFolder.string() + " is not there (name it with --data)");
    return false;
  }
  std::vector<fs::path> files;
  for (auto it = fs::recursive_directory_iterator(settings.dataFolder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec)) files.push_back(it->path());
  }
  if (ec) {
    report.Error("cannot list the data folder " + settings.dataFolder.string() + ": " + ec.message());
    return false;
  }
  std::sort(files.begin(), files.end());

  bool ok = true;
  for (const fs::path& file : files) {
    const fs::path relative = file.lexically_relative(settings.dataFolder);
    if (IsHidden(relative)) continue;
    const std::string name = relative.generic_string();
    if (file.extension() == ".xml") {
      if (!StartsWithUtf8Mark(file)) {
        report.Error(name + " in the data folder must be saved as UTF-8 with its byte-order mark");
        ok = false;
        continue;
      }
      LLF::XmlDoc doc;
      if (!doc.LoadFromFile(LLF::FromOsPath(file.string()))) {
        report.Error(name + " in the data folder does not parse as XML");
        ok = false;
        continue;
      }
    }
    ok = staging.Copy(name, file, report) && ok;
  }
  return ok;
}

}  // namespace Datagen
