#pragma once
// The data folder generator: runs every asset family into a staging folder,
// then puts the files in place under the manifest's rules (OutputFolder).
// A family that fails leaves the output folder as it was.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "AssetFamily.h"
#include "GeneratorSettings.h"

namespace Datagen {

class Report;

class DataGenerator {
 public:
  // Where the DejaVu fonts are on Debian (fonts-dejavu-core).
  static constexpr const char* kDefaultFontFolder = "/usr/share/fonts/truetype/dejavu";

  DataGenerator(const GeneratorSettings& settings, Report& report);
  ~DataGenerator();

  void AddFamily(std::unique_ptr<AssetFamily> family);
  // Every family of the game's data folder, in the order they run.
  void AddStandardFamilies();
  // True when every family succeeded and every file could be placed
  // (files left in place with a warning do not fail a run).
  bool Run();

  // "datagen [--data FOLDER] [--fonts FOLDER] OUTPUT_FOLDER"; false with
  // an error line for anything else.
  static bool ParseArguments(const std::vector<std::string>& arguments, GeneratorSettings& settings,
                             Report& report);
  // The program: arguments without the program name; 0 on success, 1 on
  // failure, 2 on bad usage.
  static int Main(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

 private:
  GeneratorSettings _settings;
  Report& _report;
  std::vector<std::unique_ptr<AssetFamily>> _families;
};

}  // namespace Datagen
