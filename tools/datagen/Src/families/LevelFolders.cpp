#include "families/LevelFolders.h"

#include <filesystem>
#include <set>

#include "GeneratorSettings.h"
#include "Report.h"
#include "Staging.h"
#include "core/StringUtils.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace Datagen {

namespace fs = std::filesystem;

namespace {

const char kMark[] = "\xEF\xBB\xBF";
const char kLevelFile[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<level />\n";
const char kAssetFile[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<game >\n"
    "\t<assets >\n"
    "\t\t<LEVOBJECTS />\n"
    "\t</assets>\n"
    "</game>\n";

}  // namespace

bool LevelFolders::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  const fs::path list = settings.dataFolder / kLevelList;
  LLF::XmlDoc doc;
  if (!doc.LoadFromFile(LLF::FromOsPath(list.string()))) {
    report.Error(std::string(kLevelList) + " in the data folder can't be read");
    return false;
  }
  LLF::XmlElement* root = doc.GetRoot()->FindChild(L"gamelevels");
  if (!root) {
    report.Error(std::string(kLevelList) + " has no element gamelevels");
    return false;
  }
  std::set<std::string> folders;
  for (int d = 0; d < root->GetChildsCount(); ++d) {
    LLF::XmlElement* day = root->GetChild(d);
    for (int l = 0; !day->IsComment() && l < day->GetChildsCount(); ++l) {
      LLF::XmlElement* level = day->GetChild(l);
      if (level->IsComment()) continue;
      std::string folder = LLF::ToOsPath(level->GetAttribute(L"folder", std::wstring()).GetValue());
      while (!folder.empty() && folder.back() == '/') folder.pop_back();
      if (!folder.empty()) folders.insert(folder);
    }
  }
  bool ok = true;
  for (const std::string& folder : folders) {
    const std::pair<const char*, const char*> files[] = {{"level.xml", kLevelFile},
                                                         {"asset.xml", kAssetFile}};
    for (const auto& [name, text] : files) {
      const std::string relative = folder + "/" + name;
      std::error_code ec;
      if (fs::exists(settings.dataFolder / relative, ec)) continue;  // the real level's, copied as it is
      ok = staging.Write(relative, std::string(kMark) + text, report) && ok;
    }
  }
  return ok;
}

}  // namespace Datagen
