#include "DatagenRun.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "DataGenerator.h"
#include "TestEnv.h"

namespace QmTest {

namespace fs = std::filesystem;

int DatagenRun::Lines(const std::string& prefix, const std::string& text) const {
  std::istringstream lines(err);
  int count = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(prefix, 0) == 0 && line.find(text) != std::string::npos) ++count;
  }
  return count;
}

DatagenRun RunDatagen(const std::string& output, const std::string& dataFolder,
                      const std::string& fontFolder) {
  std::vector<std::string> arguments;
  if (!dataFolder.empty()) arguments.insert(arguments.end(), {"--data", dataFolder});
  if (!fontFolder.empty()) arguments.insert(arguments.end(), {"--fonts", fontFolder});
  arguments.push_back(output);
  std::ostringstream out;
  std::ostringstream err;
  DatagenRun run;
  run.exitCode = Datagen::DataGenerator::Main(arguments, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

std::string SourceDataFolder() {
  return SourceDir() + "/data";
}

std::map<std::string, std::string> ReadTree(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[entry.path().lexically_relative(folder).generic_string()] = ReadFile(entry.path().string());
    }
  }
  return files;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace QmTest
