#include "families/FontFiles.h"

#include <filesystem>

#include "GeneratorSettings.h"
#include "Report.h"
#include "Staging.h"
#include "draw/Lettering.h"

namespace Datagen {

bool FontFiles::Locate(const GeneratorSettings& settings, const char* name, std::string& path,
                       Report& report) {
  const std::filesystem::path file = settings.fontFolder / name;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    report.Error("font file " + std::string(name) + " not found in " + settings.fontFolder.string() +
                 " (install the Debian package fonts-dejavu-core, or name the folder with --fonts)");
    return false;
  }
  Lettering probe;
  std::string reason;
  if (!probe.Open(file.string(), reason)) {
    report.Error("font file " + file.string() + " cannot be used: " + reason);
    return false;
  }
  path = file.string();
  return true;
}

bool FontFiles::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  for (const char* name : kFonts) {
    std::string path;
    if (!Locate(settings, name, path, report) || !staging.Copy(std::string("fonts/") + name, path, report)) {
      return false;
    }
  }
  return true;
}

}  // namespace Datagen
